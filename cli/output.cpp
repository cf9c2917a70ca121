// The card and the check's findings as the commands print them.
#include "cli/output.h"

#include <cstdio>
#include <iomanip>
#include <nlohmann/json.hpp>

#include "cli/cli_messages.h"
#include "cli/cli_services.h"

namespace sdmate::cli {
namespace {

using Json = nlohmann::ordered_json;

// The camera pictures' key beside the kinds' ("image", "movie", "document").
constexpr const char* kCameraKey = "camera";

void Dump(const Json& json, std::ostream& out) {
  out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

// "2005:03:03 14:07:31", as the items' stamps are written.
std::string ShotText(const LocalTime& shot) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", shot.year % 10000,
                shot.month % 100, shot.day % 100, shot.hour % 100, shot.minute % 100,
                shot.second % 100);
  return text;
}

// The kinds whose files the handset shows or plays by a rule of its own.
bool Judged(MediaKind kind) { return kind != MediaKind::Document; }

void AddVerdict(Json& entry, const HandsetVerdict& verdict) {
  entry["playable"] = verdict.judged ? Json(verdict.playable) : Json(nullptr);
  entry["reason"] = verdict.reason;
}

}  // namespace

void PrintCardText(const CardModel& model, TextCodec& codec, std::ostream& out,
                   const CameraArea* camera) {
  for (MediaKind kind : kAllKinds) {
    const KindState& state = model.of(kind);
    for (int n = 1; n <= state.folderCount(); ++n) {
      const FolderSlot& folder = state.folder(n);
      out << TraitsOf(kind).key << " " << n << " " << codec.ToUtf8(folder.folderTitle) << '\n';
      int row = 0;
      for (const ItemRow* item : VisibleItems(folder)) {
        out << std::setw(5) << ++row << "  " << codec.ToUtf8(item->targetName) << "  "
            << codec.ToUtf8(item->stamp) << "  " << std::setw(7) << item->size << "  "
            << codec.ToUtf8(item->title) << '\n';
      }
    }
  }
  if (camera == nullptr) return;
  for (const CameraFolder& folder : camera->folders) {
    out << kCameraKey << " " << folder.number << " " << folder.name << '\n';
    int row = 0;
    for (const CameraPicture& picture : folder.pictures) {
      out << std::setw(5) << ++row << "  " << picture.name << "  " << ShotText(picture.shot) << "  "
          << std::setw(7) << picture.size << "  " << picture.width << "x" << picture.height << '\n';
    }
  }
}

void PrintCardJson(const CardModel& model, TextCodec& codec, std::ostream& out,
                   const CameraArea* camera, const JudgeOf& judge) {
  Json card = Json::object();
  for (MediaKind kind : kAllKinds) {
    const KindState& state = model.of(kind);
    Json folders = Json::array();
    for (int n = 1; n <= state.folderCount(); ++n) {
      const FolderSlot& folder = state.folder(n);
      Json items = Json::array();
      for (const ItemRow* item : VisibleItems(folder)) {
        Json entry = {{"name", codec.ToUtf8(item->targetName)},
                      {"stamp", codec.ToUtf8(item->stamp)},
                      {"size", item->size},
                      {"title", codec.ToUtf8(item->title)}};
        if (judge && Judged(kind)) AddVerdict(entry, judge(kind, *item));
        items.push_back(std::move(entry));
      }
      folders.push_back(
          {{"folder", n}, {"title", codec.ToUtf8(folder.folderTitle)}, {"items", items}});
    }
    card[TraitsOf(kind).key] = std::move(folders);
  }
  if (camera != nullptr) {
    Json folders = Json::array();
    for (const CameraFolder& folder : camera->folders) {
      Json pictures = Json::array();
      for (const CameraPicture& picture : folder.pictures) {
        pictures.push_back({{"name", picture.name},
                            {"shot", ShotText(picture.shot)},
                            {"shotFromExif", picture.shotFromExif},
                            {"size", picture.size},
                            {"width", picture.width},
                            {"height", picture.height}});
      }
      folders.push_back({{"folder", folder.number}, {"name", folder.name}, {"items", pictures}});
    }
    card[kCameraKey] = std::move(folders);
  }
  Dump(card, out);
}

void PrintFindingsText(const std::vector<Finding>& findings, TextCodec& codec,
                       const NativeOf& native, std::ostream& out) {
  for (const Finding& finding : findings) {
    out << TraitsOf(finding.kind).key << ": " << ProblemText(finding.problem) << ": "
        << native(finding.path);
    if (!finding.detail.empty()) out << " (" << codec.ToUtf8(finding.detail) << ")";
    out << '\n';
  }
  if (findings.empty()) out << text::kNoProblems << '\n';
}

namespace {

Json FindingsJson(const std::vector<Finding>& findings, TextCodec& codec, const NativeOf& native) {
  Json report = Json::object();
  for (MediaKind kind : kAllKinds) {
    Json list = Json::array();
    for (const Finding& finding : findings) {
      if (finding.kind != kind) continue;
      list.push_back({{"problem", ProblemKey(finding.problem)},
                      {"path", native(finding.path)},
                      {"detail", codec.ToUtf8(finding.detail)}});
    }
    report[TraitsOf(kind).key] = std::move(list);
  }
  report["problems"] = findings.size();
  return report;
}

}  // namespace

void PrintFindingsJson(const std::vector<Finding>& findings, TextCodec& codec,
                       const NativeOf& native, std::ostream& out, const CardModel* model,
                       const JudgeOf& judge) {
  Json report = FindingsJson(findings, codec, native);
  if (model != nullptr && judge) {
    Json handset = Json::object();
    int unplayable = 0;
    for (MediaKind kind : kAllKinds) {
      if (!Judged(kind)) continue;
      Json list = Json::array();
      const KindState& state = model->of(kind);
      for (int n = 1; n <= state.folderCount(); ++n) {
        for (const ItemRow* item : VisibleItems(state.folder(n))) {
          const HandsetVerdict verdict = judge(kind, *item);
          if (verdict.judged && !verdict.playable) ++unplayable;
          Json entry = {{"folder", n},
                        {"name", codec.ToUtf8(item->targetName)},
                        {"path", native(item->SourcePath())}};
          AddVerdict(entry, verdict);
          list.push_back(std::move(entry));
        }
      }
      handset[TraitsOf(kind).key] = std::move(list);
    }
    report["handset"] = std::move(handset);
    report["unplayable"] = unplayable;
  }
  Dump(report, out);
}

void PrintRepairJson(const RepairReport& report, TextCodec& codec, const NativeOf& native,
                     std::ostream& out) {
  Dump({{"repaired", report.repaired},
        {"found", report.found},
        {"adopted", report.adopted},
        {"deleted", report.deleted},
        {"foldersBrought", report.foldersBrought},
        {"remaining", FindingsJson(report.remaining, codec, native)}},
       out);
}

void PrintSnapshotsText(const std::vector<Snapshot>& snapshots, std::ostream& out) {
  for (const Snapshot& snapshot : snapshots) {
    out << snapshot.id << "  " << snapshot.time << "  " << snapshot.type << "  "
        << (snapshot.summary.empty() ? "-" : snapshot.summary) << "  " << text::kSavedFiles
        << snapshot.savedFiles << "  " << snapshot.bytes << text::kBytes;
    if (snapshot.undone) out << "  " << text::kUndone;
    if (!snapshot.finished()) out << "  " << text::kUnfinished;
    out << '\n';
  }
  if (snapshots.empty()) out << text::kNoHistory << '\n';
}

void PrintSnapshotsJson(const std::vector<Snapshot>& snapshots, std::ostream& out) {
  Json list = Json::array();
  for (const Snapshot& snapshot : snapshots) {
    list.push_back({{"id", snapshot.id},
                    {"time", snapshot.time},
                    {"type", snapshot.type},
                    {"summary", snapshot.summary},
                    {"savedFiles", snapshot.savedFiles},
                    {"bytes", snapshot.bytes},
                    {"undone", snapshot.undone},
                    {"finished", snapshot.finished()},
                    {"undoOf", snapshot.undoOf}});
  }
  Dump(list, out);
}

}  // namespace sdmate::cli
