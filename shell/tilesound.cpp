#include "shell/tilesound.h"

#include "shell/pulseconnection.h"
#include "shell/wavefile.h"

#include <QDir>
#include <chrono>
#include <pthread.h>
#include <sys/resource.h>
#include <utility>

namespace shell
{

namespace
{

// The sound thread yields to the table when both want the processor, so that a tile shows on
// time; on Linux the niceness of the calling thread alone is changed.
constexpr int kSoundNiceness = 10;
// What the thread is called in the system's lists of threads (top -H, /proc).
constexpr char kThreadName[] = "sonido";
// A click is set up a moment after it is asked for: the table is painting the tile then, and on a
// machine of two processors the click's setting up, here and in the sound server, slows the
// paint. The tile goes first; 2 ms later the click is still heard with it.
constexpr std::chrono::milliseconds kAfterTheTile{2};

} // namespace

SystemSound::SystemSound() = default;

SystemSound::~SystemSound()
{
    {
        // A sound not yet started when the game goes is never started.
        const std::lock_guard lock(mutex_);
        quitting_ = true;
        pending_.reset();
        if (connection_)
            connection_->wake();
    }
    if (thread_.joinable())
        thread_.join();
}

void SystemSound::sndPlaySound(const QString& file, Int16)
{
    // The bare name is looked up where the process stands now, not where the program lives nor
    // where it will stand when the sound thread gets to it.
    const QString path = QDir::current().absoluteFilePath(file);
    const std::lock_guard lock(mutex_);
    pending_ = path;
    if (running_) {
        if (connection_)
            connection_->wake();
        return;
    }
    // A thread from before has only to return: it said it was done as its last step.
    if (thread_.joinable())
        thread_.join();
    running_ = true;
    thread_ = std::thread(&SystemSound::run, this);
}

void SystemSound::run()
{
    setpriority(PRIO_PROCESS, 0, kSoundNiceness);
    pthread_setname_np(pthread_self(), kThreadName);
    while (const std::optional<QString> path = take())
        play(*path);
}

std::optional<QString> SystemSound::take()
{
    // Nothing more to play: the connection goes before the thread says it is done.
    if (quitting() || !superseded())
        disconnect();
    const std::lock_guard lock(mutex_);
    if (quitting_ || !pending_) {
        running_ = false;
        return std::nullopt;
    }
    return std::exchange(pending_, std::nullopt);
}

void SystemSound::play(const QString& path)
{
    std::this_thread::sleep_for(kAfterTheTile);
    if (superseded())
        return;
    const std::optional<Wave> wave = readWave(path);
    if (!wave)
        return;
    if (!connection_) {
        auto fresh = std::make_unique<PulseConnection>();
        {
            const std::lock_guard lock(mutex_);
            connection_ = std::move(fresh);
        }
        // A new sound waits for the connection it needs too; only the game's end cuts it short.
        if (!connection_->connect([this] { return quitting(); })) {
            disconnect();
            return;
        }
    }
    connection_->play(*wave, [this] { return superseded(); });
    // A server that has gone is connected to anew by the next sound.
    if (!connection_->alive())
        disconnect();
}

void SystemSound::disconnect()
{
    std::unique_ptr<PulseConnection> gone;
    const std::lock_guard lock(mutex_);
    gone = std::exchange(connection_, nullptr);
}

bool SystemSound::superseded()
{
    const std::lock_guard lock(mutex_);
    return quitting_ || pending_.has_value();
}

bool SystemSound::quitting()
{
    const std::lock_guard lock(mutex_);
    return quitting_;
}

} // namespace shell
