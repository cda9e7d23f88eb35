#include "job/job_settings.h"
#include "publish/ftp_account.h"
#include "support/qstring_printer.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FtpAccountSettings, AccountComesBackAfterARestartWithoutThePassword)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("tuvo.ini"));
    {
        JobSettings job;
        job.sFtpServer = QStringLiteral("ftp.example.org:2121");
        job.sFtpUser = QStringLiteral("张三");
        job.sFtpPassword = QStringLiteral("secret");
        job.sFtpDir = QStringLiteral("/htdocs/");
        job.sFtpSubDir = QStringLiteral("trip");
        job.sWebBase = QStringLiteral("http://example.org");
        job.bFtpPassive = true;
        job.bFtpRequireTls = true;
        job.sFtpPin = QStringLiteral("sha256//AAAA");
        job.sFtpHostKey = QStringLiteral("SHA256:BBBB");
        QSettings settings(ini, QSettings::IniFormat);
        settings.setValue(QStringLiteral("sFtpPassword"), QStringLiteral("left by someone"));
        saveFtpAccount(settings, job);
    }
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    EXPECT_FALSE(stored.contains("secret"));
    EXPECT_FALSE(stored.contains("sFtpPassword"));

    // Nothing stored: the start values stay.
    QSettings empty(dir.filePath(QStringLiteral("empty.ini")), QSettings::IniFormat);
    JobSettings job;
    loadFtpAccount(empty, job);
    EXPECT_EQ(job.sFtpServer, QStringLiteral("ftp://"));
    EXPECT_EQ(job.sWebBase, QStringLiteral("http://"));

    QSettings settings(ini, QSettings::IniFormat);
    loadFtpAccount(settings, job);
    EXPECT_EQ(job.sFtpServer, QStringLiteral("ftp.example.org:2121"));
    EXPECT_EQ(job.sFtpUser, QStringLiteral("张三"));
    EXPECT_EQ(job.sFtpPassword, QString());
    EXPECT_EQ(job.sFtpDir, QStringLiteral("/htdocs/"));
    EXPECT_EQ(job.sFtpSubDir, QStringLiteral("trip"));
    EXPECT_EQ(job.sWebBase, QStringLiteral("http://example.org"));
    EXPECT_TRUE(job.bFtpPassive);
    // The trust settings belong to the account and come back with it.
    EXPECT_TRUE(job.bFtpRequireTls);
    EXPECT_EQ(job.sFtpPin, QStringLiteral("sha256//AAAA"));
    EXPECT_EQ(job.sFtpHostKey, QStringLiteral("SHA256:BBBB"));
}
