// "Opciones de juego": how it reads the target, what OK does with it, and how long the dialog
// remembers a choice.

#include "options/form2.h"
#include "options/targetreading.h"
#include "support/tablefixture.h"

#include <QLineEdit>
#include <QTest>
#include <cmath>

namespace
{

// Stands for "whatever the program keeps" where a number is too large for 16 bits.
constexpr int kAnyTarget = 100000;

Form2* dialogOf(QWidget* dialog)
{
    return qobject_cast<Form2*>(dialog);
}

// A click at the far end of the button's row, past its caption: the whole row is the button.
void choose(QWidget* dialog, int kind)
{
    OptionButton* option = dialogOf(dialog)->Option1(kind);
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier,
                      QPoint(option->width() - 2, option->height() / 2));
}

// Types over the whole text of the kind's box, key by key as a player would.
void typeTarget(QWidget* dialog, int kind, const QString& text)
{
    QLineEdit* edit = dialogOf(dialog)->Combo1(kind)->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void clickOk(QWidget* dialog)
{
    QTest::mouseClick(dialogOf(dialog)->Command1, Qt::LeftButton);
}

// Which kind is chosen, which boxes can be used, and what they hold.
QString look(QWidget* dialog)
{
    QStringList parts;
    for (int i = 0; i < 3; ++i)
        parts << QStringLiteral("%1%2 %3")
                     .arg(dialogOf(dialog)->Option1(i)->isChecked() ? "(x)" : "( )")
                     .arg(dialogOf(dialog)->Combo1(i)->isEnabled() ? "" : " off")
                     .arg(dialogOf(dialog)->Combo1(i)->currentText());
    return parts.join(QStringLiteral(", "));
}

const QString kDefaults = QStringLiteral("(x) 7, ( ) off 15, ( ) off 50");

void putScores(Form1& form)
{
    for (int i = 0; i < 4; ++i) {
        form.settings.scores[i + 1] = Int16(i + 1);
        form.Label3(i)->setCaption(QString::number(i + 1));
    }
}

QString scoresShown(const Form1& form)
{
    QStringList shown;
    for (int i = 0; i < 4; ++i)
        shown << form.Label3(i)->Caption() + QLatin1Char('=') +
                     QString::number(form.settings.scores[i + 1]);
    return shown.join(QLatin1Char(' '));
}

const QString kZeroScores = QStringLiteral("0=0 0=0 0=0 0=0");

// The table apart from what the dialog writes: the match description, the scores and the
// match settings.
QStringList untouchedByTheDialog(const Form1& form)
{
    QStringList lines = tableState(form);
    const auto controls = form.centralWidget()->findChildren<QWidget*>();
    lines[controls.indexOf(form.Label5)].clear();
    for (int i = 0; i < 4; ++i)
        lines[controls.indexOf(form.Label3(i))].clear();
    lines.removeIf([](const QString& line) { return line.startsWith(QLatin1String("match")); });
    return lines;
}

} // namespace

class Options : public QObject
{
    Q_OBJECT

private slots:
    void lenientReading_data();
    void lenientReading();
    void onlyTheChosenKindsBoxCanBeUsed();
    void okTakesTheTarget_data();
    void okTakesTheTarget();
    void noKindChosen();
    void okResetsTheScoresWhileAHandIsOnTheTable();
    void reopeningShowsTheLastAcceptedChoice_data();
    void reopeningShowsTheLastAcceptedChoice();
};

void Options::lenientReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("target");
    const int none = kAnyTarget;
    // Halves go to the even neighbour: 7.5 to 8 is read through the dialog.
    QTest::newRow("6.5 rounds down to the even 6") << "6.5" << 6.5 << 6;
    QTest::newRow("-2.5") << "-2.5" << -2.5 << -2;
    QTest::newRow("stops at a blank") << "1 2" << 1.0 << 1;
    QTest::newRow("stops at a second point") << "1.2.3" << 1.2 << 1;
    QTest::newRow("point first") << ".75" << 0.75 << 1;
    QTest::newRow("sign alone") << "-" << 0.0 << 0;
    QTest::newRow("exponent with sign") << "25E-1" << 2.5 << 2;
    QTest::newRow("exponent sign without digits") << "5e+" << 5.0 << 5;
    QTest::newRow("32767.5 no longer fits") << "32767.5" << 32767.5 << none;
    QTest::newRow("-32768.5 rounds to the even -32768") << "-32768.5" << -32768.5 << -32768;
    QTest::newRow("1e400") << "1e400" << HUGE_VAL << none;
    QTest::newRow("5000 digits") << QString(5000, QLatin1Char('9')) << HUGE_VAL << none;
    QTest::newRow("fullwidth seven") << "\uFF17" << 0.0 << 0;
}

void Options::lenientReading()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QFETCH(int, target);
    const double read = options::readNumber(text);
    if (std::isinf(number))
        QVERIFY2(std::isinf(read) || std::abs(read) > 1e300, qPrintable(QString::number(read)));
    else
        QCOMPARE(read, number);
    const std::optional<Int16> rounded = options::roundToInt16(read);
    QCOMPARE(rounded.has_value(), target != kAnyTarget);
    if (rounded)
        QCOMPARE(int(*rounded), target);
}

void Options::onlyTheChosenKindsBoxCanBeUsed()
{
    Table t;
    QStringList looks;
    t.watch.then([&](QWidget* d) {
        looks << look(d);
        for (int kind : {1, 2, 0, 2}) {
            choose(d, kind);
            looks << look(d);
        }
        d->close();
    });
    QVERIFY(!t.form.ShowOptions());
    QCOMPARE(looks, (QStringList{kDefaults, "( ) off 7, (x) 15, ( ) off 50",
                                 "( ) off 7, ( ) off 15, (x) 50", kDefaults,
                                 "( ) off 7, ( ) off 15, (x) 50"}));
}

void Options::okTakesTheTarget_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");       // nothing typed when null
    QTest::addColumn<int>("target");          // kAnyTarget when too large for 16 bits
    QTest::addColumn<QString>("description"); // empty when OK refuses the target
    QTest::newRow("Puntos with its default") << 2 << QString() << 50 << "Juego a 50 puntos.";
    QTest::newRow("7.5 hands") << 0 << "7.5" << 8 << "Juego a 8 partidas.";
    QTest::newRow("  12abc tiles") << 1 << "  12abc" << 12 << "Juego a 12 fichas.";
    QTest::newRow("999 points, not in the list") << 2 << "999" << 999 << "Juego a 999 puntos.";
    QTest::newRow("9 then a fullwidth digit") << 0 << "9\uFF19" << 9 << "Juego a 9 partidas.";
    QTest::newRow("1000") << 0 << "1000" << 1000 << QString();
    QTest::newRow("0") << 1 << "0" << 0 << QString();
    QTest::newRow("40000") << 1 << "40000" << kAnyTarget << QString();
    QTest::newRow("999.5 rounds to 1000") << 2 << "999.5" << 1000 << QString();
}

void Options::okTakesTheTarget()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(int, target);
    QFETCH(QString, description);
    const bool accepted = !description.isEmpty();
    const QString before = QStringLiteral("Juego a 40 fichas.");
    Table t(MatchSettings::kFichas, 40);
    putScores(t.form);
    t.form.Label5->setCaption(before);
    bool openAfterOk = false;
    QString scoresWhileOpen;
    t.watch.then([&](QWidget* d) {
        choose(d, kind);
        if (!typed.isNull())
            typeTarget(d, kind, typed);
        clickOk(d);
        openAfterOk = d->isVisible();
        // What the first steps of OK stored before the check stays stored.
        scoresWhileOpen = scoresShown(t.form);
        if (d->isVisible())
            d->close();
    });
    const QStringList untouched = untouchedByTheDialog(t.form);

    QCOMPARE(t.form.ShowOptions(), accepted);

    QCOMPARE(openAfterOk, !accepted);
    QCOMPARE(scoresWhileOpen, kZeroScores);
    QCOMPARE(t.form.settings.matchKind, Int16(kind + 1));
    if (target != kAnyTarget)
        QCOMPARE(int(t.form.settings.matchTarget), target);
    QCOMPARE(scoresShown(t.form), kZeroScores);
    QCOMPARE(t.form.Label5->Caption(), accepted ? description : before);
    QCOMPARE(t.form.optionsDialog() != nullptr, accepted);
    QCOMPARE(textsOf(t.watch.messages),
             accepted ? QStringList() : QStringList{"El valor debe estar entre 1 y 999"});
    if (!accepted)
        QCOMPARE(t.watch.messages.front().icon, QMessageBox::Warning);
    QCOMPARE(untouchedByTheDialog(t.form), untouched);
}

void Options::noKindChosen()
{
    Table t(MatchSettings::kFichas, 40);
    putScores(t.form);
    bool openAfterOk = false;
    t.watch.then([&](QWidget* d) {
        // The player cannot clear all three buttons; the program can, and OK must notice.
        for (int i = 0; i < 3; ++i) {
            dialogOf(d)->Option1(i)->setAutoExclusive(false);
            dialogOf(d)->Option1(i)->setChecked(false);
        }
        clickOk(d);
        openAfterOk = d->isVisible();
        d->close();
    });

    QVERIFY(!t.form.ShowOptions());

    QCOMPARE(textsOf(t.watch.messages), QStringList{"Selecciona el tipo de juego."});
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::Warning);
    QVERIFY(openAfterOk);
    QCOMPARE(t.form.settings.matchKind, MatchSettings::kNone);
    // It stops before the scores and the target.
    QCOMPARE(scoresShown(t.form), QStringLiteral("1=1 2=2 3=3 4=4"));
    QCOMPARE(t.form.settings.matchTarget, Int16(40));
}

void Options::okResetsTheScoresWhileAHandIsOnTheTable()
{
    Table t(MatchSettings::kPuntos, 100);
    t.deal(doubleSixAtSeat(1));
    QVERIFY(t.form.humanTurn);
    putScores(t.form);
    const QStringList before = untouchedByTheDialog(t.form);
    t.watch.then(clickOk);

    QVERIFY(t.form.ShowOptions());

    QCOMPARE(scoresShown(t.form), kZeroScores);
    QCOMPARE(t.form.Label5->Caption(), QStringLiteral("Juego a 7 partidas."));
    // The hand on the table goes on as it was.
    QCOMPARE(untouchedByTheDialog(t.form), before);
}

void Options::reopeningShowsTheLastAcceptedChoice_data()
{
    QTest::addColumn<bool>("okFirst");
    QTest::addColumn<bool>("okThen");
    QTest::addColumn<QString>("reopened");
    QTest::newRow("changed and accepted") << false << true << "( ) off 7, (x) 22, ( ) off 50";
    QTest::newRow("changed and closed") << false << false << kDefaults;
    QTest::newRow("accepted, then changed and closed") << true << false << kDefaults;
}

void Options::reopeningShowsTheLastAcceptedChoice()
{
    QFETCH(bool, okFirst);
    QFETCH(bool, okThen);
    QFETCH(QString, reopened);
    Table t;
    if (okFirst)
        t.watch.then([](QWidget* d) {
            choose(d, 2);
            clickOk(d);
        });
    QPointer<QWidget> changed;
    t.watch.then([&](QWidget* d) {
        changed = d;
        choose(d, 1);
        typeTarget(d, 1, QStringLiteral("22"));
        if (okThen)
            clickOk(d);
        else
            d->close();
    });
    QString seen;
    t.watch.then([&](QWidget* d) {
        seen = look(d);
        d->close();
    });

    if (okFirst)
        QVERIFY(t.form.ShowOptions());
    QCOMPARE(t.form.ShowOptions(), okThen);
    // A dialog closed without OK is gone; an accepted one is kept for the next showing.
    QCOMPARE(changed != nullptr, okThen);
    QVERIFY(!t.form.ShowOptions());

    QCOMPARE(seen, reopened);
    QCOMPARE(t.watch.shown.size(), okFirst ? 3 : 2);
    QCOMPARE(t.watch.unexpected, 0);
}

QTEST_MAIN(Options)
#include "test_options.moc"
