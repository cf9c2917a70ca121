// The commit: every table that changes rewritten, the data files deleted, renamed, copied and
// moved to match, and the card read back; with a snapshot before it in the card's history.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "card/card_commit.h"
#include "card/card_load.h"
#include "card/history.h"

namespace sdmate {

struct UpdateResult {
  bool ran = false;      // false: refused (nothing loaded, a table unreadable, no snapshot)
  bool changed = false;  // something was to be written to the card
  std::vector<Failure> failures;  // operations that failed, for the final warning
  LoadResult reload;
  std::optional<Snapshot> snapshot;    // the snapshot taken before it, when a history is kept
  std::vector<SetAsideFile> setAside;  // files no table named, renamed out of its way
};

// Writes to the drive that was loaded (model.drive), whatever is chosen since, and reloads it.
// Ends with the completion message ("変更はありません" when nothing had to be written), or with
// a warning listing what failed. With what the load read at hand (read), the read-back reads
// again only the folders the commit touched, and keeps read up to date.
UpdateResult UpdateCard(CardModel& model, bool& backupAdvice, Files& files, Drives& drives,
                        Feedback& feedback, History& history, LoadedCard* read = nullptr);

// The commit of the model's staged edits, planned for all three kinds before anything runs.
// The folders asRead marks (FoldersStillAsRead) are left out.
CommitRequest PlanCommit(CardModel& model, Files& files, const char* type,
                         std::optional<FoldersAsRead> asRead = std::nullopt);

// Plans made elsewhere (an undo, a restore, a repair) committed on the loaded drive the same
// way, the card read back, and completed told when all went well.
UpdateResult CommitPlans(CardModel& model, CommitRequest& request, bool& backupAdvice, Files& files,
                         Drives& drives, Feedback& feedback, History& history,
                         const char* completed, LoadedCard* read = nullptr);

// Every card path of the drive the plans write, create, move or remove.
std::vector<std::string> ChangedCardPaths(char drive, const std::vector<KindPlan>& plans);

}  // namespace sdmate
