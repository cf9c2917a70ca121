// Backup of the handset's areas into a folder named by the session's clock.
#include <gtest/gtest.h>

#include "platform/native_path.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

constexpr const char* kDone = "バックアップが完了しました";
constexpr const char* kPartial = "いくつかのデータがバックアップできなかった可能性があります";
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
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kDone});
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
  BackupResult result = BackUp(rig, {});
  EXPECT_TRUE(result.complete);
  const fs::path folder = PathFromUtf8(rig.session.places().programDirectory) / "BackUp" / kStamp;
  EXPECT_EQ(result.folder, JoinNativePath(Utf8(folder), ""));
  EXPECT_EQ(ReadBytes(folder / "SD_VIDEO/PRL001/MOL001.3GP"),
            CardBuilder::DefaultContent("MOL001.3GP"));
}

TEST(BackupTest, CardWithoutCameraAreaEndsWithTheWarning) {
  CardRig rig;
  FillCard(rig, false);
  const fs::path root = rig.base() / "BackUp";
  BackupResult result = BackUp(rig, root);
  EXPECT_FALSE(result.complete);
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kPartial});
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
  EXPECT_FALSE(BackUp(rig, root).complete);
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kPartial});
}

TEST(BackupTest, TwoBackupsInOneSecondShareAFolder) {
  CardRig rig;
  FillCard(rig, true);
  const fs::path root = rig.base() / "BackUp";
  BackUp(rig, root);
  rig.card.File("PRIVATE/DOCOMO/extra.bin", "later");
  BackupResult second = BackUp(rig, root);
  EXPECT_TRUE(second.complete);
  EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
  EXPECT_EQ(ReadBytes(root / kStamp / "PRIVATE/DOCOMO/extra.bin"), "later");
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
