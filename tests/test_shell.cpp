// The tile sound's switch and the calls the program makes on the desktop's services.

#include "playerhand.h"
#include "support/tablefixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace
{

std::unique_ptr<Table> dealtToThePlayer()
{
    auto t = std::make_unique<Table>(MatchSettings::kPartidas, 7);
    t->form.Shape2->Move(4200, 3120);
    t->scriptDeal(playerOpensFirstSlot());
    t->clickStart();
    if (!QTest::qWaitFor([&] { return t->form.humanTurn != kFalse; }))
        return {};
    return t;
}

// The player opens with the double six: a click on it in the hand, then on a marker.
void openWithTheDoubleSix(Table& t)
{
    Table::click(t.form.Image2(0));
    Table::click(t.form.Image4(0));
}

// Until the player is to move again or the hand is over.
bool computerSeatsHavePlayed(Table& t)
{
    return QTest::qWaitFor([&] {
        return (t.form.humanTurn && !t.form.Timer1->isArmed()) || t.form.Command1->isVisible() ||
               !t.form.matchActive;
    });
}

} // namespace

class Shell : public QObject
{
    Q_OBJECT

private slots:
    void soundSwitchToggles_data();
    void soundSwitchToggles();
    void everyTileLaidPlaysTheSoundOnce();
    void switchIsReadWhenTheTileIsLaid();
    void instructionsOpenFromTheProgramsDirectory_data();
    void instructionsOpenFromTheProgramsDirectory();
    void shortcutsWorkWithTheFocusOnTheStartButton();
};

void Shell::soundSwitchToggles_data()
{
    QTest::addColumn<Reach>("reach");
    QTest::newRow("Ctrl+S") << Reach::Shortcut;
    QTest::newRow("menu") << Reach::MenuClicks;
}

void Shell::soundSwitchToggles()
{
    QFETCH(Reach, reach);
    Table t;
    QVERIFY(t.form.MnuSound->isChecked());
    QStringList before = tableState(t.form);
    before.removeIf([](const QString& l) { return l.startsWith(QLatin1String("Sonido")); });

    QVERIFY(useMenu(t.form, t.form.MnuSound, reach));
    QVERIFY(!t.form.MnuSound->isChecked());
    QVERIFY(useMenu(t.form, t.form.MnuSound, reach));
    QVERIFY(t.form.MnuSound->isChecked());
    QVERIFY(useMenu(t.form, t.form.MnuSound, reach));
    QVERIFY(!t.form.MnuSound->isChecked());

    QStringList after = tableState(t.form);
    after.removeIf([](const QString& l) { return l.startsWith(QLatin1String("Sonido")); });
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
    QVERIFY(t.sound.calls.isEmpty());
    QVERIFY(t.documents.calls.isEmpty());
    QVERIFY(t.watch.messages.empty());
}

void Shell::everyTileLaidPlaysTheSoundOnce()
{
    auto t = dealtToThePlayer();
    QVERIFY(t);
    QVERIFY(t->form.MnuSound->isChecked());
    QVERIFY(t->sound.calls.isEmpty());

    openWithTheDoubleSix(*t);

    // At once, as the tile lands.
    QCOMPARE(t->sound.calls.size(), 1);
    QCOMPARE(t->sound.calls[0].file, QStringLiteral("ficha.wav"));
    QCOMPARE(t->sound.calls[0].flags, Int16(1));

    QVERIFY(computerSeatsHavePlayed(*t));
    const auto laid = tilesOnTable(t->form).size();
    QVERIFY(laid > 1);
    QCOMPARE(std::size_t(t->sound.calls.size()), laid);
    for (const SoundRecorder::Call& call : t->sound.calls) {
        QCOMPARE(call.file, QStringLiteral("ficha.wav"));
        QCOMPARE(call.flags, Int16(1));
    }
}

void Shell::switchIsReadWhenTheTileIsLaid()
{
    auto t = dealtToThePlayer();
    QVERIFY(t);
    QVERIFY(useMenu(t->form, t->form.MnuSound, Reach::Shortcut));

    // Switched back on between choosing the tile and laying it.
    Table::click(t->form.Image2(0));
    QVERIFY(useMenu(t->form, t->form.MnuSound, Reach::Shortcut));
    QVERIFY(t->form.MnuSound->isChecked());
    Table::click(t->form.Image4(1));
    QCOMPARE(t->sound.calls.size(), 1);

    // And off again before the computer seats answer: they lay in silence.
    QVERIFY(useMenu(t->form, t->form.MnuSound, Reach::Shortcut));
    QVERIFY(computerSeatsHavePlayed(*t));
    QVERIFY(tilesOnTable(t->form).size() > 1);
    QCOMPARE(t->sound.calls.size(), 1);
}

void Shell::instructionsOpenFromTheProgramsDirectory_data()
{
    QTest::addColumn<Reach>("reach");
    QTest::newRow("F1") << Reach::Shortcut;
    QTest::newRow("menu") << Reach::MenuClicks;
}

void Shell::instructionsOpenFromTheProgramsDirectory()
{
    QFETCH(Reach, reach);
    Table t;
    const QStringList before = tableState(t.form);
    // Whatever the working directory is.
    QTemporaryDir elsewhere;
    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));

    QVERIFY(useMenu(t.form, t.form.MnuHow, reach));
    QVERIFY(QDir::setCurrent(home));

    QCOMPARE(t.documents.calls.size(), 1);
    const DocumentRecorder::Call& call = t.documents.calls[0];
    QCOMPARE(call.owner.data(), static_cast<QWidget*>(&t.form));
    QCOMPARE(call.operation, QStringLiteral("Open"));
    QCOMPARE(call.file, QStringLiteral("Instrucciones.htm"));
    QVERIFY(call.parameters.isEmpty());
    QCOMPARE(call.directory, QCoreApplication::applicationDirPath());
    QVERIFY(!call.directory.endsWith(QLatin1Char('/')));
    QCOMPARE(call.showCommand, Int16(1));
    // The page the call names is there to be opened.
    QVERIFY(QFile::exists(QDir(call.directory).filePath(call.file)));
    QCOMPARE(tableState(t.form), before);
    QVERIFY(t.watch.messages.empty());
    QVERIFY(t.sound.calls.isEmpty());
}

void Shell::shortcutsWorkWithTheFocusOnTheStartButton()
{
    Table t;
    DialogSteps steps(t.watch);
    t.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&t.form));
    t.form.Command1->setFocus();
    QTRY_VERIFY(t.form.Command1->hasFocus());

    QTest::keyClick(t.form.Command1, Qt::Key_F1);
    QCOMPARE(t.documents.calls.size(), 1);
    QTest::keyClick(t.form.Command1, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!t.form.MnuSound->isChecked());
    steps.then([](QWidget* d) { d->close(); });
    t.watch.queueAnswer(QMessageBox::Ok);
    QTest::keyClick(t.form.Command1, Qt::Key_F2);
    QCOMPARE(textsOf(t.watch.messages),
             QStringList{QStringLiteral("Quieres empezar otra partida?")});
    QCOMPARE(steps.shown, QStringList{QStringLiteral("Form2")});
    // None of the keys pressed the button itself.
    QVERIFY(t.sound.calls.isEmpty());
    QCOMPARE(t.form.Image5.Count(), Int16(1));
}

QTEST_MAIN(Shell)
#include "test_shell.moc"
