// Cards inserted, pulled out and ejected.
#include "card/drive_watch.h"

#include "card/card_messages.h"
#include "core/card_layout.h"

namespace sdmate {

bool HoldsHandsetFolders(char drive, Files& files) {
  for (MediaKind kind : kAllKinds) {
    if (files.IsDirectory(TableDirectory(drive, kind)) ||
        files.IsDirectory(CardDataDirectory(drive, kind)))
      return true;
  }
  return false;
}

bool DrivePresent(char drive, Drives& drives, Files& files) {
  return drives.NativePathOf(CardRoot(drive)).has_value() && files.IsDirectory(CardRoot(drive));
}

bool EjectDrive(char drive, bool unsavedEdits, Drives& drives, Feedback& feedback) {
  if (unsavedEdits &&
      feedback.Ask(MessageKind::Confirmation, text::kEjectUnsaved, Buttons::YesNo) != Answer::Yes)
    return false;
  EjectResult result;
  {
    Feedback::BusyGuard busy = feedback.Busy();
    feedback.Status(text::kEjectStatus);
    result = drives.Eject(drive);
    feedback.Status("");
  }
  if (result.ejected) {
    feedback.Tell(MessageKind::Information, text::kEjected);
  } else if (!result.removable) {
    feedback.Tell(MessageKind::Warning, text::kNotEjectable);
  } else {
    std::string why = text::kEjectFailed;
    if (!result.detail.empty()) why += "\n" + result.detail;
    feedback.Tell(MessageKind::Error, why);
  }
  return result.ejected;
}

}  // namespace sdmate
