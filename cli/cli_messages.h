// Every text sdmate-cli prints of its own; the engine's messages come through the feedback.
#pragma once

namespace sdmate::cli::text {

inline constexpr char kNoCardFolder[] = "カードのフォルダがありません: ";
inline constexpr char kCardUnreadable[] = "カードを読み込めませんでした: ";
inline constexpr char kTablesUnreadable[] = "読み込めないテーブルがあります: ";
inline constexpr char kNotAdded[] = "追加しませんでした: ";
inline constexpr char kNotMoved[] = "移動しませんでした: ";
inline constexpr char kFolderNotDeleted[] = "フォルダを削除しませんでした: ";
inline constexpr char kCardUnchanged[] = "カードは変更していません";
inline constexpr char kStoppedForSpace[] =
    "空き容量が足りないため中止しました。カードは変更していません: ";
inline constexpr char kDryRun[] = "--dry-run のため、カードは変更していません";
inline constexpr char kNothingToCommit[] = "変更がないため、カードは更新していません";
inline constexpr char kDataFolderNotMade[] = "データ用フォルダを作成できませんでした";
inline constexpr char kUnfinishedFirst[] =
    "前回のカード更新が途中で終わっています。先に sdmate-cli undo --yes で戻してください: ";
inline constexpr char kNotUpdated[] = "カードを更新できませんでした: ";
inline constexpr char kNotReloaded[] = "更新後にカードを読み込めませんでした: ";
inline constexpr char kFolderNotMade[] = "フォルダを作成できません: ";
inline constexpr char kNeedEmptyFolder[] = "空のフォルダを指定してください: ";
inline constexpr char kNotWritten[] = "書き込めませんでした: ";
inline constexpr char kSampleMade[] = "サンプルカードを作成しました: ";
inline constexpr char kNoProblems[] = "問題は見つかりませんでした";
inline constexpr char kSavedFiles[] = "保存したファイル ";
inline constexpr char kBytes[] = " バイト";
inline constexpr char kUndone[] = "(取り消し済み)";
inline constexpr char kUnfinished[] = "(途中で終わった更新)";
inline constexpr char kNoHistory[] = "このカードの更新の履歴はありません";
inline constexpr char kPlanWritten[] = "書き込むファイル: ";
inline constexpr char kPlanRemoved[] = "削除するファイルとフォルダ: ";
inline constexpr char kPlanBytes[] = "書き込むバイト数: ";
inline constexpr char kNotWrittenWithoutYes[] = "--yes がないため、カードは変更していません";
inline constexpr char kRepairAdopted[] = "一覧に加えるファイル: ";
inline constexpr char kRepairDeleted[] = "削除するファイル: ";
inline constexpr char kRepairFolders[] = "番号を詰めて残すフォルダ: ";
inline constexpr char kNotRepaired[] = "修復できなかったもの:";
inline constexpr char kFolderOutOfRange[] = "フォルダ番号が範囲外です (フォルダは 1〜";
inline constexpr char kRowOutOfRange[] = "行番号が範囲外です (行は ";
inline constexpr char kNoRows[] = "ありません";
inline constexpr char kNoFitting[] =
    "このビルドは画像とムービーの変換 (--fit) に対応していません (libvips "
    "なしでビルドされています)";

}  // namespace sdmate::cli::text
