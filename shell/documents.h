#pragma once

#include "table/vbtypes.h"

#include <QString>

class QWidget;

namespace shell
{

// Show the opened document in a normal window.
constexpr Int16 SW_SHOWNORMAL = 1;

class DocumentService
{
public:
    virtual ~DocumentService() = default;
    // Hands a document or an address to the desktop's default handler; the outcome is the
    // desktop's business and is never reported.
    virtual void ShellExecute(QWidget* owner, const QString& operation, const QString& file,
                              const QString& parameters, const QString& directory,
                              Int16 showCommand) = 0;
};

class DesktopShell : public DocumentService
{
public:
    void ShellExecute(QWidget* owner, const QString& operation, const QString& file,
                      const QString& parameters, const QString& directory,
                      Int16 showCommand) override;
};

// The program's own directory, without a trailing separator.
QString applicationPath();

// Opens prefix + text ("http://" and a host, "mailto:" and an address) for the given owner.
void OpenAddress(DocumentService& documents, const QString& prefix, const QString& text,
                 QWidget* owner);

} // namespace shell
