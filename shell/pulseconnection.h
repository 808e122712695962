#pragma once

#include "shell/pulseprotocol.h"
#include "shell/wavefile.h"

#include <chrono>
#include <functional>

namespace shell
{

// The sound thread's stay with the sound server: a socket to it and, while a sound plays, a
// stream on it. All of it runs on that thread but wake(); nothing here has a thread or a timer of
// its own, so once it is gone nothing wakes the process.
class PulseConnection
{
public:
    // Asked before every wait: true ends what is under way.
    using Interrupted = std::function<bool()>;

    PulseConnection();
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // From any thread: the wait under way, if any, ends and asks again.
    void wake();
    // False when no server answers: nothing is started on its behalf, nothing is tried again.
    bool connect(const Interrupted& interrupted);
    // Until the server has played the samples and a moment more, or until interrupted; the
    // stream is let go when the next sound is played or the connection ends.
    void play(const Wave& wave, const Interrupted& interrupted);
    // False once the server has gone.
    bool alive() const;

private:
    bool open(const QByteArray& socketPath);
    // Sends a command and waits for the server's answer to it: the answer's fields, or nothing
    // when it refuses, goes or the wait is interrupted.
    std::optional<pulse::FieldReader> ask(const pulse::Fields& command,
                                          const Interrupted& interrupted, bool withCredentials);
    quint32 nextTag() { return tag_++; }
    bool send(const pulse::Packet& packet, bool withCredentials = false);
    // Hands the stream what the server has asked for; the position reached.
    qsizetype feed(quint32 stream, const Wave& wave, qsizetype from);
    // A new stream for samples of this layout, in place of the one there was; false when the
    // server did not make it.
    bool makeStream(const SampleLayout& layout, const Interrupted& interrupted);
    void waitUntilHeard(const Wave& wave, const Interrupted& interrupted);
    void letGo(quint32 stream);
    // One wait for the server or a wake, up to the given time (-1: no limit), and what it brought.
    bool turn(int timeoutMs);
    void take(const pulse::Packet& packet);

    int socket_ = -1;
    int wakeup_ = -1;
    bool gone_ = false;
    QByteArray received_;
    quint32 tag_ = 0;
    // The command whose answer is awaited, and that answer once here.
    std::optional<quint32> awaited_;
    std::optional<pulse::FieldReader> answer_;
    bool refused_ = false;
    // The last sound's stream, what the server has asked of it, when the server started to play
    // it and whether the server ended it.
    std::optional<quint32> stream_;
    qsizetype requested_ = 0;
    std::optional<std::chrono::steady_clock::time_point> started_;
    bool killed_ = false;
    // Streams asked for and then given up before the server had made them: let go once made.
    QList<quint32> abandoned_;
};

} // namespace shell
