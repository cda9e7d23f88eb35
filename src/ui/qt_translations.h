#pragma once

class QCoreApplication;
class QTranslator;

// Loads Qt's own Chinese translations (qtbase_zh_CN.qm from Qt's translations
// folder), so the buttons of standard dialogs, message boxes and the file dialog
// read "确定"/"取消" like the rest of the program. Returns the installed
// translator (owned by app), or null when the translations are not installed
// (Debian: qt6-translations-l10n); the buttons stay English then.
QTranslator *installQtTranslations(QCoreApplication &app);
