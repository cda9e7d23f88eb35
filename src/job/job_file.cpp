#include "job/job_file.h"

#include "fs/app_paths.h"
#include "fs/committed_file.h"
#include "fs/file_names.h"
#include "job/job_fields.h"
#include "job/job_restore.h"
#include "job/settings_store.h"
#include "job/settings_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <utility>

namespace {

// A job file is a few kilobytes; anything far larger is not one.
constexpr qint64 kMaxJobFileBytes = 256 * 1024;
const QString kVersionKey = QStringLiteral("Version");
const QString kSizeModeKey = QStringLiteral("sSizeMode");

// The size mode by name, so that a preset survives another size.ini.
QString sizeModeName(const JobSettings &job)
{
    const int m = job.iuSize;
    if (m >= kFirstPreset && m < job.customSizeIndex())
        return QStringLiteral("preset:") + job.SizePresets[m - kFirstPreset].name;
    return namedSizeModeName(job, m);
}

// -1 with *missing set when a named preset is not in this size list.
int sizeModeIndex(const JobSettings &job, const QString &name, bool *missing)
{
    *missing = false;
    if (name.startsWith(QLatin1String("preset:"))) {
        const QString preset = name.mid(7);
        for (int k = 0; k < job.SizePresets.size(); ++k) {
            if (job.SizePresets[k].name == preset)
                return kFirstPreset + k;
        }
        *missing = true;
        return -1;
    }
    return namedSizeModeIndex(job, name);
}

QString escaped(QString v)
{
    v.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    v.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    v.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return v;
}

QString unescaped(const QString &v)
{
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] != QLatin1Char('\\') || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        const QChar next = v[++i];
        out += next == QLatin1Char('n') ? QChar(u'\n') : next == QLatin1Char('r') ? QChar(u'\r') : next;
    }
    return out;
}

QString besideJob(const QString &jobPath, const QString &file)
{
    if (file.isEmpty() || QDir::isAbsolutePath(file))
        return file;
    return QFileInfo(jobPath).absoluteDir().absoluteFilePath(file);
}

bool readSmallRegularFile(const QString &path, QByteArray *bytes, QString *message)
{
    QString why;
    const int fd = openRegularFile(path, &why);
    if (fd < 0) {
        *message = texts::jobFileUnreadable(shownName(path), why);
        return false;
    }
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *message = texts::jobFileUnreadable(shownName(path), f.errorString());
        return false;
    }
    *bytes = f.read(kMaxJobFileBytes + 1);
    if (bytes->size() > kMaxJobFileBytes) {
        *message = texts::jobFileTooLarge(shownName(path));
        return false;
    }
    return true;
}

} // namespace

bool writeJobFile(const JobSettings &job, const QString &path, bool includeOutputFolder, QString *error)
{
    QString text = QStringLiteral("# Tuvo job\n") + kVersionKey + QLatin1Char('=')
        + QString::number(kJobFileVersion) + QLatin1Char('\n');
    text += kSizeModeKey + QLatin1Char('=') + escaped(sizeModeName(job)) + QLatin1Char('\n');
    for (const JobField &field : jobFields()) {
        if (!(field.storage & kInJobFile)
            || (!includeOutputFolder && field.name() == QLatin1String("sOutDir")))
            continue;
        text += field.name() + QLatin1Char('=') + escaped(field.storedText(job)) + QLatin1Char('\n');
    }
    QString reason;
    if (!writeFileAtomically(path, text.toUtf8(), &reason)) {
        if (error)
            *error = texts::jobFileNotWritten(shownName(path), reason);
        return false;
    }
    return true;
}

JobFileLoad readJobFile(const QString &path, const AppPaths &paths, const FrameList &frames, JobSettings &job)
{
    JobFileLoad load;
    QByteArray bytes;
    QString message;
    if (!readSmallRegularFile(path, &bytes, &message)) {
        load.messages << message;
        return load;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError() || bytes.contains('\0')) {
        load.messages << texts::jobFileNotText(shownName(path));
        return load;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    QList<std::pair<QString, QString>> values;
    int version = 0;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) || trimmed.startsWith(QLatin1Char(';'))
            || trimmed.startsWith(QLatin1Char('[')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq < 0 ? line.size() : eq).trimmed();
        const QString value = eq < 0 ? QString() : unescaped(line.mid(eq + 1));
        if (key == kVersionKey)
            version = int(wholeNumberFromText(value, 0, 1000000).value_or(0));
        else
            values << std::pair(key, value);
    }
    if (version <= 0) {
        load.messages << texts::jobFileNoVersion(shownName(path));
        return load;
    }
    if (version > kJobFileVersion)
        load.messages << texts::jobFileNewer(version);

    // Known keys only, each checked as --set checks it.
    QList<std::pair<QString, QString>> stored;
    QList<std::pair<const JobField *, QString>> others;
    QStringList ignored;
    QString sizeMode;
    for (const auto &[key, value] : values) {
        if (key == kSizeModeKey) {
            sizeMode = value;
            continue;
        }
        const JobField *field = findJobField(key);
        if (!field || !(field->storage & kInJobFile)) {
            if (!ignored.contains(shownName(key)))
                ignored << shownName(key);
            continue;
        }
        JobSettings scratch = job;
        if (!field->setFromText(scratch, value, nullptr)) {
            load.messages << texts::jobValueReplaced(shownName(key), shownName(value.left(80)));
            continue;
        }
        // Stored fields come back as the settings store's restore brings them, watermark places included.
        if (field->storage & (kReadAtStart | kSavedAtShutdown))
            stored << std::pair(key, value);
        else
            others << std::pair(field, value);
    }
    if (!ignored.isEmpty())
        load.messages << texts::jobKeysIgnored(ignored);

    if (!sizeMode.isEmpty()) {
        bool missing = false;
        int index = sizeModeIndex(job, sizeMode, &missing);
        if (missing) {
            load.messages << texts::jobPresetSizeMissing(shownName(sizeMode.mid(7)));
            index = job.customSizeIndex();
        }
        if (index >= 0)
            stored << std::pair(QStringLiteral("iuSize"), QString::number(index));
    }
    load.messages << restoreStoredValues(stored, paths, frames, job);
    for (const auto &[field, value] : others)
        field->setFromText(job, value, nullptr);

    // Pictures the job names must be there; relative names lie beside the job.
    job.sFrameFile = besideJob(path, job.sFrameFile);
    if (!job.sFrameFile.isEmpty() && job.sFrameFile != QStringLiteral("无边框")) {
        if (!QFileInfo(job.sFrameFile).isFile()) {
            load.messages << texts::jobFrameMissing(shownName(job.sFrameFile));
            job.sFrameFile.clear();
            job.iuBk = 0;
        } else if (const int k = frames.indexOf(job.sFrameFile); k >= 0) {
            job.iuBk = k;
        }
    }
    job.suISyF = besideJob(path, job.suISyF);
    if (!job.suISyF.isEmpty() && !QFileInfo(job.suISyF).isFile()) {
        load.messages << texts::jobMarkMissing(shownName(job.suISyF));
        job.suISyF.clear();
        job.bPicMark = 0;
    }
    load.loaded = true;
    return load;
}

QString userPresetDir(const AppPaths &paths)
{
    return paths.userDir() + QStringLiteral("/presets");
}

static QStringList presetDirs(const AppPaths &paths)
{
    return {userPresetDir(paths), paths.dataDir() + QStringLiteral("/presets")};
}

QString jobPresetTitle(const QString &name)
{
    // The names of the presets we ship, for the translation.
    static const char *const shipped[] = {QT_TRANSLATE_NOOP("tuvo", "网页图片1200"),
        QT_TRANSLATE_NOOP("tuvo", "方形1080"), QT_TRANSLATE_NOOP("tuvo", "缩略图320"),
        QT_TRANSLATE_NOOP("tuvo", "证件照1寸"), QT_TRANSLATE_NOOP("tuvo", "证件照2寸"),
        QT_TRANSLATE_NOOP("tuvo", "证件照头像"), QT_TRANSLATE_NOOP("tuvo", "网页图片300KB")};
    for (const char *source : shipped) {
        if (name == QString::fromUtf8(source))
            return QCoreApplication::translate("tuvo", source);
    }
    return name;
}

bool isJobPresetName(const QString &name)
{
    // A name, never a path: a preset cannot lead outside its folders.
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.startsWith(QLatin1Char('.'));
}

static QString presetFile(const QString &name, const AppPaths &paths)
{
    if (!isJobPresetName(name))
        return QString();
    for (const QString &dir : presetDirs(paths)) {
        const QString file = dir + QLatin1Char('/') + name + QStringLiteral(".ini");
        if (QFileInfo(file).isFile())
            return file;
    }
    return QString();
}

QString findJobPreset(const QString &name, const AppPaths &paths)
{
    if (const QString file = presetFile(name, paths); !file.isEmpty())
        return file;
    for (const QString &preset : jobPresetNames(paths)) {
        if (jobPresetTitle(preset).compare(name, Qt::CaseInsensitive) == 0)
            return presetFile(preset, paths);
    }
    return QString();
}

QStringList jobPresetNames(const AppPaths &paths)
{
    QStringList names;
    for (const QString &dir : presetDirs(paths)) {
        for (const QFileInfo &info :
            QDir(dir).entryInfoList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name)) {
            if (!names.contains(info.completeBaseName()))
                names << info.completeBaseName();
        }
    }
    return names;
}

QString exportJobFolder(const QString &jobFile, const QString &targetDir, QString *error)
{
    QByteArray bytes;
    QString message;
    if (!readSmallRegularFile(jobFile, &bytes, &message)) {
        if (error)
            *error = message;
        return QString();
    }
    const QString folder = QDir(targetDir).filePath(QFileInfo(jobFile).completeBaseName());
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = texts::jobFileNotWritten(shownName(folder), QString());
        return QString();
    }
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        for (const QString &key : {QStringLiteral("sFrameFile="), QStringLiteral("suISyF=")}) {
            if (!line.startsWith(key))
                continue;
            const QString picture = besideJob(jobFile, unescaped(line.mid(key.size())));
            if (picture.isEmpty() || !QFileInfo(picture).isFile())
                continue;
            const QString copy = QDir(folder).filePath(QFileInfo(picture).fileName());
            QFile::remove(copy);
            if (QFile::copy(picture, copy))
                line = key + escaped(QFileInfo(picture).fileName());
        }
    }
    const QString copiedJob = QDir(folder).filePath(QFileInfo(jobFile).fileName());
    QString reason;
    if (!writeFileAtomically(copiedJob, lines.join(QLatin1Char('\n')).toUtf8(), &reason)) {
        if (error)
            *error = texts::jobFileNotWritten(shownName(copiedJob), reason);
        return QString();
    }
    return folder;
}
