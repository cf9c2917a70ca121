// Staging files of the computer as new items.
#include "import/stage_files.h"

namespace sdmate {

StageOutcome StageNewFile(CardModel&, MediaKind, int, const std::string&, Files&, TextCodec&,
                          Feedback&) {
  return StageOutcome::Declined;
}
bool PrepareAdd(const CardModel&, MediaKind, Files&, Feedback&) { return false; }
BatchResult AddFiles(CardModel&, MediaKind, int, const std::vector<std::string>&, Files&,
                     TextCodec&, Feedback&) {
  return {};
}
BatchResult DropFiles(CardModel&, MediaKind, int, const std::vector<std::string>&, Files&,
                      TextCodec&, Feedback&) {
  return {};
}
std::string DialogFilter(MediaKind) { return {}; }

}  // namespace sdmate
