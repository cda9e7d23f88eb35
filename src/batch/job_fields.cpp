#include "batch/job_fields.h"

#include <QCoreApplication>

#include <cmath>
#include <functional>
#include <limits>
#include <map>

namespace {

using Setter = std::function<bool(JobSettings &, const QString &, QString *)>;

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

Setter intField(int JobSettings::*field, int lo, int hi)
{
    return [=](JobSettings &job, const QString &v, QString *error) {
        bool ok = false;
        const int n = v.trimmed().toInt(&ok);
        if (!ok || n < lo || n > hi)
            return fail(error, QCoreApplication::translate("tuvo", "需要%1到%2之间的整数").arg(lo).arg(hi));
        job.*field = n;
        return true;
    };
}

template<typename T> Setter realField(T JobSettings::*field)
{
    return [=](JobSettings &job, const QString &v, QString *error) {
        bool ok = false;
        const double n = v.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(n))
            return fail(error, QCoreApplication::translate("tuvo", "需要一个数字"));
        job.*field = T(n);
        return true;
    };
}

Setter textField(QString JobSettings::*field)
{
    return [=](JobSettings &job, const QString &v, QString *) {
        job.*field = v;
        return true;
    };
}

Setter boolField(bool JobSettings::*field)
{
    return [=](JobSettings &job, const QString &v, QString *error) {
        const QString t = v.trimmed().toLower();
        if (t == QLatin1String("true") || t == QLatin1String("1"))
            job.*field = true;
        else if (t == QLatin1String("false") || t == QLatin1String("0"))
            job.*field = false;
        else
            return fail(error, QCoreApplication::translate("tuvo", "需要 True 或 False"));
        return true;
    };
}

bool setMatrix(ColourMatrix &m, const QString &v, QString *error)
{
    const QStringList parts = v.split(QLatin1Char(','));
    if (parts.size() != 25)
        return fail(error, QCoreApplication::translate("tuvo", "颜色矩阵需要25个用逗号分隔的数字"));
    ColourMatrix out {};
    for (int k = 0; k < 25; ++k) {
        bool ok = false;
        const float n = parts[k].trimmed().toFloat(&ok);
        if (!ok || !std::isfinite(n))
            return fail(error, QCoreApplication::translate("tuvo", "颜色矩阵的第%1个数不是数字").arg(k + 1));
        out[k / 5][k % 5] = n;
    }
    m = out;
    return true;
}

const std::map<QString, Setter> &setters()
{
    static const std::map<QString, Setter> table = {
        {QStringLiteral("iuSize"), intField(&JobSettings::iuSize, 0, kFirstPreset + kMaxSizePresets + 1)},
        {QStringLiteral("iTargetW"), realField(&JobSettings::iTargetW)},
        {QStringLiteral("iTargetH"), realField(&JobSettings::iTargetH)},
        {QStringLiteral("bChkResizeOpt"), intField(&JobSettings::bChkResizeOpt, 0, 1)},
        {QStringLiteral("bPicJQ"), intField(&JobSettings::bPicJQ, 0, 1)},
        {QStringLiteral("iXCutMode"), intField(&JobSettings::iXCutMode, 0, 2)},
        {QStringLiteral("iYCutMode"), intField(&JobSettings::iYCutMode, 0, 2)},
        {QStringLiteral("iuBk"), intField(&JobSettings::iuBk, 0, 502)},
        {QStringLiteral("sFrameFile"), textField(&JobSettings::sFrameFile)},
        {QStringLiteral("bTextMark"), intField(&JobSettings::bTextMark, 0, 1)},
        {QStringLiteral("sText"), textField(&JobSettings::sText)},
        {QStringLiteral("sFont"), textField(&JobSettings::sFont)},
        {QStringLiteral("iSize"), intField(&JobSettings::iSize, 1, 1000)},
        {QStringLiteral("lColor"), intField(&JobSettings::lColor, 0, 0xFFFFFF)},
        {QStringLiteral("sBold"), boolField(&JobSettings::sBold)},
        {QStringLiteral("sUnderline"), boolField(&JobSettings::sUnderline)},
        {QStringLiteral("sItalic"), boolField(&JobSettings::sItalic)},
        {QStringLiteral("iuTxtPos"), intField(&JobSettings::iuTxtPos, 0, 5)},
        {QStringLiteral("iuTSyX"), realField(&JobSettings::iuTSyX)},
        {QStringLiteral("iuTSyY"), realField(&JobSettings::iuTSyY)},
        {QStringLiteral("bPicMark"), intField(&JobSettings::bPicMark, 0, 1)},
        {QStringLiteral("suISyF"), textField(&JobSettings::suISyF)},
        {QStringLiteral("iuImgPos"), intField(&JobSettings::iuImgPos, 0, 5)},
        {QStringLiteral("iuISyX"), realField(&JobSettings::iuISyX)},
        {QStringLiteral("iuISyY"), realField(&JobSettings::iuISyY)},
        {QStringLiteral("iuSYAlpha"),
            [](JobSettings &job, const QString &v, QString *error) {
                bool ok = false;
                const int n = v.trimmed().toInt(&ok);
                if (!ok || n < 0 || n > 100)
                    return fail(error, QCoreApplication::translate("tuvo", "需要0到100之间的整数"));
                job.setMarkAlpha(n);
                return true;
            }},
        {QStringLiteral("sngMarkScale"), realField(&JobSettings::sngMarkScale)},
        {QStringLiteral("sngOffsetX"), realField(&JobSettings::sngOffsetX)},
        {QStringLiteral("sngOffsetY"), realField(&JobSettings::sngOffsetY)},
        {QStringLiteral("iRotateMode"), intField(&JobSettings::iRotateMode, 0, 7)},
        {QStringLiteral("iEffect"),
            [](JobSettings &job, const QString &v, QString *error) {
                const QString t = v.trimmed();
                if (t.isEmpty() || t == QLatin1String("none")) {
                    job.iEffect.reset();
                    return true;
                }
                bool ok = false;
                const int n = t.toInt(&ok);
                if (!ok || n < 0 || n > kBrightnessPreset)
                    return fail(error, QCoreApplication::translate("tuvo", "需要0到12之间的整数或none"));
                job.iEffect = n;
                return true;
            }},
        {QStringLiteral("iBrightness"), intField(&JobSettings::iBrightness, -75, 75)},
        {QStringLiteral("sngColorMatrix"),
            [](JobSettings &job, const QString &v, QString *error) {
                return setMatrix(job.sngColorMatrix, v, error);
            }},
        // Channel factors "R,G,B": the diagonal of the upper-left 4 x 4 block.
        {QStringLiteral("channels"),
            [](JobSettings &job, const QString &v, QString *error) {
                const QStringList rgb = v.split(QLatin1Char(','));
                if (rgb.size() != 3
                    || !setChannelFactors(
                        job.sngColorMatrix, rgb[0].toStdString(), rgb[1].toStdString(), rgb[2].toStdString()))
                    return fail(error, QCoreApplication::translate("tuvo", "通道系数需要 R,G,B 三个数字"));
                return true;
            }},
        {QStringLiteral("sOutDir"), textField(&JobSettings::sOutDir)},
        {QStringLiteral("sODIR"), textField(&JobSettings::sODIR)},
        {QStringLiteral("sFormat"),
            [](JobSettings &job, const QString &typed, QString *error) {
                static const QStringList formats = {QStringLiteral("原格式"), QStringLiteral("jpg"),
                    QStringLiteral("png"), QStringLiteral("tiff"), QStringLiteral("bmp"),
                    QStringLiteral("gif"), QStringLiteral("webp"), QStringLiteral("avif")};
                // "original" spells the stored 原格式 in ASCII.
                const QString v = typed == QLatin1String("original") ? formats.first() : typed;
                if (!formats.contains(v))
                    return fail(
                        error, QCoreApplication::translate("tuvo", "格式只能是 原格式、jpg、png、tiff、bmp、gif、webp 或 avif"));
                job.sFormat = v;
                job.sOutExt = v;
                return true;
            }},
        {QStringLiteral("sOutExt"), textField(&JobSettings::sOutExt)},
        {QStringLiteral("iJPGQ"), intField(&JobSettings::iJPGQ, 0, 100)},
        {QStringLiteral("bRename"), intField(&JobSettings::bRename, 0, 1)},
        {QStringLiteral("iMetadata"), intField(&JobSettings::iMetadata, 0, 2)},
        {QStringLiteral("iColorProfile"), intField(&JobSettings::iColorProfile, 0, 1)},
        {QStringLiteral("iOnClash"), intField(&JobSettings::iOnClash, kClashOverwrite, kClashFail)},
        {QStringLiteral("sPrefix"), textField(&JobSettings::sPrefix)},
        {QStringLiteral("iNumDigits"),
            [](JobSettings &job, const QString &v, QString *error) {
                bool ok = false;
                const int n = v.trimmed().toInt(&ok);
                if (!ok || n < 0 || n > 32)
                    return fail(error, QCoreApplication::translate("tuvo", "需要0到32之间的整数"));
                job.iNumDigits = QString::number(n);
                return true;
            }},
        {QStringLiteral("bUpload"), intField(&JobSettings::bUpload, 0, 1)},
        {QStringLiteral("bMakePDF"), intField(&JobSettings::bMakePDF, 0, 1)},
        {QStringLiteral("bAutoODir"), intField(&JobSettings::bAutoODir, 0, 1)},
        {QStringLiteral("bAutoURL"), intField(&JobSettings::bAutoURL, 0, 1)},
        {QStringLiteral("bShowURL"), intField(&JobSettings::bShowURL, 0, 1)},
        {QStringLiteral("bShowURLPic"), intField(&JobSettings::bShowURLPic, 0, 1)},
        {QStringLiteral("bSaveErr"), intField(&JobSettings::bSaveErr, 0, 1)},
        {QStringLiteral("sPDF1"), textField(&JobSettings::sPDF1)},
        {QStringLiteral("sPDF2"), textField(&JobSettings::sPDF2)},
        {QStringLiteral("sPDF3"), textField(&JobSettings::sPDF3)},
        {QStringLiteral("sFtpServer"), textField(&JobSettings::sFtpServer)},
        {QStringLiteral("sFtpUser"), textField(&JobSettings::sFtpUser)},
        {QStringLiteral("sFtpDir"), textField(&JobSettings::sFtpDir)},
        {QStringLiteral("sFtpSubDir"), textField(&JobSettings::sFtpSubDir)},
        {QStringLiteral("sWebBase"), textField(&JobSettings::sWebBase)},
        {QStringLiteral("bFtpPassive"), boolField(&JobSettings::bFtpPassive)},
        {QStringLiteral("bFtpRequireTls"), boolField(&JobSettings::bFtpRequireTls)},
        {QStringLiteral("sFtpCaFile"), textField(&JobSettings::sFtpCaFile)},
        {QStringLiteral("sFtpPin"), textField(&JobSettings::sFtpPin)},
        {QStringLiteral("sFtpKeyFile"), textField(&JobSettings::sFtpKeyFile)},
        {QStringLiteral("sFtpHostKey"), textField(&JobSettings::sFtpHostKey)},
    };
    return table;
}

} // namespace

bool setJobField(JobSettings &job, const QString &key, const QString &value, QString *error)
{
    const auto &table = setters();
    const auto it = table.find(key);
    if (it == table.end())
        return fail(error, QCoreApplication::translate("tuvo", "未知的设置项:") + key);
    QString why;
    if (!it->second(job, value, &why))
        return fail(error, key + QStringLiteral("=") + value + QStringLiteral(":") + why);
    return true;
}

QStringList jobFieldNames()
{
    QStringList names;
    for (const auto &entry : setters())
        names << entry.first;
    return names;
}
