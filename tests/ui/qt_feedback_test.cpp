// The window's Feedback: captions and buttons of the boxes, the status bar, the busy pointer
// and the progress dialog.
#include "ui/qt_feedback.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>
#include <set>

#include "window_fixture.h"

namespace sdmate::test {
namespace {

class QtFeedbackTest : public WindowTest {
 protected:
  void SetUp() override {
    window_ = std::make_unique<TfrMain>(Services(qtFeedback_));
    qtFeedback_.SetView(window_.get());
  }
  void TearDown() override { qtFeedback_.SetView(nullptr); }

  // Answers the next message box with `button`, remembering its caption, text and the texts
  // of its buttons (without their shortcut marks).
  void AnswerNextBox(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [this, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      caption_ = box->windowTitle().toStdString();
      text_ = box->text().toStdString();
      buttonTexts_.clear();
      for (QAbstractButton* shown : box->buttons())
        buttonTexts_.insert(shown->text().remove(QLatin1Char('&')).toStdString());
      box->button(button)->click();
    });
  }

  QtFeedback qtFeedback_;
  std::string caption_;
  std::string text_;
  std::set<std::string> buttonTexts_;
};

TEST_F(QtFeedbackTest, BoxesCarryTheCaptionOfTheirKindAndReturnTheButton) {
  struct Case {
    MessageKind kind;
    Buttons buttons;
    QMessageBox::StandardButton press;
    const char* caption;
    Answer answer;
  };
  const Case cases[] = {
      {MessageKind::Warning, Buttons::YesNo, QMessageBox::No, "警告", Answer::No},
      {MessageKind::Error, Buttons::Ok, QMessageBox::Ok, "エラー", Answer::Ok},
      {MessageKind::Information, Buttons::Ok, QMessageBox::Ok, "情報", Answer::Ok},
      {MessageKind::Confirmation, Buttons::YesCancel, QMessageBox::Yes, "確認", Answer::Yes},
      {MessageKind::Confirmation, Buttons::YesCancel, QMessageBox::Cancel, "確認", Answer::Cancel},
  };
  for (const Case& c : cases) {
    AnswerNextBox(c.press);
    EXPECT_EQ(qtFeedback_.Ask(c.kind, "一行目\nC:\\card\\STIL0001.JPG", c.buttons), c.answer);
    EXPECT_EQ(caption_, c.caption);
    EXPECT_EQ(text_, "一行目\nC:\\card\\STIL0001.JPG");
  }
}

// Qt's own button texts come from its Japanese translation, loaded as main loads it.
TEST_F(QtFeedbackTest, TheButtonsOfTheBoxesAreInJapanese) {
  const QtTranslationsInstalled translations;
  ASSERT_TRUE(translations.loaded()) << "qtbase_ja.qm not found (Debian qt6-translations-l10n)";
  const std::pair<Buttons, std::set<std::string>> cases[] = {
      {Buttons::YesNo, {"はい(Y)", "いいえ(N)"}},
      {Buttons::YesCancel, {"はい(Y)", "キャンセル"}},
      {Buttons::Ok, {"OK"}},
  };
  for (const auto& [buttons, texts] : cases) {
    AnswerNextBox(buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes);
    qtFeedback_.Ask(MessageKind::Confirmation, "確認します", buttons);
    EXPECT_EQ(buttonTexts_, texts);
  }
}

TEST_F(QtFeedbackTest, StatusBusyAndProgress) {
  qtFeedback_.Status("ムービーファイルの読み込み中...");
  EXPECT_EQ(window().findChild<QLabel*>("StatusPanel")->text(), "ムービーファイルの読み込み中...");
  {
    auto busy = qtFeedback_.Busy();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    qtFeedback_.Progress(1, 3);
    auto* progress = window().findChild<QProgressDialog*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->maximum(), 3);
    EXPECT_EQ(progress->value(), 1);
    EXPECT_TRUE(progress->labelText().contains("1 / 3"));
    EXPECT_TRUE(progress->labelText().contains("ムービー"));
    qtFeedback_.Progress(3, 3);
    EXPECT_EQ(window().findChild<QProgressDialog*>(), nullptr);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace sdmate::test
