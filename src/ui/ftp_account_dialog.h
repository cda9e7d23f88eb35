#pragma once

#include "publish/ftp_account.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class Prompter;
struct JobSettings;

// The upload account: server (host or host:port), user, password, web address of
// the FTP folder, the folder, the sub-folder and the passive switch.
// Child widgets are named txtServer, txtUser, txtPassword, txtWebBase, txtDir,
// txtSubDir and chkPassive; then the secure-transfer rows chkRequireTls,
// txtCaFile, txtPin, txtKeyFile, txtHostKey and the label lblSecurity, which says
// whether the account uses FTP, FTP over TLS or SFTP and how the last upload went.
class FtpAccountDialog : public QDialog {
    Q_OBJECT
public:
    explicit FtpAccountDialog(QWidget *parent = nullptr);

    void setAccount(const FtpAccount &account);
    FtpAccount account() const;

private:
    void showSecurity();
    // Greys the rows that do not apply to the protocol the server names.
    void enableRowsFor(bool sftp);

    QLineEdit *server_;
    QLineEdit *user_;
    QLineEdit *password_;
    QLineEdit *webBase_;
    QLineEdit *dir_;
    QLineEdit *subDir_;
    QCheckBox *passive_;
    QCheckBox *requireTls_;
    QLineEdit *caFile_;
    QLineEdit *pin_;
    QLineEdit *keyFile_;
    QLineEdit *hostKey_;
    QLabel *security_;
    class QFormLayout *form_;
};

// Opens the account dialog modally on job's account; true and job updated when
// the user confirmed it.
bool editFtpAccount(QWidget *parent, JobSettings &job, Prompter &prompter);

// What ticking or unticking the upload box does: the warning "敬告" when ticked,
// the account dialog when ticked without a server, and a hint that says whether
// pictures will be uploaded (handed to showHint, which writes the status line).
// Returns whether upload is on now: a tick whose account dialog ended without a
// server does not hold, and the box should go back to unticked.
bool uploadBoxToggled(bool ticked, JobSettings &job, QWidget *parent, Prompter &prompter,
    const std::function<void(const QString &)> &showHint);
