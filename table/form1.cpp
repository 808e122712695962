#include "table/form1.h"

#include "options/form2.h"
#include "table/accessibility.h"
#include "table/fonts.h"
#include "table/pictures.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

namespace
{

constexpr int kClientWidth = 8880;
constexpr int kClientHeight = 7200;
constexpr int kHalf = 360;
constexpr int kHandHalf = 375;
constexpr int kHandStep = 480;
constexpr int kComputerTiles = 21;
constexpr int kSelectionBorder = 4;

const QColor kCloth(0, 128, 0);
const QColor kScoreBack(0, 192, 0);
const QColor kSeatNameText(255, 255, 0);
const QColor kDescriptionText(0, 255, 0);
const QColor kSelection(255, 0, 0);

QString seatName(int seat)
{
    return QStringLiteral("Jugador %1").arg(seat);
}

} // namespace

Form1::Form1(shell::SoundService& sound, shell::DocumentService& documents)
    : Image2([this](Int16 i) { Image2_Click(i); }), Image4([this](Int16 i) { Image4_Click(i); }),
      Image5([this](Int16 i) { Image5_Click(i); }), sound_(sound), documents_(documents)
{
    setWindowTitle(QStringLiteral("Lozetta 1.1"));
    setWindowIcon(pictures::icon(pictures::kIcon));
    // The design's text for every window, the message boxes and menus too: one family of
    // fonts loaded rather than two.
    QApplication::setFont(fonts::sansSerif(fonts::kDefaultPoints));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    accessibility::install(*this);
    createControls();
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

Form1::~Form1() = default;

void Form1::createControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(twips::toPixels(kClientWidth), twips::toPixels(kClientHeight));
    setCentralWidget(client);
    surface_ = new QWidget(client);
    surface_->setGeometry(client->rect());

    // Created from back to front, which is the design's stacking order.
    Label1 = new Label(surface_);
    Label1->Move(120, 120, 8655, 6975);
    Label1->setBackColor(kCloth);
    Label1->setSingleBorder();

    const int imageOneSpots[7][2] = {{240, 6600}, {240, 6240}, {600, 6600}, {600, 6240},
                                     {960, 6600}, {960, 6240}, {1320, 6600}};
    for (int pips = 0; pips <= 6; ++pips) {
        auto* face = Image1.append(new Picture(surface_));
        face->Move(imageOneSpots[pips][0], imageOneSpots[pips][1], kHalf, kHalf);
        face->setPicture(pictures::face(pips));
        face->hide();
    }

    for (int k = 1; k <= rules::kSlots; ++k) {
        for (int lower = 0; lower <= 1; ++lower) {
            auto* half = Image2.append(new Picture(surface_));
            half->Move(3000 + kHandStep * (k - 1), 6240 + kHalf * lower, kHandHalf, kHandHalf);
            half->setStretch(true);
        }
    }

    Shape2 = new Shape(surface_);
    Shape2->Move(5040, 3000, 495, 975);
    Shape2->hide();

    auto* lyingDivider = Image3.append(new Picture(surface_));
    lyingDivider->Move(3360, 3000, kHalf, kHalf);
    lyingDivider->setPicture(pictures::kDividerVertical);
    lyingDivider->hide();

    Shape3 = new Shape(surface_);
    Shape3->Move(3360, 4200, 855, 255);
    Shape3->setBorder(kSelection, kSelectionBorder);
    Shape3->hide();

    for (int i = 0; i < rules::kSeats; ++i) {
        auto* counter = Label2.append(new Label(surface_));
        counter->Move(6600 + kHandStep * i, 5880, kHandHalf, kHandHalf);
        counter->setCaption(QStringLiteral("0"));
        counter->setSingleBorder();
        counter->setAlignment(Qt::AlignCenter);
        counter->setFont(fonts::sansSerif(12, true));
        counter->hide();
    }

    const QString markers[2] = {pictures::kMarkerGreen, pictures::kMarkerCyan};
    for (int i = 0; i < 2; ++i) {
        auto* marker = Image4.append(new Picture(surface_));
        marker->Move(3360 + 600 * i, 3480, kHalf, kHalf);
        marker->setPicture(markers[i]);
        marker->hide();
    }

    auto* uprightDivider = Image5.append(new Picture(surface_));
    uprightDivider->Move(3960, 3000, kHalf, kHalf);
    uprightDivider->setPicture(pictures::kDividerHorizontal);
    uprightDivider->hide();

    for (int i = 0; i < rules::kSeats; ++i) {
        auto* score = Label3.append(new Label(surface_));
        score->Move(1080, 240 + kHalf * i, 735, kHandHalf);
        score->setBackColor(kScoreBack);
        score->setSingleBorder();
        score->setAlignment(Qt::AlignCenter);
        score->setFont(fonts::sansSerif(13.5, true));
        score->hide();
    }

    for (int i = 0; i < kComputerTiles; ++i) {
        auto* tile = Shape1.append(new Shape(surface_));
        const int k = i % rules::kSlots;
        if (i < 7)
            tile->Move(240, 2040 + kHandStep * k, 735, kHandHalf);
        else if (i < 14)
            tile->Move(2760 + kHandStep * k, 240, kHandHalf, 735);
        else
            tile->Move(7800, 5040 - kHandStep * k, 735, kHandHalf);
        tile->setBorder(Qt::white, 1);
        tile->setFill(Qt::white);
        tile->hide();
    }

    for (int i = 0; i < rules::kSeats; ++i) {
        auto* name = Label4.append(new Label(surface_));
        name->Move(240, 360 + kHalf * i, 975, 255);
        name->setForeColor(kSeatNameText);
        name->setCaption(seatName(i + 1));
        name->hide();
    }

    Label5 = new Label(surface_);
    Label5->Move(6600, 6600, 1935, 255);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label5->setForeColor(kDescriptionText);
    Label5->setFont(fonts::sansSerif(8.25, true));
    Label5->setCaption(QStringLiteral("."));

    const int seatNameSpots[4][2] = {{3000, 5880}, {240, 5400}, {2760, 1080}, {7800, 5520}};
    for (int i = 0; i < rules::kSeats; ++i) {
        auto* name = Label7.append(new Label(surface_));
        name->Move(seatNameSpots[i][0], seatNameSpots[i][1], 855, 255);
        name->setCaption(seatName(i + 1));
        name->hide();
    }

    // Buttons are children of the client itself, so the table's pictures never cover them.
    Command1 = new Button(client);
    Command1->Move(2880, 6120, 3495, 855);
    Command1->setCaption(QStringLiteral("Comenzar la partida"));
    Command1->hide();
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    Command3 = new Button(client);
    Command3->Move(1920, 6480, 855, 495);
    Command3->setCaption(QStringLiteral("Pasar"));
    Command3->hide();
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    setTabOrder(Command1, Command3);

    Timer1 = new VbTimer(true, 0, this);
    connect(Timer1, &VbTimer::Timer, this, &Form1::Timer1_Timer);
    Timer2 = new VbTimer(false, 1, this);
    connect(Timer2, &VbTimer::Timer, this, &Form1::Timer2_Timer);
}

void Form1::createMenus()
{
    MnuGame = menuBar()->addMenu(QStringLiteral("Juego"));
    MnuNew = MnuGame->addAction(QStringLiteral("Nuevo"));
    MnuNew->setShortcut(Qt::Key_F2);
    connect(MnuNew, &QAction::triggered, this, &Form1::MnuNew_Click);
    MnuSound = MnuGame->addAction(QStringLiteral("Sonido"));
    MnuSound->setShortcut(Qt::CTRL | Qt::Key_S);
    MnuSound->setCheckable(true);
    MnuSound->setChecked(true);
    // The handler does the toggling itself, so the toolkit must not toggle it first.
    connect(MnuSound, &QAction::triggered, this, [this] {
        MnuSound->setChecked(!MnuSound->isChecked());
        MnuSound_Click();
    });

    MnuHelp = menuBar()->addMenu(QStringLiteral("Ayuda"));
    MnuHow = MnuHelp->addAction(QStringLiteral("Instrucciones"));
    MnuHow->setShortcut(Qt::Key_F1);
    connect(MnuHow, &QAction::triggered, this, &Form1::MnuHow_Click);
    MnuAbout = MnuHelp->addAction(QStringLiteral("Acerca de..."));
    connect(MnuAbout, &QAction::triggered, this, &Form1::MnuAbout_Click);
}
