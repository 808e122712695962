#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <pulse/sample.h>

namespace shell
{

// A RIFF WAVE file's samples, in the sound server's own terms.
struct Wave {
    pa_sample_spec sampleFormat{};
    QByteArray samples;
};

// The bytes of one frame: a sample of every channel, for the formats that readWave gives.
int frameBytes(const pa_sample_spec& sampleFormat);

// The samples of an uncompressed WAVE file (8, 16, 24 or 32-bit integers, 32-bit floats); nothing
// when the file is missing, cut short or anything else.
std::optional<Wave> readWave(const QString& path);

} // namespace shell
