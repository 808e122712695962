#include "table/display.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

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

} // namespace display
