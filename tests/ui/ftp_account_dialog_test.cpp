#include "dialogs/prompter.h"
#include "job/job_settings.h"
#include "support/qstring_printer.h"
#include "ui/ftp_account_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

const QString kWarning = QStringLiteral("严禁上传淫秽、暴力、反动等国家禁止或有违道德图片！\r\n\r\n"
                                        "请自觉遵守法律法规和道德规范，共创良好网络环境。");
const QString kHint = QStringLiteral("【提示】图片将被上传到互联网,请确保网络连接正常。");

void type(QDialog *dialog, const char *name, const QString &text)
{
    auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->setText(text);
}

} // namespace

TEST(UploadBox, TickingWithoutServerWarnsThenOpensTheAccountDialog)
{
    ScriptedPrompter prompter;
    prompter.dialogHandler = [](QDialog *dialog) {
        EXPECT_EQ(dialog->findChild<QLineEdit *>(QStringLiteral("txtServer"))->text(), QString());
        type(dialog, "txtServer", QStringLiteral(" ftp.example.org:2121 "));
        type(dialog, "txtUser", QStringLiteral("tuvo"));
        type(dialog, "txtPassword", QStringLiteral("pw"));
        type(dialog, "txtWebBase", QStringLiteral("http://example.org/p"));
        type(dialog, "txtDir", QStringLiteral("/htdocs/"));
        type(dialog, "txtSubDir", QStringLiteral("trip"));
        dialog->findChild<QCheckBox *>(QStringLiteral("chkPassive"))->setChecked(true);
        // A new account requires encryption unless the user turns it off.
        EXPECT_TRUE(dialog->findChild<QCheckBox *>(QStringLiteral("chkRequireTls"))->isChecked());
        type(dialog, "txtCaFile", QStringLiteral("/etc/ca.pem"));
        EXPECT_TRUE(dialog->findChild<QLabel *>(QStringLiteral("lblSecurity"))
                        ->text()
                        .contains(QStringLiteral("TLS")));
        return int(QDialog::Accepted);
    };
    JobSettings job;
    QStringList hints;
    uploadBoxToggled(true, job, nullptr, prompter, [&](const QString &h) { hints << h; });

    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_EQ(prompter.shown[0].kind, QStringLiteral("message"));
    EXPECT_EQ(prompter.shown[0].title, QStringLiteral("敬告"));
    EXPECT_EQ(prompter.shown[0].text, kWarning);
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
    EXPECT_EQ(prompter.shown[1].kind, QStringLiteral("dialog"));
    EXPECT_EQ(hints, QStringList {kHint});

    EXPECT_EQ(job.sFtpServer, QStringLiteral("ftp.example.org:2121"));
    EXPECT_EQ(job.sFtpUser, QStringLiteral("tuvo"));
    EXPECT_EQ(job.sFtpPassword, QStringLiteral("pw"));
    EXPECT_EQ(job.sWebBase, QStringLiteral("http://example.org/p"));
    EXPECT_EQ(job.sFtpDir, QStringLiteral("/htdocs/"));
    EXPECT_EQ(job.sFtpSubDir, QStringLiteral("trip"));
    EXPECT_TRUE(job.bFtpPassive);
    EXPECT_TRUE(job.bFtpRequireTls);
    EXPECT_EQ(job.sFtpCaFile, QStringLiteral("/etc/ca.pem"));

    // Shown again, the dialog starts from the account and hides the password.
    prompter.dialogHandler = [](QDialog *dialog) {
        EXPECT_EQ(dialog->findChild<QLineEdit *>(QStringLiteral("txtServer"))->text(),
            QStringLiteral("ftp.example.org:2121"));
        EXPECT_EQ(
            dialog->findChild<QLineEdit *>(QStringLiteral("txtPassword"))->echoMode(), QLineEdit::Password);
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(editFtpAccount(nullptr, job, prompter));
    EXPECT_EQ(job.sFtpPassword, QStringLiteral("pw"));
}

TEST(UploadBox, CancelledDialogKeepsTheAccountAndASetServerSkipsIt)
{
    ScriptedPrompter prompter;
    prompter.dialogHandler = [](QDialog *dialog) {
        type(dialog, "txtServer", QStringLiteral("typed.but.cancelled"));
        return int(QDialog::Rejected);
    };
    JobSettings job;
    uploadBoxToggled(true, job, nullptr, prompter, {});
    EXPECT_EQ(job.sFtpServer, QStringLiteral("ftp://"));

    job.sFtpServer = QStringLiteral("h.org");
    prompter.shown.clear();
    QStringList hints;
    uploadBoxToggled(true, job, nullptr, prompter, [&](const QString &h) { hints << h; });
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].title, QStringLiteral("敬告"));

    prompter.shown.clear();
    uploadBoxToggled(false, job, nullptr, prompter, [&](const QString &h) { hints << h; });
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(hints, (QStringList {kHint, QStringLiteral("【提示】图片不会上传到网络。")}));
}
