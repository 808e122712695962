#pragma once

#include "table/vbtypes.h"

#include <QString>
#include <memory>
#include <mutex>

class QObject;
class QThread;

namespace shell
{

// Play in the background and return at once.
constexpr Int16 SND_ASYNC = 1;

class SoundService
{
public:
    virtual ~SoundService() = default;
    // A missing or unplayable file, or no audio device, is silence and never an error.
    virtual void sndPlaySound(const QString& file, Int16 flags) = 0;
};

// The desktop's sound server. The audio stack, Qt's and the sound server's own libraries, is
// only brought up by the first sound: it sits in a module of its own, so that starting the game
// neither waits for it nor even loads it. Without the module the game is silent.
//
// Everything the sound costs happens on a thread of its own, started by the first sound: loading
// the module, reading the file and setting up a stream with the server, which waits on the
// server's answer. The caller only hands the file over; should sounds come faster than that
// thread takes them, the latest is the one played.
class SystemSound : public SoundService
{
public:
    SystemSound();
    ~SystemSound() override;
    SystemSound(const SystemSound&) = delete;
    SystemSound& operator=(const SystemSound&) = delete;
    void sndPlaySound(const QString& file, Int16 flags) override;

private:
    // On the sound thread: plays the latest file handed over.
    void playLatest();

    std::unique_ptr<QThread> thread_;
    // Lives on the sound thread: the requests are posted to it.
    std::unique_ptr<QObject> inbox_;

    std::mutex mutex_;
    QString latest_;
    Int16 latestFlags_ = 0;
    bool posted_ = false;

    // Sound thread only.
    std::unique_ptr<SoundService> player_;
    bool loaded_ = false;
};

} // namespace shell
