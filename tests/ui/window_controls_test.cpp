// The tool column as a user handles it: the wheel, the upload box, the start
// button on a laptop screen.
#include "support/child_session.h"
#include "ui/main_window_skin.h"
#include "ui/preview_canvas.h"
#include "window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

TEST_F(WindowTest, WheelOverAnUnfocusedDropDownScrollsTheColumn)
{
    MainWindow &w = start();
    w.resize(900, 520); // short enough that the column scrolls
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *format = w.findChild<QComboBox *>(QStringLiteral("cmbFormat"));
    QScrollBar *scroll = w.findChild<QScrollArea *>(QStringLiteral("panelColumn"))->verticalScrollBar();
    const auto wheelDown = [format] {
        QWheelEvent down(QPointF(5, 5), format->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        // As from the mouse: only such events travel on to the parents.
        QSpontaneKeyEvent::setSpontaneous(&down);
        QCoreApplication::instance()->notify(format, &down);
    };
    wheelDown();
    EXPECT_EQ(format->currentIndex(), 1);
    EXPECT_GT(scroll->value(), 0);
    format->setFocus();
    wheelDown();
    EXPECT_EQ(format->currentIndex(), 2);
}

TEST_F(WindowTest, UploadBoxHoldsOnlyWithAServerAndSaysWhatItDoes)
{
    const QString noUpload = QStringLiteral("【提示】图片不会上传到网络。");
    MainWindow &w = start();
    auto *upload = w.findChild<QCheckBox *>(QStringLiteral("chkUpload"));
    upload->click(); // the account dialog is cancelled
    EXPECT_FALSE(upload->isChecked());
    EXPECT_EQ(w.statusText(), noUpload);

    bool sftpRowsOnly = false;
    prompter_.dialogHandler = [&sftpRowsOnly](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("txtServer"))
            ->setText(QStringLiteral("sftp://pics.example"));
        sftpRowsOnly = !d->findChild<QCheckBox *>(QStringLiteral("chkPassive"))->isEnabled()
            && d->findChild<QLineEdit *>(QStringLiteral("txtKeyFile"))->isEnabled();
        return int(QDialog::Accepted);
    };
    upload->click();
    EXPECT_TRUE(sftpRowsOnly);
    EXPECT_EQ(w.job().bUpload, 1);
    upload->click();
    EXPECT_EQ(w.job().bUpload, 0);
    EXPECT_EQ(w.statusText(), noUpload);
}

// Runs WindowTest.OnLaptopScreen again where the offscreen screen is 1280x800.
TEST(LaptopScreen, StartButtonIsInsideTheFirstWindow)
{
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 800}]})");
    config.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(
        QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config.fileName());
    QString out;
    EXPECT_TRUE(rerunTestsIn(
        QStringLiteral("env"), {}, QStringLiteral("WindowTest.OnLaptopScreen"), env, 60000, &out))
        << out.toStdString();
}

TEST_F(WindowTest, OnLaptopScreen)
{
    if (QGuiApplication::primaryScreen()->size() != QSize(1280, 800))
        GTEST_SKIP() << "runs inside LaptopScreen.StartButtonIsInsideTheFirstWindow";
    // The desktop program's face and size of text, and its default skin.
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    copyShippedSkins();
    MainWindow &w = start(makePictures(home() + QStringLiteral("/in"), 2));
    installSkinMenu(w);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto *startButton = w.findChild<QPushButton *>(QStringLiteral("cmdStart"));
    auto *column = w.findChild<QScrollArea *>(QStringLiteral("panelColumn"));
    EXPECT_EQ(column->verticalScrollBar()->maximum(), 0) << "the column scrolls";
    const QRect button(startButton->mapTo(&w, QPoint(0, 0)), startButton->size());
    ASSERT_TRUE(w.rect().contains(button));
    const QImage screen = w.grab().toImage();
    // The button's green face, left of its text.
    const QColor face = screen.pixelColor(button.left() + 5, button.center().y());
    EXPECT_LT(qAbs(face.red() - 0x2f) + qAbs(face.green() - 0x7d) + qAbs(face.blue() - 0x32), 40);
}

// A picture that cannot be decoded says so and why, instead of the empty-list text.
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
