// One commit of plans, with its snapshot.
#include "card/card_commit.h"

#include <map>

#include "card/card_messages.h"
#include "card/commit_ownership.h"
#include "card/commit_runner.h"
#include "core/card_layout.h"

namespace sdmate {
namespace {

// Every card file and directory the plans may change: what the snapshot saves. A table no plan
// writes stays as it is, and an undo is only run on the card the commit left (its fingerprint).
void TouchedPaths(char drive, const std::vector<KindPlan>& plans, Files& files,
                  std::vector<std::string>& filePaths, std::vector<std::string>& directories) {
  auto tree = [&](auto& self, const std::string& directory) -> void {
    directories.push_back(directory);
    for (const std::string& name :
         files.ListDirectory(directory).value_or(std::vector<std::string>{})) {
      const std::string path = directory + "\\" + name;
      if (files.IsDirectory(path)) {
        self(self, path);
      } else {
        filePaths.push_back(path);
      }
    }
  };
  for (MediaKind kind : kAllKinds) directories.push_back(TableDirectory(drive, kind));
  for (const KindPlan& plan : plans) {
    for (const Operation& operation : plan.operations) {
      switch (operation.step) {
        case Step::WriteTable:
          filePaths.push_back(operation.path);
          filePaths.push_back(operation.path + ".new");
          break;
        case Step::DeleteFile:
          filePaths.push_back(operation.path);
          break;
        case Step::DeleteTree:
          tree(tree, operation.path);
          break;
        case Step::Move:
        case Step::SetAside:
          if (CardDriveOf(operation.from) == drive) filePaths.push_back(operation.from);
          filePaths.push_back(operation.path);
          break;
        case Step::Copy:
          filePaths.push_back(operation.path);
          break;
        case Step::MakeDirectory:
        case Step::RemoveEmptyDirectory:
          directories.push_back(operation.path);
          break;
        default:
          break;
      }
    }
  }
}

}  // namespace

std::string SummaryOf(const std::vector<KindPlan>& plans) {
  std::map<std::string, int> counts;
  for (const KindPlan& plan : plans) {
    for (const Operation& operation : plan.operations) {
      switch (operation.step) {
        case Step::WriteTable:
          ++counts[text::kStepTable];
          break;
        case Step::DeleteFile:
        case Step::DeleteTree:
          ++counts[text::kStepDelete];
          break;
        case Step::Copy:
          if (operation.after < 0) ++counts[text::kStepCopy];
          break;
        case Step::Move:
          ++counts[text::kStepMove];
          break;
        case Step::MakeDirectory:
          ++counts[text::kStepFolder];
          break;
        default:
          break;
      }
    }
  }
  std::string summary;
  for (const char* step :
       {text::kStepTable, text::kStepDelete, text::kStepMove, text::kStepCopy, text::kStepFolder}) {
    if (counts[step] == 0) continue;
    if (!summary.empty()) summary += ", ";
    summary += std::string(step) + " " + std::to_string(counts[step]);
  }
  return summary;
}

CommitOutcome RunCommit(char drive, CommitRequest& request, Files& files, Drives& drives,
                        Feedback& feedback, History& history, std::vector<Failure>& failures) {
  CommitOutcome outcome;
  SetAsideStrays(request.plans, drive, files);
  for (const KindPlan& plan : request.plans)
    outcome.changed = outcome.changed || plan.ChangesTheCard();
  const std::string cardKey = drives.CardKeyOf(drive);
  if (outcome.changed && history.enabled()) {
    std::vector<std::string> filePaths;
    std::vector<std::string> directories;
    TouchedPaths(drive, request.plans, files, filePaths, directories);
    Snapshot header{
        .type = request.type, .summary = SummaryOf(request.plans), .undoOf = request.undoOf};
    std::string where;
    outcome.snapshot = history.Save(drive, cardKey, header, filePaths, directories, where);
    if (!outcome.snapshot) {
      outcome.snapshotFailed = true;
      feedback.Tell(MessageKind::Error, text::kHistoryNotWritten + where);
      return outcome;
    }
  }
  CommitRunner runner(drive, files, feedback, failures, request.progressTotal,
                      request.temporaryTag);
  runner.Run(request.plans);
  outcome.ran = true;
  outcome.setAside = runner.setAside();
  if (!outcome.changed) return outcome;
  // Everything written is made durable once, for the whole card.
  if (!files.FlushVolume(CardRoot(drive)))
    failures.emplace_back(text::kNotDurable, CardRoot(drive));
  if (outcome.snapshot) {
    if (!history.Finish(*outcome.snapshot, TableFingerprint(drive, files))) {
      failures.emplace_back(text::kHistoryNotFinished, outcome.snapshot->folder);
    }
    history.Prune(cardKey);
  }
  return outcome;
}

}  // namespace sdmate
