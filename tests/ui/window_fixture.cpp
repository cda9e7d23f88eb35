#include "window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>

void WindowTest::SetUp()
{
    ASSERT_TRUE(home_.isValid());
    ASSERT_TRUE(config_.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config_.path());
    paths_ = AppPaths::at(home_.path(), home_.path());
    QDir(home_.path()).mkpath(QStringLiteral("bk"));
    QDir(home_.path()).mkpath(QStringLiteral("sy"));
    Prompter::install(&prompter_);
}

void WindowTest::TearDown()
{
    if (window_) {
        window_->waitForPreview();
        window_.reset();
    }
    settings_.reset();
    Prompter::install(nullptr);
}

MainWindow &WindowTest::start(const QStringList &commandLine)
{
    if (window_) {
        window_->waitForPreview();
        window_.reset();
    }
    settings_ = openSettingsStore(QStringLiteral("tuvo"));
    window_ = std::make_unique<MainWindow>(paths_, settings_.get());
    window_->setExternalOpener([this](const QString &p) { opened_ << p; });
    window_->setRunJobs(1);
    window_->load(commandLine);
    return *window_;
}

void WindowTest::closeWindow()
{
    window_->waitForPreview();
    window_->close();
    settings_->sync();
}

QStringList WindowTest::makePictures(const QString &folder, int n, QSize size)
{
    QDir().mkpath(folder);
    QStringList out;
    for (int i = 0; i < n; ++i) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor::fromHsv((i * 37) % 360, 160, 220));
        const QString path = QDir(folder).filePath(QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')));
        EXPECT_TRUE(img.save(path));
        out << path;
    }
    return out;
}

void WindowTest::copyShippedSkins()
{
    const QDir shipped(QStringLiteral(TUVO_SOURCE_DIR "/data/skin"));
    QDir(home()).mkpath(QStringLiteral("skin"));
    for (const QString &name : shipped.entryList(QDir::Files))
        QFile::copy(shipped.filePath(name), home() + QStringLiteral("/skin/") + name);
}

QString WindowTest::settingsValue(const QString &key)
{
    QSettings fresh(QDir(config_.path()).filePath(QStringLiteral("tuvo/tuvo.ini")), QSettings::IniFormat);
    return fresh.value(QStringLiteral("Options/") + key).toString();
}

void WindowTest::answerDialogWith(const QString &folder, const QStringList &files, bool subFolders)
{
    prompter_.dialogHandler = [folder, files, subFolders](QDialog *d) {
        auto *dlg = qobject_cast<FrmDlg *>(d);
        if (!dlg)
            return int(QDialog::Rejected);
        dlg->setCurrentFolder(folder);
        dlg->selectFiles(files);
        dlg->setIncludeSubFolders(subFolders);
        dlg->cmdOK_Click();
        return dlg->result();
    };
}

void WindowTest::runToEnd(MainWindow &w)
{
    QSignalSpy finished(&w.session(), &JobSession::runFinished);
    w.cmdStart_Click();
    if (w.session().isRunning()) {
        ASSERT_TRUE(finished.wait(120000)) << "the run did not end";
    }
}

void WindowTest::addFolderToEnd(MainWindow &w)
{
    QSignalSpy finished(&w.session(), &JobSession::scanFinished);
    w.cmdAdds_Click();
    if (w.session().isScanning()) {
        ASSERT_TRUE(finished.wait(60000)) << "the folder scan did not end";
    }
}
