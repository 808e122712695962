// The tile sound played through a real sound server, as on a player's desktop: a private
// PulseAudio server with a null sink stands in for the sound card, and the test listens to what
// reaches it.

#include "shell/tilesound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <sys/prctl.h>

namespace
{

const QString kSink = QStringLiteral("lozetta_null");

// The sound tools' messages are read back, so they speak the C locale whatever the test's own.
QProcessEnvironment untranslated()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return environment;
}

// A helper process that dies with the test, whatever way the test ends.
std::unique_ptr<QProcess> helper(const QString& program, const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(untranslated());
    process->setProgram(program);
    process->setArguments(arguments);
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    return process;
}

// Runs pactl against the private server; its output, or empty when it failed.
QString pactl(const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(untranslated());
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Whether a stretch of signed 16-bit samples holds anything louder than the faintest hiss.
bool hasSound(const QByteArray& pcm)
{
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    for (qsizetype i = 0; i < pcm.size() / 2; ++i) {
        if (qAbs(int(samples[i])) > 64)
            return true;
    }
    return false;
}

} // namespace

class RealSound : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void theFileIsTheOneWhereTheGameStoodWhenItAsked_data();
    void theFileIsTheOneWhereTheGameStoodWhenItAsked();

private:
    // Starts listening: every new stream is announced, and the sink's sound is recorded.
    bool listen();
    void stopListening();
    QStringList newStreams() const;

    QTemporaryDir dir_;
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> events_;
    std::unique_ptr<QProcess> recorder_;
    QByteArray recorded_;
    QString home_;
};

void RealSound::initTestCase()
{
    QVERIFY(dir_.isValid());
    home_ = QDir::currentPath();
    const QString socket = dir_.filePath(QStringLiteral("native"));
    QFile script(dir_.filePath(QStringLiteral("server.pa")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("load-module module-null-sink sink_name=%1\n"
                                "load-module module-native-protocol-unix auth-anonymous=1 "
                                "socket=%2\n"
                                "set-default-sink %1\n")
                     .arg(kSink, socket)
                     .toUtf8());
    script.close();
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("home")));
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("runtime")));
    QVERIFY(QFile::setPermissions(dir_.filePath(QStringLiteral("runtime")),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ExeOwner));

    // Its own home and runtime directory, so that it meets no other server of this user.
    server_ = helper(QStringLiteral("pulseaudio"),
                     QStringLiteral("--daemonize=no --exit-idle-time=-1 --use-pid-file=no "
                                    "--disallow-exit --log-target=stderr -n -F")
                             .split(QLatin1Char(' '))
                         << script.fileName());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir_.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("home")));
    environment.remove(QStringLiteral("PULSE_SERVER"));
    server_->setProcessEnvironment(environment);
    server_->setProcessChannelMode(QProcess::MergedChannels);
    server_->start();
    QVERIFY2(server_->waitForStarted(10000),
             "pulseaudio could not be started: the set-up script installs it");

    // Everything this process plays from now on goes to that server and nowhere else.
    qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
    const bool up =
        QTest::qWaitFor([] { return !pactl({QStringLiteral("info")}).isEmpty(); }, 20000);
    QVERIFY2(up, server_->readAll().constData());

    // The bare file name is looked up where the process stands: beside the program.
    QVERIFY(QDir::setCurrent(QCoreApplication::applicationDirPath()));
    QVERIFY2(QFile::exists(QStringLiteral("ficha.wav")),
             "the build puts ficha.wav beside the program");
}

void RealSound::cleanupTestCase()
{
    stopListening();
    if (server_) {
        server_->terminate();
        server_->waitForFinished(5000);
    }
    QDir::setCurrent(home_);
}

bool RealSound::listen()
{
    stopListening();
    recorded_.clear();
    events_ = helper(QStringLiteral("pactl"), {QStringLiteral("subscribe")});
    events_->start();
    recorder_ = helper(QStringLiteral("parec"),
                       QStringLiteral("--raw --format=s16le --rate=44100 --channels=1 "
                                      "--latency-msec=20 --device=%1.monitor")
                           .arg(kSink)
                           .split(QLatin1Char(' ')));
    connect(recorder_.get(), &QProcess::readyReadStandardOutput, this,
            [this] { recorded_ += recorder_->readAllStandardOutput(); });
    recorder_->start();
    if (!events_->waitForStarted(10000) || !recorder_->waitForStarted(10000))
        return false;
    // Both listen once the server knows them as its clients and sound is flowing to the
    // recorder: the sink renders in long blocks until a listener asks for short ones.
    const QString watcher = QStringLiteral("application.process.id = \"%1\"");
    return QTest::qWaitFor(
        [&] {
            const QString clients = pactl({QStringLiteral("list"), QStringLiteral("clients")});
            return clients.contains(watcher.arg(events_->processId())) &&
                   clients.contains(watcher.arg(recorder_->processId())) && recorded_.size() > 0;
        },
        20000);
}

void RealSound::stopListening()
{
    for (auto* process : {recorder_.get(), events_.get()}) {
        if (process) {
            process->terminate();
            process->waitForFinished(5000);
        }
    }
}

QStringList RealSound::newStreams() const
{
    QStringList streams;
    const QString seen = QString::fromUtf8(events_->peek(1 << 20));
    for (const QString& line : seen.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Event 'new' on sink-input")))
            streams << line;
    }
    return streams;
}

void RealSound::theFileIsTheOneWhereTheGameStoodWhenItAsked_data()
{
    QTest::addColumn<bool>("beside");
    // The sound is played on a thread of its own, later; the process moves on at once.
    QTest::newRow("asked beside the file, then moved away at once") << true;
    // The bare name finds no file: no sound, and no complaint.
    QTest::newRow("asked from another directory") << false;
}

void RealSound::theFileIsTheOneWhereTheGameStoodWhenItAsked()
{
    QFETCH(bool, beside);
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString programDirectory = QCoreApplication::applicationDirPath();
    QVERIFY(QDir::setCurrent(beside ? programDirectory : elsewhere.path()));
    QVERIFY(listen());
    QVERIFY(newStreams().isEmpty());
    QVERIFY(!hasSound(recorded_));

    shell::SystemSound sound;
    sound.sndPlaySound(QStringLiteral("ficha.wav"), shell::SND_ASYNC);
    QVERIFY(QDir::setCurrent(beside ? elsewhere.path() : programDirectory));

    if (beside) {
        // A stream reached the server, it is this program's, and the sound came through.
        QTRY_COMPARE_WITH_TIMEOUT(newStreams().size(), 1, 15000);
        QVERIFY(pactl({QStringLiteral("list"), QStringLiteral("sink-inputs")})
                    .contains(QStringLiteral("application.process.id = \"%1\"")
                                  .arg(QCoreApplication::applicationPid())));
        QTRY_VERIFY_WITH_TIMEOUT(hasSound(recorded_), 15000);
    } else {
        QTest::qWait(1500);
        QVERIFY(newStreams().isEmpty());
        QVERIFY(!hasSound(recorded_));
    }
    QVERIFY(QDir::setCurrent(programDirectory));
}

QTEST_MAIN(RealSound)
#include "test_realsound.moc"
