#pragma once

#include "table/vbtypes.h"

#include <QString>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace shell
{

class PulseConnection;

// Play in the background and return at once.
constexpr Int16 SND_ASYNC = 1;

class SoundService
{
public:
    virtual ~SoundService() = default;
    // A missing or unplayable file, or no audio device, is silence and never an error.
    virtual void sndPlaySound(const QString& file, Int16 flags) = 0;
};

// The desktop's sound server, PulseAudio or PipeWire's stand-in for it, in its native protocol,
// on its local socket. The caller only hands over the file's full name: a thread of the sound's own
// reads it, connects and plays it, and lets go of the stream, the connection and itself once the
// sound has been heard and nothing more is asked for, so that nothing wakes while the game waits. A
// sound asked for while another plays, or before it has started, replaces it.
class SystemSound : public SoundService
{
public:
    SystemSound();
    ~SystemSound() override;
    SystemSound(const SystemSound&) = delete;
    SystemSound& operator=(const SystemSound&) = delete;
    void sndPlaySound(const QString& file, Int16 flags) override;

private:
    // On the sound thread.
    void run();
    std::optional<QString> take();
    void play(const QString& path);
    void disconnect();
    bool superseded();
    bool quitting();

    std::thread thread_;
    std::mutex mutex_;
    std::optional<QString> pending_;
    bool running_ = false;
    bool quitting_ = false;
    // Made and let go by the sound thread alone, always under the lock, so that a new sound can
    // wake it.
    std::unique_ptr<PulseConnection> connection_;
};

} // namespace shell
