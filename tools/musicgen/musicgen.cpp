// The sample disc's two music tracks, synthesised: short loops that the build encodes to MP3.
// Usage: musicgen TRACK OUT.wav, TRACK 1 (an arpeggio, about 4 s) or 2 (a melody, about 3 s).
// The same bytes every run: pure arithmetic, no clock and no randomness.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;

// A note of the score: when it starts and how long it sounds (seconds), its MIDI number, its loudness
// (0..1) and where it stands between the left (-1) and the right (+1) speaker.
struct Note {
    double start = 0;
    double length = 0;
    int midi = 60;
    double loudness = 0.5;
    double pan = 0;
};

enum class Voice { Bell, Reed, Bass };

double Frequency(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Attack, decay to a sustain level, and a release that ends the note without a click.
double Envelope(double t, double length, double attack, double decay, double sustain, double release) {
    if (t < 0 || t >= length) {
        return 0;
    }
    double level = sustain;
    if (t < attack) {
        level = t / attack;
    } else if (t < attack + decay) {
        level = 1.0 - (1.0 - sustain) * (t - attack) / decay;
    }
    const double left = length - t;
    if (left < release) {
        level *= left / release;
    }
    return level;
}

double Sample(Voice voice, double t, double length, double frequency) {
    const double phase = 2 * std::numbers::pi * frequency * t;
    switch (voice) {
        case Voice::Bell: {
            // Bright at the strike, mellowing as the upper partials die away faster than the fundamental.
            const double env = Envelope(t, length, 0.005, 0.12, 0.45, 0.08);
            const double partials = std::sin(phase) + 0.35 * std::exp(-6 * t) * std::sin(2 * phase) +
                                    0.15 * std::exp(-10 * t) * std::sin(3 * phase);
            return env * partials / 1.5;
        }
        case Voice::Reed: {
            // Odd partials and a gentle vibrato: a soft clarinet-like tone for the melody.
            const double vibrato = 1.0 + 0.004 * std::sin(2 * std::numbers::pi * 5.5 * t);
            const double p = phase * vibrato;
            const double env = Envelope(t, length, 0.03, 0.1, 0.8, 0.06);
            return env * (std::sin(p) + 0.3 * std::sin(3 * p) + 0.12 * std::sin(5 * p)) / 1.42;
        }
        case Voice::Bass: {
            const double env = Envelope(t, length, 0.01, 0.3, 0.6, 0.1);
            return env * (std::sin(phase) + 0.2 * std::sin(2 * phase)) / 1.2;
        }
    }
    return 0;
}

struct Part {
    Voice voice;
    std::vector<Note> notes;
};

// Track 1: a C major - A minor - F major - G major arpeggio, sixteenth-like bell notes over a bass line.
std::vector<Part> TrackOne(double& seconds) {
    seconds = 4.0;
    const int chords[4][4] = {{60, 64, 67, 72}, {57, 60, 64, 69}, {53, 57, 60, 65}, {55, 59, 62, 67}};
    const int bass[4] = {36, 33, 29, 31};
    Part bell{Voice::Bell, {}};
    Part low{Voice::Bass, {}};
    const double step = 0.125;
    for (int bar = 0; bar < 4; ++bar) {
        const double bar_start = bar * 1.0;
        low.notes.push_back({bar_start, 0.95, bass[bar], 0.45, 0});
        for (int i = 0; i < 8; ++i) {
            // Up and back down the chord: 0 1 2 3 2 1 0 1.
            static const int kOrder[8] = {0, 1, 2, 3, 2, 1, 0, 1};
            const double pan = -0.5 + kOrder[i] / 3.0;
            bell.notes.push_back({bar_start + i * step, 0.3, chords[bar][kOrder[i]], 0.32, pan});
        }
    }
    return {bell, low};
}

// Track 2: a slower A minor melody in dotted rhythm over held fifths, a different colour from track 1.
std::vector<Part> TrackTwo(double& seconds) {
    seconds = 3.0;
    Part melody{Voice::Reed, {}};
    const std::pair<double, int> line[] = {{0.375, 69}, {0.125, 72}, {0.25, 76}, {0.25, 74},
                                           {0.375, 72}, {0.125, 71}, {0.5, 69},  {0.375, 64},
                                           {0.125, 67}, {0.25, 69},  {0.25, 71}, {0.5, 69}};
    double at = 0;
    for (const auto& [length, midi] : line) {
        melody.notes.push_back({at, length * 0.95, midi, 0.4, 0.15});
        at += length;
    }
    Part low{Voice::Bass, {}};
    const int roots[3] = {45, 41, 40};
    for (int bar = 0; bar < 3; ++bar) {
        low.notes.push_back({bar * 1.0, 0.98, roots[bar], 0.35, -0.2});
        low.notes.push_back({bar * 1.0, 0.98, roots[bar] + 7, 0.2, -0.2});
    }
    return {melody, low};
}

std::vector<int16_t> Render(const std::vector<Part>& parts, double seconds) {
    const size_t frames = static_cast<size_t>(seconds * kRate);
    std::vector<double> mix(frames * kChannels, 0.0);
    for (const Part& part : parts) {
        for (const Note& note : part.notes) {
            const double frequency = Frequency(note.midi);
            const double left = note.loudness * std::sqrt((1 - note.pan) / 2);
            const double right = note.loudness * std::sqrt((1 + note.pan) / 2);
            const size_t first = static_cast<size_t>(note.start * kRate);
            const size_t count = static_cast<size_t>(note.length * kRate);
            for (size_t i = 0; i < count && first + i < frames; ++i) {
                const double s = Sample(part.voice, static_cast<double>(i) / kRate, note.length, frequency);
                mix[(first + i) * 2] += s * left;
                mix[(first + i) * 2 + 1] += s * right;
            }
        }
    }
    std::vector<int16_t> pcm(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) {
        // A soft limiter keeps chords from clipping.
        const double v = std::tanh(mix[i] * 1.1) * 30000.0;
        pcm[i] = static_cast<int16_t>(std::lround(v));
    }
    return pcm;
}

void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

std::string Wave(const std::vector<int16_t>& pcm) {
    const uint32_t data_bytes = static_cast<uint32_t>(pcm.size() * 2);
    std::string out = "RIFF";
    Put32(out, 36 + data_bytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, kChannels);
    Put32(out, kRate);
    Put32(out, kRate * kChannels * 2);
    Put16(out, kChannels * 2);
    Put16(out, 16);
    out += "data";
    Put32(out, data_bytes);
    for (const int16_t s : pcm) {
        Put16(out, static_cast<uint16_t>(s));
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const std::string track = argc == 3 ? argv[1] : "";
    if (track != "1" && track != "2") {
        std::fprintf(stderr, "usage: musicgen 1|2 OUT.wav\n");
        return 2;
    }
    double seconds = 0;
    const std::vector<Part> parts = track == "1" ? TrackOne(seconds) : TrackTwo(seconds);
    const std::string bytes = Wave(Render(parts, seconds));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "musicgen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
