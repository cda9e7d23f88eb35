#include "dialogs/prompter.h"
#include "fs/app_paths.h"
#include "job/job_fields.h"
#include "job/job_file.h"
#include "job/job_restore.h"
#include "job/job_settings.h"
#include "support/qstring_printer.h"
#include "ui/frm_option.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Scripted {
    ScriptedPrompter prompter;
    Scripted() { Prompter::install(&prompter); }
    ~Scripted() { Prompter::install(nullptr); }
};

struct Written {
    QStringList keys;
    QStringList texts;
    OptionWriter writer()
    {
        return [this](const QString &key, const QString &text) {
            keys << key;
            texts << text;
        };
    }
    QString text(const QString &key) const { return texts.value(keys.indexOf(key)); }
};

template<typename T> T *child(QDialog &dlg, const char *name)
{
    T *w = dlg.findChild<T *>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

} // namespace

TEST(OptionsDialog, ConfirmStoresEveryOptionInItsOrder)
{
    JobSettings job;
    job.iJPGQ = 85;
    job.iXCutMode = 2;
    job.iYCutMode = 1;
    job.bSaveErr = 0;
    job.sPDF3 = QStringLiteral("2001年01月01日");
    StoredOptions stored;
    stored.iSlideTime = 7;
    Written w;
    FrmOption dlg(job, stored, FrmOption::GeneralPanel, w.writer());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("选项"));
    EXPECT_EQ(child<QLineEdit>(dlg, "hsOpt0")->text(), QStringLiteral("85"));
    EXPECT_EQ(child<QLineEdit>(dlg, "hsOpt1")->text(), QStringLiteral("7"));
    EXPECT_TRUE(child<QCheckBox>(dlg, "chkShowToday")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(dlg, "chkNewVer")->isChecked());
    // The date line always shows today, whatever was stored.
    EXPECT_EQ(child<QLineEdit>(dlg, "txtPDF3")->text(), chineseDate(QDate::currentDate()));

    child<QCheckBox>(dlg, "chkSaveErr")->setChecked(true);
    child<QRadioButton>(dlg, "Option1")->setChecked(true);
    child<QLineEdit>(dlg, "hsOpt1")->setText(QStringLiteral("12"));
    EXPECT_EQ(child<QComboBox>(dlg, "metadataBox")->currentIndex(), int(kKeepWithoutLocation));
    child<QComboBox>(dlg, "metadataBox")->setCurrentIndex(kStripMetadata);
    dlg.cmdOK_Click();

    // The job's fields in their order, then the window's own options.
    const QStringList order = {QStringLiteral("iJPGQ"), QStringLiteral("bAutoODir"),
        QStringLiteral("bAutoURL"), QStringLiteral("bShowURL"), QStringLiteral("bShowURLPic"),
        QStringLiteral("bSaveErr"), QStringLiteral("bPicJQ"), QStringLiteral("bChkResizeOpt"),
        QStringLiteral("iXCutMode"), QStringLiteral("iYCutMode"), QStringLiteral("sPDF1"),
        QStringLiteral("sPDF2"), QStringLiteral("sPDF3"), QStringLiteral("iMetadata"),
        QStringLiteral("iColorProfile"), QStringLiteral("iOnClash"), QStringLiteral("bKeepFileTime"),
        QStringLiteral("iMaxBytes"), QStringLiteral("iMinBytes"), QStringLiteral("iMinQuality"),
        QStringLiteral("iSlideTime"), QStringLiteral("bShowToday"), QStringLiteral("bNewVer")};
    EXPECT_EQ(w.keys, order);
    EXPECT_EQ(dlg.result(), int(QDialog::Accepted));
    EXPECT_EQ(job.bSaveErr, 1);
    EXPECT_EQ(w.text(QStringLiteral("iMetadata")), QStringLiteral("2"));
    EXPECT_EQ(job.iXCutMode, 0);
    EXPECT_EQ(job.iYCutMode, 1);
    EXPECT_EQ(stored.iSlideTime, 12);
    EXPECT_EQ(w.text(QStringLiteral("iSlideTime")), QStringLiteral("12"));
    EXPECT_EQ(job.sPDF3, chineseDate(QDate::currentDate()));
}

TEST(OptionsDialog, QualityThatIsNoNumberKeepsThePreviousValueAndTheRestIsStored)
{
    Scripted s;
    JobSettings job;
    job.iJPGQ = 77;
    job.bAutoODir = 1;
    StoredOptions stored;
    Written w;
    FrmOption dlg(job, stored, FrmOption::GeneralPanel, w.writer());
    child<QLineEdit>(dlg, "hsOpt0")->setText(QStringLiteral("best"));
    child<QCheckBox>(dlg, "chkAutoODir")->setChecked(false);
    dlg.cmdOK_Click();
    EXPECT_EQ(job.iJPGQ, 77);
    EXPECT_FALSE(w.keys.contains(QStringLiteral("iJPGQ")));
    EXPECT_EQ(w.keys.first(), QStringLiteral("bAutoODir"));
    EXPECT_EQ(job.bAutoODir, 0);
    EXPECT_TRUE(s.prompter.shown.isEmpty());
}

TEST(OptionsDialog, NumbersOutsideTheLabelledRangesAreRefusedWithTheRange)
{
    Scripted s;
    JobSettings job;
    job.iJPGQ = 90;
    StoredOptions stored;
    Written w;
    FrmOption dlg(job, stored, FrmOption::PdfPanel, w.writer());
    child<QLineEdit>(dlg, "hsOpt0")->setText(QStringLiteral("150"));
    dlg.cmdOK_Click();
    ASSERT_EQ(s.prompter.shown.size(), 1);
    EXPECT_TRUE(s.prompter.shown[0].text.contains(QStringLiteral("0-100")));
    EXPECT_EQ(s.prompter.shown[0].icon, Prompter::Icon::Error);
    EXPECT_TRUE(w.keys.isEmpty());
    EXPECT_EQ(job.iJPGQ, 90);
    EXPECT_NE(dlg.result(), int(QDialog::Accepted));

    child<QLineEdit>(dlg, "hsOpt0")->setText(QStringLiteral("60"));
    child<QLineEdit>(dlg, "hsOpt1")->setText(QStringLiteral("0"));
    dlg.cmdOK_Click();
    ASSERT_EQ(s.prompter.shown.size(), 2);
    EXPECT_TRUE(s.prompter.shown[1].text.contains(QStringLiteral("1-30")));
    EXPECT_TRUE(w.keys.isEmpty());

    child<QLineEdit>(dlg, "hsOpt1")->setText(QStringLiteral("30"));
    dlg.cmdOK_Click();
    EXPECT_EQ(job.iJPGQ, 60);
    EXPECT_EQ(stored.iSlideTime, 30);
}

TEST(OptionsDialog, GreyedBoxesStillStoreTheirState)
{
    JobSettings job;
    job.iYCutMode = 2;
    StoredOptions stored;
    Written w;
    FrmOption dlg(job, stored, FrmOption::PdfPanel, w.writer());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("PDF参数设置"));
    child<QCheckBox>(dlg, "chkJQ")->setChecked(false);
    child<QCheckBox>(dlg, "chkAutoURL")->setChecked(false);
    EXPECT_FALSE(child<QRadioButton>(dlg, "Option6")->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(dlg, "chkShowURL")->isEnabled());
    child<QLineEdit>(dlg, "txtPDF1")->setText(QStringLiteral("旅行"));
    dlg.cmdOK_Click();
    EXPECT_EQ(job.bPicJQ, 0);
    EXPECT_EQ(job.iYCutMode, 2);
    EXPECT_EQ(w.text(QStringLiteral("iYCutMode")), QStringLiteral("2"));
    EXPECT_EQ(job.bShowURL, 1);
    EXPECT_EQ(job.sPDF1, QStringLiteral("旅行"));
}

TEST(OptionsDialog, ClashPolicyIsAChoiceBelowTheOriginalRows)
{
    JobSettings job;
    job.iOnClash = kClashSkip;
    StoredOptions stored;
    Written w;
    FrmOption dlg(job, stored, FrmOption::GeneralPanel, w.writer());
    auto *box = child<QComboBox>(dlg, "clashPolicyBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentIndex(), int(kClashSkip));
    box->setCurrentIndex(kClashNumber);
    dlg.cmdOK_Click();
    EXPECT_EQ(job.iOnClash, int(kClashNumber));
    EXPECT_EQ(w.text(QStringLiteral("iOnClash")), QStringLiteral("1"));
    EXPECT_GT(w.keys.indexOf(QStringLiteral("iOnClash")), w.keys.indexOf(QStringLiteral("sPDF3")));
}

TEST(OptionsDialog, FileSizeRowsInKilobytesReachTheSavedJob)
{
    Scripted s;
    JobSettings job;
    // tuvo-cli's spellings: k and M count 1024s.
    const CliField max = findCliLong(QStringLiteral("max-size"));
    ASSERT_NE(max.field, nullptr);
    EXPECT_TRUE(max.field->setTyped(job, *max.spelling, QStringLiteral("1.5M"), nullptr));
    EXPECT_EQ(job.iMaxBytes, 1572864);
    EXPECT_TRUE(max.field->setTyped(job, *max.spelling, QStringLiteral("200k"), nullptr));
    EXPECT_EQ(job.iMaxBytes, 204800);
    EXPECT_FALSE(max.field->setTyped(job, *max.spelling, QStringLiteral("-5k"), nullptr));
    StoredOptions stored;
    Written w;
    FrmOption dlg(job, stored, FrmOption::GeneralPanel, w.writer());
    EXPECT_EQ(child<QLineEdit>(dlg, "txtMaxKB")->text(), QStringLiteral("200"));
    EXPECT_EQ(child<QLineEdit>(dlg, "txtMinKB")->text(), QString());
    child<QLineEdit>(dlg, "txtMinKB")->setText(QStringLiteral("20"));
    child<QLineEdit>(dlg, "txtMaxKB")->setText(QStringLiteral("99999999"));
    dlg.cmdOK_Click();
    ASSERT_EQ(s.prompter.shown.size(), 1);
    EXPECT_EQ(job.iMaxBytes, 204800);
    child<QLineEdit>(dlg, "txtMaxKB")->setText(QStringLiteral("50"));
    dlg.cmdOK_Click();
    EXPECT_EQ(w.text(QStringLiteral("iMaxBytes")), QStringLiteral("51200"));
    EXPECT_EQ(w.text(QStringLiteral("iMinBytes")), QStringLiteral("20480"));

    QTemporaryDir dir;
    const AppPaths paths = AppPaths::at(dir.path(), dir.path());
    const QString file = dir.filePath(QStringLiteral("job.ini"));
    ASSERT_TRUE(writeJobFile(job, file, false, nullptr));
    JobSettings loaded = startJobSettings(paths);
    ASSERT_TRUE(readJobFile(file, paths, FrameList(), loaded).loaded);
    EXPECT_EQ(loaded.iMaxBytes, 51200);
    EXPECT_EQ(loaded.iMinBytes, 20480);
}
