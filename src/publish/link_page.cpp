#include "publish/link_page.h"

#include "fs/committed_file.h"
#include "job/job_settings.h"
#include "publish/publish_texts.h"
#include "publish/text_lines_file.h"
#include "render/texts.h"

#include <QCoreApplication>
#include <QDir>

QStringList linkPageLines(const JobSettings &job, const QStringList &uploadLinks)
{
    // Addresses and captions are the user's text: escaped, so that a file name
    // such as "x onerror=alert(1) y.jpg" or "<!--" stays text on the page.
    QStringList lines {PublishTexts::kLinkPageHeader};
    for (int i = 0; i < uploadLinks.size(); ++i) {
        const QString address = uploadLinks.at(i).toHtmlEscaped();
        if (job.bShowURLPic == 1)
            lines << QStringLiteral("<br><img src=\"") + address + QStringLiteral("\"></img><br>");
        if (job.bShowURL == 1)
            lines << QStringLiteral("【图片地址】 <font color=blue>") + address
                    + QStringLiteral("</font><br>");
        const QString caption = job.PicCaptions.value(i);
        if (!caption.isEmpty())
            lines << QStringLiteral("<font color=black>") + caption.toHtmlEscaped()
                    + QStringLiteral("</font><br><br>");
    }
    return lines;
}

QStringList writeLinkPage(const JobSettings &job, const QStringList &uploadLinks)
{
    QStringList errors;
    QString why;
    // Unlike the other line files the page keeps a byte-order mark: it is a bare
    // fragment without a charset declaration, and a browser opening it from disk
    // would otherwise guess a legacy code page and garble the Chinese text.
    const QString pagePath = QDir(job.sOutDir).filePath(texts::linkPageName());
    if (!writeFileAtomically(
            pagePath, QByteArray("\xEF\xBB\xBF") + crlfLines(linkPageLines(job, uploadLinks)), &why))
        errors << PublishTexts::fileWriteErrorLine(QDir::toNativeSeparators(pagePath), why);
    return errors;
}

QStringList funCreateHtm(const JobSettings &job, const QStringList &uploadLinks, const QString &userDir)
{
    QStringList errors = writeLinkPage(job, uploadLinks);
    QString why;
    const QString recordPath = QDir(userDir).filePath(PublishTexts::kUploadRecordName);
    if (!uploadLinks.isEmpty()) {
        why = QCoreApplication::translate("tuvo", "无法创建文件夹");
        if (!QDir().mkpath(userDir) || !appendFileLocked(recordPath, crlfLines(uploadLinks), &why))
            errors << PublishTexts::fileWriteErrorLine(QDir::toNativeSeparators(recordPath), why);
    }
    return errors;
}
