// Qt's Japanese translation.
#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <utility>

namespace sdmate {
namespace {

// Qt 6 asks some texts under new contexts that its Japanese translation still files under the
// old ones: the type column of the file dialog ("Folder", "Drive") asks
// QAbstractFileIconProvider and is translated under QFileDialog. Without the second look the
// dialog calls every folder "Folder".
constexpr std::pair<const char*, const char*> kMovedContexts[] = {
    {"QAbstractFileIconProvider", "QFileDialog"},
};

class QtBaseTranslator : public QTranslator {
 public:
  using QTranslator::QTranslator;

  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override {
    QString text = QTranslator::translate(context, sourceText, disambiguation, n);
    if (!text.isEmpty() || context == nullptr) return text;
    for (const auto& [now, before] : kMovedContexts) {
      if (qstrcmp(context, now) == 0)
        return QTranslator::translate(before, sourceText, disambiguation, n);
    }
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
