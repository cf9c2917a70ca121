// A time-stamped copy of the handset's three areas of the card.
#pragma once

#include <string>

#include "core/feedback.h"
#include "platform/files.h"

namespace sdmate {

struct BackupResult {
  std::string folder;     // the backup folder (native), with its trailing separator
  bool complete = false;  // all three areas copied
  bool open = false;      // the user asked to see the folder
};

// Copies PRIVATE, SD_VIDEO and DCIM of the drive into backupRoot/<stamp>/ (backupRoot is the
// "BackUp" folder beside the program in the window). The completion message names the folder;
// with offerToOpen it asks whether to open it. Clears backupAdvice.
BackupResult BackupCard(char drive, const std::string& backupRoot, const std::string& stamp,
                        bool& backupAdvice, Files& files, Feedback& feedback,
                        bool offerToOpen = false);

}  // namespace sdmate
