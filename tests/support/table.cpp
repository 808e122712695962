#include "support/table.h"

#include "table/pictures.h"

#include <QAbstractButton>
#include <QApplication>
#include <deque>

void addRows(const QStringList& columns, const QStringList& rows)
{
    static std::deque<QByteArray> names; // the test library keeps the pointer, not the name
    for (const QString& column : columns)
        QTest::addColumn<QString>(names.emplace_back(column.toLatin1()).constData());
    for (const QString& row : rows) {
        QTestData& data = QTest::newRow(row.section('|', 0, 0).toUtf8().constData());
        for (const QString& value : row.split('|').mid(1))
            data << value;
    }
}

QString cell(const char* column)
{
    return *static_cast<QString*>(QTest::qData(column, qMetaTypeId<QString>()));
}

void DocumentRecorder::ShellExecute(QWidget* owner, const QString& operation, const QString& file,
                                    const QString& parameters, const QString& directory,
                                    Int16 showCommand)
{
    calls << QStringList{owner ? owner->metaObject()->className() : "-",
                         operation,
                         file,
                         parameters,
                         directory,
                         QString::number(showCommand)}
                 .join('|');
}

ModalWatch::ModalWatch()
{
    connect(&timer_, &QTimer::timeout, this, &ModalWatch::poll);
    timer_.start(5);
}

void ModalWatch::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
        messages << QString("NIWCQ").at(box->icon()) + ':' + box->text() +
                        (box->button(QMessageBox::Cancel) ? " (Cancel)" : "") +
                        (box->windowTitle() == "Lozetta" ? "" : "?");
        const auto answer = answers_.isEmpty() ? QMessageBox::Ok : answers_.takeFirst();
        return answer == QMessageBox::NoButton ? QTest::keyClick(box, Qt::Key_Escape)
                                               : box->button(answer)->click();
    }
    if (!modal || !modal->isVisible() || modal == current_)
        return;
    current_ = modal;
    modal->installEventFilter(this);
    const Step step =
        steps_.isEmpty() ? [this](QWidget* d) { ++unexpected, d->close(); } : steps_.takeFirst();
    QTimer::singleShot(0, modal, [step, modal] { step(modal); });
}

bool ModalWatch::eventFilter(QObject* watched, QEvent* event)
{
    // A dialog hidden and shown again is a new showing, with a step of its own.
    if (event->type() == QEvent::Hide && watched == current_)
        current_ = nullptr;
    return false;
}

Table::Table(Int16 matchKind, Int16 matchTarget)
{
    form.centreAnchor();
    form.show();
    form.settings = {matchKind, matchTarget, {}};
    form.matchActive = kTrue;
    form.Command1->show();
    form.random.seed(1);
}

void Table::deal(const QStringList& tiles)
{
    for (const QString& tile : tiles) {
        const int high = tile.at(0).digitValue();
        const int number = high * (high + 1) / 2 + tile.at(1).digitValue() + 1;
        form.random.script({(number - 0.5) / rules::kTiles}); // the middle of the tile's slice
    }
    click(form.Command1);
}

void Table::click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

QStringList doubleSixAtSeat(int seat)
{
    QStringList tiles;
    for (int high = 0; high <= 6; ++high)
        for (int low = 0; low <= high; ++low)
            tiles << QStringLiteral("%1%2").arg(high).arg(low);
    if (seat > 0)
        tiles.swapItemsAt(rules::kTiles - 1, (seat - 1) * rules::kSlots + 2);
    return tiles;
}

QStringList playerOpensDeal()
{
    return QString("66 43 33 41 20 11 00 64 54 55 60 61 62 63 53 40 42 44 50 51 52 65 10 21 22 "
                   "30 31 32")
        .split(' ');
}

void setHand(rules::Hand& hand, const QStringList& tiles)
{
    for (int slot = 1; slot <= rules::kSlots; ++slot) {
        hand[slot][1] = Int16(tiles.at(slot - 1).at(0).digitValue());
        hand[slot][2] = Int16(tiles.at(slot - 1).at(1).digitValue());
    }
}

int pipsOf(const QString& picture)
{
    for (int pips = 0; pips <= 6; ++pips)
        if (picture == pictures::face(pips))
            return pips;
    return -1;
}

QString invariantViolation(const Form1& form)
{
    if (form.Image5.Count() <= rules::kSlots)
        return {}; // nothing dealt yet
    // Each tile once, in a hand or on the table; each seat's counter and face-down tiles agree.
    QSet<int> seen;
    int count = 0, half = -1;
    auto note = [&](int x, int y) { seen.insert(10 * qMax(x, y) + qMin(x, y)), ++count; };
    bool handOver = form.passCount > 3;
    for (int seat = 1; seat <= rules::kSeats; ++seat) {
        int held = 0, shown = 0;
        for (int slot = 1; slot <= rules::kSlots; ++slot) {
            const auto& tile = form.hands[seat][slot];
            if (tile[1] != rules::kEmptySlot)
                ++held, note(tile[1], tile[2]);
            shown += seat > 1 && form.Shape1((seat - 2) * rules::kSlots + slot - 1)->Visible();
        }
        handOver |= held == 0;
        if (form.Label2(seat - 1)->Caption() != QString::number(held) ||
            (seat > 1 && shown != held))
            return QString::asprintf("seat %d holds %d, counts %s, shows %d", seat, held,
                                     qPrintable(form.Label2(seat - 1)->Caption()), shown);
    }
    const QRect cloth(form.Label1->Left(), form.Label1->Top(), form.Label1->Width(),
                      form.Label1->Height());
    for (int i = 1; i < form.Image3.Count() + form.Image5.Count() - 1; ++i) {
        const Picture* p =
            i < form.Image3.Count() ? form.Image3(i) : form.Image5(i - form.Image3.Count() + 1);
        if (!cloth.contains(QRect(p->Left(), p->Top(), p->Width(), p->Height())))
            return QStringLiteral("a picture off the cloth at %1,%2").arg(p->Left()).arg(p->Top());
        const int pips = pipsOf(p->picture());
        if (pips >= 0 && half >= 0)
            note(half, pips), half = -1;
        else if (pips >= 0)
            half = pips;
    }
    if (count != rules::kTiles || seen.size() != rules::kTiles)
        return QStringLiteral("%1 tiles in play, %2 different").arg(count).arg(seen.size());
    if (form.Timer1->isArmed() && (form.humanTurn || handOver))
        return "Timer1 armed in the player's turn or after the hand";
    return {};
}

QStringList tableState(const Form1& form)
{
    QStringList lines;
    auto numbers = [&lines](std::initializer_list<int> values) {
        lines << QString();
        for (int value : values)
            lines.last() += QString::number(value) + ' ';
    };
    for (const QWidget* w : form.centralWidget()->findChildren<QWidget*>()) {
        const QRect r = w->geometry();
        numbers({r.x(), r.y(), r.width(), r.height(), w->isHidden()});
        if (const auto* label = qobject_cast<const QLabel*>(w))
            lines.last() += label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            lines.last() += button->text();
        if (const auto* picture = qobject_cast<const Picture*>(w))
            lines.last() += picture->picture();
    }
    for (int seat = 1; seat <= rules::kSeats; ++seat)
        for (int slot = 1; slot <= rules::kSlots; ++slot)
            numbers({form.hands[seat][slot][1], form.hands[seat][slot][2]});
    const auto& s = form.settings.scores;
    numbers({form.turnSeat, form.humanTurn, form.firstMove, form.passCount, form.matchActive,
             form.selectedHandImage, form.Timer1->Interval(), form.Timer1->isArmed(),
             form.MnuSound->isChecked()});
    numbers({form.chainEnds[1], form.endPos[1][1], form.endPos[1][2], form.endDir[1],
             form.endCorner[1], form.chainEnds[2], form.endPos[2][1], form.endPos[2][2],
             form.endDir[2], form.endCorner[2]});
    numbers({form.settings.matchKind, form.settings.matchTarget, s[1], s[2], s[3], s[4]});
    return lines;
}

namespace
{
void clickAt(const QWidget* widget, QPoint local)
{
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, local));
}
} // namespace

void clickTile(Form1& form, int slot, bool lowerHalf)
{
    Picture* half = form.Image2(2 * slot - (lowerHalf ? 1 : 2));
    clickAt(half, QPoint(half->width() / 2, lowerHalf ? half->height() - 4 : 3));
}

void clickCentre(const QWidget* widget)
{
    clickAt(widget, widget->rect().center());
}

bool playHandToItsEnd(Form1& form, std::mt19937& dice, int mostSteps)
{
    for (int step = 0; form.matchActive && !form.Command1->isVisible(); ++step) {
        if (step >= mostSteps)
            return false;
        if (form.Timer1->isArmed()) {
            form.Timer1_Timer();
            continue;
        }
        if (!form.humanTurn)
            return false;
        std::vector<std::pair<int, int>> moves; // slot, marker
        for (int slot = 1; slot <= rules::kSlots; ++slot) {
            const auto& tile = form.hands[rules::kHumanSeat][slot];
            for (int end = 1; end <= 2 && tile[1] != rules::kEmptySlot; ++end) {
                if (form.firstMove
                        ? tile[1] == 6 && tile[2] == 6
                        : tile[1] == form.chainEnds[end] || tile[2] == form.chainEnds[end])
                    moves.emplace_back(slot, end - 1);
            }
        }
        if (moves.empty() || (!form.firstMove && dice() % 10 == 0)) {
            Table::click(form.Command3);
            continue;
        }
        const auto [slot, marker] = moves[dice() % moves.size()];
        Table::click(form.Image2(2 * slot - 2 + static_cast<int>(dice() % 2)));
        Table::click(form.Image4(marker));
    }
    return true;
}

bool pressShortcut(Form1& form, const QKeySequence& keys)
{
    form.activateWindow();
    if (!QTest::qWaitFor([&form] { return QApplication::activeWindow() == &form; }))
        return false;
    QTest::keySequence(&form, keys);
    return true;
}
