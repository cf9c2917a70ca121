// The card and the check's findings as the commands print them.
#include "cli/output.h"

#include <iomanip>
#include <nlohmann/json.hpp>

#include "cli/cli_messages.h"

namespace sdmate::cli {
namespace {

using Json = nlohmann::ordered_json;

void Dump(const Json& json, std::ostream& out) {
  out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace

void PrintCardText(const CardModel& model, TextCodec& codec, std::ostream& out) {
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
}

void PrintCardJson(const CardModel& model, TextCodec& codec, std::ostream& out) {
  Json card = Json::object();
  for (MediaKind kind : kAllKinds) {
    const KindState& state = model.of(kind);
    Json folders = Json::array();
    for (int n = 1; n <= state.folderCount(); ++n) {
      const FolderSlot& folder = state.folder(n);
      Json items = Json::array();
      for (const ItemRow* item : VisibleItems(folder)) {
        items.push_back({{"name", codec.ToUtf8(item->targetName)},
                         {"stamp", codec.ToUtf8(item->stamp)},
                         {"size", item->size},
                         {"title", codec.ToUtf8(item->title)}});
      }
      folders.push_back(
          {{"folder", n}, {"title", codec.ToUtf8(folder.folderTitle)}, {"items", items}});
    }
    card[TraitsOf(kind).key] = std::move(folders);
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

void PrintFindingsJson(const std::vector<Finding>& findings, TextCodec& codec,
                       const NativeOf& native, std::ostream& out) {
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
  Dump(report, out);
}

}  // namespace sdmate::cli
