#include "settings/job_restore.h"

#include "batch/size_presets.h"
#include "settings/app_paths.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QSettings>

#include <cmath>

JobSettings startJobSettings(const AppPaths &paths)
{
    JobSettings job;
    job.SizePresets = readSizePresets(paths.sizeIni());
    job.sOutDir = QDir::toNativeSeparators(paths.zpDir());
    job.sODIR = QDir::toNativeSeparators(paths.dataDir());
    job.sPDF3 = chineseDate(QDate::currentDate());
    job.sPrefix = QStringLiteral("Tuvo_");
    job.sFrameFile.clear();
    job.suISyF.clear();
    job.sngMarkScale = 1.0f;
    chooseSizeMode(job, kLimitWidth);
    return job;
}

RestoredSettings restoreJobSettings(
    QSettings &settings, const AppPaths &paths, const FrameList &frames, JobSettings &job)
{
    OptionsStore s(settings);
    RestoredSettings r;
    r.sSkinFileName = s.text(
        QStringLiteral("sSkinFileName"), QDir(paths.skinDir()).filePath(QStringLiteral("浅蓝(默认).she")));
    job.sODIR = s.text(QStringLiteral("sODIR"), QDir::toNativeSeparators(paths.dataDir()));
    r.alphaAtStart = s.int16(QStringLiteral("iuSYAlpha"), 80);
    // An opacity beyond 0-100 is no opacity at all: start from the default.
    job.setMarkAlpha(r.alphaAtStart >= 0 && r.alphaAtStart <= 100 ? r.alphaAtStart : 80);
    r.bShowToday = s.int16(QStringLiteral("bShowToday"), 1);

    // Both lists are filled by now: choosing runs each list's own handler.
    const int size = s.int16(QStringLiteral("iuSize"), 0);
    if (size >= 0 && size <= job.customSizeIndex()) {
        chooseSizeMode(job, size);
        pickFrameForFitMode(job, frames);
    }
    const int bk = s.int16(QStringLiteral("iuBk"), 0);
    if (frames.isFrame(bk) || bk == 0)
        chooseFrame(job, frames, bk);

    job.sText = s.text(QStringLiteral("sText"), QString());
    job.iSize = s.int16(QStringLiteral("iSize"), 9);
    job.sFont = s.text(QStringLiteral("sFont"), QStringLiteral("宋体"));
    job.lColor = s.int32(QStringLiteral("lColor"), 0);
    job.sBold = s.boolean(QStringLiteral("sBold"), false);
    job.sUnderline = s.boolean(QStringLiteral("sUnderline"), false);
    job.sItalic = s.boolean(QStringLiteral("sItalic"), false);
    if (!job.sText.isEmpty()) {
        job.iuTSyX = s.single(QStringLiteral("iuTSyX"), 0);
        job.iuTSyY = s.single(QStringLiteral("iuTSyY"), 0);
        job.bTextMark = 1;
        job.iuTxtPos = kCustom;
    }
    job.suISyF = s.text(QStringLiteral("suISyF"), QString());
    if (!job.suISyF.isEmpty()) {
        job.iuISyX = s.single(QStringLiteral("iuISyX"), 0);
        job.iuISyY = s.single(QStringLiteral("iuISyY"), 0);
        job.bPicMark = 1;
        job.iuImgPos = kCustom;
    }

    job.iJPGQ = s.byte(QStringLiteral("iJPGQ"), 100);
    r.iSlideTime = s.int16(QStringLiteral("iSlideTime"), 3);
    job.bPicJQ = s.int16(QStringLiteral("bPicJQ"), 1);
    job.bAutoODir = s.int16(QStringLiteral("bAutoODir"), 1);
    job.bAutoURL = s.int16(QStringLiteral("bAutoURL"), 1);
    job.bShowURL = s.int16(QStringLiteral("bShowURL"), 1);
    job.bShowURLPic = s.int16(QStringLiteral("bShowURLPic"), 1);
    job.bSaveErr = s.int16(QStringLiteral("bSaveErr"), 0);
    job.iXCutMode = s.int16(QStringLiteral("iXCutMode"), 1);
    job.iYCutMode = s.int16(QStringLiteral("iYCutMode"), 0);
    job.bChkResizeOpt = s.int16(QStringLiteral("bChkResizeOpt"), 0);
    job.iMetadata = s.int16(QStringLiteral("iMetadata"), kKeepWithoutLocation);
    job.iColorProfile = s.int16(QStringLiteral("iColorProfile"), kKeepProfile);
    job.sPDF1 = s.text(QStringLiteral("sPDF1"), QCoreApplication::translate("tuvo", "Tuvo图片集"));
    job.sPDF2 = s.text(
        QStringLiteral("sPDF2"), QCoreApplication::translate("tuvo", "本图片集由Tuvo图片批量处理软件制作"));
    job.sPDF3 = s.text(QStringLiteral("sPDF3"), chineseDate(QDate::currentDate()));

    // Values no control could have stored start safe instead of placing things nowhere.
    for (double *fraction : {&job.iuTSyX, &job.iuTSyY, &job.iuISyX, &job.iuISyY}) {
        if (!std::isfinite(*fraction) || std::abs(*fraction) > 1000)
            *fraction = 0;
    }
    if (job.iXCutMode < 0 || job.iXCutMode > 2)
        job.iXCutMode = 1;
    if (job.iYCutMode < 0 || job.iYCutMode > 2)
        job.iYCutMode = 0;
    if (job.iMetadata < kKeepMetadata || job.iMetadata > kStripMetadata)
        job.iMetadata = kKeepWithoutLocation;
    if (job.iColorProfile != kConvertToSrgb)
        job.iColorProfile = kKeepProfile;
    return r;
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
    s.setInt(QStringLiteral("iuSize"), job.iuSize);
    if (job.iuBk != frameListCount - 1 && job.iuBk != frameListCount - 2)
        s.setInt(QStringLiteral("iuBk"), job.iuBk);
    const int alpha = leadingNumber(opacityText);
    if (alpha != alphaAtStart)
        s.setInt(QStringLiteral("iuSYAlpha"), alpha);
    s.setText(QStringLiteral("suISyF"), job.suISyF);
    s.setDouble(QStringLiteral("iuISyX"), job.iuISyX);
    s.setDouble(QStringLiteral("iuISyY"), job.iuISyY);
    s.setText(QStringLiteral("sText"), job.sText);
    s.setInt(QStringLiteral("iSize"), job.iSize);
    s.setText(QStringLiteral("sFont"), job.sFont);
    s.setInt(QStringLiteral("lColor"), job.lColor);
    s.setBool(QStringLiteral("sBold"), job.sBold);
    s.setBool(QStringLiteral("sUnderline"), job.sUnderline);
    s.setBool(QStringLiteral("sItalic"), job.sItalic);
    s.setDouble(QStringLiteral("iuTSyX"), job.iuTSyX);
    s.setDouble(QStringLiteral("iuTSyY"), job.iuTSyY);
    s.sync();
}

void storeRememberedFolder(QSettings &settings, const QString &folder)
{
    OptionsStore s(settings);
    s.setText(QStringLiteral("sODIR"), folder);
    s.sync();
}
