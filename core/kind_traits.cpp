// The per-kind table.
#include "core/kind_traits.h"

namespace sdmate {
namespace {

const KindTraits kTraits[] = {
    {.kind = MediaKind::Image,
     .area = AreaIndex::StandbyImage,
     .key = "image",
     .controlSuffix = "Image",
     .directoryPrefix = "SUD",
     .hexNumbers = false,
     .lastProbedFolder = 999,
     .stemWidth = 8,
     .loadStatus = "待ち受け画像ファイルの読み込み中...",
     .tableStatus = "待ち受け画像テーブルの更新中...",
     .deleteStatus = "削除対象待ち受け画像の削除中...",
     .renameStatus = "待ち受け画像のリネーム中...",
     .copyStatus = "待ち受け画像のコピー中...",
     .modelStatus = "待ち受け画像データ更新中...",
     .notSupportedMessage = "選択した機種は待ち受け画像に対応していません",
     .missingDirectoryQuestion = "待ち受け画像用フォルダがありません．\n作成しますか？",
     .wrongTypeMessage = "下記のファイルは非対応の待受け画像形式です。\n読込をスキップします。\n",
     .folderDeleteQuestion = "現在表示している待ち受け画像フォルダを削除してもよろしいですか？",
     .dialogCaption = "待ち受け画像データ|",
     .tabText = "\u3000待受け画像\u3000\u3000",
     .exportFolder = "待受け画像",
     .titleLabel = "待受け画像タイトル"},
    {.kind = MediaKind::Movie,
     .area = AreaIndex::Movie,
     .key = "movie",
     .controlSuffix = "Movie",
     .directoryPrefix = "PRL",
     .hexNumbers = true,
     .lastProbedFolder = 4095,
     .stemWidth = 6,
     .loadStatus = "ムービーファイルの読み込み中...",
     .tableStatus = "ムービーテーブルの更新中...",
     .deleteStatus = "削除対象ムービーの削除中...",
     .renameStatus = "ムービーのリネーム中...",
     .copyStatus = "ムービーのコピー中...",
     .modelStatus = "ムービーデータ更新中...",
     .notSupportedMessage = "選択した機種はムービーに対応していません",
     .missingDirectoryQuestion = "ムービー用フォルダがありません．\n作成しますか？",
     .wrongTypeMessage = "下記のファイルは非対応のムービー形式です。\n読込をスキップします。\n",
     .folderDeleteQuestion = "現在表示しているムービーフォルダを削除してもよろしいですか？",
     .dialogCaption = "ムービーデータ|",
     .tabText = "\u3000ムービー\u3000\u3000\u3000",
     .exportFolder = "ムービー",
     .titleLabel = "ムービータイトル"},
    {.kind = MediaKind::Document,
     .area = AreaIndex::Document,
     .key = "document",
     .controlSuffix = "Document",
     .directoryPrefix = "PUD",
     .hexNumbers = false,
     .lastProbedFolder = 999,
     .stemWidth = 8,
     .loadStatus = "ドキュメントファイルの読み込み中...",
     .tableStatus = "ドキュメントテーブルの更新中...",
     .deleteStatus = "削除対象ドキュメントの削除中...",
     .renameStatus = "ドキュメントのリネーム中...",
     .copyStatus = "ドキュメントのコピー中...",
     .modelStatus = "ドキュメントデータ更新中...",
     .notSupportedMessage = "選択した機種はドキュメントに対応していません",
     .missingDirectoryQuestion = "ドキュメント用フォルダがありません．\n作成しますか？",
     .wrongTypeMessage = "下記のファイルは非対応のドキュメント形式です。\n読込をスキップします。\n",
     .folderDeleteQuestion = "現在表示しているドキュメントフォルダを削除してもよろしいですか？",
     .dialogCaption = "ドキュメントデータ|",
     .tabText = "\u3000ドキュメント\u3000",
     .exportFolder = "ドキュメント",
     .titleLabel = "ドキュメントタイトル"},
};

}  // namespace

const KindTraits& TraitsOf(MediaKind kind) { return kTraits[IndexOf(kind)]; }

const ContentArea& AreaOf(MediaKind kind) {
  static const HandsetProfile profile = N901iSProfile();
  return profile.area(TraitsOf(kind).area);
}

}  // namespace sdmate
