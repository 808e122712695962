#include "about/formbrimvale.h"

#include "options/form2.h"
#include "shell/documents.h"
#include "table/display.h"
#include "table/fonts.h"
#include "table/form1.h"
#include "table/pictures.h"
#include "table/placement.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace
{

constexpr int kClientWidth = 4260;
constexpr int kClientHeight = 6300;
constexpr int kNoticeRightMargin = 20;

const QColor kWhite(255, 255, 255);
const QColor kGrey(192, 192, 192);
const QColor kAddress(51, 153, 255);
const QColor kHint(255, 255, 192);

const QString kMaker = QStringLiteral("Creado por el equipo Lozetta");
const QString kMailAddress = QStringLiteral("lozetta@example.org");
const QString kWebHost = QStringLiteral("lozetta.example.org");
const QString kNotice = QStringLiteral(
    "Lozetta es un programa gratuito: puedes copiarlo y regalarlo a quien quieras, pero no "
    "venderlo. Si deseas ofrecerlo en una página web, pide permiso antes a sus autores.");

bool isModifierOnly(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

} // namespace

FormBrimvale::FormBrimvale(QWidget* owner, shell::DocumentService& documents)
    : QDialog(owner), owner_(owner), documents_(documents)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(twips::toPixels(kClientWidth), twips::toPixels(kClientHeight));
    placement::keepCentredOnOwner(*this);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::black);
    setPalette(background);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFont(fonts::sansSerif(fonts::kDefaultPoints));

    shpMarco = new Shape(this);
    shpMarco->Move(0, 0, kClientWidth, kClientHeight);
    shpMarco->setBorder(kWhite, 1);

    imgIcono = new Picture(this);
    imgIcono->Move(349, 180, 480, 480);
    imgIcono->setStretch(true);

    lblTitulo = addLabel({956, 180, 2955, 375}, kWhite, QStringLiteral("Lozetta"));
    lblTitulo->setFont(fonts::arialBlack(12));
    lblCreadoPor = addLabel({956, 480, 2295, 255}, kWhite, kMaker);

    imgLogo = new Picture(this);
    imgLogo->Move(405, 810, 3450, 3435);
    imgLogo->setStretch(true);
    imgLogo->setPicture(pictures::kLogo);

    lblTexEmail = addLabel({1080, 4365, 735, 255}, kGrey, QStringLiteral("Email: "));
    lblMail = addLabel({1605, 4350, 1575, 240}, kAddress, kMailAddress);
    lblTexWeb = addLabel({1095, 4635, 615, 255}, kGrey, QStringLiteral("Web:"));
    lblURL = addLabel({1635, 4605, 1485, 240}, kAddress, kWebHost);
    lblTexto = addLabel({240, 4980, 4185, 1005}, kGrey, kNotice);
    lblTexto->setFont(fonts::arial(9));
    lblTexto->setWordWrap(true);
    // The notice's label reaches past the box's right edge; its text must not.
    lblTexto->setContentsMargins(0, 0, kNoticeRightMargin, 0);
    lblTexto->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblClick = addLabel({2805, 5955, 1320, 210}, kHint, QStringLiteral("[click para cerrar]"));
    lblClick->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    for (Label* address : {lblMail, lblURL}) {
        address->setCursor(pictures::handCursor(devicePixelRatioF()));
        address->setMouseTracking(true);
    }
    for (QWidget* watched : std::initializer_list<QWidget*>{lblMail, lblURL, imgIcono, imgLogo})
        watched->installEventFilter(this);
}

Label* FormBrimvale::addLabel(const QRect& twipsRect, const QColor& color, const QString& caption)
{
    auto* label = new Label(this);
    label->Move(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height());
    label->setForeColor(color);
    label->setCaption(caption);
    return label;
}

void FormBrimvale::Form_Activate()
{
    lblTitulo->setCaption(owner_->windowTitle());
    imgIcono->setPicture(pictures::kIcon);
    setWindowIcon(owner_->windowIcon());
}

void FormBrimvale::lblURL_Click()
{
    shell::OpenAddress(documents_, QStringLiteral("http://"), lblURL->Caption(), this);
}

void FormBrimvale::lblMail_Click()
{
    shell::OpenAddress(documents_, QStringLiteral("mailto:"), lblMail->Caption(), this);
}

void FormBrimvale::underlineAddresses(bool url, bool mail)
{
    for (auto [label, underline] : {std::pair{lblURL, url}, std::pair{lblMail, mail}}) {
        QFont font = label->font();
        font.setUnderline(underline);
        label->setFont(font);
    }
}

bool FormBrimvale::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}

bool FormBrimvale::eventFilter(QObject* watched, QEvent* event)
{
    // A picture keeps every button to itself but clicks only on the left one; here any closes.
    if (watched == imgIcono || watched == imgLogo) {
        if (event->type() != QEvent::MouseButtonRelease)
            return QDialog::eventFilter(watched, event);
        close();
        return true;
    }
    const bool isUrl = watched == lblURL;
    switch (event->type()) {
    case QEvent::MouseMove:
        underlineAddresses(isUrl, !isUrl);
        return true;
    case QEvent::MouseButtonPress:
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton) {
            if (isUrl)
                lblURL_Click();
            else
                lblMail_Click();
        }
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void FormBrimvale::showEvent(QShowEvent* event)
{
    // A black box is what the player sees from the first moment; the logo and texts follow.
    display::blackFromTheStart(*this);
    QDialog::showEvent(event);
}

void FormBrimvale::keyPressEvent(QKeyEvent* event)
{
    // A modifier alone is the start of a shortcut elsewhere, not a key meant for the box.
    if (!isModifierOnly(event->key()))
        close();
}

void FormBrimvale::mouseMoveEvent(QMouseEvent* event)
{
    // Moves over the other labels reach the box too; only its own background clears the marks.
    if (!childAt(event->position().toPoint()))
        underlineAddresses(false, false);
}

void FormBrimvale::mouseReleaseEvent(QMouseEvent*)
{
    close();
}

void Form1::MnuAbout_Click()
{
    FormBrimvale box(this, documents_);
    box.exec();
}
