#pragma once

#include "table/vbtypes.h"

#include <QString>
#include <memory>

class QSoundEffect;

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

// The desktop's sound server. The audio stack is only brought up by the first sound, so that
// starting the game does not wait for it.
class SystemSound : public SoundService
{
public:
    SystemSound();
    ~SystemSound() override;
    void sndPlaySound(const QString& file, Int16 flags) override;

private:
    std::unique_ptr<QSoundEffect> effect_;
};

} // namespace shell
