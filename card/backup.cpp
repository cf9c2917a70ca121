// Backup: the handset's three areas of the card copied into a time-stamped folder of the
// computer.
#include "card/backup.h"

#include <array>

#include "card/card_messages.h"
#include "core/card_layout.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

constexpr std::array<const char*, 3> kAreas = {"PRIVATE", "SD_VIDEO", "DCIM"};

}  // namespace

BackupResult BackupCard(char drive, const std::string& backupRoot, const std::string& stamp,
                        bool& backupAdvice, Files& files, Feedback& feedback, bool offerToOpen) {
  BackupResult result;
  {
    Feedback::BusyGuard busy = feedback.Busy();
    feedback.Status(text::kBackupStatus);
    // Two backups in one second get two folders.
    std::string name = stamp;
    for (int n = 2; files.Exists(JoinNativePath(backupRoot, name)); ++n) {
      name = stamp + "-" + std::to_string(n);
    }
    result.folder = JoinNativePath(JoinNativePath(backupRoot, name), "");
    // A folder that cannot be made is not reported by itself: the copies fail, and the check
    // of the three areas below decides.
    files.MakeDirectories(result.folder);
    bool copiedAll = true;
    int done = 0;
    for (const char* area : kAreas) {
      copiedAll = files.ShellCopy(CardRoot(drive) + area, result.folder + area) && copiedAll;
      feedback.Progress(++done, static_cast<int>(kAreas.size()));
    }
    bool present = true;
    for (const char* area : kAreas) present = files.IsDirectory(result.folder + area) && present;
    result.complete = copiedAll && present;
    const std::string where = std::string("\n") + text::kBackupFolder + result.folder;
    const std::string completed = text::kBackupCompleted + where;
    if (result.complete && offerToOpen) {
      result.open =
          feedback.Ask(MessageKind::Confirmation, completed + "\n\n" + text::kOpenBackupFolder,
                       Buttons::YesNo) == Answer::Yes;
    } else if (result.complete) {
      feedback.Tell(MessageKind::Information, completed);
    } else {
      feedback.Tell(MessageKind::Warning, text::kBackupIncomplete + where);
    }
    feedback.Status("");
  }
  backupAdvice = false;
  return result;
}

}  // namespace sdmate
