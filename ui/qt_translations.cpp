// Qt's Japanese translation.
#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sdmate {
namespace {

// Qt 6 asks the file dialog's types ("Folder", "Drive") under QAbstractFileIconProvider; its
// Japanese translation still files them under Qt 5's QFileDialog. Without the second look the
// dialog calls every folder "Folder".
constexpr char kAskedContext[] = "QAbstractFileIconProvider";
constexpr char kTranslatedContext[] = "QFileDialog";

class QtBaseTranslator : public QTranslator {
 public:
  using QTranslator::QTranslator;

  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override {
    QString text = QTranslator::translate(context, sourceText, disambiguation, n);
    if (text.isEmpty() && qstrcmp(context, kAskedContext) == 0)
      text = QTranslator::translate(kTranslatedContext, sourceText, disambiguation, n);
    return text;
  }
};

}  // namespace

QTranslator* InstallQtTranslations(QCoreApplication& app) {
  auto* translator = new QtBaseTranslator(&app);
  const QString folders[] = {
      QLibraryInfo::path(QLibraryInfo::TranslationsPath),
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
  };
  for (const QString& folder : folders) {
    if (translator->load(QStringLiteral("qtbase_ja"), folder)) {
      QCoreApplication::installTranslator(translator);
      return translator;
    }
  }
  delete translator;
  return nullptr;
}

}  // namespace sdmate
