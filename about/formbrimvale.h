#pragma once

#include "table/controls.h"

#include <QDialog>

namespace shell
{
class DocumentService;
}

// The about box, also the start-up splash: any click or key closes it, except a click on one
// of the two addresses, which opens that address instead.
class FormBrimvale : public QDialog
{
    Q_OBJECT
public:
    FormBrimvale(QWidget* owner, shell::DocumentService& documents);

    void Form_Activate();
    void lblURL_Click();
    void lblMail_Click();

    Shape* shpMarco;
    Picture* imgIcono;
    Label* lblTitulo;
    Label* lblCreadoPor;
    Picture* imgLogo;
    Label* lblTexEmail;
    Label* lblMail;
    Label* lblTexWeb;
    Label* lblURL;
    Label* lblTexto;
    Label* lblClick;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Label* addLabel(const QRect& twipsRect, const QColor& color, const QString& caption);
    void underlineAddresses(bool url, bool mail);

    QWidget* owner_;
    shell::DocumentService& documents_;
};
