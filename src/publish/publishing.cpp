#include "publish/publishing.h"

#include "publish/ftp_upload.h"
#include "publish/link_page.h"
#include "publish/make_pdf.h"
#include "publish/publish_texts.h"

#include <QDir>

#include <memory>

PublishSteps makePublishSteps(const QString &userDir, const std::atomic<bool> *stop)
{
    PublishSteps steps;
    // One session per run: a server that stopped answering is not waited for again.
    auto session = std::make_shared<UploadSession>();
    session->setStopFlag(stop);
    steps.uploadPicture
        = [session](const JobSettings &job, const QString &localPath, const QString &fileName) {
              return session->UploadPicture(job, localPath, fileName);
          };
    // A collection that could not be written whole is an error of the run, not only a message.
    steps.makePdf = [](const JobSettings &job, const QStringList &outputFiles, QString *message) {
        if (MakePdf(job, outputFiles, message))
            return QStringList();
        return QStringList {PublishTexts::fileWriteErrorLine(
            QDir::toNativeSeparators(pdfFilePath(job)), message ? *message : QString())};
    };
    steps.createLinkPage = [userDir](const JobSettings &job, const QStringList &uploadLinks) {
        return funCreateHtm(job, uploadLinks, userDir);
    };
    steps.writeLinkPage = writeLinkPage;
    return steps;
}
