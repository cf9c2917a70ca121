// Fitting files as they are staged: the decision from the handset's play rule, and the fitter's
// run with the status, progress and warnings the user sees.
#include "import/fit_files.h"

#include <algorithm>

#include "core/ascii.h"
#include "core/card_layout.h"
#include "import/handset_play.h"
#include "import/import_messages.h"
#include "platform/native_path.h"
#include "platform/scratch_folder.h"

namespace sdmate {
namespace {

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

bool IsPicture(Content content) { return content >= Content::Jpeg && content <= Content::Heif; }

}  // namespace

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

bool FileFitting::WouldTake(MediaKind kind, std::string_view name, Content content) {
  const std::vector<std::string>& extensions = FittedExtensions(kind);
  if (!CanFit(kind) || On(kind) ||
      std::find(extensions.begin(), extensions.end(), AsciiUpper(ExtensionOf(name))) ==
          extensions.end()) {
    return false;
  }
  if (kind == MediaKind::Image) return IsPicture(content);
  return services_.movies->Available();
}

void FileFitting::ShowProgress(int percent, Feedback& feedback) const {
  const int total = std::max(1, total_);
  feedback.Progress(((number_ - 1) * 100 + std::clamp(percent, 0, 99)) / total, 100);
}

void FileFitting::ShowStatus(const std::string& path, Feedback& feedback) const {
  feedback.Status(text::kFittingStatusBefore + std::to_string(number_) + "/" +
                  std::to_string(total_) + text::kFittingStatusAfter + FileName(path));
}

bool FileFitting::MovieToolsThere(Feedback& feedback) {
  if (services_.movies->Available()) return true;
  if (!movieToolsTold_) feedback.Tell(MessageKind::Warning, text::kMovieToolsMissing);
  movieToolsTold_ = true;
  return false;
}

PreparedFile FileFitting::Prepare(MediaKind kind, const std::string& path, std::int64_t size,
                                  const Identified& identified, Files& files, Feedback& feedback) {
  if (!On(kind)) return {};
  const std::string name = FileName(path);
  if (kind == MediaKind::Image) {
    if (!IsPicture(identified.content)) {
      feedback.Tell(MessageKind::Warning, NotFitted(path, text::kNotAPicture));
      return {PreparedFile::What::Failed, {}};
    }
    // What the handset shows goes as it is, byte for byte. A picture within the limit is read
    // whole: a JPEG's frame header may come after a large EXIF block.
    const FileTypeRule* rule = RuleFor(kind, name);
    if (rule != nullptr && size <= rule->maxBytes) {
      const std::optional<std::string> bytes = files.ReadFile(path);
      if (bytes && PictureRefusal(kind, name, size, identified, *bytes).empty()) return {};
    }
    return FitPicture(path, files, feedback);
  }
  if (!MovieToolsThere(feedback)) return {};
  // Only a movie of the handset's own types within its limit is worth asking the probe.
  const FileTypeRule* rule = RuleFor(kind, name);
  if (rule != nullptr && size <= rule->maxBytes &&
      MovieRefusal(kind, name, size, identified, services_.movies->Probe(path)).empty()) {
    return {};
  }
  return FitMovie(path, files, feedback);
}

PreparedFile FileFitting::FitPicture(const std::string& path, Files& files, Feedback& feedback) {
  const std::string folder = services_.folder != nullptr ? services_.folder->NewFolder() : "";
  if (folder.empty())
    return Checked(MediaKind::Image, path, {{}, text::kNoScratchFolder}, files, feedback);
  ShowStatus(path, feedback);
  // The progress dialog shows the status with its next step.
  ShowProgress(0, feedback);
  const PlayRule& play = AreaOf(MediaKind::Image).play;
  PictureLimits limits;
  limits.maxBytes = FittedLimit(MediaKind::Image);
  if (!play.empty()) {
    limits.maxWidth = play.maxWidth;
    limits.maxHeight = play.maxHeight;
  }
  const FitResult result = services_.pictures->Fit(path, limits, folder);
  feedback.Status({});
  return Checked(MediaKind::Image, path, result, files, feedback);
}

PreparedFile FileFitting::FitMovie(const std::string& path, Files& files, Feedback& feedback) {
  const std::string folder = services_.folder != nullptr ? services_.folder->NewFolder() : "";
  if (folder.empty())
    return Checked(MediaKind::Movie, path, {{}, text::kNoScratchFolder}, files, feedback);
  ShowStatus(path, feedback);
  // The progress dialog shows the status with its next step.
  ShowProgress(0, feedback);
  const PlayRule& play = AreaOf(MediaKind::Movie).play;
  MovieLimits limits;
  limits.maxBytes = FittedLimit(MediaKind::Movie);
  if (!play.empty()) {
    limits.width = play.maxWidth;
    limits.height = play.maxHeight;
    limits.framesPerSecond = play.maxFramesPerSecond;
  }
  // The progress dialog counts per cent of the batch.
  const FitResult result = services_.movies->Fit(
      path, limits, folder,
      [this, &feedback](int done, int total) {
        if (total > 0) ShowProgress(static_cast<int>(std::int64_t{done} * 100 / total), feedback);
      },
      [&feedback] { return feedback.Cancelled(); });
  feedback.Status({});
  return Checked(MediaKind::Movie, path, result, files, feedback);
}

PreparedFile FileFitting::Checked(MediaKind kind, const std::string& path, const FitResult& result,
                                  Files& files, Feedback& feedback) {
  if (result.stopped) return {PreparedFile::What::Stopped, {}};
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

std::optional<std::string> HighestQualityJpeg(
    const PictureLimits& limits, const std::function<std::optional<std::string>(int)>& encode,
    bool& failed) {
  auto fits = [&](const std::optional<std::string>& jpeg) {
    if (!jpeg) failed = true;
    return jpeg && static_cast<std::int64_t>(jpeg->size()) <= limits.maxBytes;
  };
  std::optional<std::string> best = encode(100);
  if (fits(best)) return best;
  if (failed) return std::nullopt;
  best = encode(limits.minQuality);
  if (!fits(best)) return std::nullopt;
  int low = limits.minQuality;  // fits
  int high = 100;               // does not
  while (high - low > 1) {
    const int middle = (low + high) / 2;
    std::optional<std::string> jpeg = encode(middle);
    if (fits(jpeg)) {
      low = middle;
      best = std::move(jpeg);
    } else {
      if (failed) return std::nullopt;
      high = middle;
    }
  }
  return best;
}

}  // namespace sdmate
