#include "about/formbrimvale.h"
#include "options/form2.h"
#include "support/table.h"
#include "table/pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

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
    void aboutBoxOpensItsAddresses_data();
    void aboutBoxOpensItsAddresses();
    void soundAndInstructions();
    void crispAt200();
};

namespace
{

Form2* dialogOf(QWidget* dialog)
{
    return qobject_cast<Form2*>(dialog);
}

FormBrimvale* about(QWidget* dialog)
{
    return qobject_cast<FormBrimvale*>(dialog);
}

// Which kind is chosen, which boxes can be used, and what they hold.
QString look(QWidget* dialog)
{
    QStringList parts;
    for (int i = 0; i < 3; ++i)
        parts << QStringLiteral("%1%2 %3")
                     .arg(dialogOf(dialog)->Option1(i)->isChecked() ? "(x)" : "( )")
                     .arg(dialogOf(dialog)->Combo1(i)->isEnabled() ? "" : " off")
                     .arg(dialogOf(dialog)->Combo1(i)->currentText());
    return parts.join(", ");
}

// Chooses a kind with a click past its caption (the whole row is the button) and types over
// its box key by key.
void choose(QWidget* dialog, int kind, const QString& typed)
{
    OptionButton* option = dialogOf(dialog)->Option1(kind);
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier,
                      QPoint(option->width() - 2, option->height() / 2));
    if (typed.isNull())
        return;
    QLineEdit* edit = dialogOf(dialog)->Combo1(kind)->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QString scores(const Form1& form)
{
    QStringList shown;
    for (int i = 0; i < 4; ++i)
        shown << form.Label3(i)->Caption() + '=' + QString::number(form.settings.scores[i + 1]);
    return shown.join(' ');
}

const QPoint kBackground(8, 200); // on the about box, clear of its labels and pictures

} // namespace

void WindowsTest::startUp_data()
{
    QTest::addColumn<QString>("end"); // of the options dialog
    QTest::newRow("options accepted") << "ok";
    QTest::newRow("options closed") << "close";
    QTest::newRow("options escaped") << "escape";
}

void WindowsTest::startUp()
{
    QFETCH(QString, end);
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    form.Shape2->Move(0, 0); // wherever the design put the anchor, start-up centres it
    QStringList during;
    auto state = [&](QWidget* d) {
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
        state(d);
        QTest::mouseClick(d, Qt::LeftButton, Qt::NoModifier, kBackground);
    });
    watch.then([&](QWidget* d) {
        state(d);
        if (end == "ok")
            Table::click(dialogOf(d)->Command1);
        else if (end == "escape")
            QTest::keyClick(d, Qt::Key_Escape);
        else
            d->close();
    });
    form.Load();
    QTRY_VERIFY(form.Label7(3)->isVisible());

    // The splash before the window, the options once it is up, then the button and the names.
    QCOMPARE(during, (QStringList{"FormBrimvale 0 4200,3120 0 0 0", "Form2 1 4200,3120 0 0 0"}));
    QCOMPARE(form.matchActive, kTrue);
    QVERIFY(form.Command1->isVisible() && form.Command3->isHidden() && form.MnuSound->isChecked());
    QCOMPARE(form.Command1->Caption(), QString("Comenzar la partida"));
    for (int i = 0; i < 4; ++i)
        QVERIFY(form.Label7(i)->isVisible() && form.Label3(i)->isHidden());
    // Whichever way the dialog went, a playable match is set up: its first choice.
    QCOMPARE(form.Label5->Caption(), QString("Juego a 7 partidas."));
    QCOMPARE(form.optionsDialog() != nullptr, end == "ok");
    QVERIFY(watch.messages.empty() && sound.files.isEmpty() && documents.calls.isEmpty());
    // A fixed table of 592 by 480 below its menu bar, without a maximize button.
    QCOMPARE(form.centralWidget()->size(), QSize(592, 480));
    QCOMPARE(form.menuBar()->actions().size(), 2);
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    form.resize(form.size() + QSize(200, 200));
    QCOMPARE(form.centralWidget()->size(), QSize(592, 480));
    // Each run deals differently: the dice were seeded from the clock.
    rules::Random unseeded;
    QVERIFY(form.random.Rnd() != unseeded.Rnd());

    // Before any deal, clicks on the table do nothing.
    const QStringList before = tableState(form);
    for (QPoint twips :
         {QPoint(4440, 3600), QPoint(600, 3000), QPoint(1400, 600), QPoint(3540, 3660)}) {
        const QPoint at = form.centralWidget()->mapTo(&form, twips / 15);
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    }
    for (int i = 0; i < form.Image2.Count(); ++i)
        QTest::mouseClick(form.Image2(i), Qt::LeftButton);
    QCOMPARE(tableState(form), before);
    QVERIFY(watch.messages.empty());
}

void WindowsTest::optionsTakeTheTarget_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed"); // null: the box as it opens
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("description"); // empty: refused
    QTest::newRow("Partidas as it opens") << 0 << QString() << 7 << "Juego a 7 partidas.";
    QTest::newRow("Puntos as it opens") << 2 << QString() << 50 << "Juego a 50 puntos.";
    QTest::newRow("7.5 hands") << 0 << "7.5" << 8 << "Juego a 8 partidas.";
    QTest::newRow("  12abc tiles") << 1 << "  12abc" << 12 << "Juego a 12 fichas.";
    QTest::newRow("1 is one, not 10") << 1 << "1" << 1 << "Juego a 1 fichas.";
    QTest::newRow("999 points") << 2 << "999" << 999 << "Juego a 999 puntos.";
    QTest::newRow("1000") << 0 << "1000" << 1000 << QString();
    QTest::newRow("0") << 1 << "0" << 0 << QString();
    QTest::newRow("40000") << 1 << "40000" << 0 << QString();
    QTest::newRow("no kind chosen") << -1 << QString() << 40 << QString();
}

void WindowsTest::optionsTakeTheTarget()
{
    QFETCH(int, kind);
    QFETCH(QString, description);
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
        if (kind < 0) {
            // The player cannot clear all three buttons; the program can, and OK must notice.
            for (int i = 0; i < 3; ++i) {
                dialogOf(d)->Option1(i)->setAutoExclusive(false);
                dialogOf(d)->Option1(i)->setChecked(false);
            }
        } else {
            choose(d, kind, row<QString>("typed"));
        }
        Table::click(dialogOf(d)->Command1);
        afterOk = QStringLiteral("%1 %2").arg(d->isVisible()).arg(scores(t.form));
        if (d->isVisible())
            d->close();
    });

    QCOMPARE(t.form.ShowOptions(), !description.isEmpty());

    QCOMPARE(first, QString("(x) 7, ( ) off 15, ( ) off 50"));
    const QString kept = kind < 0 ? "1=1 2=2 3=3 4=4" : "0=0 0=0 0=0 0=0";
    QCOMPARE(afterOk, QStringLiteral("%1 %2").arg(description.isEmpty()).arg(kept));
    QCOMPARE(t.form.settings.matchKind, Int16(kind + 1));
    QCOMPARE(int(t.form.settings.matchTarget), row<int>("target"));
    QCOMPARE(scores(t.form), kept);
    QCOMPARE(t.form.Label5->Caption(), description.isEmpty() ? "Juego a 40 fichas." : description);
    const QString refusal =
        kind < 0 ? "Selecciona el tipo de juego." : "El valor debe estar entre 1 y 999";
    QCOMPARE(t.watch.texts(), description.isEmpty() ? QStringList{refusal} : QStringList{});
    if (description.isEmpty())
        QCOMPARE(t.watch.messages.front().icon, QMessageBox::Warning);
    // Only the scores, the description and the settings may change.
    const QStringList after = tableState(t.form);
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after[i] != before[i];
    QCOMPARE(changed, kind < 0 ? 1 : description.isEmpty() ? 5 : 6);
}

void WindowsTest::optionsRemembersOnlyAnAcceptedChoice_data()
{
    QTest::addColumn<bool>("okFirst");
    QTest::addColumn<bool>("okThen");
    QTest::addColumn<QString>("reopened");
    const QString defaults = "(x) 7, ( ) off 15, ( ) off 50";
    QTest::newRow("changed and accepted") << false << true << "( ) off 7, (x) 22, ( ) off 50";
    QTest::newRow("changed and closed") << false << false << defaults;
    QTest::newRow("accepted, then changed and closed") << true << false << defaults;
}

void WindowsTest::optionsRemembersOnlyAnAcceptedChoice()
{
    QFETCH(bool, okFirst);
    QFETCH(bool, okThen);
    Table t;
    if (okFirst)
        t.watch.then([](QWidget* d) { Table::click(dialogOf(d)->Command1); });
    t.watch.then([&](QWidget* d) {
        choose(d, 1, "22");
        if (okThen)
            Table::click(dialogOf(d)->Command1);
        else
            d->close();
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
    QCOMPARE(seen, row<QString>("reopened"));
    QCOMPARE(t.watch.unexpected, 0);
}

void WindowsTest::aboutBoxClosesOnAnyClickOrKey_data()
{
    QTest::addColumn<QString>("part"); // clicked, or none for a key
    QTest::addColumn<int>("key");      // or the mouse button
    for (const char* part : {"background", "title", "notice", "hint", "logo", "icon"})
        QTest::newRow(part) << QString(part) << int(Qt::LeftButton);
    QTest::newRow("logo, right button") << "logo" << int(Qt::RightButton);
    QTest::newRow("icon, middle button") << "icon" << int(Qt::MiddleButton);
    for (auto [name, key] : {std::pair{"Escape", Qt::Key_Escape}, {"Enter", Qt::Key_Return},
                             {"a letter", Qt::Key_Q}, {"F1", Qt::Key_F1}})
        QTest::newRow(name) << QString() << int(key);
}

void WindowsTest::aboutBoxClosesOnAnyClickOrKey()
{
    QFETCH(QString, part);
    Table t;
    t.form.setWindowTitle("Mesa de prueba");
    QString seen;
    t.watch.then([&](QWidget* d) {
        FormBrimvale* box = about(d);
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
        if (part.isNull())
            QTest::keyClick(d, Qt::Key(row<int>("key")));
        else
            QTest::mouseClick(parts[part], Qt::MouseButton(row<int>("key")), Qt::NoModifier,
                              part == "background" ? kBackground : QPoint(5, 5));
        seen += QStringLiteral(" %1").arg(d->isVisible());
        if (d->isVisible())
            d->close();
    });
    t.form.MnuAbout->trigger();
    QCOMPARE(seen, QString("1 1 Mesa de prueba 1 1 0"));
    QVERIFY(t.documents.calls.isEmpty());
}

void WindowsTest::aboutBoxOpensItsAddresses_data()
{
    QTest::addColumn<bool>("mail");
    QTest::addColumn<QString>("opened");
    QTest::newRow("web") << false << "http://lozetta.example.org";
    QTest::newRow("mail") << true << "mailto:lozetta@example.org";
}

void WindowsTest::aboutBoxOpensItsAddresses()
{
    QFETCH(bool, mail);
    Table t;
    QStringList openAfterClicks;
    t.watch.then([&](QWidget* d) {
        Label* label = mail ? about(d)->lblMail : about(d)->lblURL;
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(label, Qt::LeftButton);
            openAfterClicks
                << QStringLiteral("%1 %2").arg(d->isVisible()).arg(t.documents.calls.size());
        }
        QTest::mouseClick(d, Qt::LeftButton, Qt::NoModifier, kBackground);
    });
    t.form.MnuAbout_Click();
    QCOMPARE(openAfterClicks, (QStringList{"1 1", "1 2"}));
    const QString call = "FormBrimvale|Open|" + row<QString>("opened") + "||" +
                         QCoreApplication::applicationDirPath() + "|1";
    QCOMPARE(t.documents.calls, (QStringList{call, call}));

    // An address stays underlined until the pointer reaches the other or the bare background.
    FormBrimvale box(&t.form, t.documents);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QStringList underlined;
    for (QWidget* over : QList<QWidget*>{box.lblURL, box.lblTexto, &box, box.lblMail, box.imgLogo,
                                         box.lblURL, box.lblMail, &box}) {
        QTest::mouseMove(box.windowHandle(),
                         over == &box ? kBackground : over->mapTo(&box, over->rect().center()));
        QCoreApplication::processEvents();
        underlined << QString(box.lblURL->font().underline() ? "web" : "") +
                          (box.lblMail->font().underline() ? "mail" : "");
    }
    QCOMPARE(underlined.join(' '), QString("web web  mail mail web mail "));
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
    clickUpperHalf(form, 3);
    QVERIFY(pressShortcut(form, Qt::CTRL | Qt::Key_S));
    clickMarker(form, 1);
    QCOMPARE(t.sound.files, QStringList{"ficha.wav"});
    QCOMPARE(t.sound.flags, QList<Int16>{1});
    QVERIFY(pressShortcut(form, Qt::CTRL | Qt::Key_S));
    QVERIFY(QTest::qWaitFor([&] { return form.humanTurn || form.Command1->isVisible(); }));
    QVERIFY(form.Image3.Count() > 4);
    QCOMPARE(t.sound.files.size(), 1); // the computer seats laid in silence

    // F1, from another working directory: the page in the program's own directory, and nothing
    // on the table changes.
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
    // Every picture is the SVG drawn at the physical size, not a small bitmap blown up.
    auto drawn = [](const QString& source, QSize size, const QColor& background) {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(background);
        QPainter painter(&image);
        QSvgRenderer(source).render(&painter);
        return image.convertToFormat(QImage::Format_ARGB32);
    };
    auto same = [](const QImage& a, const QImage& b) {
        for (int y = 0; y < a.height() && a.size() == b.size(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                if (qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                        qAbs(qBlue(p) - qBlue(q)) >
                    3)
                    return false;
            }
        }
        return a.size() == b.size();
    };
    const QImage screen = t.form.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    for (const Picture* marker : {t.form.Image4(0), t.form.Image4(1)}) {
        const QRect r(marker->mapTo(&t.form, QPoint()) * 2, marker->size() * 2);
        QVERIFY(same(screen.copy(r), drawn(marker->picture(), r.size(), QColor(0, 128, 0))));
    }
    const QPixmap icon = t.form.windowIcon().pixmap(QSize(32, 32), 2.0);
    QVERIFY(same(icon.toImage().convertToFormat(QImage::Format_ARGB32),
                 drawn(pictures::kIcon, QSize(64, 64), Qt::transparent)));
    FormBrimvale box(&t.form, t.documents);
    box.show();
    const QRect logo(box.imgLogo->pos() * 2, box.imgLogo->size() * 2);
    QVERIFY(same(box.grab().toImage().convertToFormat(QImage::Format_ARGB32).copy(logo),
                 drawn(pictures::kLogo, logo.size(), Qt::black)));
}

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"
