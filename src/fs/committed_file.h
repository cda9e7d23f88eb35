#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// The one way the program writes a file: the bytes go to a temporary in the
// target's folder, every write, the flush to disk and the close are checked, and
// only when all of them succeeded does the temporary take the target's name.
// Otherwise the temporary is removed and the old file stays as it was.
//
// Writers that do not look at write results (QPdfWriter, text streams) can write
// into it as a QIODevice; the first failure is remembered and refuses the commit.
class CommittedFile : public QIODevice {
public:
    explicit CommittedFile(const QString &path);
    ~CommittedFile() override; // discards what was not committed

    // Opens the temporary; mode must be WriteOnly.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }

    // Flushes to disk and renames into place. False, with errorString(), when any
    // step since open failed; the target is then untouched.
    bool commit();
    // Like commit, but under path and never replacing a file: when path exists
    // (another program may have put it there a moment ago), false with clashed(),
    // and the finished bytes stay ready to be committed under another name.
    bool commitNew(const QString &path);
    bool clashed() const { return clashed_; }
    void discard();

    // The last bytes written, enough to check a file's trailer before committing.
    QByteArray tail() const { return tail_; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool failWith(int error);
    bool seal();
    bool publish(const QString &target, bool replace);

    QString path_;
    QString namedTemp_; // only where unnamed temporaries are not supported
    int fd_ = -1;
    int error_ = 0;
    bool sealed_ = false; // flushed, closed and named: ready to take a target's name
    bool clashed_ = false;
    QByteArray tail_;
};

// Writes bytes to path through a CommittedFile.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error);
