#include "publish/upload_address.h"

#include "job/job_settings.h"

#include <QDateTime>
#include <QStringList>
#include <QUrl>

FtpEndpoint parseFtpServer(const QString &server)
{
    FtpEndpoint endpoint;
    QString text = server.trimmed();
    if (text.startsWith(QLatin1String("ftp://"), Qt::CaseInsensitive)) {
        text = text.mid(6);
    } else if (text.startsWith(QLatin1String("sftp://"), Qt::CaseInsensitive)) {
        text = text.mid(7);
        endpoint.sftp = true;
        endpoint.port = 22;
    }
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

namespace {

// a + "/" + b with exactly one "/" between them, whatever slashes the user typed;
// an empty b leaves a as it is.
QString joinFolder(QString a, QString b)
{
    while (b.startsWith(QLatin1Char('/')))
        b.remove(0, 1);
    while (b.endsWith(QLatin1Char('/')))
        b.chop(1);
    if (b.isEmpty())
        return a;
    while (a.endsWith(QLatin1Char('/')))
        a.chop(1);
    return a.isEmpty() ? b : a + QLatin1Char('/') + b;
}

QString withoutTrailingSlash(QString folder)
{
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

// Each "/"-separated segment percent-encoded as UTF-8; only unreserved characters stay.
QString percentEncodedPath(const QString &path)
{
    QStringList segments;
    for (const QString &part : path.split(QLatin1Char('/')))
        segments << QString::fromLatin1(QUrl::toPercentEncoding(part));
    return segments.join(QLatin1Char('/'));
}

} // namespace

QString uploadRemotePath(const JobSettings &job, const QString &stamp, const QString &fileName)
{
    // With both folders empty the path is "/" + stamp + name: the server's root.
    return withoutTrailingSlash(joinFolder(job.sFtpDir, job.sFtpSubDir)) + QLatin1Char('/') + stamp
        + fileName;
}

QString uploadWebAddress(const JobSettings &job, const QString &stamp, const QString &fileName)
{
    // sWebBase is the user's address as typed; what we add to it is encoded.
    const QString subDir = joinFolder(QString(), job.sFtpSubDir);
    const QString tail = subDir.isEmpty() ? stamp + fileName : subDir + QLatin1Char('/') + stamp + fileName;
    return withoutTrailingSlash(job.sWebBase) + QLatin1Char('/') + percentEncodedPath(tail);
}

QString uploadUrl(const FtpEndpoint &endpoint, const QString &remotePath)
{
    // Segments are encoded on their own so that names with spaces or Chinese
    // characters reach the server as typed; "%2F" makes the first CWD "/".
    QString path = percentEncodedPath(remotePath);
    if (remotePath.startsWith(QLatin1Char('/')))
        path = endpoint.sftp ? path.mid(1) : QLatin1String("%2F") + path.mid(1);
    else if (endpoint.sftp)
        path = QLatin1String("~/") + path; // SFTP paths are absolute; "~" is the login folder
    QString host = endpoint.host;
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return QStringLiteral("%1://%2:%3/%4")
        .arg(endpoint.sftp ? QLatin1String("sftp") : QLatin1String("ftp"), host)
        .arg(endpoint.port)
        .arg(path);
}
