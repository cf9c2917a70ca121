// Backup.
#include "card/backup.h"

namespace sdmate {

BackupResult BackupCard(char, const std::string&, const std::string&, bool&, Files&, Feedback&) {
  return {};
}

}  // namespace sdmate
