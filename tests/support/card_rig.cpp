// The card rig: a card tree, the services around it and the session on them.
#include "tests/support/card_rig.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "core/content_table.h"

namespace sdmate {
std::ostream& operator<<(std::ostream& out, const Failure& failure) {
  return out << test::LineOf(failure);
}
}  // namespace sdmate

namespace sdmate::test {

std::string LineOf(const Failure& failure) {
  return FailureLine(failure, [](const std::string& path) { return path; });
}

CardRig::CardRig() : CardRig(fs::path()) {}

CardRig::CardRig(const fs::path& cardRoot)
    : realFiles(MakeNativeFiles(table)),
      codec(MakeNativeTextCodec()),
      card(cardRoot.empty() ? temp_.path() / "card" : cardRoot),
      session(SessionServices{files, drives, *codec, clock, feedback, TestPlaces(temp_)}) {
  fs::create_directories(card.root());
  table.Assign(kDrive, card.root().string());
}

FolderDeleteResult CardRig::DeleteFolder(MediaKind kind, int n) {
  feedback.answers.push_back(Answer::Yes);
  return session.DeleteFolder(kind, n);
}

std::string CardRig::ComputerFile(const std::string& name, const std::string& bytes) {
  const fs::path path = base() / PathFromUtf8(name);
  WriteBytes(path, bytes);
  return Utf8(path);
}

UpdateResult CardRig::UpdateHandBuilt(CardModel& model) {
  bool advice = false;
  History history(TestPlaces(temp_).historyDirectory, files, clock);
  return UpdateCard(model, advice, files, drives, feedback, history);
}

CardModel CardRig::LoadFresh() {
  ScriptedFeedback quiet;
  CardSession later(SessionServices{*realFiles, drives, *codec, clock, quiet, TestPlaces(temp_)});
  later.Load(kDrive);
  return later.model();
}

std::string CardRig::TableBytes(MediaKind kind, int n) const {
  return ReadBytes(Native(TablePath(kDrive, kind, n).substr(2)));
}

std::vector<std::string> CardRig::TableNames(MediaKind kind, int n) const {
  std::vector<std::string> names;
  for (const TableEntry& entry : DecodeTable(kind, TableBytes(kind, n)).entries) {
    names.push_back(entry.FileName());
  }
  return names;
}

std::vector<std::vector<std::string>> ListedContents(const CardRig& rig, const CardModel& model,
                                                     MediaKind kind) {
  std::vector<std::vector<std::string>> folders;
  const KindState& state = model.of(kind);
  for (int n = 1; n <= state.folderCount(); ++n) {
    std::vector<std::string>& contents = folders.emplace_back();
    for (const ItemRow* item : VisibleItems(state.folder(n))) {
      contents.push_back(rig.realFiles->ReadFile(item->SourcePath()).value_or("(missing)"));
    }
  }
  return folders;
}

std::multiset<std::string> ContentsBelow(const CardRig& rig, const std::string& relative) {
  std::multiset<std::string> contents;
  for (const auto& [name, bytes] : SnapshotTree(rig.cardRoot() / relative)) contents.insert(bytes);
  return contents;
}

void ExpectNoTemporaries(const CardRig& rig) {
  for (const std::string& name : ListTree(rig.cardRoot())) {
    EXPECT_EQ(name.find("~SDM"), std::string::npos) << name;
    EXPECT_NE(name.back(), '_') << name;
  }
}

CardState StateOf(const fs::path& root) {
  CardState state;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string name = fs::relative(entry.path(), root).generic_string();
    if (entry.is_directory()) {
      state.folders.insert(name);
    } else {
      state.files[name] = {ReadBytes(entry.path()), fs::last_write_time(entry.path())};
    }
  }
  return state;
}

std::string Describe(const CardState& a, const CardState& b) {
  std::string text;
  for (const auto& [name, file] : a.files) {
    auto other = b.files.find(name);
    if (other == b.files.end()) {
      text += "only before: " + name + "\n";
    } else if (other->second.first != file.first) {
      text += "bytes differ: " + name + "\n";
    } else if (other->second.second != file.second) {
      text += "time differs: " + name + "\n";
    }
  }
  for (const auto& [name, file] : b.files) {
    if (!a.files.contains(name)) text += "only after: " + name + "\n";
  }
  for (const std::string& folder : a.folders) {
    if (!b.folders.contains(folder)) text += "folder only before: " + folder + "\n";
  }
  for (const std::string& folder : b.folders) {
    if (!a.folders.contains(folder)) text += "folder only after: " + folder + "\n";
  }
  return text;
}

std::vector<TableItem> Stills(std::initializer_list<int> numbers) {
  std::vector<TableItem> items;
  for (int p : numbers) {
    std::string name = DataFileName(MediaKind::Image, p, ".JPG");
    items.push_back({.name = name, .title = "t" + name});
  }
  return items;
}

void ExpectCompleted(const CardRig& rig, const UpdateResult& result) {
  EXPECT_TRUE(result.ran);
  EXPECT_TRUE(result.failures.empty()) << result.failures.front();
  ASSERT_FALSE(rig.feedback.shown.empty());
  EXPECT_EQ(rig.feedback.shown.back().text, "メモリーカードの更新が完了しました");
  EXPECT_EQ(rig.feedback.shown.back().kind, MessageKind::Information);
}

ReadOnlyDirectory::ReadOnlyDirectory(fs::path path) : path_(std::move(path)) {
  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
  auto writable = [this] {
    fs::path probe = path_ / ".probe";
    bool ok = static_cast<bool>(std::ofstream(probe));
    std::error_code error;
    fs::remove(probe, error);
    return ok;
  };
  if (writable()) {
    // A super-user writes through the permissions; the immutable attribute stops it too.
    std::string command = "chattr +i '" + path_.string() + "' 2>/dev/null";
    immutable_ = std::system(command.c_str()) == 0;
  }
  effective_ = !writable();
}

ReadOnlyDirectory::~ReadOnlyDirectory() {
  if (immutable_) {
    std::string command = "chattr -i '" + path_.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return;
  }
  std::error_code error;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
}

}  // namespace sdmate::test
