#include "dialogs/prompter.h"
#include "support/qstring_printer.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

QStringList buttonTexts(QWidget *dialog)
{
    QStringList texts;
    if (auto *box = dialog->findChild<QDialogButtonBox *>())
        for (QAbstractButton *b : box->buttons())
            texts << b->text();
    texts.sort();
    return texts;
}

} // namespace

// Every button of the program reads Chinese, the standard dialogs' too.
TEST(StandardDialogs, ButtonsAreChinese)
{
    // The input boxes of "坐标定位" and "播放速度设置...".
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        if (auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget())) {
            shown = buttonTexts(box);
            box->reject();
        }
    });
    WidgetPrompter prompter;
    QString answer;
    EXPECT_FALSE(prompter.askText(
        nullptr, QStringLiteral("设置"), QStringLiteral("请输入"), QStringLiteral("3"), &answer));
    EXPECT_EQ(shown, (QStringList {QStringLiteral("取消"), QStringLiteral("确定")}));

    const QString qm
        = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm");
    if (!QFileInfo(qm).isFile())
        GTEST_SKIP() << "SKIPPED LOUDLY: " << qm.toStdString()
                     << " is missing (install qt6-translations-l10n); Qt's own buttons stay English";
    QTranslator *translator = installQtTranslations(*qApp);
    ASSERT_NE(translator, nullptr);
    {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        QFileDialog files(nullptr);
        files.setOption(QFileDialog::DontUseNativeDialog);
        EXPECT_TRUE(buttonTexts(&files).contains(QStringLiteral("取消")))
            << buttonTexts(&files).join(u'|').toStdString();
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}
