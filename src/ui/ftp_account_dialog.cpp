#include "ui/ftp_account_dialog.h"

#include "dialogs/prompter.h"
#include "job/job_settings.h"
#include "publish/ftp_upload.h"
#include "publish/publish_texts.h"
#include "publish/upload_address.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *addField(QFormLayout *form, const char *name, const QString &label, const QString &placeholder)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    edit->setPlaceholderText(placeholder);
    edit->setMinimumWidth(320);
    form->addRow(label, edit);
    return edit;
}

} // namespace

FtpAccountDialog::FtpAccountDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFtp"));
    setWindowTitle(QCoreApplication::translate("tuvo", "网络参数设置"));
    auto *form = new QFormLayout;
    form_ = form;
    server_ = addField(form, "txtServer", QCoreApplication::translate("tuvo", "FTP服务器:"),
        QCoreApplication::translate("tuvo", "ftp.example.com 或 主机:端口; sftp://主机 使用SFTP"));
    server_->setToolTip(QCoreApplication::translate(
        "tuvo", "主机名或 主机:端口 使用FTP(服务器支持时加密);以 sftp:// 开头则使用SFTP(SSH),默认端口22。"));
    user_ = addField(form, "txtUser", QCoreApplication::translate("tuvo", "用户名:"), QString());
    password_ = addField(form, "txtPassword", QCoreApplication::translate("tuvo", "密码:"),
        QCoreApplication::translate("tuvo", "不会保存到磁盘"));
    password_->setEchoMode(QLineEdit::Password);
    webBase_ = addField(form, "txtWebBase", QCoreApplication::translate("tuvo", "网址:"),
        QStringLiteral("http://www.example.com/photo"));
    dir_ = addField(
        form, "txtDir", QCoreApplication::translate("tuvo", "FTP目录:"), QStringLiteral("/htdocs/photo/"));
    subDir_ = addField(form, "txtSubDir", QCoreApplication::translate("tuvo", "子目录:"), QString());
    passive_ = new QCheckBox(QCoreApplication::translate("tuvo", "被动模式(PASV)"));
    passive_->setObjectName(QStringLiteral("chkPassive"));
    form->addRow(QString(), passive_);
    requireTls_ = new QCheckBox(QCoreApplication::translate("tuvo", "要求加密(服务器不支持TLS时不发送密码)"));
    requireTls_->setObjectName(QStringLiteral("chkRequireTls"));
    form->addRow(QString(), requireTls_);
    caFile_ = addField(form, "txtCaFile", QCoreApplication::translate("tuvo", "CA证书文件:"),
        QCoreApplication::translate("tuvo", "自签名服务器的证书(PEM)"));
    pin_ = addField(form, "txtPin", QCoreApplication::translate("tuvo", "公钥指纹:"),
        QCoreApplication::translate("tuvo", "服务器公钥的SHA-256"));
    keyFile_ = addField(form, "txtKeyFile", QCoreApplication::translate("tuvo", "SSH私钥:"),
        QStringLiteral("~/.ssh/id_ed25519"));
    hostKey_ = addField(form, "txtHostKey", QCoreApplication::translate("tuvo", "接受主机密钥:"),
        QStringLiteral("SHA256:..."));
    security_ = new QLabel;
    security_->setObjectName(QStringLiteral("lblSecurity"));
    form->addRow(QString(), security_);
    connect(server_, &QLineEdit::textChanged, this, &FtpAccountDialog::showSecurity);
    connect(requireTls_, &QCheckBox::toggled, this, &FtpAccountDialog::showSecurity);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(QCoreApplication::translate("tuvo", "确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QCoreApplication::translate("tuvo", "取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void FtpAccountDialog::setAccount(const FtpAccount &account)
{
    // The start value "ftp://" means "not set"; the box shows it empty.
    server_->setText(ftpServerUnset(account.server) ? QString() : account.server);
    user_->setText(account.user);
    password_->setText(account.password);
    webBase_->setText(account.webBase);
    dir_->setText(account.dir);
    subDir_->setText(account.subDir);
    passive_->setChecked(account.passive);
    // A new account starts with encryption required.
    requireTls_->setChecked(account.requireTls || ftpServerUnset(account.server));
    caFile_->setText(account.caFile);
    pin_->setText(account.pin);
    keyFile_->setText(account.keyFile);
    hostKey_->setText(account.hostKey);
    showSecurity();
}

void FtpAccountDialog::showSecurity()
{
    const bool sftp = parseFtpServer(server_->text()).sftp;
    QString text = QCoreApplication::translate("tuvo", "连接方式: ")
        + (sftp                            ? QCoreApplication::translate("tuvo", "SFTP(SSH加密)")
                : requireTls_->isChecked() ? QCoreApplication::translate("tuvo", "FTP over TLS(必须加密)")
                                           : QCoreApplication::translate("tuvo", "FTP(服务器支持时使用TLS)"));
    const LastUploadSecurity last = lastUploadSecurity();
    if (last != LastUploadSecurity::None)
        text += last == LastUploadSecurity::Encrypted
            ? QCoreApplication::translate("tuvo", ";上次连接已加密")
            : QCoreApplication::translate("tuvo", ";上次连接未加密");
    security_->setText(text);
    enableRowsFor(sftp);
}

void FtpAccountDialog::enableRowsFor(bool sftp)
{
    const auto enable = [this](QWidget *field, bool on) {
        field->setEnabled(on);
        if (QWidget *label = form_->labelForField(field))
            label->setEnabled(on);
    };
    for (QWidget *ftpOnly : std::initializer_list<QWidget *> {passive_, requireTls_, caFile_, pin_})
        enable(ftpOnly, !sftp);
    for (QWidget *sftpOnly : std::initializer_list<QWidget *> {keyFile_, hostKey_})
        enable(sftpOnly, sftp);
}

FtpAccount FtpAccountDialog::account() const
{
    FtpAccount a;
    a.server = server_->text().trimmed();
    a.user = user_->text().trimmed();
    a.password = password_->text();
    a.webBase = webBase_->text().trimmed();
    a.dir = dir_->text().trimmed();
    a.subDir = subDir_->text().trimmed();
    a.passive = passive_->isChecked();
    a.requireTls = requireTls_->isChecked();
    a.caFile = caFile_->text().trimmed();
    a.pin = pin_->text().trimmed();
    a.keyFile = keyFile_->text().trimmed();
    a.hostKey = hostKey_->text().trimmed();
    return a;
}

bool editFtpAccount(QWidget *parent, JobSettings &job, Prompter &prompter)
{
    FtpAccountDialog dialog(parent);
    dialog.setAccount(accountOf(job));
    if (prompter.exec(&dialog) != QDialog::Accepted)
        return false;
    applyAccount(job, dialog.account());
    return true;
}

bool uploadBoxToggled(bool ticked, JobSettings &job, QWidget *parent, Prompter &prompter,
    const std::function<void(const QString &)> &showHint)
{
    if (ticked) {
        prompter.message(parent, PublishTexts::uploadWarningTitle(), PublishTexts::uploadWarningText(),
            Prompter::Icon::Warning);
        if (ftpServerUnset(job.sFtpServer))
            editFtpAccount(parent, job, prompter);
    }
    // Without a server a run would refuse to start, so the tick does not hold.
    const bool on = ticked && !ftpServerUnset(job.sFtpServer);
    if (showHint)
        showHint(on ? PublishTexts::uploadHint()
                    : QCoreApplication::translate("tuvo", "【提示】图片不会上传到网络。"));
    return on;
}
