// A card made, edited and committed from a stream of bytes.
#include "tests/support/card_scenario.h"

#include <map>
#include <set>
#include <vector>

#include "card/card_session.h"
#include "card/table_probe.h"
#include "core/card_guard.h"
#include "core/content_table.h"
#include "tests/support/content_bytes.h"
#include "tests/support/memory_files.h"

namespace sdmate::test {
namespace {

constexpr char kDrive = 'E';

// The scenario's bytes, read in order; zeros once they run out.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned Byte() { return at_ < size_ ? data_[at_++] : 0u; }
  unsigned Word() { return Byte() << 8 | Byte(); }
  std::string Bytes(std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count && at_ < size_; ++i)
      bytes.push_back(static_cast<char>(data_[at_++]));
    return bytes;
  }
  bool Empty() const { return at_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

class MemoryDrives : public Drives {
 public:
  std::vector<DriveInfo> List() override { return {{kDrive, "/card", DriveType::Removable}}; }
  DriveType TypeOf(char) override { return DriveType::Removable; }
  std::int64_t TotalBytes(char) override { return std::int64_t{1} << 30; }
  std::int64_t FreeBytes(char) override { return std::int64_t{1} << 29; }
  char MapFolder(const std::string&) override { return kDrive; }
  std::optional<std::string> NativePathOf(const std::string& path) override { return path; }
  std::string CardKeyOf(char) override { return "memory"; }
};

// Texts of the card are bytes; the scenario needs no conversion.
class ByteCodec : public TextCodec {
 public:
  std::string ToUtf8(std::string_view sjis) override { return std::string(sjis); }
  std::string FromUtf8(std::string_view utf8) override { return std::string(utf8); }
};

// The keys (as the in-memory card spells them) of a kind's data and table directories.
const std::array<std::pair<std::string, std::string>, 3>& KindPlaces() {
  static const auto places = [] {
    std::array<std::pair<std::string, std::string>, 3> result;
    auto key = [](const std::string& path) {
      const std::string resolved = AsciiUpper(ResolvedCardPath(path));
      return resolved.substr(0, 2) + resolved.substr(3) + "\\";
    };
    for (MediaKind kind : kAllKinds) {
      result[IndexOf(kind)] = {key(CardDataDirectory(kDrive, kind)),
                               key(TableDirectory(kDrive, kind))};
    }
    return result;
  }();
  return places;
}

bool InsideKind(const std::string& key, MediaKind kind) {
  const auto& [data, tables] = KindPlaces()[IndexOf(kind)];
  return key.starts_with(data) || key.starts_with(tables);
}

bool InsideAnyKind(const std::string& key) {
  for (MediaKind kind : kAllKinds) {
    if (InsideKind(key, kind)) return true;
  }
  return false;
}

class Scenario {
 public:
  Scenario(const std::uint8_t* data, std::size_t size, std::ostream* trace)
      : trace_(trace),
        in_(data, size),
        files_(kDrive),
        session_(SessionServices{files_, drives_, codec_, clock_, feedback_,
                                 Places{"/program/", "/current/", "/data/", "/history/"}}) {}

  ScenarioResult Run() {
    Surroundings();
    const unsigned mask = in_.Byte() % 7 + 1;
    for (MediaKind kind : kAllKinds) {
      if ((mask >> IndexOf(kind) & 1u) == 0) continue;
      const int folders = static_cast<int>(in_.Byte() % 4) + 1;
      for (int n = 1; n <= folders; ++n) Table(kind, n, folders);
    }
    if (!session_.Load(kDrive, {.askRemovable = false}).loaded || !session_.model().complete) {
      return result_;
    }
    Trace("loaded");
    Edit();
    const auto kept = Kept();
    const auto fromTheCard = KeptFromTheCard();
    const auto before = Outside();
    Trace("edited");
    const UpdateResult update = session_.Update();
    if (trace_ != nullptr) {
      for (const Failure& failure : update.failures) {
        *trace_ << "failure: " << FailureLine(failure, [](const std::string& p) { return p; })
                << '\n';
      }
    }
    Trace("committed");
    result_.committed = update.ran;
    result_.failures = update.failures.size();
    if (Outside() != before) return Problem("a file outside the handset's folders changed");
    const auto after = files_.Snapshot();
    for (MediaKind kind : kAllKinds) {
      std::set<std::string> present;
      for (const auto& [key, bytes] : after) {
        if (InsideKind(key, kind)) present.insert(bytes);
      }
      for (const std::string& bytes : fromTheCard[IndexOf(kind)]) {
        if (!present.contains(bytes)) return Problem("a kept file was lost: " + bytes);
      }
    }
    if (update.ran && update.failures.empty() && update.reload.loaded) {
      const auto listed = Kept();
      for (MediaKind kind : kAllKinds) {
        if (listed[IndexOf(kind)] != kept[IndexOf(kind)]) {
          return Problem(std::string("the card does not list the kept files of ") +
                         TraitsOf(kind).key);
        }
      }
    }
    return result_;
  }

 private:
  ScenarioResult Problem(std::string what) {
    result_.ok = false;
    result_.problem = std::move(what);
    return result_;
  }

  std::string Content() { return "content " + std::to_string(++contents_); }

  void Trace(const char* when) {
    if (trace_ == nullptr) return;
    *trace_ << "== " << when << '\n';
    for (const auto& [key, bytes] : files_.Snapshot()) {
      if (InsideAnyKind(key) && key.find("\\TABLE\\") == std::string::npos) {
        *trace_ << "  " << key << " = " << bytes << '\n';
      }
    }
    for (MediaKind kind : kAllKinds) {
      const KindState& state = session_.model().of(kind);
      for (int n = 1; n <= state.folderCount(); ++n) {
        *trace_ << "  " << TraitsOf(kind).key << " " << n << ":";
        for (const ItemRow& item : state.folder(n).items) {
          *trace_ << " [" << item.order << (item.deleted ? " del" : "")
                  << (item.added ? " add" : "") << " " << item.SourcePath() << " -> "
                  << item.TargetPath() << "]";
        }
        *trace_ << '\n';
      }
      for (const std::string& removed : state.removedFolders) {
        *trace_ << "  removed " << removed << '\n';
      }
    }
  }

  void Surroundings() {
    files_.Put("E:\\\\DCIM\\100NECDT\\NEC_0001.JPG", "camera");
    files_.Put("E:\\\\PRIVATE\\DOCOMO\\RINGER\\RING0001.MID", "ring");
    files_.Put("E:\\\\PRIVATE\\DOCOMO\\AB.JPG", "beside the handset's folders");
    files_.Put("E:\\\\STIL0001.JPG", "in the root");
    files_.Put("/pc/photo.jpg", JpegBytes(300));
    files_.Put("/pc/clip.3gp", IsoBytes(300));
  }

  std::string HeaderDirectory(MediaKind kind, int n, int folders) {
    switch (in_.Byte() % 8) {
      case 4:
        return FolderDirectoryText(kind, n % folders + 1);
      case 5:
        return AreaOf(kind).dataDirectory;
      case 6:
        return AreaOf(kind).dataDirectory + in_.Bytes(in_.Byte() % 24);
      case 7:
        return in_.Bytes(in_.Byte() % 40);
      default:
        return FolderDirectoryText(kind, n);
    }
  }

  // The data files a table names, where the load looks for them, unless the scenario leaves
  // them out; never outside the kind's data directory.
  void FilesOf(MediaKind kind, int n, const std::string& table) {
    const ContentTable decoded = DecodeTable(kind, table);
    const std::string directory = FilesDirectoryOf(kDrive, kind, n, decoded).directory;
    for (const TableEntry& entry : decoded.entries) {
      if (in_.Byte() % 6 == 0 || !IsPlainEntryName(entry.stem, entry.extension)) continue;
      const std::string path = directory + entry.FileName();
      if (!IsStrictlyBelow(path, CardDataDirectory(kDrive, kind))) continue;
      if (files_.FileSizeOf(path) < 0 && !files_.IsDirectory(path)) files_.Put(path, Content());
    }
  }

  void Table(MediaKind kind, int n, int folders) {
    const unsigned mode = in_.Byte() % 4;
    std::string table;
    if (mode == 0) {
      table = in_.Bytes(in_.Word() % 8192);
    } else {
      const std::string directory = HeaderDirectory(kind, n, folders);
      const int entries = static_cast<int>(in_.Byte() % 6);
      table = BuildTableHeader(directory, in_.Bytes(in_.Byte() % 56), entries);
      for (int e = 0; e < entries; ++e) {
        const std::string stem = in_.Byte() % 4 != 0 ? DataFileStem(kind, 1 + in_.Byte() % 9)
                                                     : in_.Bytes(in_.Byte() % 9);
        std::string extension = AreaOf(kind).rules.front().extension.substr(1);
        if (in_.Byte() % 4 == 0) extension = in_.Bytes(in_.Byte() % 4);
        table += BuildTableEntry(kind, stem + "." + extension, in_.Bytes(in_.Byte() % 8),
                                 "2005:03:03 14:07:00", 7);
      }
      if (mode == 3) table[343] = static_cast<char>(in_.Byte());
      if (mode == 3 && in_.Byte() % 2 == 0) table += in_.Bytes(in_.Byte() % 200);
    }
    files_.Put(TablePath(kDrive, kind, n), table);
    FilesOf(kind, n, table);
    if (in_.Byte() % 8 == 0) {  // a file no table names
      files_.Put(CardFolderDirectory(kDrive, kind, n) + DataFileName(kind, 9, ".JPG"), Content());
    }
  }

  void Edit() {
    const unsigned count = in_.Byte() % 12;
    for (unsigned i = 0; i < count && !in_.Empty(); ++i) {
      const unsigned op = in_.Byte() % 9;
      const MediaKind kind = kAllKinds[in_.Byte() % 3];
      const int folders = session_.model().of(kind).folderCount();
      const int folder = static_cast<int>(in_.Byte() % static_cast<unsigned>(folders)) + 1;
      const int row = static_cast<int>(in_.Byte() % 6) + 1;
      if (trace_ != nullptr) {
        *trace_ << "edit " << op << " " << TraitsOf(kind).key << " " << folder << " " << row
                << '\n';
      }
      switch (op) {
        case 0:
          session_.DeleteItem(kind, folder, row);
          break;
        case 1:
          session_.MoveItemUp(kind, folder, row);
          break;
        case 2:
          session_.MoveItemDown(kind, folder, row);
          break;
        case 3:
          session_.RenumberItems(kind, folder);
          break;
        case 4:
          session_.DeleteFolder(kind, folder);
          break;
        case 5:
          if (session_.PrepareAdd(kind)) {
            session_.AddFiles(kind, folder,
                              {kind == MediaKind::Movie ? "/pc/clip.3gp" : "/pc/photo.jpg"});
          }
          break;
        case 6:
          AddCardFile(kind, folder);
          break;
        case 7:
          session_.AddFolder(kind);
          break;
        default:
          session_.StoreItemTitle(kind, folder, row, in_.Bytes(in_.Byte() % 70));
          break;
      }
    }
  }

  // A file of the card added again under another spelling of its path.
  void AddCardFile(MediaKind kind, int folder) {
    const KindState& state = session_.model().of(MediaKind(in_.Byte() % 3));
    if (state.folderCount() == 0) return;
    const std::vector<const ItemRow*> items =
        VisibleItems(state.folder(static_cast<int>(in_.Byte()) % state.folderCount() + 1));
    if (items.empty()) return;
    std::string path = items[in_.Byte() % items.size()]->SourcePath();
    const unsigned spelling = in_.Byte();
    for (char& c : path) {
      if ((spelling & 1u) != 0 && c == '\\') c = '/';
      if ((spelling & 2u) != 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if ((spelling & 4u) != 0)
      path.insert(path.rfind(path.find('/') != std::string::npos ? '/' : '\\'), "\\.");
    if (session_.PrepareAdd(kind)) session_.AddFiles(kind, folder, {path});
  }

  // The bytes of every item's file each kind lists, as a sorted list.
  std::array<std::multiset<std::string>, 3> Kept() {
    std::array<std::multiset<std::string>, 3> kept;
    for (MediaKind kind : kAllKinds) {
      const KindState& state = session_.model().of(kind);
      for (int n = 1; n <= state.folderCount(); ++n) {
        for (const ItemRow* item : VisibleItems(state.folder(n))) {
          kept[IndexOf(kind)].insert(files_.ReadFile(item->SourcePath(), Files::kWholeFile)
                                         .value_or("(missing) " + item->SourcePath()));
        }
      }
    }
    return kept;
  }

  // The bytes of every listed item's file that is on the card: none of them may be lost. A file
  // of the computer whose copy failed is still where it was.
  std::array<std::set<std::string>, 3> KeptFromTheCard() {
    std::array<std::set<std::string>, 3> kept;
    for (MediaKind kind : kAllKinds) {
      const KindState& state = session_.model().of(kind);
      for (int n = 1; n <= state.folderCount(); ++n) {
        for (const ItemRow* item : VisibleItems(state.folder(n))) {
          if (CardDriveOf(item->SourcePath()) != kDrive) continue;
          if (auto bytes = files_.ReadFile(item->SourcePath(), Files::kWholeFile)) {
            kept[IndexOf(kind)].insert(*bytes);
          }
        }
      }
    }
    return kept;
  }

  std::map<std::string, std::string> Outside() {
    std::map<std::string, std::string> outside = files_.Snapshot();
    std::erase_if(outside, [](const auto& file) {
      return InsideAnyKind(file.first) || file.first.starts_with("|/history/");
    });
    return outside;
  }

  std::ostream* trace_;
  Reader in_;
  MemoryFiles files_;
  MemoryDrives drives_;
  ByteCodec codec_;
  FixedClock clock_;
  SilentFeedback feedback_;
  CardSession session_;
  ScenarioResult result_;
  int contents_ = 0;
};

}  // namespace

ScenarioResult RunCardScenario(const std::uint8_t* data, std::size_t size, std::ostream* trace) {
  return Scenario(data, size, trace).Run();
}

}  // namespace sdmate::test
