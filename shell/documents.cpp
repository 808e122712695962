#include "shell/documents.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace shell
{

void DesktopShell::ShellExecute(QWidget*, const QString&, const QString& file, const QString&,
                                const QString& directory, Int16)
{
    // An address carries its scheme; anything else is a document in the given directory.
    const QUrl address(file);
    const bool isAddress = address.isValid() && address.scheme().size() > 1;
    QDesktopServices::openUrl(isAddress ? address
                                        : QUrl::fromLocalFile(QDir(directory).filePath(file)));
}

QString applicationPath()
{
    return QCoreApplication::applicationDirPath();
}

void OpenAddress(DocumentService& documents, const QString& prefix, const QString& text,
                 QWidget* owner)
{
    documents.ShellExecute(owner, QStringLiteral("Open"), prefix + text, QString(),
                           applicationPath(), SW_SHOWNORMAL);
}

} // namespace shell
