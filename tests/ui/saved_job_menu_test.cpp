#include "job/job_file.h"
#include "job/settings_texts.h"
#include "support/qstring_printer.h"
#include "window_fixture.h"

#include <QAction>
#include <QDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>

namespace {

void trigger(MainWindow &w, const char *action)
{
    auto *a = w.findChild<QAction *>(QString::fromLatin1(action));
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
}

void click(QDialog *dialog, const QString &text)
{
    for (QPushButton *b : dialog->findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b->click();
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

} // namespace

// The job menu's file choices are answered through the prompter: a saved job comes
// back through "载入作业...", and the manager exports it to a folder, deletes it and
// imports the exported copy.
TEST_F(WindowTest, SavedJobFilesAreChosenThroughThePrompter)
{
    MainWindow &w = start();
    w.job().iJPGQ = 61;
    w.job().sText = QStringLiteral("网页");
    prompter_.textAnswers << QStringLiteral("网页");
    prompter_.yesNoAnswers << false; // without the output folder
    trigger(w, "mSaveJob");
    const QString saved = userPresetDir(paths_) + QStringLiteral("/网页.ini");
    ASSERT_TRUE(QFileInfo::exists(saved));

    w.job().iJPGQ = 100;
    w.job().sText.clear();
    prompter_.shown.clear();
    prompter_.fileAnswers << saved;
    trigger(w, "mLoadJob");
    ASSERT_EQ(prompter_.shown.size(), 1);
    EXPECT_EQ(prompter_.shown[0].kind, QStringLiteral("open-file"));
    EXPECT_EQ(prompter_.shown[0].text, texts::jobFileFilter());
    EXPECT_EQ(prompter_.shown[0].preset, userPresetDir(paths_));
    EXPECT_EQ(w.job().iJPGQ, 61);
    EXPECT_EQ(w.job().sText, QStringLiteral("网页"));

    // Cancelling the choice leaves the job alone.
    w.job().iJPGQ = 100;
    trigger(w, "mLoadJob");
    EXPECT_EQ(w.job().iJPGQ, 100);

    QTemporaryDir outside;
    const QString exported = outside.path() + QStringLiteral("/网页/网页.ini");
    prompter_.fileAnswers << outside.path() << exported;
    prompter_.yesNoAnswers << true; // delete
    prompter_.shown.clear();
    int listedAfterDelete = -1;
    int listedAfterImport = -1;
    prompter_.dialogHandler = [&](QDialog *d) {
        auto *list = d->findChild<QListWidget *>();
        EXPECT_NE(list, nullptr);
        if (!list)
            return int(QDialog::Rejected);
        list->setCurrentRow(0);
        click(d, texts::exportJob());
        click(d, texts::deleteJob());
        listedAfterDelete = list->count();
        click(d, texts::importJob());
        listedAfterImport = list->count();
        return int(QDialog::Rejected);
    };
    trigger(w, "mManageJobs");

    QStringList kinds;
    for (const ScriptedPrompter::Shown &s : prompter_.shown)
        kinds << s.kind;
    EXPECT_EQ(kinds, (QStringList {"dialog", "folder", "message", "question", "open-file"}));
    EXPECT_TRUE(QFileInfo::exists(exported));
    EXPECT_EQ(listedAfterDelete, 0);
    EXPECT_EQ(listedAfterImport, 1);
    ASSERT_TRUE(QFileInfo::exists(saved));
    prompter_.fileAnswers << saved;
    trigger(w, "mLoadJob");
    EXPECT_EQ(w.job().iJPGQ, 61);
}
