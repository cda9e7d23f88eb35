#pragma once

// The screen as the desktop portal gives it (org.freedesktop.portal.Screenshot).
// On Wayland a program may not read the screen itself; the compositor hands a
// picture out only through the portal. Non-interactive, so the program's own
// selection window does the choosing as it does on X11.

#include <QImage>
#include <QObject>
#include <QTimer>

class PortalScreenshot : public QObject {
    Q_OBJECT
public:
    explicit PortalScreenshot(QObject *parent = nullptr);

    // Asks the portal for the whole screen; ends in exactly one of grabbed() or failed().
    void request();

    // True where the program cannot grab the screen itself: a Wayland session,
    // natively or through XWayland (which shows only its own windows).
    static bool sessionNeedsPortal();

signals:
    void grabbed(const QImage &screen);
    void failed(const QString &why);

private slots:
    void onResponse(uint response, const QVariantMap &results);

private:
    void fail(const QString &why);

    QTimer timeout_;
    QString requestPath_;
    bool done_ = false;
};
