// Faults of the machine around the game, with the real sound and the real desktop services: the
// sound file broken every way it can be, no sound server, no instructions page, no desktop
// opener, started from another directory or from one where nothing can be written, and no
// display at all. The game plays on without a word and without a crash; without a display it
// says so in one line and ends.
//
// This test lives in a directory of its own: no "Instrucciones.htm" and no "ficha.wav".

#include "options/form2.h"
#include "shell/documents.h"
#include "shell/tilesound.h"
#include "support/modalwatch.h"
#include "support/playerseat.h"
#include "table/form1.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

class Faults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    // First: the desktop services keep the opener they have found for the rest of the process.
    void noDesktopOpener();
    void brokenSoundFilesAreSilence_data();
    void brokenSoundFilesAreSilence();
    void startedFromElsewhere_data();
    void startedFromElsewhere();
    void noDisplay_data();
    void noDisplay();
};

namespace
{

constexpr int kMostStepsInAHand = 1000;
constexpr qint64 kHugeSound = 200LL * 1024 * 1024;
constexpr int kProgramWaitMs = 60'000;
const QString kSound = QStringLiteral("ficha.wav");
// The 44-byte header of a plain PCM file: 16-bit mono at 44.1 kHz.
constexpr int kHeaderBytes = 44;

QString programDirectory()
{
    return QCoreApplication::applicationDirPath();
}

// The sound file the build makes for the game.
QByteArray goodSound()
{
    QFile file(QDir(programDirectory()).filePath(QStringLiteral("../") + kSound));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the player saw of a hand: its messages, and what stands on the table at its end.
struct HandSeen {
    QStringList messages;
    QStringList tilesHeld;
    bool ended = false;
};

// A hand played with the real services from wherever the process stands, the same deal every
// time, with a look at the instructions (F1) on the way.
HandSeen playAHand()
{
    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    form.show();
    form.settings.matchKind = MatchSettings::kPuntos;
    form.settings.matchTarget = 100;
    form.matchActive = kTrue;
    form.Command1->show();
    form.random.seed(7);
    std::mt19937 dice(7);

    QTest::mouseClick(form.Command1, Qt::LeftButton);
    form.MnuHow->trigger();
    HandSeen seen;
    seen.ended = playHandToItsEnd(form, dice, kMostStepsInAHand);
    for (int seat = 0; seat < rules::kSeats; ++seat)
        seen.tilesHeld << form.Label2(seat)->Caption();
    seen.messages = textsOf(watch.messages);
    return seen;
}

// What the stand-in opener was handed, one call a line, after the first given number of calls.
QStringList openedSince(qsizetype calls)
{
    QFile log(qEnvironmentVariable("LOZETTA_OPENER_LOG"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(calls);
}

} // namespace

void Faults::initTestCase()
{
    // No sound server: a socket that nobody listens on, and no server started in its place.
    qputenv("PULSE_SERVER", "unix:/nonexistent/lozetta-no-sound-server");
    QVERIFY2(!QFile::exists(QDir(programDirectory()).filePath(QStringLiteral("Instrucciones.htm"))),
             "this test must stand where the instructions page does not");
    QVERIFY(!goodSound().isEmpty());
    QVERIFY2(qEnvironmentVariableIsSet("LOZETTA_OPENER_LOG"), "run on the virtual desktop");
}

void Faults::cleanup()
{
    QDir::setCurrent(programDirectory());
}

void Faults::brokenSoundFilesAreSilence_data()
{
    const QByteArray good = goodSound();
    QByteArray wrongFormat = good;
    wrongFormat[20] = 0x55; // a compression tag that is no PCM
    QByteArray endless = good.left(kHeaderBytes);
    endless[40] = endless[41] = endless[42] = endless[43] = char(0xff); // data "4 GiB long"

    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("sparseSize");
    QTest::addColumn<QString>("linkTo");
    QTest::newRow("a good file, no sound server") << true << good << qint64(0) << QString();
    QTest::newRow("missing") << false << QByteArray() << qint64(0) << QString();
    QTest::newRow("empty") << true << QByteArray() << qint64(0) << QString();
    QTest::newRow("only its header") << true << good.left(kHeaderBytes) << qint64(0) << QString();
    QTest::newRow("cut in the middle of its header")
        << true << good.left(30) << qint64(0) << QString();
    QTest::newRow("cut in the middle of its sound")
        << true << good.left(good.size() / 2) << qint64(0) << QString();
    QTest::newRow("a sound file in no known format")
        << true << wrongFormat << qint64(0) << QString();
    QTest::newRow("data longer than the file") << true << endless << qint64(0) << QString();
    QTest::newRow("not a sound at all")
        << true << QByteArray("<html>Esto no es un sonido.</html>\n") << qint64(0) << QString();
    QTest::newRow("huge: a good header, then 200 MB")
        << true << good.left(kHeaderBytes) << kHugeSound << QString();
    QTest::newRow("huge: 200 MB of nothing") << true << QByteArray() << kHugeSound << QString();
    QTest::newRow("endless") << false << QByteArray() << qint64(0) << QStringLiteral("/dev/zero");
}

void Faults::brokenSoundFilesAreSilence()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(qint64, sparseSize);
    QFETCH(QString, linkTo);

    // The baseline: the same hand with the build's own file beside it.
    QTemporaryDir goodPlace;
    QVERIFY(goodPlace.isValid());
    QFile good(goodPlace.filePath(kSound));
    QVERIFY(good.open(QIODevice::WriteOnly) && good.write(goodSound()) > 0);
    good.close();
    QVERIFY(QDir::setCurrent(goodPlace.path()));
    const HandSeen expected = playAHand();
    QVERIFY(expected.ended);
    QVERIFY(!expected.messages.isEmpty());

    QTemporaryDir place;
    QVERIFY(place.isValid());
    if (present) {
        QFile file(place.filePath(kSound));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
        // Made sparse: a huge file that costs no disk.
        if (sparseSize > 0)
            QVERIFY(file.resize(sparseSize));
    }
    if (!linkTo.isEmpty())
        QVERIFY(QFile::link(linkTo, place.filePath(kSound)));
    QVERIFY(QDir::setCurrent(place.path()));
    const HandSeen seen = playAHand();

    QVERIFY(seen.ended);
    QCOMPARE(seen.messages, expected.messages);
    QCOMPARE(seen.tilesHeld, expected.tilesHeld);
}

void Faults::noDesktopOpener()
{
    // A PATH where no opener and no browser can be found.
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const QByteArray path = qgetenv("PATH");
    const qsizetype opened = openedSince(0).size();
    qputenv("PATH", QFile::encodeName(empty.path()));
    const HandSeen seen = playAHand();
    qputenv("PATH", path);
    QVERIFY(openedSince(opened).isEmpty());

    QVERIFY(seen.ended);
    QVERIFY(!seen.messages.isEmpty());
    for (const QString& message : seen.messages)
        QVERIFY2(!message.contains(QLatin1String("Instrucciones")), qPrintable(message));
}

void Faults::startedFromElsewhere_data()
{
    QTest::addColumn<QString>("directory");
    QTest::newRow("another directory") << QString();
    // Not even the superuser can make a file in /proc.
    QTest::newRow("a directory nothing can be written to") << QStringLiteral("/proc");
}

void Faults::startedFromElsewhere()
{
    QFETCH(QString, directory);
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    QVERIFY(QDir::setCurrent(directory.isEmpty() ? elsewhere.path() : directory));
    const QStringList before = QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    // The opener runs on its own: the records of earlier hands may still be on their way.
    qsizetype opened = -1;
    while (opened != openedSince(0).size()) {
        opened = openedSince(0).size();
        QTest::qWait(500);
    }

    const HandSeen seen = playAHand();

    QVERIFY(seen.ended);
    QVERIFY(!seen.messages.isEmpty());
    // The instructions page is asked for where the program stands, even though it is missing;
    // the opener runs on its own, so its record may come a moment later.
    const QString page =
        QUrl::fromLocalFile(QDir(programDirectory()).filePath(QStringLiteral("Instrucciones.htm")))
            .toString(QUrl::FullyEncoded);
    const QStringList expected{QStringLiteral("xdg-open\t") + page};
    QTRY_COMPARE_WITH_TIMEOUT(openedSince(opened), expected, kProgramWaitMs);
    if (directory.isEmpty())
        QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void Faults::noDisplay_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<bool>("onlyOurLine");
    QTest::newRow("no display named") << QStringList() << true;
    QTest::newRow("a display that is not there")
        << QStringList{QStringLiteral("QT_QPA_PLATFORM=xcb"), QStringLiteral("DISPLAY=:987")}
        << false;
    QTest::newRow("a Wayland display that is not there")
        << QStringList{QStringLiteral("WAYLAND_DISPLAY=lozetta-nowhere")} << false;
}

void Faults::noDisplay()
{
    QFETCH(QStringList, environment);
    QFETCH(bool, onlyOurLine);

    QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        system.remove(QString::fromLatin1(name));
    for (const QString& setting : environment)
        system.insert(setting.section(QLatin1Char('='), 0, 0),
                      setting.section(QLatin1Char('='), 1));

    QProcess program;
    program.setProcessEnvironment(system);
    program.start(QDir(programDirectory()).filePath(QStringLiteral("../lozetta")), {});
    QVERIFY(program.waitForStarted(kProgramWaitMs));
    QVERIFY(program.waitForFinished(kProgramWaitMs));

    const QString said = QString::fromLocal8Bit(program.readAllStandardError());
    const QStringList lines = said.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(program.exitCode() != 0, qPrintable(said));
    QVERIFY2(!lines.isEmpty(), "the program said nothing");
    QVERIFY2(lines.last().startsWith(QLatin1String("lozetta: no hay pantalla")), qPrintable(said));
    if (onlyOurLine)
        QCOMPARE(lines.size(), 1);
}

QTEST_MAIN(Faults)
#include "test_faults.moc"
