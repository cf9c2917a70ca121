// Starts the window program: the platform services, the window, its about box and the message
// loop. An optional argument names a card folder, which gets a drive letter and is loaded as
// soon as the window shows (a folder without the handset's folders is only preselected).
#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "services/native_services.h"
#include "ui/artwork.h"
#include "ui/qt_feedback.h"
#include "ui/qt_picture_fitter.h"
#include "ui/qt_translations.h"
#include "ui/unabout.h"
#include "ui/unmain.h"

namespace {

// An exception that reaches the message loop is shown, and the program goes on.
class SdmateApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      QMessageBox::critical(activeWindow(), QStringLiteral("エラー"),
                            QString::fromUtf8(error.what()));
    } catch (...) {
      QMessageBox::critical(activeWindow(), QStringLiteral("エラー"),
                            QStringLiteral("予期しないエラーが発生しました"));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  SdmateApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Sdmate"));
  QApplication::setWindowIcon(sdmate::ProgramIcon());
  // The desktop entry the running window belongs to (its icon and name in the task bar).
  QGuiApplication::setDesktopFileName(QStringLiteral("example.sdmate.Sdmate"));
  // Qt's own texts (buttons, dialogs, menus) in Japanese, like the window's.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  sdmate::InstallQtTranslations(app);

  sdmate::NativeServices native;
  sdmate::QtFeedback feedback;
  sdmate::SessionServices services{native.files(), native.drives(),   native.codec(),
                                   native.clock(), feedback,          native.places(),
                                   native.fit(),   native.exporting()};
  // Without libvips (Windows) pictures are fitted with Qt's own image reader and writer.
  sdmate::QtPictureFitter qtPictures(native.files());
  if (services.fit.pictures == nullptr) services.fit.pictures = &qtPictures;

  sdmate::TfrMain window(services);
  feedback.SetView(&window);
  // The one about box of the run, hidden until the product panel is clicked.
  sdmate::TfrAbout frAbout(&window);
  window.SetAboutBox(&frAbout);

  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    const QFileInfo card(arguments.at(1));
    if (!card.isDir()) {
      std::fprintf(stderr, "sdmate: %s is not a folder\n", qPrintable(arguments.at(1)));
      return 2;
    }
    const char letter = window.MapCardFolder(card.absoluteFilePath().toStdString(), true);
    QTimer::singleShot(0, &window, [&window, letter] { window.LoadNamedCard(letter); });
  }

  window.RememberPlace();
  window.show();
  const int code = QApplication::exec();
  window.SetAboutBox(nullptr);
  feedback.SetView(nullptr);
  return code;
}
