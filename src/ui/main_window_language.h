#pragma once

#include <QString>

class MainWindow;
class QMenu;
class QSettings;

// "语言" appended to the settings menu: follow the system, 中文, English. The
// choice is stored under sLanguage and takes effect at the next start, since
// every text is read once as the windows are built.
QMenu *installLanguageMenu(MainWindow &window);

// The stored choice ("", "zh_CN" or "en").
QString storedLanguageCode(QSettings *settings);
