// Running a kind's plan with every needed content kept.
#include "card/commit_runner.h"

#include <algorithm>
#include <cstdio>

#include "card/card_messages.h"
#include "card/commit_ownership.h"
#include "core/card_guard.h"

namespace sdmate {
void CommitRunner::Run(std::vector<KindPlan>& plans) {
  Prepare(plans);
  for (std::size_t p = 0; p < plans.size(); ++p) {
    KindPlan& plan = plans[p];
    Enter(plan, p);
    for (std::size_t i = 0; i < plan.operations.size(); ++i) {
      Operation& operation = plan.operations[i];
      if (operation.step == Step::FolderDone) {
        FolderDone(operation, plan);
      } else {
        Execute(operation, i);
      }
    }
  }
  Settle();
}

void CommitRunner::Enter(const KindPlan& plan, std::size_t index) {
  kind_ = plan.kind;
  plan_ = index;
  areas_ = plan.areas;
  areasOf_[plan.kind] = plan.areas;
  temporaryDirectory_ = plan.temporaryDirectory;
}

// Every card file the plans touch, with the content it holds before the first operation, and
// who reads and needs which content. One commit's kinds share this picture: a file the user
// added to one kind may be a file another kind's pass moves.
void CommitRunner::Prepare(const std::vector<KindPlan>& plans) {
  nextToken_ = 0;
  original_.clear();
  at_.clear();
  path_.clear();
  where_.clear();
  reads_.clear();
  needs_.clear();
  needAt_.clear();
  needList_.clear();
  failedFolders_.clear();
  stranded_.clear();
  strays_.clear();
  setAside_.clear();
  temporaries_.clear();
  sourceKeys_.clear();
  wanted_.clear();
  done_.clear();
  intermediate_.clear();
  needsOfFolder_.assign(plans.size(), {});
  // The files of the computer the plans copy, resolved together: many share a folder.
  std::vector<std::string> sources;
  for (const KindPlan& plan : plans) {
    for (const Operation& operation : plan.operations) {
      const bool copies = operation.step == Step::Copy || operation.step == Step::Move;
      if (copies && operation.after < 0 && CardDriveOf(operation.from) == 0) {
        sources.push_back(operation.from);
      }
    }
  }
  ResolveSources(sources);
  std::unordered_map<const ItemRow*, Token> carried;
  for (std::size_t p = 0; p < plans.size(); ++p) {
    Enter(plans[p], p);
    PrepareOperations(plans[p].operations, carried);
    for (const Need& need : plans[p].needs) {
      if (need.item != nullptr) needsOfFolder_[p][need.folder].push_back(&need);
    }
  }
  for (const KindPlan& plan : plans) PrepareNeeds(plan, carried);
  // What the card holds before the first step at a path no plan owns is nobody's to overwrite.
  const Ownership owned(plans, drive_, files_);
  for (const auto& [key, token] : at_) {
    if (token != kAbsent && !owned.Owns(key)) strays_.insert(token);
  }
}

void CommitRunner::PrepareOperations(const std::vector<Operation>& operations,
                                     std::unordered_map<const ItemRow*, Token>& carried) {
  wanted_.emplace_back(operations.size(), kAbsent);
  done_.emplace_back(operations.size(), 0);
  intermediate_.emplace_back(operations.size(), 0);
  for (const Operation& operation : operations) {
    if (operation.after >= 0) intermediate_.back()[static_cast<std::size_t>(operation.after)] = 1;
  }
  std::vector<Token>& wanted = wanted_.back();
  for (std::size_t i = 0; i < operations.size(); ++i) {
    const Operation& operation = operations[i];
    switch (operation.step) {
      case Step::Copy:
      case Step::Move: {
        if (operation.after >= 0) {
          wanted[i] = wanted[static_cast<std::size_t>(operation.after)];
          Original(KeyOf(operation.from), operation.from);
        } else if (const std::string key = SourceKeyOf(operation.from); !key.empty()) {
          wanted[i] = Original(key, path_.contains(key) ? path_[key] : operation.from);
        } else {
          wanted[i] = nextToken_++;  // a file of the computer: its content is its own
        }
        Original(KeyOf(operation.path), operation.path);
        ++reads_[wanted[i]];
        if (operation.item != nullptr) carried[operation.item] = wanted[i];
        break;
      }
      case Step::DeleteFile:
        Original(KeyOf(operation.path), operation.path);
        break;
      case Step::DeleteTree:
        RegisterTree(operation.path);
        break;
      case Step::SetAside:
        Original(KeyOf(operation.from), operation.from);
        Original(KeyOf(operation.path), operation.path);
        break;
      default:
        break;
    }
  }
}

void CommitRunner::PrepareNeeds(const KindPlan& plan,
                                const std::unordered_map<const ItemRow*, Token>& carried) {
  for (const Need& need : plan.needs) {
    auto found = carried.find(need.item);
    const bool stays = found == carried.end();
    if (stays && need.added) {
      continue;  // a file of the computer that is not copied: nothing of it is on the card
    }
    // An item that stays where it is, at a place no operation touches: nothing can take its
    // content away, and nothing need be kept for it.
    if (stays && need.source == need.path && at_.empty()) continue;
    std::string key = KeyOf(need.path);
    if (stays && need.source == need.path && !at_.contains(key)) continue;
    Token token = kAbsent;
    if (!stays) {
      token = found->second;
    } else {
      // Its content is what is there now.
      const std::string source = need.source == need.path ? key : KeyOf(need.source);
      auto known = original_.find(source);
      token = known != original_.end() ? known->second : (original_[source] = nextToken_++);
    }
    needAt_[key] = token;
    needList_.push_back({std::move(key), token, plan.kind, need.folder, need.item});
    ++needs_[token];
  }
}

void CommitRunner::Execute(Operation& operation, std::size_t index) {
  switch (operation.step) {
    case Step::Status:
      feedback_.Status(operation.text);
      break;
    case Step::Refuse:
      Fail(operation.text, operation.path);
      break;
    case Step::MakeDirectory:
      if (files_.Exists(operation.path)) break;
      if (Guard(operation.path, true) && !files_.MakeDirectories(operation.path)) {
        FailOnDisk(operation.text, operation.path);
      }
      break;
    case Step::WriteTable:
      // A folder whose table is not written keeps its files where the old table names them.
      if (!Guard(operation.path)) {
        FailFolder(operation.folder);
      } else if (!files_.WriteFileReplacing(operation.path, operation.bytes)) {
        FailOnDisk(operation.text, operation.path);
        FailFolder(operation.folder);
      }
      break;
    case Step::DeleteFile:
      if (FolderFailed(kind_, operation.folder)) break;
      DeleteFile(operation);
      break;
    case Step::DeleteTree:
      DeleteTree(operation);
      break;
    case Step::RemoveEmptyDirectory:
      if (files_.IsDirectory(operation.path) &&
          files_.ListDirectory(operation.path).value_or(std::vector<std::string>{"?"}).empty() &&
          Guard(operation.path) && !files_.ShellDelete(operation.path)) {
        FailOnDisk(operation.text, operation.path);
      }
      break;
    case Step::Copy:
    case Step::Move:
      Transfer(operation, index);
      break;
    case Step::SetAside:
      SetAside(operation);
      break;
    case Step::FolderDone:
      break;
  }
}

// A copy or a move, in four steps: may it run at all; where is the content it carries now;
// is its target free (a content still needed there is put out of the way, a file no plan owns
// stops it); then the carrying itself, and the runner's picture follows.
void CommitRunner::Transfer(Operation& operation, std::size_t index) {
  const Token token = wanted_[plan_][index];
  --reads_[token];
  std::string from;
  std::string fromKey;
  const std::string toKey = KeyOf(operation.path);
  if (!MayTransfer(operation) || !Locate(operation, token, from, fromKey)) {
    Skip(index, operation);
    return;
  }
  if (ContentAt(toKey) == token) {  // already in place (a file copied onto itself)
    done_[plan_][index] = 1;
    return;
  }
  if (!ClearTarget(operation, toKey) || !Carry(operation, index, token, from, fromKey, toKey)) {
    Skip(index, operation);
    return;
  }
  done_[plan_][index] = 1;
}

// Its folder's table was written, the step of a rename's first pass succeeded, and both paths
// are places the plan may read and change.
bool CommitRunner::MayTransfer(const Operation& operation) {
  const bool renamePass = operation.after >= 0;
  if (FolderFailed(kind_, operation.folder) ||
      (renamePass && !done_[plan_][static_cast<std::size_t>(operation.after)])) {
    return false;
  }
  // A source on the card's own drive is read only from inside the card; only a handset file
  // is ever moved away.
  const bool onCard = renamePass || CardDriveOf(operation.from) == drive_;
  if (onCard &&
      !(operation.step == Step::Move ? Guard(operation.from) : Readable(operation.from))) {
    return false;
  }
  return Guard(operation.path);
}

// Where the content the step carries is now: its own place, or where it was put out of the way
// (from, and its key; the key stays empty for a file of the computer).
bool CommitRunner::Locate(const Operation& operation, Token token, std::string& from,
                          std::string& fromKey) {
  from = operation.from;
  const bool onCard = operation.after >= 0 || CardDriveOf(operation.from) == drive_;
  const std::string ownKey = onCard ? KeyOf(operation.from) : SourceKeyOf(operation.from);
  if (ownKey.empty()) return true;
  auto found = where_.find(token);
  if (found == where_.end() || found->second.empty()) {
    Fail(text::kSourceMissing, operation.from);
    return false;
  }
  fromKey = found->second.contains(ownKey) ? ownKey : *found->second.begin();
  from = path_[fromKey];
  return true;
}

// The target holds nothing, or nothing anyone needs: a content still read or needed is moved to
// a temporary name first. A file no plan owns is never written over.
bool CommitRunner::ClearTarget(const Operation& operation, const std::string& toKey) {
  const Token there = ContentAt(toKey);
  if (there == kAbsent) return true;
  if (strays_.contains(there)) {
    Fail(text::kStrayInTheWay, operation.path);
    return false;
  }
  if (!MustSurvive(toKey)) return true;
  if ((needAt_.contains(toKey) && needAt_[toKey] == there) || !Displace(toKey)) {
    Fail(text::kWouldOverwrite, operation.path);
    return false;
  }
  return true;
}

// A move takes the content from its place (a rename on the card); where an item needs it right
// there, or it is a file of the computer, it is copied whole.
bool CommitRunner::Carry(const Operation& operation, std::size_t index, Token token,
                         const std::string& from, const std::string& fromKey,
                         const std::string& toKey) {
  const bool move = operation.step == Step::Move && !fromKey.empty() &&
                    !(needAt_.contains(fromKey) && needAt_[fromKey] == token);
  // The first pass of a rename writes a name no table lists, renamed by the second pass: it is
  // a temporary of the plan already.
  const bool intermediate = intermediate_[plan_][index] != 0;
  bool ok = false;
  if (move) {
    ok = files_.ShellMove(from, operation.path);
  } else if (intermediate) {
    ok = files_.ShellCopy(from, operation.path);
    copyError_ = ok ? FileError::None : files_.LastError();
  } else {
    ok = CopyWhole(from, operation.path);
  }
  if (!ok) {
    const FileError error = move ? files_.LastError() : copyError_;
    failures_.emplace_back(operation.text, operation.from,
                           operation.after >= 0 ? std::string() : operation.path, error);
    // Whatever the failed step left at the target is nobody's content.
    SetContent(toKey, nextToken_++);
    return false;
  }
  SetContent(toKey, token);
  if (move) SetContent(fromKey, kAbsent);
  return true;
}

void CommitRunner::SetAside(const Operation& operation) {
  const std::string fromKey = KeyOf(operation.from);
  const std::string toKey = KeyOf(operation.path);
  const Token token = ContentAt(fromKey);
  if (token == kAbsent) return;  // gone since the plan was made
  if (!Guard(operation.from) || !Guard(operation.path)) return;
  // The free name is taken only when nothing has it since.
  if (files_.Exists(operation.path) || !files_.ShellMove(operation.from, operation.path)) {
    FailOnDisk(operation.text, operation.from, operation.path);
    return;
  }
  SetContent(toKey, token);
  SetContent(fromKey, kAbsent);
  setAside_.push_back({operation.from, operation.path});
}

bool CommitRunner::CopyWhole(const std::string& from, const std::string& target) {
  copyError_ = FileError::None;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string temporary = NextTemporary();
    if (!Guard(temporary)) return false;
    switch (files_.CopyToNewFile(from, temporary, std::nullopt)) {
      case NewFile::NameTaken:
        continue;
      case NewFile::Failed:
        copyError_ = files_.LastError();
        return false;
      case NewFile::Created:
        if (files_.ShellMove(temporary, target)) return true;
        copyError_ = files_.LastError();
        files_.ShellDelete(temporary);
        return false;
    }
  }
  return false;
}

void CommitRunner::DeleteFile(const Operation& operation) {
  const std::string key = KeyOf(operation.path);
  if (ContentAt(key) == kAbsent) return;
  // Another item that stays still reads the file (a table that lists one file twice, or a
  // header that names another folder's directory): it stays.
  if (MustSurvive(key)) return;
  if (!Guard(operation.path)) return;
  if (files_.ShellDelete(operation.path)) {
    SetContent(key, kAbsent);
  } else {
    FailOnDisk(operation.text, operation.path);
  }
}

void CommitRunner::DeleteTree(const Operation& operation) {
  if (!files_.Exists(operation.path) || !Guard(operation.path)) return;
  const std::string key = KeyOf(operation.path);
  const std::vector<std::string> inside = KeysBelow(key);
  for (const std::string& file : inside) {
    if (!MustSurvive(file)) continue;
    // A file an item needs right there keeps the directory; one needed elsewhere is put out of
    // the way first.
    const bool neededHere = needAt_.contains(file) && needAt_[file] == ContentAt(file);
    if (neededHere || !Displace(file)) {
      Fail(text::kKeptDirectory, operation.path);
      return;
    }
  }
  if (!files_.ShellDelete(operation.path)) {
    FailOnDisk(operation.text, operation.path);
    return;
  }
  for (const std::string& file : KeysBelow(key)) SetContent(file, kAbsent);
}

void CommitRunner::FolderDone(const Operation& operation, KindPlan& plan) {
  feedback_.Progress(++foldersDone_, folderTotal_);
  if (FolderFailed(plan.kind, operation.folder)) return;
  auto needs = needsOfFolder_[plan_].find(operation.folder);
  if (needs == needsOfFolder_[plan_].end()) return;
  for (const Need* need : needs->second) {
    if (stranded_.contains(need->item)) continue;
    need->item->sourceDir = need->item->targetDir;
    need->item->sourceName = need->item->targetName;
  }
}

// What the operations could not put in place: needed contents that were put out of the way
// go to where they are needed, and temporary files that nobody needs are removed.
void CommitRunner::Settle() {
  for (const NeedState& need : needList_) {
    if (need.key.empty() || !at_.contains(need.key) || at_[need.key] == need.token) continue;
    auto found = where_.find(need.token);
    if (found == where_.end() || found->second.empty()) continue;
    const std::string& target = path_[need.key];
    if (HoldsAStray(need.key)) {
      Fail(text::kStrayInTheWay, target);
      continue;
    }
    if (at_[need.key] != kAbsent && MustSurvive(need.key)) {
      Fail(text::kWouldOverwrite, target);
      continue;
    }
    areas_ = areasOf_[need.kind];
    const std::string fromKey = *found->second.begin();
    const bool temporary =
        std::find(temporaries_.begin(), temporaries_.end(), fromKey) != temporaries_.end();
    if (!Guard(target)) continue;
    const bool ok =
        temporary ? files_.ShellMove(path_[fromKey], target) : CopyWhole(path_[fromKey], target);
    if (!ok) {
      FailOnDisk(text::kFileNotMoved, path_[fromKey], target);
      continue;
    }
    SetContent(need.key, need.token);
    if (temporary) SetContent(fromKey, kAbsent);
  }
  for (const std::string& key : temporaries_) {
    const Token token = ContentAt(key);
    if (token == kAbsent) continue;
    if (needs_[token] > 0 && where_[token].size() == 1) {
      Fail(text::kKeptInTemporary, path_[key]);
    } else if (files_.ShellDelete(path_[key])) {
      SetContent(key, kAbsent);
    } else {
      FailOnDisk(text::kFileNotDeleted, path_[key]);
    }
  }
}

// The folder's table still names its files where they were: they stay there.
void CommitRunner::FailFolder(int folder) {
  failedFolders_.insert({kind_, folder});
  for (NeedState& need : needList_) {
    if (need.kind == kind_ && need.folder == folder) StayAtSource(need);
  }
}

bool CommitRunner::FolderFailed(MediaKind kind, int folder) const {
  return failedFolders_.contains({kind, folder});
}

// An operation that did not carry its item's file: the file stays where it is, and nothing
// may be written over it.
void CommitRunner::Skip(std::size_t index, const Operation& operation) {
  done_[plan_][index] = 0;
  if (operation.item == nullptr) return;
  stranded_.insert(operation.item);
  for (NeedState& need : needList_) {
    if (need.item == operation.item) StayAtSource(need);
  }
}

// An item whose file does not reach its place needs it where it was. A file the user added
// was never the card's: nothing of it need stay. Where another item's file is needed at that
// place, the content need only survive (it is kept under a temporary name).
void CommitRunner::StayAtSource(NeedState& need) {
  if (need.key.empty() || need.item == nullptr) return;
  if (auto here = needAt_.find(need.key); here != needAt_.end() && here->second == need.token) {
    needAt_.erase(here);
  }
  if (!IsHandsetFile(*need.item, drive_, need.kind)) {
    need.key.clear();
    --needs_[need.token];
    return;
  }
  const std::string source = KeyOf(need.item->SourcePath());
  if (auto taken = needAt_.find(source); taken != needAt_.end() && taken->second != need.token) {
    if (ContentAt(source) != need.token) {
      need.key.clear();  // still counted: it must survive somewhere
      return;
    }
    // The file is still there: the step that was to write another item's file onto it will not
    // run, and that item does not get its place.
    for (NeedState& other : needList_) {
      if (&other != &need && other.key == source && other.token == taken->second) other.key.clear();
    }
  }
  need.key = source;
  needAt_[source] = need.token;
  if (!path_.contains(source)) path_[source] = need.item->SourcePath();
}

bool CommitRunner::Guard(const std::string& path, bool mayBeArea) {
  if (!IsInsideCardRoot(path, drive_) || !files_.IsPlainPath(path)) {
    Fail(text::kOutsideTheCard, path);
    return false;
  }
  for (const std::string& area : areas_) {
    if (IsStrictlyBelow(path, area) || (mayBeArea && KeyOf(path) == KeyOf(area))) return true;
  }
  Fail(text::kOutsideItsPlace, path);
  return false;
}

bool CommitRunner::Readable(const std::string& path) {
  if (IsInsideCardRoot(path, drive_) && files_.IsPlainPath(path)) return true;
  Fail(text::kOutsideTheCard, path);
  return false;
}

void CommitRunner::Fail(const char* what, const std::string& path) {
  failures_.emplace_back(what, path);
}

void CommitRunner::FailOnDisk(const char* what, const std::string& path, const std::string& to) {
  failures_.emplace_back(what, path, to, files_.LastError());
}

}  // namespace sdmate
