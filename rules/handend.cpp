#include "options/form2.h"
#include "rules/scoring.h"
#include "table/form1.h"
#include "table/messagebox.h"

void Form1::EndHand()
{
    if (passCount > 3) {
        msgbox::MsgBox(this, QStringLiteral("Han pasado todos."), msgbox::vbInformation);
    } else {
        for (Int16 i = 0; i < rules::kSeats; ++i) {
            if (Label2(i)->Caption().toShort() == 0)
                msgbox::MsgBox(this, QStringLiteral("Ganador de la mano: Jugador %1.").arg(i + 1),
                               msgbox::vbOKOnly);
        }
    }

    for (Int16 seat = 1; seat <= rules::kSeats; ++seat) {
        const Int16 tilesLeft = Label2(seat - 1)->Caption().toShort();
        settings.scores[seat] = static_cast<Int16>(
            settings.scores[seat] + rules::handCredit(settings.matchKind, tilesLeft, hands[seat]));
        Label3(seat - 1)->setCaption(QString::number(settings.scores[seat]));
    }

    const auto decision =
        rules::decideMatch(settings.matchKind, settings.matchTarget, settings.scores);
    if (decision.outcome == rules::MatchDecision::TieBreak)
        msgbox::MsgBox(this, QStringLiteral("Ronda de desempate."), msgbox::vbInformation);
    if (decision.outcome == rules::MatchDecision::Won) {
        msgbox::MsgBox(
            this, QStringLiteral("Fin de partida. Ha ganado el jugador %1").arg(decision.winner),
            msgbox::vbInformation);
        Label5->setCaption(QString());
        matchActive = kFalse;
        return;
    }

    letTableCatchUp();
    Command1->setCaption(QStringLiteral("Siguiente mano"));
    Command1->show();
    Command3->hide();
}
