// Faults of the machine around the game, with the real sound and desktop services: the sound
// file broken every way it can be, no sound server, no opener, started from another directory or
// one where nothing can be written, no display. The game plays on without a word; without a
// display it says so in one line and ends. The test stands where the program's files are not.

#include "support/table.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

namespace
{

QString here()
{
    return QCoreApplication::applicationDirPath();
}

QByteArray goodSound()
{
    QFile file(here() + "/../ficha.wav");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The same hand each time with the real services from wherever the process stands, with a look
// at the instructions on the way: its messages and the tiles left.
QStringList playAHand()
{
    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    form.show();
    form.settings = {MatchSettings::kPuntos, 100, {}};
    form.matchActive = kTrue;
    form.random.seed(7);
    std::mt19937 dice(7);
    form.Command1_Click();
    form.MnuHow->trigger();
    const bool ended = playHandToItsEnd(form, dice, 1000);
    return watch.texts() << QStringLiteral("ended %1 tiles %2 %3 %4 %5")
                                .arg(ended)
                                .arg(form.Label2(0)->Caption(), form.Label2(1)->Caption(),
                                     form.Label2(2)->Caption(), form.Label2(3)->Caption());
}

QStringList opened()
{
    QFile log(qEnvironmentVariable("LOZETTA_OPENER_LOG"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()).split('\n')
                                         : QStringList();
}

} // namespace

class Faults : public QObject
{
    Q_OBJECT
private slots:
    // First: the desktop services keep the opener they have found for the rest of the process.
    void startedElsewhere_data()
    {
        addRows({"directory", "opener"}, {"no opener on the PATH||0", "another directory||1",
                                          "a directory nothing can be written to|/proc|1"});
    }
    void startedElsewhere();
    void brokenSoundFilesAreSilence_data();
    void brokenSoundFilesAreSilence();
    void noDisplay_data()
    {
        addRows({"setting"},
                {"no display named|", "an X display that is not there|DISPLAY=:987",
                 "a Wayland display that is not there|WAYLAND_DISPLAY=lozetta-nowhere"});
    }
    void noDisplay();
};

void Faults::brokenSoundFilesAreSilence_data()
{
    const QByteArray good = goodSound();
    QByteArray wrongFormat = good, endless = good.left(44);
    wrongFormat[20] = 0x55; // a compression tag that is no PCM
    endless[40] = endless[41] = endless[42] = endless[43] = char(0xff); // data "4 GiB long"
    QTest::addColumn<QByteArray>("content"); // null: no file; "/dev/zero": a link to it
    QTest::addColumn<qint64>("sparseSize");
    QTest::newRow("a good file, no sound server") << good << qint64(0);
    QTest::newRow("missing") << QByteArray() << qint64(0);
    QTest::newRow("empty") << QByteArray("") << qint64(0);
    QTest::newRow("cut in its header") << good.left(30) << qint64(0);
    QTest::newRow("cut in its sound") << good.left(good.size() / 2) << qint64(0);
    QTest::newRow("in no known format") << wrongFormat << qint64(0);
    QTest::newRow("data longer than the file") << endless << qint64(0);
    QTest::newRow("not a sound") << QByteArray("<html>No es un sonido.</html>") << qint64(0);
    QTest::newRow("endless") << QByteArray("/dev/zero") << qint64(0);
    QTest::newRow("a good header, then 200 MB") << good.left(44) << qint64(200);
}

void Faults::brokenSoundFilesAreSilence()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, sparseSize);
    qputenv("PULSE_SERVER", "unix:/nonexistent/lozetta-no-sound-server");
    QVERIFY(!goodSound().isEmpty() && !QFile::exists(here() + "/Instrucciones.htm"));
    QTemporaryDir goodPlace, place;
    QFile good(goodPlace.filePath("ficha.wav")), file(place.filePath("ficha.wav"));
    QVERIFY(good.open(QIODevice::WriteOnly) && good.write(goodSound()) > 0);
    good.close();
    QVERIFY(QDir::setCurrent(goodPlace.path()));
    const QStringList expected = playAHand();
    QVERIFY(expected.last().startsWith("ended 1"));
    if (content == "/dev/zero")
        QVERIFY(QFile::link("/dev/zero", file.fileName()));
    else if (!content.isNull())
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
                file.resize(qMax(content.size(), sparseSize << 20)));
    file.close();
    QVERIFY(QDir::setCurrent(place.path()));
    QCOMPARE(playAHand(), expected);
    QVERIFY(QDir::setCurrent(here()));
}

void Faults::startedElsewhere()
{
    QVERIFY2(qEnvironmentVariableIsSet("LOZETTA_OPENER_LOG"), "run on the virtual desktop");
    QTemporaryDir elsewhere, empty;
    QVERIFY(QDir::setCurrent(cell("directory").isEmpty() ? elsewhere.path() : cell("directory")));
    const QStringList files = QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    // The opener runs on its own: the records of earlier hands may still be on their way.
    qsizetype before = -1;
    while (before != opened().size())
        before = opened().size(), QTest::qWait(500);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", number("opener") ? path : QFile::encodeName(empty.path()));
    const QStringList seen = playAHand();
    qputenv("PATH", path);
    QVERIFY(seen.last().startsWith("ended 1") && seen.size() > 1);
    for (const QString& message : seen)
        QVERIFY2(!message.contains("Instrucciones"), qPrintable(message));
    // The page is asked for where the program stands, even though it is missing.
    const QString page = QUrl::fromLocalFile(here() + "/Instrucciones.htm").toString();
    QTRY_COMPARE_WITH_TIMEOUT(opened().mid(before - 1).join(""),
                              number("opener") ? "xdg-open\t" + page : QString(), 60000);
    if (cell("directory").isEmpty())
        QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), files);
    QVERIFY(QDir::setCurrent(here()));
}

void Faults::noDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    if (!cell("setting").isEmpty())
        environment.insert(cell("setting").section('=', 0, 0), cell("setting").section('=', 1));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(here() + "/../lozetta", {});
    QVERIFY(program.waitForFinished(60000));
    const QString said = QString::fromLocal8Bit(program.readAllStandardError()).trimmed();
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() != 0,
             qPrintable(said));
    QVERIFY2(said.section('\n', -1).startsWith("lozetta: no hay pantalla"), qPrintable(said));
    QVERIFY(!cell("setting").isEmpty() || !said.contains('\n'));
}

QTEST_MAIN(Faults)
#include "test_faults.moc"
