// The tile sound's switch and the calls the program makes on the desktop's services.

#include "support/playerseat.h"
#include "support/tablefixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class Shell : public QObject
{
    Q_OBJECT

private slots:
    void soundSwitchToggles_data();
    void soundSwitchToggles();
    void switchIsReadWhenTheTileIsLaid();
    void instructionsOpenFromTheProgramsDirectory_data();
    void instructionsOpenFromTheProgramsDirectory();
    void shortcutsWorkWithTheFocusOnTheStartButton();
};

namespace
{

// Until the player is to move again or the hand is over, the timer ticking for real.
bool computerSeatsHavePlayed(Table& t)
{
    return QTest::qWaitFor([&] {
        return (t.form.humanTurn && !t.form.Timer1->isArmed()) || t.form.Command1->isVisible();
    });
}

} // namespace

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
    QStringList before = tableState(t.form);
    QList<bool> checked{t.form.MnuSound->isChecked()};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(useMenu(t.form, t.form.MnuSound, reach));
        checked << t.form.MnuSound->isChecked();
    }
    QCOMPARE(checked, (QList<bool>{true, false, true, false}));
    QStringList after = tableState(t.form);
    before.removeIf([](const QString& l) { return l.startsWith(QLatin1String("sound")); });
    after.removeIf([](const QString& l) { return l.startsWith(QLatin1String("sound")); });
    QCOMPARE(after, before);
    QVERIFY(t.sound.calls.isEmpty());
    QVERIFY(t.watch.messages.empty());
}

void Shell::switchIsReadWhenTheTileIsLaid()
{
    Table t;
    t.deal(doubleSixAtSeat(1));
    QVERIFY(useMenu(t.form, t.form.MnuSound, Reach::Shortcut));
    // Switched back on between choosing the tile and laying it.
    clickUpperHalf(t.form, 3);
    QVERIFY(useMenu(t.form, t.form.MnuSound, Reach::Shortcut));
    clickMarker(t.form, 1);
    QCOMPARE(t.sound.calls.size(), 1);
    QCOMPARE(t.sound.calls[0].file, QStringLiteral("ficha.wav"));
    QCOMPARE(t.sound.calls[0].flags, Int16(1));
    // And off again before the computer seats answer: they lay in silence.
    QVERIFY(useMenu(t.form, t.form.MnuSound, Reach::Shortcut));
    QVERIFY(computerSeatsHavePlayed(t));
    QVERIFY(tilesOnTable(t.form).size() > 1);
    QCOMPARE(t.sound.calls.size(), 1);
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
    QCOMPARE(call.showCommand, Int16(1));
    // The page the call names is there to be opened.
    QVERIFY(QFile::exists(QDir(call.directory).filePath(call.file)));
    QCOMPARE(tableState(t.form), before);
    QVERIFY(t.watch.messages.empty());
}

void Shell::shortcutsWorkWithTheFocusOnTheStartButton()
{
    Table t;
    t.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&t.form));
    t.form.Command1->setFocus();
    QTRY_VERIFY(t.form.Command1->hasFocus());

    QTest::keyClick(t.form.Command1, Qt::Key_F1);
    QCOMPARE(t.documents.calls.size(), 1);
    QTest::keyClick(t.form.Command1, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!t.form.MnuSound->isChecked());
    t.watch.then([](QWidget* d) { d->close(); });
    t.watch.queueAnswer(QMessageBox::Ok);
    QTest::keyClick(t.form.Command1, Qt::Key_F2);
    QCOMPARE(textsOf(t.watch.messages), QStringList{"Quieres empezar otra partida?"});
    QCOMPARE(t.watch.shown, QStringList{"Form2"});
    // None of the keys pressed the button itself: nothing was dealt.
    QCOMPARE(t.form.Image5.Count(), Int16(1));
}

QTEST_MAIN(Shell)
#include "test_shell.moc"
