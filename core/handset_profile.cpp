// The N901iS profile.
#include "core/handset_profile.h"

namespace sdmate {

HandsetProfile N901iSProfile() {
  HandsetProfile profile;
  profile.areas[0] = {"\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD#3F.TBL",
                      "\\PRIVATE\\DOCOMO\\STILL\\",
                      "STIL",
                      4,
                      {{".JPG", 102400}, {".GIF", 102400}},
                      // The standby screen shows baseline JPEG and GIF up to its own size.
                      {.formats = {"baseline-jpeg", "gif"}, .maxWidth = 240, .maxHeight = 320}};
  profile.areas[1] = {"\\PRIVATE\\DOCOMO\\TABLE\\RINGER\\RUD#3F.TBL",
                      "\\PRIVATE\\DOCOMO\\RINGER\\",
                      "RING",
                      4,
                      {{".CAM", 40960}, {".MID", 40960}, {".SMF", 40960}}};
  profile.areas[2] = {
      "\\PRIVATE\\DOCOMO\\TABLE\\SD_VIDEO\\PRL#3H.TBL",
      "\\SD_VIDEO\\",
      "MOL",
      3,
      {{".3GP", 307200}, {".SDV", 307200}, {".MP4", 307200}, {".ASF", 307200}, {".M4A", 307200}},
      // The player decodes MPEG-4 Visual Simple Profile and H.263 at up to QCIF and 15 frames a
      // second, with AMR-NB or AAC-LC sound or none.
      {.formats = {"3gp", "mp4"},
       .maxWidth = 176,
       .maxHeight = 144,
       .maxFramesPerSecond = 15,
       .video = {{"mpeg4", "Simple Profile"}, {"h263", ""}},
       .audio = {{"amr_nb", ""}, {"aac", "LC"}}}};
  profile.areas[3] = {"\\PRIVATE\\DOCOMO\\TABLE\\DCIM\\#3FNECDT.TBL",
                      "\\DCIM\\#3FNECDT\\",
                      "NEC_",
                      4,
                      {{".JPG", 102400}}};
  profile.areas[4] = {"\\PRIVATE\\DOCOMO\\TABLE\\DOCUMENT\\PUD#3F.TBL",
                      "\\PRIVATE\\DOCOMO\\DOCUMENT\\",
                      "PDFDC",
                      3,
                      {{".PDF", 307200}}};
  return profile;
}

std::string AreaRootOf(const ContentArea& area) {
  const std::string& directory = area.dataDirectory;
  const std::size_t field = directory.find('#');
  if (field == std::string::npos) return directory;
  const std::size_t part = directory.rfind('\\', field);
  return part == std::string::npos ? std::string() : directory.substr(0, part + 1);
}

}  // namespace sdmate
