// The tile sound through a real sound server, as on a player's desktop: PulseAudio, or PipeWire
// with its PulseAudio server, started here with a runtime directory and a session bus of their
// own and a null sink for a sound card; the test listens to what reaches that sink.

#include "shell/tilesound.h"
#include "support/modalwatch.h"
#include "support/playerseat.h"
#include "support/recorders.h"
#include "table/form1.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
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
    return process.waitForFinished(kStartMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
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
    // Starts the server's processes, each "SOCKET PROGRAM ARGUMENT..." once the socket before it
    // is there ("-": none), and listens to its null sink.
    bool startServer(const QStringList& commands);
    void stopServer();
    // Whether anything louder than a hiss has reached the sink since the given byte.
    bool heardSince(qsizetype from) const;
    // A hand dealt and played to its end on the table.
    bool playHand();

    QTemporaryDir dir_;
    std::vector<std::unique_ptr<QProcess>> processes_;
    QByteArray recorded_;
    std::unique_ptr<shell::SystemSound> sound_;
    DocumentRecorder documents_;
    std::unique_ptr<Form1> form_;
    std::mt19937 dice_{7};
};

void RealSound::initTestCase()
{
    QVERIFY(dir_.isValid());
    // The desktop session's own directories: the servers and the game meet in them.
    const QString runtime = dir_.filePath(QStringLiteral("runtime"));
    QVERIFY(QDir().mkpath(runtime) &&
            QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        qputenv(name, QFile::encodeName(dir_.path()));
    qputenv("DBUS_SESSION_BUS_ADDRESS", QFile::encodeName("unix:path=" + runtime + "/bus"));
    qunsetenv("PULSE_SERVER");
    QVERIFY(QDir::setCurrent(QCoreApplication::applicationDirPath()));
    QVERIFY2(QFile::exists(QStringLiteral("ficha.wav")), "the build puts it beside the program");
}

bool RealSound::startServer(const QStringList& commands)
{
    const QDir runtime(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    for (const QString& command : commands) {
        QStringList words = command.split(QLatin1Char(' '));
        auto& process = processes_.emplace_back(std::make_unique<QProcess>());
        process->setProgram(words.at(1));
        process->setArguments(words.mid(2));
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process->start();
        const QString socket = runtime.filePath(words.at(0));
        if (!process->waitForStarted(kStartMs) ||
            !QTest::qWaitFor([&] { return words[0] == "-" || QFile::exists(socket); }, kStartMs))
            return false;
    }
    if (!QTest::qWaitFor([] { return pactl(QStringLiteral("info")); }, kStartMs) ||
        !pactl("load-module module-null-sink sink_name=" + kSink) ||
        !pactl("set-default-sink " + kSink))
        return false;
    auto& listener = processes_.emplace_back(std::make_unique<QProcess>());
    connect(listener.get(), &QProcess::readyReadStandardOutput, this,
            [this, &listener] { recorded_ += listener->readAllStandardOutput(); });
    listener->start(QStringLiteral("parec"),
                    {QStringLiteral("--raw"), "--device=" + kSink + ".monitor",
                     QStringLiteral("--format=s16le"), QStringLiteral("--latency-msec=20")});
    // Listening once sound, silence for now, flows from the sink.
    const qsizetype before = recorded_.size();
    return QTest::qWaitFor([&] { return recorded_.size() > before; }, kStartMs);
}

void RealSound::stopServer()
{
    while (!processes_.empty()) {
        processes_.back()->terminate();
        processes_.back()->waitForFinished(kStartMs);
        processes_.pop_back();
    }
}

bool RealSound::heardSince(qsizetype from) const
{
    const auto* samples = reinterpret_cast<const qint16*>(recorded_.constData());
    for (qsizetype i = from / 2; i < recorded_.size() / 2; ++i) {
        if (qAbs(int(samples[i])) > kFaintest)
            return true;
    }
    return false;
}

bool RealSound::playHand()
{
    QTest::mouseClick(form_->Command1, Qt::LeftButton);
    return playHandToItsEnd(*form_, dice_, 1000);
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
    sound_ = std::make_unique<shell::SystemSound>();
    form_ = std::make_unique<Form1>(*sound_, documents_);
    ModalWatch watch;
    form_->show();
    form_->settings.matchKind = MatchSettings::kPuntos;
    form_->settings.matchTarget = 999;
    form_->matchActive = kTrue;
    form_->Command1->show();

    qsizetype mark = recorded_.size();
    QVERIFY(playHand());
    QTRY_VERIFY_WITH_TIMEOUT(heardSince(mark), kStartMs);

    // "Sonido" off, then a missing file: silence.
    QTest::qWait(kQuietMs);
    QVERIFY(useMenu(*form_, form_->MnuSound, Reach::Shortcut));
    mark = recorded_.size();
    QVERIFY(playHand());
    QTest::qWait(kQuietMs);
    QVERIFY(!heardSince(mark));
    QVERIFY(useMenu(*form_, form_->MnuSound, Reach::Shortcut));
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    QVERIFY(playHand());
    QTest::qWait(kQuietMs);
    QVERIFY(!heardSince(mark));
    QVERIFY(QDir::setCurrent(QCoreApplication::applicationDirPath()));

    // The server goes and comes back in the middle of the match: the next hand is heard.
    stopServer();
    QVERIFY(startServer(server));
    mark = recorded_.size();
    QVERIFY(playHand());
    QTRY_VERIFY_WITH_TIMEOUT(heardSince(mark), kStartMs);

    form_.reset();
    sound_.reset();
    stopServer();
}

QTEST_MAIN(RealSound)
#include "test_realsound.moc"
