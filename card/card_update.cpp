// Card update: the commit of the staged edits, and the read-back shared with every commit.
#include "card/card_update.h"

#include "card/card_messages.h"
#include "card/commit_plan.h"
#include "core/card_layout.h"
#include "platform/hash.h"

namespace sdmate {
namespace {

// The final warning lists this many failures; the result keeps them all.
constexpr std::size_t kFailuresShown = 30;

std::string FailureMessage(const std::vector<Failure>& failures, const ShownPath& shown) {
  std::string message = text::kUpdateFailedHeading;
  for (std::size_t i = 0; i < failures.size() && i < kFailuresShown; ++i) {
    message += "\n" + FailureLine(failures[i], shown);
  }
  if (failures.size() > kFailuresShown) {
    message += std::string("\n") + text::kMoreFailuresBefore +
               std::to_string(failures.size() - kFailuresShown) + text::kMoreFailuresAfter;
  }
  return message;
}

// The files no table named that were renamed out of the commit's way, after the other text.
std::string SetAsideMessage(const std::vector<SetAsideFile>& files, const ShownPath& shown) {
  if (files.empty()) return {};
  std::string message = std::string("\n\n") + text::kSetAsideHeading;
  for (const SetAsideFile& file : files)
    message += "\n" + shown(file.from) + " → " + shown(file.to);
  return message;
}

}  // namespace

const char* FileErrorText(FileError error) {
  switch (error) {
    case FileError::None:
      return "";
    case FileError::NoSpace:
      return text::kNoSpace;
    case FileError::ReadOnly:
      return text::kReadOnly;
    case FileError::Denied:
      return text::kDenied;
    case FileError::Missing:
      return text::kMissing;
    case FileError::Other:
      return text::kOtherError;
  }
  return "";
}

std::string FailureLine(const Failure& failure, const ShownPath& shown) {
  if (failure.what == nullptr) return failure.path;
  std::string line = failure.what;
  if (!failure.path.empty()) line += shown(failure.path);
  if (!failure.to.empty()) line += " → " + shown(failure.to);
  if (failure.error != FileError::None)
    line += std::string("（") + FileErrorText(failure.error) + "）";
  return line;
}

std::vector<std::string> ChangedCardPaths(char drive, const std::vector<KindPlan>& plans) {
  std::vector<std::string> changed;
  for (const KindPlan& plan : plans) {
    for (const Operation& operation : plan.operations) {
      switch (operation.step) {
        case Step::Status:
        case Step::Refuse:
        case Step::FolderDone:
          break;
        case Step::Copy:
        case Step::Move:
        case Step::SetAside:
          if (CardDriveOf(operation.from) == drive) changed.push_back(operation.from);
          [[fallthrough]];
        default:
          if (CardDriveOf(operation.path) == drive) changed.push_back(operation.path);
          break;
      }
    }
  }
  return changed;
}

namespace {

// The hashes of the tables as the load read them, each taken once and kept with its folder.
KnownTableHashes LoadedTableHashes(char drive, LoadedCard& read) {
  KnownTableHashes known;
  if (read.drive != drive) return known;
  read.CollectHashes();
  for (MediaKind kind : kAllKinds) {
    std::vector<LoadedFolder>& folders = read.kinds[IndexOf(kind)];
    for (std::size_t i = 0; i < folders.size(); ++i) {
      LoadedFolder& folder = folders[i];
      if (!folder.readable) continue;
      if (folder.tableHash.empty()) folder.tableHash = Sha256Hex(*folder.table);
      known.emplace(PathKey(TablePath(drive, kind, static_cast<int>(i) + 1)), folder.tableHash);
    }
  }
  return known;
}

}  // namespace

UpdateResult CommitPlans(CardModel& model, CommitRequest& request, bool& backupAdvice, Files& files,
                         Drives& drives, Feedback& feedback, History& history,
                         const char* completed, LoadedCard* read) {
  UpdateResult result;
  {
    Feedback::BusyGuard busy = feedback.Busy();
    // Always the drive that was loaded, whatever the chooser shows by now.
    const char drive = model.drive;
    const auto known = [&]() {
      return read != nullptr ? LoadedTableHashes(drive, *read) : KnownTableHashes{};
    };
    const CommitOutcome outcome =
        RunCommit(drive, request, files, drives, feedback, history, result.failures, known);
    if (outcome.snapshotFailed) {
      feedback.Status("");
      return result;  // nothing reached the card; the edits stay staged
    }
    result.changed = outcome.changed;
    result.snapshot = outcome.snapshot;
    result.setAside = outcome.setAside;

    feedback.Status(text::kReloadStatus);
    // The user agreed to use this drive when it was loaded, and it has just been written:
    // the reload does not ask the removable-drive question again.
    // The folders the commit left alone are kept as they were read, when that is at hand.
    const std::vector<std::string> changed = ChangedCardPaths(drive, request.plans);
    if (read != nullptr && !request.asRead) request.asRead = FoldersStillAsRead(model, *read);
    result.reload = LoadCard(model, drive, backupAdvice, files, drives, feedback,
                             {.askRemovable = false,
                              .read = read,
                              .changed = read != nullptr ? &changed : nullptr,
                              .asRead = read != nullptr ? &*request.asRead : nullptr});
    if (!result.reload.loaded) {
      // The model still holds the edits just written; a second update from it would delete
      // folders that now hold other folders' files. Only a fresh load may update again.
      model.loaded = false;
      result.failures.push_back(text::kReloadFailed);
    }
    feedback.Status("");
  }
  result.ran = true;
  // Card paths as the system the program runs on writes them.
  const ShownPath shown = [&drives](const std::string& path) {
    return drives.NativePathOf(path).value_or(path);
  };
  const std::string setAside = SetAsideMessage(result.setAside, shown);
  if (!result.failures.empty()) {
    feedback.Tell(MessageKind::Warning, FailureMessage(result.failures, shown) + setAside);
  } else {
    feedback.Tell(MessageKind::Information,
                  (result.changed ? completed : text::kNothingChanged) + setAside);
  }
  return result;
}

CommitRequest PlanCommit(CardModel& model, Files& files, const char* type,
                         std::optional<FoldersAsRead> asRead) {
  CommitRequest request{.type = type, .asRead = std::move(asRead)};
  // The whole commit is planned before its first operation runs.
  for (MediaKind kind : kAllKinds) {
    request.progressTotal += model.of(kind).folderCount();
    request.plans.push_back(PlanKind(model.of(kind), kind, model.drive, files,
                                     request.asRead ? &(*request.asRead)[IndexOf(kind)] : nullptr));
  }
  return request;
}

UpdateResult UpdateCard(CardModel& model, bool& backupAdvice, Files& files, Drives& drives,
                        Feedback& feedback, History& history, LoadedCard* read) {
  if (!model.loaded || model.drive == 0) {
    feedback.Tell(MessageKind::Warning, text::kNotLoaded);
    return {};
  }
  if (!model.complete) {
    // Rewriting now would empty the folders whose tables could not be read.
    feedback.Tell(MessageKind::Warning, text::kIncomplete);
    return {};
  }
  CommitRequest request;
  {
    Feedback::BusyGuard busy = feedback.Busy();
    request = PlanCommit(
        model, files, "commit",
        read != nullptr ? std::optional(FoldersStillAsRead(model, *read)) : std::nullopt);
  }
  return CommitPlans(model, request, backupAdvice, files, drives, feedback, history,
                     text::kUpdateCompleted, read);
}

}  // namespace sdmate
