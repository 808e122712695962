// Listens to the null sink and prints, on CLOCK_MONOTONIC, when each sound's first samples reach
// a listener of its monitor: "ready" once it hears the sink, then "sound NS" per sound. A sound
// starts with a loud sample after a stretch of near silence, so that a click cut short by the
// next one still counts as two.
//
// usage: listen SINK

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <pulse/simple.h>
#include <string>
#include <utility>

namespace
{

constexpr unsigned kRate = 44100;
// Short fragments, so that a sample reaches us soon after the sink has rendered it.
constexpr unsigned kFragmentFrames = 220;
constexpr int kLoud = 2000;
constexpr int kQuiet = 300;
constexpr unsigned kSilenceFrames = kRate / 100;
constexpr long long kNanosPerSecond = 1000000000;

long long nowNanos()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * kNanosPerSecond + t.tv_nsec;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: listen SINK\n");
        return 2;
    }
    const std::string monitor = std::string(argv[1]) + ".monitor";
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, kRate, 1};
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.fragsize = kFragmentFrames * sizeof(short);
    int error = 0;
    pa_simple* source = pa_simple_new(nullptr, "listen", PA_STREAM_RECORD, monitor.c_str(),
                                      "listen", &sampleFormat, nullptr, &attr, &error);
    if (!source) {
        std::fprintf(stderr, "listen: %d\n", error);
        return 1;
    }
    short frames[kFragmentFrames];
    unsigned quiet = 0;
    bool ready = false;
    while (pa_simple_read(source, frames, sizeof frames, &error) == 0) {
        const long long now = nowNanos();
        if (!std::exchange(ready, true)) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
        for (unsigned i = 0; i < kFragmentFrames; ++i) {
            const int level = std::abs(frames[i]);
            if (level >= kLoud && quiet >= kSilenceFrames) {
                // The sample came this many frames before the end of what was just read.
                const long long before = (kFragmentFrames - i) * kNanosPerSecond / kRate;
                std::printf("sound %lld\n", now - before);
                std::fflush(stdout);
            }
            quiet = level < kQuiet ? quiet + 1 : 0;
        }
    }
    pa_simple_free(source);
    return 0;
}
