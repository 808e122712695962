#pragma once

#include "table/vbtypes.h"

#include <QString>
#include <memory>

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
class SystemSound : public SoundService
{
public:
    SystemSound();
    ~SystemSound() override;
    void sndPlaySound(const QString& file, Int16 flags) override;

private:
    std::unique_ptr<SoundService> player_;
    bool loaded_ = false;
};

} // namespace shell
