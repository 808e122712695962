#pragma once

#include "shell/pulselibrary.h"
#include "shell/wavefile.h"

#include <functional>

namespace shell
{

// The sound thread's stay with the sound server: a main loop of its own, the connection and,
// while a sound plays, its stream. All of it runs on that thread but wake(); nothing here has a
// thread or a timer of its own, so once it is gone nothing wakes the process.
class PulseConnection
{
public:
    // Asked before every wait: true ends what is under way.
    using Interrupted = std::function<bool()>;

    explicit PulseConnection(const PulseLibrary& pulse);
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // From any thread: the wait under way, if any, ends and asks again.
    void wake();
    // False when no server answers: nothing is started on its behalf, nothing is tried again.
    bool connect(const Interrupted& interrupted);
    // Until the server has played the samples and a moment more, or until interrupted.
    void play(const Wave& wave, const Interrupted& interrupted);
    // False once the server has gone.
    bool alive() const;

private:
    // Hands the stream what it has room for; the position reached.
    qsizetype feed(pa_stream* stream, const Wave& wave, qsizetype from);
    // Until the samples are all with the server and it has played them.
    bool drain(pa_stream* stream, const Wave& wave, const Interrupted& interrupted);
    void linger(const Interrupted& interrupted);
    // One wait for the server or a wake, up to the given time (-1: no limit), and what it brought.
    bool turn(int timeoutMs);

    const PulseLibrary& pulse_;
    pa_mainloop* loop_;
    pa_context* context_;
};

} // namespace shell
