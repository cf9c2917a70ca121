// Exports: the names files get, the plans of a folder, of camera pictures and of the whole card,
// and the one run that copies (and converts) every plan.
#include "card/export_items.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>

#include "card/card_messages.h"
#include "card/export_messages.h"
#include "core/ascii.h"
#include "core/card_layout.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

constexpr std::string_view kForbidden = "\\/:*?\"<>|";
constexpr const char* kCameraFolder = "カメラ画像";
// Names tried for one file before the export gives up on it: far more than any folder holds.
constexpr int kMostNumbers = 9999;
// Files listed by name in the summary; the rest are counted.
constexpr std::size_t kListedFiles = 20;

bool IsReservedOnWindows(std::string_view stem) {
  static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
  const std::string upper = AsciiUpper(stem);
  if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end()) return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

// The title made a name every file system takes; empty when nothing is left of it.
std::string SafeStem(std::string_view titleUtf8) {
  std::string stem;
  for (char c : titleUtf8) {
    const auto byte = static_cast<unsigned char>(c);
    const bool forbidden = byte < 0x20 || byte == 0x7F || kForbidden.find(c) != kForbidden.npos;
    stem.push_back(forbidden ? '_' : c);
  }
  const std::size_t first = stem.find_first_not_of(' ');
  stem.erase(0, first == std::string::npos ? stem.size() : first);
  while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.')) stem.pop_back();
  if (IsReservedOnWindows(stem)) stem.push_back('_');
  return stem;
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// 12345678 as "12,345,678".
std::string Grouped(std::int64_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > (value < 0 ? 1 : 0); at -= 3) {
    digits.insert(static_cast<std::size_t>(at), ",");
  }
  return digits;
}

// Selected rows (from 1) of a list of count entries; every row when none is selected. Rows out
// of range are left out, each row is taken once, in list order.
std::vector<int> ChosenRows(const std::vector<int>& rows, int count) {
  std::set<int> chosen;
  for (int row : rows) {
    if (row >= 1 && row <= count) chosen.insert(row);
  }
  if (rows.empty()) {
    for (int row = 1; row <= count; ++row) chosen.insert(row);
  }
  return {chosen.begin(), chosen.end()};
}

class ExportRun {
 public:
  ExportRun(const std::string& destination, const ExportOptions& options, ExportContext& context)
      : destination_(destination), options_(options), context_(context) {}

  ExportResult Run(const std::vector<ExportFile>& plan);

 private:
  bool OnTheCard() {
    const std::optional<std::string> resolved = context_.files.ResolveOnDrive(destination_);
    return context_.cardDrive != 0 && resolved && CardDriveOf(*resolved) == context_.cardDrive;
  }
  std::string Native(const std::string& path) {
    return context_.drives.NativePathOf(path).value_or(path);
  }
  bool Converting(const std::vector<ExportFile>& plan);
  void ExportOne(const ExportFile& file);
  // Copies from (the card file, or its converted form) under name or the next free number;
  // true when it was written.
  bool Place(const ExportFile& file, const std::string& from, const std::string& name);
  bool SameBytes(const std::string& a, const std::string& b);
  void Tell();

  const std::string& destination_;
  const ExportOptions& options_;
  ExportContext& context_;
  ExportResult result_;
  bool convert_ = false;
  std::set<std::string> madeFolders_;
};

bool ExportRun::Converting(const std::vector<ExportFile>& plan) {
  if (!options_.convertMovies) return false;
  if (std::none_of(plan.begin(), plan.end(), [](const ExportFile& f) { return f.movie; })) {
    return false;
  }
  MovieConverter* movies = context_.services.movies;
  if (movies != nullptr && context_.services.folder != nullptr && movies->Available()) return true;
  context_.feedback.Tell(MessageKind::Warning, text::kExportNoConverter);
  return false;
}

ExportResult ExportRun::Run(const std::vector<ExportFile>& plan) {
  if (OnTheCard()) {
    context_.feedback.Tell(MessageKind::Warning, text::kExportOnCard + destination_);
    return result_;
  }
  result_.ran = true;
  convert_ = Converting(plan);
  {
    Feedback::BusyGuard busy = context_.feedback.Busy();
    Feedback::CancelGuard cancellable = context_.feedback.Cancellable();
    context_.feedback.Status(text::kExportStatus);
    const int total = static_cast<int>(plan.size());
    for (int done = 0; done < total; ++done) {
      if (context_.feedback.Cancelled()) {
        result_.cancelled = true;
        result_.notReached = plan.size() - static_cast<std::size_t>(done);
        break;
      }
      ExportOne(plan[static_cast<std::size_t>(done)]);
      context_.feedback.Progress(done + 1, total);
    }
    context_.feedback.Status("");
  }
  Tell();
  return result_;
}

void ExportRun::ExportOne(const ExportFile& file) {
  const std::string source = Native(file.source);
  // A link inside the card's folders may lead anywhere on the computer.
  if (!context_.files.IsPlainPath(file.source)) {
    result_.failed.push_back({source, {}, text::kExportLink});
    return;
  }
  if (madeFolders_.insert(file.folder).second) context_.files.MakeDirectories(file.folder);
  if (!convert_ || !file.movie) {
    Place(file, file.source, file.name);
    return;
  }
  context_.feedback.Status(std::string(text::kConvertStatus) + " " + file.name);
  const std::string output = context_.services.folder->NewFolder();
  const ConvertResult converted =
      output.empty() ? ConvertResult{ConvertResult::Outcome::NotConverted, {}, text::kExportNoName}
                     : context_.services.movies->ConvertForComputer(source, output, {});
  context_.feedback.Status(text::kExportStatus);
  switch (converted.outcome) {
    case ConvertResult::Outcome::Converted: {
      const std::string name =
          std::string(file.name.substr(0, file.name.size() - ExtensionOf(file.name).size())) +
          ".mp4";
      if (Place(file, converted.path, name)) ++result_.converted;
      break;
    }
    case ConvertResult::Outcome::AlreadyPlayable:
      Place(file, file.source, file.name);
      break;
    case ConvertResult::Outcome::NotConverted:
      if (Place(file, file.source, file.name)) {
        result_.asIs.push_back({source, result_.written.back(), converted.reason});
      }
      break;
  }
  // The converted file (or what a failed conversion left) is not kept past its copy.
  if (!output.empty()) {
    context_.files.ShellDelete(output.substr(0, output.find_last_not_of("/\\") + 1));
  }
}

bool ExportRun::Place(const ExportFile& file, const std::string& from, const std::string& name) {
  Files& files = context_.files;
  const std::string source = Native(file.source);
  // The copy keeps the card file's time, also when it was converted.
  const std::optional<std::int64_t> modified = files.ModifiedTime(file.source);
  const std::int64_t size = files.FileSizeOf(from);
  if (size < 0) {
    result_.failed.push_back({source, {}, text::kExportUnreadable});
    return false;
  }
  for (int n = 1; n <= kMostNumbers; ++n) {
    const std::string target = JoinNativePath(file.folder, n == 1 ? name : NumberedName(name, n));
    switch (files.CopyToNewFile(from, target, modified)) {
      case NewFile::Created:
        result_.written.push_back(target);
        result_.bytes += size;
        return true;
      case NewFile::NameTaken:
        // The file system decides what counts as the same name (case, width, accents); the
        // export only asks whether what is there is this very file already.
        if (SameBytes(from, target)) {
          result_.same.push_back({source, target, {}});
          return false;
        }
        break;
      case NewFile::Failed:
        result_.failed.push_back(
            {source, target,
             files.Exists(from) ? text::kExportUnwritable : text::kExportUnreadable});
        return false;
    }
  }
  result_.failed.push_back({source, {}, text::kExportNoName});
  return false;
}

bool ExportRun::SameBytes(const std::string& a, const std::string& b) {
  Files& files = context_.files;
  const std::int64_t size = files.FileSizeOf(a);
  if (size < 0 || files.FileSizeOf(b) != size) return false;
  const std::optional<std::string> first = files.ReadFile(a);
  const std::optional<std::string> second = files.ReadFile(b);
  return first && second && *first == *second;
}

void ExportRun::Tell() {
  const std::string written = std::to_string(result_.written.size()) + text::kExportCompletedFiles +
                              Grouped(result_.bytes) + text::kExportCompletedAfter;
  std::string message;
  if (result_.cancelled) {
    message = std::string(text::kExportCancelled) + "\n" + text::kExportWritten + written;
  } else if (result_.written.empty() && (!result_.same.empty() || !result_.failed.empty())) {
    message = text::kExportNothingNew;
  } else {
    message = text::kExportCompletedBefore + written;
  }
  auto count = [&message](const char* what, std::size_t n) {
    if (n > 0) message += std::string("\n") + what + std::to_string(n) + text::kExportCount;
  };
  auto list = [&message](const std::vector<ExportNote>& notes) {
    for (std::size_t i = 0; i < notes.size() && i < kListedFiles; ++i) {
      message += "\n" + notes[i].source + "（" + notes[i].reason + "）";
    }
    if (notes.size() > kListedFiles) {
      message += "\n" + std::string(text::kExportMore) +
                 std::to_string(notes.size() - kListedFiles) + text::kExportCount;
    }
  };
  count(text::kExportConverted, static_cast<std::size_t>(result_.converted));
  count(text::kExportSame, result_.same.size());
  count(text::kExportNotReached, result_.notReached);
  count(text::kExportAsIs, result_.asIs.size());
  list(result_.asIs);
  if (!result_.failed.empty()) {
    message += std::string("\n") + text::kExportFailed;
    list(result_.failed);
  }
  message += std::string("\n") + text::kBackupFolder + destination_;
  context_.feedback.Tell(result_.failed.empty() ? MessageKind::Information : MessageKind::Warning,
                         message);
}

}  // namespace

std::string ExportFileName(std::string_view titleUtf8, std::string_view fileName) {
  const std::string stem = SafeStem(titleUtf8);
  if (stem.empty()) return std::string(fileName);
  return stem + std::string(ExtensionOf(fileName));
}

std::string ShotFileName(const LocalTime& shot, std::string_view fileName) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d-%02d-%02d", shot.year % 10000,
                shot.month % 100, shot.day % 100, shot.hour % 100, shot.minute % 100,
                shot.second % 100);
  return text + AsciiLower(ExtensionOf(fileName));
}

std::string ExportFolderName(int number, std::string_view titleUtf8) {
  const std::string stem = SafeStem(titleUtf8);
  const std::string digits = PadNumber(number, 3);
  return stem.empty() ? digits : digits + " " + stem;
}

std::string NumberedName(std::string_view name, int n) {
  const std::string_view extension = ExtensionOf(name);
  const std::string_view stem = name.substr(0, name.size() - extension.size());
  return std::string(stem) + " (" + std::to_string(n) + ")" + std::string(extension);
}

std::vector<ExportFile> PlanFolderExport(const FolderSlot& slot, MediaKind kind,
                                         const std::vector<int>& rows, const std::string& folder,
                                         TextCodec& codec) {
  const std::vector<const ItemRow*> items = VisibleItems(slot);
  std::vector<ExportFile> plan;
  for (int row : ChosenRows(rows, static_cast<int>(items.size()))) {
    const ItemRow& item = *items[static_cast<std::size_t>(row - 1)];
    plan.push_back({item.SourcePath(), folder,
                    ExportFileName(codec.ToUtf8(item.title), item.targetName),
                    kind == MediaKind::Movie});
  }
  return plan;
}

std::vector<ExportFile> PlanCameraExport(const CameraFolder& camera, const std::vector<int>& rows,
                                         const std::string& folder) {
  std::vector<ExportFile> plan;
  for (int row : ChosenRows(rows, static_cast<int>(camera.pictures.size()))) {
    const CameraPicture& picture = camera.pictures[static_cast<std::size_t>(row - 1)];
    plan.push_back({picture.path, folder, ShotFileName(picture.shot, picture.name), false});
  }
  return plan;
}

std::vector<ExportFile> PlanCardExport(const CardModel& model, const CameraArea& camera,
                                       const ExportParts& parts, const std::string& destination,
                                       TextCodec& codec) {
  std::vector<ExportFile> plan;
  for (MediaKind kind : kAllKinds) {
    if (!parts.kinds[IndexOf(kind)]) continue;
    const KindState& state = model.of(kind);
    const std::string kindFolder = JoinNativePath(destination, TraitsOf(kind).exportFolder);
    for (int n = 1; n <= state.folderCount(); ++n) {
      const FolderSlot& slot = state.folder(n);
      const std::string folder =
          JoinNativePath(kindFolder, ExportFolderName(n, codec.ToUtf8(slot.folderTitle)));
      std::vector<ExportFile> files = PlanFolderExport(slot, kind, {}, folder, codec);
      plan.insert(plan.end(), files.begin(), files.end());
    }
  }
  if (parts.camera) {
    const std::string cameraFolder = JoinNativePath(destination, kCameraFolder);
    for (const CameraFolder& folder : camera.folders) {
      std::vector<ExportFile> files =
          PlanCameraExport(folder, {}, JoinNativePath(cameraFolder, folder.name));
      plan.insert(plan.end(), files.begin(), files.end());
    }
  }
  return plan;
}

ExportResult RunExport(const std::vector<ExportFile>& plan, const std::string& destination,
                       const ExportOptions& options, ExportContext& context) {
  return ExportRun(destination, options, context).Run(plan);
}

}  // namespace sdmate
