// Fitting files as they are staged: the decision from the file's type, size and first bytes, and
// the fitter's run with the status, progress and warnings the user sees.
#include "import/fit_files.h"

#include <algorithm>

#include "core/ascii.h"
#include "core/card_layout.h"
#include "import/import_messages.h"
#include "platform/native_path.h"
#include "platform/scratch_folder.h"

namespace sdmate {
namespace {

// The bytes SniffPicture needs to tell every type apart.
constexpr std::size_t kHeadBytes = 16;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string FileName(const std::string& path) { return SplitNativePath(path).name; }

std::string NotFitted(const std::string& path, std::string_view reason) {
  std::string message = std::string(text::kNotFitted) + text::kSkipped + path;
  if (!reason.empty()) message += "\n\n" + std::string(reason);
  return message;
}

// The limit of the type a fitting makes: ".JPG" for pictures, ".3GP" for movies.
std::int64_t FittedLimit(MediaKind kind) {
  const FileTypeRule* rule = RuleFor(kind, kind == MediaKind::Image ? "x.JPG" : "x.3GP");
  return rule != nullptr ? rule->maxBytes : 0;
}

}  // namespace

PictureType SniffPicture(std::string_view head) {
  if (StartsWith(head, "\xFF\xD8\xFF")) return PictureType::Jpeg;
  if (StartsWith(head, "GIF87a") || StartsWith(head, "GIF89a")) return PictureType::Gif;
  if (StartsWith(head, "\x89PNG\r\n\x1A\n")) return PictureType::Png;
  if (StartsWith(head, "BM")) return PictureType::Bmp;
  if (StartsWith(head, std::string_view("II*\0", 4)) ||
      StartsWith(head, std::string_view("MM\0*", 4))) {
    return PictureType::Tiff;
  }
  if (StartsWith(head, "RIFF") && head.substr(8, 4) == "WEBP") return PictureType::Webp;
  if (head.size() >= 12 && head.substr(4, 4) == "ftyp") {
    static constexpr std::array<std::string_view, 9> kBrands = {
        "heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1", "avif"};
    const std::string_view brand = head.substr(8, 4);
    if (std::find(kBrands.begin(), kBrands.end(), brand) != kBrands.end()) {
      return PictureType::Heif;
    }
  }
  return PictureType::Unknown;
}

const std::vector<std::string>& FittedExtensions(MediaKind kind) {
  static const std::vector<std::string> kPictures = {".JPG",  ".GIF",  ".JPEG", ".JPE",  ".JFIF",
                                                     ".PNG",  ".BMP",  ".TIF",  ".TIFF", ".WEBP",
                                                     ".HEIC", ".HEIF", ".AVIF"};
  static const std::vector<std::string> kMovies = {
      ".3GP", ".SDV",  ".MP4", ".ASF",  ".M4A", ".3G2", ".M4V", ".MOV", ".AVI",
      ".MKV", ".WEBM", ".MPG", ".MPEG", ".WMV", ".FLV", ".TS",  ".MTS", ".M2TS"};
  static const std::vector<std::string> kNone;
  switch (kind) {
    case MediaKind::Image:
      return kPictures;
    case MediaKind::Movie:
      return kMovies;
    case MediaKind::Document:
      break;
  }
  return kNone;
}

bool FileFitting::CanFit(MediaKind kind) const {
  switch (kind) {
    case MediaKind::Image:
      return services_.pictures != nullptr;
    case MediaKind::Movie:
      return services_.movies != nullptr;
    case MediaKind::Document:
      break;
  }
  return false;
}

bool FileFitting::Takes(MediaKind kind, std::string_view name, Feedback& feedback) {
  const std::vector<std::string>& extensions = FittedExtensions(kind);
  if (!On(kind) || std::find(extensions.begin(), extensions.end(), AsciiUpper(ExtensionOf(name))) ==
                       extensions.end()) {
    return false;
  }
  return kind != MediaKind::Movie || MovieToolsThere(feedback);
}

bool FileFitting::MovieToolsThere(Feedback& feedback) {
  if (services_.movies->Available()) return true;
  if (!movieToolsTold_) feedback.Tell(MessageKind::Warning, text::kMovieToolsMissing);
  movieToolsTold_ = true;
  return false;
}

PreparedFile FileFitting::Prepare(MediaKind kind, const std::string& path, std::int64_t size,
                                  Files& files, Feedback& feedback) {
  if (!On(kind)) return {};
  const FileTypeRule* rule = RuleFor(kind, FileName(path));
  const bool withinLimit = rule != nullptr && size <= rule->maxBytes;
  if (kind == MediaKind::Image) {
    const PictureType type = SniffPicture(files.ReadFile(path, kHeadBytes).value_or(""));
    // The handset shows a JPEG or GIF within its limit: the file goes as it is, byte for byte.
    const PictureType ruleType =
        rule != nullptr && rule->extension == ".GIF" ? PictureType::Gif : PictureType::Jpeg;
    if (withinLimit && type == ruleType) return {};
    if (type == PictureType::Unknown) {
      feedback.Tell(MessageKind::Warning, NotFitted(path, text::kNotAPicture));
      return {PreparedFile::What::Failed, {}};
    }
    return FitPicture(path, files, feedback);
  }
  if (withinLimit || !MovieToolsThere(feedback)) return {};
  return FitMovie(path, files, feedback);
}

PreparedFile FileFitting::FitPicture(const std::string& path, Files& files, Feedback& feedback) {
  const std::string folder = services_.folder != nullptr ? services_.folder->NewFolder() : "";
  if (folder.empty())
    return Checked(MediaKind::Image, path, {{}, text::kNoScratchFolder}, files, feedback);
  feedback.Status(text::kFittingStatus + FileName(path));
  PictureLimits limits;
  limits.maxBytes = FittedLimit(MediaKind::Image);
  const FitResult result = services_.pictures->Fit(path, limits, folder);
  feedback.Status({});
  return Checked(MediaKind::Image, path, result, files, feedback);
}

PreparedFile FileFitting::FitMovie(const std::string& path, Files& files, Feedback& feedback) {
  const std::string folder = services_.folder != nullptr ? services_.folder->NewFolder() : "";
  if (folder.empty())
    return Checked(MediaKind::Movie, path, {{}, text::kNoScratchFolder}, files, feedback);
  feedback.Status(text::kFittingStatus + FileName(path));
  MovieLimits limits;
  limits.maxBytes = FittedLimit(MediaKind::Movie);
  // The progress dialog counts per cent.
  const FitResult result =
      services_.movies->Fit(path, limits, folder, [&feedback](int done, int total) {
        if (total > 0) {
          feedback.Progress(static_cast<int>(std::int64_t{done} * 100 / total), 100);
        }
      });
  // A progress at its end closes the progress dialog.
  feedback.Progress(1, 1);
  feedback.Status({});
  return Checked(MediaKind::Movie, path, result, files, feedback);
}

PreparedFile FileFitting::Checked(MediaKind kind, const std::string& path, const FitResult& result,
                                  Files& files, Feedback& feedback) {
  if (!result.fitted()) {
    feedback.Tell(MessageKind::Warning, NotFitted(path, result.reason));
    return {PreparedFile::What::Failed, {}};
  }
  const std::int64_t size = files.FileSizeOf(result.path);
  if (size <= 0 || size > FittedLimit(kind)) {
    feedback.Tell(MessageKind::Warning, NotFitted(path, text::kFittedTooLarge));
    return {PreparedFile::What::Failed, {}};
  }
  return {PreparedFile::What::Fitted, result.path};
}

void FileFitting::Clear() {
  if (services_.folder != nullptr) services_.folder->Clear();
}

}  // namespace sdmate
