// The drive check's questions and the gauge's set-up.
#include "card/drive_check.h"

#include <gtest/gtest.h>

#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

constexpr const char* kNotCard =
    "選択したドライブはSDメモリカードドライブで無い可能性があります．\n処理を継続しますか？";
constexpr const char* kNoMedium = "ドライブにSDメモリカードを挿入してください．";

struct CheckCase {
  DriveType type;
  bool medium;
  bool askRemovable;
  Answer answer;
  bool goesOn;
  std::vector<std::string> shown;
};

class DriveCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(DriveCheckTest, AsksAndStopsAsTheDriveWarrants) {
  const CheckCase& c = GetParam();
  DriveTable table;
  table.Assign('E', "/nowhere");
  FakeDrives drives(table);
  drives.type = c.type;
  if (!c.medium) drives.total = -1;
  ScriptedFeedback feedback;
  feedback.answers = {c.answer};
  EXPECT_EQ(CheckDrive('E', drives, feedback, c.askRemovable), c.goesOn);
  EXPECT_EQ(feedback.Texts(), c.shown);
  for (const Shown& shown : feedback.shown) {
    if (shown.text == kNotCard) {
      EXPECT_EQ(shown.kind, MessageKind::Warning);
      EXPECT_EQ(shown.buttons, Buttons::YesNo);
    } else {
      EXPECT_EQ(shown.kind, MessageKind::Error);
      EXPECT_EQ(shown.buttons, Buttons::Ok);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Drives, DriveCheckTest,
    ::testing::Values(CheckCase{DriveType::Removable, true, true, Answer::No, true, {}},
                      CheckCase{DriveType::Fixed, true, true, Answer::Yes, true, {kNotCard}},
                      CheckCase{DriveType::Remote, true, true, Answer::No, false, {kNotCard}},
                      CheckCase{DriveType::Fixed, true, false, Answer::No, true, {}},
                      CheckCase{DriveType::Removable, false, true, Answer::Yes, false, {kNoMedium}},
                      CheckCase{
                          DriveType::Fixed, false, true, Answer::Yes, false, {kNotCard, kNoMedium}},
                      CheckCase{DriveType::Fixed, false, true, Answer::No, false, {kNotCard}}));

TEST(SetUpGaugeTest, TakesTotalAndUsedSpaceIn64Bits) {
  DriveTable table;
  table.Assign('E', "/nowhere");
  FakeDrives drives(table);
  drives.total = 8LL * 1024 * 1024 * 1024;
  drives.free = 5LL * 1024 * 1024 * 1024 + 5242880;
  DiskGauge gauge;
  SetUpGauge(gauge, 'E', drives);
  EXPECT_EQ(gauge.maximum(), drives.total);
  EXPECT_EQ(gauge.position(), drives.total - drives.free);
  EXPECT_EQ(FreeSpaceText(gauge.freeBytes()), "残り 5248000.0 KB ");
  EXPECT_GT(gauge.WidgetMaximum(), 0);
}

}  // namespace
}  // namespace sdmate::test
