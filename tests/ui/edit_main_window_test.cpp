#include "render/pipeline.h"
#include "support/qstring_printer.h"
#include "ui/adjust_menus.h"
#include "ui/canvas_editor.h"
#include "ui/file_list_view.h"
#include "ui/frm_option.h"
#include "ui/main_window_editing.h"
#include "ui/preview_canvas.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

void keepAs(const QString &out, const QString &name)
{
    QFile::remove(out + QLatin1Char('/') + name);
    QFile::rename(out + QStringLiteral("/dialog.png"), out + QLatin1Char('/') + name);
}

template<typename T> T *child(QObject &parent, const char *name)
{
    T *w = parent.findChild<T *>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

} // namespace

TEST_F(WindowTest, EditingControlsChangeThePreviewAsTheOutput)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 2, QSize(160, 120));
    MainWindow &w = start(pics);
    const EditingControls editing = installEditingControls(w);
    child<QComboBox>(w, "cmbSize")->setCurrentIndex(kOriginalSize);
    w.waitForPreview();
    w.listView()->setCurrentRow(1);
    w.waitForPreview();

    // Move mode: three Right presses on the preview move the picture 3 pixels.
    editing.editor->setFlashInterval(0);
    child<QAction>(w, "mMove")->trigger();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w.canvas(), Qt::Key_Right);
    w.waitForPreview();
    EXPECT_EQ(w.job().sngOffsetX, 3.0f);
    EXPECT_EQ(child<QLineEdit>(w, "txtLeft")->text(), QStringLiteral("3"));

    // Green off through the menu bar's channel menu.
    QAction *green = nullptr;
    for (QAction *a : w.colourMenu()->actions())
        if (a->text() == QStringLiteral("绿色通道"))
            green = a;
    ASSERT_NE(green, nullptr);
    green->trigger();
    w.waitForPreview();
    const QImage shown = w.canvas()->image();
    EXPECT_EQ(shown.pixelColor(100, 100).green(), 0);
    EXPECT_EQ(shown, funImgDone(w.job(), pics[1]).surface);

    // Leaving move mode by a right press; the list then steps with the arrows.
    QTest::mousePress(w.canvas(), Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_FALSE(editing.editor->moveMode());
    QTest::keyClick(w.canvas(), Qt::Key_Up);
    EXPECT_EQ(w.listView()->currentRow(), 0);
}

TEST_F(WindowTest, TickingTheTextBoxOpensTheTextDialogAndFillsTheSizeField)
{
    MainWindow &w = start();
    installEditingControls(w);
    // Without a picture the rotation menu turns nothing.
    w.rotationMenu()->actions().at(kRotateClockwise)->trigger();
    EXPECT_EQ(w.job().iRotateMode, kRotateNone);
    EXPECT_TRUE(w.rotationMenu()->actions().at(kRotateNone)->isChecked());
    EXPECT_FALSE(w.rotationMenu()->actions().at(kRotateClockwise)->isChecked());

    prompter_.dialogHandler = [](QDialog *d) {
        child<QComboBox>(*d, "txtText")->setEditText(QStringLiteral("版权所有"));
        child<QLineEdit>(*d, "txtSize")->setText(QStringLiteral("20.5"));
        child<QPushButton>(*d, "cmdOK")->click();
        return d->result();
    };
    child<QCheckBox>(w, "chkInfoTxt")->setChecked(true);
    EXPECT_EQ(w.job().sText, QStringLiteral("版权所有"));
    EXPECT_EQ(w.job().iSize, 20);
    EXPECT_EQ(child<QLineEdit>(w, "txtSize")->text(), QStringLiteral("20"));
    EXPECT_EQ(child<QLabel>(w, "lTxt")->text(), QStringLiteral("文字水印:版权所有"));
    EXPECT_EQ(w.statusText(), QStringLiteral("【提示】成功设置文字水印:版权所有"));

    // The options menu stores through the window's settings store.
    prompter_.dialogHandler = [](QDialog *d) {
        child<QLineEdit>(*d, "hsOpt0")->setText(QStringLiteral("55"));
        static_cast<FrmOption *>(d)->cmdOK_Click();
        return d->result();
    };
    child<QAction>(w, "mTOption")->trigger();
    EXPECT_EQ(w.job().iJPGQ, 55);
    settings_->sync();
    EXPECT_EQ(settingsValue(QStringLiteral("iJPGQ")), QStringLiteral("55"));
}

TEST_F(WindowTest, PdfCoverFieldsAreBold)
{
    MainWindow &w = start();
    installEditingControls(w);
    QList<bool> bold;
    prompter_.dialogHandler = [&bold](QDialog *d) {
        d->show();
        for (const char *name : {"txtPDF1", "txtPDF2", "txtPDF3"})
            bold << QFontInfo(child<QLineEdit>(*d, name)->font()).bold();
        return int(QDialog::Rejected);
    };
    child<QAction>(w, "mSPDFSet")->trigger();
    EXPECT_EQ(bold, (QList<bool> {true, true, true}));
}

// Not a check: with TUVO_SCREENS set to a folder, saves pictures of the dialogs and
// of the preview with both watermark handles (run under Xvfb to look at them).
TEST_F(WindowTest, EditingScreens)
{
    const QString out = qEnvironmentVariable("TUVO_SCREENS");
    if (out.isEmpty())
        GTEST_SKIP() << "TUVO_SCREENS not set";
    QDir().mkpath(out);
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 1, QSize(1200, 900));
    QImage mark(120, 60, QImage::Format_ARGB32);
    mark.fill(QColor(30, 90, 200, 200));
    const QString markPath = home() + QStringLiteral("/sy/mark.png");
    mark.save(markPath);
    MainWindow &w = start(pics);
    const EditingControls editing = installEditingControls(w);
    w.resize(1280, 800);
    w.show();
    JobSettings &job = w.job();
    job.sText = QStringLiteral("Tuvo图片批量处理");
    job.iSize = 36;
    job.lColor = 255;
    job.bTextMark = 1;
    job.suISyF = markPath;
    job.bPicMark = 1;
    w.syncControlsFromJob();
    child<QComboBox>(w, "cmbTxtPos")->setCurrentIndex(kBottomRight);
    child<QComboBox>(w, "cmbImgPos")->setCurrentIndex(kTopRight);
    w.waitForPreview();
    child<QComboBox>(w, "cmbTxtPos")->setCurrentIndex(kCustom);
    child<QComboBox>(w, "cmbImgPos")->setCurrentIndex(kCustom);
    w.waitForPreview();
    QTest::qWait(200);
    w.grab().save(out + QStringLiteral("/preview_handles.png"));
    QTest::mouseMove(w.canvas(), QPoint(w.canvas()->width() - 20, 100));
    QTest::qWait(100);
    w.grab().save(out + QStringLiteral("/preview_tools.png"));

    prompter_.dialogHandler = [out](QDialog *d) {
        d->show();
        QTest::qWait(200);
        d->grab().save(out + QStringLiteral("/dialog.png"));
        child<QPushButton>(*d, "cmdNO")->click();
        return d->result();
    };
    child<QAction>(w, "mSetTxt")->trigger();
    keepAs(out, QStringLiteral("frm_txt_set.png"));
    prompter_.dialogHandler = [out](QDialog *d) {
        d->show();
        if (auto *swatch = d->findChild<QPushButton *>(QStringLiteral("txtColor")))
            swatch->click();
        QTest::qWait(200);
        d->grab().save(out + QStringLiteral("/frm_txt_set_chart.png"));
        return int(QDialog::Rejected);
    };
    child<QAction>(w, "mSetTxt")->trigger();
    prompter_.dialogHandler = [out](QDialog *d) {
        d->show();
        QTest::qWait(200);
        d->grab().save(out + QStringLiteral("/dialog.png"));
        return int(QDialog::Rejected);
    };
    child<QAction>(w, "mTOption")->trigger();
    keepAs(out, QStringLiteral("frm_option.png"));
    child<QAction>(w, "mSPDFSet")->trigger();
    keepAs(out, QStringLiteral("frm_option_pdf.png"));
    editing.menus->openMatrixPanel();
    editing.menus->showBrightnessPanel();
    editing.menus->matrixPanel()->move(10, 90);
    QTest::qWait(100);
    w.grab().save(out + QStringLiteral("/preview_panels.png"));
}
