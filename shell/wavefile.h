#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <optional>

namespace shell
{

// The sample formats a WAVE file may hold, by the numbers the sound server knows them by.
enum class SampleFormat : quint8 { U8 = 0, S16LE = 3, Float32LE = 5, S32LE = 7, S24LE = 9 };

struct SampleLayout {
    SampleFormat format = SampleFormat::U8;
    quint32 rate = 0;
    quint8 channels = 0;
};

// A RIFF WAVE file's samples, in the sound server's own terms.
struct Wave {
    SampleLayout sampleFormat;
    QByteArray samples;
};

// The bytes of one frame: a sample of every channel, for the formats that readWave gives.
int frameBytes(const SampleLayout& sampleFormat);

// How long the samples last when played, to the millisecond.
std::chrono::milliseconds playingTime(const Wave& wave);

// The samples of an uncompressed WAVE file (8, 16, 24 or 32-bit integers, 32-bit floats); nothing
// when the file is missing, cut short or anything else.
std::optional<Wave> readWave(const QString& path);

} // namespace shell
