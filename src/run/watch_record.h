#pragma once

#include "job/job_settings.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// What a folder watch has done, kept in the output folder so that a watch
// started again neither repeats a picture nor misses one that arrived while it
// was stopped. A picture counts as done while its size and modification time are
// the ones it was processed with, and only for the job it was processed by.
class WatchRecord {
public:
    // The record's file name in the output folder (hidden, so no watch takes it).
    static QString fileName();
    // The job's output-defining fields, hashed: a job with another value in any
    // of them is another job.
    static QByteArray jobFingerprint(const JobSettings &job);

    WatchRecord(const QString &outputFolder, const QByteArray &fingerprint);

    // Reads the record; a missing one is an empty record. False with *error when
    // it exists but cannot be read.
    bool load(QString *error);
    // The folder had a record (of any job) when the watch began.
    bool existed() const { return existed_; }

    // Pictures done for another job are not done for this one.
    void setFingerprint(const QByteArray &fingerprint);

    // Whether picture, now of this size and time (stamp()), was done as it is.
    bool isDone(const QString &picture, qint64 size, qint64 mtimeNs) const;
    void markDone(const QString &picture, qint64 size, qint64 mtimeNs);
    // The rename number the next picture gets, counted on across restarts.
    int nextNumber() const { return nextNumber_; }
    void setNextNumber(int n) { nextNumber_ = n; }

    // Written whole or not at all.
    bool save(QString *error) const;

    // size and modification time (ns) of path; false when it is no regular file.
    static bool stamp(const QString &path, qint64 *size, qint64 *mtimeNs);

private:
    struct Stamp {
        qint64 size = -1;
        qint64 mtimeNs = -1;
    };

    QString path_;
    QByteArray fingerprint_;
    QHash<QString, Stamp> done_;
    int nextNumber_ = 0;
    bool existed_ = false;
};
