#pragma once

#include "table/vbtypes.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <memory>

class QAudioSink;

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
    QByteArray samples_;
    QBuffer buffer_;
    // Declared last so that it stops before the samples it reads go away.
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace shell
