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

QStringList tableOfTiles()
{
    // Seat 1 holds the double six, so the hand waits on the player after the deal.
    QStringList tiles = allTilesInOrder();
    tiles.move(tiles.indexOf(QStringLiteral("66")), 0);
    return tiles;
}

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
    void acceptedTargets_data();
    void acceptedTargets();
    void rejectedTargets_data();
    void rejectedTargets();
    void noKindChosen();
    void okResetsTheScoresWhileAHandIsOnTheTable();
    void reopeningAfterOkShowsTheLastChoice();
    void reopeningAfterTheCloseCommandShowsTheDefaults_data();
    void reopeningAfterTheCloseCommandShowsTheDefaults();
    void rejectedOkThenCloseKeepsWhatWasStored();
};

void Options::lenientReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("target"); // kAnyTarget when it does not fit in 16 bits

    const int none = kAnyTarget;
    QTest::newRow("7.5 rounds up to the even 8") << QStringLiteral("7.5") << 7.5 << 8;
    QTest::newRow("6.5 rounds down to the even 6") << QStringLiteral("6.5") << 6.5 << 6;
    QTest::newRow("2.5") << QStringLiteral("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << QStringLiteral("3.5") << 3.5 << 4;
    QTest::newRow("0.5") << QStringLiteral("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << QStringLiteral("1.5") << 1.5 << 2;
    QTest::newRow("999.5") << QStringLiteral("999.5") << 999.5 << 1000;
    QTest::newRow("7.4") << QStringLiteral("7.4") << 7.4 << 7;
    QTest::newRow("7.6") << QStringLiteral("7.6") << 7.6 << 8;
    QTest::newRow("-2.5") << QStringLiteral("-2.5") << -2.5 << -2;
    QTest::newRow("leading blanks, trailing letters") << QStringLiteral("  12abc") << 12.0 << 12;
    QTest::newRow("tab before") << QStringLiteral("\t9") << 9.0 << 9;
    QTest::newRow("stops at a blank") << QStringLiteral("1 2") << 1.0 << 1;
    QTest::newRow("stops at a second point") << QStringLiteral("1.2.3") << 1.2 << 1;
    QTest::newRow("plus sign") << QStringLiteral("+20") << 20.0 << 20;
    QTest::newRow("minus five") << QStringLiteral("-5") << -5.0 << -5;
    QTest::newRow("point first") << QStringLiteral(".75") << 0.75 << 1;
    QTest::newRow("1000") << QStringLiteral("1000") << 1000.0 << 1000;
    QTest::newRow("0") << QStringLiteral("0") << 0.0 << 0;
    QTest::newRow("empty") << QString() << 0.0 << 0;
    QTest::newRow("blanks only") << QStringLiteral("   ") << 0.0 << 0;
    QTest::newRow("letters") << QStringLiteral("abc") << 0.0 << 0;
    QTest::newRow("sign alone") << QStringLiteral("-") << 0.0 << 0;
    QTest::newRow("point alone") << QStringLiteral(".") << 0.0 << 0;
    QTest::newRow("sign then letters") << QStringLiteral("-x5") << 0.0 << 0;
    QTest::newRow("exponent") << QStringLiteral("1e3") << 1000.0 << 1000;
    QTest::newRow("exponent with sign") << QStringLiteral("25E-1") << 2.5 << 2;
    QTest::newRow("exponent without digits") << QStringLiteral("5e") << 5.0 << 5;
    QTest::newRow("exponent sign without digits") << QStringLiteral("5e+") << 5.0 << 5;
    QTest::newRow("largest 16-bit") << QStringLiteral("32767") << 32767.0 << 32767;
    QTest::newRow("32767.4") << QStringLiteral("32767.4") << 32767.4 << 32767;
    QTest::newRow("32767.5 no longer fits") << QStringLiteral("32767.5") << 32767.5 << none;
    QTest::newRow("40000") << QStringLiteral("40000") << 40000.0 << none;
    QTest::newRow("smallest 16-bit") << QStringLiteral("-32768") << -32768.0 << -32768;
    QTest::newRow("-32768.5 rounds to the even -32768")
        << QStringLiteral("-32768.5") << -32768.5 << -32768;
    QTest::newRow("-32769") << QStringLiteral("-32769") << -32769.0 << none;
    QTest::newRow("1e400") << QStringLiteral("1e400") << HUGE_VAL << none;
    QTest::newRow("5000 digits") << QString(5000, QLatin1Char('9')) << HUGE_VAL << none;
    QTest::newRow("arabic-indic three") << QStringLiteral("\u0663") << 0.0 << 0;
    QTest::newRow("fullwidth seven") << QStringLiteral("\uFF17") << 0.0 << 0;
    QTest::newRow("enye") << QStringLiteral("\u00F1") << 0.0 << 0;
    QTest::newRow("digit then fullwidth digit") << QStringLiteral("4\uFF17") << 4.0 << 4;
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
    QString title;
    QSize size;
    bool modal = false;
    bool ownedByTable = false;
    QStringList captions;
    QString ok;
    QList<QStringList> lists;
    QList<QRect> twips;
    QList<QRect> pixels;
    steps.then([&](QWidget* d) {
        Form2* dialog = dialogOf(d);
        look = lookAt(dialog);
        title = d->windowTitle();
        size = d->size();
        modal = d->isModal();
        ownedByTable = d->parentWidget() == &t.form;
        ok = dialog->Command1->Caption();
        auto record = [&](const auto* c) {
            twips << QRect(c->Left(), c->Top(), c->Width(), c->Height());
            pixels << c->geometry();
        };
        record(dialog->Command1);
        for (int i = 0; i < 3; ++i) {
            captions << dialog->Option1(i)->text();
            QStringList list;
            for (int k = 0; k < dialog->Combo1(i)->count(); ++k)
                list << dialog->Combo1(i)->itemText(k);
            lists << list;
            record(dialog->Option1(i));
            record(dialog->Combo1(i));
        }
        d->close();
    });

    QVERIFY(!t.form.ShowOptions());

    QVERIFY(!look.texts.isEmpty());
    QCOMPARE(title, QStringLiteral("Opciones de juego"));
    QCOMPARE(size, QSize(247, 131));
    QVERIFY(modal);
    QVERIFY(ownedByTable);
    QCOMPARE(look.chosen, (QList<bool>{true, false, false}));
    QCOMPARE(look.enabled, (QList<bool>{true, false, false}));
    QCOMPARE(look.texts,
             (QStringList{QStringLiteral("7"), QStringLiteral("15"), QStringLiteral("50")}));
    QCOMPARE(captions, (QStringList{QStringLiteral("Partidas"), QStringLiteral("Fichas"),
                                    QStringLiteral("Puntos")}));
    QCOMPARE(ok, QStringLiteral("OK"));
    QCOMPARE(lists[0], (QStringList{"3", "5", "7", "10", "15"}));
    QCOMPARE(lists[1], (QStringList{"5", "10", "15", "20", "25"}));
    QCOMPARE(lists[2], (QStringList{"15", "30", "50", "75", "100"}));

    const QList<QRect> designed = {
        {2520, 240, 975, 1575},                         // OK
        {240, 240, 1695, 255},  {1440, 240, 855, 315},  // Partidas
        {240, 840, 1695, 255},  {1440, 840, 855, 315},  // Fichas
        {240, 1440, 1695, 255}, {1440, 1440, 855, 315}, // Puntos
    };
    QCOMPARE(twips, designed);
    for (qsizetype i = 0; i < designed.size(); ++i) {
        const QRect& r = designed[i];
        QCOMPARE(pixels[i], QRect(qRound(r.left() / 15.0), qRound(r.top() / 15.0),
                                  qRound(r.width() / 15.0), qRound(r.height() / 15.0)));
    }
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

void Options::acceptedTargets_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("description");

    QTest::newRow("7.5 hands") << 0 << QStringLiteral("7.5") << 8
                               << QStringLiteral("Juego a 8 partidas.");
    QTest::newRow("6.5 hands") << 0 << QStringLiteral("6.5") << 6
                               << QStringLiteral("Juego a 6 partidas.");
    QTest::newRow("  12abc tiles")
        << 1 << QStringLiteral("  12abc") << 12 << QStringLiteral("Juego a 12 fichas.");
    QTest::newRow("1 hand") << 0 << QStringLiteral("1") << 1
                            << QStringLiteral("Juego a 1 partidas.");
    QTest::newRow("3 points, where the list has 30")
        << 2 << QStringLiteral("3") << 3 << QStringLiteral("Juego a 3 puntos.");
    QTest::newRow("999 points") << 2 << QStringLiteral("999") << 999
                                << QStringLiteral("Juego a 999 puntos.");
    QTest::newRow("998.5 points") << 2 << QStringLiteral("998.5") << 998
                                  << QStringLiteral("Juego a 998 puntos.");
    QTest::newRow("0.6 tiles") << 1 << QStringLiteral("0.6") << 1
                               << QStringLiteral("Juego a 1 fichas.");
    QTest::newRow("+20 tiles") << 1 << QStringLiteral("+20") << 20
                               << QStringLiteral("Juego a 20 fichas.");
    QTest::newRow("2e2 points") << 2 << QStringLiteral("2e2") << 200
                                << QStringLiteral("Juego a 200 puntos.");
    QTest::newRow("9 then a fullwidth digit")
        << 0 << QStringLiteral("9\uFF19") << 9 << QStringLiteral("Juego a 9 partidas.");
}

void Options::acceptedTargets()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(int, target);
    QFETCH(QString, description);

    Table t(MatchSettings::kFichas, 40);
    DialogSteps steps(t.watch);
    putScores(t.form, {1, 2, 3, 4});
    QString text;
    bool hidden = false;
    steps.then([&](QWidget* d) {
        choose(dialogOf(d), kind);
        typeTarget(dialogOf(d), kind, typed);
        text = dialogOf(d)->Combo1(kind)->currentText();
        clickOk(dialogOf(d));
        hidden = !d->isVisible();
        if (d->isVisible())
            d->close();
    });
    const QStringList before = untouchedByTheDialog(t.form);

    QVERIFY(t.form.ShowOptions());

    QCOMPARE(text, typed);
    QVERIFY(hidden);
    QCOMPARE(t.form.settings.matchKind, Int16(kind + 1));
    QCOMPARE(int(t.form.settings.matchTarget), target);
    QCOMPARE(scores(t.form), kZeroScores);
    QCOMPARE(scoreCaptions(t.form), kZeroCaptions);
    QCOMPARE(t.form.Label5->Caption(), description);
    QCOMPARE(t.form.optionsDialog()->Tag, QStringLiteral("1"));
    QVERIFY(t.watch.messages.empty());
    QStringList after = untouchedByTheDialog(t.form);
    after.replaceInStrings(QRegularExpression(QStringLiteral("^Label5 (.*) \".*\"$")),
                           QStringLiteral("Label5 \\1 \".\""));
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
}

void Options::rejectedTargets_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored"); // kAnyTarget when too large for 16 bits

    QTest::newRow("1000") << 0 << QStringLiteral("1000") << 1000;
    QTest::newRow("0") << 0 << QStringLiteral("0") << 0;
    QTest::newRow("empty") << 1 << QString() << 0;
    QTest::newRow("abc") << 2 << QStringLiteral("abc") << 0;
    QTest::newRow("-5") << 0 << QStringLiteral("-5") << -5;
    QTest::newRow("40000") << 1 << QStringLiteral("40000") << kAnyTarget;
    QTest::newRow("1e3") << 2 << QStringLiteral("1e3") << 1000;
    QTest::newRow("999.5 rounds to 1000") << 2 << QStringLiteral("999.5") << 1000;
    QTest::newRow("0.5 rounds to 0") << 0 << QStringLiteral("0.5") << 0;
    QTest::newRow("32767") << 1 << QStringLiteral("32767") << 32767;
    QTest::newRow("5000 digits") << 0 << QString(5000, QLatin1Char('9')) << kAnyTarget;
    QTest::newRow("5000 letters") << 1 << QString(5000, QLatin1Char('x')) << 0;
    QTest::newRow("arabic-indic three") << 0 << QStringLiteral("\u0663") << 0;
    QTest::newRow("fullwidth seven") << 1 << QStringLiteral("\uFF17") << 0;
    QTest::newRow("enye") << 2 << QStringLiteral("\u00F1") << 0;
    QTest::newRow("blanks only") << 0 << QStringLiteral("    ") << 0;
}

void Options::rejectedTargets()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(int, stored);

    Table t(MatchSettings::kFichas, 40);
    DialogSteps steps(t.watch);
    putScores(t.form, {1, 2, 3, 4});
    t.form.Label5->setCaption(QStringLiteral("Juego a 40 fichas."));
    QString text;
    bool openAfterOk = false;
    QString tag = QStringLiteral("unset");
    int targetWhileOpen = -1;
    Int16 kindWhileOpen = -1;
    QList<Int16> scoresWhileOpen;
    QStringList captionsWhileOpen;
    steps.then([&](QWidget* d) {
        choose(dialogOf(d), kind);
        typeTarget(dialogOf(d), kind, typed);
        text = dialogOf(d)->Combo1(kind)->currentText();
        clickOk(dialogOf(d));
        openAfterOk = d->isVisible();
        tag = dialogOf(d)->Tag;
        targetWhileOpen = t.form.settings.matchTarget;
        kindWhileOpen = t.form.settings.matchKind;
        scoresWhileOpen = scores(t.form);
        captionsWhileOpen = scoreCaptions(t.form);
        d->close();
    });
    const QStringList before = untouchedByTheDialog(t.form);

    QVERIFY(!t.form.ShowOptions());

    QCOMPARE(text, typed);
    QCOMPARE(t.watch.messages.size(), std::size_t(1));
    const ModalWatch::Message& message = t.watch.messages.front();
    QCOMPARE(message.text, kRangeMessage);
    QCOMPARE(message.title, QStringLiteral("Lozetta"));
    QCOMPARE(message.icon, QMessageBox::Warning);
    QVERIFY(!message.hasCancel);
    QVERIFY(openAfterOk);
    QCOMPARE(tag, QString());
    // What the first steps of OK stored before the check stays stored.
    QCOMPARE(kindWhileOpen, Int16(kind + 1));
    QCOMPARE(scoresWhileOpen, kZeroScores);
    QCOMPARE(captionsWhileOpen, kZeroCaptions);
    if (stored != kAnyTarget)
        QCOMPARE(targetWhileOpen, stored);
    QCOMPARE(t.form.settings.matchKind, Int16(kind + 1));
    if (stored != kAnyTarget)
        QCOMPARE(int(t.form.settings.matchTarget), stored);
    QCOMPARE(scores(t.form), kZeroScores);
    QCOMPARE(scoreCaptions(t.form), kZeroCaptions);
    const QStringList after = untouchedByTheDialog(t.form);
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
    QCOMPARE(t.form.Label5->Caption(), QStringLiteral("Juego a 40 fichas."));
    QVERIFY(!t.form.optionsDialog());
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
    t.scriptDeal(tableOfTiles());
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

void Options::rejectedOkThenCloseKeepsWhatWasStored()
{
    Table t(MatchSettings::kPartidas, 7);
    DialogSteps steps(t.watch);
    putScores(t.form, {3, 1, 0, 2});
    t.form.Label5->setCaption(QStringLiteral("Juego a 7 partidas."));
    steps.then([&](QWidget* d) {
        choose(dialogOf(d), 1);
        typeTarget(dialogOf(d), 1, QStringLiteral("1000"));
        clickOk(dialogOf(d));
        d->close();
    });

    QVERIFY(!t.form.ShowOptions());

    QCOMPARE(textsOf(t.watch.messages), QStringList{kRangeMessage});
    QCOMPARE(t.form.settings.matchKind, MatchSettings::kFichas);
    QCOMPARE(t.form.settings.matchTarget, Int16(1000));
    QCOMPARE(scores(t.form), kZeroScores);
    QCOMPARE(scoreCaptions(t.form), kZeroCaptions);
    QCOMPARE(t.form.Label5->Caption(), QStringLiteral("Juego a 7 partidas."));
    QVERIFY(!t.form.optionsDialog());
}

QTEST_MAIN(Options)
#include "test_options.moc"
