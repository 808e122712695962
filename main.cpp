#include "shell/documents.h"
#include "shell/tilesound.h"
#include "table/form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lozetta"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.lozetta"));
    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 table(sound, documents);
    table.Load();
    return QApplication::exec();
}
