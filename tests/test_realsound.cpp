// The tile sound through a real sound server, as on a player's desktop: PulseAudio, or PipeWire
// with its PulseAudio server, started here with a runtime directory and a session bus of their
// own and a null sink for a sound card; the test listens to what reaches that sink.

#include "shell/tilesound.h"
#include "support/table.h"
#include "table/form1.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/prctl.h>

namespace
{

const QString kSink = QStringLiteral("lozetta_null");
constexpr int kStartMs = 20000;
constexpr int kQuietMs = 1500;
constexpr int kFaintest = 64;

bool pactl(const QString& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments.split(QLatin1Char(' ')));
    return process.waitForFinished(kStartMs) && process.exitCode() == 0;
}

} // namespace

class RealSound : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void tileSounds_data();
    void tileSounds();

private:
    // Stops the server that runs, if any, and starts the given one's processes, each "SOCKET
    // PROGRAM ARGUMENT..." once the socket before it is there ("-": none); listens to its sink.
    bool startServer(const QStringList& commands);
    // A helper that dies with the test, whatever way the test ends; killed when let go.
    QProcess* spawn(const QStringList& words);

    // The desktop session's own runtime directory and home: the servers and the game meet there.
    QTemporaryDir dir_;
    // Declared first: the listener's last words still reach it as it is let go.
    QByteArray recorded_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

void RealSound::initTestCase()
{
    QVERIFY(dir_.isValid());
    for (const char* name : {"XDG_RUNTIME_DIR", "HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"})
        qputenv(name, QFile::encodeName(dir_.path()));
    qputenv("DBUS_SESSION_BUS_ADDRESS", QFile::encodeName("unix:path=" + dir_.filePath("bus")));
    qunsetenv("PULSE_SERVER");
    QVERIFY(QDir::setCurrent(QCoreApplication::applicationDirPath()));
    QVERIFY2(QFile::exists(QStringLiteral("ficha.wav")), "the build puts it beside the program");
}

QProcess* RealSound::spawn(const QStringList& words)
{
    auto& process = processes_.emplace_back(std::make_unique<QProcess>());
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process->start(words.first(), words.mid(1));
    return process->waitForStarted(kStartMs) ? process.get() : nullptr;
}

bool RealSound::startServer(const QStringList& commands)
{
    processes_.clear();
    for (const QString& command : commands) {
        const QStringList words = command.split(QLatin1Char(' '));
        // One left by the server's last run is no sign of this one.
        const QString socket = dir_.filePath(words.first());
        QFile::remove(socket);
        if (!spawn(words.mid(1)) ||
            !QTest::qWaitFor([&] { return words[0] == "-" || QFile::exists(socket); }, kStartMs))
            return false;
    }
    // Each step waits for the one before it to have settled in the server.
    const auto settled = [](const QString& command) {
        return QTest::qWaitFor([&] { return pactl(command); }, kStartMs);
    };
    QProcess* listener = nullptr;
    if (!settled("load-module module-null-sink sink_name=" + kSink) ||
        !settled("set-default-sink " + kSink) ||
        !(listener =
              spawn(("parec --raw --format=s16le --latency-msec=20 --device=" + kSink + ".monitor")
                        .split(QLatin1Char(' ')))))
        return false;
    connect(listener, &QProcess::readyReadStandardOutput, this,
            [this, listener] { recorded_ += listener->readAllStandardOutput(); });
    // Listening once sound, silence for now, flows from the sink.
    const qsizetype before = recorded_.size();
    return QTest::qWaitFor([&] { return recorded_.size() > before; }, kStartMs);
}

void RealSound::tileSounds_data()
{
    QTest::addColumn<QStringList>("server");
    QTest::newRow("PulseAudio") << QStringList{
        "pulse/native pulseaudio --daemonize=no --exit-idle-time=-1 --use-pid-file=no "
        "--disallow-exit -n --load=module-native-protocol-unix"};
    QTest::newRow("PipeWire") << QStringList{
        "bus dbus-daemon --session --nofork --nopidfile --address=" +
            qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"),
        "pipewire-0 pipewire", "- wireplumber", "pulse/native pipewire-pulse"};
}

void RealSound::tileSounds()
{
    QFETCH(QStringList, server);
    QVERIFY2(startServer(server), "the set-up script installs both servers");
    shell::SystemSound sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    form.show();
    form.settings.matchKind = MatchSettings::kPuntos;
    form.settings.matchTarget = 999;
    form.matchActive = kTrue;
    form.Command1->show();
    std::mt19937 dice(7);
    // A hand played to its end on the table, and whether its tiles were heard by the given time.
    const auto handHeard = [&](int withinMs) {
        const qsizetype mark = recorded_.size() / 2;
        const auto louder = [](qint16 sample) { return qAbs(int(sample)) > kFaintest; };
        const auto heard = [&] {
            const auto* samples = reinterpret_cast<const qint16*>(recorded_.constData());
            return std::any_of(samples + mark, samples + recorded_.size() / 2, louder);
        };
        QTest::mouseClick(form.Command1, Qt::LeftButton);
        return playHandToItsEnd(form, dice, 1000) && QTest::qWaitFor(heard, withinMs);
    };

    QVERIFY(handHeard(kStartMs));
    QTest::qWait(kQuietMs);
    // "Sonido" off, then a missing file: silence.
    QVERIFY(pressShortcut(form, Qt::CTRL | Qt::Key_S));
    QVERIFY(!handHeard(kQuietMs));
    QVERIFY(pressShortcut(form, Qt::CTRL | Qt::Key_S));
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    QVERIFY(!handHeard(kQuietMs));
    QVERIFY(QDir::setCurrent(QCoreApplication::applicationDirPath()));
    // The server goes and comes back in the middle of the match: the next hand is heard.
    QVERIFY(startServer(server));
    QVERIFY(handHeard(kStartMs));
}

QTEST_MAIN(RealSound)
#include "test_realsound.moc"
