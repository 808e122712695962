#include "rules/scoring.h"
#include "support/tablefixture.h"

#include <QTest>

// The end of a hand: who wins the match, and what the table credits, announces and shows. The
// credits of each kind are read off the scores the table shows.
class ScoringTest : public QObject
{
    Q_OBJECT
private slots:
    void decideMatch_data();
    void decideMatch();
    void endOfHand_data();
    void endOfHand();
};

namespace
{

constexpr int kPartidas = MatchSettings::kPartidas;
constexpr int kFichas = MatchSettings::kFichas;
constexpr int kPuntos = MatchSettings::kPuntos;

QList<int> numbers(const QString& text)
{
    QList<int> list;
    for (const QString& n : text.split(QLatin1Char(' ')))
        list << n.toInt();
    return list;
}

QString joined(const QList<int>& list)
{
    QStringList texts;
    for (int n : list)
        texts << QString::number(n);
    return texts.join(QLatin1Char(' '));
}

// A hand that holds as many tiles as a counter says, when only the count matters.
QStringList handHolding(int tiles)
{
    QStringList held;
    for (int slot = 1; slot <= rules::kSlots; ++slot)
        held << (slot <= tiles ? QStringLiteral("21") : QStringLiteral("99"));
    return held;
}

} // namespace

void ScoringTest::decideMatch_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("scores");
    QTest::addColumn<QString>("outcome");
    // The plain wins, a shared lowest and a match that goes on are decided at the end of a hand
    // below; these are the cases no hand there reaches.
    QTest::newRow("Partidas: the first seat at the target") << kPartidas << 2 << "1 2 0 3"
                                                            << "won by 2";
    QTest::newRow("Fichas: the seat past the target is the lowest")
        << kFichas << 15 << "20 21 22 23"
        << "won by 1";
    QTest::newRow("Puntos: a shared lowest of 0") << kPuntos << 21 << "0 0 21 4"
                                                  << "tie-break";
    QTest::newRow("one seat below 1000") << kFichas << 999 << "1001 999 1010 1200"
                                         << "won by 2";
    QTest::newRow("no kind chosen") << 0 << 0 << "0 0 0 0"
                                    << "tie-break";
}

void ScoringTest::decideMatch()
{
    QFETCH(int, kind);
    QFETCH(int, target);
    QFETCH(QString, scores);
    QFETCH(QString, outcome);
    rules::Scores seats{};
    const QList<int> list = numbers(scores);
    for (int seat = 1; seat <= rules::kSeats; ++seat)
        seats[std::size_t(seat)] = Int16(list.at(seat - 1));
    const rules::MatchDecision decision = rules::decideMatch(Int16(kind), Int16(target), seats);
    const QString text = decision.outcome == rules::MatchDecision::Outcome::GoesOn ? "goes on"
                         : decision.outcome == rules::MatchDecision::Outcome::TieBreak
                             ? "tie-break"
                             : QStringLiteral("won by %1").arg(decision.winner);
    QCOMPARE(text, outcome);
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
    const QString blocked = QStringLiteral("Han pasado todos.");
    const QString tie = QStringLiteral("Ronda de desempate.");
    auto hand = [](int seat) {
        return QStringLiteral("Ganador de la mano: Jugador %1.").arg(seat);
    };
    auto match = [](int seat) {
        return QStringLiteral("Fin de partida. Ha ganado el jugador %1").arg(seat);
    };
    // Puntos credits the pips held: none for 0/0, 21 for 6/6 and 5/4, 4 for 3/1 in the last slot.
    const QStringList pips{"00 99 99 99 99 99 99", "99 99 99 99 99 99 99", "99 66 99 54 99 99 99",
                           "99 99 99 99 99 99 31"};
    QTest::newRow("Partidas to 1: the first hand played out wins")
        << kPartidas << 1 << "0 0 0 0"
        << "3 5 0 2" << QStringList() << 0 << QStringList{hand(3), match(3)} << "0 0 1 0";
    QTest::newRow("Partidas to 1: a blocked first hand goes on")
        << kPartidas << 1 << "0 0 0 0"
        << "3 5 1 2" << QStringList() << 5 << QStringList{blocked} << "0 0 0 0";
    QTest::newRow("Fichas: a shared lowest at the target")
        << kFichas << 15 << "12 5 2 4"
        << "3 0 3 2" << QStringList() << 0 << QStringList{hand(2), tie} << "15 5 5 6";
    QTest::newRow("Fichas: the seat at the target is not the winner")
        << kFichas << 15 << "12 5 2 4"
        << "3 0 4 2" << QStringList() << 0 << QStringList{hand(2), match(2)} << "15 5 6 6";
    QTest::newRow("Fichas: a blocked hand credits every seat")
        << kFichas << 50 << "1 2 3 4"
        << "2 3 1 4" << QStringList() << 4 << QStringList{blocked} << "3 5 4 8";
    QTest::newRow("Puntos: the unique lowest wins, not the seat at the target")
        << kPuntos << 21 << "3 0 0 0"
        << "1 0 2 1" << pips << 0 << QStringList{hand(2), match(2)} << "3 0 21 4";
    QTest::newRow("every seat at 1000 or more: the lowest still wins")
        << kFichas << 999 << "1000 1010 1003 1020"
        << "1 2 3 0" << QStringList() << 0 << QStringList{hand(4), match(1)}
        << "1001 1012 1006 1020";
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
    Table t{Int16(kind), Int16(target)};
    Form1& form = t.form;
    const QString description = QStringLiteral("Juego a %1.").arg(target);
    form.Label5->setCaption(description);
    t.deal(doubleSixAtSeat(2));
    form.Timer1->setInterval(0);
    // The hand as it stands at its end.
    const QList<int> scores = numbers(before);
    const QList<int> held = numbers(tilesLeft);
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        form.settings.scores[std::size_t(seat)] = Int16(scores.at(seat - 1));
        form.Label3(seat - 1)->setCaption(QString::number(scores.at(seat - 1)));
        form.Label2(seat - 1)->setCaption(QString::number(held.at(seat - 1)));
        setHand(form.hands[seat], hands.isEmpty() ? handHolding(held.at(seat - 1))
                                                  : hands.at(seat - 1).split(QLatin1Char(' ')));
    }
    form.passCount = Int16(passes);
    form.Command3->show();

    form.EndHand();

    QCOMPARE(textsOf(t.watch.messages), messages);
    // The hand's winner comes plain; a block, a tie-break and the match's end inform.
    for (const auto& message : t.watch.messages) {
        QCOMPARE(message.icon, message.text.startsWith(QLatin1String("Ganador"))
                                   ? QMessageBox::NoIcon
                                   : QMessageBox::Information);
        QCOMPARE(message.title, QString("Lozetta"));
    }
    QList<int> scoresAfter;
    QStringList shownAfter;
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        scoresAfter << form.settings.scores[std::size_t(seat)];
        shownAfter << form.Label3(seat - 1)->Caption();
    }
    QCOMPARE(joined(scoresAfter), after);
    QCOMPARE(shownAfter.join(QLatin1Char(' ')), after);
    QVERIFY(!form.Timer1->isArmed());
    const bool matchOver = messages.last().startsWith(QLatin1String("Fin de partida"));
    QCOMPARE(form.matchActive, matchOver ? kFalse : kTrue);
    QCOMPARE(form.Label5->Caption(), matchOver ? QString() : description);
    QCOMPARE(form.Command1->Visible(), !matchOver);
    // Between hands the pass button goes; at the match's end it keeps whatever it showed.
    QCOMPARE(form.Command3->Visible(), matchOver);
    if (!matchOver)
        QCOMPARE(form.Command1->Caption(), QString("Siguiente mano"));
}

QTEST_MAIN(ScoringTest)
#include "test_scoring.moc"
