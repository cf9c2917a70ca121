// The repair of a card: one commit, with its snapshot, that makes the check's findings go away
// without losing a file. Entries whose file is missing are dropped; tables after a gap become
// the next folders (their tables and directories renumbered); data files no table names that
// follow the handset's naming join the end of their folder's list (or are deleted, when asked);
// headers naming another directory, wrong count bytes and tables of odd size are written anew.
#pragma once

#include <string>
#include <vector>

#include "card/card_check.h"
#include "core/card_model.h"
#include "core/feedback.h"
#include "platform/files.h"

namespace sdmate {

struct RepairOptions {
  bool deleteOrphans = false;  // delete the orphans that follow the naming instead of adopting
};

struct RepairPreparation {
  int adopted = 0;            // orphans listed at the end of their folders
  int deleted = 0;            // orphans staged for deletion
  int foldersBrought = 0;     // tables after a gap taken in as folders
  std::vector<Finding> kept;  // what the repair leaves as it is (listed, never touched)
};

// Adds to a model just loaded what the repair keeps that the load does not read: the tables
// after a gap as the next folders, and the orphans as items of their folders.
// The files are looked up in the listings the check made.
RepairPreparation PrepareRepair(CardModel& model, const std::vector<Finding>& findings,
                                CardListings& listings, RepairOptions options);

}  // namespace sdmate
