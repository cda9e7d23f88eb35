#include "job/job_settings.h"

#include <QCoreApplication>
#include <QDate>

ColourMatrix JobSettings::markMatrixFor(int alphaPercent)
{
    ColourMatrix m = identityMatrix();
    m[3][3] = float(alphaPercent) / 100.0f;
    return m;
}

void JobSettings::setMarkAlpha(int alphaPercent)
{
    iuSYAlpha = alphaPercent;
    sngMarkMatrix[3][3] = float(alphaPercent) / 100.0f;
}

float JobSettings::markScaleForSlider(int v)
{
    if (v <= 0)
        return 1.0f + float(v) / 20.0f;
    if (v <= 10)
        return 1.0f + float(v) / 10.0f;
    return 1.0f + float(v) / 5.0f;
}

void chooseSizeMode(JobSettings &job, int index)
{
    job.iuSize = index;
    if (index == kLimitWidth) {
        job.iTargetW = 800;
        job.iTargetH = 0;
    } else if (index == job.customSizeIndex() || index == job.fitInsideIndex()) {
        job.iTargetW = 800;
        job.iTargetH = 600;
    } else if (index >= kFirstPreset && index < job.customSizeIndex()) {
        const SizePreset &p = job.SizePresets[index - kFirstPreset];
        job.iTargetW = p.width.toDouble();
        job.iTargetH = p.height.toDouble();
    } else {
        job.iTargetW = 0;
        job.iTargetH = 0;
    }
}

QStringList namedSizeModes()
{
    return {QStringLiteral("limit-width"), QStringLiteral("fit-frame"), QStringLiteral("original"),
        QStringLiteral("custom"), QStringLiteral("fit")};
}

int namedSizeModeIndex(const JobSettings &job, const QString &name)
{
    const int indexes[]
        = {kLimitWidth, kFitFrame, kOriginalSize, job.customSizeIndex(), job.fitInsideIndex()};
    const int k = int(namedSizeModes().indexOf(name));
    return k < 0 ? -1 : indexes[k];
}

QString namedSizeModeName(const JobSettings &job, int index)
{
    for (const QString &name : namedSizeModes()) {
        if (namedSizeModeIndex(job, name) == index)
            return name;
    }
    return QString();
}

QString chineseDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy年MM月dd日"));
}

QString RunState::errorReportHeader()
{
    return QCoreApplication::translate("tuvo", "在本次操作过程中产生下列错误,敬请检查相关图片:\r\n");
}

void RunState::appendError(const QString &line)
{
    bHadError = true;
    sErrorText += line;
    if (!line.endsWith(QLatin1String("\r\n")))
        sErrorText += QLatin1String("\r\n");
}

void RunState::appendWarning(const QString &line)
{
    const bool hadError = bHadError;
    appendError(line);
    bHadError = hadError;
}

void RunState::reset()
{
    bHadError = false;
    sErrorText = errorReportHeader();
    UploadLinks.clear();
    UploadPositions.clear();
}
