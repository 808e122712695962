#include "shell/pulseconnection.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace shell
{

namespace
{

constexpr char kClientName[] = "Lozetta";
constexpr char kStreamName[] = "ficha";
// The stream is kept a moment past the click's own length from the start the server reports:
// letting it go sooner drops what the sink itself still holds, which for a click this short may
// be all of it. Waiting for the server to say it has drained would not do: a sink that holds a
// long buffer says so only when it next comes round, seconds later.
constexpr std::chrono::milliseconds kHeardAfter{500};
constexpr int kNoLimit = -1;
// The server lets its own user in on the credentials sent with this; the cookie is for servers
// that ask for one, and ours is blank.
constexpr qsizetype kCookieBytes = 256;
// The samples go out in pieces no larger than this, and come in in reads of this.
constexpr qsizetype kLargestPiece = qsizetype{64} * 1024;
constexpr size_t kReadBytes = 4096;

void closeIfOpen(int& descriptor)
{
    if (descriptor >= 0)
        ::close(std::exchange(descriptor, -1));
}

} // namespace

PulseConnection::PulseConnection() : wakeup_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

PulseConnection::~PulseConnection()
{
    closeIfOpen(socket_);
    closeIfOpen(wakeup_);
}

void PulseConnection::wake()
{
    const std::uint64_t one = 1;
    // A wake already pending serves as well as this one, so a full counter is no matter.
    [[maybe_unused]] const ssize_t written = ::write(wakeup_, &one, sizeof one);
}

bool PulseConnection::connect(const Interrupted& interrupted)
{
    const QList<QByteArray> sockets = pulse::serverSockets();
    if (wakeup_ < 0 || std::none_of(sockets.begin(), sockets.end(),
                                    [this](const QByteArray& path) { return open(path); }))
        return false;
    const QByteArray cookie(kCookieBytes, '\0');
    return ask(pulse::Fields(pulse::kAuth, nextTag()).u32(pulse::kVersion).arbitrary(cookie),
               interrupted, true) &&
           ask(pulse::Fields(pulse::kSetClientName, nextTag())
                   .properties({{"application.name", kClientName}}),
               interrupted, false);
}

bool PulseConnection::open(const QByteArray& socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, socketPath.constData(), socketPath.size());
    // Non-blocking: a server that does not take its calls is no server, rather than a wait.
    socket_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket_ >= 0 &&
        ::connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return true;
    closeIfOpen(socket_);
    return false;
}

bool PulseConnection::alive() const
{
    return socket_ >= 0 && !gone_;
}

void PulseConnection::play(const Wave& wave, const Interrupted& interrupted)
{
    if (!makeStream(wave.sampleFormat, interrupted))
        return;
    const quint32 stream = *stream_;
    qsizetype written = 0;
    while (alive() && !killed_ && !interrupted()) {
        written = feed(stream, wave, written);
        if (written == wave.samples.size() || !turn(kNoLimit))
            break;
    }
    if (written == wave.samples.size())
        waitUntilHeard(wave, interrupted);
}

bool PulseConnection::makeStream(const SampleLayout& layout, const Interrupted& interrupted)
{
    // The last sound's stream goes only now, as the next is made: letting it go while it plays
    // silences it at once, so the new sound replaces it.
    if (const std::optional<quint32> old = std::exchange(stream_, std::nullopt))
        letGo(*old);
    const pulse::Fields create = pulse::playbackStream(nextTag(), layout, kStreamName);
    std::optional<pulse::FieldReader> made = ask(create, interrupted, false);
    if (!made) {
        // Given up before the server answered: the stream it makes is let go when it comes.
        if (alive() && !refused_)
            abandoned_ << create.tag();
        return false;
    }
    const std::optional<quint32> channel = made->u32();
    const std::optional<quint32> index = made->u32();
    const std::optional<quint32> missing = made->u32();
    if (!channel || !index || !missing) {
        gone_ = true;
        return false;
    }
    stream_ = *channel;
    requested_ = *missing;
    started_.reset();
    killed_ = false;
    return true;
}

void PulseConnection::letGo(quint32 stream)
{
    send({pulse::kControlChannel,
          pulse::Fields(pulse::kDeletePlaybackStream, nextTag()).u32(stream).bytes()});
}

std::optional<pulse::FieldReader> PulseConnection::ask(const pulse::Fields& command,
                                                       const Interrupted& interrupted,
                                                       bool withCredentials)
{
    awaited_ = command.tag();
    answer_.reset();
    refused_ = false;
    if (send({pulse::kControlChannel, command.bytes()}, withCredentials)) {
        while (!answer_ && !refused_ && !interrupted() && turn(kNoLimit))
            continue;
    }
    awaited_.reset();
    return std::exchange(answer_, std::nullopt);
}

bool PulseConnection::send(const pulse::Packet& packet, bool withCredentials)
{
    if (!alive())
        return false;
    QByteArray bytes = pulse::framed(packet);
    iovec piece{bytes.data(), static_cast<size_t>(bytes.size())};
    msghdr message{};
    message.msg_iov = &piece;
    message.msg_iovlen = 1;
    // Who we are, as the kernel vouches for it.
    alignas(cmsghdr) char credentials[CMSG_SPACE(sizeof(ucred))] = {};
    if (withCredentials) {
        message.msg_control = credentials;
        message.msg_controllen = sizeof credentials;
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = SOL_SOCKET;
        header->cmsg_type = SCM_CREDENTIALS;
        header->cmsg_len = CMSG_LEN(sizeof(ucred));
        const ucred mine{::getpid(), ::getuid(), ::getgid()};
        std::memcpy(CMSG_DATA(header), &mine, sizeof mine);
    }
    // A server that cannot take a whole packet at once is stuck, as good as gone: the sound
    // thread never waits on it.
    gone_ = ::sendmsg(socket_, &message, MSG_NOSIGNAL | MSG_DONTWAIT) != bytes.size();
    return !gone_;
}

qsizetype PulseConnection::feed(quint32 stream, const Wave& wave, qsizetype from)
{
    const qsizetype frame = frameBytes(wave.sampleFormat);
    while (requested_ >= frame && from < wave.samples.size()) {
        qsizetype length = std::min({requested_, wave.samples.size() - from, kLargestPiece});
        length -= length % frame;
        if (!send({stream, wave.samples.mid(from, length)}))
            break;
        from += length;
        requested_ -= length;
    }
    return from;
}

void PulseConnection::waitUntilHeard(const Wave& wave, const Interrupted& interrupted)
{
    // A stream starts when the sink is ready for it, which after a pause may take a while.
    while (!started_ && alive() && !killed_ && !interrupted() && turn(kNoLimit))
        continue;
    if (!started_)
        return;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = *started_ + playingTime(wave) + kHeardAfter;
    for (Clock::time_point now = Clock::now(); now < until && !interrupted(); now = Clock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now);
        if (!turn(static_cast<int>(left.count())))
            return;
    }
}

bool PulseConnection::turn(int timeoutMs)
{
    pollfd waits[] = {{socket_, POLLIN, 0}, {wakeup_, POLLIN, 0}};
    if (::poll(waits, 2, timeoutMs) < 0)
        return errno == EINTR;
    if ((waits[1].revents & POLLIN) != 0) {
        std::uint64_t wakes = 0;
        [[maybe_unused]] const ssize_t cleared = ::read(wakeup_, &wakes, sizeof wakes);
    }
    if (waits[0].revents == 0)
        return true;
    char bytes[kReadBytes];
    const ssize_t got = ::recv(socket_, bytes, sizeof bytes, MSG_DONTWAIT);
    if (got > 0)
        received_.append(bytes, got);
    else if (got == 0 || (errno != EAGAIN && errno != EINTR))
        gone_ = true; // the server has closed, or its end has failed
    while (!gone_) {
        const std::optional<pulse::Packet> packet = pulse::takePacket(received_);
        if (!packet)
            break;
        take(*packet);
    }
    gone_ = gone_ || received_.size() > pulse::kLongestPacket;
    return !gone_;
}

void PulseConnection::take(const pulse::Packet& packet)
{
    // A client that only plays is sent no samples; anything else is news it does not need.
    if (packet.channel != pulse::kControlChannel)
        return;
    pulse::FieldReader fields(packet.payload);
    const std::optional<quint32> command = fields.u32();
    const std::optional<quint32> tag = fields.u32();
    if (!command || !tag) {
        gone_ = true;
        return;
    }
    const bool answer = *command == pulse::kReply || *command == pulse::kError;
    if (answer && tag == awaited_) {
        refused_ = *command == pulse::kError;
        if (!refused_)
            answer_ = fields;
    } else if (answer && abandoned_.removeOne(*tag)) {
        if (const std::optional<quint32> channel = fields.u32(); *command == pulse::kReply)
            letGo(channel.value_or(pulse::kAny));
    } else if (*command == pulse::kRequest || *command == pulse::kStarted ||
               *command == pulse::kPlaybackStreamKilled) {
        // Each comes only once the stream is known here: a stream starts on its first samples.
        const std::optional<quint32> channel = fields.u32();
        if (!stream_ || channel != stream_)
            return;
        if (*command == pulse::kPlaybackStreamKilled)
            killed_ = true;
        else if (*command == pulse::kStarted)
            started_ = started_.value_or(std::chrono::steady_clock::now());
        else
            requested_ += fields.u32().value_or(0);
    }
}

} // namespace shell
