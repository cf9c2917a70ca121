// Every text the card module shows: questions, messages, status texts and the lines of the
// update's failure list. The load's and the update's per-kind texts are in the kind table.
#pragma once

namespace sdmate::text {

// The drive check.
inline constexpr char kNotRemovableQuestion[] =
    "選択したドライブはSDメモリカードドライブで無い可能性があります．\n処理を継続しますか？";
inline constexpr char kInsertCard[] = "ドライブにSDメモリカードを挿入してください．";

// The load.
inline constexpr char kBackupAdvice[] =
    "SDメモリ内のデータを編集・更新する前に、バックアップを取ることを強くお勧めします．";
inline constexpr char kUnreadableTables[] =
    "次のテーブルを読み込めませんでした．\n"
    "すべてのテーブルを読み込めるまで、メモリカードの更新はできません．";
inline constexpr char kUntrustedHeaders[] =
    "次のテーブルが示すフォルダの場所が正しくないため、フォルダ本来の場所を使用します．\n"
    "次のメモリカード更新で、テーブルはフォルダ本来の場所で書き直されます．";
inline constexpr char kBadNames[] =
    "次のテーブルには正しくないファイル名の項目があったため、その項目を読み込みませんでした．";
inline constexpr char kCapacity[] =
    "フォルダは127個まで、1フォルダのデータは128個までしか読み込めないため、"
    "次のテーブルの一部を読み込みませんでした．\n"
    "メモリカードを更新すると、読み込まなかった分はテーブルから外れます．";

inline constexpr char kTablesAfterGap[] =
    "次のテーブルは番号が飛んだ後にあるため読み込めません．\n"
    "このままメモリカードを更新すると、これらのフォルダは削除されます．\n"
    "「カード検査」の修復を使うと、フォルダの番号を詰めて残せます．";

// The update.
inline constexpr char kUpdateCompleted[] = "メモリーカードの更新が完了しました";
inline constexpr char kUpdateFailedHeading[] =
    "メモリーカードの更新中に、次の処理ができませんでした．\n"
    "ほかの処理は行われています．";
inline constexpr char kNotLoaded[] = "メモリカードを読み込んでから更新してください．";
inline constexpr char kIncomplete[] =
    "読み込めなかったテーブルがあるため、メモリカードを更新できません．\n"
    "すべてのテーブルを読み込めるようにして、メモリカードを読み込み直してください．";
inline constexpr char kNothingWritten[] =
    "メモリカードに書き込めなかったため、メモリカードは変更されていません．編集はそのまま残っていま"
    "す．\n";
inline constexpr char kReloadFailed[] = "更新後のメモリカードを読み込み直せませんでした．";
inline constexpr char kRemovedFoldersStatus[] = "削除対象フォルダの削除中...";
inline constexpr char kMoveStatus[] = "サブディレクトリの整合性調整中...";
inline constexpr char kReloadStatus[] = "メモリーカード再読込中...";
// "ほか 12 件": how many more failures there are than the list shows.
inline constexpr char kMoreFailuresBefore[] = "ほか ";
inline constexpr char kMoreFailuresAfter[] = " 件";

// Lines of the failure list, each followed by the path concerned.
inline constexpr char kKeptDirectory[] = "残すデータがあるため、フォルダを削除しませんでした：";
inline constexpr char kOutsideItsPlace[] =
    "処理してよい場所の外を指しているため、削除しませんでした：";
inline constexpr char kOutsideTheCard[] = "メモリカードの外を指しているため、処理しませんでした：";
inline constexpr char kFolderNotDeleted[] = "フォルダを削除できませんでした：";
inline constexpr char kFolderNotMade[] = "フォルダを作成できませんでした：";
inline constexpr char kTableNotWritten[] = "テーブルを書き込めませんでした：";
inline constexpr char kFileNotDeleted[] = "ファイルを削除できませんでした：";
inline constexpr char kFileNotCopied[] = "ファイルをコピーできませんでした：";
inline constexpr char kFileNotRenamed[] = "ファイルの名前を変更できませんでした：";
inline constexpr char kFileNotMoved[] = "ファイルを移動できませんでした：";
inline constexpr char kTableNotRemoved[] = "不要なテーブルを削除できませんでした：";
inline constexpr char kTableDirectoryUnlisted[] = "テーブルのフォルダを読み取れませんでした：";
inline constexpr char kWouldOverwrite[] = "残すデータを上書きするため、処理しませんでした：";
inline constexpr char kSourceMissing[] = "コピー元のファイルがないため、処理しませんでした：";
inline constexpr char kStrayNotSetAside[] =
    "どのテーブルにもないファイルを別の名前に移せなかったため、上書きしませんでした：";
inline constexpr char kStrayInTheWay[] =
    "どのテーブルにもないファイルがあるため、上書きしませんでした：";
inline constexpr char kKeptInTemporary[] =
    "残すデータを元の場所に戻せなかったため、一時ファイルに残しました：";

// The system's reasons, after a failure line in brackets.
inline constexpr char kNoSpace[] = "残り容量がありません";
inline constexpr char kReadOnly[] = "書き込みが禁止されています";
inline constexpr char kDenied[] = "アクセスが拒否されました";
inline constexpr char kMissing[] = "ファイルまたはフォルダがありません";
inline constexpr char kOtherError[] = "システムのエラー";

// Files no table names that were in the way of a commit, each followed by "old → new" lines.
inline constexpr char kSetAsideHeading[] =
    "次のファイルはどのテーブルにもないため、上書きしないよう名前を変えて残しました．\n"
    "「カード検査」の修復で一覧に加えられます．";

// The history: snapshots, undo, restore.
inline constexpr char kNothingChanged[] = "変更はありません";
inline constexpr char kHistoryNotWritten[] =
    "更新前の状態を記録できないため、メモリカードを更新しませんでした．\n"
    "記録先のフォルダに書き込めるか、空きがあるかを確かめてください．\n";
inline constexpr char kHistoryNotFinished[] = "履歴に更新の終わりを記録できませんでした：";
inline constexpr char kNotDurable[] = "メモリカードへの書き込みを確定できませんでした：";
inline constexpr char kUndoQuestion[] = "直前のメモリカード更新を取り消しますか？";
inline constexpr char kNothingToUndo[] = "取り消せるメモリカード更新はありません．";
inline constexpr char kUndoRefused[] =
    "この更新のあとにメモリカードのテーブルが変更されているため、取り消せません．\n"
    "(携帯電話やほかのプログラムでメモリカードが変更された可能性があります)";
inline constexpr char kUndoUnfinished[] =
    "この更新は途中で終わっています．更新前に記録した状態に戻します．";
inline constexpr char kUnfinishedFound[] =
    "前回のメモリカード更新が途中で終わっています．\n更新前の状態に戻しますか？";
inline constexpr char kUndoCompleted[] = "メモリカード更新を取り消しました";
inline constexpr char kRestoreCompleted[] = "バックアップからの復元が完了しました";
inline constexpr char kNotABackup[] = "バックアップのフォルダではありません：";
inline constexpr char kRestoreNothing[] = "メモリカードはすでにバックアップと同じです．";
inline constexpr char kStepCopy[] = "コピー";
inline constexpr char kStepMove[] = "移動";
inline constexpr char kStepDelete[] = "削除";
inline constexpr char kStepTable[] = "テーブル";
inline constexpr char kStepFolder[] = "フォルダ作成";
inline constexpr char kUndoToQuestion[] =
    "選んだ時点より後のメモリカード更新をすべて取り消しますか？";
inline constexpr char kRestoreQuestionHeading[] =
    "バックアップの内容でメモリカードを置き換えますか？\n";
inline constexpr char kRestoreWritten[] = "書き込むファイル: ";
inline constexpr char kRestoreRemoved[] = "削除するファイルとフォルダ: ";
inline constexpr char kRestoreBytes[] = "書き込むバイト数: ";
inline constexpr char kNoSuchSnapshot[] = "その履歴はありません：";
inline constexpr char kUndoChangedFile[] =
    "この更新のあとに次のファイルが変更されているため、取り消せません．\n"
    "メモリカードは変更していません．「カード検査」で確かめてから修復してください：";
inline constexpr char kUndoLost[] =
    "取り消しに使う履歴の一部が見つからないため、取り消せません．\n"
    "メモリカードは変更していません：";
inline constexpr char kUndoneBeforeLoad[] =
    "前回の途中で終わったメモリカード更新を取り消しました．";
inline constexpr char kCardBusy[] =
    "ほかの sdmate がこのメモリカードを使用中のため、処理しませんでした．\n"
    "しばらく待ってからやり直してください．";
inline constexpr char kCardBusyProcess[] = "使用中のプロセス：";
inline constexpr char kLockNotMade[] =
    "メモリカードの使用中の印を作れないため、処理しませんでした：";
inline constexpr char kHistoryOnCard[] =
    "履歴のフォルダがメモリカードの中にあるため、処理しませんでした．\n"
    "履歴のフォルダにはコンピュータのフォルダを指定してください：";
inline constexpr char kUndoStatus[] = "メモリカード更新の取り消し中...";
inline constexpr char kRestoreStatus[] = "バックアップからの復元中...";

// The repair.
inline constexpr char kRepairQuestion[] = "メモリカードを修復しますか？";
inline constexpr char kRepairCompleted[] = "メモリカードの修復が完了しました";
inline constexpr char kNothingToRepair[] = "メモリカードに修復することはありません．";
inline constexpr char kRepairIncomplete[] =
    "読み込めないテーブルがあるため、メモリカードを修復できません．";

// The backup.
inline constexpr char kBackupStatus[] = "データのバックアップ中...";
inline constexpr char kBackupCompleted[] = "バックアップが完了しました";
// The second line of the completion, followed by the folder; then the question of the window.
inline constexpr char kBackupFolder[] = "保存先：";
inline constexpr char kOpenBackupFolder[] = "保存先のフォルダを開きますか？";

inline constexpr char kBackupOnCard[] =
    "バックアップ先がメモリカードの中にあるため、バックアップしませんでした．\n"
    "バックアップ先にはコンピュータのフォルダを指定してください：";
inline constexpr char kBackupIncomplete[] =
    "いくつかのデータがバックアップできなかった可能性があります";

// Cards that come and go.
inline constexpr char kCardRemoved[] =
    "読み込んだメモリカードが取り外されました．\n"
    "メモリカードを読み込み直すまで、メモリカードの更新などの操作はできません．";
inline constexpr char kEjectUnsaved[] =
    "メモリカードに書き込んでいない変更があります．\n変更を捨てて取り外しますか？";
inline constexpr char kEjectStatus[] = "メモリカードの取り外し準備中...";
inline constexpr char kEjected[] = "メモリカードを安全に取り外せます．";
inline constexpr char kNotEjectable[] = "選択したドライブは取り外せるドライブではありません．";
inline constexpr char kEjectFailed[] = "メモリカードを取り外せる状態にできませんでした．";

}  // namespace sdmate::text
