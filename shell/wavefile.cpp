#include "shell/wavefile.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>

namespace shell
{

namespace
{

quint16 read16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 read32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

std::optional<SampleFormat> sampleFormat(quint16 tag, quint16 bits)
{
    constexpr quint16 kPcm = 1;
    constexpr quint16 kFloat = 3;
    if (tag == kFloat && bits == 32)
        return SampleFormat::Float32LE;
    if (tag != kPcm)
        return std::nullopt;
    switch (bits) {
    case 8:
        return SampleFormat::U8;
    case 16:
        return SampleFormat::S16LE;
    case 24:
        return SampleFormat::S24LE;
    case 32:
        return SampleFormat::S32LE;
    default:
        return std::nullopt;
    }
}

// What the sound server takes.
constexpr quint16 kMostChannels = 32;
constexpr quint32 kHighestRate = 48'000 * 16;

} // namespace

int frameBytes(const SampleLayout& sampleFormat)
{
    constexpr int kWideSample = 4;
    int sampleBytes = kWideSample;
    if (sampleFormat.format == SampleFormat::U8)
        sampleBytes = 1;
    else if (sampleFormat.format == SampleFormat::S16LE)
        sampleBytes = 2;
    else if (sampleFormat.format == SampleFormat::S24LE)
        sampleBytes = 3;
    return sampleBytes * sampleFormat.channels;
}

std::chrono::milliseconds playingTime(const Wave& wave)
{
    const qint64 frames = wave.samples.size() / std::max(frameBytes(wave.sampleFormat), 1);
    return std::chrono::milliseconds{frames * 1000 / std::max(wave.sampleFormat.rate, 1u)};
}

namespace
{

// The sample format of a "fmt " chunk, when it is one the sound server plays.
std::optional<SampleLayout> layoutOf(const QByteArray& fmt)
{
    constexpr quint16 kExtensible = 0xFFFE;
    constexpr qsizetype kPlainSize = 16;
    constexpr qsizetype kExtensibleSize = 26;
    if (fmt.size() < kPlainSize)
        return std::nullopt;
    quint16 tag = read16(fmt, 0);
    if (tag == kExtensible && fmt.size() >= kExtensibleSize)
        tag = read16(fmt, 24); // the sub-format's leading field
    const quint16 channels = read16(fmt, 2);
    const quint32 rate = read32(fmt, 4);
    const std::optional<SampleFormat> format = sampleFormat(tag, read16(fmt, 14));
    if (!format || channels == 0 || channels > kMostChannels || rate == 0 || rate > kHighestRate)
        return std::nullopt;
    return SampleLayout{*format, rate, static_cast<quint8>(channels)};
}

// A tile's click lasts a tenth of a second; no more than this is ever read of the file, so that
// a huge file, or one that never ends (a link to /dev/zero), costs no more than a sound should.
constexpr qint64 kLongestSoundBytes = qint64{16} * 1024 * 1024;

// A file cut in the middle of a frame plays up to the last whole one; one with none is silence.
std::optional<Wave> wholeFrames(Wave wave)
{
    const qsizetype frame = qsizetype{frameBytes(wave.sampleFormat)};
    wave.samples.chop(wave.samples.size() % frame);
    if (wave.samples.isEmpty())
        return std::nullopt;
    return wave;
}

} // namespace

std::optional<Wave> readWave(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Asking for more than the file holds would still reserve all of it first.
    const qint64 wanted =
        file.isSequential() ? kLongestSoundBytes : std::min(file.size(), kLongestSoundBytes);
    const QByteArray bytes = file.read(wanted);
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;

    std::optional<SampleLayout> sampleFormat;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = read32(bytes, at + 4);
        const QByteArray body = bytes.mid(at + 8, size);
        if (id == "fmt ")
            sampleFormat = layoutOf(body);
        else if (id == "data" && sampleFormat)
            return wholeFrames(Wave{*sampleFormat, body});
        at += 8 + size + (size & 1); // chunks are padded to even sizes
    }
    return std::nullopt;
}

} // namespace shell
