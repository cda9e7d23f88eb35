// The window in English: no Chinese left in what it shows, and the language choice stored.
#include "job/job_settings.h"
#include "support/qstring_printer.h"
#include "ui/frm_option.h"
#include "ui/ftp_account_dialog.h"
#include "ui/main_window_editing.h"
#include "ui/main_window_language.h"
#include "ui/main_window_skin.h"
#include "ui/skin.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>

namespace {

// Installed for one test only, so the other tests keep the Chinese texts.
struct EnglishTexts {
    QTranslator translator;
    EnglishTexts()
    {
        EXPECT_TRUE(translator.load(QStringLiteral(":/i18n/tuvo_en.qm")));
        QCoreApplication::installTranslator(&translator);
    }
    ~EnglishTexts() { QCoreApplication::removeTranslator(&translator); }
};

void collectMenu(const QMenu *menu, const QString &path, QStringList *texts)
{
    for (const QAction *a : menu->actions()) {
        // Skin names are the skin files' names; the Chinese language entry names itself.
        if (menu->objectName() == QLatin1String("mSkin")
            || a->objectName() == QLatin1String("mLanguage_zh_CN"))
            continue;
        texts->append(path + QStringLiteral(" > ") + a->text());
        if (a->menu())
            collectMenu(a->menu(), path + QStringLiteral(" > ") + a->text(), texts);
    }
}

// Every text a user sees on the window: titles, captions, labels, boxes and menus.
QStringList visibleTexts(QWidget &window)
{
    QStringList texts {window.windowTitle()};
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&window))
            continue;
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            texts << b->text();
        else if (auto *l = qobject_cast<QLabel *>(w))
            texts << l->text();
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            texts << g->title();
        else if (auto *c = qobject_cast<QComboBox *>(w))
            texts << c->currentText();
        else if (auto *e = qobject_cast<QLineEdit *>(w))
            texts << e->placeholderText();
        if (!w->toolTip().isEmpty())
            texts << w->toolTip();
    }
    if (auto *bar = window.findChild<QMenuBar *>()) {
        for (const QAction *a : bar->actions()) {
            texts << a->text();
            if (a->menu())
                collectMenu(a->menu(), a->text(), &texts);
        }
    }
    return texts;
}

QStringList withChinese(const QStringList &texts)
{
    static const QRegularExpression cjk(
        QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    QStringList found;
    for (const QString &t : texts) {
        if (t.contains(cjk))
            found << t;
    }
    return found;
}

} // namespace

TEST_F(WindowTest, EnglishWindowShowsNoChinese)
{
    EnglishTexts english;
    MainWindow &w = start(makePictures(home() + QStringLiteral("/in"), 2));
    installEditingControls(w);
    installSkinMenu(w);
    ASSERT_NE(installLanguageMenu(w), nullptr);
    w.show();
    w.waitForPreview();
    const QStringList texts = visibleTexts(w);
    EXPECT_TRUE(texts.contains(QStringLiteral("&File")));
    EXPECT_EQ(withChinese(texts), QStringList());

    QStringList dialogTexts;
    prompter_.dialogHandler = [&dialogTexts](QDialog *d) {
        d->show();
        dialogTexts = visibleTexts(*d);
        return int(QDialog::Rejected);
    };
    w.findChild<QAction *>(QStringLiteral("mTOption"))->trigger();
    EXPECT_FALSE(dialogTexts.isEmpty());
    EXPECT_EQ(withChinese(dialogTexts), QStringList());
    JobSettings job;
    editFtpAccount(&w, job, prompter_);
    EXPECT_TRUE(dialogTexts.contains(QStringLiteral("SSH private key:")));
    EXPECT_EQ(withChinese(dialogTexts), QStringList());

    // The choice is kept for the next start.
    w.findChild<QAction *>(QStringLiteral("mLanguage_en"))->trigger();
    EXPECT_EQ(settingsValue(QStringLiteral("sLanguage")), QStringLiteral("en"));
    EXPECT_EQ(storedLanguageCode(settings_.get()), QStringLiteral("en"));
}

// Menus are placed by their role; shipped skins and Chinese font names read in English.
TEST_F(WindowTest, EnglishMenusByRoleAndShippedNamesInEnglish)
{
    copyShippedSkins();
    EnglishTexts english;
    MainWindow &w = start();
    installEditingControls(w);
    QStringList texts {w.effectMenu()->title()};
    for (const QAction *a : installSkinMenu(w)->actions())
        texts << a->text();
    applySkin(QString());
    for (const QAction *a : w.menuBar()->actions())
        texts << a->text();
    prompter_.dialogHandler = [&texts](QDialog *d) {
        texts << d->findChild<QComboBox *>(QStringLiteral("cmbFont"))->currentText();
        return int(QDialog::Rejected);
    };
    w.findChild<QAction *>(QStringLiteral("mSetTxt"))->trigger();
    EXPECT_EQ(withChinese(texts), QStringList());
    EXPECT_EQ(texts.first(), QStringLiteral("&Effects"));
    EXPECT_EQ(texts[1], QStringLiteral("Light blue (default)"));
    EXPECT_EQ(texts.mid(texts.size() - 3), (QStringList {"S&kin", "&Help", "SimSun"}));
}

// Not a check: with TUVO_SCREENS set to a folder, saves the English main window and
// options dialog (run under Xvfb to look at them).
TEST_F(WindowTest, EnglishScreens)
{
    const QString out = qEnvironmentVariable("TUVO_SCREENS");
    if (out.isEmpty())
        GTEST_SKIP() << "TUVO_SCREENS not set";
    QDir().mkpath(out);
    EnglishTexts english;
    MainWindow &w = start(makePictures(home() + QStringLiteral("/in"), 2, QSize(800, 600)));
    installEditingControls(w);
    installSkinMenu(w);
    installLanguageMenu(w);
    w.show();
    w.waitForPreview();
    QTest::qWait(300);
    w.grab().save(out + QStringLiteral("/english_main.png"));
    prompter_.dialogHandler = [out](QDialog *d) {
        d->show();
        QTest::qWait(300);
        d->grab().save(out + QStringLiteral("/english_options.png"));
        return int(QDialog::Rejected);
    };
    w.findChild<QAction *>(QStringLiteral("mTOption"))->trigger();
}
