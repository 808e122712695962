#pragma once

#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

// What the tile sound asks of the sound server's client library.
#define LOZETTA_PULSE_FUNCTIONS(X)                                                                 \
    X(pa_mainloop_new)                                                                             \
    X(pa_mainloop_free)                                                                            \
    X(pa_mainloop_get_api)                                                                         \
    X(pa_mainloop_prepare)                                                                         \
    X(pa_mainloop_poll)                                                                            \
    X(pa_mainloop_dispatch)                                                                        \
    X(pa_mainloop_wakeup)                                                                          \
    X(pa_context_new)                                                                              \
    X(pa_context_connect)                                                                          \
    X(pa_context_get_state)                                                                        \
    X(pa_context_disconnect)                                                                       \
    X(pa_context_unref)                                                                            \
    X(pa_stream_new)                                                                               \
    X(pa_stream_connect_playback)                                                                  \
    X(pa_stream_get_state)                                                                         \
    X(pa_stream_writable_size)                                                                     \
    X(pa_stream_write)                                                                             \
    X(pa_stream_drain)                                                                             \
    X(pa_stream_disconnect)                                                                        \
    X(pa_stream_unref)                                                                             \
    X(pa_operation_get_state)                                                                      \
    X(pa_operation_unref)                                                                          \
    X(pa_usec_to_bytes)

namespace shell
{

// The sound server's client library, loaded by the first sound rather than linked: with the
// codecs it brings along it would cost every start some milliseconds and a megabyte, and a game
// played without sound nothing at all. Its functions go by their own names.
struct PulseLibrary {
    // Loads it on first use; null when it is not installed.
    static const PulseLibrary* get();

// NOLINTNEXTLINE(bugprone-macro-parentheses): the argument names a member, it is no value
#define LOZETTA_PULSE_FIELD(name) decltype(&::name) name = nullptr;
    LOZETTA_PULSE_FUNCTIONS(LOZETTA_PULSE_FIELD)
#undef LOZETTA_PULSE_FIELD
};

} // namespace shell
