// Export of a folder's items under their titles.
#include "card/export_items.h"

#include <algorithm>
#include <array>

#include "card/card_messages.h"
#include "core/ascii.h"
#include "core/card_layout.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

bool IsReservedOnWindows(std::string_view stem) {
  static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
  const std::string upper = AsciiUpper(stem);
  if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end()) return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

std::string ExportFileName(std::string_view titleUtf8, std::string_view fileName) {
  std::string stem;
  for (char c : titleUtf8) {
    const auto byte = static_cast<unsigned char>(c);
    const bool forbidden = byte < 0x20 || byte == 0x7F || kForbidden.find(c) != kForbidden.npos;
    stem.push_back(forbidden ? '_' : c);
  }
  const std::size_t first = stem.find_first_not_of(' ');
  stem.erase(0, first == std::string::npos ? stem.size() : first);
  while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.')) stem.pop_back();
  if (stem.empty()) return std::string(fileName);
  if (IsReservedOnWindows(stem)) stem.push_back('_');
  return stem + std::string(ExtensionOf(fileName));
}

std::string UnusedName(const std::string& name, const std::vector<std::string>& taken) {
  auto isTaken = [&taken](const std::string& candidate) {
    const std::string upper = AsciiUpper(candidate);
    return std::any_of(taken.begin(), taken.end(),
                       [&upper](const std::string& other) { return AsciiUpper(other) == upper; });
  };
  if (!isTaken(name)) return name;
  const std::string_view extension = ExtensionOf(name);
  const std::string stem = name.substr(0, name.size() - extension.size());
  for (int n = 2;; ++n) {
    std::string candidate = stem + " (" + std::to_string(n) + ")" + std::string(extension);
    if (!isTaken(candidate)) return candidate;
  }
}

ExportResult ExportItems(const FolderSlot& folder, const std::string& destination, Files& files,
                         TextCodec& codec, Feedback& feedback) {
  ExportResult result;
  {
    Feedback::BusyGuard busy = feedback.Busy();
    feedback.Status(text::kExportStatus);
    files.MakeDirectories(destination);
    std::vector<std::string> taken =
        files.ListDirectory(destination).value_or(std::vector<std::string>());
    const std::vector<const ItemRow*> items = VisibleItems(folder);
    int done = 0;
    for (const ItemRow* item : items) {
      const std::string name =
          UnusedName(ExportFileName(codec.ToUtf8(item->title), item->targetName), taken);
      const std::string source = item->sourceDir + item->sourceName;
      const std::string target = JoinNativePath(destination, name);
      if (files.ShellCopy(source, target)) {
        result.written.push_back(target);
        taken.push_back(name);
      } else {
        result.failed.push_back(source);
      }
      feedback.Progress(++done, static_cast<int>(items.size()));
    }
    feedback.Status("");
  }
  const std::string where = std::string("\n") + text::kBackupFolder + destination;
  if (result.failed.empty()) {
    feedback.Tell(MessageKind::Information, text::kExportCompletedBefore +
                                                std::to_string(result.written.size()) +
                                                text::kExportCompletedAfter + where);
  } else {
    std::string list = text::kExportFailed;
    for (const std::string& path : result.failed) list += "\n" + path;
    feedback.Tell(MessageKind::Warning, list + where);
  }
  return result;
}

}  // namespace sdmate
