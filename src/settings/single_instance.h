#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// One running program per user and settings folder. The first start listens on
// a local socket; a later start with the same settings hands its picture paths
// to it and ends, so that a file manager opening several pictures (one process
// per file) fills one window, while a second set of settings (TUVO_HOME) gets a
// window of its own.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key names the program (the executable base name); the user and the
    // settings folder (settingsFolder()) are added.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another instance took the paths: this one should end now.
    // False when this one is now the running instance (it then listens).
    bool handOverOrListen(const QStringList &paths);

signals:
    void pathsReceived(const QStringList &paths);

private:
    bool sendTo(const QStringList &paths);
    void accept();

    QString serverName_;
    QLocalServer *server_ = nullptr;
};
