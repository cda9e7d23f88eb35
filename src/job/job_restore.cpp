#include "job/job_restore.h"

#include "fs/app_paths.h"
#include "job/job_fields.h"
#include "job/settings_store.h"
#include "job/size_presets.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QSettings>

#include <utility>

namespace {

// The defaults a restore falls back to: the members' own, and what depends on
// this machine and day. No file is read for them.
JobSettings jobDefaults(const AppPaths &paths)
{
    JobSettings job;
    job.sOutDir = QDir::toNativeSeparators(paths.zpDir());
    job.sODIR = QDir::toNativeSeparators(paths.dataDir());
    job.sPDF3 = chineseDate(QDate::currentDate());
    return job;
}

StoredLookup lookupIn(const OptionsStore &store)
{
    return [&store](const QString &key) -> std::optional<QString> {
        if (!store.contains(key))
            return std::nullopt;
        return store.text(key, QString());
    };
}

} // namespace

JobSettings startJobSettings(const AppPaths &paths)
{
    JobSettings job = jobDefaults(paths);
    job.SizePresets = readSizePresets(paths.sizeIni());
    chooseSizeMode(job, kLimitWidth);
    return job;
}

RestoredSettings restoreJobSettings(
    QSettings &settings, const AppPaths &paths, const FrameList &frames, JobSettings &job)
{
    const OptionsStore s(settings);
    RestoredSettings r;
    r.sSkinFileName = s.text(
        QStringLiteral("sSkinFileName"), QDir(paths.skinDir()).filePath(QStringLiteral("浅蓝(默认).she")));
    r.bShowToday = s.int16(QStringLiteral("bShowToday"), 1);
    r.iSlideTime = s.int16(QStringLiteral("iSlideTime"), 3);
    r.alphaAtStart = s.int16(QStringLiteral("iuSYAlpha"), JobSettings().iuSYAlpha);
    r.warnings = restoreStoredFields(lookupIn(s), jobDefaults(paths), frames, job, false);
    for (const QString &line : r.warnings)
        qWarning("%s", qPrintable(line));
    return r;
}

QStringList restoreStoredValues(const QList<std::pair<QString, QString>> &values, const AppPaths &paths,
    const FrameList &frames, JobSettings &job)
{
    const StoredLookup lookup = [&values](const QString &key) -> std::optional<QString> {
        // A repeated key: the value given last is the one a settings file would hold.
        for (auto it = values.crbegin(); it != values.crend(); ++it) {
            if (it->first == key)
                return it->second;
        }
        return std::nullopt;
    };
    return restoreStoredFields(lookup, jobDefaults(paths), frames, job, true);
}

JobSettings loadJobFromSettings(QSettings &settings, const AppPaths &paths)
{
    JobSettings job = startJobSettings(paths);
    FrameList frames;
    frames.loadFolder(paths.bkDir());
    restoreJobSettings(settings, paths, frames, job);
    return job;
}

QString desktopSettingsName()
{
    return QStringLiteral("tuvo");
}

JobSettings loadJobFromDesktopSettings(const AppPaths &paths)
{
    const std::unique_ptr<QSettings> store = openSettingsStore(desktopSettingsName());
    return loadJobFromSettings(*store, paths);
}

void saveAtShutdown(QSettings &settings, const JobSettings &job, int frameListCount,
    const QString &opacityText, int alphaAtStart)
{
    OptionsStore s(settings);
    for (const JobField &field : jobFields()) {
        if (!(field.storage & kSavedAtShutdown))
            continue;
        switch (field.atShutdown) {
        case ShutdownValue::ChosenFrame: {
            // The list's two command entries are no frame to come back to.
            const int chosen = job.*std::get<int JobSettings::*>(field.member);
            if (chosen != frameListCount - 1 && chosen != frameListCount - 2)
                s.setText(field.name(), field.storedText(job));
            break;
        }
        case ShutdownValue::ShownOpacity:
            // What the opacity field shows, and only when it changed.
            if (const int alpha = leadingNumber(opacityText); alpha != alphaAtStart)
                s.setInt(field.name(), alpha);
            break;
        case ShutdownValue::Field:
            s.setText(field.name(), field.storedText(job));
            break;
        }
    }
    s.sync();
}

void storeRememberedFolder(QSettings &settings, const QString &folder)
{
    OptionsStore s(settings);
    s.setText(QStringLiteral("sODIR"), folder);
    s.sync();
}
