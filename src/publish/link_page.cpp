#include "publish/link_page.h"

#include "batch/job_settings.h"
#include "batch/texts.h"
#include "publish/publish_texts.h"
#include "publish/text_lines_file.h"

#include <QDir>

QStringList linkPageLines(const JobSettings &job, const QStringList &uploadLinks)
{
    QStringList lines {PublishTexts::kLinkPageHeader};
    for (int i = 0; i < uploadLinks.size(); ++i) {
        const QString &address = uploadLinks.at(i);
        if (job.bShowURLPic == 1)
            lines << QStringLiteral("<br><img src=") + address + QStringLiteral("></img><br>");
        if (job.bShowURL == 1)
            lines << QStringLiteral("【图片地址】 <font color=blue>") + address
                    + QStringLiteral("</font><br>");
        const QString caption = job.PicCaptions.value(i);
        if (!caption.isEmpty())
            lines << QStringLiteral("<font color=black>") + caption + QStringLiteral("</font><br><br>");
    }
    return lines;
}

QStringList funCreateHtm(const JobSettings &job, const QStringList &uploadLinks, const QString &userDir)
{
    QStringList errors;

    // The byte order mark lets browsers read the UTF-8 page without a charset tag.
    const QString pagePath = QDir(job.sOutDir).filePath(texts::linkPageName());
    if (!replaceFileAtomically(
            pagePath, QByteArray("\xEF\xBB\xBF") + crlfLines(linkPageLines(job, uploadLinks))))
        errors << PublishTexts::fileWriteErrorLine(QDir::toNativeSeparators(pagePath));

    const QString recordPath = QDir(userDir).filePath(PublishTexts::kUploadRecordName);
    if (!uploadLinks.isEmpty()) {
        if (!QDir().mkpath(userDir) || !appendFileAtomically(recordPath, crlfLines(uploadLinks)))
            errors << PublishTexts::fileWriteErrorLine(QDir::toNativeSeparators(recordPath));
    }
    return errors;
}
