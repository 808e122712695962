#include "shell/pulseconnection.h"

#include <algorithm>
#include <chrono>

namespace shell
{

namespace
{

constexpr char kClientName[] = "Lozetta";
constexpr char kStreamName[] = "ficha";
// A click wants to be heard with its tile, so the server is asked for a short buffer.
constexpr pa_usec_t kLatencyUs = 40'000;
// After the server says the click is played, the stream is kept a moment: letting it go sooner
// drops what the sink itself still holds, which for a click this short may be all of it.
constexpr std::chrono::milliseconds kHeardAfter{500};
constexpr int kNoLimit = -1;
constexpr auto kAnySize = static_cast<uint32_t>(-1);

} // namespace

PulseConnection::PulseConnection(const PulseLibrary& pulse)
    : pulse_(pulse), loop_(pulse.pa_mainloop_new()),
      context_(pulse.pa_context_new(pulse.pa_mainloop_get_api(loop_), kClientName))
{
}

PulseConnection::~PulseConnection()
{
    if (context_) {
        pulse_.pa_context_disconnect(context_);
        pulse_.pa_context_unref(context_);
    }
    pulse_.pa_mainloop_free(loop_);
}

void PulseConnection::wake()
{
    pulse_.pa_mainloop_wakeup(loop_);
}

bool PulseConnection::connect(const Interrupted& interrupted)
{
    // No server started for us, and no waiting for one to appear.
    if (!context_ ||
        pulse_.pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    while (!interrupted()) {
        const pa_context_state_t state = pulse_.pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY)
            return true;
        if (!PA_CONTEXT_IS_GOOD(state) || !turn(kNoLimit))
            return false;
    }
    return false;
}

bool PulseConnection::alive() const
{
    return context_ && PA_CONTEXT_IS_GOOD(pulse_.pa_context_get_state(context_));
}

void PulseConnection::play(const Wave& wave, const Interrupted& interrupted)
{
    pa_stream* stream = pulse_.pa_stream_new(context_, kStreamName, &wave.sampleFormat, nullptr);
    if (!stream)
        return;
    const auto target =
        static_cast<uint32_t>(pulse_.pa_usec_to_bytes(kLatencyUs, &wave.sampleFormat));
    const pa_buffer_attr buffer{kAnySize, target, kAnySize, kAnySize, kAnySize};
    if (pulse_.pa_stream_connect_playback(stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY,
                                          nullptr, nullptr) == 0 &&
        drain(stream, wave, interrupted))
        linger(interrupted);
    // A stream let go while it plays is silenced at once: a new sound replaces it.
    pulse_.pa_stream_disconnect(stream);
    pulse_.pa_stream_unref(stream);
}

qsizetype PulseConnection::feed(pa_stream* stream, const Wave& wave, qsizetype from)
{
    const size_t room = pulse_.pa_stream_writable_size(stream);
    if (room == static_cast<size_t>(-1))
        return from;
    const qsizetype frame = frameBytes(wave.sampleFormat);
    qsizetype length = std::min(static_cast<qsizetype>(room), wave.samples.size() - from);
    length -= length % frame;
    if (length <= 0 ||
        pulse_.pa_stream_write(stream, wave.samples.constData() + from, static_cast<size_t>(length),
                               nullptr, 0, PA_SEEK_RELATIVE) < 0)
        return from;
    return from + length;
}

bool PulseConnection::drain(pa_stream* stream, const Wave& wave, const Interrupted& interrupted)
{
    qsizetype written = 0;
    pa_operation* drained = nullptr;
    bool played = false;
    while (!interrupted()) {
        const pa_stream_state_t state = pulse_.pa_stream_get_state(stream);
        if (!PA_STREAM_IS_GOOD(state))
            break;
        if (state == PA_STREAM_READY && !drained) {
            written = feed(stream, wave, written);
            if (written == wave.samples.size())
                drained = pulse_.pa_stream_drain(stream, nullptr, nullptr);
        }
        if (drained && pulse_.pa_operation_get_state(drained) != PA_OPERATION_RUNNING) {
            played = pulse_.pa_operation_get_state(drained) == PA_OPERATION_DONE;
            break;
        }
        if (!turn(kNoLimit))
            break;
    }
    if (drained)
        pulse_.pa_operation_unref(drained);
    return played;
}

void PulseConnection::linger(const Interrupted& interrupted)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + kHeardAfter;
    for (Clock::time_point now = Clock::now(); now < until && !interrupted(); now = Clock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now);
        if (!turn(static_cast<int>(left.count())))
            return;
    }
}

bool PulseConnection::turn(int timeoutMs)
{
    return pulse_.pa_mainloop_prepare(loop_, timeoutMs) >= 0 &&
           pulse_.pa_mainloop_poll(loop_) >= 0 && pulse_.pa_mainloop_dispatch(loop_) >= 0;
}

} // namespace shell
