// The machine around the game, with the real sound and desktop services: a real sound server
// started here, a broken sound file, no sound server, opener, page or display, another directory.

#include "support/table.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <csignal>
#include <sys/prctl.h>

class Faults : public QObject
{
    Q_OBJECT
    QTemporaryDir session_; // the desktop session's runtime directory and home
    QStringList expected_;  // the first row's hand: every row plays the same one to the same end
    const QString here_ = QCoreApplication::applicationDirPath();
    // What the stand-in opener has written down so far.
    static QByteArray opened()
    {
        QFile log(qEnvironmentVariable("LOZETTA_OPENER_LOG"));
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!QFile::exists(here_ + "/Instrucciones.htm"));
        const QByteArray session = QFile::encodeName(session_.path());
        for (const char* name : {"XDG_RUNTIME_DIR", "HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"})
            qputenv(name, session);
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + session + "/bus");
        qputenv("PULSE_SERVER", "unix:" + session + "/pulse/native"); // in some rows, nobody
    }
    // First: the desktop services keep the opener they have found for the rest of the process.
    // The sound server ("+": restarted in mid-match, after a tile heard); the sound file: the bytes
    // kept of the good one ("whole", none, or a link), then "AT=BYTES".
    void aHand_data()
    {
        addRows({"server", "opener", "presses of Ctrl+S", "place", "file", "patch"},
                {"no opener on the PATH|none|0|0|||", "another directory, no sound|none|1|0|||",
                 "a directory nothing can be written to|none|1|0|/proc||",
                 "PulseAudio|pulse|1|0||whole|", "PipeWire|pipewire|1|0||whole|",
                 "PulseAudio restarted|pulse+|1|0||whole|",
                 "PipeWire restarted|pipewire+|1|0||whole|", "sound off|pulse|1|1||whole|",
                 "sound off and on|pulse|1|2||whole|", "no sound file, a sound server|pulse|1|0|||",
                 "no sound server|none|1|0||whole|", "empty|none|1|0||0|",
                 "cut in its header|none|1|0||30|", "cut in its sound|none|1|0||5001|",
                 "in no known format|none|1|0||whole|20=U",
                 "data longer than the file|none|1|0||44|40=%FF%FF%FF%FF",
                 "not a sound|none|1|0||0|0=<html>No es un sonido.</html>",
                 "endless|none|1|0||/dev/zero|",
                 "a good header, then 200 MB|none|1|0||44|209715199=%00"});
    }
    void aHand();
    void noDisplay_data()
    {
        addRows({"setting"},
                {"no display named|", "an X display that is not there|DISPLAY=:987",
                 "a Wayland display that is not there|WAYLAND_DISPLAY=lozetta-nowhere"});
    }
    void noDisplay();
};

void Faults::aHand()
{
    QFile good(here_ + "/../ficha.wav");
    QVERIFY(good.open(QIODevice::ReadOnly));
    QTemporaryDir elsewhere, noOpener;
    QFile file(elsewhere.filePath("ficha.wav"));
    const QByteArray kept = good.read(cell("file") == "whole" ? good.size() : number("file"));
    const QStringList patch = cell("patch").split('=');
    if (cell("file") == "/dev/zero")
        QVERIFY(QFile::link("/dev/zero", file.fileName()));
    else if (!cell("file").isEmpty())
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kept) >= 0 &&
                file.seek(patch[0].toLongLong()) &&
                file.write(QByteArray::fromPercentEncoding(patch.value(1).toLatin1())) >= 0);
    file.close();
    QVERIFY(QDir::setCurrent(cell("place").isEmpty() ? elsewhere.path() : cell("place")));
    const QStringList files = QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    // The server's processes, each "SOCKET PROGRAM ARGUMENT..." once the socket before it is
    // there ("-": none), then a null sink for a sound card and a listener on it.
    const QHash<QString, QStringList> servers{
        {"pulse",
         {"pulse/native pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no "
          "--load=module-native-protocol-unix"}},
        {"pipewire",
         {"bus dbus-daemon --session --nofork --nopidfile --address=" +
              qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"),
          "pipewire-0 pipewire", "- wireplumber", "pulse/native pipewire-pulse"}}};
    QByteArray recorded; // before the server: the listener's last words still reach it
    std::vector<std::unique_ptr<QProcess>> server;
    const auto spawn = [&](const QString& command) {
        auto& process = server.emplace_back(std::make_unique<QProcess>());
        process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process->startCommand(command);
        return process->waitForStarted();
    };
    const auto loud = [&recorded] {
        const auto* samples = reinterpret_cast<const qint16*>(recorded.constData());
        return std::any_of(samples, samples + recorded.size() / 2,
                           [](qint16 sample) { return qAbs(int(sample)) > 64; });
    };
    shell::SystemSound sound; // the game's, kept through a restart of the server ("+")
    const bool restarted = cell("server").endsWith('+');
    for (int start = 0; start <= int(restarted); ++start) {
        if (start == 1) { // a tile heard, then the server gone and back in mid-match
            sound.sndPlaySound("ficha.wav", shell::SND_ASYNC);
            QVERIFY2(QTest::qWaitFor(loud, 20000), "the tile before the restart was not heard");
            server.clear();
            recorded.clear();
        }
        for (const QString& command : servers.value(cell("server").chopped(int(restarted)))) {
            const QString socket = session_.filePath(command.section(' ', 0, 0));
            QFile::remove(socket); // one left by an earlier server is no sign of this one
            QVERIFY(spawn(command.section(' ', 1)));
            QTRY_VERIFY_WITH_TIMEOUT(command.startsWith("- ") || QFile::exists(socket), 20000);
        }
        if (server.empty())
            break;
        QTRY_VERIFY_WITH_TIMEOUT(QProcess::execute("pactl", {"load-module", "module-null-sink",
                                                             "sink_name=lozetta"}) == 0,
                                 20000);
        // PipeWire's session manager makes it the default a moment later; a tile before that
        // would go nowhere anyone listens.
        const auto defaultSink = [] {
            QProcess pactl;
            pactl.start("pactl", {"get-default-sink"});
            return pactl.waitForFinished() ? pactl.readAllStandardOutput().trimmed() : "";
        };
        QTRY_COMPARE_WITH_TIMEOUT(defaultSink(), QByteArray("lozetta"), 20000);
        QVERIFY(spawn("parec --raw --format=s16le --latency-msec=20 --device=lozetta.monitor"));
        connect(server.back().get(), &QProcess::readyReadStandardOutput, this,
                [&recorded, listener = server.back().get()] {
                    recorded += listener->readAllStandardOutput();
                });
        QTRY_VERIFY_WITH_TIMEOUT(!recorded.isEmpty(), 20000); // silence flows: it listens
    }

    const qsizetype before = opened().size(); // each row waits for its own record below
    shell::DesktopShell documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    form.show();
    form.settings = {MatchSettings::kPuntos, 100, {}};
    form.matchActive = kTrue;
    form.random.seed(7);
    std::mt19937 dice(7);
    for (int press = 0; press < number("presses of Ctrl+S"); ++press)
        QVERIFY(pressShortcut(form, Qt::CTRL | Qt::Key_S));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", number("opener") ? path : QFile::encodeName(noOpener.path()));
    form.Command1_Click();
    form.MnuHow->trigger();
    const bool ended = playHandToItsEnd(form, dice, 1000);
    qputenv("PATH", path);
    QVERIFY(ended && !watch.messages.empty());
    QStringList seen = watch.messages;
    for (int seat = 0; seat < 4; ++seat)
        seen << form.Label2(seat)->Caption();
    if (expected_.isEmpty())
        expected_ = seen;
    QCOMPARE(seen, expected_);
    QVERIFY2(!seen.join('\n').contains("Instrucciones"), "a word about the missing page");
    // The page is asked for where the program stands, even though it is missing.
    const QString page = QUrl::fromLocalFile(here_ + "/Instrucciones.htm").toString();
    QTRY_COMPARE_WITH_TIMEOUT(QString(opened().mid(before)),
                              number("opener") ? "xdg-open\t" + page + '\n' : QString(), 20000);
    if (cell("place").isEmpty())
        QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), files);
    const bool heard = cell("file") == "whole" && number("presses of Ctrl+S") % 2 == 0;
    QVERIFY2(server.empty() || QTest::qWaitFor(loud, heard ? 20000 : 1500) == heard,
             heard ? "the tile was not heard" : "a tile was heard");
    // Heard, the sound lets go of everything by itself, the game still open: nothing wakes later.
    const auto soundThread = [] {
        const QStringList tasks =
            QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        return std::any_of(tasks.begin(), tasks.end(), [](const QString& task) {
            QFile name("/proc/self/task/" + task + "/comm");
            return name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "sonido";
        });
    };
    QVERIFY2(QTest::qWaitFor([&] { return !soundThread(); }, 20000), "the sound stayed");
}

void Faults::noDisplay()
{
    QProcess program;
    program.startCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + cell("setting") +
                         " \"" + here_ + "/../lozetta\"");
    QVERIFY(program.waitForFinished(60000));
    const QString said = QString::fromLocal8Bit(program.readAllStandardError()).trimmed();
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() != 0,
             qPrintable(said));
    QVERIFY2(said.section('\n', -1).startsWith("lozetta: no hay pantalla"), qPrintable(said));
    QVERIFY(!cell("setting").isEmpty() || !said.contains('\n'));
}

QTEST_MAIN(Faults)
#include "test_faults.moc"
