#pragma once

#include <QString>

// The program's folders. Read-only data (bk, sy, skin, size.ini, 使用必读.txt) lives
// beside the executable in a build tree, or in ../share/tuvo when installed; the
// folders the program writes (zp, user) live beside the executable when that is
// writable, else in the per-user data folder. TUVO_HOME replaces the folder for
// zp and user (and holds the settings); the read-only data never moves.
class AppPaths {
public:
    static AppPaths resolve();
    // The choice resolve() makes for a program in programDir, with perUserDir the
    // per-user data folder to fall back on.
    static AppPaths forProgramIn(const QString &programDir, const QString &perUserDir);
    static AppPaths at(const QString &dataDir, const QString &writableDir);

    QString dataDir() const { return dataDir_; }
    QString writableDir() const { return writableDir_; }

    QString sizeIni() const;
    QString bkDir() const;
    QString syDir() const;
    QString skinDir() const;
    QString readme() const;
    QString zpDir() const; // default output folder
    QString userDir() const; // files the program makes for itself

    // Creates zp and user when missing; false when that fails.
    bool ensureWritableFolders() const;

private:
    QString dataDir_;
    QString writableDir_;
};
