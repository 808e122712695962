#include "options/form2.h"

#include "options/targetreading.h"
#include "table/fonts.h"
#include "table/form1.h"
#include "table/messagebox.h"
#include "table/placement.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLineEdit>

namespace
{

constexpr int kClientWidth = 3705;
constexpr int kClientHeight = 1965;
constexpr Int16 kKinds = 3;
constexpr int kDefaultEntry = 2;
constexpr Int16 kLowestTarget = 1;
constexpr Int16 kHighestTarget = 999;
constexpr Int16 kDefaultTarget = 7;

const char* const kKindNames[kKinds] = {"Partidas", "Fichas", "Puntos"};
const char* const kKindEndings[kKinds] = {"partidas.", "fichas.", "puntos."};
const QStringList kTargetLists[kKinds] = {
    {QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("7"), QStringLiteral("10"),
     QStringLiteral("15")},
    {QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("15"), QStringLiteral("20"),
     QStringLiteral("25")},
    {QStringLiteral("15"), QStringLiteral("30"), QStringLiteral("50"), QStringLiteral("75"),
     QStringLiteral("100")},
};

} // namespace

Form2::Form2(Form1& table)
    : QDialog(&table), Option1([this](Int16 i) { Option1_Click(i); }), table_(table)
{
    setWindowTitle(QStringLiteral("Opciones de juego"));
    setFont(fonts::sansSerif(fonts::kDefaultPoints));
    setFixedSize(twips::toPixels(kClientWidth), twips::toPixels(kClientHeight));
    placement::keepCentredOnOwner(*this);

    Command1 = new Button(this);
    Command1->Move(2520, 240, 975, 1575);
    Command1->setCaption(QStringLiteral("OK"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);

    for (Int16 i = 0; i < kKinds; ++i) {
        auto* option = Option1.append(new OptionButton(this));
        option->Move(240, 240 + 600 * i, 1695, 255);
        option->setText(QString::fromLatin1(kKindNames[i]));
    }
    Option1(0)->setChecked(true);

    for (Int16 i = 0; i < kKinds; ++i) {
        auto* combo = Combo1.append(new ComboBox(this));
        combo->Move(1440, 240 + 600 * i, 855, 315);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // Its label is the option beside it, which a screen reader cannot tie to it; on this
        // desktop a combo box's name is its value, so the label goes in its description.
        combo->setAccessibleDescription(
            QStringLiteral("Meta en %1").arg(QString::fromLatin1(kKindNames[i]).toLower()));
        // What the player types is what is read: no list entry may complete it ("1" is not "10").
        combo->setCompleter(nullptr);
        combo->addItems(kTargetLists[i]);
    }

    setTabOrder(Command1, Option1(0));
    setTabOrder(Option1(0), Option1(1));
    setTabOrder(Option1(1), Option1(2));
    setTabOrder(Option1(2), Combo1(0));
    setTabOrder(Combo1(0), Combo1(1));
    setTabOrder(Combo1(1), Combo1(2));
    Form_Load();
}

void Form2::Form_Load()
{
    for (Int16 i = 0; i < kKinds; ++i)
        Combo1(i)->setEditText(Combo1(i)->itemText(kDefaultEntry));
    ApplyKindEnabling();
}

void Form2::Form_Activate()
{
    ApplyKindEnabling();
}

void Form2::Option1_Click(Int16)
{
    ApplyKindEnabling();
}

void Form2::Command1_Click()
{
    AcceptOptions();
}

void Form2::ApplyKindEnabling()
{
    for (Int16 i = 0; i < kKinds; ++i)
        Combo1(i)->setEnabled(false);
    for (Int16 i = 0; i < kKinds; ++i) {
        if (Option1(i)->isChecked())
            Combo1(i)->setEnabled(true);
    }
}

void Form2::AcceptOptions()
{
    MatchSettings& settings = table_.settings;
    settings.matchKind = MatchSettings::kNone;
    for (Int16 i = 0; i < kKinds; ++i) {
        if (Option1(i)->isChecked())
            settings.matchKind = static_cast<Int16>(i + 1);
    }
    if (settings.matchKind == MatchSettings::kNone) {
        msgbox::MsgBox(this, QStringLiteral("Selecciona el tipo de juego."), msgbox::vbExclamation);
        return;
    }
    options::resetScores(table_);

    bool fits = true;
    for (Int16 i = 0; i < kKinds; ++i) {
        if (Option1(i)->isChecked()) {
            const auto target =
                options::roundToInt16(options::readNumber(Combo1(i)->currentText()));
            fits = target.has_value();
            // A number too large for the target keeps nothing of itself.
            settings.matchTarget = target.value_or(0);
        }
    }
    if (!fits || settings.matchTarget < kLowestTarget || settings.matchTarget > kHighestTarget) {
        msgbox::MsgBox(this, QStringLiteral("El valor debe estar entre 1 y 999"),
                       msgbox::vbExclamation);
        return;
    }
    table_.Label5->setCaption(options::matchDescription(settings.matchKind, settings.matchTarget));
    Tag = QStringLiteral("1");
    hide();
}

bool Form2::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}

void Form2::closeEvent(QCloseEvent* event)
{
    closed_ = true;
    event->accept();
}

void Form2::reject()
{
    close();
}

namespace options
{

QString matchDescription(Int16 matchKind, Int16 matchTarget)
{
    return QStringLiteral("Juego a %1 %2")
        .arg(matchTarget)
        .arg(QString::fromLatin1(kKindEndings[matchKind - 1]));
}

void resetScores(Form1& table)
{
    for (Int16 seat = 1; seat <= rules::kSeats; ++seat) {
        table.settings.scores[seat] = 0;
        table.Label3(seat - 1)->setCaption(QStringLiteral("0"));
    }
}

bool isPlayable(const Form1& table)
{
    const MatchSettings& settings = table.settings;
    return settings.matchKind != MatchSettings::kNone && settings.matchTarget >= kLowestTarget &&
           settings.matchTarget <= kHighestTarget;
}

void setUpDefaultMatch(Form1& table)
{
    table.settings.matchKind = MatchSettings::kPartidas;
    table.settings.matchTarget = kDefaultTarget;
    resetScores(table);
    table.Label5->setCaption(matchDescription(MatchSettings::kPartidas, kDefaultTarget));
}

} // namespace options

bool Form1::ShowOptions()
{
    if (!form2_)
        form2_ = new Form2(*this);
    form2_->exec();
    if (form2_->closedByUser()) {
        delete form2_;
        return false;
    }
    return !form2_->Tag.isEmpty();
}

Form2* Form1::optionsDialog() const
{
    return form2_;
}
