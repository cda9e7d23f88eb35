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

// Each settings folder (TUVO_HOME, else the per-user one) has its own window:
// a start with other settings runs on its own, one with the same settings hands over.
TEST(SingleInstance, OnePerSettingsFolder)
{
    QTemporaryDir everyday, portable;
    const QByteArray before = qgetenv("TUVO_HOME");
    const QString key = QStringLiteral("tuvo-test-") + QUuid::createUuid().toString(QUuid::Id128);

    qputenv("TUVO_HOME", everyday.path().toUtf8());
    SingleInstance first(key);
    ASSERT_FALSE(first.handOverOrListen({}));
    qputenv("TUVO_HOME", portable.path().toUtf8());
    SingleInstance second(key);
    EXPECT_FALSE(second.handOverOrListen({QStringLiteral("/p/a.jpg")}));
    // The same folder spelt with a trailing slash is the same settings.
    qputenv("TUVO_HOME", (everyday.path() + QStringLiteral("/")).toUtf8());
    SingleInstance third(key);
    EXPECT_TRUE(third.handOverOrListen({QStringLiteral("/p/b.jpg")}));

    if (before.isNull())
        qunsetenv("TUVO_HOME");
    else
        qputenv("TUVO_HOME", before);
}

} // namespace
