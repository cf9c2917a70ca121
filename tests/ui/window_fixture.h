// A real TfrMain on a card tree in a temporary folder, with a scripted Feedback and fake
// drive sizes, and helpers that read what the window shows.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTranslator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "card/pictograph_codec.h"
#include "platform/drive_table.h"
#include "platform/files.h"
#include "platform/text_codec.h"
#include "tests/support/card_builder.h"
#include "tests/support/content_bytes.h"
#include "ui/export_dialog.h"
#include "ui/open_files_dialog.h"
#include "ui/qt_translations.h"
#include "ui/unmain.h"

namespace sdmate::test {

// Picture bytes in a format the preview reads.
inline std::string PictureBytes(const char* format, int width, int height) {
  // Qt reads GIF but does not write it: a GIF's header with its size stands for one.
  if (std::string_view(format) == "GIF") return GifBytes(64, width, height);
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes.toStdString();
}

// Types text key by key, as the keyboard (or an input method committing characters) does;
// QTest's key clicks take ASCII only.
inline void TypeText(QWidget* widget, const QString& text) {
  for (const QChar character : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
    QApplication::sendEvent(widget, &release);
  }
}

// Qt's Japanese translation, installed as main installs it, for the life of one test.
class QtTranslationsInstalled {
 public:
  QtTranslationsInstalled() : translator_(InstallQtTranslations(*QCoreApplication::instance())) {}
  ~QtTranslationsInstalled() {
    if (translator_ == nullptr) return;
    QCoreApplication::removeTranslator(translator_);
    delete translator_;
  }
  QtTranslationsInstalled(const QtTranslationsInstalled&) = delete;
  QtTranslationsInstalled& operator=(const QtTranslationsInstalled&) = delete;
  bool loaded() const { return translator_ != nullptr; }

 private:
  QTranslator* translator_;
};

// The export's choice, answered from a script: each offer is kept; no answer closes the dialog.
class ScriptedExportDialog : public ExportDialog {
 public:
  std::optional<ExportChoice> Choose(QWidget*, const ExportOffer& offer) override {
    offers.push_back(offer);
    return answer;
  }
  std::optional<ExportChoice> answer = ExportChoice{};  // the shown folder, movies converted
  std::vector<ExportOffer> offers;
};

// Hands the window's add buttons the names a test chooses.
class ScriptedOpenFiles : public OpenFilesDialog {
 public:
  std::vector<std::string> Choose(QWidget* /*parent*/, std::string_view filter,
                                  MediaKind /*kind*/) override {
    filters.emplace_back(filter);
    return next;
  }
  std::vector<std::string> next;  // empty: the user cancels
  std::vector<std::string> filters;
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest()
      : card_(temp_.path() / "card"),
        files_(MakeNativeFiles(table_)),
        drives_(table_),
        cp932_(MakeNativeTextCodec()),
        codec_(std::make_unique<PictographCodec>(*cp932_)) {
#ifdef _WIN32
    // The system drive holds the test's folders: the card's letter must not be taken for it.
    table_.Assign('C', "C:\\");
#endif
    fs::create_directories(card_.root());
  }

  // Builds the window once the card is written, with the card folder as the chosen drive.
  // fromCommandLine: the card is taken as one without asking whether the drive is removable.
  void Open(bool fromCommandLine = true) {
    window_ = std::make_unique<TfrMain>(Services(feedback_));
    // The items' pictures are kept in the test's own folder, never in the user's cache.
    window_->SetThumbnailCache(QString::fromStdString((temp_.path() / "cache").string()));
    window_->SetOpener([this](const std::string& path) { opened_.push_back(path); });
    auto exportDialog = std::make_unique<ScriptedExportDialog>();
    exportDialog_ = exportDialog.get();
    window_->SetExportDialog(std::move(exportDialog));
    letter_ = window_->MapCardFolder(card_.root().string(), fromCommandLine);
  }
  // Three pictures "one", "two", "three" in folder 1, a movie and a document.
  void WriteThreeKinds() {
    card_.Folder(MediaKind::Image, 1, "wall",
                 {{.name = "STIL0001.JPG", .title = "one"},
                  {.name = "STIL0002.JPG", .title = "two"},
                  {.name = "STIL0003.JPG", .title = "three"}});
    card_.Folder(MediaKind::Movie, 1, "clips", {{.name = "MOL001.3GP", .title = "clip"}});
    card_.Folder(MediaKind::Document, 1, "docs", {{.name = "PDFDC001.PDF", .title = "doc"}});
  }
  void OpenAndLoad() {
    Open();
    window_->btLoadMem->click();
  }
  // The window shown with a kind's page in front, laid out.
  void ShowPage(MediaKind kind) {
    window_->pcMain->setCurrentWidget(&window_->page(kind));
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  SessionServices Services(Feedback& feedback) {
    return {*files_, drives_, *codec_, clock_, feedback, TestPlaces(temp_), fit_};
  }
  TfrMain& window() { return *window_; }
  KindPage& page(MediaKind kind) { return window_->page(kind); }

  std::string Sjis(const char* utf8) { return codec_->FromUtf8(utf8); }
  std::string Utf8(const std::string& sjis) { return codec_->ToUtf8(sjis); }
  // A path of the computer as UTF-8 (on Windows a path is no std::string).
  static std::string Utf8(const fs::path& path) { return sdmate::test::Utf8(path); }

  // Column `column` of every row of a list.
  std::vector<std::string> Column(MediaKind kind, int column) {
    std::vector<std::string> cells;
    QTableWidget* grid = page(kind).sg;
    for (int row = 0; row < grid->rowCount(); ++row) {
      QTableWidgetItem* cell = grid->item(row, column);
      cells.push_back(cell == nullptr ? std::string() : cell->text().toStdString());
    }
    return cells;
  }
  std::vector<std::string> Names(MediaKind kind) { return Column(kind, 0); }

  std::vector<std::string> Folders(MediaKind kind) {
    std::vector<std::string> entries;
    QComboBox* chooser = page(kind).sbFolder;
    for (int i = 0; i < chooser->count(); ++i)
      entries.push_back(chooser->itemText(i).toStdString());
    return entries;
  }

  // Selects a list row (from 1) the way the user does, with the mouse.
  void ClickRow(MediaKind kind, int row) {
    QTableWidget* grid = page(kind).sg;
    const QRect cell = grid->visualItemRect(grid->item(row - 1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  }

  void TypeTitle(MediaKind kind, const QString& text) {
    QLineEdit* field = page(kind).edTitle;
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    TypeText(field, text);
  }

  const FolderSlot& ModelFolder(MediaKind kind, int n) {
    return window_->session().model().of(kind).folder(n);
  }

  TempDir temp_;
  CardBuilder card_;
  DriveTable table_;
  std::unique_ptr<Files> files_;
  FakeDrives drives_;
  std::unique_ptr<TextCodec> cp932_;
  std::unique_ptr<TextCodec> codec_;  // the handset's pictographs as emoji, as main builds it
  FixedClock clock_;
  ScriptedFeedback feedback_;
  FitServices fit_;  // none unless a test sets it before Open
  std::unique_ptr<TfrMain> window_;
  ScriptedExportDialog* exportDialog_ = nullptr;  // owned by the window
  std::vector<std::string> opened_;
  char letter_ = 0;
};

}  // namespace sdmate::test
