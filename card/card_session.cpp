// The session's operations that do more than hand a call on.
#include "card/card_session.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <system_error>
#include <utility>

#include "card/card_messages.h"
#include "card/export_messages.h"
#include "editing/titles.h"
#include "platform/native_path.h"

namespace sdmate {

namespace {

// The feedback of a commit as the user reads it: card paths shown as native paths, and the
// closing messages held until the session knows whether the card changed at all.
class CommitFeedback : public Feedback {
 public:
  CommitFeedback(Feedback& inner, const CardSession& session, bool hold)
      : inner_(inner), session_(session), hold_(hold) {}
  CommitFeedback(const CommitFeedback&) = delete;
  CommitFeedback& operator=(const CommitFeedback&) = delete;
  ~CommitFeedback() override { Release(); }

  Answer Ask(MessageKind kind, std::string_view text, Buttons buttons) override {
    if (hold_ && buttons == Buttons::Ok) {
      held_.emplace_back(kind, std::string(text));
      return Answer::Ok;
    }
    return inner_.Ask(kind, session_.NativePaths(text), buttons);
  }
  Answer AskWithDetails(MessageKind kind, std::string_view text, std::string_view details,
                        Buttons buttons) override {
    return inner_.AskWithDetails(kind, session_.NativePaths(text), session_.NativePaths(details),
                                 buttons);
  }
  void Status(std::string_view text) override { inner_.Status(text); }
  void Refresh() override { inner_.Refresh(); }
  void Progress(int done, int total) override { inner_.Progress(done, total); }
  bool Cancelled() override { return inner_.Cancelled(); }

  // The held messages shown, or dropped.
  void Release() {
    for (const auto& [kind, text] : held_) inner_.Tell(kind, session_.NativePaths(text));
    held_.clear();
  }
  void Drop() { held_.clear(); }

 protected:
  void BeginBusy() override { busy_.push_back(std::make_unique<BusyGuard>(inner_)); }
  void EndBusy() override {
    if (!busy_.empty()) busy_.pop_back();
  }
  void BeginCancellable() override { stop_.push_back(std::make_unique<CancelGuard>(inner_)); }
  void EndCancellable() override {
    if (!stop_.empty()) stop_.pop_back();
  }

 private:
  Feedback& inner_;
  const CardSession& session_;
  bool hold_;
  std::vector<std::pair<MessageKind, std::string>> held_;
  std::vector<std::unique_ptr<BusyGuard>> busy_;
  std::vector<std::unique_ptr<CancelGuard>> stop_;
};

}  // namespace

LoadResult CardSession::Load(char drive, LoadOptions options) {
  // The camera area is read again when next asked, from the card now loaded.
  camera_ = {};
  tookBack_ = {};
  offeredTakeBack_ = false;
  options.read = &read_;
  options.changed = nullptr;
  CardModel replaced;
  options.replaced = &replaced;
  LoadResult result = LoadCard(model_, drive, backupAdvice_, services_.files, services_.drives,
                               services_.feedback, options);
  // The load replaced the staged items: no fitted file is read any more.
  if (result.loaded) fitting_.Clear();
  if (result.anyFolderAdded()) updateDue_ = true;
  // A commit of this card that did not end (the card pulled, the program killed) is offered to
  // be taken back.
  if (result.loaded && model_.complete && HasUnfinishedCommit(drive)) {
    offeredTakeBack_ = true;
    if (services_.feedback.Ask(MessageKind::Confirmation, text::kUnfinishedFound, Buttons::YesNo) ==
        Answer::Yes) {
      const std::optional<Snapshot> newest = history_.Newest(services_.drives.CardKeyOf(drive));
      if (newest) tookBack_ = RunUndo({*newest});
    }
  }
  if (result.loaded) {
    cardPresent_ = true;
    ForgetStaged(std::move(replaced));
  }
  return result;
}

bool CardSession::HasUnfinishedCommit(char drive) {
  // A commit another run is making has no fingerprint yet either: it is unfinished only when no
  // run holds the card. Held by another run past the wait, it is that run's, still going.
  std::string refused;
  const History::Hold hold = Hold(drive, refused);
  if (!hold) return false;
  const std::optional<Snapshot> newest = history_.Newest(services_.drives.CardKeyOf(drive));
  return newest && !newest->finished() && !newest->undone;
}

History::Hold CardSession::Hold(char drive, std::string& refused) {
  return history_.Lock(drive, services_.drives.CardKeyOf(drive), refused);
}

History::Hold CardSession::HoldCard(char drive) {
  std::string refused;
  History::Hold hold = Hold(drive, refused);
  if (!hold) {
    services_.feedback.Tell(
        refused.starts_with(text::kCardBusy) ? MessageKind::Warning : MessageKind::Error, refused);
  }
  return hold;
}

bool CardSession::CheckCardPresent() {
  if (!cardPresent_) return false;
  if (DrivePresent(model_.drive, services_.drives, services_.files)) return true;
  cardPresent_ = false;
  services_.feedback.Tell(MessageKind::Warning, text::kCardRemoved);
  return false;
}

bool CardSession::Eject(char drive) {
  const bool loadedHere = cardPresent_ && model_.drive == drive;
  if (!EjectDrive(drive, loadedHere && updateDue_, services_.drives, services_.feedback))
    return false;
  if (loadedHere) cardPresent_ = false;
  return true;
}

std::vector<Snapshot> CardSession::Snapshots() {
  if (!model_.loaded || model_.drive == 0) return {};
  return history_.List(services_.drives.CardKeyOf(model_.drive));
}

std::optional<Snapshot> CardSession::LastUndoable() {
  for (const Snapshot& snapshot : Snapshots()) {
    if (!snapshot.undone && snapshot.type != "undo") return snapshot;
  }
  return std::nullopt;
}

CardSession::TakeBack CardSession::Undo(const std::string& id, bool dryRun) {
  TakeBack outcome;
  std::vector<Snapshot> targets;
  if (id.empty()) {
    if (auto last = LastUndoable()) targets.push_back(*last);
  } else {
    bool found = false;
    for (const Snapshot& snapshot : Snapshots()) {
      if (snapshot.id == id) {
        if (!snapshot.undone) targets.push_back(snapshot);
        found = true;
        break;
      }
      if (!snapshot.undone && snapshot.type != "undo") targets.push_back(snapshot);
    }
    if (!found) {
      outcome.refused = text::kNoSuchSnapshot + id;
      services_.feedback.Tell(MessageKind::Warning, outcome.refused);
      return outcome;
    }
  }
  if (targets.empty()) {
    outcome.refused = text::kNothingToUndo;
    services_.feedback.Tell(MessageKind::Warning, outcome.refused);
    return outcome;
  }
  if (dryRun) {
    for (const Snapshot& snapshot : targets) {
      PlanUndo(snapshot, model_.drive, services_.files, outcome.summary);
    }
    return outcome;
  }
  if (services_.feedback.Ask(MessageKind::Confirmation,
                             id.empty() ? text::kUndoQuestion : text::kUndoToQuestion,
                             Buttons::YesNo) != Answer::Yes) {
    return outcome;
  }
  return RunUndo(targets);
}

// The snapshots taken back newest first, one undo commit each, all under one hold of the card:
// no snapshot of the walk is pruned before it is reached. Whether a commit was taken back is
// the undo's own record, written as it ends.
CardSession::TakeBack CardSession::RunUndo(const std::vector<Snapshot>& targets) {
  TakeBack outcome;
  auto refuse = [&](std::string why) {
    outcome.refused = std::move(why);
    services_.feedback.Tell(MessageKind::Warning, outcome.refused);
    return outcome;
  };
  if (!model_.loaded || !model_.complete || targets.empty()) return outcome;
  const History::Hold hold = Hold(model_.drive, outcome.refused);
  if (!hold) return refuse(outcome.refused);
  // Every saved file of the walk is there before its first step.
  for (const Snapshot& snapshot : targets) {
    for (const SavedPath& saved : snapshot.paths) {
      if (saved.existed && !saved.directory && !services_.files.Exists(saved.saved)) {
        return refuse(text::kUndoLost + saved.saved);
      }
    }
  }
  for (const Snapshot& snapshot : targets) {
    if (!model_.loaded || !model_.complete) break;
    if (snapshot.finished() &&
        TableFingerprint(model_.drive, services_.files) != snapshot.fingerprint) {
      return refuse(text::kUndoRefused);
    }
    RestoreSummary summary;
    CommitRequest request{.type = "undo", .undoOf = snapshot.id};
    request.plans.push_back(PlanUndo(snapshot, model_.drive, services_.files, summary));
    const std::string changed =
        ChangedSinceCommit(snapshot, request.plans.front(), services_.files);
    if (!changed.empty()) return refuse(text::kUndoChangedFile + NativePath(changed));
    if (!snapshot.finished()) services_.feedback.Tell(MessageKind::Warning, text::kUndoUnfinished);
    outcome.summary.written += summary.written;
    outcome.summary.removed += summary.removed;
    outcome.summary.bytes += summary.bytes;
    outcome.summary.steps += summary.steps;
    request.progressTotal = summary.steps;
    CommitFeedback shown(services_.feedback, *this, false);
    UpdateResult result =
        CommitPlans(model_, request, backupAdvice_, services_.files, services_.drives, shown,
                    history_, text::kUndoCompleted, &read_);
    if (!result.ran) {
      outcome.commits.push_back(std::move(result));
      break;
    }
    outcome.ran = true;
    updateDue_ = false;
    ForgetStaged();
    outcome.commits.push_back(std::move(result));
  }
  return outcome;
}

CardSession::RepairOutcome CardSession::Repair(RepairOptions options, bool dryRun) {
  RepairOutcome outcome;
  if (!model_.loaded || model_.drive == 0) {
    services_.feedback.Tell(MessageKind::Warning, text::kNotLoaded);
    return outcome;
  }
  // The check and the repair look at one listing of each directory.
  CardListings listings(services_.files);
  outcome.before = CheckCard(model_.drive, listings);
  outcome.after = outcome.before;
  if (outcome.before.empty()) {
    if (!dryRun) services_.feedback.Tell(MessageKind::Information, text::kNothingToRepair);
    return outcome;
  }
  if (!model_.complete) {
    services_.feedback.Tell(MessageKind::Warning, text::kRepairIncomplete);
    return outcome;
  }
  // Prepared on a copy: a repair only looked at, or declined, leaves the model as it was.
  CardModel repaired = model_;
  outcome.preparation = PrepareRepair(repaired, outcome.before, listings, options);
  if (dryRun) return outcome;
  if (services_.feedback.Ask(MessageKind::Confirmation, text::kRepairQuestion, Buttons::YesNo) !=
      Answer::Yes) {
    return outcome;
  }
  const History::Hold hold = HoldCard(model_.drive);
  if (!hold) return outcome;
  model_ = std::move(repaired);
  CommitRequest request;
  {
    Feedback::BusyGuard busy = services_.feedback.Busy();
    request = PlanCommit(model_, services_.files, "repair");
  }
  CommitFeedback shown(services_.feedback, *this, false);
  outcome.update = CommitPlans(model_, request, backupAdvice_, services_.files, services_.drives,
                               shown, history_, text::kRepairCompleted, &read_);
  outcome.ran = outcome.update.ran;
  if (outcome.ran) {
    updateDue_ = false;
    ForgetStaged();
  }
  outcome.after = Check(model_.drive);
  return outcome;
}

CardSession::TakeBack CardSession::Restore(const std::string& backupFolder, bool dryRun) {
  TakeBack outcome;
  if (!model_.loaded || model_.drive == 0) {
    services_.feedback.Tell(MessageKind::Warning, text::kNotLoaded);
    return outcome;
  }
  std::string refused;
  const History::Hold hold = Hold(model_.drive, refused);
  if (!hold) {
    outcome.refused = refused;
    services_.feedback.Tell(MessageKind::Warning, refused);
    return outcome;
  }
  bool valid = false;
  CommitRequest request{.type = "restore"};
  request.plans.push_back(
      PlanRestore(backupFolder, model_.drive, services_.files, outcome.summary, valid));
  if (!valid) {
    outcome.refused = text::kNotABackup + backupFolder;
    services_.feedback.Tell(MessageKind::Warning, outcome.refused);
    return outcome;
  }
  if (dryRun) return outcome;
  if (outcome.summary.written == 0 && outcome.summary.removed == 0) {
    services_.feedback.Tell(MessageKind::Information, text::kRestoreNothing);
    return outcome;
  }
  const std::string question = std::string(text::kRestoreQuestionHeading) + text::kRestoreWritten +
                               std::to_string(outcome.summary.written) + "\n" +
                               text::kRestoreRemoved + std::to_string(outcome.summary.removed) +
                               "\n" + text::kRestoreBytes + std::to_string(outcome.summary.bytes);
  if (services_.feedback.Ask(MessageKind::Confirmation, question, Buttons::YesNo) != Answer::Yes) {
    return outcome;
  }
  request.progressTotal = outcome.summary.steps;
  CommitFeedback shown(services_.feedback, *this, false);
  UpdateResult result =
      CommitPlans(model_, request, backupAdvice_, services_.files, services_.drives, shown,
                  history_, text::kRestoreCompleted, &read_);
  outcome.ran = result.ran;
  if (result.ran) {
    updateDue_ = false;
    ForgetStaged();
  }
  outcome.commits.push_back(std::move(result));
  return outcome;
}

std::string CardSession::NativePaths(std::string_view text) const {
  // A card path starts with the loaded drive's letter, ':' and '\' and runs to the line's end.
  std::string shown;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t start = model_.drive == 0
                                  ? std::string_view::npos
                                  : text.find(std::string{model_.drive, ':', '\\'}, at);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string path(text.substr(start, end - start));
    const std::string native = NativePath(path);
    shown += std::string(text.substr(at, start - at)) + (native.empty() ? path : native);
    at = end;
  }
  return shown + std::string(text.substr(std::min(at, text.size())));
}

std::string CardSession::CardListing(const std::vector<KindPlan>& plans) {
  const char drive = model_.drive;
  auto trimmed = [](std::string directory) {
    while (!directory.empty() && directory.back() == '\\') directory.pop_back();
    return directory;
  };
  // The directory of every path a step names, and the folders a step makes or removes with
  // what is below them; the kinds' table and data directories always.
  std::map<std::string, std::pair<std::string, bool>> directories;  // by key: path, walked
  auto add = [&](const std::string& directory, bool walked) {
    if (CardDriveOf(directory) != drive) return;
    auto [at, added] =
        directories.try_emplace(AsciiUpper(trimmed(directory)), trimmed(directory), walked);
    if (!added) at->second.second = at->second.second || walked;
  };
  auto parent = [&](const std::string& path) {
    const std::size_t slash = trimmed(path).rfind('\\');
    if (slash != std::string::npos) add(path.substr(0, slash), false);
  };
  for (MediaKind kind : kAllKinds) {
    add(TableDirectory(drive, kind), false);
    add(CardDataDirectory(drive, kind), false);
  }
  for (const KindPlan& plan : plans) {
    for (const Operation& operation : plan.operations) {
      if (operation.path.empty()) continue;
      parent(operation.path);
      if (!operation.from.empty()) parent(operation.from);
      if (operation.step == Step::DeleteTree || operation.step == Step::MakeDirectory ||
          operation.step == Step::RemoveEmptyDirectory) {
        add(operation.path, true);
      }
    }
  }
  std::string listing;
  // The handset's areas are a few levels deep; nothing deeper is walked.
  constexpr int kDeepest = 4;
  auto walk = [&](auto& self, const std::string& directory, bool walked, int depth) -> void {
    // One listing per directory tells what is a folder, and each file's size and time.
    const auto entries = services_.files.ListFiles(directory);
    listing += directory + (entries ? ":\n" : ": -\n");
    if (!entries || depth > kDeepest) return;
    for (const DirectoryEntry& entry : *entries) {
      const std::string path = directory + "\\" + entry.name;
      listing += path;
      if (entry.type == DirectoryEntry::Type::Directory) {
        listing += "\\\n";
        if (walked) self(self, path, walked, depth + 1);
      } else {
        const bool file = entry.type == DirectoryEntry::Type::File;
        listing += " " + std::to_string(file ? entry.size : -1) + " " +
                   std::to_string(file ? entry.modified : 0) + "\n";
      }
    }
  };
  for (const auto& [key, place] : directories) walk(walk, place.first, place.second, 0);
  return listing;
}

ShownPath CardSession::Shown() const {
  return [this](const std::string& path) {
    const std::string native = NativePath(path);
    return native.empty() ? path : native;
  };
}

CommitPreview CardSession::PreviewUpdate() {
  return PreviewCommit(model_, services_.files, Shown());
}

UpdateResult CardSession::Update() {
  History::Hold hold;
  if (model_.loaded && model_.drive != 0) {
    hold = HoldCard(model_.drive);
    if (!hold) return {};
  }
  const bool canRun = model_.loaded && model_.drive != 0 && model_.complete;
  // The folders that still are what the card holds are not planned; the model kept aside
  // shares every folder with the one committed.
  const std::optional<FoldersAsRead> asRead =
      canRun ? std::optional(FoldersStillAsRead(model_, read_)) : std::nullopt;
  Staged kept{model_, updateDue_};
  CommitFeedback feedback(services_.feedback, *this, true);
  UpdateResult result;
  std::string before;
  CommitRequest request;
  if (!canRun) {
    // Tells why nothing can be written.
    result = UpdateCard(model_, backupAdvice_, services_.files, services_.drives, feedback,
                        history_, &read_);
  } else {
    {
      Feedback::BusyGuard busy = feedback.Busy();
      request = PlanCommit(model_, services_.files, "commit", asRead);
    }
    before = CardListing(request.plans);
    result = CommitPlans(model_, request, backupAdvice_, services_.files, services_.drives,
                         feedback, history_, text::kUpdateCompleted, &read_);
  }
  if (result.ran && !result.failures.empty() && CardListing(request.plans) == before) {
    // Nothing reached the card: the edits stay staged, and there is nothing to undo.
    feedback.Drop();
    model_ = std::move(kept.model);
    updateDue_ = kept.updateDue;
    if (result.snapshot) history_.Discard(*result.snapshot);
    services_.feedback.Tell(MessageKind::Warning,
                            text::kNothingWritten + FailureLine(result.failures.front(), Shown()));
    result.ran = false;
    return result;
  }
  feedback.Release();
  // The fitted files are on the card now, or the read-back dropped the items that read them.
  if (result.ran) {
    fitting_.Clear();
    updateDue_ = false;
    ForgetStaged();
  }
  return result;
}

std::string CardSession::DefaultBackupRoot() const {
  // Beside the program where the user may write there (a copied or portable program), else in
  // the user's own data folder (an installed one, even when its folder could be written).
  const std::string& program = services_.places.programDirectory;
  const bool besideProgram =
      !services_.places.installed && services_.files.IsWritableDirectory(program);
  return JoinNativePath(besideProgram ? program : services_.places.dataDirectory, "BackUp");
}

BackupResult CardSession::Backup(char drive, const std::string& backupRoot, bool offerToOpen) {
  const std::string root = backupRoot.empty() ? DefaultBackupRoot() : backupRoot;
  // A backup inside the card would copy itself into itself.
  const std::optional<std::string> place = services_.files.ResolveOnDrive(root);
  if (place && CardDriveOf(*place) == drive) {
    services_.feedback.Tell(MessageKind::Warning, text::kBackupOnCard + root);
    return {};
  }
  const History::Hold hold = HoldCard(drive);
  if (!hold) return {};
  return BackupCard(drive, root, FolderStamp(services_.clock.Now()), backupAdvice_, services_.files,
                    services_.feedback, offerToOpen);
}

void CardSession::ForgetStaged(CardModel replaced) {
  if (back_.empty() && forward_.empty() && !replaced.loaded) return;
  std::vector<Staged> gone = std::move(back_);
  std::move(forward_.begin(), forward_.end(), std::back_inserter(gone));
  back_.clear();
  forward_.clear();
  // Each state is a whole model: on a full card, freeing them takes longer than the commit's
  // own work, and nothing waits for it.
  if (freeing_.valid()) freeing_.wait();
  try {
    freeing_ = std::async(std::launch::async,
                          [gone = std::move(gone), replaced = std::move(replaced)]() mutable {
                            gone.clear();
                            replaced = {};
                          });
  } catch (const std::system_error&) {
    // No thread to be had: they were freed here.
  }
}

void CardSession::Remember(Staged before) {
  back_.push_back(std::move(before));
  forward_.clear();
  updateDue_ = true;
}

bool CardSession::Step(std::vector<Staged>& from, std::vector<Staged>& to) {
  if (from.empty()) return false;
  to.push_back({model_, updateDue_});
  model_ = std::move(from.back().model);
  updateDue_ = from.back().updateDue;
  from.pop_back();
  return true;
}

EditResult CardSession::DeleteItems(MediaKind kind, int folder, std::vector<int> rows) {
  // From the last row up: a deleted item leaves the rows above it where they were.
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return Edit([&] {
    EditResult any;
    for (int row : rows) {
      if (sdmate::DeleteItem(model_, kind, folder, row).changed) any.changed = true;
    }
    return any;
  });
}

EditResult CardSession::StoreItemTitle(MediaKind kind, int folder, int row, std::string_view utf8) {
  const KindState& state = model_.of(kind);
  if (!state.hasFolder(folder)) return {};
  const ItemRow* item = VisibleItemAtRow(state.folder(folder), row);
  if (item == nullptr) return {};
  const std::string title = TitleBytes(services_.codec, item->title, utf8);
  // The Parts enable the update for every stored title, the same one too; only a change is a
  // step to take back.
  if (title == item->title) {
    updateDue_ = true;
    return {.changed = true};
  }
  return Edit([&] { return sdmate::StoreItemTitle(model_, kind, folder, row, title); });
}

EditResult CardSession::StoreFolderTitle(MediaKind kind, int folder, std::string_view utf8) {
  const KindState& state = model_.of(kind);
  if (!state.hasFolder(folder)) return {};
  const std::string title = TitleBytes(services_.codec, state.folder(folder).folderTitle, utf8);
  if (title == state.folder(folder).folderTitle) {
    updateDue_ = true;
    return {.changed = true};
  }
  return Edit([&] { return sdmate::StoreFolderTitle(model_, kind, folder, title); });
}

int CardSession::AddFolder(MediaKind kind) {
  int added = 0;
  Edit([&] {
    added = sdmate::AddFolder(model_, kind, services_.feedback);
    return EditResult{.changed = added != 0};
  });
  return added;
}

FolderDeleteResult CardSession::DeleteFolder(MediaKind kind, int folder) {
  FolderDeleteResult result;
  Edit([&] {
    result = sdmate::DeleteFolder(model_, kind, folder, services_.feedback);
    return EditResult{.changed = result.deleted};
  });
  return result;
}

const CameraArea& CardSession::Camera() {
  if (!camera_.listed && model_.loaded && model_.drive != 0) {
    Feedback::BusyGuard busy = services_.feedback.Busy();
    services_.feedback.Status(text::kCameraStatus);
    camera_ = ListCameraArea(model_.drive, services_.files, services_.clock);
    services_.feedback.Status("");
  }
  return camera_;
}

bool CardSession::CanConvertMovies() {
  return services_.exporting.movies != nullptr && services_.exporting.folder != nullptr &&
         services_.exporting.movies->Available();
}

ExportResult CardSession::Export(const std::vector<ExportFile>& plan,
                                 const std::string& destination, const ExportOptions& options) {
  ExportContext context{services_.files, services_.drives, services_.feedback, services_.exporting,
                        model_.drive};
  return RunExport(plan, destination, options, context);
}

ExportResult CardSession::ExportFolder(MediaKind kind, int folder, const std::string& destination,
                                       const ExportOptions& options, const std::vector<int>& rows) {
  if (!model_.loaded || !model_.of(kind).hasFolder(folder)) return {};
  return Export(PlanFolderExport(std::as_const(model_).of(kind).folder(folder), kind, rows,
                                 destination, services_.codec),
                destination, options);
}

ExportResult CardSession::ExportCameraFolder(int folder, const std::string& destination,
                                             const std::vector<int>& pictures) {
  const CameraArea& camera = Camera();
  if (folder < 1 || folder > static_cast<int>(camera.folders.size())) return {};
  return Export(
      PlanCameraExport(camera.folders[static_cast<std::size_t>(folder - 1)], pictures, destination),
      destination, {});
}

ExportResult CardSession::ExportCard(const std::string& destination, const ExportParts& parts,
                                     const ExportOptions& options) {
  if (!model_.loaded) return {};
  static const CameraArea kNoCamera;
  const CameraArea& camera = parts.camera ? Camera() : kNoCamera;
  return Export(PlanCardExport(model_, camera, parts, destination, services_.codec), destination,
                options);
}

}  // namespace sdmate
