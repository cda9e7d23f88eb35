#include <QApplication>
#include <QGuiApplication>

#include <gtest/gtest.h>

// Every suite gets a QApplication on the offscreen platform: fonts, painting and
// widgets need one, and it costs nothing for the plain C++ suites.
int main(int argc, char **argv)
{
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // The programs the tests start speak Chinese, whatever the machine's locale
    // (the language tests set their own).
    qputenv("LANGUAGE", "zh_CN");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
