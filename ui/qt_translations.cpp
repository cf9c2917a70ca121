// Qt's Japanese translation.
#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sdmate {

QTranslator* InstallQtTranslations(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
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
