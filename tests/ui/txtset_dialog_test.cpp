#include "dialogs/prompter.h"
#include "job/job_settings.h"
#include "render/pipeline.h"
#include "support/qstring_printer.h"
#include "ui/colour_chart.h"
#include "ui/frm_txt_set.h"
#include "ui/skin.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

// Installs a scripted prompter for one test.
struct Scripted {
    ScriptedPrompter prompter;
    Scripted() { Prompter::install(&prompter); }
    ~Scripted() { Prompter::install(nullptr); }
};

template<typename T> T *child(QDialog *dlg, const char *name)
{
    T *w = dlg->findChild<T *>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void click(QDialog *dlg, const char *name)
{
    child<QPushButton>(dlg, name)->click();
}

void moveOver(QWidget *w, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void releaseOver(QWidget *w, QPoint at)
{
    QMouseEvent release(
        QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

qint32 packed(const QColor &c)
{
    return c.red() + 256 * c.green() + 65536 * c.blue();
}

} // namespace

TEST(TextSettingsDialog, EmptyTextOrSizeIsRefusedAndNothingIsStored)
{
    Scripted s;
    JobSettings job;
    job.sText = QStringLiteral("旧文字");
    job.iSize = 14;
    FrmTxtSet dlg(job);
    child<QComboBox>(&dlg, "txtText")->setEditText(QString());
    child<QLineEdit>(&dlg, "txtSize")->setText(QStringLiteral("20"));
    click(&dlg, "cmdOK");
    ASSERT_EQ(s.prompter.shown.size(), 1);
    EXPECT_EQ(s.prompter.shown[0].text, QStringLiteral("文字不能为空！"));
    EXPECT_EQ(s.prompter.shown[0].icon, Prompter::Icon::Error);
    EXPECT_EQ(dlg.ending(), FrmTxtSet::Ending::Open);

    child<QComboBox>(&dlg, "txtText")->setEditText(QStringLiteral("新文字"));
    child<QLineEdit>(&dlg, "txtSize")->clear();
    click(&dlg, "cmdOK");
    ASSERT_EQ(s.prompter.shown.size(), 2);
    EXPECT_EQ(s.prompter.shown[1].text, QStringLiteral("文字大小不能为空！"));
    EXPECT_EQ(dlg.ending(), FrmTxtSet::Ending::Open);
    EXPECT_EQ(job.sText, QStringLiteral("旧文字"));
    EXPECT_EQ(job.iSize, 14);
}

TEST(TextSettingsDialog, StoresWhatThePreviewTookWithTheSizeRoundedHalfToEven)
{
    Scripted s;
    JobSettings job;
    job.iSize = 9;
    for (const auto &[typed, stored] :
        {std::pair {"10.5", 10}, {"11.5", 12}, {"11.4", 11}, {"abc", 9}, {"-3", 9}}) {
        FrmTxtSet dlg(job);
        child<QComboBox>(&dlg, "txtText")->setEditText(QStringLiteral("水印"));
        child<QLineEdit>(&dlg, "txtSize")->setText(QLatin1String(typed));
        child<QCheckBox>(&dlg, "chkB")->setChecked(true);
        click(&dlg, "cmdOK");
        EXPECT_EQ(dlg.ending(), FrmTxtSet::Ending::Confirmed);
        EXPECT_EQ(job.iSize, stored) << typed;
        job.iSize = 9;
    }
    EXPECT_EQ(job.sText, QStringLiteral("水印"));
    EXPECT_TRUE(job.sBold);
    EXPECT_FALSE(job.sItalic);
    EXPECT_TRUE(s.prompter.shown.isEmpty());
}

TEST(TextSettingsDialog, OpensOnTheJobAndKeepsAFontThatIsNotInstalled)
{
    JobSettings job;
    job.sText = QStringLiteral("#当前日期#");
    job.sFont = QStringLiteral("宋体");
    job.iSize = 16;
    job.sUnderline = true;
    job.lColor = 255 + 256 * 128;
    FrmTxtSet dlg(job);
    EXPECT_EQ(child<QTextEdit>(&dlg, "txtPre")->toPlainText(), QStringLiteral("#当前日期#"));
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbFont")->currentText(), QStringLiteral("宋体"));
    EXPECT_EQ(child<QTextEdit>(&dlg, "txtPre")->font().pointSizeF(), 16.0);
    EXPECT_TRUE(child<QCheckBox>(&dlg, "chkU")->isChecked());
    const QStringList tokens = {QStringLiteral("#当前日期#"), QStringLiteral("#当前时间#"),
        QStringLiteral("#JPG照片拍摄时间#"), QStringLiteral("#图片原文件名#")};
    auto *text = child<QComboBox>(&dlg, "txtText");
    ASSERT_EQ(text->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(text->itemText(i), tokens[i]);
    // Picking a token replaces the whole text.
    text->setEditText(QStringLiteral("今天是"));
    emit text->textActivated(tokens[2]);
    click(&dlg, "cmdOK");
    EXPECT_EQ(job.sText, tokens[2]);
    EXPECT_EQ(job.sFont, QStringLiteral("宋体"));
    EXPECT_EQ(job.lColor, 255 + 256 * 128);
}

TEST(TextSettingsDialog, ColourChartPreviewsOnHoverAndCancelsWhenLeft)
{
    JobSettings job;
    job.lColor = 0;
    FrmTxtSet dlg(job);
    dlg.show();
    auto *swatch = child<QPushButton>(&dlg, "txtColor");
    auto *chart = child<ColourChart>(&dlg, "picColor");
    EXPECT_EQ(chart->size(), QSize(223, 120));
    swatch->click();
    ASSERT_TRUE(chart->isVisible());
    const QPoint spot(40, 60);
    const QColor under = ColourChart::colourAt(spot);
    moveOver(chart, spot);
    EXPECT_EQ(swatch->property("swatch").value<QColor>(), under);

    // Back onto the dialog: the pick is dropped.
    moveOver(&dlg, QPoint(2, dlg.height() - 2));
    EXPECT_FALSE(chart->isVisible());
    EXPECT_EQ(swatch->property("swatch").value<QColor>(), QColor(0, 0, 0));
    click(&dlg, "cmdOK");
    EXPECT_EQ(job.lColor, 0);

    // Releasing over the chart picks.
    FrmTxtSet again(job);
    again.show();
    child<QPushButton>(&again, "txtColor")->click();
    auto *chart2 = child<ColourChart>(&again, "picColor");
    releaseOver(chart2, spot);
    EXPECT_FALSE(chart2->isVisible());
    click(&again, "cmdOK");
    EXPECT_EQ(job.lColor, packed(under));
}

TEST(TextSettingsOpeners, CancelAfterTickingLeavesTheBoxUnticked)
{
    Scripted s;
    s.prompter.dialogHandler = [](QDialog *dlg) {
        child<QComboBox>(dlg, "txtText")->setEditText(QStringLiteral("typed then cancelled"));
        click(dlg, "cmdNO");
        return dlg->result();
    };
    JobSettings job;
    const TextMarkControls after = tickTextWatermark(job, nullptr, true);
    EXPECT_FALSE(after.ticked);
    EXPECT_EQ(after.label, QStringLiteral("文字水印:无"));
    EXPECT_FALSE(after.positionListEnabled);
    EXPECT_EQ(job.bTextMark, 0);
    EXPECT_TRUE(job.sText.isEmpty());

    // Before the window has loaded the box never opens the dialog.
    s.prompter.shown.clear();
    tickTextWatermark(job, nullptr, false);
    EXPECT_TRUE(s.prompter.shown.isEmpty());
}

TEST(TextSettingsOpeners, TickingAndConfirmingCentresTheTextUnlessCustom)
{
    Scripted s;
    s.prompter.dialogHandler = [](QDialog *dlg) {
        child<QComboBox>(dlg, "txtText")->setEditText(QStringLiteral("版权所有"));
        click(dlg, "cmdOK");
        return dlg->result();
    };
    JobSettings job;
    job.iuTxtPos = kTopLeft;
    const TextMarkControls after = tickTextWatermark(job, nullptr, true);
    EXPECT_TRUE(after.ticked);
    EXPECT_EQ(after.label, QStringLiteral("文字水印:版权所有"));
    EXPECT_EQ(after.hint, QStringLiteral("【提示】成功设置文字水印:版权所有"));
    EXPECT_EQ(job.iuTxtPos, kCentre);

    untickTextWatermark(job);
    job.iuTxtPos = kCustom;
    tickTextWatermark(job, nullptr, true);
    EXPECT_EQ(job.iuTxtPos, kCustom);
}

TEST(TextSettingsOpeners, CancelFromTheMenuKeepsTheOldTextAndFont)
{
    Scripted s;
    s.prompter.dialogHandler = [](QDialog *dlg) {
        child<QComboBox>(dlg, "txtText")->setEditText(QStringLiteral("另一段"));
        child<QLineEdit>(dlg, "txtSize")->setText(QStringLiteral("40"));
        click(dlg, "cmdNO");
        return dlg->result();
    };
    JobSettings job;
    job.bTextMark = 1;
    job.sText = QStringLiteral("原来的");
    job.iSize = 12;
    editTextWatermark(job, nullptr);
    EXPECT_EQ(job.bTextMark, 1);
    EXPECT_EQ(job.sText, QStringLiteral("原来的"));
    EXPECT_EQ(job.iSize, 12);

    // Esc closes without storing or restoring anything.
    s.prompter.dialogHandler = [](QDialog *dlg) {
        auto *text = child<QComboBox>(dlg, "txtText");
        text->setEditText(QStringLiteral("不会保存"));
        QTest::keyClick(text->lineEdit(), Qt::Key_Escape);
        EXPECT_EQ(static_cast<FrmTxtSet *>(dlg)->ending(), FrmTxtSet::Ending::Escaped);
        return dlg->result();
    };
    editTextWatermark(job, nullptr);
    EXPECT_EQ(job.sText, QStringLiteral("原来的"));
    EXPECT_EQ(job.bTextMark, 1);
}

// The colour picked in the chart survives any number of confirmations under a
// skin, the preview box shows it, and the written picture carries it.
TEST(TextSettingsDialog, PickedColourSurvivesReopeningAndReachesThePicture)
{
    struct PlainAfterwards {
        ~PlainAfterwards() { qApp->setStyleSheet(QString()); }
    } plainAfterwards;
    ASSERT_TRUE(applySkin(QStringLiteral(TUVO_SOURCE_DIR "/data/skin/浅蓝(默认).she")));
    const QImage &chart = ColourChart::chartImage();
    QPoint redSpot;
    int best = -1;
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x) {
            const QColor c = chart.pixelColor(x, y);
            if (c.red() - c.green() - c.blue() > best) {
                best = c.red() - c.green() - c.blue();
                redSpot = QPoint(x, y);
            }
        }
    const QColor red = ColourChart::colourAt(redSpot);
    ASSERT_GT(best, 150);

    const auto confirm = [](JobSettings &job, std::function<void(FrmTxtSet &)> edit) {
        FrmTxtSet dlg(job);
        dlg.show();
        if (edit)
            edit(dlg);
        QApplication::processEvents();
        const QImage shown = child<QTextEdit>(&dlg, "txtPre")->grab().toImage();
        click(&dlg, "cmdOK");
        return shown;
    };
    const auto shows = [](const QImage &img, const QColor &c) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor p = img.pixelColor(x, y);
                if (qAbs(p.red() - c.red()) + qAbs(p.green() - c.green()) + qAbs(p.blue() - c.blue()) < 40)
                    return true;
            }
        return false;
    };

    JobSettings job;
    job.sText = QStringLiteral("水印");
    job.iSize = 40;
    job.lColor = 0;
    // A first OK that keeps black stores black.
    confirm(job, {});
    EXPECT_EQ(job.lColor, 0);

    QImage shown = confirm(job, [&](FrmTxtSet &dlg) {
        child<QCheckBox>(&dlg, "chkB")->setChecked(true);
        child<QPushButton>(&dlg, "txtColor")->click();
        releaseOver(child<ColourChart>(&dlg, "picColor"), redSpot);
    });
    EXPECT_EQ(job.lColor, packed(red));
    EXPECT_TRUE(shows(shown, red));
    EXPECT_TRUE(job.sBold);

    // Reopened and confirmed without a change: the preview still shows it, bold.
    FrmTxtSet again(job);
    again.show();
    QApplication::processEvents();
    auto *pre = child<QTextEdit>(&again, "txtPre");
    EXPECT_TRUE(shows(pre->grab().toImage(), red));
    EXPECT_TRUE(QFontInfo(pre->font()).bold());
    EXPECT_EQ(child<QPushButton>(&again, "txtColor")->property("swatch").value<QColor>(), red);
    click(&again, "cmdOK");
    EXPECT_EQ(job.lColor, packed(red));
    confirm(job, {});
    EXPECT_EQ(job.lColor, packed(red));

    QTemporaryDir dir;
    QImage white(320, 200, QImage::Format_RGB32);
    white.fill(Qt::white);
    const QString path = dir.filePath(QStringLiteral("white.png"));
    ASSERT_TRUE(white.save(path));
    job.bTextMark = 1;
    job.iuTxtPos = kCentre;
    const RenderResult out = funImgDone(job, path);
    ASSERT_TRUE(out.ok());
    EXPECT_TRUE(shows(out.surface, red));
    EXPECT_FALSE(shows(out.surface, QColor(31, 45, 58)));
}
