// The static Qt for mingw-w64 built with Direct2D off: Qt 6.4's Windows platform plugin still
// names the DirectWrite font database, which Qt's Gui then leaves out. The plugin makes one only
// when asked to (-platform windows:fontengine=directwrite); this program never asks, and the
// GDI font database draws its text. Linked only where that Qt's Gui lacks the class.
#include <QtGlobal>

// (the plugin's reference, by its name; never constructed)
class QWindowsDirectWriteFontDatabase {
 public:
  QWindowsDirectWriteFontDatabase();
};

QWindowsDirectWriteFontDatabase::QWindowsDirectWriteFontDatabase() {
  qFatal("This Qt was built without the DirectWrite font database");
}
