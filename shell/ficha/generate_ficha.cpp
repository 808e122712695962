// Writes ficha.wav, the click of a tile laid on a wooden table.
// The sound is synthesised rather than recorded so it can be rebuilt from source
// and comes out byte for byte the same on every run.
//
//   generate_ficha OUTPUT.wav

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <numbers>
#include <vector>

namespace
{

constexpr int sampleRate = 44100;
constexpr double lengthSeconds = 0.120;
constexpr double peakLevel = 0.5;     // about -6 dBFS: clearly audible, never harsh
constexpr double fadeSeconds = 0.005; // so the file never ends on a step

// Small fixed-seed generator of our own: std::minstd_rand is fixed too, but the
// distributions built on it are not the same on every standard library.
class Noise
{
public:
    double next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<double>(state >> 11) / 4503599627370496.0 - 1.0; // [-1, 1)
    }

private:
    std::uint64_t state = 0x6C6F7A657474610FULL;
};

// The impact itself is a short burst of noise, band-passed so it sounds like a
// hard edge meeting wood rather than hiss (a plain biquad band-pass).
class BandPass
{
public:
    BandPass(double centre, double q)
    {
        const double w = 2.0 * std::numbers::pi * centre / sampleRate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0 = alpha / a0;
        b2 = -alpha / a0;
        a1 = -2.0 * std::cos(w) / a0;
        a2 = (1.0 - alpha) / a0;
    }
    double step(double x)
    {
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double b0, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

struct Resonance {
    double frequency;
    double amplitude;
    double decaySeconds;
};

std::vector<double> synthesise()
{
    const auto count = static_cast<std::size_t>(lengthSeconds * sampleRate);
    // The table's body gives the low thump, the tile itself the brighter knock.
    const Resonance modes[] = {{180.0, 0.45, 0.020}, {1100.0, 0.40, 0.012}, {2650.0, 0.12, 0.006}};
    Noise noise;
    BandPass band(2400.0, 0.9);

    std::vector<double> out(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double attack = std::min(1.0, t / 0.0006); // a fast rise, but no sharp step
        double s = 0.9 * band.step(noise.next()) * std::exp(-t / 0.003);
        for (const Resonance& m : modes)
            s += m.amplitude * std::exp(-t / m.decaySeconds) *
                 std::sin(2.0 * std::numbers::pi * m.frequency * t);
        out[i] = attack * s;
    }

    const auto fade = static_cast<std::size_t>(fadeSeconds * sampleRate);
    for (std::size_t i = 0; i < fade; ++i)
        out[count - 1 - i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) /
                                                   static_cast<double>(fade));

    double peak = 0.0;
    for (double v : out)
        peak = std::max(peak, std::abs(v));
    for (double& v : out)
        v *= peakLevel / peak;
    return out;
}

// WAV fields are little-endian whatever the host is, so bytes are written one by one.
void put16(std::ostream& os, std::uint16_t v)
{
    os.put(static_cast<char>(v & 0xFF));
    os.put(static_cast<char>(v >> 8));
}

void put32(std::ostream& os, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        os.put(static_cast<char>((v >> shift) & 0xFF));
}

bool writeWav(const char* path, const std::vector<double>& samples)
{
    std::ofstream os(path, std::ios::binary | std::ios::trunc);
    if (!os)
        return false;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    os.write("RIFF", 4);
    put32(os, 36 + dataBytes);
    os.write("WAVEfmt ", 8);
    put32(os, 16); // size of the format chunk
    put16(os, 1);  // PCM
    put16(os, 1);  // mono
    put32(os, sampleRate);
    put32(os, sampleRate * 2); // bytes per second
    put16(os, 2);              // bytes per frame
    put16(os, 16);             // bits per sample
    os.write("data", 4);
    put32(os, dataBytes);
    for (double v : samples) {
        const long q = std::lround(std::clamp(v * 32767.0, -32768.0, 32767.0));
        put16(os, static_cast<std::uint16_t>(static_cast<std::int16_t>(q)));
    }
    os.close();
    return static_cast<bool>(os);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "generate_ficha") << " OUTPUT.wav\n";
        return 2;
    }
    if (!writeWav(argv[1], synthesise())) {
        std::cerr << "generate_ficha: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
