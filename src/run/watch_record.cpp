#include "run/watch_record.h"

#include "fs/committed_file.h"
#include "fs/file_names.h"
#include "job/job_fields.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

// "tuvo-watch 1", "job <hex>", "next <n>", then "<size> <mtime ns> <path>" lines
// with the path's bytes percent-encoded, so any name fits on one line.
constexpr char kHeader[] = "tuvo-watch 1";

} // namespace

QString WatchRecord::fileName()
{
    return QStringLiteral(".tuvo-watch");
}

QByteArray WatchRecord::jobFingerprint(const JobSettings &job)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const JobField &field : jobFields()) {
        if (!(field.storage & kInJobFile) || field.name() == QLatin1String("sOutDir"))
            continue;
        hash.addData((field.name() + QLatin1Char('=') + field.storedText(job) + QLatin1Char('\n')).toUtf8());
    }
    return hash.result().toHex();
}

WatchRecord::WatchRecord(const QString &outputFolder, const QByteArray &fingerprint)
    : path_(QDir(outputFolder).filePath(fileName()))
    , fingerprint_(fingerprint)
{
}

bool WatchRecord::load(QString *error)
{
    done_.clear();
    nextNumber_ = 0;
    QFile file(path_);
    existed_ = file.exists();
    if (!existed_)
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = shownName(path_) + QStringLiteral(": ") + file.errorString();
        return false;
    }
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.value(0) != kHeader || lines.value(1) != "job " + fingerprint_)
        return true; // another job's record: everything is new to this one
    nextNumber_ = lines.value(2).startsWith("next ") ? lines.value(2).mid(5).toInt() : 0;
    for (int i = 3; i < lines.size(); ++i) {
        const QList<QByteArray> parts = lines[i].split(' ');
        if (parts.size() != 3)
            continue;
        const QString picture = decodeFileName(QByteArray::fromPercentEncoding(parts[2]));
        if (pathExists(picture)) // a picture gone since leaves no line behind
            done_.insert(picture, Stamp {parts[0].toLongLong(), parts[1].toLongLong()});
    }
    return true;
}

void WatchRecord::setFingerprint(const QByteArray &fingerprint)
{
    if (fingerprint == fingerprint_)
        return;
    fingerprint_ = fingerprint;
    done_.clear();
}

bool WatchRecord::stamp(const QString &path, qint64 *size, qint64 *mtimeNs)
{
    struct stat st;
    if (::stat(encodeFileName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    *size = st.st_size;
    *mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

bool WatchRecord::isDone(const QString &picture, qint64 size, qint64 mtimeNs) const
{
    const auto it = done_.find(picture);
    return it != done_.end() && it->size == size && it->mtimeNs == mtimeNs;
}

void WatchRecord::markDone(const QString &picture, qint64 size, qint64 mtimeNs)
{
    done_.insert(picture, Stamp {size, mtimeNs});
}

bool WatchRecord::save(QString *error) const
{
    QByteArray text
        = QByteArray(kHeader) + "\njob " + fingerprint_ + "\nnext " + QByteArray::number(nextNumber_) + '\n';
    for (auto it = done_.begin(); it != done_.end(); ++it)
        text += QByteArray::number(it->size) + ' ' + QByteArray::number(it->mtimeNs) + ' '
            + encodeFileName(it.key()).toPercentEncoding("/") + '\n';
    return writeFileAtomically(path_, text, error);
}
