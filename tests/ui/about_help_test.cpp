// The about box, the product panel, the banner and help: what each opens, and that the about
// box is one box for the whole run.
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "platform/native_path.h"
#include "ui/click_targets.h"
#include "ui/unabout.h"
#include "ui/web_addresses.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

class AboutHelpTest : public WindowTest {
 protected:
  void SetUp() override {
    Open();
    about_ = std::make_unique<TfrAbout>(&window());
    window().SetAboutBox(about_.get());
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  }
  void TearDown() override {
    window().SetAboutBox(nullptr);
    about_.reset();
  }

  // Clicks a control at `at` (its centre when null); returns the modal box that opened, after
  // closing it with its OK button, or nullptr when none opened.
  QDialog* ClickAndClose(QWidget* control, QPoint at = {}) {
    QDialog* opened = nullptr;
    QTimer::singleShot(0, [&] {
      opened = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (opened != nullptr) {
        shownFrame_ = opened->frameGeometry();
        shownSize_ = opened->size();
        if (auto* ok = opened->findChild<QPushButton*>(QStringLiteral("OKButton"))) {
          QTest::mouseClick(ok, Qt::LeftButton);
        }
      }
    });
    QTest::mouseClick(control, Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    return opened;
  }

  QWidget* PanelPart(const char* name) {
    return window().Panel5->findChild<QWidget*>(QString::fromLatin1(name));
  }

  std::unique_ptr<TfrAbout> about_;
  QRect shownFrame_;  // the box's frame, title bar included, as it was shown
  QSize shownSize_;   // and the size inside it
};

TEST_F(AboutHelpTest, TheProductPanelOpensTheOneAboutBoxCentredOnTheWindow) {
  // The panel itself, its icon, the product name and the version; the same box every time,
  // its frame centred on the window's (to within rounding), the first time too.
  for (QWidget* control : {static_cast<QWidget*>(window().Panel5), PanelPart("Image4"),
                           PanelPart("Label6"), PanelPart("Label8")}) {
    ASSERT_NE(control, nullptr);
    const std::string name = control->objectName().toStdString();
    const QPoint at = control == window().Panel5 ? QPoint(3, 56) : QPoint();
    EXPECT_EQ(ClickAndClose(control, at), about_.get()) << name;
    EXPECT_EQ(about_->result(), QDialog::Accepted);
    EXPECT_FALSE(about_->isVisible());
    EXPECT_LE((shownFrame_.center() - window().frameGeometry().center()).manhattanLength(), 2)
        << name;
    EXPECT_EQ(shownSize_, QSize(296, 281)) << name;
  }
  EXPECT_EQ(window().aboutBox(), about_.get());
  EXPECT_EQ(window().findChildren<TfrAbout*>().size(), 1);

  // The notice line has no action.
  EXPECT_EQ(ClickAndClose(PanelPart("Label7")), nullptr);
  EXPECT_TRUE(opened_.empty());
}

TEST_F(AboutHelpTest, TheAboutBoxCarriesItsTextsAndLinks) {
  TfrAbout& about = *about_;
  EXPECT_EQ(about.windowTitle(), "About...");
  EXPECT_EQ(about.size(), QSize(296, 281));
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_TRUE(about.isModal());
  EXPECT_EQ(about.ProductName->text(), "Sdmate");
  EXPECT_EQ(about.Version->text(), "Version 0.1.1.0");
  EXPECT_EQ(about.Comment2->text(), "最新版入手やご意見等は↓こちらへどうぞ");
  EXPECT_EQ(about.Label1->text(), "今後の開発のためご寄付をお願い致します<(_ _)>");
  EXPECT_EQ(about.ProgramIcon->pixmap().size(), QSize(32, 32));
  EXPECT_EQ(about.ImageLogo->pixmap().size(), QSize(88, 32));
  EXPECT_EQ(about.ImagePay->pixmap().size(), QSize(88, 31));
  EXPECT_EQ(about.Memo1->toPlainText(), "評価感想は\nサポートは");
  EXPECT_TRUE(about.Memo1->isReadOnly());
  EXPECT_EQ(about.OKButton->text(), "OK");
  EXPECT_TRUE(about.OKButton->isDefault());
  for (QLabel* link : {static_cast<QLabel*>(about.lHyouka), static_cast<QLabel*>(about.lYoubou)}) {
    EXPECT_EQ(link->text(), "コチラ");
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  }
  // Every element lies inside the box.
  for (QWidget* element : about.findChildren<QWidget*>()) {
    if (element->isWindow() || element->parentWidget() != about.Panel1) continue;
    EXPECT_TRUE(about.Panel1->rect().contains(element->geometry()))
        << element->objectName().toStdString();
  }

  // The links open their pages through the window's opener.
  QTest::mouseClick(about.ImageLogo, Qt::LeftButton);
  QTest::mouseClick(about.ImagePay, Qt::LeftButton);
  QTest::mouseClick(about.lHyouka, Qt::LeftButton);
  QTest::mouseClick(about.lYoubou, Qt::LeftButton);
  QTest::mouseClick(window().Image3, Qt::LeftButton);
  QTest::mouseClick(window().Label9, Qt::LeftButton);
  EXPECT_EQ(opened_, (std::vector<std::string>{kHomePageAddress, kDonationPageAddress,
                                               kRatingsPageAddress, kSupportPageAddress,
                                               kSisterSiteAddress, kSisterSiteAddress}));
  EXPECT_EQ(window().Image3->pixmap().size(), QSize(88, 31));
}

TEST_F(AboutHelpTest, HelpOpensTheCurrentDirectorysReadMe) {
  const QString previous = QDir::currentPath();
  const fs::path here = temp_.path() / "here";
  fs::create_directories(here);
  WriteBytes(here / "ReadMe.txt", "guide");
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(test::Utf8(here))));
  window().btHelp->click();
  QDir::setCurrent(previous);
  EXPECT_EQ(opened_, (std::vector<std::string>{test::Utf8(here / "ReadMe.txt")}));
}

TEST(FindHelpFileTest, PrefersTheCurrentDirectoryThenTheProgramsFolderThenTheInstalledDocuments) {
  TempDir temp;
  const fs::path current = temp.path() / "current";
  const fs::path program = temp.path() / "program";
  const fs::path empty = temp.path() / "empty";
  const fs::path folderNamedLikeIt = temp.path() / "odd";
  fs::create_directories(empty);
  fs::create_directories(folderNamedLikeIt / "ReadMe.txt");
  WriteBytes(current / "ReadMe.txt", "current");
  WriteBytes(program / "ReadMe.txt", "program");
  const std::string programDir = test::Utf8(program) + "/";

  struct Case {
    fs::path currentDirectory;
    std::string programDirectory;
    std::string expected;
  };
  const Case cases[] = {
      {current, programDir, test::Utf8(current / "ReadMe.txt")},
      {empty, programDir, test::Utf8(program / "ReadMe.txt")},
      {folderNamedLikeIt, programDir, test::Utf8(program / "ReadMe.txt")},
      {empty, test::Utf8(empty), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindHelpFile(test::Utf8(c.currentDirectory), c.programDirectory), c.expected)
        << c.currentDirectory;
  }  // Installed, the guide is in the documents' folder, found after the other two.
  const fs::path doc = temp.path() / "share" / "doc" / "sdmate";
  WriteBytes(doc / "ReadMe.txt", "installed");
  EXPECT_EQ(FindHelpFile(test::Utf8(empty), test::Utf8(empty), test::Utf8(doc) + "/"),
            test::Utf8(doc / "ReadMe.txt"));
  EXPECT_EQ(FindHelpFile(test::Utf8(empty), programDir, test::Utf8(doc) + "/"),
            test::Utf8(program / "ReadMe.txt"));
}

}  // namespace
}  // namespace sdmate::test
