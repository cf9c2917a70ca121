// Real card trees in temporary folders, and the doubles the tests talk to the engine through.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/card_layout.h"
#include "core/feedback.h"
#include "platform/drive_table.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/places.h"

namespace sdmate::test {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The program's places inside a temporary folder: program/, current/ and data/ beside each other,
// none made yet.
Places TestPlaces(const TempDir& temp);

// One item of a table the builder writes.
struct TableItem {
  std::string name;   // "STIL0001.JPG"
  std::string title;  // Shift-JIS bytes
  std::string stamp = "2005:03:03 14:07:00";
  std::optional<std::string> content;  // default: bytes derived from the name
  bool writeFile = true;               // false: the table names a missing file
};

// Writes the handset's area of a card into a folder: tables and data files.
class CardBuilder {
 public:
  explicit CardBuilder(fs::path root) : root_(std::move(root)) {}

  // Writes folder n's table and its data files. headerDirectory replaces the folder's own
  // directory text in the header (and the files go there).
  CardBuilder& Folder(MediaKind kind, int n, const std::string& title,
                      const std::vector<TableItem>& items,
                      std::optional<std::string> headerDirectory = std::nullopt);
  // Writes table bytes as they are.
  CardBuilder& RawTable(MediaKind kind, int n, const std::string& bytes);
  // Writes a file at a card path relative to the root ("DCIM/100NEC/x.jpg").
  CardBuilder& File(const std::string& relative, const std::string& bytes);
  CardBuilder& Directory(const std::string& relative);

  const fs::path& root() const { return root_; }
  // Native path of a card path without drive ("\PRIVATE\DOCOMO\STILL\SUD001\STIL0001.JPG").
  fs::path Native(const std::string& cardPath) const;
  static std::string DefaultContent(const std::string& name);

 private:
  fs::path root_;
};

// Native paths as the program takes them (UTF-8), and back: on Windows fs::path::string()
// would give the ANSI code page instead.
std::string Utf8(const fs::path& path);
fs::path PathFromUtf8(std::string_view utf8);

std::string ReadBytes(const fs::path& path);
// Writes a file; false where the system does not allow such a name.
bool TryWriteBytes(const fs::path& path, const std::string& bytes);
void WriteBytes(const fs::path& path, const std::string& bytes);
// Sets the modification time of a folder (the C++ library's call cannot on Windows).
void SetFolderTime(const fs::path& folder, fs::file_time_type when);
// Every file under root as "relative/path" (forward slashes), sorted.
std::vector<std::string> ListTree(const fs::path& root);
// Every file under root with its bytes.
std::map<std::string, std::string> SnapshotTree(const fs::path& root);

// A question or message the engine showed.
struct Shown {
  MessageKind kind;
  std::string text;
  Buttons buttons;
  std::string details = {};  // the list behind "詳細", when the question has one
};

// Answers questions from a script and records everything shown.
class ScriptedFeedback : public Feedback {
 public:
  Answer Ask(MessageKind kind, std::string_view text, Buttons buttons) override;
  Answer AskWithDetails(MessageKind kind, std::string_view text, std::string_view details,
                        Buttons buttons) override {
    const Answer answer = Ask(kind, text, buttons);
    shown.back().details = details;
    return answer;
  }
  void Status(std::string_view text) override {
    statuses.emplace_back(text);
    if (!cancelOnStatus.empty() && text.find(cancelOnStatus) != std::string_view::npos) {
      statusSeen_ = true;
    }
  }
  void Progress(int done, int total) override { progress.emplace_back(done, total); }
  // 中止 is pressed once this many progress steps were shown under a cancellable operation
  // (-1: never), or once a status holding cancelOnStatus was shown.
  bool Cancelled() override {
    return cancellable > 0 &&
           ((cancelAfter >= 0 && static_cast<int>(progress.size()) >= cancelAfter) || statusSeen_);
  }

  std::vector<Answer> answers;         // taken in order for Yes/No and Yes/Cancel questions
  Answer defaultAnswer = Answer::Yes;  // once the script runs out
  std::vector<Shown> shown;
  std::vector<std::string> statuses;
  std::vector<std::pair<int, int>> progress;
  int busyDepth = 0;
  int busyCount = 0;
  int cancellable = 0;  // depth of the cancellable operations running
  int cancelAfter = -1;
  std::string cancelOnStatus;

  // Texts of everything shown, for readable assertions.
  std::vector<std::string> Texts() const;

 protected:
  void BeginBusy() override {
    ++busyDepth;
    ++busyCount;
  }
  void EndBusy() override { --busyDepth; }
  void BeginCancellable() override { ++cancellable; }
  void EndCancellable() override { --cancellable; }

 private:
  std::size_t next_ = 0;
  bool statusSeen_ = false;
};

// Drives whose type and sizes the test sets; letters come from a real DriveTable.
class FakeDrives : public Drives {
 public:
  explicit FakeDrives(DriveTable& table) : table_(table) {}
  std::vector<DriveInfo> List() override;
  DriveType TypeOf(char letter) override;
  std::int64_t TotalBytes(char letter) override;
  std::int64_t FreeBytes(char letter) override;
  char MapFolder(const std::string& folder) override { return table_.MapFolder(folder); }
  std::optional<std::string> NativePathOf(const std::string& modelPath) override {
    return table_.ToNative(modelPath);
  }
  // The folder a letter stands for, as for any folder that is a card.
  std::string CardKeyOf(char letter) override {
    auto root = table_.RootOf(letter);
    return root ? "path:" + *root : std::string();
  }
  // Folders in `mounts` not seen before get letters, and the letters of those taken out of it
  // stand for nothing, as the system's mount table would have it.
  bool Refresh() override;
  EjectResult Eject(char letter) override;

  DriveType type = DriveType::Removable;
  std::vector<std::string> mounts;            // folders the test "mounts"
  std::map<std::string, std::string> labels;  // volume labels by root folder
  EjectResult ejectResult{true, true, {}};    // what Eject answers
  std::vector<char> ejected;                  // the letters Eject was asked for
  std::int64_t total = 64LL * 1024 * 1024;
  std::int64_t free = 32LL * 1024 * 1024;

 private:
  DriveTable& table_;
  std::map<char, std::string> mounted_;
};

// Real files, except that the operations a test picks fail. Each write, copy, move, delete and
// directory creation counts as one operation, numbered from 1.
class FailingFiles : public Files {
 public:
  explicit FailingFiles(Files& real) : real_(real) {}

  // Fails the operation with this number (and, with failFrom, every later one too).
  int failAt = 0;
  bool failFrom = false;
  // Fails every operation whose path (either path) contains this text.
  std::string failPathContaining;
  // The card's drive: operations on other paths neither fail nor count.
  char cardDrive = 'E';
  int operations = 0;
  // The reason the system gives for an operation made to fail.
  FileError failError = FileError::NoSpace;
  // Off: no directory is listed with its files, every file is asked on its own (as the load
  // did before listings).
  bool listFiles = true;
  // Directories whose path contains this text cannot be listed (no permission to read them).
  std::string unlistableContaining;
  // Off: directories are listed on the thread that asks for them, as by files that keep state.
  bool listBeside = true;

  FileError LastError() const override { return failedLast_ ? failError : real_.LastError(); }

  std::int64_t FileSizeOf(const std::string& path) override { return real_.FileSizeOf(path); }
  std::string FileStampText(const std::string& path) override { return real_.FileStampText(path); }
  std::optional<std::int64_t> ModifiedTime(const std::string& path) override {
    return real_.ModifiedTime(path);
  }
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  bool IsDirectory(const std::string& path) override { return real_.IsDirectory(path); }
  bool IsWritableDirectory(const std::string& path) override {
    return real_.IsWritableDirectory(path);
  }
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override {
    return real_.ReadFile(path, maxBytes);
  }
  bool FlushVolume(const std::string& path) override {
    ++flushes;
    return real_.FlushVolume(path);
  }
  int flushes = 0;
  bool IsPlainPath(const std::string& path) override { return real_.IsPlainPath(path); }
  std::optional<std::string> ResolveOnDrive(const std::string& path) override {
    return real_.ResolveOnDrive(path);
  }
  std::vector<std::optional<std::string>> ResolveAllOnDrive(
      const std::vector<std::string>& paths) override {
    return real_.ResolveAllOnDrive(paths);
  }
  std::optional<std::vector<std::string>> ListDirectory(const std::string& path) override {
    if (Unlistable(path)) return std::nullopt;
    return real_.ListDirectory(path);
  }
  bool ListsBeside() const override { return listBeside && real_.ListsBeside(); }
  std::optional<std::vector<DirectoryEntry>> ListFiles(const std::string& path) override {
    ++listings;
    if (!listFiles || Unlistable(path)) return std::nullopt;
    return real_.ListFiles(path);
  }
  std::atomic<int> listings{0};  // counted beside the load's other calls
  bool MakeDirectories(const std::string& path) override {
    return Fails(path, "") ? false : real_.MakeDirectories(path);
  }
  bool WriteFileReplacing(const std::string& path, const std::string& bytes) override {
    return Fails(path, "") ? false : real_.WriteFileReplacing(path, bytes);
  }
  // A copy from the card to the computer (into the history) only reads the card.
  bool ShellCopy(const std::string& from, const std::string& to) override {
    return Fails(from, to, true) ? false : real_.ShellCopy(from, to);
  }
  bool ShellMove(const std::string& from, const std::string& to) override {
    return Fails(from, to) ? false : real_.ShellMove(from, to);
  }
  NewFile CopyToNewFile(const std::string& from, const std::string& to,
                        std::optional<std::int64_t> modified) override {
    return Fails(from, to, true) ? NewFile::Failed : real_.CopyToNewFile(from, to, modified);
  }
  bool ShellDelete(const std::string& path) override {
    return Fails(path, "") ? false : real_.ShellDelete(path);
  }

 private:
  bool Unlistable(const std::string& path) const {
    return !unlistableContaining.empty() && path.find(unlistableContaining) != std::string::npos;
  }
  bool Fails(const std::string& a, const std::string& b, bool readOnlyFirst = false);
  bool FailsNow(const std::string& a, const std::string& b, bool readOnlyFirst);
  Files& real_;
  bool failedLast_ = false;
};

}  // namespace sdmate::test
