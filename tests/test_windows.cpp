#include "about/formbrimvale.h"
#include "options/form2.h"
#include "support/table.h"
#include "table/pictures.h"

#include <QLineEdit>
#include <QPainter>
#include <QSvgRenderer>

// The windows around the game: start-up with the about box and the options dialog, the options
// from the menu, and the pictures at 200 %.
class WindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void startUp_data();
    void startUp();
    void crispAt200();
};

namespace
{

const QPoint kBackground(8, 200); // on the about box, clear of its labels and pictures
const QString kAsItOpens = "(x) 7 ( ) off 15 ( ) off 50 ";

// Which kind is chosen, which boxes can be used, and what they hold.
QString look(QWidget* dialog)
{
    const auto* options = qobject_cast<Form2*>(dialog);
    QString text;
    for (int i = 0; i < 3; ++i)
        text += QStringLiteral("%1%2 %3 ")
                    .arg(options->Option1(i)->isChecked() ? "(x)" : "( )")
                    .arg(options->Combo1(i)->isEnabled() ? "" : " off")
                    .arg(options->Combo1(i)->currentText());
    return text;
}

// Chooses a kind with a click past its caption (the whole row is the button) and types over
// what its box holds.
void choose(QWidget* dialog, int kind, const QString& typed)
{
    OptionButton* option = qobject_cast<Form2*>(dialog)->Option1(kind);
    QLineEdit* box = qobject_cast<Form2*>(dialog)->Combo1(kind)->lineEdit();
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->width() - 2, 5));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, typed);
}

} // namespace

void WindowsTest::startUp_data()
{
    // How the splash is closed (a part clicked with a button, or a key); in the options dialog,
    // the kind chosen (-1: none), the text typed and what is clicked or pressed; the refusal if
    // any, and the match set up.
    const QString range = "W:El valor debe estar entre 1 y 999", first = "1 7 Juego a 7 partidas.";
    addRows({"part", "button", "kind", "typed", "then", "refusal", "match"},
            {"background|background|1|2||ok||3 50 Juego a 50 puntos.",
             "title|title|1|0|7.5|ok||1 8 Juego a 8 partidas.",
             "notice|notice|1|1|  12abc|ok||2 12 Juego a 12 fichas.",
             "hint|hint|1|1|1|ok||2 1 Juego a 1 fichas.",
             "logo|logo|1|2|999|ok||3 999 Juego a 999 puntos.",
             "icon|icon|1|0|1000|ok close|" + range + "|" + first,
             "logo, right button|logo|2|1|0|ok escape|" + range + "|" + first,
             "icon, middle button|icon|4|1|40000|ok close|" + range + "|" + first,
             "Escape||16777216|-1||ok escape|W:Selecciona el tipo de juego.|" + first,
             "Enter||16777220|1|22|close||" + first, "a letter||81|2|75|escape||" + first,
             "F1||16777264|0|14.5|ok||1 14 Juego a 14 partidas."});
}

void WindowsTest::startUp()
{
    const int kind = number("kind");
    const bool accepted = cell("then") == "ok" && cell("refusal").isEmpty();
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    form.setWindowTitle("Mesa de prueba");
    form.Shape2->Move(0, 0); // wherever the design put the anchor, start-up centres it
    QStringList during, looks;
    QString splash, underlined;
    auto note = [&](QWidget* d) {
        during << QString::asprintf(
            "%s %d %d,%d %d %d %d %s", d->metaObject()->className(), form.isVisible(),
            form.Shape2->Left(), form.Shape2->Top(), form.matchActive, form.Command1->isVisible(),
            form.Label7(0)->isVisible(), qPrintable(form.Label5->Caption()));
    };
    watch.then([&](QWidget* d) {
        note(d);
        auto* box = qobject_cast<FormBrimvale*>(d);
        // Active and modal over the table, titled and iconed after it, a hand over the addresses.
        splash = QString::asprintf("%d %d %s %d %d%d |", QTest::qWaitForWindowActive(d),
                                   d->isModal() && d->parentWidget() == &form,
                                   qPrintable(box->lblTitulo->Caption()),
                                   box->imgIcono->picture() == pictures::kIcon,
                                   box->lblURL->cursor().shape() == Qt::BitmapCursor,
                                   box->lblMail->cursor().shape() == Qt::BitmapCursor);
        // Neither the addresses nor a modifier alone close it.
        for (Label* address : {box->lblURL, box->lblURL, box->lblMail})
            QTest::mouseClick(address, Qt::LeftButton);
        for (Qt::Key modifier : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
            QTest::keyClick(d, modifier);
        // An address stays underlined until the pointer reaches the other or the bare background.
        for (QWidget* over : QList<QWidget*>{box->lblURL, box->lblTexto, box, box->lblMail,
                                             box->imgLogo, box->lblURL, box->lblMail, box}) {
            QTest::mouseMove(d->windowHandle(),
                             over == box ? kBackground : over->mapTo(box, over->rect().center()));
            QCoreApplication::processEvents();
            underlined += QString(box->lblURL->font().underline() ? "web" : "") +
                          (box->lblMail->font().underline() ? "mail" : "") + ' ';
        }
        splash += QStringLiteral(" %1").arg(d->isVisible());
        const QMap<QString, QWidget*> parts{{"title", box->lblTitulo}, {"notice", box->lblTexto},
                                            {"hint", box->lblClick},   {"logo", box->imgLogo},
                                            {"icon", box->imgIcono},   {"background", box}};
        if (cell("part").isEmpty())
            QTest::keyClick(d, Qt::Key(number("button")));
        else
            QTest::mouseClick(parts[cell("part")], Qt::MouseButton(number("button")), {},
                              cell("part") == "background" ? kBackground : QPoint(5, 5));
        splash += QStringLiteral(" %1").arg(d->isVisible());
        d->close();
    });
    watch.then([&](QWidget* d) {
        note(d);
        looks << look(d);
        auto* options = qobject_cast<Form2*>(d);
        for (int i = 0; kind < 0 && i < 3; ++i) { // the program can clear them, not the player
            options->Option1(i)->setAutoExclusive(false);
            options->Option1(i)->setChecked(false);
        }
        if (kind >= 0)
            choose(d, kind, cell("typed"));
        looks << look(d);
        for (const QString& then : cell("then").split(' ')) {
            note(d); // a refusal changes nothing: the dialog stays up over the same table
            if (then == "ok")
                Table::click(options->Command1);
            else if (then == "escape")
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
        }
    });
    form.Load();
    QTRY_VERIFY(form.Label7(3)->isVisible());

    // The splash before the window, the options once it is up, then the button and the names.
    QStringList expected{"FormBrimvale 0 4200,3120 0 0 0 .", "Form2 1 4200,3120 0 0 0 ."};
    QCOMPARE(during, expected + QStringList(cell("then").count(' ') + 1, expected[1]));
    QCOMPARE(splash, QString("1 1 Mesa de prueba 1 11 | 1 0"));
    QCOMPARE(underlined, QString("web web  mail mail web mail  "));
    const QString call = "FormBrimvale|Open|%1||" + QCoreApplication::applicationDirPath() + "|1";
    QCOMPARE(documents.calls, (QStringList{call.arg("http://lozetta.example.org"),
                                           call.arg("http://lozetta.example.org"),
                                           call.arg("mailto:lozetta@example.org")}));
    QCOMPARE(watch.messages.join(';'), cell("refusal"));
    QVERIFY(form.Command1->isVisible() && form.Command3->isHidden() && form.MnuSound->isChecked());
    for (int i = 0; i < 4; ++i)
        QVERIFY(form.Label7(i)->isVisible() && form.Label3(i)->isHidden());
    QCOMPARE(QString::number(form.matchActive) + form.Command1->Caption(), "-1Comenzar la partida");
    // Unless a choice was accepted, a playable match is set up all the same: the first choice.
    QCOMPARE(QString::asprintf("%d %d %s", form.settings.matchKind, form.settings.matchTarget,
                               qPrintable(form.Label5->Caption())),
             cell("match"));
    QVERIFY(sound.files.isEmpty());
    rules::Random unseeded; // each run deals differently: seeded from the clock
    QVERIFY(form.random.Rnd() != unseeded.Rnd());

    // From the menu the dialog shows the choice accepted; once closed, it is made anew, and the
    // table stays as it was.
    const QStringList before = tableState(form);
    for (int i = 0; i < 2; ++i) {
        watch.then([&](QWidget* d) {
            looks << look(d);
            choose(d, 0, "3");
            d->close();
        });
        form.MnuNew->trigger();
    }
    QCOMPARE(looks,
             (QStringList{kAsItOpens, looks[1], accepted ? looks[1] : kAsItOpens, kAsItOpens}));
    QCOMPARE(tableState(form), before);
}

void WindowsTest::crispAt200()
{
    if (qApp->devicePixelRatio() < 2)
        QSKIP("run with QT_SCALE_FACTOR=2");
    Table t;
    t.deal(doubleSixAtSeat(1));
    // Every picture is its SVG drawn at the physical size, not a small bitmap blown up.
    auto same = [](const QImage& shown, const QString& source, const QColor& background) {
        QImage drawn(shown.size(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(background);
        QPainter painter(&drawn);
        QSvgRenderer(source).render(&painter);
        painter.end();
        return shown.convertToFormat(drawn.format()) == drawn;
    };
    const QImage table = t.form.grab().toImage();
    for (const Picture* marker : {t.form.Image4(0), t.form.Image4(1)}) {
        const QRect r(marker->mapTo(&t.form, QPoint()) * 2, marker->size() * 2);
        QVERIFY(same(table.copy(r), marker->picture(), QColor(0, 128, 0)));
    }
    const QPixmap icon = t.form.windowIcon().pixmap(QSize(32, 32), 2.0);
    QVERIFY(icon.width() == 64 && same(icon.toImage(), pictures::kIcon, Qt::transparent));
    FormBrimvale box(&t.form, t.documents);
    box.show();
    const QRect logo(box.imgLogo->pos() * 2, box.imgLogo->size() * 2);
    QVERIFY(same(box.grab().toImage().copy(logo), pictures::kLogo, Qt::black));
}

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"
