#include "shell/documents.h"
#include "shell/tilesound.h"
#include "table/form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lozetta"));
    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 table(sound, documents);
    table.Load();
    return QApplication::exec();
}
