// Saved jobs in the window: save the current job under a name, load one, manage
// the user's saved jobs. Loading sets the job fields as restoring the same keys
// does and leaves the file list alone.

#include "dialogs/prompter.h"
#include "job/job_file.h"
#include "job/settings_texts.h"
#include "ui/main_window.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

bool isJobName(const QString &name)
{
    return !name.trimmed().isEmpty() && isJobPresetName(name);
}

QString userJobFile(const AppPaths &paths, const QString &name)
{
    return userPresetDir(paths) + QLatin1Char('/') + name + QStringLiteral(".ini");
}

// A window opened by a menu entry is titled with the entry's text, without the
// "..." that only says a window will open.
QString titleOf(QString menuText)
{
    menuText = menuText.trimmed();
    for (const QString &ellipsis : {QStringLiteral("..."), QStringLiteral("…")}) {
        if (menuText.endsWith(ellipsis))
            menuText.chop(ellipsis.size());
    }
    return menuText.trimmed();
}

} // namespace

void MainWindow::buildJobMenu(QMenu *menu)
{
    menu->addSeparator();
    QAction *save = menu->addAction(texts::saveJobMenu());
    save->setObjectName(QStringLiteral("mSaveJob"));
    QAction *load = menu->addAction(texts::loadJobMenu());
    load->setObjectName(QStringLiteral("mLoadJob"));
    QAction *manage = menu->addAction(texts::manageJobsMenu());
    manage->setObjectName(QStringLiteral("mManageJobs"));
    QMenu *saved = menu->addMenu(texts::savedJobsMenu());
    saved->setObjectName(QStringLiteral("mSavedJobs"));
    connect(save, &QAction::triggered, this, &MainWindow::saveCurrentJob);
    connect(load, &QAction::triggered, this, [this] {
        const QString file = Prompter::instance().chooseOpenFile(
            this, titleOf(texts::loadJobMenu()), userPresetDir(paths_), texts::jobFileFilter());
        if (!file.isEmpty())
            loadJob(file);
    });
    connect(manage, &QAction::triggered, this, &MainWindow::manageJobs);
    // The names are read when the menu opens, so a job saved elsewhere shows too.
    connect(saved, &QMenu::aboutToShow, this, [this, saved] { fillSavedJobsMenu(saved); });
    fillSavedJobsMenu(saved);
}

void MainWindow::fillSavedJobsMenu(QMenu *menu)
{
    menu->clear();
    for (const QString &name : jobPresetNames(paths_)) {
        connect(menu->addAction(jobPresetTitle(name)), &QAction::triggered, this, [this, name] {
            const QString file = findJobPreset(name, paths_);
            if (!file.isEmpty())
                loadJob(file);
        });
    }
}

void MainWindow::saveCurrentJob()
{
    Prompter &p = Prompter::instance();
    QString name;
    if (!p.askText(this, titleOf(texts::saveJobMenu()), texts::jobNamePrompt(), QString(), &name))
        return;
    name = name.trimmed();
    if (!isJobName(name)) {
        showMessage(texts::badJobName(name));
        return;
    }
    const QString file = userJobFile(paths_, name);
    if (QFileInfo::exists(file)
        && !p.askYesNo(this, titleOf(texts::saveJobMenu()), texts::replaceJobQuestion(name)))
        return;
    const bool withOutput
        = p.askYesNo(this, titleOf(texts::saveJobMenu()), texts::includeOutputFolderQuestion());
    QDir().mkpath(userPresetDir(paths_));
    QString error;
    if (!writeJobFile(job_, file, withOutput, &error)) {
        showMessage(error);
        return;
    }
    showStatus(texts::jobSaved(name));
}

bool MainWindow::loadJob(const QString &file)
{
    JobSettings job = job_;
    const JobFileLoad load = readJobFile(file, paths_, frames_, job);
    if (!load.loaded) {
        showMessage(load.messages.join(QLatin1Char('\n')));
        return false;
    }
    // A frame from outside the bk folder joins the frame list, as an added one does.
    if (!job.sFrameFile.isEmpty() && frames_.indexOf(job.sFrameFile) < 0 && frames_.append(job.sFrameFile))
        job.iuBk = frames_.indexOf(job.sFrameFile);
    job_ = job;
    fillFrameList(job_.iuBk);
    syncControlsFromJob();
    redrawPreview();
    showStatus(texts::jobLoaded(QFileInfo(file).completeBaseName()));
    if (!load.messages.isEmpty())
        showMessage(load.messages.join(QLatin1Char('\n')));
    return true;
}

void MainWindow::manageJobs()
{
    QDialog dlg(this);
    dlg.setObjectName(QStringLiteral("frmJobs"));
    dlg.setWindowTitle(titleOf(texts::manageJobsMenu()));
    auto *list = new QListWidget(&dlg);
    const auto refill = [this, list] {
        list->clear();
        const QDir dir(userPresetDir(paths_));
        for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name))
            list->addItem(info.completeBaseName());
    };
    refill();
    auto *buttons = new QHBoxLayout;
    const auto button = [&](const QString &text, auto action) {
        auto *b = new QPushButton(text, &dlg);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, &dlg, action);
    };
    const auto current = [list] {
        return list->currentItem() ? list->currentItem()->text() : QString();
    };
    Prompter &p = Prompter::instance();
    button(texts::renameJob(), [&] {
        QString name;
        if (current().isEmpty()
            || !p.askText(&dlg, texts::renameJob(), texts::jobNamePrompt(), current(), &name))
            return;
        if (!isJobName(name.trimmed()))
            return showMessage(texts::badJobName(name));
        QFile::rename(userJobFile(paths_, current()), userJobFile(paths_, name.trimmed()));
        refill();
    });
    button(texts::deleteJob(), [&] {
        if (!current().isEmpty() && p.askYesNo(&dlg, texts::deleteJob(), texts::deleteJobQuestion(current())))
            QFile::remove(userJobFile(paths_, current()));
        refill();
    });
    button(texts::exportJob(), [&] {
        if (current().isEmpty())
            return;
        const QString target = p.chooseFolder(&dlg, texts::exportJob(), QString());
        if (target.isEmpty())
            return;
        QString error;
        const QString folder = exportJobFolder(userJobFile(paths_, current()), target, &error);
        showMessage(folder.isEmpty() ? error : texts::jobExported(folder));
    });
    button(texts::importJob(), [&] {
        const QString file = p.chooseOpenFile(&dlg, texts::importJob(), QString(), texts::jobFileFilter());
        if (file.isEmpty())
            return;
        // Only a file that loads is taken in; its pictures stay where they are.
        JobSettings scratch = job_;
        const JobFileLoad check = readJobFile(file, paths_, frames_, scratch);
        if (!check.loaded)
            return showMessage(check.messages.join(QLatin1Char('\n')));
        QDir().mkpath(userPresetDir(paths_));
        const QString copy = userJobFile(paths_, QFileInfo(file).completeBaseName());
        QFile::remove(copy);
        QFile::copy(file, copy);
        refill();
    });
    auto *layout = new QVBoxLayout(&dlg);
    layout->addWidget(list);
    layout->addLayout(buttons);
    p.exec(&dlg);
}
