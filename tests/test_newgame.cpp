// "Nuevo": a new match, asked for while one is being played.

#include "options/form2.h"
#include "playerhand.h"
#include "support/tablefixture.h"

#include <QLineEdit>
#include <QTest>
#include <memory>

namespace
{

const QString kConfirmation = QStringLiteral("Quieres empezar otra partida?");

enum class HandState { PlayerOpensWithATileChosen, PlayerToMoveAfterTwoPasses };

// A table with a hand in progress that waits on the player, so nothing moves by itself.
std::unique_ptr<Table> handInProgress(HandState state)
{
    auto t = std::make_unique<Table>(MatchSettings::kFichas, 25);
    t->form.Shape2->Move(4200, 3120);
    if (state == HandState::PlayerOpensWithATileChosen) {
        t->scriptDeal(playerOpensFirstSlot());
        t->clickStart();
        if (!QTest::qWaitFor([&] { return t->form.humanTurn != kFalse; }))
            return {};
        Table::click(t->form.Image2(0));
    } else {
        // The last seat holds every six and opens; the two others and the player have none.
        t->scriptDeal(allTilesInOrder());
        t->clickStart();
        if (!QTest::qWaitFor([&] { return t->form.humanTurn != kFalse; }))
            return {};
    }
    for (int i = 0; i < 4; ++i) {
        t->form.settings.scores[i + 1] = Int16(i + 2);
        t->form.Label3(i)->setCaption(QString::number(i + 2));
    }
    return t;
}

} // namespace

class NewGame : public QObject
{
    Q_OBJECT

private slots:
    void cancelLeavesTheHandAsItWas_data();
    void cancelLeavesTheHandAsItWas();
    void acceptedOptionsSetUpANewMatch_data();
    void acceptedOptionsSetUpANewMatch();
    void closedOptionsSetUpNothing();
    void rejectedThenClosedOptionsSetUpNothing();
    void afterTheMatchEndedNoQuestionIsAsked_data();
    void afterTheMatchEndedNoQuestionIsAsked();
};

void NewGame::cancelLeavesTheHandAsItWas_data()
{
    QTest::addColumn<HandState>("state");
    QTest::addColumn<Reach>("reach");
    QTest::addColumn<bool>("escape"); // the question shut with Escape instead of Cancel
    const auto opening = HandState::PlayerOpensWithATileChosen;
    const auto toMove = HandState::PlayerToMoveAfterTwoPasses;
    QTest::newRow("opening, tile chosen, F2") << opening << Reach::Shortcut << false;
    QTest::newRow("opening, tile chosen, menu") << opening << Reach::MenuClicks << false;
    QTest::newRow("opening, tile chosen, Escape") << opening << Reach::Shortcut << true;
    QTest::newRow("player to move, F2") << toMove << Reach::Shortcut << false;
    QTest::newRow("player to move, menu") << toMove << Reach::MenuClicks << false;
}

void NewGame::cancelLeavesTheHandAsItWas()
{
    QFETCH(HandState, state);
    QFETCH(Reach, reach);
    QFETCH(bool, escape);
    auto t = handInProgress(state);
    QVERIFY(t);
    DialogSteps steps(t->watch);
    if (state == HandState::PlayerOpensWithATileChosen)
        QVERIFY(t->form.Shape3->isVisible());
    else
        QVERIFY(t->form.Command3->isVisible());
    const QStringList before = tableState(t->form);
    const auto soundsBefore = t->sound.calls.size();

    QString escaped;
    if (escape)
        escapeNextMessage(t->watch, &escaped);
    else
        t->watch.queueAnswer(QMessageBox::Cancel);
    QVERIFY(useMenu(t->form, t->form.MnuNew, reach));

    if (escape) {
        QCOMPARE(escaped, kConfirmation);
    } else {
        QCOMPARE(t->watch.messages.size(), std::size_t(1));
        const ModalWatch::Message& asked = t->watch.messages.front();
        QCOMPARE(asked.text, kConfirmation);
        QCOMPARE(asked.title, QStringLiteral("Lozetta"));
        QCOMPARE(asked.icon, QMessageBox::Question);
        QVERIFY(asked.hasCancel);
    }
    QVERIFY(steps.shown.isEmpty());
    const QStringList after = tableState(t->form);
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
    QCOMPARE(t->sound.calls.size(), soundsBefore);
    QVERIFY(!t->form.optionsDialog());
}

void NewGame::acceptedOptionsSetUpANewMatch_data()
{
    QTest::addColumn<Reach>("reach");
    QTest::newRow("F2") << Reach::Shortcut;
    QTest::newRow("menu") << Reach::MenuClicks;
}

void NewGame::acceptedOptionsSetUpANewMatch()
{
    QFETCH(Reach, reach);
    auto t = handInProgress(HandState::PlayerToMoveAfterTwoPasses);
    QVERIFY(t);
    DialogSteps steps(t->watch);
    // As the end of a hand leaves it between hands.
    t->form.Command1->setCaption(QStringLiteral("Siguiente mano"));
    const QStringList before = tableState(t->form);
    bool confirmedBeforeDialog = false;
    steps.then([&](QWidget* d) {
        confirmedBeforeDialog = t->watch.messages.size() == 1;
        auto* options = qobject_cast<Form2*>(d);
        QTest::mouseClick(options->Option1(2), Qt::LeftButton, Qt::NoModifier,
                          QPoint(6, options->Option1(2)->height() / 2));
        QTest::mouseClick(options->Command1, Qt::LeftButton);
        if (d->isVisible())
            d->close();
    });

    t->watch.queueAnswer(QMessageBox::Ok);
    QVERIFY(useMenu(t->form, t->form.MnuNew, reach));

    QCOMPARE(textsOf(t->watch.messages), QStringList{kConfirmation});
    QCOMPARE(steps.shown, QStringList{QStringLiteral("Form2")});
    QVERIFY(confirmedBeforeDialog);
    QCOMPARE(t->form.matchActive, kTrue);
    QVERIFY(t->form.Command1->isVisible());
    QCOMPARE(t->form.Command1->Caption(), QStringLiteral("Comenzar la partida"));
    QVERIFY(t->form.Command3->isHidden());
    QCOMPARE(t->form.settings.matchKind, MatchSettings::kPuntos);
    QCOMPARE(t->form.settings.matchTarget, Int16(50));
    QCOMPARE(t->form.Label5->Caption(), QStringLiteral("Juego a 50 puntos."));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(t->form.Label3(i)->Caption(), QStringLiteral("0"));
        QCOMPARE(t->form.settings.scores[i + 1], Int16(0));
    }

    // The hand on the table is left as it was: the next deal clears it.
    QStringList expected = before;
    QStringList after = tableState(t->form);
    auto keep = [](const QString& line) {
        return !line.startsWith(QLatin1String("Command1")) &&
               !line.startsWith(QLatin1String("Command3")) &&
               !line.startsWith(QLatin1String("Label3(")) &&
               !line.startsWith(QLatin1String("Label5")) &&
               !line.startsWith(QLatin1String("match kind"));
    };
    expected.removeIf([&](const QString& l) { return !keep(l); });
    after.removeIf([&](const QString& l) { return !keep(l); });
    QVERIFY2(after == expected, qPrintable(firstDifference(expected, after)));
    QVERIFY(t->form.humanTurn);
    QVERIFY(t->form.Image4(0)->isVisible());
    QVERIFY(t->form.Image4(1)->isVisible());
}

void NewGame::closedOptionsSetUpNothing()
{
    auto t = handInProgress(HandState::PlayerToMoveAfterTwoPasses);
    QVERIFY(t);
    DialogSteps steps(t->watch);
    const QStringList before = tableState(t->form);
    steps.then([](QWidget* d) { d->close(); });

    t->watch.queueAnswer(QMessageBox::Ok);
    QVERIFY(useMenu(t->form, t->form.MnuNew, Reach::Shortcut));

    QCOMPARE(textsOf(t->watch.messages), QStringList{kConfirmation});
    QCOMPARE(steps.shown, QStringList{QStringLiteral("Form2")});
    const QStringList after = tableState(t->form);
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
    QVERIFY(t->form.Command1->isHidden());
    QVERIFY(t->form.Command3->isVisible());
}

void NewGame::rejectedThenClosedOptionsSetUpNothing()
{
    auto t = handInProgress(HandState::PlayerToMoveAfterTwoPasses);
    QVERIFY(t);
    DialogSteps steps(t->watch);
    steps.then([](QWidget* d) {
        auto* options = qobject_cast<Form2*>(d);
        QLineEdit* edit = options->Combo1(0)->lineEdit();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral("0"));
        QTest::mouseClick(options->Command1, Qt::LeftButton);
        d->close();
    });

    t->watch.queueAnswer(QMessageBox::Ok);
    QVERIFY(useMenu(t->form, t->form.MnuNew, Reach::Shortcut));

    QCOMPARE(textsOf(t->watch.messages),
             (QStringList{kConfirmation, QStringLiteral("El valor debe estar entre 1 y 999")}));
    // What OK stored before it refused stays; no new match is set up.
    QCOMPARE(t->form.settings.matchKind, MatchSettings::kPartidas);
    QCOMPARE(t->form.settings.matchTarget, Int16(0));
    QCOMPARE(t->form.Label3(0)->Caption(), QStringLiteral("0"));
    QVERIFY(t->form.Command1->isHidden());
    QVERIFY(t->form.Command3->isVisible());
    QCOMPARE(t->form.matchActive, kTrue);
}

void NewGame::afterTheMatchEndedNoQuestionIsAsked_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("options accepted") << true;
    QTest::newRow("options closed") << false;
}

void NewGame::afterTheMatchEndedNoQuestionIsAsked()
{
    QFETCH(bool, accept);
    Table t;
    DialogSteps steps(t.watch);
    // As the end of a match leaves the table.
    t.form.matchActive = kFalse;
    t.form.Command1->hide();
    t.form.Label5->setCaption(QString());
    steps.then([accept](QWidget* d) {
        if (accept)
            QTest::mouseClick(qobject_cast<Form2*>(d)->Command1, Qt::LeftButton);
        if (d->isVisible())
            d->close();
    });

    QVERIFY(useMenu(t.form, t.form.MnuNew, Reach::Shortcut));

    QVERIFY(t.watch.messages.empty());
    QCOMPARE(steps.shown, QStringList{QStringLiteral("Form2")});
    QCOMPARE(t.form.matchActive, accept ? kTrue : kFalse);
    QCOMPARE(t.form.Command1->isVisible(), accept);
    QCOMPARE(t.form.Label5->Caption(), accept ? QStringLiteral("Juego a 7 partidas.") : QString());
}

QTEST_MAIN(NewGame)
#include "test_newgame.moc"
