#include "shell/documents.h"
#include "shell/tilesound.h"
#include "table/display.h"
#include "table/form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (!display::available())
        return display::reportMissing();
    display::copyRepaints();
    display::watchConnection(true);
    QApplication app(argc, argv);
    display::watchConnection(false);
    QApplication::setApplicationName(QStringLiteral("Lozetta"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.lozetta"));
    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 table(sound, documents);
    table.Load();
    return QApplication::exec();
}
