// The tool column as a user handles it: the wheel, the upload box, the start
// button on a laptop screen, and a picture the preview cannot show.
#include "support/child_session.h"
#include "support/qstring_printer.h"
#include "ui/main_window_skin.h"
#include "ui/preview_canvas.h"
#include "window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace {

template<typename T> T *child(QWidget &w, const char *name)
{
    T *c = w.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// As from the mouse: only such wheel events travel on to the parents.
void wheelDown(QWidget *target)
{
    QWheelEvent down(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&down);
    QCoreApplication::instance()->notify(target, &down); // sendEvent would make it synthetic
}

const QString kNoUpload = QStringLiteral("【提示】图片不会上传到网络。");

} // namespace

TEST_F(WindowTest, WheelOverAnUnfocusedDropDownScrollsTheColumn)
{
    MainWindow &w = start();
    w.resize(900, 520); // short enough that the column scrolls
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *format = child<QComboBox>(w, "cmbFormat");
    QScrollBar *scroll = child<QScrollArea>(w, "panelColumn")->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0);
    const int index = format->currentIndex();

    wheelDown(format);
    EXPECT_EQ(format->currentIndex(), index);
    EXPECT_EQ(w.job().sFormat, QStringLiteral("jpg"));
    EXPECT_GT(scroll->value(), 0);

    format->setFocus();
    wheelDown(format);
    EXPECT_EQ(format->currentIndex(), index + 1);
}

TEST_F(WindowTest, UploadBoxHoldsOnlyWithAServerAndSaysWhatItDoes)
{
    MainWindow &w = start();
    auto *upload = child<QCheckBox>(w, "chkUpload");

    // The account dialog cancelled: no server, so the tick does not hold.
    upload->click();
    EXPECT_FALSE(upload->isChecked());
    EXPECT_EQ(w.job().bUpload, 0);
    EXPECT_EQ(w.statusText(), kNoUpload);

    bool sftpRowsOnly = false;
    prompter_.dialogHandler = [&sftpRowsOnly](QDialog *d) {
        child<QLineEdit>(*d, "txtServer")->setText(QStringLiteral("sftp://pictures.example"));
        sftpRowsOnly = !child<QCheckBox>(*d, "chkPassive")->isEnabled()
            && !child<QLineEdit>(*d, "txtCaFile")->isEnabled()
            && child<QLineEdit>(*d, "txtKeyFile")->isEnabled();
        return int(QDialog::Accepted);
    };
    upload->click();
    EXPECT_TRUE(sftpRowsOnly);
    EXPECT_TRUE(upload->isChecked());
    EXPECT_EQ(w.job().bUpload, 1);
    EXPECT_EQ(w.statusText(), QStringLiteral("【提示】图片将被上传到互联网,请确保网络连接正常。"));

    upload->click();
    EXPECT_EQ(w.job().bUpload, 0);
    EXPECT_EQ(w.statusText(), kNoUpload);
}

TEST_F(WindowTest, APictureThatCannotBeDecodedSaysWhyInThePreview)
{
    QDir().mkpath(home() + QStringLiteral("/in"));
    const QString broken = home() + QStringLiteral("/in/broken.jpg");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture at all");
    file.close();
    MainWindow &w = start({broken});
    w.waitForPreview();
    const QStringList lines = w.canvas()->unavailableText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("无法显示该图片"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("broken.jpg")));

    w.cmdClr_Click();
    EXPECT_TRUE(w.canvas()->unavailableText().isEmpty());
}

// A 1280x800 laptop screen: the window's first size shows the start button
// without scrolling. Runs again in a process whose offscreen screen has that size.
TEST(LaptopScreen, StartButtonIsInsideTheFirstWindow)
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 800,
        "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.insert(QStringLiteral("TUVO_LAPTOP_SCREEN"), QStringLiteral("1"));
    QString out;
    EXPECT_TRUE(rerunTestsIn(QStringLiteral("env"), {}, QStringLiteral("OnLaptopScreen.*"), env, 60000, &out))
        << out.toStdString();
}

class OnLaptopScreen : public WindowTest { };

TEST_F(OnLaptopScreen, StartButtonShowsWithoutScrolling)
{
    if (qEnvironmentVariable("TUVO_LAPTOP_SCREEN") != QLatin1String("1"))
        GTEST_SKIP() << "runs inside LaptopScreen.StartButtonIsInsideTheFirstWindow";
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(1280, 800));
    // The desktop program's own face and size of text.
    if (QFontDatabase::families().contains(QStringLiteral("Noto Sans CJK SC"))) {
        QFont font(QStringLiteral("Noto Sans CJK SC"));
        font.setPointSizeF(10);
        QApplication::setFont(font);
    }
    // ... and its default skin, whose frames take room of their own.
    copyShippedSkins();
    MainWindow &w = start(makePictures(home() + QStringLiteral("/in"), 2));
    installSkinMenu(w);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.waitForPreview();
    auto *startButton = child<QPushButton>(w, "cmdStart");
    auto *column = child<QScrollArea>(w, "panelColumn");
    const QRect button(startButton->mapTo(&w, QPoint(0, 0)), startButton->size());
    const QRect shown(column->viewport()->mapTo(&w, QPoint(0, 0)), column->viewport()->size());
    EXPECT_TRUE(shown.contains(button)) << "button " << button.y() << "+" << button.height() << ", column "
                                        << shown.y() << "+" << shown.height();
    EXPECT_TRUE(w.rect().contains(button));
    EXPECT_EQ(column->verticalScrollBar()->maximum(), 0) << "the column scrolls";

    // On the screen the button's green face is there (a pixel left of its text).
    const QImage screen = w.grab().toImage();
    if (const QString out = qEnvironmentVariable("TUVO_SCREENS"); !out.isEmpty())
        screen.save(out + QStringLiteral("/laptop_window.png"));
    const QColor face = screen.pixelColor(button.left() + 5, button.center().y());
    EXPECT_LT(qAbs(face.red() - 0x2f) + qAbs(face.green() - 0x7d) + qAbs(face.blue() - 0x32), 40)
        << face.name().toStdString();
}
