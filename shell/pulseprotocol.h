#pragma once

#include "shell/wavefile.h"

#include <QByteArray>
#include <QList>
#include <optional>
#include <utility>

// The sound server's native protocol, as much of it as a short sound needs: commands and replies
// made of tagged fields, in packets that carry either a command or a stream's samples. PulseAudio
// speaks it on a local socket, and so does PipeWire's stand-in for it.
namespace shell::pulse
{

// The commands by the protocol's own numbers.
enum Command : quint32 {
    kError = 0,
    kReply = 2,
    kCreatePlaybackStream = 3,
    kDeletePlaybackStream = 4,
    kAuth = 8,
    kSetClientName = 9,
    kRequest = 61,
    kPlaybackStreamKilled = 64,
    kStarted = 86,
};

// The version spoken: property lists (13) and the stream fields up to 22. Shared memory, which a
// client offers in the version's high bits, is not offered: the samples go through the socket.
constexpr quint32 kVersion = 22;
constexpr quint32 kControlChannel = 0xFFFF'FFFF;
constexpr quint32 kAny = 0xFFFF'FFFF; // the server's choice of an index or a buffer size
// Longer than any packet a server sends a client that plays; a longer one means a broken stream.
constexpr qsizetype kLongestPacket = qsizetype{16} * 1024 * 1024;

using Properties = QList<std::pair<QByteArray, QByteArray>>;

// A command's fields, each behind its tag.
class Fields
{
public:
    Fields(quint32 command, quint32 tag);
    Fields& u32(quint32 value);
    Fields& u8(quint8 value);
    Fields& boolean(bool value);
    Fields& noString();
    Fields& arbitrary(const QByteArray& value);
    Fields& sampleLayout(const SampleLayout& layout);
    // The usual places for one or two channels, numbered ones for more.
    Fields& channelMap(quint8 channels);
    Fields& fullVolume(quint8 channels);
    Fields& properties(const Properties& properties);
    quint32 tag() const { return tag_; }
    const QByteArray& bytes() const { return bytes_; }

private:
    quint32 tag_;
    QByteArray bytes_;
};

// The command that makes a playback stream on the default sink, for samples of this layout, with
// the buffer the server likes.
Fields playbackStream(quint32 tag, const SampleLayout& layout, const QByteArray& name);

// The numbers among a received command's fields, in turn; nothing once a field is not one.
class FieldReader
{
public:
    explicit FieldReader(QByteArray bytes) : bytes_(std::move(bytes)) {}
    std::optional<quint32> u32();

private:
    QByteArray bytes_;
    qsizetype at_ = 0;
};

// A command on the control channel, or samples on a stream's channel.
struct Packet {
    quint32 channel = kControlChannel;
    QByteArray payload;
};

QByteArray framed(const Packet& packet);
// Takes the first whole packet off the front of what has been received, if it is all there.
std::optional<Packet> takePacket(QByteArray& received);

// Where the server listens: the sockets that PULSE_SERVER names, else the user's own.
QList<QByteArray> serverSockets();

} // namespace shell::pulse
