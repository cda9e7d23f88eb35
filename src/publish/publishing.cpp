#include "publish/publishing.h"

#include "publish/ftp_upload.h"
#include "publish/link_page.h"
#include "publish/make_pdf.h"

PublishSteps makePublishSteps(const QString &userDir)
{
    PublishSteps steps;
    steps.uploadPicture = [](const JobSettings &job, const QString &localPath, const QString &fileName) {
        return UploadPicture(job, localPath, fileName);
    };
    steps.makePdf = [](const JobSettings &job, const QStringList &outputFiles, QString *message) {
        MakePdf(job, outputFiles, message);
        return QStringList();
    };
    steps.createLinkPage = [userDir](const JobSettings &job, const QStringList &uploadLinks) {
        return funCreateHtm(job, uploadLinks, userDir);
    };
    return steps;
}
