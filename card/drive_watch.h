// Cards that come and go while the program runs: whether a drive holds the handset's folders,
// whether the loaded card is still there, and the eject that makes a card safe to pull out.
#pragma once

#include "core/feedback.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace sdmate {

// A table or data folder of any kind on the drive: a card the handset wrote.
bool HoldsHandsetFolders(char drive, Files& files);

// The drive still has a letter and its root can be read.
bool DrivePresent(char drive, Drives& drives, Files& files);

// Flushes, unmounts and powers off the drive, and tells the user whether the card may be
// pulled out now, or why not. unsavedEdits: edits not yet written to this card are there, and
// the user is asked first (No keeps the card). True when the card was ejected.
bool EjectDrive(char drive, bool unsavedEdits, Drives& drives, Feedback& feedback);

}  // namespace sdmate
