#include "gamesetup.h"
#include "rules/scoring.h"

#include <QTest>
#include <memory>

// The end of a hand: what is announced, what each kind of match credits, the tie-break and
// the end of the match.
class ScoringTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void handCredit_data();
    void handCredit();
    void decideMatch_data();
    void decideMatch();
    void endOfHand_data();
    void endOfHand();
    void tieBreakIsAnOrdinaryHand();
    void matchWonByThePlayersLastTile();

private:
    std::unique_ptr<Table> table;
};

namespace
{

using Outcome = rules::MatchDecision::Outcome;

void fillHand(rules::Hand& hand, const QString& tiles)
{
    const QStringList list = tiles.split(QLatin1Char(' '));
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        hand[slot][1] = Int16(list.at(slot - 1).at(0).digitValue());
        hand[slot][2] = Int16(list.at(slot - 1).at(1).digitValue());
    }
}

rules::Scores scoresOf(const QList<int>& seats)
{
    rules::Scores scores{};
    for (int seat = 1; seat <= rules::kSeats; ++seat)
        scores[std::size_t(seat)] = Int16(seats.at(seat - 1));
    return scores;
}

QString outcomeText(const rules::MatchDecision& decision)
{
    switch (decision.outcome) {
    case Outcome::GoesOn:
        return QStringLiteral("goes on");
    case Outcome::TieBreak:
        return QStringLiteral("tie-break");
    case Outcome::Won:
        return QStringLiteral("won by %1").arg(decision.winner);
    }
    return {};
}

// Hands that hold as many tiles as a counter says, when only the count matters.
QString handHolding(int tiles)
{
    QStringList held;
    for (int slot = 1; slot <= rules::kSlots; ++slot)
        held << (slot <= tiles ? QStringLiteral("21") : QStringLiteral("99"));
    return held.join(QLatin1Char(' '));
}

} // namespace

void ScoringTest::init()
{
    table = std::make_unique<Table>();
    QVERIFY(QTest::qWaitForWindowExposed(&table->form));
    game::placeAnchorAsAtStartUp(table->form);
}

void ScoringTest::cleanup()
{
    table.reset();
}

void ScoringTest::handCredit_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("tilesLeft");
    QTest::addColumn<QString>("hand");
    QTest::addColumn<int>("credit");
    const int partidas = MatchSettings::kPartidas;
    const int fichas = MatchSettings::kFichas;
    const int puntos = MatchSettings::kPuntos;
    const QString empty = QStringLiteral("99 99 99 99 99 99 99");
    QTest::newRow("Partidas, played out") << partidas << 0 << empty << 1;
    QTest::newRow("Partidas, tiles left") << partidas << 3 << "66 99 55 99 44 99 99" << 0;
    QTest::newRow("Fichas, played out") << fichas << 0 << empty << 0;
    QTest::newRow("Fichas, three left") << fichas << 3 << "66 99 55 99 44 99 99" << 3;
    QTest::newRow("Fichas, all seven") << fichas << 7 << "10 20 30 40 50 60 00" << 7;
    QTest::newRow("Puntos, played out") << puntos << 0 << empty << 0;
    QTest::newRow("Puntos, only 0/0 left") << puntos << 1 << "99 99 99 00 99 99 99" << 0;
    QTest::newRow("Puntos, 6/6 and 5/4 left") << puntos << 2 << "99 66 99 99 99 54 99" << 21;
    QTest::newRow("Puntos, empty slots skipped") << puntos << 2 << "31 99 99 99 99 99 10" << 5;
    QTest::newRow("Puntos, a full hand") << puntos << 7 << "00 10 11 20 21 22 30" << 15;
    QTest::newRow("no kind chosen, played out") << 0 << 0 << empty << 0;
    QTest::newRow("no kind chosen, tiles left") << 0 << 2 << "66 55 99 99 99 99 99" << 0;
}

void ScoringTest::handCredit()
{
    QFETCH(int, kind);
    QFETCH(int, tilesLeft);
    QFETCH(QString, hand);
    QFETCH(int, credit);
    rules::Hand tiles{};
    fillHand(tiles, hand);
    QCOMPARE(int(rules::handCredit(Int16(kind), Int16(tilesLeft), tiles)), credit);
}

void ScoringTest::decideMatch_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("target");
    QTest::addColumn<QList<int>>("scores");
    QTest::addColumn<QString>("outcome");
    const int partidas = MatchSettings::kPartidas;
    const int fichas = MatchSettings::kFichas;
    const int puntos = MatchSettings::kPuntos;
    QTest::newRow("nobody at the target") << fichas << 15 << QList<int>{14, 3, 9, 0} << "goes on";
    QTest::newRow("Partidas: the seat at the target")
        << partidas << 1 << QList<int>{0, 0, 1, 0} << "won by 3";
    QTest::newRow("Partidas: the first seat at the target")
        << partidas << 2 << QList<int>{1, 2, 0, 3} << "won by 2";
    QTest::newRow("Partidas: one short") << partidas << 3 << QList<int>{2, 2, 1, 2} << "goes on";
    QTest::newRow("Fichas: the lowest wins, not the seat at the target")
        << fichas << 15 << QList<int>{15, 2, 9, 4} << "won by 2";
    QTest::newRow("Fichas: a shared lowest")
        << fichas << 15 << QList<int>{16, 4, 9, 4} << "tie-break";
    QTest::newRow("Fichas: the seat past the target is the lowest")
        << fichas << 15 << QList<int>{20, 21, 22, 23} << "won by 1";
    QTest::newRow("Puntos: the lowest wins")
        << puntos << 60 << QList<int>{30, 50, 12, 61} << "won by 3";
    QTest::newRow("Puntos: a shared lowest of 0")
        << puntos << 21 << QList<int>{0, 0, 21, 4} << "tie-break";
    QTest::newRow("every seat at 1000 or more: the lowest wins")
        << fichas << 999 << QList<int>{1003, 1002, 1200, 1500} << "won by 2";
    QTest::newRow("every seat at 1000 or more: a shared lowest")
        << puntos << 999 << QList<int>{1005, 1002, 1002, 1003} << "tie-break";
    QTest::newRow("every seat at exactly 1000")
        << fichas << 999 << QList<int>{1000, 1000, 1000, 1000} << "tie-break";
    QTest::newRow("one seat below 1000")
        << fichas << 999 << QList<int>{1001, 999, 1010, 1200} << "won by 2";
    QTest::newRow("no kind chosen") << 0 << 0 << QList<int>{0, 0, 0, 0} << "tie-break";
}

void ScoringTest::decideMatch()
{
    QFETCH(int, kind);
    QFETCH(int, target);
    QFETCH(QList<int>, scores);
    QFETCH(QString, outcome);
    QCOMPARE(outcomeText(rules::decideMatch(Int16(kind), Int16(target), scoresOf(scores))),
             outcome);
}

void ScoringTest::endOfHand_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("before");    // scores, seat 1 first
    QTest::addColumn<QString>("tilesLeft"); // counters
    QTest::addColumn<QStringList>("hands"); // when the pips matter
    QTest::addColumn<int>("passes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("matchOver");
    const int partidas = MatchSettings::kPartidas;
    const int fichas = MatchSettings::kFichas;
    const int puntos = MatchSettings::kPuntos;
    const QString blocked = QStringLiteral("Han pasado todos.");
    auto hand = [](int seat) {
        return QStringLiteral("Ganador de la mano: Jugador %1.").arg(seat);
    };
    auto match = [](int seat) {
        return QStringLiteral("Fin de partida. Ha ganado el jugador %1").arg(seat);
    };
    const QString tie = QStringLiteral("Ronda de desempate.");
    const QStringList puntosHands{"00 99 99 99 99 99 99", "99 99 99 99 99 99 99",
                                  "99 66 99 54 99 99 99", "99 99 99 99 99 99 31"};
    QTest::newRow("Partidas to 1: the first hand played out wins")
        << partidas << 1 << "0 0 0 0"
        << "3 5 0 2" << QStringList() << 0 << QStringList{hand(3), match(3)} << "0 0 1 0" << true;
    QTest::newRow("Partidas to 1: a blocked first hand goes on")
        << partidas << 1 << "0 0 0 0"
        << "3 5 1 2" << QStringList() << 5 << QStringList{blocked} << "0 0 0 0" << false;
    QTest::newRow("Partidas to 3: the player's second hand")
        << partidas << 3 << "1 0 1 0"
        << "0 5 1 2" << QStringList() << 0 << QStringList{hand(1)} << "2 0 1 0" << false;
    QTest::newRow("Fichas: a shared lowest at the target")
        << fichas << 15 << "12 5 2 4"
        << "3 0 3 2" << QStringList() << 0 << QStringList{hand(2), tie} << "15 5 5 6" << false;
    QTest::newRow("Fichas: the seat at the target is not the winner")
        << fichas << 15 << "12 5 2 4"
        << "3 0 4 2" << QStringList() << 0 << QStringList{hand(2), match(2)} << "15 5 6 6" << true;
    QTest::newRow("Fichas: a blocked hand credits every seat")
        << fichas << 50 << "1 2 3 4"
        << "2 3 1 4" << QStringList() << 4 << QStringList{blocked} << "3 5 4 8" << false;
    QTest::newRow("Puntos: 0/0 adds nothing, 6/6 and 5/4 add 21")
        << puntos << 100 << "0 0 0 0"
        << "1 0 2 1" << puntosHands << 0 << QStringList{hand(2)} << "0 0 21 4" << false;
    QTest::newRow("Puntos: the unique lowest wins, not the seat at the target")
        << puntos << 21 << "3 0 0 0"
        << "1 0 2 1" << puntosHands << 0 << QStringList{hand(2), match(2)} << "3 0 21 4" << true;
    QTest::newRow("Puntos: a shared lowest of 0 at the target")
        << puntos << 21 << "0 0 0 0"
        << "1 0 2 1" << puntosHands << 0 << QStringList{hand(2), tie} << "0 0 21 4" << false;
    QTest::newRow("every seat at 1000 or more: the lowest still wins")
        << fichas << 999 << "1000 1010 1003 1020"
        << "1 2 3 0" << QStringList() << 0 << QStringList{hand(4), match(1)}
        << "1001 1012 1006 1020" << true;
}

void ScoringTest::endOfHand()
{
    QFETCH(int, kind);
    QFETCH(int, target);
    QFETCH(QString, before);
    QFETCH(QString, tilesLeft);
    QFETCH(QStringList, hands);
    QFETCH(int, passes);
    QFETCH(QStringList, messages);
    QFETCH(QString, after);
    QFETCH(bool, matchOver);
    Form1& form = table->form;
    form.settings.matchKind = Int16(kind);
    form.settings.matchTarget = Int16(target);
    form.Label5->setCaption(QStringLiteral("Juego a %1.").arg(target));
    table->scriptDeal(game::doubleSixAtSeat(2));
    table->clickStart();
    form.Timer1->setInterval(0);

    // The hand as it stands at its end.
    const QStringList scores = before.split(QLatin1Char(' '));
    const QStringList counters = tilesLeft.split(QLatin1Char(' '));
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        form.settings.scores[std::size_t(seat)] = Int16(scores.at(seat - 1).toInt());
        form.Label3(seat - 1)->setCaption(scores.at(seat - 1));
        form.Label2(seat - 1)->setCaption(counters.at(seat - 1));
        const QString hand =
            hands.isEmpty() ? handHolding(counters.at(seat - 1).toInt()) : hands.at(seat - 1);
        game::setHand(form, seat, hand.split(QLatin1Char(' ')));
    }
    form.passCount = Int16(passes);
    form.Command3->show();

    form.EndHand();

    QCOMPARE(textsOf(table->watch.messages), messages);
    // The hand's winner comes plain; a block, a tie-break and the match's end inform.
    for (const auto& message : table->watch.messages) {
        QCOMPARE(message.icon, message.text.startsWith(QLatin1String("Ganador"))
                                   ? QMessageBox::NoIcon
                                   : QMessageBox::Information);
        QCOMPARE(message.title, QString("Lozetta"));
        QVERIFY(!message.hasCancel);
    }
    QStringList scoresAfter;
    QStringList shownAfter;
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        scoresAfter << QString::number(form.settings.scores[std::size_t(seat)]);
        shownAfter << form.Label3(seat - 1)->Caption();
    }
    QCOMPARE(scoresAfter.join(QLatin1Char(' ')), after);
    QCOMPARE(shownAfter.join(QLatin1Char(' ')), after);
    QVERIFY(!form.Timer1->isArmed());
    if (matchOver) {
        QCOMPARE(form.matchActive, kFalse);
        QCOMPARE(form.Label5->Caption(), QString());
        QVERIFY(!form.Command1->Visible());
        // The pass button keeps whatever it showed.
        QVERIFY(form.Command3->Visible());
    } else {
        QCOMPARE(form.matchActive, kTrue);
        QCOMPARE(form.Label5->Caption(), QStringLiteral("Juego a %1.").arg(target));
        QVERIFY(form.Command1->Visible());
        QCOMPARE(form.Command1->Caption(), QString("Siguiente mano"));
        QVERIFY(!form.Command3->Visible());
    }
}

void ScoringTest::tieBreakIsAnOrdinaryHand()
{
    Form1& form = table->form;
    form.settings.matchKind = MatchSettings::kFichas;
    form.settings.matchTarget = 15;
    form.settings.scores = {0, 2, 1, 8, 2};
    // Both hands block at once: the player keeps six tiles, every computer seat seven.
    auto playBlockedHand = [&] {
        table->scriptDeal(game::allSixesToThePlayerDeal());
        table->clickStart();
        game::clickUpperHalf(form, 1);
        game::clickMarker(form, 0);
        game::runComputerTurns(form);
        QVERIFY(form.humanTurn);
        Table::click(form.Command3);
    };
    auto shownScores = [&] {
        QList<int> shown;
        for (int seat = 1; seat <= rules::kSeats; ++seat)
            shown << form.Label3(seat - 1)->Caption().toInt();
        return shown;
    };

    playBlockedHand();
    // Seat 3 reached the target, but seats 1 and 2 share the lowest score.
    QCOMPARE(textsOf(table->watch.messages),
             (QStringList{"Han pasado todos.", "Ronda de desempate."}));
    QCOMPARE(shownScores(), (QList<int>{8, 8, 15, 9}));
    QVERIFY(form.Command1->Visible());
    QCOMPARE(form.Command1->Caption(), QString("Siguiente mano"));
    QCOMPARE(form.matchActive, kTrue);

    table->watch.messages.clear();
    playBlockedHand();
    QCOMPARE(textsOf(table->watch.messages),
             (QStringList{"Han pasado todos.", "Fin de partida. Ha ganado el jugador 1"}));
    QCOMPARE(shownScores(), (QList<int>{14, 15, 22, 16}));
    QCOMPARE(form.matchActive, kFalse);
    QVERIFY(!form.Command1->Visible());
}

void ScoringTest::matchWonByThePlayersLastTile()
{
    Form1& form = table->form;
    form.settings.matchTarget = 1;
    form.Label5->setCaption(QStringLiteral("Juego a 1 partida."));
    table->scriptDeal(game::playerOpensDeal());
    table->clickStart();
    game::clickUpperHalf(form, 1);
    game::clickMarker(form, 0);
    game::runComputerTurns(form);
    QVERIFY(form.humanTurn);
    QVERIFY(form.Command3->Visible());
    game::setHand(form, 1, {"99", "43", "99", "99", "99", "99", "99"});
    form.Label2(0)->setCaption(QStringLiteral("1"));

    game::clickUpperHalf(form, 2);
    game::clickMarker(form, 1);

    QCOMPARE(
        textsOf(table->watch.messages),
        (QStringList{"Ganador de la mano: Jugador 1.", "Fin de partida. Ha ganado el jugador 1"}));
    QCOMPARE(table->watch.messages.back().icon, QMessageBox::Information);
    QCOMPARE(form.matchActive, kFalse);
    QCOMPARE(form.Label5->Caption(), QString());
    QCOMPARE(form.Label3(0)->Caption(), QString("1"));
    QVERIFY(!form.Command1->Visible());
    QVERIFY(!form.Timer1->isArmed());
    // The pass button still shows, and does nothing.
    QVERIFY(form.Command3->Visible());
    Table::click(form.Command3);
    QCOMPARE(table->watch.messages.size(), std::size_t(2));
    QCOMPARE(form.turnSeat, Int16(1));
    QCOMPARE(form.passCount, Int16(0));
    QVERIFY(!form.Timer1->isArmed());
}

QTEST_MAIN(ScoringTest)
#include "test_scoring.moc"
