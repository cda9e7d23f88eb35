#include "job/job_settings.h"
#include "render/pipeline.h"
#include "support/qstring_printer.h"
#include "ui/adjust_menus.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A 40 x 30 picture of one colour, drawn at its own size.
struct Picture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("flat.png"));
    Picture(QColor colour = QColor(100, 150, 200))
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(colour);
        image.setPixelColor(5, 5, QColor(30, 60, 90));
        image.save(path);
    }
};

struct Controls {
    QWidget preview;
    JobSettings job;
    AdjustMenus menus {job, &preview};
    QMenu effects;
    QMenu colours;
    QMenu rotations;
    QWidget *tools;

    Controls()
    {
        chooseSizeMode(job, kOriginalSize);
        menus.populateEffectMenu(&effects);
        menus.populateColourMenu(&colours);
        menus.populateRotationMenu(&rotations);
        tools = menus.buildToolPanel(&preview);
        preview.resize(800, 600);
        preview.show();
    }
    template<typename T> T *child(const char *name)
    {
        T *w = preview.findChild<T *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

QImage render(const JobSettings &job, const QString &path)
{
    const RenderResult r = funImgDone(job, path);
    EXPECT_TRUE(r.ok());
    return r.surface;
}

} // namespace

TEST(ColourControls, UncheckingGreenZeroesGreenInTheOutput)
{
    Picture pic;
    Controls c;
    QSignalSpy redraws(&c.menus, &AdjustMenus::changed);
    EXPECT_EQ(c.colours.actions().at(1)->text(), QStringLiteral("绿色通道"));
    EXPECT_EQ(c.child<QPushButton>("cmdChannel1")->toolTip(), QStringLiteral("绿色通道开关"));
    EXPECT_EQ(c.child<QLineEdit>("txtChannel1")->toolTip(), QStringLiteral("绿色分量大小(0-1)"));

    c.menus.channelAction(1)->trigger();
    EXPECT_FALSE(c.menus.channelAction(1)->isChecked());
    EXPECT_FALSE(c.child<QPushButton>("cmdChannel1")->isChecked());
    EXPECT_EQ(c.menus.factorBox(1)->text(), QStringLiteral("0"));
    EXPECT_EQ(redraws.count(), 1);
    const QImage out = render(c.job, pic.path);
    EXPECT_EQ(out.pixelColor(20, 20), QColor(100, 0, 200));
    EXPECT_EQ(out.pixelColor(5, 5), QColor(30, 0, 90));

    // The button toggles the same item back.
    c.child<QPushButton>("cmdChannel1")->click();
    EXPECT_TRUE(c.menus.channelAction(1)->isChecked());
    EXPECT_EQ(render(c.job, pic.path).pixelColor(20, 20), QColor(100, 150, 200));

    // A factor that is no number leaves the matrix alone.
    const ColourMatrix before = c.job.sngColorMatrix;
    c.menus.factorBox(0)->setText(QStringLiteral("x"));
    EXPECT_EQ(c.job.sngColorMatrix, before);
    EXPECT_EQ(redraws.count(), 2);
}

TEST(ColourControls, MatrixPanelCancelRestoresExactly)
{
    Controls c;
    c.menus.factorBox(0)->setText(QStringLiteral("0.3"));
    c.job.sngColorMatrix[4][2] = 0.1f;
    const ColourMatrix before = c.job.sngColorMatrix;
    QSignalSpy redraws(&c.menus, &AdjustMenus::changed);

    c.colours.actions().last()->trigger(); // "高级..."
    EXPECT_EQ(c.colours.actions().last()->text(), QStringLiteral("高级..."));
    EXPECT_TRUE(c.menus.matrixPanel()->isVisible());
    EXPECT_EQ(redraws.count(), 0);
    EXPECT_EQ(c.job.sngColorMatrix, before);
    EXPECT_EQ(c.menus.matrixBox(0)->text().toFloat(), 0.3f);

    c.menus.matrixBox(1)->setText(QStringLiteral("1")); // output red gains input green
    EXPECT_EQ(c.job.sngColorMatrix[1][0], 1.0f);
    c.menus.matrixBox(7)->setText(QStringLiteral("abc"));
    c.menus.matrixBox(12)->setText(QStringLiteral("0.123456789"));
    EXPECT_EQ(redraws.count(), 2);
    c.child<QPushButton>("cmdMatrixCancel")->click();
    EXPECT_FALSE(c.menus.matrixPanel()->isVisible());
    EXPECT_EQ(c.job.sngColorMatrix, before);
    EXPECT_EQ(redraws.count(), 3);

    c.menus.openMatrixPanel();
    c.menus.matrixBox(1)->setText(QStringLiteral("0.5"));
    c.child<QPushButton>("cmdMatrixOK")->click();
    EXPECT_EQ(c.job.sngColorMatrix[1][0], 0.5f);
}

TEST(EffectControls, BrightnessSliderReplacesAChosenPreset)
{
    Picture pic;
    Controls c;
    QSignalSpy redraws(&c.menus, &AdjustMenus::changed);
    EXPECT_TRUE(c.menus.noEffectAction()->isChecked());
    QAction *night = c.menus.effectAction(5);
    EXPECT_EQ(night->text(), QStringLiteral("夜色朦胧"));
    night->trigger();
    EXPECT_EQ(c.job.iEffect, std::optional<int>(5));
    EXPECT_FALSE(c.menus.noEffectAction()->isChecked());

    c.effects.actions().last()->trigger(); // "调整亮度..."
    EXPECT_TRUE(c.menus.brightnessPanel()->isVisible());
    c.menus.brightnessSlider()->setValue(40);
    EXPECT_EQ(c.job.iEffect, std::optional<int>(kBrightnessPreset));
    EXPECT_FALSE(night->isChecked());
    EXPECT_EQ(redraws.count(), 2);

    JobSettings brightnessOnly;
    chooseSizeMode(brightnessOnly, kOriginalSize);
    brightnessOnly.iEffect = kBrightnessPreset;
    brightnessOnly.iBrightness = 40;
    EXPECT_EQ(render(c.job, pic.path), render(brightnessOnly, pic.path));
    JobSettings nightOnly = brightnessOnly;
    nightOnly.iEffect = 5;
    EXPECT_NE(render(c.job, pic.path), render(nightOnly, pic.path));

    c.menus.noEffectAction()->trigger();
    EXPECT_FALSE(c.job.iEffect.has_value());
    EXPECT_EQ(c.menus.brightnessSlider()->value(), 40);

    // "默认" sets the slider back to 0, which is a slider change.
    c.child<QPushButton>("cmdBrightDefault")->click();
    EXPECT_EQ(c.job.iEffect, std::optional<int>(kBrightnessPreset));
    EXPECT_EQ(c.job.iBrightness, 0);
    c.child<QPushButton>("cmdBrightClose")->click();
    EXPECT_FALSE(c.menus.brightnessPanel()->isVisible());
}

TEST(EffectControls, BeautyButtonChecksTheFirstPreset)
{
    Controls c;
    auto *beauty = c.child<QPushButton>("cmdBeauty");
    EXPECT_EQ(beauty->toolTip(), QStringLiteral("快速人像美容"));
    EXPECT_EQ(c.child<QPushButton>("cmdMoreEffects")->toolTip(), QStringLiteral("更多特效"));
    beauty->click();
    EXPECT_TRUE(c.menus.effectAction(0)->isChecked());
    EXPECT_EQ(c.menus.effectAction(0)->text(), QStringLiteral("一键美容"));
    EXPECT_FALSE(c.menus.effectAction(kBrightnessPreset)->isVisible());
}

TEST(RotationControls, ButtonsChooseTheModeWithCaptionsAndTips)
{
    Controls c;
    bool picture = false;
    c.menus.setPictureShown([&] { return picture; });
    QSignalSpy redraws(&c.menus, &AdjustMenus::changed);
    auto *cw = c.child<QPushButton>("cmdRotate3");
    EXPECT_EQ(cw->text(), QStringLiteral("+90"));
    EXPECT_EQ(cw->toolTip(), QStringLiteral("顺时针旋转90度"));
    EXPECT_EQ(c.child<QPushButton>("cmdRotate7")->toolTip(), QStringLiteral("以垂线为轴镜像"));
    cw->click();
    EXPECT_EQ(c.job.iRotateMode, kRotateNone);
    EXPECT_EQ(redraws.count(), 0);

    picture = true;
    cw->click();
    EXPECT_EQ(c.job.iRotateMode, kRotateClockwise);
    EXPECT_TRUE(c.rotations.actions().at(3)->isChecked());
    EXPECT_FALSE(c.rotations.actions().at(0)->isChecked());
    EXPECT_EQ(redraws.count(), 1);
}
