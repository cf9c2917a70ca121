// What the commands print on standard output: the card's folders and their visible items in
// list order, and the check's findings, as text or as one JSON object; texts in UTF-8.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "card/camera_area.h"
#include "card/card_check.h"
#include "card/history.h"
#include "core/card_model.h"
#include "import/handset_play.h"
namespace sdmate {
class TextCodec;
}  // namespace sdmate

namespace sdmate::cli {

// The camera pictures follow under "camera" when given.
void PrintCardText(const CardModel& model, TextCodec& codec, std::ostream& out,
                   const CameraArea* camera = nullptr);
// What the handset makes of an item's file as it is (pictures and movies); none: not asked.
using JudgeOf = std::function<HandsetVerdict(MediaKind kind, const ItemRow& item)>;
// With judge, each picture and movie says whether the handset shows it ("playable", null when it
// could not be judged) and why not ("reason").
void PrintCardJson(const CardModel& model, TextCodec& codec, std::ostream& out,
                   const CameraArea* camera = nullptr, const JudgeOf& judge = {});

// native turns a finding's card path into the path the user knows.
using NativeOf = std::function<std::string(const std::string& cardPath)>;
void PrintFindingsText(const std::vector<Finding>& findings, TextCodec& codec,
                       const NativeOf& native, std::ostream& out);
// With a model and judge, "handset" lists every picture and movie with what the handset makes
// of it, and "unplayable" counts those it cannot show.
void PrintFindingsJson(const std::vector<Finding>& findings, TextCodec& codec,
                       const NativeOf& native, std::ostream& out, const CardModel* model = nullptr,
                       const JudgeOf& judge = {});

// What repair did, as JSON (its text form is a few lines of the command).
struct RepairReport {
  bool repaired = false;  // a commit ran
  std::size_t found = 0;  // findings before
  int adopted = 0;
  int deleted = 0;
  int foldersBrought = 0;
  std::vector<Finding> remaining;
};
void PrintRepairJson(const RepairReport& report, TextCodec& codec, const NativeOf& native,
                     std::ostream& out);

// A card's history, newest first.
void PrintSnapshotsText(const std::vector<Snapshot>& snapshots, std::ostream& out);
void PrintSnapshotsJson(const std::vector<Snapshot>& snapshots, std::ostream& out);

}  // namespace sdmate::cli
