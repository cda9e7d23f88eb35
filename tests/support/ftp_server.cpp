#include "support/ftp_server.h"

#include <QFile>
#include <QStringList>

namespace {

// Listens on port 0 so the system picks a free port, then prints it.
const char *const kServerScript = R"PY(
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

root, user, password, perm, refuse_pasv, refuse_port, cert, key, log = sys.argv[1:10]
logging.basicConfig(level=logging.DEBUG, filename=log, format="%(message)s")

Base = FTPHandler
if cert:
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    # curl starts the data connection's TLS handshake before it sends STOR;
    # pyftpdlib drops a data connection that speaks before its command.
    class DataHandler(TLS_DTPHandler):
        def readable(self):
            return True if self._ssl_accepting else super().readable()

    Base = TLS_FTPHandler
    Base.dtp_handler = DataHandler
    Base.certfile = cert
    Base.keyfile = key
    Base.tls_control_required = True
    Base.tls_data_required = True

class Handler(Base):
    def _refuse(self, line):
        self.respond("502 Command not allowed here.")

if refuse_pasv == "1":
    Handler.ftp_PASV = Handler._refuse
    Handler.ftp_EPSV = Handler._refuse
if refuse_port == "1":
    Handler.ftp_PORT = Handler._refuse
    Handler.ftp_EPRT = Handler._refuse

authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm=perm)
Handler.authorizer = authorizer
server = FTPServer(("127.0.0.1", 0), Handler)
print("PORT", server.socket.getsockname()[1], flush=True)
server.serve_forever()
)PY";

} // namespace

FtpTestServer::FtpTestServer()
    : FtpTestServer(Options())
{
}

FtpTestServer::FtpTestServer(const Options &options)
    : options_(options)
{
}

FtpTestServer::~FtpTestServer()
{
    stop();
}

bool FtpTestServer::start(QString *error)
{
    auto failed = [&](const QString &why) {
        if (error)
            *error = why;
        stop();
        return false;
    };
    if (!root_.isValid())
        return failed(QStringLiteral("no temporary folder"));
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-u"), QStringLiteral("-c"), QString::fromLatin1(kServerScript), root_.path(),
            options_.user, options_.password, options_.permissions,
            options_.refusePassive ? QStringLiteral("1") : QStringLiteral("0"),
            options_.refuseActive ? QStringLiteral("1") : QStringLiteral("0"), options_.certificate,
            options_.privateKey, logDir_.filePath(QStringLiteral("server.log"))});
    if (!process_.waitForStarted(10000))
        return failed(QStringLiteral("python3 did not start: ") + process_.errorString());
    QByteArray line;
    while (!line.endsWith('\n')) {
        if (!process_.waitForReadyRead(15000))
            return failed(QStringLiteral("server did not report its port: ")
                + QString::fromLocal8Bit(process_.readAllStandardError()));
        line += process_.readLine();
    }
    const QStringList words = QString::fromLatin1(line).simplified().split(QLatin1Char(' '));
    port_ = words.size() == 2 && words[0] == QLatin1String("PORT") ? words[1].toInt() : 0;
    if (port_ <= 0)
        return failed(QStringLiteral("unexpected server output: ") + QString::fromLatin1(line));
    return true;
}

void FtpTestServer::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString FtpTestServer::log()
{
    QFile file(logDir_.filePath(QStringLiteral("server.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool FtpTestServer::isRunning() const
{
    return process_.state() == QProcess::Running;
}

QString FtpTestServer::hostAndPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port_);
}
