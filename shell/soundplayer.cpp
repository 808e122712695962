// The tile sound's player: the file's samples through Qt's audio sink, on the desktop's sound
// server. It is built as a module of its own, which the first sound loads (see tilesound.h), and
// it is made, played and let go on the sound thread: the sink waits there on the server.

#include "shell/soundmodule.h"
#include "shell/tilesound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <memory>
#include <optional>

namespace shell
{

namespace
{

struct Wave {
    QAudioFormat format;
    QByteArray samples;
};

quint16 read16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 read32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// The sample format of a RIFF WAVE file's "fmt " chunk, when it is one the sink can play.
std::optional<QAudioFormat> formatOf(const QByteArray& fmt)
{
    constexpr quint16 kPcm = 1;
    constexpr quint16 kFloat = 3;
    constexpr quint16 kExtensible = 0xFFFE;
    if (fmt.size() < 16)
        return std::nullopt;
    quint16 tag = read16(fmt, 0);
    if (tag == kExtensible && fmt.size() >= 26)
        tag = read16(fmt, 24); // the sub-format's leading field
    const quint16 channels = read16(fmt, 2);
    const quint32 rate = read32(fmt, 4);
    const quint16 bits = read16(fmt, 14);

    QAudioFormat format;
    format.setChannelCount(channels);
    format.setSampleRate(static_cast<int>(rate));
    if (tag == kPcm && bits == 8)
        format.setSampleFormat(QAudioFormat::UInt8);
    else if (tag == kPcm && bits == 16)
        format.setSampleFormat(QAudioFormat::Int16);
    else if (tag == kPcm && bits == 32)
        format.setSampleFormat(QAudioFormat::Int32);
    else if (tag == kFloat && bits == 32)
        format.setSampleFormat(QAudioFormat::Float);
    else
        return std::nullopt;
    if (channels == 0 || rate == 0)
        return std::nullopt;
    return format;
}

// A tile's click lasts a tenth of a second; no more than this is ever read of the file, so that
// a huge file, or one that never ends (a link to /dev/zero), costs no more than a sound should.
constexpr qint64 kLongestSoundBytes = qint64{16} * 1024 * 1024;

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

    std::optional<QAudioFormat> format;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = read32(bytes, at + 4);
        const QByteArray body = bytes.mid(at + 8, size);
        if (id == "fmt ")
            format = formatOf(body);
        else if (id == "data" && format)
            return Wave{*format, body};
        at += 8 + size + (size & 1); // chunks are padded to even sizes
    }
    return std::nullopt;
}

// The sink is only let go once the click has surely been heard: stopping it sooner drops what
// the sound server still holds, a quarter of a second on a stock PulseAudio, which for a click
// this short is all of it. Kept any longer, the server's client would go on ticking while the
// game waits for the player.
constexpr int kHeardAfterMs = 1000;
constexpr qint64 kMicrosPerMilli = 1000;

class SinkPlayer : public SoundService
{
public:
    SinkPlayer()
    {
        release_.setSingleShot(true);
        QObject::connect(&release_, &QTimer::timeout, &release_, [this] { release(); });
    }
    ~SinkPlayer() override { release(); }

    void sndPlaySound(const QString& file, Int16) override
    {
        // A new sound replaces one still playing.
        release();

        // The caller has already found the file where the process stood when it asked.
        const std::optional<Wave> wave = readWave(file);
        if (!wave)
            return;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(wave->format))
            return;

        samples_ = wave->samples;
        buffer_.setBuffer(&samples_);
        buffer_.open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, wave->format);
        sink_->start(&buffer_);
        // No more than kLongestSoundBytes were read, so the length fits the toolkit's 32 bits.
        const qint64 lengthMs =
            wave->format.durationForBytes(static_cast<qint32>(samples_.size())) / kMicrosPerMilli;
        release_.start(static_cast<int>(lengthMs) + kHeardAfterMs);
    }

private:
    void release()
    {
        release_.stop();
        // Stopped before it goes: the sink lets pending events through while it is destroyed,
        // and one that finds it still playing asks its closed stream for room and aborts.
        if (sink_)
            sink_->stop();
        sink_.reset();
        buffer_.close();
    }

    QByteArray samples_;
    QBuffer buffer_;
    QTimer release_;
    // Declared last so that it stops before the samples it reads go away.
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace

} // namespace shell

extern "C" Q_DECL_EXPORT shell::SoundService* lozetta_sound_player()
{
    return new shell::SinkPlayer;
}
