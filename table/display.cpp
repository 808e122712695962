#include "table/display.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QWidget>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

namespace display
{

namespace
{

constexpr int kMissingStatus = 1;
const char* const kMissingLine = "lozetta: no hay pantalla disponible (DISPLAY)\n";

QtMessageHandler previousHandler = nullptr;

void onSetUpMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // The only fatal message while the application is set up is the platform's giving up.
    if (type == QtFatalMsg)
        std::_Exit(reportMissing());
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

bool available()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    // Only the desktop's own window systems need a display; the others bring their own.
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           (platform.isEmpty() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
}

int reportMissing()
{
    std::fputs(kMissingLine, stderr);
    return kMissingStatus;
}

void watchConnection(bool on)
{
    if (on)
        previousHandler = qInstallMessageHandler(onSetUpMessage);
    else
        qInstallMessageHandler(previousHandler);
}

void copyRepaints()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

void blackFromTheStart(QWidget& window)
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // The offscreen platform answers too, without a connection.
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const uint32_t black = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->black_pixel;
    xcb_change_window_attributes(connection, static_cast<xcb_window_t>(window.winId()),
                                 XCB_CW_BACK_PIXEL, &black);
}

} // namespace display
