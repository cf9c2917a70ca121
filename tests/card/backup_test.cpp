// Backup of the handset's areas into a folder named by the session's clock.
#include <gtest/gtest.h>

#include "card/card_messages.h"
#include "platform/native_path.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

constexpr const char* kDone = "バックアップが完了しました\n保存先：";
constexpr const char* kPartial =
    "いくつかのデータがバックアップできなかった可能性があります\n保存先：";
constexpr LocalTime kTime{2024, 1, 2, 3, 4, 5};
constexpr const char* kStamp = "20240102-030405";  // the folder made at kTime

void FillCard(CardRig& rig, bool withCamera) {
  rig.card.Folder(MediaKind::Image, 1, "i", {{.name = "STIL0001.JPG"}});
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}});
  if (withCamera) rig.card.File("DCIM/100NEC/NEC_0001.JPG", "camera");
  rig.card.File("OTHER/not-copied.txt", "x");
}

// The backup button at kTime, into root (the default folder when root is empty).
BackupResult BackUp(CardRig& rig, const fs::path& root) {
  rig.clock.Set(kTime);
  return rig.session.Backup(CardRig::kDrive, root.empty() ? std::string() : Utf8(root));
}

TEST(BackupTest, CopiesTheThreeAreasIntoTheStampedFolder) {
  CardRig rig;
  FillCard(rig, true);
  rig.session.SetBackupAdvice(true);
  const fs::path root = rig.base() / "BackUp";
  BackupResult result = BackUp(rig, root);
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(result.folder, JoinNativePath(Utf8(root / kStamp), ""));
  auto copied = SnapshotTree(root / kStamp);
  auto card = SnapshotTree(rig.cardRoot());
  card.erase("OTHER/not-copied.txt");
  EXPECT_EQ(copied, card);
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kDone + result.folder});
  EXPECT_EQ(rig.feedback.shown[0].kind, MessageKind::Information);
  EXPECT_EQ(rig.feedback.statuses, (std::vector<std::string>{"データのバックアップ中...", ""}));
  EXPECT_EQ(rig.feedback.busyDepth, 0);
  EXPECT_FALSE(rig.session.backupAdvice());
  // Copies keep the files' times.
  EXPECT_EQ(fs::last_write_time(root / kStamp / "DCIM/100NEC/NEC_0001.JPG"),
            fs::last_write_time(rig.Native("DCIM/100NEC/NEC_0001.JPG")));
}

TEST(BackupTest, WithoutAFolderTheBackupGoesIntoBackUpBesideTheProgram) {
  CardRig rig;
  FillCard(rig, true);
  fs::create_directories(PathFromUtf8(rig.session.places().programDirectory));
  BackupResult result = BackUp(rig, {});
  EXPECT_TRUE(result.complete);
  const fs::path folder = PathFromUtf8(rig.session.places().programDirectory) / "BackUp" / kStamp;
  EXPECT_EQ(result.folder, JoinNativePath(Utf8(folder), ""));
  EXPECT_EQ(ReadBytes(folder / "SD_VIDEO/PRL001/MOL001.3GP"),
            CardBuilder::DefaultContent("MOL001.3GP"));
}

// An installed program's folder cannot be written: the backup goes into the user's data
// folder, and the window's completion asks whether to open it.
TEST(BackupTest, AnUnwritableProgramFolderSendsTheBackupToTheDataFolder) {
  CardRig rig;
  FillCard(rig, true);
  const fs::path program = PathFromUtf8(rig.session.places().programDirectory);
  fs::create_directories(program);
  ReadOnlyDirectory locked(program);
  if (!locked.effective()) GTEST_SKIP() << "the folder cannot be made read-only here";
  const fs::path data = PathFromUtf8(rig.session.places().dataDirectory);
  EXPECT_EQ(rig.session.DefaultBackupRoot(), Utf8(data / "BackUp"));

  rig.clock.Set(kTime);
  rig.feedback.answers = {Answer::Yes, Answer::No};
  const BackupResult result = rig.session.Backup(CardRig::kDrive, {}, true);
  EXPECT_TRUE(result.complete);
  EXPECT_TRUE(result.open);
  EXPECT_EQ(result.folder, JoinNativePath(Utf8(data / "BackUp" / kStamp), ""));
  EXPECT_EQ(ReadBytes(data / "BackUp" / kStamp / "DCIM/100NEC/NEC_0001.JPG"), "camera");
  EXPECT_FALSE(fs::exists(program / "BackUp"));
  ASSERT_EQ(rig.feedback.shown.size(), 1U);
  EXPECT_EQ(rig.feedback.shown[0].kind, MessageKind::Confirmation);
  EXPECT_EQ(rig.feedback.shown[0].buttons, Buttons::YesNo);
  EXPECT_EQ(rig.feedback.shown[0].text,
            kDone + result.folder + "\n\n保存先のフォルダを開きますか？");

  EXPECT_FALSE(rig.session.Backup(CardRig::kDrive, {}, true).open);
}

// An installed program (its installer's uninstaller beside it) keeps its backups in the user's
// data folder even when its own folder could be written (an administrator's run).
TEST(BackupTest, AnInstalledProgramBacksUpIntoTheDataFolderEvenWhereItsFolderIsWritable) {
  CardRig rig;
  Places places = rig.session.places();
  fs::create_directories(PathFromUtf8(places.programDirectory));
  ASSERT_EQ(rig.session.DefaultBackupRoot(), JoinNativePath(places.programDirectory, "BackUp"));
  places.installed = true;
  CardSession installed(
      SessionServices{rig.files, rig.drives, *rig.codec, rig.clock, rig.feedback, places});
  EXPECT_EQ(installed.DefaultBackupRoot(), JoinNativePath(places.dataDirectory, "BackUp"));
}

TEST(BackupTest, CardWithoutCameraAreaEndsWithTheWarning) {
  CardRig rig;
  FillCard(rig, false);
  const fs::path root = rig.base() / "BackUp";
  BackupResult result = BackUp(rig, root);
  EXPECT_FALSE(result.complete);
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kPartial + result.folder});
  EXPECT_EQ(rig.feedback.shown[0].kind, MessageKind::Warning);
  EXPECT_TRUE(fs::exists(root / kStamp / "SD_VIDEO/PRL001/MOL001.3GP"));
  EXPECT_EQ(rig.feedback.statuses.back(), "");
}

TEST(BackupTest, FailedCopyWarnsEvenWhenTheAreasExist) {
  CardRig rig;
  FillCard(rig, true);
  rig.files.failPathContaining = "SD_VIDEO";
  const fs::path root = rig.base() / "BackUp";
  // The area's folder exists from an earlier backup in the same second.
  fs::create_directories(root / kStamp / "SD_VIDEO");
  const BackupResult result = BackUp(rig, root);
  EXPECT_FALSE(result.complete);
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kPartial + result.folder});
}

TEST(BackupTest, TwoBackupsInOneSecondGetTwoFolders) {
  CardRig rig;
  FillCard(rig, true);
  const fs::path root = rig.base() / "BackUp";
  BackUp(rig, root);
  const auto first = SnapshotTree(root / kStamp);
  rig.card.File("PRIVATE/DOCOMO/extra.bin", "later");
  BackupResult second = BackUp(rig, root);
  EXPECT_TRUE(second.complete);
  EXPECT_EQ(second.folder, JoinNativePath(Utf8(root / (std::string(kStamp) + "-2")), ""));
  EXPECT_EQ(SnapshotTree(root / kStamp), first);
  EXPECT_EQ(ReadBytes(root / (std::string(kStamp) + "-2") / "PRIVATE/DOCOMO/extra.bin"), "later");
}

TEST(BackupTest, ABackupIntoTheCardIsRefusedAndTheCardUntouched) {
  CardRig rig;
  FillCard(rig, true);
  const CardState before = StateOf(rig.cardRoot());
  std::vector<fs::path> destinations = {rig.cardRoot() / "PRIVATE" / "BK"};
#ifndef _WIN32
  // Also when the way in is a link beside the card.
  fs::create_directory_symlink(rig.cardRoot() / "PRIVATE", rig.base() / "link");
  destinations.push_back(rig.base() / "link" / "BK");
#endif
  for (const fs::path& destination : destinations) {
    rig.feedback.shown.clear();
    const BackupResult result = rig.session.Backup(CardRig::kDrive, Utf8(destination));
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(rig.feedback.Texts(),
              std::vector<std::string>{text::kBackupOnCard + Utf8(destination)});
    EXPECT_EQ(StateOf(rig.cardRoot()), before);
  }
}

TEST(BackupTest, NextLoadAfterABackupGivesNoAdvice) {
  CardRig rig;
  FillCard(rig, true);
  rig.session.SetBackupAdvice(true);
  BackUp(rig, rig.base() / "BackUp");
  rig.feedback.shown.clear();
  rig.Load();
  EXPECT_TRUE(rig.feedback.shown.empty());
}

}  // namespace
}  // namespace sdmate::test
