// A card in a temporary folder mapped to a drive letter, and the session the card engine's tests
// drive it through: real files (wrapped, so that a test can make chosen operations fail), fake
// drives, a fixed clock and a scripted feedback. Edits reach the model only through the
// session's own operations, so every commit a test makes works on a model the program makes.
#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "card/card_session.h"
#include "core/card_model.h"
#include "platform/clock.h"
#include "platform/text_codec.h"
#include "tests/support/card_builder.h"

namespace sdmate {
// Failures in a test's messages, as the warning lists them with card paths as they stand.
std::ostream& operator<<(std::ostream& out, const Failure& failure);
inline void PrintTo(const Failure& failure, std::ostream* out) { *out << failure; }
}  // namespace sdmate

namespace sdmate::test {

// A failure's line with its card paths as the model writes them.
std::string LineOf(const Failure& failure);

class CardRig {
 public:
  static constexpr char kDrive = 'E';

  // A card in <base>/card.
  CardRig();
  // A card whose root is a folder elsewhere (a mounted file system); base() stays the rig's own.
  explicit CardRig(const fs::path& cardRoot);

  // The folder the card's root is in by default; tests put files of the computer and
  // "surroundings" of the card beside it, and the program's places are inside it.
  const fs::path& base() const { return temp_.path(); }
  const TempDir& temp() const { return temp_; }
  const fs::path& cardRoot() const { return card.root(); }

  // The session's model: read here, changed only through the session.
  const CardModel& model() const { return session.model(); }
  const FolderSlot& Folder(MediaKind kind, int n) const { return model().of(kind).folder(n); }

  LoadResult Load(LoadOptions options = {}) { return session.Load(kDrive, options); }
  UpdateResult Update() { return session.Update(); }
  // Folder n deleted through the session, its question answered Yes.
  FolderDeleteResult DeleteFolder(MediaKind kind, int n);
  // A file of the computer in the base folder (name in UTF-8), and its native path in UTF-8 as
  // the add dialog hands it over.
  std::string ComputerFile(const std::string& name, const std::string& bytes);
  // Files of the computer added to folder n through the session, as the add dialog does.
  BatchResult AddFiles(MediaKind kind, int n, const std::vector<std::string>& paths) {
    return session.AddFiles(kind, n, paths);
  }

  // The engine's commit run directly on a model no operation of the program makes (a hostile
  // one, built by the test on a copy of the session's model), through the rig's services.
  UpdateResult UpdateHandBuilt(CardModel& model);

  // A fresh load into a separate session, as a later run of the program would see the card.
  CardModel LoadFresh();

  // Native path of a card path without drive.
  fs::path Native(const std::string& cardPath) const { return card.Native(cardPath); }
  // Bytes of folder n's table on the card.
  std::string TableBytes(MediaKind kind, int n) const;
  // The file names folder n's table on the card lists, in order.
  std::vector<std::string> TableNames(MediaKind kind, int n) const;

 private:
  TempDir temp_;

 public:
  DriveTable table;
  std::unique_ptr<Files> realFiles;
  // The session's files: the real ones, failing nothing until a test sets failAt or
  // failPathContaining; operations counts what the session wrote, copied, moved and deleted.
  FailingFiles files{*realFiles};
  FakeDrives drives{table};
  std::unique_ptr<TextCodec> codec;
  FixedClock clock;
  ScriptedFeedback feedback;
  CardBuilder card;
  CardSession session;
};

// Still items numbered as given, each titled "t" and its name ("tSTIL0001.JPG").
std::vector<TableItem> Stills(std::initializer_list<int> numbers);

// The bytes of every file of each folder a model lists, folder by folder in list order, read
// from the card.
std::vector<std::vector<std::string>> ListedContents(const CardRig& rig, const CardModel& model,
                                                     MediaKind kind);
// The bytes of every file below a folder of the card ("PRIVATE/DOCOMO/STILL").
std::multiset<std::string> ContentsBelow(const CardRig& rig, const std::string& relative);
// No temporary file of a commit is left anywhere on the card.
void ExpectNoTemporaries(const CardRig& rig);

// What a card (or any folder) holds: every file with its bytes and time, and every folder.
struct CardState {
  std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
  std::set<std::string> folders;
  bool operator==(const CardState&) const = default;
};
CardState StateOf(const fs::path& root);
// The differences between two states, one line each, for a failure message.
std::string Describe(const CardState& a, const CardState& b);

// The commit ran, nothing failed, and it ended with the completion message.
void ExpectCompleted(const CardRig& rig, const UpdateResult& result);

// Makes a directory unwritable for the life of the object, also for a super-user (through the
// immutable attribute where the file system has one). effective() tells whether it worked.
class ReadOnlyDirectory {
 public:
  explicit ReadOnlyDirectory(fs::path path);
  ~ReadOnlyDirectory();
  ReadOnlyDirectory(const ReadOnlyDirectory&) = delete;
  ReadOnlyDirectory& operator=(const ReadOnlyDirectory&) = delete;
  bool effective() const { return effective_; }

 private:
  fs::path path_;
  bool immutable_ = false;
  bool effective_ = false;
};

}  // namespace sdmate::test
