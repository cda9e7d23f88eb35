// Every shipped skin, rendered: disabled controls look disabled, and the texts
// people read (list rows, labels, panel titles, check boxes) stand out from their
// ground by at least 4.5:1, the WCAG AA contrast for normal text.
#include "support/qstring_printer.h"
#include "ui/file_list_view.h"
#include "ui/frm_option.h"
#include "ui/skin.h"
#include "window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>

#include <cmath>

namespace {

struct Skin {
    const char *file;
    const char *id;
};

void PrintTo(const Skin &skin, std::ostream *out)
{
    *out << skin.id;
}

double luminance(QColor c)
{
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(QColor a, QColor b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The ground of a region: its most frequent colour.
QColor ground(const QImage &img, QRect r)
{
    QHash<QRgb, int> counts;
    r &= img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[img.pixel(x, y)];
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    return QColor(best);
}

// The strongest contrast of any pixel against the region's ground: the strokes of
// readable text reach the text colour.
double inkContrast(const QImage &img, QRect r)
{
    r &= img.rect();
    const QColor bg = ground(img, r);
    double best = 1.0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            best = std::max(best, contrast(QColor(img.pixel(x, y)), bg));
    return best;
}

// A row of the region drawn almost all across in something other than the ground:
// a frame line through a title.
bool crossedByLine(const QImage &img, QRect r)
{
    r &= img.rect();
    const QColor bg = ground(img, r);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        int ink = 0;
        for (int x = r.left(); x <= r.right(); ++x)
            ink += contrast(QColor(img.pixel(x, y)), bg) > 1.3 ? 1 : 0;
        if (ink > r.width() * 8 / 10)
            return true;
    }
    return false;
}

class SkinLookTest : public WindowTest, public ::testing::WithParamInterface<Skin> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(
            applySkin(QStringLiteral(TUVO_SOURCE_DIR "/data/skin/") + QString::fromUtf8(GetParam().file)));
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        qApp->setStyleSheet(QString());
    }

    // Fifty entries, a ticked and an unticked box, disabled lists and fields.
    MainWindow &startShown()
    {
        MainWindow &w = start(makePictures(home() + QStringLiteral("/in"), 50, QSize(16, 12)));
        w.findChild<QCheckBox *>(QStringLiteral("chkPDF"))->setChecked(true);
        w.resize(1280, 860);
        w.show();
        w.waitForPreview();
        QApplication::processEvents();
        shot = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString out = qEnvironmentVariable("TUVO_SCREENS");
        if (!out.isEmpty()) {
            QDir().mkpath(out);
            shot.save(out + QStringLiteral("/skin_%1.png").arg(QLatin1String(GetParam().id)));
        }
        return w;
    }

    template<typename T> T *named(MainWindow &w, const char *name)
    {
        T *c = w.findChild<T *>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // r, in c's coordinates, on the window's picture (the grab has the device's pixel ratio 1 offscreen).
    QRect on(MainWindow &w, const QWidget *c, QRect r) const
    {
        return QRect(c->mapTo(&w, r.topLeft()), r.size());
    }

    QImage shot;
};

TEST_P(SkinLookTest, DisabledControlsLookDisabled)
{
    MainWindow &w = startShown();
    auto *disabled = named<QComboBox>(w, "cmbTxtPos"); // off until a text watermark is set
    auto *enabled = named<QComboBox>(w, "cmbFormat");
    ASSERT_FALSE(disabled->isEnabled());
    ASSERT_TRUE(enabled->isEnabled());
    const auto textArea = [&](QComboBox *c) {
        return on(w, c, QRect(4, c->height() / 4, c->width() / 2, c->height() / 2));
    };
    const double off = inkContrast(shot, textArea(disabled));
    const double enabledInk = inkContrast(shot, textArea(enabled));
    EXPECT_LT(off, enabledInk / 2) << GetParam().id << ": disabled " << off << " enabled " << enabledInk;

    // Not a check: the options dialog with its greyed crop and link-page options.
    const QString out = qEnvironmentVariable("TUVO_SCREENS");
    if (!out.isEmpty()) {
        JobSettings job;
        job.bPicJQ = 0;
        job.bAutoURL = 0;
        StoredOptions stored;
        FrmOption dlg(job, stored, FrmOption::GeneralPanel, {}, &w);
        dlg.show();
        QApplication::processEvents();
        dlg.grab().save(out + QStringLiteral("/options_%1.png").arg(QLatin1String(GetParam().id)));
    }
}

TEST_P(SkinLookTest, TextsReachTheAaContrast)
{
    MainWindow &w = startShown();
    constexpr double kAA = 4.5;
    const char *skin = GetParam().id;

    // List rows: a plain row, an alternate row and the selected (last) row.
    FileListView *list = w.listView();
    ASSERT_EQ(list->currentRow(), 49);
    for (int row : {47, 48, 49}) {
        const QRect r = list->visualRect(list->model()->index(row, 0)).adjusted(2, 1, -2, -1);
        ASSERT_TRUE(list->viewport()->rect().contains(r)) << row;
        EXPECT_GE(inkContrast(shot, on(w, list->viewport(), r)), kAA) << skin << " row " << row;
    }

    for (const char *name : {"lFile", "lTxt", "lImg", "lOut", "lPicInfo"}) {
        auto *label = named<QLabel>(w, name);
        ASSERT_FALSE(label->text().isEmpty()) << name;
        EXPECT_GE(inkContrast(shot, on(w, label, label->contentsRect())), kAA) << skin << " " << name;
    }

    // Panel titles: readable, and the frame line passes outside them.
    for (const char *name : {"frame1", "frame2", "frame3", "frame4", "frame5"}) {
        auto *panel = named<QGroupBox>(w, name);
        const QRect title = on(w, panel, QRect(0, 0, panel->width(), panel->fontMetrics().height()));
        EXPECT_GE(inkContrast(shot, title), kAA) << skin << " " << name;
        EXPECT_FALSE(crossedByLine(shot, title.adjusted(12, 0, -12, 0))) << skin << " " << name;
    }

    // Check boxes: their text, and the box itself whether ticked or not (3:1, as
    // for the parts of a control).
    for (const char *name : {"chkPDF", "chkUpload", "chkInfoTxt", "chkRename"}) {
        auto *box = named<QCheckBox>(w, name);
        QStyleOptionButton opt;
        opt.initFrom(box);
        opt.text = box->text();
        const QRect text = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, box);
        const QRect tick = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, box);
        EXPECT_GE(inkContrast(shot, on(w, box, text)), kAA) << skin << " " << name;
        const QColor ground_ = ground(shot, on(w, box, box->rect()));
        double edge = 1.0;
        const QRect t = on(w, box, tick);
        for (int y = t.top(); y <= t.bottom(); ++y)
            for (int x = t.left(); x <= t.right(); ++x)
                edge = std::max(edge, contrast(QColor(shot.pixel(x, y)), ground_));
        EXPECT_GE(edge, 3.0) << skin << " " << name << (box->isChecked() ? " ticked" : " unticked");
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, SkinLookTest,
    ::testing::Values(Skin {"浅蓝(默认).she", "blue"}, Skin {"暖阳橙.she", "orange"},
        Skin {"清新绿.she", "green"}, Skin {"深邃黑.she", "dark"}),
    [](const ::testing::TestParamInfo<Skin> &info) { return std::string(info.param.id); });

} // namespace
