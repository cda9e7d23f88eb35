#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real FTP server (pyftpdlib) on 127.0.0.1, on a port the system picks, serving
// a temporary folder for one user. Stopped when the object goes.
class FtpTestServer {
public:
    struct Options {
        QString user = QStringLiteral("tuvo");
        QString password = QStringLiteral("secret");
        QString permissions = QStringLiteral("elradfmwMT"); // pyftpdlib's letters; "elr" is read-only
        bool refusePassive = false; // PASV/EPSV answered 502: only active transfers work
        bool refuseActive = false; // PORT/EPRT answered 502: only passive transfers work
        // FTP over TLS (AUTH TLS) with this certificate and key, required on the control
        // and data channels: a login that succeeds cannot have sent PASS in clear.
        QString certificate;
        QString privateKey;
    };

    FtpTestServer();
    explicit FtpTestServer(const Options &options);
    ~FtpTestServer();

    // Starts the server and waits until it listens; false with a reason otherwise.
    bool start(QString *error = nullptr);
    void stop();
    bool isRunning() const;

    int port() const { return port_; }
    QString hostAndPort() const; // "127.0.0.1:PORT"
    QString root() const { return root_.path(); } // the user's home, "/" on the server
    const Options &options() const { return options_; }
    // The commands the server received so far, one "<- COMMAND" line each.
    QString log();

private:
    Options options_;
    QTemporaryDir root_;
    QProcess process_;
    int port_ = 0;
    QTemporaryDir logDir_;
};
