#include "publish/upload_address.h"

#include "batch/job_settings.h"

#include <QDateTime>
#include <QStringList>
#include <QUrl>

FtpEndpoint parseFtpServer(const QString &server)
{
    FtpEndpoint endpoint;
    QString text = server.trimmed();
    if (text.startsWith(QLatin1String("ftp://"), Qt::CaseInsensitive))
        text = text.mid(6);
    while (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon > 0 && text.indexOf(QLatin1Char(':')) == colon) {
        bool ok = false;
        const int port = text.mid(colon + 1).toInt(&ok);
        if (ok && port > 0 && port < 65536) {
            endpoint.port = port;
            text.truncate(colon);
        }
    }
    endpoint.host = text;
    return endpoint;
}

bool ftpServerUnset(const QString &server)
{
    return server.isEmpty() || server == QLatin1String("ftp://");
}

QString uploadTimeStamp(const QDateTime &localTime)
{
    return localTime.toString(QStringLiteral("yyMMddHHmmss")) + QLatin1Char('_');
}

QString uploadRemotePath(const JobSettings &job, const QString &stamp, const QString &fileName)
{
    return job.sFtpDir + job.sFtpSubDir + QLatin1Char('/') + stamp + fileName;
}

QString uploadWebAddress(const JobSettings &job, const QString &stamp, const QString &fileName)
{
    if (job.sFtpSubDir.isEmpty())
        return job.sWebBase + QLatin1Char('/') + stamp + fileName;
    return job.sWebBase + QLatin1Char('/') + job.sFtpSubDir + QLatin1Char('/') + stamp + fileName;
}

QString uploadUrl(const FtpEndpoint &endpoint, const QString &remotePath)
{
    // Each segment is percent-encoded on its own so that names with spaces or
    // Chinese characters reach the server as typed; "%2F" makes the first CWD "/".
    QStringList segments;
    const QStringList parts = remotePath.split(QLatin1Char('/'));
    for (const QString &part : parts)
        segments << QString::fromLatin1(QUrl::toPercentEncoding(part));
    QString path = segments.join(QLatin1Char('/'));
    if (remotePath.startsWith(QLatin1Char('/')))
        path = QLatin1String("%2F") + path.mid(1);
    QString host = endpoint.host;
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return QStringLiteral("ftp://%1:%2/%3").arg(host).arg(endpoint.port).arg(path);
}
