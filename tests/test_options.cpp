// "Opciones de juego": what it shows, how it reads the target, and how long it remembers.

#include "options/form2.h"
#include "options/targetreading.h"
#include "playerhand.h"
#include "support/tablefixture.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <optional>

namespace
{

const QString kRangeMessage = QStringLiteral("El valor debe estar entre 1 y 999");
// Stands for "whatever the program keeps" where a rejected number is too large to keep.
constexpr int kAnyTarget = 100000;

Form2* dialogOf(QWidget* dialog)
{
    return qobject_cast<Form2*>(dialog);
}

// A click at the far end of the button's row, past its caption: the whole row is the button.
void choose(Form2* dialog, int kind)
{
    OptionButton* option = dialog->Option1(kind);
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier,
                      QPoint(option->width() - 2, option->height() / 2));
}

// Types over the whole text of the chosen kind's box, key by key as a player would.
void typeTarget(Form2* dialog, int kind, const QString& text)
{
    QLineEdit* edit = dialog->Combo1(kind)->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void clickOk(Form2* dialog)
{
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
}

// What a showing of the dialog looked like when the step began.
struct DialogLook {
    QPointer<Form2> dialog;
    QList<bool> chosen;
    QList<bool> enabled;
    QStringList texts;
};

DialogLook lookAt(Form2* dialog)
{
    DialogLook look;
    look.dialog = dialog;
    for (int i = 0; i < 3; ++i) {
        look.chosen << dialog->Option1(i)->isChecked();
        look.enabled << dialog->Combo1(i)->isEnabled();
        look.texts << dialog->Combo1(i)->currentText();
    }
    return look;
}

// The table's picture without the score labels and the match settings, which the dialog may
// write.
QStringList untouchedByTheDialog(const Form1& form)
{
    QStringList lines = tableState(form);
    lines.removeIf([](const QString& line) {
        return line.startsWith(QLatin1String("Label3(")) ||
               line.startsWith(QLatin1String("match kind"));
    });
    return lines;
}

void putScores(Form1& form, std::array<Int16, 4> scores)
{
    for (int i = 0; i < 4; ++i) {
        form.settings.scores[i + 1] = scores[i];
        form.Label3(i)->setCaption(QString::number(scores[i]));
    }
}

QStringList scoreCaptions(const Form1& form)
{
    QStringList captions;
    for (int i = 0; i < 4; ++i)
        captions << form.Label3(i)->Caption();
    return captions;
}

QList<Int16> scores(const Form1& form)
{
    return {form.settings.scores[1], form.settings.scores[2], form.settings.scores[3],
            form.settings.scores[4]};
}

const QStringList kZeroCaptions{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                                QStringLiteral("0")};
const QList<Int16> kZeroScores{0, 0, 0, 0};

} // namespace

class Options : public QObject
{
    Q_OBJECT

private slots:
    void lenientReading_data();
    void lenientReading();
    void designState();
    void onlyTheChosenKindsBoxCanBeUsed_data();
    void onlyTheChosenKindsBoxCanBeUsed();
    void puntosWithItsDefault();
    void typedTargets_data();
    void typedTargets();
    void noKindChosen();
    void okResetsTheScoresWhileAHandIsOnTheTable();
    void reopeningAfterOkShowsTheLastChoice();
    void reopeningAfterTheCloseCommandShowsTheDefaults_data();
    void reopeningAfterTheCloseCommandShowsTheDefaults();
};

void Options::lenientReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("target"); // kAnyTarget when it does not fit in 16 bits

    const int none = kAnyTarget;
    QTest::newRow("7.5 rounds up to the even 8") << "7.5" << 7.5 << 8;
    QTest::newRow("6.5 rounds down to the even 6") << "6.5" << 6.5 << 6;
    QTest::newRow("2.5") << "2.5" << 2.5 << 2;
    QTest::newRow("3.5") << "3.5" << 3.5 << 4;
    QTest::newRow("0.5") << "0.5" << 0.5 << 0;
    QTest::newRow("1.5") << "1.5" << 1.5 << 2;
    QTest::newRow("999.5") << "999.5" << 999.5 << 1000;
    QTest::newRow("7.4") << "7.4" << 7.4 << 7;
    QTest::newRow("7.6") << "7.6" << 7.6 << 8;
    QTest::newRow("-2.5") << "-2.5" << -2.5 << -2;
    QTest::newRow("leading blanks, trailing letters") << "  12abc" << 12.0 << 12;
    QTest::newRow("tab before") << "\t9" << 9.0 << 9;
    QTest::newRow("stops at a blank") << "1 2" << 1.0 << 1;
    QTest::newRow("stops at a second point") << "1.2.3" << 1.2 << 1;
    QTest::newRow("plus sign") << "+20" << 20.0 << 20;
    QTest::newRow("minus five") << "-5" << -5.0 << -5;
    QTest::newRow("point first") << ".75" << 0.75 << 1;
    QTest::newRow("1000") << "1000" << 1000.0 << 1000;
    QTest::newRow("0") << "0" << 0.0 << 0;
    QTest::newRow("empty") << QString() << 0.0 << 0;
    QTest::newRow("blanks only") << "   " << 0.0 << 0;
    QTest::newRow("letters") << "abc" << 0.0 << 0;
    QTest::newRow("sign alone") << "-" << 0.0 << 0;
    QTest::newRow("point alone") << "." << 0.0 << 0;
    QTest::newRow("sign then letters") << "-x5" << 0.0 << 0;
    QTest::newRow("exponent") << "1e3" << 1000.0 << 1000;
    QTest::newRow("exponent with sign") << "25E-1" << 2.5 << 2;
    QTest::newRow("exponent without digits") << "5e" << 5.0 << 5;
    QTest::newRow("exponent sign without digits") << "5e+" << 5.0 << 5;
    QTest::newRow("largest 16-bit") << "32767" << 32767.0 << 32767;
    QTest::newRow("32767.4") << "32767.4" << 32767.4 << 32767;
    QTest::newRow("32767.5 no longer fits") << "32767.5" << 32767.5 << none;
    QTest::newRow("40000") << "40000" << 40000.0 << none;
    QTest::newRow("smallest 16-bit") << "-32768" << -32768.0 << -32768;
    QTest::newRow("-32768.5 rounds to the even -32768") << "-32768.5" << -32768.5 << -32768;
    QTest::newRow("-32769") << "-32769" << -32769.0 << none;
    QTest::newRow("1e400") << "1e400" << HUGE_VAL << none;
    QTest::newRow("5000 digits") << QString(5000, QLatin1Char('9')) << HUGE_VAL << none;
    QTest::newRow("arabic-indic three") << "\u0663" << 0.0 << 0;
    QTest::newRow("fullwidth seven") << "\uFF17" << 0.0 << 0;
    QTest::newRow("enye") << "\u00F1" << 0.0 << 0;
    QTest::newRow("digit then fullwidth digit") << "4\uFF17" << 4.0 << 4;
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
    if (target == kAnyTarget) {
        QVERIFY(!rounded.has_value());
    } else {
        QVERIFY(rounded.has_value());
        QCOMPARE(int(*rounded), target);
    }
}

void Options::designState()
{
    Table t;
    DialogSteps steps(t.watch);
    DialogLook look;
    QStringList seen;
    QList<QRect> twips;
    steps.then([&](QWidget* d) {
        Form2* dialog = dialogOf(d);
        look = lookAt(dialog);
        seen << d->windowTitle() << QString::number(d->width()) << QString::number(d->height())
             << QString::number(d->isModal()) << QString::number(d->parentWidget() == &t.form)
             << dialog->Command1->Caption();
        auto record = [&](const auto* c) {
            twips << QRect(c->Left(), c->Top(), c->Width(), c->Height());
            // 15 twips a pixel.
            QCOMPARE(c->geometry(), QRect(qRound(c->Left() / 15.0), qRound(c->Top() / 15.0),
                                          qRound(c->Width() / 15.0), qRound(c->Height() / 15.0)));
        };
        record(dialog->Command1);
        for (int i = 0; i < 3; ++i) {
            seen << dialog->Option1(i)->text();
            for (int k = 0; k < dialog->Combo1(i)->count(); ++k)
                seen << dialog->Combo1(i)->itemText(k);
            record(dialog->Option1(i));
            record(dialog->Combo1(i));
        }
        d->close();
    });

    QVERIFY(!t.form.ShowOptions());

    QCOMPARE(seen.join(' '), QStringLiteral("Opciones de juego 247 131 1 1 OK Partidas 3 5 7 10 15 "
                                            "Fichas 5 10 15 20 25 Puntos 15 30 50 75 100"));
    QCOMPARE(look.chosen, (QList<bool>{true, false, false}));
    QCOMPARE(look.enabled, (QList<bool>{true, false, false}));
    QCOMPARE(look.texts, (QStringList{"7", "15", "50"}));
    const QList<QRect> designed = {
        {2520, 240, 975, 1575},                         // OK
        {240, 240, 1695, 255},  {1440, 240, 855, 315},  // Partidas
        {240, 840, 1695, 255},  {1440, 840, 855, 315},  // Fichas
        {240, 1440, 1695, 255}, {1440, 1440, 855, 315}, // Puntos
    };
    QCOMPARE(twips, designed);
    QVERIFY(t.watch.messages.empty());
}

void Options::onlyTheChosenKindsBoxCanBeUsed_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QList<bool>>("enabled");
    QTest::newRow("Fichas") << QList<int>{1} << QList<bool>{false, true, false};
    QTest::newRow("Puntos") << QList<int>{2} << QList<bool>{false, false, true};
    QTest::newRow("Puntos then Partidas") << QList<int>{2, 0} << QList<bool>{true, false, false};
    QTest::newRow("Fichas twice") << QList<int>{1, 1} << QList<bool>{false, true, false};
}

void Options::onlyTheChosenKindsBoxCanBeUsed()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QList<bool>, enabled);
    Table t;
    DialogSteps steps(t.watch);
    DialogLook look;
    steps.then([&](QWidget* d) {
        for (int kind : clicks)
            choose(dialogOf(d), kind);
        look = lookAt(dialogOf(d));
        d->close();
    });
    t.form.ShowOptions();
    QCOMPARE(look.enabled, enabled);
    QCOMPARE(look.chosen[clicks.back()], true);
}

void Options::puntosWithItsDefault()
{
    Table t(MatchSettings::kNone, 0);
    DialogSteps steps(t.watch);
    bool hiddenAfterOk = false;
    bool stillThere = false;
    QList<bool> enabled;
    putScores(t.form, {4, 0, 2, 8});
    steps.then([&](QWidget* d) {
        choose(dialogOf(d), 2);
        enabled = lookAt(dialogOf(d)).enabled;
        clickOk(dialogOf(d));
        hiddenAfterOk = !d->isVisible();
        stillThere = true;
        if (d->isVisible())
            d->close();
    });

    QVERIFY(t.form.ShowOptions());

    QCOMPARE(enabled, (QList<bool>{false, false, true}));
    QVERIFY(stillThere);
    QVERIFY(hiddenAfterOk);
    QVERIFY(t.form.optionsDialog());
    QCOMPARE(t.form.optionsDialog()->Tag, QStringLiteral("1"));
    QCOMPARE(t.form.settings.matchKind, MatchSettings::kPuntos);
    QCOMPARE(t.form.settings.matchTarget, Int16(50));
    QCOMPARE(t.form.Label5->Caption(), QStringLiteral("Juego a 50 puntos."));
    QCOMPARE(scoreCaptions(t.form), kZeroCaptions);
    QCOMPARE(scores(t.form), kZeroScores);
    QVERIFY(t.watch.messages.empty());
}

void Options::typedTargets_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("target");          // kAnyTarget when too large for 16 bits
    QTest::addColumn<QString>("description"); // empty when OK refuses the target

    QTest::newRow("7.5 hands") << 0 << "7.5" << 8 << "Juego a 8 partidas.";
    QTest::newRow("6.5 hands") << 0 << "6.5" << 6 << "Juego a 6 partidas.";
    QTest::newRow("  12abc tiles") << 1 << "  12abc" << 12 << "Juego a 12 fichas.";
    QTest::newRow("1 hand") << 0 << "1" << 1 << "Juego a 1 partidas.";
    QTest::newRow("3 points, not in the list") << 2 << "3" << 3 << "Juego a 3 puntos.";
    QTest::newRow("999 points") << 2 << "999" << 999 << "Juego a 999 puntos.";
    QTest::newRow("998.5 points") << 2 << "998.5" << 998 << "Juego a 998 puntos.";
    QTest::newRow("0.6 tiles") << 1 << "0.6" << 1 << "Juego a 1 fichas.";
    QTest::newRow("2e2 points") << 2 << "2e2" << 200 << "Juego a 200 puntos.";
    QTest::newRow("9 then a fullwidth digit") << 0 << "9\uFF19" << 9 << "Juego a 9 partidas.";
    QTest::newRow("1000") << 0 << "1000" << 1000 << QString();
    QTest::newRow("1000 tiles") << 1 << "1000" << 1000 << QString();
    QTest::newRow("0") << 0 << "0" << 0 << QString();
    QTest::newRow("empty") << 1 << QString() << 0 << QString();
    QTest::newRow("abc") << 2 << "abc" << 0 << QString();
    QTest::newRow("-5") << 0 << "-5" << -5 << QString();
    QTest::newRow("40000") << 1 << "40000" << kAnyTarget << QString();
    QTest::newRow("1e3") << 2 << "1e3" << 1000 << QString();
    QTest::newRow("999.5 rounds to 1000") << 2 << "999.5" << 1000 << QString();
    QTest::newRow("0.5 rounds to 0") << 0 << "0.5" << 0 << QString();
    QTest::newRow("32767") << 1 << "32767" << 32767 << QString();
    QTest::newRow("fullwidth seven") << 1 << "\uFF17" << 0 << QString();
}

void Options::typedTargets()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(int, target);
    QFETCH(QString, description);
    const bool accepted = !description.isEmpty();

    Table t(MatchSettings::kFichas, 40);
    DialogSteps steps(t.watch);
    putScores(t.form, {1, 2, 3, 4});
    t.form.Label5->setCaption(QStringLiteral("Juego a 40 fichas."));
    QString text;
    bool openAfterOk = false;
    QString tag = QStringLiteral("unset");
    QStringList whileOpen;
    steps.then([&](QWidget* d) {
        choose(dialogOf(d), kind);
        typeTarget(dialogOf(d), kind, typed);
        text = dialogOf(d)->Combo1(kind)->currentText();
        clickOk(dialogOf(d));
        openAfterOk = d->isVisible();
        tag = dialogOf(d)->Tag;
        // What the first steps of OK stored before the check stays stored.
        whileOpen << QString::number(t.form.settings.matchKind) << scoreCaptions(t.form);
        for (int seat = 1; seat <= 4; ++seat)
            whileOpen << QString::number(t.form.settings.scores[seat]);
        if (d->isVisible())
            d->close();
    });
    const QStringList before = untouchedByTheDialog(t.form);

    QCOMPARE(t.form.ShowOptions(), accepted);

    QCOMPARE(text, typed);
    QCOMPARE(openAfterOk, !accepted);
    QCOMPARE(tag, accepted ? QStringLiteral("1") : QString());
    QCOMPARE(whileOpen, QStringList()
                            << QString::number(kind + 1) << kZeroCaptions << kZeroCaptions);
    QCOMPARE(t.form.settings.matchKind, Int16(kind + 1));
    if (target != kAnyTarget)
        QCOMPARE(int(t.form.settings.matchTarget), target);
    QCOMPARE(scores(t.form), kZeroScores);
    QCOMPARE(scoreCaptions(t.form), kZeroCaptions);
    QCOMPARE(t.form.Label5->Caption(),
             accepted ? description : QStringLiteral("Juego a 40 fichas."));
    QCOMPARE(bool(t.form.optionsDialog()), accepted);
    if (accepted) {
        QVERIFY(t.watch.messages.empty());
    } else {
        QCOMPARE(t.watch.messages.size(), std::size_t(1));
        const ModalWatch::Message& message = t.watch.messages.front();
        QCOMPARE(message.text, kRangeMessage);
        QCOMPARE(message.title, QStringLiteral("Lozetta"));
        QCOMPARE(message.icon, QMessageBox::Warning);
        QVERIFY(!message.hasCancel);
    }
    QStringList after = untouchedByTheDialog(t.form);
    after.replaceInStrings(QRegularExpression(QStringLiteral("^Label5 (.*) \".*\"$")),
                           QStringLiteral("Label5 \\1 \".\""));
    QStringList was = before;
    was.replaceInStrings(QRegularExpression(QStringLiteral("^Label5 (.*) \".*\"$")),
                         QStringLiteral("Label5 \\1 \".\""));
    QVERIFY2(after == was, qPrintable(firstDifference(was, after)));
}

void Options::noKindChosen()
{
    Table t(MatchSettings::kFichas, 40);
    DialogSteps steps(t.watch);
    putScores(t.form, {1, 2, 3, 4});
    bool openAfterOk = false;
    steps.then([&](QWidget* d) {
        // The player cannot clear all three buttons; the program can, and OK must notice.
        for (int i = 0; i < 3; ++i) {
            dialogOf(d)->Option1(i)->setAutoExclusive(false);
            dialogOf(d)->Option1(i)->setChecked(false);
        }
        clickOk(dialogOf(d));
        openAfterOk = d->isVisible();
        d->close();
    });

    QVERIFY(!t.form.ShowOptions());

    QCOMPARE(textsOf(t.watch.messages),
             QStringList{QStringLiteral("Selecciona el tipo de juego.")});
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::Warning);
    QCOMPARE(t.watch.messages.front().title, QStringLiteral("Lozetta"));
    QVERIFY(openAfterOk);
    QCOMPARE(t.form.settings.matchKind, MatchSettings::kNone);
    // It stops before the scores.
    QCOMPARE(scores(t.form), (QList<Int16>{1, 2, 3, 4}));
    QCOMPARE(t.form.settings.matchTarget, Int16(40));
}

void Options::okResetsTheScoresWhileAHandIsOnTheTable()
{
    Table t(MatchSettings::kPuntos, 100);
    DialogSteps steps(t.watch);
    t.scriptDeal(playerOpensFirstSlot());
    t.clickStart();
    QTRY_VERIFY(t.form.humanTurn);
    putScores(t.form, {12, 30, 7, 55});
    for (int i = 0; i < 4; ++i)
        QVERIFY(t.form.Label3(i)->isVisible());
    const QStringList before = untouchedByTheDialog(t.form);
    steps.then([&](QWidget* d) { clickOk(dialogOf(d)); });

    QVERIFY(t.form.ShowOptions());

    QCOMPARE(scoreCaptions(t.form), kZeroCaptions);
    QCOMPARE(scores(t.form), kZeroScores);
    for (int i = 0; i < 4; ++i)
        QVERIFY(t.form.Label3(i)->isVisible());
    QStringList after = untouchedByTheDialog(t.form);
    after.replaceInStrings(QRegularExpression(QStringLiteral("^Label5 (.*) \".*\"$")),
                           QStringLiteral("Label5 \\1 \".\""));
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
    QCOMPARE(t.form.Label5->Caption(), QStringLiteral("Juego a 7 partidas."));
}

void Options::reopeningAfterOkShowsTheLastChoice()
{
    Table t;
    DialogSteps steps(t.watch);
    DialogLook second;
    QPointer<Form2> first;
    steps.then([&](QWidget* d) {
        first = dialogOf(d);
        choose(dialogOf(d), 1);
        typeTarget(dialogOf(d), 1, QStringLiteral("22"));
        clickOk(dialogOf(d));
        if (d->isVisible())
            d->close();
    });
    steps.then([&](QWidget* d) {
        second = lookAt(dialogOf(d));
        clickOk(dialogOf(d));
        if (d->isVisible())
            d->close();
    });

    QVERIFY(t.form.ShowOptions());
    QCOMPARE(t.form.settings.matchTarget, Int16(22));
    QVERIFY(t.form.ShowOptions());

    QVERIFY(first);
    QCOMPARE(second.dialog, first);
    QCOMPARE(second.chosen, (QList<bool>{false, true, false}));
    QCOMPARE(second.enabled, (QList<bool>{false, true, false}));
    QCOMPARE(second.texts,
             (QStringList{QStringLiteral("7"), QStringLiteral("22"), QStringLiteral("50")}));
    QCOMPARE(t.form.settings.matchKind, MatchSettings::kFichas);
    QCOMPARE(t.form.settings.matchTarget, Int16(22));
    QCOMPARE(t.form.Label5->Caption(), QStringLiteral("Juego a 22 fichas."));
}

void Options::reopeningAfterTheCloseCommandShowsTheDefaults_data()
{
    QTest::addColumn<bool>("okFirst");
    QTest::newRow("changed, then closed") << false;
    QTest::newRow("accepted, then changed and closed") << true;
}

void Options::reopeningAfterTheCloseCommandShowsTheDefaults()
{
    QFETCH(bool, okFirst);
    Table t;
    DialogSteps steps(t.watch);
    QPointer<Form2> closed;
    DialogLook reopened;
    if (okFirst)
        steps.then([&](QWidget* d) {
            choose(dialogOf(d), 2);
            clickOk(dialogOf(d));
            if (d->isVisible())
                d->close();
        });
    steps.then([&](QWidget* d) {
        closed = dialogOf(d);
        choose(dialogOf(d), 2);
        typeTarget(dialogOf(d), 2, QStringLiteral("75"));
        choose(dialogOf(d), 1);
        typeTarget(dialogOf(d), 1, QStringLiteral("9"));
        d->close();
    });
    steps.then([&](QWidget* d) {
        reopened = lookAt(dialogOf(d));
        d->close();
    });

    if (okFirst)
        QVERIFY(t.form.ShowOptions());
    QVERIFY(!t.form.ShowOptions());
    QVERIFY(!closed);
    QVERIFY(!t.form.optionsDialog());
    QVERIFY(!t.form.ShowOptions());

    QCOMPARE(reopened.chosen, (QList<bool>{true, false, false}));
    QCOMPARE(reopened.enabled, (QList<bool>{true, false, false}));
    QCOMPARE(reopened.texts,
             (QStringList{QStringLiteral("7"), QStringLiteral("15"), QStringLiteral("50")}));
    QCOMPARE(steps.shown.size(), okFirst ? 3 : 2);
}

QTEST_MAIN(Options)
#include "test_options.moc"
