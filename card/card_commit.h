// Plans carried out on the card as one commit: the files in their way that they do not own
// renamed aside (steps of the plan), the snapshot of what they will change first (a commit
// whose snapshot cannot be written does not start), then the operations, then one flush
// of the card, so that its completion means the card may be pulled, and the fingerprint of the
// tables it left. The update, the undo, the restore and the repair all run through here.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "card/commit_plan.h"
#include "card/commit_runner.h"
#include "card/history.h"
#include "core/feedback.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace sdmate {

struct CommitRequest {
  std::vector<KindPlan> plans;
  std::string type = "commit";  // "commit", "undo", "restore", "repair"
  std::string undoOf;           // an undo: the snapshot it undoes
  int progressTotal = 0;        // the progress steps the plans count (their folders)
  // Four hex digits in the names of the commit's temporaries ("~SDM<tag><n>.TMP"), so that an
  // undo knows them as its commit's; empty: "0000".
  std::string temporaryTag;
  // Which folders of the model still are what the load read (none known: every folder is read
  // back from the card).
  std::optional<FoldersAsRead> asRead;
};

struct CommitOutcome {
  bool ran = false;             // the operations ran (possibly none that changed anything)
  bool changed = false;         // some operation was to change the card
  bool snapshotFailed = false;  // nothing ran: the snapshot could not be written
  std::string refused;          // nothing ran: why (another run holds the card, ...)
  std::optional<Snapshot> snapshot;
  std::vector<SetAsideFile> setAside;  // files no plan owned, renamed out of the way
};

// Runs under the card's lock (taken here when the caller does not hold it already).
// knownTables (when given) gives the hashes of the tables as the load read them (by PathKey):
// the fingerprint for the history takes those of the tables no step touched instead of reading
// them again.
CommitOutcome RunCommit(char drive, CommitRequest& request, Files& files, Drives& drives,
                        Feedback& feedback, History& history, std::vector<Failure>& failures,
                        const std::function<KnownTableHashes()>& knownTables = {});

// What the plans mean to leave at every file path they touch, by PathKey, from the hashes of what
// is there before: each operation in turn, then every item's content at its place.
std::map<std::string, std::string> PlannedHashes(char drive, const std::vector<KindPlan>& plans,
                                                 const std::map<std::string, std::string>& before,
                                                 Files& files);

// What the plans will do, in one line ("テーブル 1, 削除 2, ...").
std::string SummaryOf(const std::vector<KindPlan>& plans);

}  // namespace sdmate
