// The sample card's content and how it is written: tables through the same builders the update
// uses, files through Files.
#include "cli/sample_card.h"

#include <cstdio>
#include <vector>

#include "cli/cli_services.h"
#include "cli/sample_files.h"
#include "core/content_table.h"

namespace sdmate::cli {
namespace {

struct SampleItem {
  std::string name;   // name on the card
  std::string bytes;  // content
  std::string title;  // UTF-8; written as Shift-JIS
  std::string stamp;
};

struct SampleFolder {
  MediaKind kind;
  int number;
  std::string title;  // UTF-8
  std::vector<SampleItem> items;
};

std::string Stamp(int day, int minute) {
  char text[32];
  std::snprintf(text, sizeof text, "2005:03:%02d 14:%02d:00", day % 100, minute % 60);
  return text;
}

SampleItem Picture(int p, const char* file, std::string_view extension, const char* title,
                   int day) {
  return {DataFileName(MediaKind::Image, p, extension), std::string(SampleFile(file)), title,
          Stamp(day, p * 7)};
}

// One of the three clips the handset plays, with a "free" box after it that says which item it
// is: every item's bytes are its own, and players skip the box.
std::string SampleClip(int p) {
  static constexpr const char* kClips[] = {"clip1.3gp", "clip2.3gp", "clip3.3gp"};
  std::string clip(SampleFile(kClips[(p - 1) % 3]));
  const std::string note = "sdmate sample clip " + std::to_string(p);
  const auto size = static_cast<std::uint32_t>(8 + note.size());
  clip += std::string{static_cast<char>(size >> 24), static_cast<char>(size >> 16),
                      static_cast<char>(size >> 8), static_cast<char>(size)};
  clip += "free" + note;
  return clip;
}

std::vector<SampleFolder> SampleFolders() {
  std::vector<SampleFolder> folders;
  folders.push_back({MediaKind::Image,
                     1,
                     "風景",
                     {Picture(1, "sunset.jpg", ".JPG", "夕焼けの空", 3),
                      Picture(2, "mountain.jpg", ".JPG", "富士山", 3),
                      Picture(3, "tree.jpg", ".JPG", "公園の大きな木", 4)}});
  folders.push_back({MediaKind::Image,
                     2,
                     "夜と模様",
                     {Picture(1, "night.jpg", ".JPG", "月夜", 5),
                      Picture(2, "checker.gif", ".GIF", "市松模様", 5),
                      Picture(3, "stripes.gif", ".GIF", "しま模様", 6)}});
  folders.push_back({MediaKind::Image, 3, "お気に入り", {}});

  SampleFolder clips{MediaKind::Movie, 1, "ムービー集", {}};
  for (int p = 1; p <= 12; ++p) {
    clips.items.push_back({DataFileName(MediaKind::Movie, p, ".3GP"), SampleClip(p),
                           "クリップ" + std::to_string(p), Stamp(10, p)});
  }
  folders.push_back(std::move(clips));
  folders.push_back(
      {MediaKind::Movie,
       2,
       "旅行",
       {{DataFileName(MediaKind::Movie, 1, ".3GP"), SampleClip(13), "駅のホーム", Stamp(12, 30)},
        {DataFileName(MediaKind::Movie, 2, ".3GP"), SampleClip(14), "海辺", Stamp(12, 45)}}});

  auto document = [](int p, const char* file, const char* title) {
    return SampleItem{DataFileName(MediaKind::Document, p, ".PDF"), std::string(SampleFile(file)),
                      title, Stamp(20, p)};
  };
  folders.push_back(
      {MediaKind::Document,
       1,
       "書類",
       {document(1, "guide.pdf", "使い方の案内"), document(2, "memo.pdf", "買い物メモ"),
        document(3, "map.pdf", "駅からの地図")}});
  return folders;
}

}  // namespace

std::string WriteSampleCard(char drive, Files& files, TextCodec& codec) {
  for (const SampleFolder& folder : SampleFolders()) {
    // Like the update, an empty folder gets its table but no directory.
    std::string directory = CardFolderDirectory(drive, folder.kind, folder.number);
    if (!folder.items.empty() && !files.MakeDirectories(directory)) return directory;
    std::string table =
        BuildTableHeader(FolderDirectoryText(folder.kind, folder.number),
                         codec.FromUtf8(folder.title), static_cast<int>(folder.items.size()));
    for (const SampleItem& item : folder.items) {
      std::string path = directory + item.name;
      if (item.bytes.empty() || !files.WriteFileReplacing(path, item.bytes)) return path;
      table += BuildTableEntry(folder.kind, item.name, codec.FromUtf8(item.title), item.stamp,
                               static_cast<std::uint32_t>(item.bytes.size()));
    }
    if (!files.MakeDirectories(TableDirectory(drive, folder.kind))) {
      return TableDirectory(drive, folder.kind);
    }
    std::string tablePath = TablePath(drive, folder.kind, folder.number);
    if (!files.WriteFileReplacing(tablePath, table)) return tablePath;
  }
  // The camera's own folder: the program lists and exports it, and never writes it.
  std::string camera = CardRoot(drive) + "\\DCIM\\100NECDT\\";
  if (!files.MakeDirectories(camera)) return camera;
  const char* pictures[] = {"camera.jpg", "camera2.jpg", "camera3.jpg"};
  for (int p = 1; p <= 3; ++p) {
    std::string path = camera + "NEC_" + PadNumber(p, 4) + ".JPG";
    if (!files.WriteFileReplacing(path, std::string(SampleFile(pictures[p - 1])))) return path;
  }
  return {};
}

}  // namespace sdmate::cli
