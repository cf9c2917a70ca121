// The card check and the gauge's set-up.
#include "card/card_check.h"

namespace sdmate {

int DriveNumberOf(std::string_view path) {
  if (path.empty()) return 0;
  char c = path[0];
  if (c >= 'a' && c <= 'z') return c - 'a' + 1;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  return 0;
}

bool CheckCard(char drive, Drives& drives, Feedback& feedback, bool askRemovable) {
  if (askRemovable && drives.TypeOf(drive) != DriveType::Removable) {
    Answer answer = feedback.Ask(
        MessageKind::Warning,
        "選択したドライブはSDメモリカードドライブで無い可能性があります．\n処理を継続しますか？",
        Buttons::YesNo);
    if (answer != Answer::Yes) return false;
  }
  if (drives.TotalBytes(drive) < 0) {
    feedback.Tell(MessageKind::Error, "ドライブにSDメモリカードを挿入してください．");
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
