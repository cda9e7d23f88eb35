#include "job/output_profile.h"

#include "imaging/colour_profiles.h"
#include "imaging/picture_metadata.h"
#include "job/naming.h"

QByteArray outputProfileFor(const JobSettings &job, const QString &picturePath, const QByteArray &sourceIcc)
{
    if (job.iColorProfile != kKeepProfile || sourceIcc.isEmpty())
        return {};
    const OutputTarget target = outputTargetFor(job, picturePath);
    if (target.bmpWriter || !extensionCarriesMetadata(target.extension) || !isRgbProfile(sourceIcc))
        return {};
    return sourceIcc;
}
