// "Nuevo": a new match, asked for while one is being played or after it ended.

#include "options/form2.h"
#include "support/playerseat.h"
#include "support/tablefixture.h"

#include <QLineEdit>
#include <QTest>

namespace
{

const QString kConfirmation = QStringLiteral("Quieres empezar otra partida?");

// A hand in progress that waits on the player, so nothing moves by itself: either the opening
// with the double six chosen, or (seat 4 holding every six) the player to move after two passes.
void handInProgress(Table& t, bool opening)
{
    t.deal(opening ? doubleSixAtSeat(1) : allTilesInOrder());
    runComputerTurns(t.form);
    if (opening)
        clickUpperHalf(t.form, 3);
    for (int i = 0; i < 4; ++i) {
        t.form.settings.scores[i + 1] = Int16(i + 2);
        t.form.Label3(i)->setCaption(QString::number(i + 2));
    }
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
    void optionsNotAcceptedSetUpNothing_data();
    void optionsNotAcceptedSetUpNothing();
    void afterTheMatchEndedNoQuestionIsAsked_data();
    void afterTheMatchEndedNoQuestionIsAsked();
};

void NewGame::cancelLeavesTheHandAsItWas_data()
{
    QTest::addColumn<bool>("opening");
    QTest::addColumn<Reach>("reach");
    QTest::addColumn<bool>("escape"); // the question shut with Escape instead of Cancel
    QTest::newRow("opening, tile chosen, F2") << true << Reach::Shortcut << false;
    QTest::newRow("opening, tile chosen, Escape") << true << Reach::Shortcut << true;
    QTest::newRow("player to move, menu") << false << Reach::MenuClicks << false;
}

void NewGame::cancelLeavesTheHandAsItWas()
{
    QFETCH(bool, opening);
    QFETCH(Reach, reach);
    QFETCH(bool, escape);
    Table t(MatchSettings::kFichas, 25);
    handInProgress(t, opening);
    QVERIFY(opening ? t.form.Shape3->isVisible() : t.form.Command3->isVisible());
    const QStringList before = tableState(t.form);
    const auto sounds = t.sound.calls.size();
    if (escape)
        t.watch.escapeNext();
    else
        t.watch.queueAnswer(QMessageBox::Cancel);

    QVERIFY(useMenu(t.form, t.form.MnuNew, reach));

    QCOMPARE(textsOf(t.watch.messages), QStringList{kConfirmation});
    QCOMPARE(t.watch.messages.front().icon, QMessageBox::Question);
    QVERIFY(t.watch.messages.front().hasCancel);
    QVERIFY(t.watch.shown.isEmpty());
    QCOMPARE(tableState(t.form), before);
    QCOMPARE(t.sound.calls.size(), sounds);
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
    Table t(MatchSettings::kFichas, 25);
    handInProgress(t, false);
    // As the end of a hand leaves it between hands.
    t.form.Command1->setCaption(QStringLiteral("Siguiente mano"));
    const QStringList before = tableState(t.form);
    bool confirmedBeforeDialog = false;
    t.watch.then([&](QWidget* d) {
        confirmedBeforeDialog = t.watch.messages.size() == 1;
        auto* options = qobject_cast<Form2*>(d);
        QTest::mouseClick(options->Option1(2), Qt::LeftButton, Qt::NoModifier,
                          QPoint(6, options->Option1(2)->height() / 2));
        QTest::mouseClick(options->Command1, Qt::LeftButton);
    });
    t.watch.queueAnswer(QMessageBox::Ok);

    QVERIFY(useMenu(t.form, t.form.MnuNew, reach));

    QCOMPARE(textsOf(t.watch.messages), QStringList{kConfirmation});
    QCOMPARE(t.watch.shown, QStringList{"Form2"});
    QVERIFY(confirmedBeforeDialog);
    QCOMPARE(t.form.matchActive, kTrue);
    QCOMPARE(t.form.settings.matchKind, MatchSettings::kPuntos);
    QCOMPARE(t.form.Label5->Caption(), QStringLiteral("Juego a 50 puntos."));
    QVERIFY(t.form.Command1->isVisible());
    QCOMPARE(t.form.Command1->Caption(), QStringLiteral("Comenzar la partida"));
    QVERIFY(t.form.Command3->isHidden());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(t.form.Label3(i)->Caption(), QStringLiteral("0"));
    // Otherwise the hand on the table is left as it was: the next deal clears it.
    QStringList after = tableState(t.form);
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after[i] != before[i] ? 1 : 0;
    // The two buttons, the four scores, the match description and the match settings.
    QCOMPARE(changed, 2 + 4 + 1 + 1);
}

void NewGame::optionsNotAcceptedSetUpNothing_data()
{
    QTest::addColumn<bool>("rejectedFirst"); // OK refused a target before the dialog closed
    QTest::newRow("closed") << false;
    QTest::newRow("rejected, then closed") << true;
}

void NewGame::optionsNotAcceptedSetUpNothing()
{
    QFETCH(bool, rejectedFirst);
    Table t(MatchSettings::kFichas, 25);
    handInProgress(t, false);
    const QStringList before = tableState(t.form);
    t.watch.then([rejectedFirst](QWidget* d) {
        auto* options = qobject_cast<Form2*>(d);
        if (rejectedFirst) {
            QLineEdit* edit = options->Combo1(0)->lineEdit();
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, QStringLiteral("0"));
            QTest::mouseClick(options->Command1, Qt::LeftButton);
        }
        d->close();
    });
    t.watch.queueAnswer(QMessageBox::Ok);

    QVERIFY(useMenu(t.form, t.form.MnuNew, Reach::Shortcut));

    QCOMPARE(t.watch.shown, QStringList{"Form2"});
    QVERIFY(t.form.Command1->isHidden());
    QVERIFY(t.form.Command3->isVisible());
    QCOMPARE(t.form.matchActive, kTrue);
    if (!rejectedFirst) {
        QCOMPARE(textsOf(t.watch.messages), QStringList{kConfirmation});
        QCOMPARE(tableState(t.form), before);
        return;
    }
    // What OK stored before it refused stays; no new match is set up.
    QCOMPARE(textsOf(t.watch.messages),
             (QStringList{kConfirmation, QStringLiteral("El valor debe estar entre 1 y 999")}));
    QCOMPARE(t.form.settings.matchKind, MatchSettings::kPartidas);
    QCOMPARE(t.form.settings.matchTarget, Int16(0));
    QCOMPARE(t.form.Label3(0)->Caption(), QStringLiteral("0"));
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
    // As the end of a match leaves the table.
    t.form.matchActive = kFalse;
    t.form.Command1->hide();
    t.form.Label5->setCaption(QString());
    t.watch.then([accept](QWidget* d) {
        if (accept)
            QTest::mouseClick(qobject_cast<Form2*>(d)->Command1, Qt::LeftButton);
        else
            d->close();
    });

    QVERIFY(useMenu(t.form, t.form.MnuNew, Reach::Shortcut));

    QVERIFY(t.watch.messages.empty());
    QCOMPARE(t.watch.shown, QStringList{"Form2"});
    QCOMPARE(t.form.matchActive, accept ? kTrue : kFalse);
    QCOMPARE(t.form.Command1->isVisible(), accept);
    QCOMPARE(t.form.Label5->Caption(), accept ? QStringLiteral("Juego a 7 partidas.") : QString());
}

QTEST_MAIN(NewGame)
#include "test_newgame.moc"
