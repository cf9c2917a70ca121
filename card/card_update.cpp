// Card update: every table of the three kinds rewritten, the data files deleted, renamed,
// copied and moved to match, and the card read back.
#include "card/card_update.h"

#include "card/card_messages.h"
#include "card/commit_plan.h"
#include "card/commit_runner.h"

namespace sdmate {
namespace {

// The final warning lists this many failures; the result keeps them all.
constexpr std::size_t kFailuresShown = 30;

std::string FailureMessage(const std::vector<std::string>& failures) {
  std::string message = text::kUpdateFailedHeading;
  for (std::size_t i = 0; i < failures.size() && i < kFailuresShown; ++i) {
    message += "\n" + failures[i];
  }
  if (failures.size() > kFailuresShown) {
    message += std::string("\n") + text::kMoreFailuresBefore +
               std::to_string(failures.size() - kFailuresShown) + text::kMoreFailuresAfter;
  }
  return message;
}

}  // namespace

UpdateResult UpdateCard(CardModel& model, bool& backupAdvice, Files& files, Drives& drives,
                        Feedback& feedback) {
  UpdateResult result;
  if (!model.loaded || model.drive == 0) {
    feedback.Tell(MessageKind::Warning, text::kNotLoaded);
    return result;
  }
  if (!model.complete) {
    // Rewriting now would empty the folders whose tables could not be read.
    feedback.Tell(MessageKind::Warning, text::kIncomplete);
    return result;
  }
  {
    Feedback::BusyGuard busy = feedback.Busy();
    // Always the drive that was loaded, whatever the chooser shows by now.
    const char drive = model.drive;
    int folderTotal = 0;
    for (MediaKind kind : kAllKinds) folderTotal += model.of(kind).folderCount();
    // The whole commit is planned before its first operation runs.
    std::vector<KindPlan> plans;
    for (MediaKind kind : kAllKinds) plans.push_back(PlanKind(model.of(kind), kind, drive, files));
    CommitRunner runner(drive, files, feedback, result.failures, folderTotal);
    runner.Run(plans);

    feedback.Status(text::kReloadStatus);
    // The user agreed to use this drive when it was loaded, and it has just been written:
    // the reload does not ask the removable-drive question again.
    result.reload =
        LoadCard(model, drive, backupAdvice, files, drives, feedback, {.askRemovable = false});
    if (!result.reload.loaded) {
      // The model still holds the edits just written; a second update from it would delete
      // folders that now hold other folders' files. Only a fresh load may update again.
      model.loaded = false;
      result.failures.push_back(text::kReloadFailed);
    }
    feedback.Status("");
  }
  result.ran = true;
  if (result.failures.empty()) {
    feedback.Tell(MessageKind::Information, text::kUpdateCompleted);
  } else {
    feedback.Tell(MessageKind::Warning, FailureMessage(result.failures));
  }
  return result;
}

}  // namespace sdmate
