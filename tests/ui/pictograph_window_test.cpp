// The handset's pictographs in the window: shown as emoji in the list, the title fields and
// the folder title, typed emoji and the palette's stored as the handset's codes.
#include <QToolButton>

#include "core/content_table.h"
#include "ui/pictograph_palette.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

constexpr char kSun[] = "\xF8\x9F";    // ☀
constexpr char kCloud[] = "\xF8\xA0";  // ☁

class PictographWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    card_.Folder(MediaKind::Image, 1, std::string("sky") + kCloud,
                 {{.name = "STIL0001.JPG", .title = Sjis("晴れ") + kSun},
                  {.name = "STIL0002.JPG", .title = "plain"}});
    OpenAndLoad();
  }
  const std::string& StoredTitle(int row) {
    return VisibleItemAtRow(ModelFolder(MediaKind::Image, 1), row)->title;
  }
};

TEST_F(PictographWindowTest, PictographsShowAsEmojiInTheListAndTheFields) {
  KindPage& images = page(MediaKind::Image);
  EXPECT_EQ(Column(MediaKind::Image, 3), (std::vector<std::string>{"晴れ☀", "plain"}));
  EXPECT_EQ(images.edTitle->text(), "晴れ☀");
  EXPECT_EQ(images.edFolderTitle->text(), "sky☁");
  // Shown and not touched, a title keeps its bytes.
  QTest::keyClick(images.edTitle, Qt::Key_Return);
  EXPECT_EQ(StoredTitle(1), Sjis("晴れ") + kSun);
}

TEST_F(PictographWindowTest, ATypedEmojiIsStoredAsTheHandsetsCode) {
  KindPage& images = page(MediaKind::Image);
  ClickRow(MediaKind::Image, 2);
  TypeTitle(MediaKind::Image, QStringLiteral("☀"));
  QTest::keyClick(images.edTitle, Qt::Key_Return);
  EXPECT_EQ(StoredTitle(2), kSun);
  EXPECT_EQ(Column(MediaKind::Image, 3)[1], "☀");
  EXPECT_TRUE(window().btRefreshData->isEnabled());

  // Pasted with the emoji presentation selector, as phones and pickers give it.
  images.edFolderTitle->setText(QStringLiteral("雨☀\uFE0F"));
  images.btEditFolder->click();
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).folderTitle, Sjis("雨") + kSun);
}

TEST_F(PictographWindowTest, ThePaletteInsertsAtTheCursorWithinTheLimit) {
  KindPage& images = page(MediaKind::Image);
  ClickRow(MediaKind::Image, 2);
  images.edTitle->setCursorPosition(2);  // "pl|ain"
  images.btPict->click();
  ASSERT_NE(images.btPict->grid(), nullptr);
  EXPECT_TRUE(images.btPict->grid()->isVisible());
  auto* sun = images.btPict->grid()->findChild<QToolButton*>(QStringLiteral("pictF89F"));
  ASSERT_NE(sun, nullptr);
  EXPECT_EQ(sun->text(), "☀");
  sun->click();
  EXPECT_FALSE(images.btPict->grid()->isVisible());
  EXPECT_EQ(images.edTitle->text(), "pl☀ain");
  EXPECT_TRUE(images.btEdit->isEnabled());
  images.btEdit->click();
  EXPECT_EQ(StoredTitle(2), std::string("pl") + kSun + "ain");

  // Each pictograph takes two of the field's bytes: four bytes short of the limit two more fit,
  // a third is not inserted.
  const QString nearlyFull(static_cast<qsizetype>(kEntryTitleField) - 4, u'a');
  images.edTitle->setText(nearlyFull);
  for (int n = 0; n < 3; ++n) {
    images.btPict->Open();
    ASSERT_TRUE(images.btPict->grid()->isVisible());
    sun->click();
    EXPECT_FALSE(images.btPict->grid()->isVisible());
  }
  EXPECT_EQ(images.edTitle->text(), nearlyFull + "☀☀");
}

}  // namespace
}  // namespace sdmate::test
