#include "about/formbrimvale.h"
#include "options/form2.h"
#include "support/table.h"
#include "table/pictures.h"

#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

// The windows around the game: start-up, the options dialog, the about box, the menus with the
// tile sound and the instructions, and the pictures at 200 %.
class WindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void startUp_data();
    void startUp();
    void optionsTakeTheTarget_data();
    void optionsTakeTheTarget();
    void optionsRemembersOnlyAnAcceptedChoice_data();
    void optionsRemembersOnlyAnAcceptedChoice();
    void aboutBoxClosesOnAnyClickOrKey_data();
    void aboutBoxClosesOnAnyClickOrKey();
    void aboutBoxOpensItsAddresses();
    void soundAndInstructions();
    void crispAt200();
};

namespace
{

const QPoint kBackground(8, 200); // on the about box, clear of its labels and pictures

Form2* dialogOf(QWidget* dialog)
{
    return qobject_cast<Form2*>(dialog);
}

// Which kind is chosen, which boxes can be used, and what they hold.
QString look(QWidget* dialog)
{
    QString text;
    for (int i = 0; i < 3; ++i)
        text += QStringLiteral("%1%2 %3 ")
                    .arg(dialogOf(dialog)->Option1(i)->isChecked() ? "(x)" : "( )")
                    .arg(dialogOf(dialog)->Combo1(i)->isEnabled() ? "" : " off")
                    .arg(dialogOf(dialog)->Combo1(i)->currentText());
    return text;
}

// Chooses a kind with a click past its caption (the whole row is the button) and types over
// its box key by key.
void choose(QWidget* dialog, int kind, const QString& typed)
{
    OptionButton* option = dialogOf(dialog)->Option1(kind);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->width() - 2, 5));
    QLineEdit* edit = dialogOf(dialog)->Combo1(kind)->lineEdit();
    if (typed.isEmpty())
        return;
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), {});
}

QString scores(const Form1& form)
{
    QString shown;
    for (int i = 0; i < 4; ++i)
        shown += form.Label3(i)->Caption() + '=' + QString::number(form.settings.scores[i + 1]);
    return shown;
}

} // namespace

void WindowsTest::startUp_data()
{
    addRows({"end"}, {"options accepted|ok", "options closed|close", "options escaped|escape"});
}

void WindowsTest::startUp()
{
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    form.Shape2->Move(0, 0); // wherever the design put the anchor, start-up centres it
    QStringList during;
    auto note = [&](QWidget* d) {
        during << QStringLiteral("%1 %2 %3,%4 %5 %6 %7")
                      .arg(QString::fromLatin1(d->metaObject()->className()))
                      .arg(form.isVisible())
                      .arg(form.Shape2->Left())
                      .arg(form.Shape2->Top())
                      .arg(form.matchActive)
                      .arg(form.Command1->isVisible())
                      .arg(form.Label7(0)->isVisible());
    };
    watch.then([&](QWidget* d) {
        note(d);
        QTest::mouseClick(d, Qt::LeftButton, {}, kBackground);
    });
    watch.then([&](QWidget* d) {
        note(d);
        if (cell("end") == "ok")
            Table::click(dialogOf(d)->Command1);
        else if (cell("end") == "escape")
            QTest::keyClick(d, Qt::Key_Escape);
        else
            d->close();
    });
    form.Load();
    QTRY_VERIFY(form.Label7(3)->isVisible());

    // The splash before the window, the options once it is up, then the button and the names.
    QCOMPARE(during, (QStringList{"FormBrimvale 0 4200,3120 0 0 0", "Form2 1 4200,3120 0 0 0"}));
    QVERIFY(form.Command1->isVisible() && form.Command3->isHidden() && form.MnuSound->isChecked());
    for (int i = 0; i < 4; ++i)
        QVERIFY(form.Label7(i)->isVisible() && form.Label3(i)->isHidden());
    QCOMPARE(QString::number(form.matchActive) + form.Command1->Caption(), "-1Comenzar la partida");
    // Whichever way the dialog went, a playable match is set up: its first choice.
    QCOMPARE(form.Label5->Caption(), QString("Juego a 7 partidas."));
    QCOMPARE(form.optionsDialog() != nullptr, cell("end") == "ok");
    QVERIFY(watch.messages.empty() && sound.files.isEmpty() && documents.calls.isEmpty());
    // A fixed table of 592 by 480 below its two menus, without a maximize button.
    QCOMPARE(form.centralWidget()->size(), QSize(592, 480));
    QCOMPARE(form.menuBar()->actions().size(), 2);
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    form.resize(form.size() + QSize(200, 200));
    QCOMPARE(form.centralWidget()->size(), QSize(592, 480));
    rules::Random unseeded; // each run deals differently: seeded from the clock
    QVERIFY(form.random.Rnd() != unseeded.Rnd());

    // Before any deal, clicks on the table do nothing.
    const QStringList before = tableState(form);
    for (QPoint twips : {QPoint(4440, 3600), QPoint(600, 3000), QPoint(1400, 600)})
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {},
                          form.centralWidget()->mapTo(&form, twips / 15));
    for (int i = 0; i < form.Image2.Count(); ++i)
        QTest::mouseClick(form.Image2(i), Qt::LeftButton);
    QCOMPARE(tableState(form), before);
    QVERIFY(watch.messages.empty());
}

void WindowsTest::optionsTakeTheTarget_data()
{
    // The kind chosen (-1: none) and the text typed; the target kept and the description shown,
    // or the refusal.
    const QString range = "El valor debe estar entre 1 y 999";
    addRows({"kind", "typed", "target", "shown"},
            {"Partidas as it opens|0||7|Juego a 7 partidas.",
             "Puntos as it opens|2||50|Juego a 50 puntos.", "7.5 hands|0|7.5|8|Juego a 8 partidas.",
             "  12abc tiles|1|  12abc|12|Juego a 12 fichas.", "1 is one|1|1|1|Juego a 1 fichas.",
             "999 points|2|999|999|Juego a 999 puntos.", "1000|0|1000|1000|" + range,
             "0|1|0|0|" + range, "40000|1|40000|0|" + range,
             "no kind chosen|-1||40|Selecciona el tipo de juego."});
}

void WindowsTest::optionsTakeTheTarget()
{
    const int kind = number("kind");
    const bool refused = !cell("shown").startsWith("Juego");
    Table t(MatchSettings::kFichas, 40);
    t.deal(doubleSixAtSeat(1)); // a hand on the table, which the dialog leaves alone
    for (int i = 0; i < 4; ++i) {
        t.form.settings.scores[i + 1] = Int16(i + 1);
        t.form.Label3(i)->setCaption(QString::number(i + 1));
    }
    t.form.Label5->setCaption("Juego a 40 fichas.");
    const QStringList before = tableState(t.form);
    QString first, afterOk;
    t.watch.then([&](QWidget* d) {
        first = look(d);
        for (int i = 0; kind < 0 && i < 3; ++i) { // the program can clear them, not the player
            dialogOf(d)->Option1(i)->setAutoExclusive(false);
            dialogOf(d)->Option1(i)->setChecked(false);
        }
        if (kind >= 0)
            choose(d, kind, cell("typed"));
        Table::click(dialogOf(d)->Command1);
        afterOk = QStringLiteral("%1 %2").arg(d->isVisible()).arg(scores(t.form));
        if (d->isVisible())
            d->close();
    });

    QCOMPARE(t.form.ShowOptions(), !refused);

    QCOMPARE(first, QString("(x) 7 ( ) off 15 ( ) off 50 "));
    // What OK stored before it refused stays stored.
    const QString kept = kind < 0 ? "1=12=23=34=4" : "0=00=00=00=0";
    QCOMPARE(afterOk, QStringLiteral("%1 %2").arg(refused).arg(kept));
    QCOMPARE(QString("%1 %2").arg(t.form.settings.matchKind).arg(t.form.settings.matchTarget),
             QString("%1 %2").arg(kind + 1).arg(cell("target")));
    QCOMPARE(t.form.Label5->Caption(), refused ? "Juego a 40 fichas." : cell("shown"));
    QCOMPARE(t.watch.texts(), refused ? QStringList{cell("shown")} : QStringList{});
    if (refused)
        QCOMPARE(t.watch.messages.front().icon, QMessageBox::Warning);
    // Nothing else changes: the hand on the table goes on.
    const QStringList after = tableState(t.form);
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after[i] != before[i];
    QCOMPARE(changed, kind < 0 ? 1 : refused ? 5 : 6);
}

void WindowsTest::optionsRemembersOnlyAnAcceptedChoice_data()
{
    const QString defaults = "(x) 7 ( ) off 15 ( ) off 50 ";
    addRows({"okFirst", "okThen", "reopened"},
            {"changed and accepted|0|1|( ) off 7 (x) 22 ( ) off 50 ",
             "changed and closed|0|0|" + defaults,
             "accepted, then changed and closed|1|0|" + defaults});
}

void WindowsTest::optionsRemembersOnlyAnAcceptedChoice()
{
    const bool okFirst = number("okFirst"), okThen = number("okThen");
    Table t;
    if (okFirst)
        t.watch.then([](QWidget* d) { Table::click(dialogOf(d)->Command1); });
    t.watch.then([&](QWidget* d) {
        choose(d, 1, "22");
        okThen ? Table::click(dialogOf(d)->Command1) : (void)d->close();
    });
    QString seen;
    t.watch.then([&](QWidget* d) {
        seen = look(d);
        d->close();
    });
    QVERIFY(!okFirst || t.form.ShowOptions());
    QCOMPARE(t.form.ShowOptions(), okThen);
    QCOMPARE(t.form.optionsDialog() != nullptr, okThen);
    QVERIFY(!t.form.ShowOptions());
    QCOMPARE(seen, cell("reopened"));
    QCOMPARE(t.watch.unexpected, 0);
}

void WindowsTest::aboutBoxClosesOnAnyClickOrKey_data()
{
    // A part clicked with a button, or a key pressed.
    addRows({"part", "key"},
            {"background|background|1", "title|title|1", "notice|notice|1", "hint|hint|1",
             "logo|logo|1", "icon|icon|1", "logo, right button|logo|2",
             "icon, middle button|icon|4", "Escape||16777216", "Enter||16777220", "a letter||81",
             "F1||16777264"});
}

void WindowsTest::aboutBoxClosesOnAnyClickOrKey()
{
    Table t;
    t.form.setWindowTitle("Mesa de prueba");
    QString seen;
    t.watch.then([&](QWidget* d) {
        auto* box = qobject_cast<FormBrimvale*>(d);
        // Active and modal over the table, titled and iconed after it; modifiers alone stay.
        seen = QStringLiteral("%1 %2 %3 %4")
                   .arg(QTest::qWaitForWindowActive(d))
                   .arg(d->isModal() && d->parentWidget() == &t.form)
                   .arg(box->lblTitulo->Caption())
                   .arg(box->imgIcono->picture() == pictures::kIcon);
        for (Qt::Key modifier : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
            QTest::keyClick(d, modifier);
        const QMap<QString, QWidget*> parts{{"title", box->lblTitulo}, {"notice", box->lblTexto},
                                            {"hint", box->lblClick},   {"logo", box->imgLogo},
                                            {"icon", box->imgIcono},   {"background", box}};
        seen += QStringLiteral(" %1").arg(d->isVisible());
        if (cell("part").isEmpty())
            QTest::keyClick(d, Qt::Key(number("key")));
        else
            QTest::mouseClick(parts[cell("part")], Qt::MouseButton(number("key")), {},
                              cell("part") == "background" ? kBackground : QPoint(5, 5));
        seen += QStringLiteral(" %1").arg(d->isVisible());
        d->close();
    });
    t.form.MnuAbout->trigger();
    QCOMPARE(seen, QString("1 1 Mesa de prueba 1 1 0"));
    QVERIFY(t.documents.calls.isEmpty());
}

void WindowsTest::aboutBoxOpensItsAddresses()
{
    Table t;
    QStringList openAfterClicks;
    t.watch.then([&](QWidget* d) {
        auto* box = qobject_cast<FormBrimvale*>(d);
        for (Label* address : {box->lblURL, box->lblURL, box->lblMail}) {
            QTest::mouseClick(address, Qt::LeftButton);
            openAfterClicks << QString::number(d->isVisible());
        }
        QTest::mouseClick(d, Qt::LeftButton, {}, kBackground);
    });
    t.form.MnuAbout->trigger();
    QCOMPARE(openAfterClicks.join(' '), QString("1 1 1"));
    const QString call = "FormBrimvale|Open|%1||" + QCoreApplication::applicationDirPath() + "|1";
    QCOMPARE(t.documents.calls, (QStringList{call.arg("http://lozetta.example.org"),
                                             call.arg("http://lozetta.example.org"),
                                             call.arg("mailto:lozetta@example.org")}));

    // An address stays underlined until the pointer reaches the other or the bare background.
    FormBrimvale box(&t.form, t.documents);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QString underlined;
    for (QWidget* over : QList<QWidget*>{box.lblURL, box.lblTexto, &box, box.lblMail, box.imgLogo,
                                         box.lblURL, box.lblMail, &box}) {
        const QPoint at = over == &box ? kBackground : over->mapTo(&box, over->rect().center());
        QTest::mouseMove(box.windowHandle(), at);
        QCoreApplication::processEvents();
        underlined += QString(box.lblURL->font().underline() ? "web" : "") +
                      (box.lblMail->font().underline() ? "mail" : "") + ' ';
    }
    QCOMPARE(underlined, QString("web web  mail mail web mail  "));
    for (const QWidget* w : box.findChildren<QWidget*>())
        QCOMPARE(w->cursor().shape() == Qt::BitmapCursor, w == box.lblURL || w == box.lblMail);
}

void WindowsTest::soundAndInstructions()
{
    Table t;
    Form1& form = t.form;
    t.deal(doubleSixAtSeat(1));
    // Ctrl+S switches the sound, and the switch is read when a tile is laid.
    QVERIFY(pressShortcut(form, Qt::CTRL | Qt::Key_S));
    QVERIFY(!form.MnuSound->isChecked());
    clickTile(form, 3);
    QVERIFY(pressShortcut(form, Qt::CTRL | Qt::Key_S));
    clickMarker(form, 1);
    QVERIFY(pressShortcut(form, Qt::CTRL | Qt::Key_S));
    QVERIFY(QTest::qWaitFor([&] { return form.humanTurn || form.Command1->isVisible(); }));
    QVERIFY(form.Image3.Count() > 4);
    QCOMPARE(t.sound.files, QStringList{"ficha.wav"}); // the computer seats laid in silence
    QCOMPARE(t.sound.flags, QList<Int16>{1});

    // F1, from another working directory: the page in the program's own directory.
    const QStringList before = tableState(form);
    QTemporaryDir elsewhere;
    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    QVERIFY(pressShortcut(form, Qt::Key_F1));
    QVERIFY(QDir::setCurrent(home));
    const QString directory = QCoreApplication::applicationDirPath();
    QCOMPARE(t.documents.calls, QStringList{"Form1|Open|Instrucciones.htm||" + directory + "|1"});
    QVERIFY(QFile::exists(directory + "/Instrucciones.htm"));
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
        const QImage a = shown.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = drawn.pixel(x, y);
                if (qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                        qAbs(qBlue(p) - qBlue(q)) >
                    3)
                    return false;
            }
        }
        return true;
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
