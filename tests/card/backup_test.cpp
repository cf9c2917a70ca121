// Backup of the handset's areas into a time-stamped folder.
#include <gtest/gtest.h>

#include "platform/native_path.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

constexpr const char* kDone = "バックアップが完了しました";
constexpr const char* kPartial = "いくつかのデータがバックアップできなかった可能性があります";

void FillCard(CardRig& rig, bool withCamera) {
  rig.card.Folder(MediaKind::Image, 1, "i", {{.name = "STIL0001.JPG"}});
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}});
  if (withCamera) rig.card.File("DCIM/100NEC/NEC_0001.JPG", "camera");
  rig.card.File("OTHER/not-copied.txt", "x");
}

TEST(BackupTest, CopiesTheThreeAreasIntoTheStampedFolder) {
  CardRig rig;
  FillCard(rig, true);
  rig.advice = true;
  const fs::path root = rig.base() / "BackUp";
  BackupResult result =
      BackupCard('E', root.string(), "20240102-030405", rig.advice, *rig.files, rig.feedback);
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(result.folder, JoinNativePath((root / "20240102-030405").string(), ""));
  auto copied = SnapshotTree(root / "20240102-030405");
  auto card = SnapshotTree(rig.cardRoot());
  card.erase("OTHER/not-copied.txt");
  EXPECT_EQ(copied, card);
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kDone});
  EXPECT_EQ(rig.feedback.shown[0].kind, MessageKind::Information);
  EXPECT_EQ(rig.feedback.statuses, (std::vector<std::string>{"データのバックアップ中...", ""}));
  EXPECT_EQ(rig.feedback.busyDepth, 0);
  EXPECT_FALSE(rig.advice);
  // Copies keep the files' times.
  EXPECT_EQ(fs::last_write_time(root / "20240102-030405/DCIM/100NEC/NEC_0001.JPG"),
            fs::last_write_time(rig.Native("DCIM/100NEC/NEC_0001.JPG")));
}

TEST(BackupTest, CardWithoutCameraAreaEndsWithTheWarning) {
  CardRig rig;
  FillCard(rig, false);
  const fs::path root = rig.base() / "BackUp";
  BackupResult result =
      BackupCard('E', root.string(), "20240102-030405", rig.advice, *rig.files, rig.feedback);
  EXPECT_FALSE(result.complete);
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kPartial});
  EXPECT_EQ(rig.feedback.shown[0].kind, MessageKind::Warning);
  EXPECT_TRUE(fs::exists(root / "20240102-030405/SD_VIDEO/PRL001/MOL001.3GP"));
  EXPECT_EQ(rig.feedback.statuses.back(), "");
}

TEST(BackupTest, FailedCopyWarnsEvenWhenTheAreasExist) {
  CardRig rig;
  FillCard(rig, true);
  FailingFiles failing(*rig.files);
  failing.failPathContaining = "SD_VIDEO";
  const fs::path root = rig.base() / "BackUp";
  // The area's folder exists from an earlier backup in the same second.
  fs::create_directories(root / "s" / "SD_VIDEO");
  EXPECT_FALSE(BackupCard('E', root.string(), "s", rig.advice, failing, rig.feedback).complete);
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kPartial});
}

TEST(BackupTest, TwoBackupsInOneSecondShareAFolder) {
  CardRig rig;
  FillCard(rig, true);
  const fs::path root = rig.base() / "BackUp";
  BackupCard('E', root.string(), "20240102-030405", rig.advice, *rig.files, rig.feedback);
  rig.card.File("PRIVATE/DOCOMO/extra.bin", "later");
  BackupResult second =
      BackupCard('E', root.string(), "20240102-030405", rig.advice, *rig.files, rig.feedback);
  EXPECT_TRUE(second.complete);
  EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
  EXPECT_EQ(ReadBytes(root / "20240102-030405/PRIVATE/DOCOMO/extra.bin"), "later");
}

TEST(BackupTest, NextLoadAfterABackupGivesNoAdvice) {
  CardRig rig;
  FillCard(rig, true);
  rig.advice = true;
  BackupCard('E', (rig.base() / "BackUp").string(), "s", rig.advice, *rig.files, rig.feedback);
  rig.feedback.shown.clear();
  rig.Load();
  EXPECT_TRUE(rig.feedback.shown.empty());
}

}  // namespace
}  // namespace sdmate::test
