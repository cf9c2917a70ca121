// The N901iS profile and the naming rules of the handset's card layout.
#include "core/card_layout.h"

#include <cstdio>

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
     .titleLabel = "ドキュメントタイトル"},
};

std::string Hex3(int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03X", static_cast<unsigned>(n) & 0xFFFu);
  return buffer;
}

std::string ReplaceAll(std::string text, std::string_view field, std::string_view value) {
  for (std::size_t at = text.find(field); at != std::string::npos;
       at = text.find(field, at + value.size())) {
    text.replace(at, field.size(), value);
  }
  return text;
}

}  // namespace

HandsetProfile N901iSProfile() {
  HandsetProfile profile;
  profile.areas[0] = {"\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD#3F.TBL",
                      "\\PRIVATE\\DOCOMO\\STILL\\",
                      "STIL",
                      4,
                      {{".JPG", 102400}, {".GIF", 102400}}};
  profile.areas[1] = {"\\PRIVATE\\DOCOMO\\TABLE\\RINGER\\RUD#3F.TBL",
                      "\\PRIVATE\\DOCOMO\\RINGER\\",
                      "RING",
                      4,
                      {{".CAM", 40960}, {".MID", 40960}, {".SMF", 40960}}};
  profile.areas[2] = {
      "\\PRIVATE\\DOCOMO\\TABLE\\SD_VIDEO\\PRL#3H.TBL",
      "\\SD_VIDEO\\",
      "MOL",
      3,
      {{".3GP", 307200}, {".SDV", 307200}, {".MP4", 307200}, {".ASF", 307200}, {".M4A", 307200}}};
  profile.areas[3] = {"\\PRIVATE\\DOCOMO\\TABLE\\DCIM\\#3FNECDT.TBL",
                      "\\DCIM\\#3FNECDT\\",
                      "NEC_",
                      4,
                      {{".JPG", 102400}}};
  profile.areas[4] = {"\\PRIVATE\\DOCOMO\\TABLE\\DOCUMENT\\PUD#3F.TBL",
                      "\\PRIVATE\\DOCOMO\\DOCUMENT\\",
                      "PDFDC",
                      3,
                      {{".PDF", 307200}}};
  return profile;
}

const KindTraits& TraitsOf(MediaKind kind) { return kTraits[IndexOf(kind)]; }

const ContentArea& AreaOf(MediaKind kind) {
  static const HandsetProfile profile = N901iSProfile();
  return profile.area(TraitsOf(kind).area);
}

std::string PadNumber(std::int64_t n, int width) {
  if (width < 2 || width > 5) return {};
  if (n < 0) return std::string(static_cast<std::size_t>(width), '0');
  std::int64_t modulus = 1;
  for (int i = 0; i < width; ++i) modulus *= 10;
  std::string digits = std::to_string(n % modulus);
  return std::string(static_cast<std::size_t>(width) - digits.size(), '0') + digits;
}

std::string FolderNumberText(MediaKind kind, int n) {
  return TraitsOf(kind).hexNumbers ? Hex3(n) : PadNumber(n, 3);
}

std::string FileNumberText(MediaKind kind, int p) {
  if (TraitsOf(kind).hexNumbers) return Hex3(p);
  return PadNumber(p, AreaOf(kind).width);
}

std::string TablePath(char drive, MediaKind kind, int n) {
  std::string number = FolderNumberText(kind, n);
  std::string path = ReplaceAll(AreaOf(kind).tablePathTemplate, "#3F", number);
  path = ReplaceAll(std::move(path), "#3H", number);
  return CardRoot(drive) + path;
}

std::string TableDirectory(char drive, MediaKind kind) {
  std::string path = TablePath(drive, kind, 1);
  return path.substr(0, path.rfind('\\'));
}

std::string FolderDirectoryText(MediaKind kind, int n) {
  return AreaOf(kind).dataDirectory + TraitsOf(kind).directoryPrefix + FolderNumberText(kind, n);
}

std::string CardFolderDirectory(char drive, MediaKind kind, int n) {
  return CardRoot(drive) + FolderDirectoryText(kind, n) + "\\";
}

std::string CardDataDirectory(char drive, MediaKind kind) {
  return CardRoot(drive) + AreaOf(kind).dataDirectory;
}

std::string CardRoot(char drive) { return std::string(1, drive) + ":\\"; }

std::string DataFileStem(MediaKind kind, int p) {
  return AreaOf(kind).prefix + FileNumberText(kind, p);
}

std::string DataFileName(MediaKind kind, int p, std::string_view extension) {
  return DataFileStem(kind, p) + std::string(extension);
}

std::string DefaultFolderTitle(MediaKind kind, int n) {
  return TraitsOf(kind).directoryPrefix + PadNumber(n, 3);
}

std::string_view ExtensionOf(std::string_view name) {
  std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string AsciiUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

const FileTypeRule* RuleFor(MediaKind kind, std::string_view name) {
  std::string extension = AsciiUpper(ExtensionOf(name));
  for (const FileTypeRule& rule : AreaOf(kind).rules) {
    if (rule.extension == extension) return &rule;
  }
  return nullptr;
}

}  // namespace sdmate
