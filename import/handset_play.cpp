// The play rules of the handset profile applied to a picture's header and a movie's streams.
#include "import/handset_play.h"

#include <algorithm>
#include <cmath>

#include "core/card_layout.h"
#include "import/import_messages.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

int BigEndian16(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) << 8 | static_cast<unsigned char>(bytes[at + 1]);
}

int LittleEndian16(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

// The first frame header of a JPEG, found by walking its segments.
PictureShape JpegShape(std::string_view bytes) {
  PictureShape shape;
  std::size_t at = 2;
  while (at + 4 <= bytes.size()) {
    if (static_cast<unsigned char>(bytes[at]) != 0xFF) return shape;
    const auto marker = static_cast<unsigned char>(bytes[at + 1]);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    // Markers without a segment: TEM and the restart markers.
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      at += 2;
      continue;
    }
    // The picture's data begins before any frame header: not a picture.
    if (marker == 0xDA || marker == 0xD9) return shape;
    const int length = BigEndian16(bytes, at + 2);
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 8 || at + 9 > bytes.size()) return shape;
      shape.read = true;
      // Baseline: sequential Huffman coding of 8-bit samples.
      shape.baseline = marker == 0xC0 && static_cast<unsigned char>(bytes[at + 4]) == 8;
      shape.height = BigEndian16(bytes, at + 5);
      shape.width = BigEndian16(bytes, at + 7);
      return shape;
    }
    if (length < 2) return shape;
    at += 2 + static_cast<std::size_t>(length);
  }
  return shape;
}

std::string Size(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// The codec with its profile in a reason: "h264 (High)".
std::string CodecText(const std::string& codec, const std::string& profile) {
  return profile.empty() || profile == "unknown" ? codec : codec + " (" + profile + ")";
}

bool Allowed(const std::vector<CodecRule>& rules, const std::string& codec,
             const std::string& profile) {
  return std::any_of(rules.begin(), rules.end(), [&](const CodecRule& rule) {
    return rule.codec == codec && (rule.profile.empty() || rule.profile == profile);
  });
}

bool Listed(const std::vector<std::string>& formats, std::string_view format) {
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

// The rule of the name's type and its size limit; the reason when it has none or is over it.
std::string TypeAndSize(MediaKind kind, std::string_view name, std::int64_t size) {
  const FileTypeRule* rule = RuleFor(kind, name);
  if (rule == nullptr) return text::kPlayWrongType;
  if (size > rule->maxBytes) return text::kPlayTooLarge;
  return {};
}

}  // namespace

PictureShape ReadPictureShape(Content content, std::string_view bytes) {
  if (content == Content::Jpeg) return JpegShape(bytes);
  PictureShape shape;
  if (content == Content::Gif && bytes.size() >= 10) {
    shape.read = true;
    shape.width = LittleEndian16(bytes, 6);
    shape.height = LittleEndian16(bytes, 8);
  }
  return shape;
}

std::string PictureRefusal(MediaKind kind, std::string_view name, std::int64_t size,
                           const Identified& identified, std::string_view bytes) {
  const PlayRule& play = AreaOf(kind).play;
  if (std::string reason = TypeAndSize(kind, name, size); !reason.empty()) return reason;
  if (play.empty()) return {};
  if (identified.content != Content::Jpeg && identified.content != Content::Gif) {
    return ContentNoun(identified.content) + std::string(text::kPlayNotShown);
  }
  const PictureShape shape = ReadPictureShape(identified.content, bytes);
  if (!shape.read) return text::kPlayNoPictureSize;
  const char* format = identified.content == Content::Gif ? "gif"
                       : shape.baseline                   ? "baseline-jpeg"
                                                          : "jpeg";
  if (!Listed(play.formats, format)) return text::kPlayNotBaseline;
  if (shape.width > play.maxWidth || shape.height > play.maxHeight) {
    return text::kPlayPictureSize + Size(shape.width, shape.height) + text::kPlayOver +
           Size(play.maxWidth, play.maxHeight) + text::kPlayOverEnd;
  }
  return {};
}

std::string MovieRefusal(MediaKind kind, std::string_view name, std::int64_t size,
                         const Identified& identified, const MovieStreams& streams) {
  const PlayRule& play = AreaOf(kind).play;
  if (std::string reason = TypeAndSize(kind, name, size); !reason.empty()) return reason;
  if (play.empty()) return {};
  const char* format = identified.Is3gp() ? "3gp" : identified.IsMp4() ? "mp4" : "";
  if (!Listed(play.formats, format)) {
    return ContentNoun(identified.content) + std::string(text::kPlayNotPlayed);
  }
  if (!streams.read()) return streams.reason;
  if (streams.videoStreams + streams.audioStreams == 0) return text::kPlayNoStreams;
  if (streams.videoStreams > 1 || streams.audioStreams > 1) return text::kPlayManyStreams;
  if (streams.videoStreams == 1) {
    if (!Allowed(play.video, streams.video, streams.videoProfile)) {
      return text::kPlayVideo + CodecText(streams.video, streams.videoProfile) +
             text::kPlayNotPlayed;
    }
    if (streams.width > play.maxWidth || streams.height > play.maxHeight) {
      return text::kPlayVideo + Size(streams.width, streams.height) + text::kPlayOver +
             Size(play.maxWidth, play.maxHeight) + text::kPlayOverEnd;
    }
    // Rates such as 15000/1001 count as 15.
    if (std::round(streams.framesPerSecond) > play.maxFramesPerSecond) {
      return text::kPlayVideo +
             std::to_string(static_cast<int>(std::lround(streams.framesPerSecond))) +
             text::kPlayFps + text::kPlayOver + std::to_string(play.maxFramesPerSecond) +
             text::kPlayFps + text::kPlayOverEnd;
    }
  }
  if (streams.audioStreams == 1 && !Allowed(play.audio, streams.audio, streams.audioProfile)) {
    return text::kPlayAudio + CodecText(streams.audio, streams.audioProfile) + text::kPlayNotPlayed;
  }
  return {};
}

HandsetVerdict JudgeFile(MediaKind kind, const std::string& path, Files& files,
                         MovieFitter* movies) {
  const std::int64_t size = files.FileSizeOf(path);
  const std::optional<std::string> head =
      size < 0 ? std::nullopt : files.ReadFile(path, kContentHeadBytes);
  if (!head) return {true, false, text::kPlayUnreadable};
  const std::string name = SplitNativePath(path).name;
  const Identified identified = IdentifyContent(*head);
  const Content named = ContentNamed(ExtensionOf(name));
  if (named != Content::Unknown && !NameFits(ExtensionOf(name), identified.content)) {
    return {true, false,
            text::kPlayNotWhatNamed + std::string(ContentNoun(named)) + text::kPlayNotWhatNamedEnd};
  }
  std::string reason;
  if (kind == MediaKind::Movie) {
    reason = TypeAndSize(kind, name, size);
    if (reason.empty() && !AreaOf(kind).play.empty()) {
      if (movies == nullptr || !movies->Available()) return {false, false, text::kPlayNoProbe};
      reason = MovieRefusal(kind, name, size, identified, movies->Probe(path));
    }
  } else if (kind == MediaKind::Image) {
    reason = TypeAndSize(kind, name, size);
    if (reason.empty()) {
      const std::optional<std::string> bytes = files.ReadFile(path);
      reason = bytes ? PictureRefusal(kind, name, size, identified, *bytes)
                     : std::string(text::kPlayUnreadable);
    }
  } else {
    reason = TypeAndSize(kind, name, size);
  }
  return {true, reason.empty(), reason};
}

}  // namespace sdmate
