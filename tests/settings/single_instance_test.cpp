#include "settings/single_instance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, SecondStartHandsItsPathsToTheFirst)
{
    const QString key = QStringLiteral("tuvo-test-") + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(key);
    ASSERT_FALSE(first.handOverOrListen({}));
    QSignalSpy received(&first, &SingleInstance::pathsReceived);

    SingleInstance second(key);
    const QStringList paths = {QStringLiteral("/p/一.jpg"), QStringLiteral("/p/two words.png")};
    EXPECT_TRUE(second.handOverOrListen(paths));

    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.first().first().toStringList(), paths);
}

TEST(SingleInstance, StaleSocketDoesNotBlockTheNextStart)
{
    const QString key = QStringLiteral("tuvo-test-") + QUuid::createUuid().toString(QUuid::Id128);
    {
        SingleInstance gone(key);
        ASSERT_FALSE(gone.handOverOrListen({}));
    }
    SingleInstance next(key);
    EXPECT_FALSE(next.handOverOrListen({QStringLiteral("/p/a.jpg")}));
}

// A start with other settings (TUVO_HOME) gets its own window.
TEST(SingleInstance, OnePerSettingsFolder)
{
    QTemporaryDir everyday, portable;
    const QString key = QStringLiteral("tuvo-test-") + QUuid::createUuid().toString(QUuid::Id128);
    const QByteArray before = qgetenv("TUVO_HOME");
    qputenv("TUVO_HOME", everyday.path().toUtf8());
    SingleInstance first(key);
    ASSERT_FALSE(first.handOverOrListen({}));
    qputenv("TUVO_HOME", portable.path().toUtf8());
    EXPECT_FALSE(SingleInstance(key).handOverOrListen({}));
    qputenv("TUVO_HOME", everyday.path().toUtf8() + "/");
    EXPECT_TRUE(SingleInstance(key).handOverOrListen({}));
    qputenv("TUVO_HOME", before);
}

} // namespace
