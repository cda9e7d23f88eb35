#include "capture/portal_screenshot.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QUrl>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// The portal names the request object after the caller's bus name and the token,
// so the answer can be listened for before the call goes out (no race).
QString requestPathFor(const QString &token)
{
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

} // namespace

PortalScreenshot::PortalScreenshot(QObject *parent)
    : QObject(parent)
{
    timeout_.setSingleShot(true);
    timeout_.setInterval(30000);
    connect(&timeout_, &QTimer::timeout, this,
        [this] { fail(QStringLiteral("the desktop portal did not answer")); });
}

bool PortalScreenshot::sessionNeedsPortal()
{
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        return true;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false; // offscreen and the like have no desktop to ask
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

void PortalScreenshot::request()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        fail(QStringLiteral("no session bus"));
        return;
    }
    const QString token = QStringLiteral("tuvo%1").arg(QRandomGenerator::global()->bounded(1u << 30));
    requestPath_ = requestPathFor(token);
    bus.connect(kService, requestPath_, kRequest, QStringLiteral("Response"), this,
        SLOT(onResponse(uint, QVariantMap)));

    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    const QVariantMap options {{QStringLiteral("handle_token"), token},
        {QStringLiteral("interactive"), false}, {QStringLiteral("modal"), false}};
    call << QString() << options;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            fail(reply.error().message());
            return;
        }
        timeout_.start();
    });
}

void PortalScreenshot::onResponse(uint response, const QVariantMap &results)
{
    if (done_)
        return;
    // 0 success, 1 cancelled by the user, 2 anything else.
    if (response != 0) {
        fail(response == 1 ? QStringLiteral("cancelled") : QStringLiteral("the portal refused"));
        return;
    }
    const QString file = QUrl(results.value(QStringLiteral("uri")).toString()).toLocalFile();
    QImage screen(file);
    // The portal's file is a scratch copy made for us; it must not pile up.
    if (!file.isEmpty())
        QFile::remove(file);
    if (screen.isNull()) {
        fail(QStringLiteral("the portal's picture could not be read"));
        return;
    }
    done_ = true;
    timeout_.stop();
    emit grabbed(screen);
}

void PortalScreenshot::fail(const QString &why)
{
    if (done_)
        return;
    done_ = true;
    timeout_.stop();
    emit failed(why);
}
