// Qt's own texts in Japanese: the buttons of the message boxes, the file dialogs and the text
// fields' context menus come from Qt, not from the program.
#pragma once

class QCoreApplication;
class QTranslator;

namespace sdmate {

// Loads Qt's Japanese translation (qtbase_ja, from Qt's translations folder or the
// "translations" folder beside the program) into the application, before the first window is
// made. Returns the installed translator (owned by the application), or nullptr when there is
// none; the program then runs with Qt's English texts.
QTranslator* InstallQtTranslations(QCoreApplication& app);

}  // namespace sdmate
