// One commit of plans, with its snapshot.
#include "card/card_commit.h"

#include <map>
#include <unordered_set>

#include "card/card_messages.h"
#include "card/commit_ownership.h"
#include "card/commit_runner.h"
#include "core/ascii.h"
#include "core/card_layout.h"
#include "platform/hash.h"

namespace sdmate {
std::map<std::string, std::string> PlannedHashes(char drive, const std::vector<KindPlan>& plans,
                                                 const std::map<std::string, std::string>& before,
                                                 Files& files) {
  std::map<std::string, std::string> content = before;
  std::map<std::string, std::string> computer;  // files of the computer, hashed once each
  auto sourceHash = [&](const std::string& from) -> std::string {
    if (CardDriveOf(from) == drive) {
      auto known = content.find(PathKey(from));
      return known != content.end() ? known->second : ContentHash(files, from);
    }
    auto known = computer.find(from);
    if (known == computer.end()) known = computer.emplace(from, ContentHash(files, from)).first;
    return known->second;
  };
  for (const KindPlan& plan : plans) {
    for (const Operation& operation : plan.operations) {
      switch (operation.step) {
        case Step::WriteTable:
          content[PathKey(operation.path)] = Sha256Hex(operation.bytes);
          break;
        case Step::Copy:
          content[PathKey(operation.path)] = sourceHash(operation.from);
          break;
        case Step::Move:
        case Step::SetAside: {
          const std::string moved = sourceHash(operation.from);
          if (CardDriveOf(operation.from) == drive) content[PathKey(operation.from)] = kAbsent;
          content[PathKey(operation.path)] = moved;
          break;
        }
        case Step::DeleteFile:
          content[PathKey(operation.path)] = kAbsent;
          break;
        case Step::DeleteTree: {
          const std::string below = PathKey(operation.path) + "\\";
          for (auto& [key, hash] : content) {
            if (key.starts_with(below)) hash = kAbsent;
          }
          break;
        }
        default:
          break;
      }
    }
  }
  // Every item that stays ends with its content at its place. An item that stays where it is
  // matters only when its file is one the snapshot keeps: the names of those, upper-cased, are
  // looked at before the whole key is made.
  std::unordered_set<std::string> kept;
  for (const auto& [key, hash] : before) kept.insert(key.substr(key.rfind('\\') + 1));
  auto keptName = [&kept](const std::string& path) {
    return kept.contains(AsciiUpper(std::string_view(path).substr(path.rfind('\\') + 1)));
  };
  for (const KindPlan& plan : plans) {
    for (const Need& need : plan.needs) {
      if (!need.added && need.source == need.path && !keptName(need.source)) continue;
      if (need.added) {
        content[PathKey(need.path)] = sourceHash(need.source);
      } else if (auto known = before.find(PathKey(need.source)); known != before.end()) {
        content[PathKey(need.path)] = known->second;
      } else if (need.source != need.path) {
        content[PathKey(need.path)] = ContentHash(files, need.source);
      }
    }
  }
  std::map<std::string, std::string> after;
  for (const auto& [key, hash] : before) after[key] = content[key];
  return after;
}

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
                        Feedback& feedback, History& history, std::vector<Failure>& failures,
                        const std::function<KnownTableHashes()>& knownTables) {
  CommitOutcome outcome;
  for (const KindPlan& plan : request.plans)
    outcome.changed = outcome.changed || plan.ChangesTheCard();
  const std::string cardKey = drives.CardKeyOf(drive);
  const History::Hold hold = history.Lock(drive, cardKey, outcome.refused);
  if (!hold) {
    outcome.snapshotFailed = true;
    feedback.Tell(
        outcome.refused.starts_with(text::kCardBusy) ? MessageKind::Warning : MessageKind::Error,
        outcome.refused);
    return outcome;
  }
  // Under the lock: no other run adds a file between the look and the snapshot.
  SetAsideStrays(request.plans, drive, files);
  if (outcome.changed && history.enabled()) {
    const TouchedPaths touched = TouchedCardPaths(drive, request.plans, files);
    // The hashes of before and after are in the manifest before the first write: an undo
    // checks the card against them, whether or not the commit ended.
    Snapshot header{
        .type = request.type, .summary = SummaryOf(request.plans), .undoOf = request.undoOf};
    std::string where;
    outcome.snapshot = history.Save(
        drive, cardKey, header, touched.files, touched.directories,
        [&](const History::HashMap& before) {
          return PlannedHashes(drive, request.plans, before, files);
        },
        where);
    if (!outcome.snapshot) {
      outcome.snapshotFailed = true;
      feedback.Tell(MessageKind::Error, text::kHistoryNotWritten + where);
      return outcome;
    }
    request.temporaryTag = outcome.snapshot->temporaryTag;
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
  KnownTableHashes known;
  if (outcome.snapshot && knownTables) {
    known = knownTables();
    // A table a step wrote, moved or removed (itself or a folder above it) is read as the card
    // holds it now.
    auto forget = [&known](const std::string& path) {
      const std::string key = PathKey(path);
      known.erase(key);
      const std::string below = key + "\\";
      for (auto at = known.lower_bound(below); at != known.end() && at->first.starts_with(below);) {
        at = known.erase(at);
      }
    };
    for (const KindPlan& plan : request.plans) {
      for (const Operation& operation : plan.operations) {
        if (known.empty()) break;
        if (CardDriveOf(operation.path) == drive) forget(operation.path);
        if (CardDriveOf(operation.from) == drive) forget(operation.from);
      }
    }
  }
  if (outcome.snapshot &&
      !history.Finish(*outcome.snapshot, TableFingerprint(drive, files, known))) {
    failures.emplace_back(text::kHistoryNotFinished, outcome.snapshot->folder);
  }
  return outcome;
}

}  // namespace sdmate
