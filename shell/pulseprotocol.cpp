#include "shell/pulseprotocol.h"

#include <QtEndian>

namespace shell::pulse
{

namespace
{

// The tags in front of the fields.
constexpr char kTagU32 = 'L';
constexpr char kTagU8 = 'B';
constexpr char kTagTrue = '1';
constexpr char kTagFalse = '0';
constexpr char kTagString = 't';
constexpr char kTagNoString = 'N';
constexpr char kTagArbitrary = 'x';
constexpr char kTagSampleLayout = 'a';
constexpr char kTagChannelMap = 'm';
constexpr char kTagVolume = 'v';
constexpr char kTagProperties = 'P';

constexpr quint8 kMono = 0;
constexpr quint8 kFrontLeft = 1;
constexpr quint8 kFirstNumbered = 12;
constexpr quint32 kFullVolume = 0x10000;
// The fields of a new stream that only say "no": remapping, remixing, fixed format, rate and
// channels, pinned to its sink, variable rate.
constexpr int kRefusedOptions = 7;

// length, channel, two halves of a seek offset, flags
constexpr qsizetype kHeaderBytes = qsizetype{5} * 4;

void append32(QByteArray& bytes, quint32 value)
{
    const quint32 big = qToBigEndian(value);
    bytes.append(reinterpret_cast<const char*>(&big), sizeof big);
}

} // namespace

Fields::Fields(quint32 command, quint32 tag) : tag_(tag)
{
    u32(command).u32(tag);
}

Fields& Fields::u32(quint32 value)
{
    bytes_.append(kTagU32);
    append32(bytes_, value);
    return *this;
}

Fields& Fields::u8(quint8 value)
{
    bytes_.append(kTagU8).append(static_cast<char>(value));
    return *this;
}

Fields& Fields::boolean(bool value)
{
    bytes_.append(value ? kTagTrue : kTagFalse);
    return *this;
}

Fields& Fields::noString()
{
    bytes_.append(kTagNoString);
    return *this;
}

Fields& Fields::arbitrary(const QByteArray& value)
{
    bytes_.append(kTagArbitrary);
    append32(bytes_, static_cast<quint32>(value.size()));
    bytes_.append(value);
    return *this;
}

Fields& Fields::sampleLayout(const SampleLayout& layout)
{
    bytes_.append(kTagSampleLayout)
        .append(static_cast<char>(layout.format))
        .append(static_cast<char>(layout.channels));
    append32(bytes_, layout.rate);
    return *this;
}

Fields& Fields::channelMap(quint8 channels)
{
    bytes_.append(kTagChannelMap).append(static_cast<char>(channels));
    for (int i = 0; i < channels; ++i)
        bytes_.append(static_cast<char>(channels == 1   ? kMono
                                        : channels == 2 ? kFrontLeft + i // then front right
                                                        : kFirstNumbered + i));
    return *this;
}

Fields& Fields::fullVolume(quint8 channels)
{
    bytes_.append(kTagVolume).append(static_cast<char>(channels));
    for (quint8 i = 0; i < channels; ++i)
        append32(bytes_, kFullVolume);
    return *this;
}

Fields& Fields::properties(const Properties& properties)
{
    bytes_.append(kTagProperties);
    for (const auto& [key, text] : properties) {
        // A text is kept with its terminating zero.
        const QByteArray value = text + '\0';
        bytes_.append(kTagString).append(key).append('\0');
        u32(static_cast<quint32>(value.size())).arbitrary(value);
    }
    return noString();
}

Fields playbackStream(quint32 tag, const SampleLayout& layout, const QByteArray& name)
{
    Fields create(kCreatePlaybackStream, tag);
    create.sampleLayout(layout).channelMap(layout.channels);
    create.u32(kAny).noString(); // the default sink
    // No short buffer is asked for: a sink that holds a long one takes a new stream back into
    // it at once, while one asked to hold less plays the stream only once it comes round again.
    // A single frame starts it, so that a click shorter than the buffer plays too; with none at
    // all the sink could play the new stream's silence before its samples came, and then play
    // them only once round again.
    const auto oneFrame = static_cast<quint32>(frameBytes(layout));
    create.u32(kAny).boolean(false).u32(kAny).u32(oneFrame).u32(kAny);
    // A sync group of its own: joining another stream's would be refused while that one plays.
    create.u32(tag).fullVolume(layout.channels);
    for (int option = 0; option < kRefusedOptions; ++option)
        create.boolean(false);
    create.boolean(false).boolean(false); // not muted; the sink's latency left as it is
    create.properties({{"media.name", name}});
    create.boolean(false).boolean(false);                // volume left as is; requests when needed
    create.boolean(false).boolean(false).boolean(false); // mute as is; suspend as the sink likes
    create.boolean(false).boolean(false).u8(0); // absolute volume; no passthrough; no formats
    return create;
}

std::optional<quint32> FieldReader::u32()
{
    if (at_ + 5 > bytes_.size() || bytes_.at(at_) != kTagU32)
        return std::nullopt;
    const quint32 value = qFromBigEndian<quint32>(bytes_.constData() + at_ + 1);
    at_ += 5;
    return value;
}

QByteArray framed(const Packet& packet)
{
    QByteArray bytes;
    bytes.reserve(kHeaderBytes + packet.payload.size());
    for (const quint32 field :
         {static_cast<quint32>(packet.payload.size()), packet.channel, 0u, 0u, 0u})
        append32(bytes, field);
    return bytes.append(packet.payload);
}

std::optional<Packet> takePacket(QByteArray& received)
{
    if (received.size() < kHeaderBytes)
        return std::nullopt;
    const qsizetype length = qFromBigEndian<quint32>(received.constData());
    if (received.size() < kHeaderBytes + length)
        return std::nullopt;
    Packet packet{qFromBigEndian<quint32>(received.constData() + 4),
                  received.mid(kHeaderBytes, length)};
    received.remove(0, kHeaderBytes + length);
    return packet;
}

QList<QByteArray> serverSockets()
{
    const QByteArray named = qgetenv("PULSE_SERVER");
    QList<QByteArray> sockets;
    if (named.isEmpty()) {
        const QByteArray runtime = qgetenv("PULSE_RUNTIME_PATH");
        sockets << (runtime.isEmpty() ? qgetenv("XDG_RUNTIME_DIR") + "/pulse" : runtime) +
                       "/native";
        return sockets;
    }
    // Each "unix:PATH" or bare path, perhaps after the "{machine}" it is meant for; a server
    // over the network is left to the client library we do without.
    for (QByteArray server : named.simplified().split(' ')) {
        if (server.startsWith('{'))
            server = server.mid(server.indexOf('}') + 1);
        if (server.startsWith("unix:"))
            server = server.mid(5);
        if (server.startsWith('/'))
            sockets << server;
    }
    return sockets;
}

} // namespace shell::pulse
