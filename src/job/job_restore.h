#pragma once

#include "job/frame_list.h"
#include "job/job_settings.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class AppPaths;
class QSettings;

// What start-up restores beside the job itself.
struct RestoredSettings {
    QString sSkinFileName;
    int bShowToday = 1;
    int iSlideTime = 3;
    int alphaAtStart = JobSettings().iuSYAlpha; // iuSYAlpha as read; shutdown writes it only when changed
    QStringList warnings; // stored values that were replaced by their default
};

// The job a fresh start begins with before anything is restored: output folder zp,
// sODIR the program folder, today's date in the PDF line, size presets of size.ini.
JobSettings startJobSettings(const AppPaths &paths);

// Reads the stored options in start-up order into job, with their side effects:
// the size mode and frame are chosen through their selection handlers (frames is
// the filled frame list), a non-empty sText turns the text watermark on at its
// custom position, a non-empty suISyF the picture watermark. job must already
// hold its SizePresets.
RestoredSettings restoreJobSettings(
    QSettings &settings, const AppPaths &paths, const FrameList &frames, JobSettings &job);

// Restores the stored keys among values (key, text as a settings file holds it)
// in start-up order with their side effects, reading companion keys (iuTSyX with
// sText, ...) from values too; a repeated key takes its last value. Keys that are
// not read at start-up are left alone. Returns the warning lines.
QStringList restoreStoredValues(const QList<std::pair<QString, QString>> &values, const AppPaths &paths,
    const FrameList &frames, JobSettings &job);

// tuvo-cli --from-settings: the job the desktop program would start with.
JobSettings loadJobFromSettings(QSettings &settings, const AppPaths &paths);
// The same from the desktop program's own store for this user. The upload
// account lives in the same group; publish/ftp_account.h reads it.
JobSettings loadJobFromDesktopSettings(const AppPaths &paths);
// Application name of the desktop program's store.
QString desktopSettingsName();

// The shutdown save: the fields saved at shutdown. iuBk is skipped while one
// of the frame list's two command entries is selected; iuSYAlpha is written as the
// leading number of the opacity field, and only when it differs from the value
// read at start-up.
void saveAtShutdown(QSettings &settings, const JobSettings &job, int frameListCount,
    const QString &opacityText, int alphaAtStart);

// The folder dialog's immediate write of the remembered folder.
void storeRememberedFolder(QSettings &settings, const QString &folder);
