// The drive check and the gauge's set-up.
#include "card/drive_check.h"

#include "card/card_messages.h"

namespace sdmate {

bool CheckDrive(char drive, Drives& drives, Feedback& feedback, bool askRemovable) {
  if (askRemovable && drives.TypeOf(drive) != DriveType::Removable) {
    if (feedback.Ask(MessageKind::Warning, text::kNotRemovableQuestion, Buttons::YesNo) !=
        Answer::Yes) {
      return false;
    }
  }
  if (drives.TotalBytes(drive) < 0) {
    feedback.Tell(MessageKind::Error, text::kInsertCard);
    return false;
  }
  return true;
}

void SetUpGauge(DiskGauge& gauge, char drive, Drives& drives) {
  const std::int64_t total = drives.TotalBytes(drive);
  gauge.SetMaximum(total);
  // The gauge clamps a position outside 0 .. maximum (an unreadable free space among them).
  gauge.SetPosition(total - drives.FreeBytes(drive));
}

}  // namespace sdmate
