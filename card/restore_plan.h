// Plans that put the card back in a state saved elsewhere: a snapshot of the history (the undo
// of a commit) or a backup folder (a restore). Both compare with the card as it is now and
// write only what differs; both run through the commit's own guarded runner.
#pragma once

#include <cstdint>
#include <string>

#include "card/commit_plan.h"
#include "card/history.h"
#include "platform/files.h"

namespace sdmate {

// What a plan of these will do.
struct RestoreSummary {
  int written = 0;         // files copied onto the card
  int removed = 0;         // files and folders removed from it
  std::int64_t bytes = 0;  // bytes copied
  int steps = 0;           // progress steps (file operations)
};

// The card's paths back as the snapshot saved them: files with their bytes and times, files the
// commit added removed (and the temporary names of a commit that did not end), folders as they
// were.
KindPlan PlanUndo(const Snapshot& snapshot, char drive, Files& files, RestoreSummary& summary);

// The first card path the undo would write or remove whose bytes are none the commit found or
// meant to leave (nor a temporary of its own): the card was changed since (by the handset, by
// hand), and the undo must not run. Empty when every path is as the commit knew it.
std::string ChangedSinceCommit(const Snapshot& snapshot, const KindPlan& undo, Files& files);

// The card's PRIVATE, SD_VIDEO and DCIM trees made to hold exactly the backup folder's: what
// differs is copied, what the backup does not hold is removed. A folder holding none of the three
// is no backup (valid is false).
KindPlan PlanRestore(const std::string& backupFolder, char drive, Files& files,
                     RestoreSummary& summary, bool& valid);

}  // namespace sdmate
