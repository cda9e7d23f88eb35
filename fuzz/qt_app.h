#pragma once

#include <QCoreApplication>

// Translations and Qt's image plugins want an application object; a fuzzer
// makes it on its first input and keeps it.
inline void startQtOnce(const char *name)
{
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(name), nullptr};
    static QCoreApplication *app = new QCoreApplication(argc, argv);
    (void)app;
}
