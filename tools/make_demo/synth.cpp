#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace make_demo {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kRate = kSampleRate;

}  // namespace

size_t Samples(double seconds) {
    return static_cast<size_t>(std::lround(seconds * kRate));
}

double NoteHz(double midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

Mixer::Mixer(size_t length, bool loops) : buffer_(length, 0.0), loops_(loops) {}

void Mixer::Add(const Signal& sound, size_t at, double gain) {
    for (size_t i = 0; i < sound.size(); ++i) {
        size_t pos = at + i;
        if (pos >= buffer_.size()) {
            if (!loops_) break;
            pos %= buffer_.size();
        }
        buffer_[pos] += sound[i] * gain;
    }
}

std::vector<int16_t> Mixer::ToPcm(double peak) const {
    double loudest = 1e-9;
    for (double v : buffer_) loudest = std::max(loudest, std::abs(v));
    const double scale = peak * 32767.0 / loudest;
    std::vector<int16_t> pcm(buffer_.size());
    for (size_t i = 0; i < buffer_.size(); ++i) {
        pcm[i] =
            static_cast<int16_t>(std::lround(std::clamp(buffer_[i] * scale, -32767.0, 32767.0)));
    }
    return pcm;
}

void Envelope(Signal& s, double attack, double release) {
    const size_t a = std::max<size_t>(1, Samples(attack));
    const size_t r = std::max<size_t>(1, Samples(release));
    for (size_t i = 0; i < s.size(); ++i) {
        double g = 1.0;
        if (i < a) g = static_cast<double>(i) / a;
        const size_t fromEnd = s.size() - i;
        if (fromEnd <= r) g *= static_cast<double>(fromEnd - 1) / r;
        s[i] *= g;
    }
}

void Decay(Signal& s, double timeConstant) {
    for (size_t i = 0; i < s.size(); ++i) s[i] *= std::exp(-(i / kRate) / timeConstant);
}

void BandPass(Signal& s, double centreHz, double q) {
    const double w = kTwoPi * centreHz / kRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    const double b0 = alpha / a0, b2 = -alpha / a0;
    const double a1 = -2.0 * std::cos(w) / a0, a2 = (1.0 - alpha) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : s) {
        const double y = b0 * v + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = v;
        y2 = y1;
        y1 = y;
        v = y;
    }
}

void LowPass(Signal& s, double cutoffHz) {
    const double k = 1.0 - std::exp(-kTwoPi * cutoffHz / kRate);
    double y = 0;
    for (double& v : s) {
        y += k * (v - y);
        v = y;
    }
}

Signal Marimba(double hz, double seconds) {
    Signal s(Samples(seconds));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = i / kRate;
        s[i] = std::sin(kTwoPi * hz * t) * std::exp(-t / 0.35) +
               0.35 * std::sin(kTwoPi * hz * 4.0 * t) * std::exp(-t / 0.05) +
               0.12 * std::sin(kTwoPi * hz * 9.8 * t) * std::exp(-t / 0.015);
    }
    Envelope(s, 0.003, 0.03);
    return s;
}

Signal MusicBox(double hz, double seconds) {
    Signal s(Samples(seconds));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = i / kRate;
        s[i] = std::sin(kTwoPi * hz * t) * std::exp(-t / 0.6) +
               0.4 * std::sin(kTwoPi * hz * 2.0 * t) * std::exp(-t / 0.25) +
               0.2 * std::sin(kTwoPi * hz * 3.01 * t) * std::exp(-t / 0.12);
    }
    Envelope(s, 0.004, 0.05);
    return s;
}

Signal Pluck(double hz, double seconds, uint64_t seed) {
    Random random(seed);
    const size_t period = std::max<size_t>(2, static_cast<size_t>(std::lround(kRate / hz)));
    Signal line(period);
    for (double& v : line) v = random.Between(-1.0, 1.0);
    Signal s(Samples(seconds));
    size_t pos = 0;
    double previous = 0;
    for (double& v : s) {
        const double current = line[pos];
        line[pos] = 0.996 * 0.5 * (current + previous);
        previous = current;
        v = current;
        pos = (pos + 1) % period;
    }
    LowPass(s, 3000);
    Envelope(s, 0.002, 0.04);
    return s;
}

Signal SoftBass(double hz, double seconds) {
    Signal s(Samples(seconds));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = i / kRate;
        const double phase = std::fmod(hz * t, 1.0);
        const double triangle = 4.0 * std::abs(phase - 0.5) - 1.0;
        s[i] = (0.7 * triangle + 0.5 * std::sin(kTwoPi * hz * t)) * std::exp(-t / 0.3);
    }
    Envelope(s, 0.006, 0.05);
    return s;
}

Signal Bowed(double hz, double seconds) {
    Signal s(Samples(seconds));
    std::vector<double> phases(16, 0.0);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = i / kRate;
        const double vibratoIn = std::min(1.0, t / 0.25);
        const double f = hz * (1.0 + 0.007 * vibratoIn * std::sin(kTwoPi * 5.6 * t));
        double v = 0;
        for (size_t n = 1; n < phases.size(); ++n) {
            if (f * n > 9000.0) break;
            phases[n] += kTwoPi * f * n / kRate;
            // A body resonance near 3 kHz gives the bright, nasal colour of a violin.
            const double body = 1.0 + 1.5 * std::exp(-std::pow((f * n - 2900.0) / 900.0, 2.0));
            v += std::sin(phases[n]) * body / n;
        }
        const double swell = 0.8 + 0.2 * std::sin(std::numbers::pi * std::min(1.0, t / seconds));
        s[i] = v * swell;
    }
    LowPass(s, 6000);
    Envelope(s, 0.06, 0.08);
    return s;
}

Signal Shaker(double seconds, uint64_t seed) {
    Random random(seed);
    Signal s = Noise(seconds, random);
    BandPass(s, 6000, 1.2);
    Decay(s, 0.02);
    Envelope(s, 0.002, 0.01);
    return s;
}

Signal Noise(double seconds, Random& random) {
    Signal s(Samples(seconds));
    for (double& v : s) v = random.Between(-1.0, 1.0);
    return s;
}

Signal Sweep(double fromHz, double toHz, double seconds, double vibratoDepth) {
    Signal s(Samples(seconds));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = i / kRate;
        double f = fromHz * std::pow(toHz / fromHz, t / seconds);
        f *= 1.0 + vibratoDepth * std::sin(kTwoPi * 8.0 * t);
        phase += kTwoPi * f / kRate;
        s[i] = std::sin(phase) + 0.15 * std::sin(2.0 * phase);
    }
    Envelope(s, 0.005, seconds * 0.3);
    return s;
}

Signal ChipSteps(const std::vector<double>& hz, double stepSeconds) {
    const size_t step = Samples(stepSeconds);
    Signal s(step * hz.size());
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        phase += hz[i / step] / kRate;
        s[i] = std::fmod(phase, 1.0) < 0.5 ? 0.6 : -0.6;
    }
    LowPass(s, 5000);
    Envelope(s, 0.003, 0.06);
    return s;
}

Signal Boing(double fromHz, double toHz, double seconds) {
    Signal s(Samples(seconds));
    double carrier = 0, modulator = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = i / kRate;
        const double f = fromHz * std::pow(toHz / fromHz, std::sqrt(t / seconds));
        carrier += kTwoPi * f / kRate;
        modulator += kTwoPi * f * 1.5 / kRate;
        const double index = 3.0 * std::exp(-t / 0.12);
        s[i] = std::sin(carrier + index * std::sin(modulator));
    }
    Envelope(s, 0.004, seconds * 0.4);
    return s;
}

Signal BrassSlide(double fromHz, double toHz, double seconds) {
    Signal s(Samples(seconds));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = i / kRate;
        const double f = fromHz + (toHz - fromHz) * (t / seconds);
        phase += f / kRate;
        const double saw = 2.0 * std::fmod(phase, 1.0) - 1.0;
        // The "wah": the brightness opens and closes like a hand on a trumpet bell.
        const double wah = 0.5 - 0.5 * std::cos(kTwoPi * t / seconds);
        s[i] = saw * (0.4 + 0.6 * wah);
    }
    LowPass(s, 1400);
    LowPass(s, 1800);
    Envelope(s, 0.02, 0.08);
    return s;
}

}  // namespace make_demo

namespace make_demo {

Signal HenCall(double startHz, double peakHz, double endHz, double seconds, uint64_t seed) {
    Random random(seed);
    Signal source(Samples(seconds));
    double phase = 0;
    for (size_t i = 0; i < source.size(); ++i) {
        const double u = static_cast<double>(i) / source.size();
        const double f = u < 0.25 ? startHz + (peakHz - startHz) * (u / 0.25)
                                  : peakHz + (endHz - peakHz) * ((u - 0.25) / 0.75);
        phase += f / kSampleRate;
        const double saw = 1.0 - 2.0 * std::fmod(phase, 1.0);
        // A throaty flutter, the rasp in a hen's voice.
        const double flutter =
            0.75 + 0.25 * std::sin(2.0 * std::numbers::pi * 38.0 * i / kSampleRate);
        source[i] = (saw * saw * saw + 0.2 * random.Between(-1.0, 1.0)) * flutter;
    }
    Signal low = source;
    Signal high = source;
    BandPass(low, 1100, 2.5);
    BandPass(high, 2600, 4.0);
    for (size_t i = 0; i < source.size(); ++i) source[i] = low[i] + 0.6 * high[i];
    Envelope(source, 0.008, seconds * 0.45);
    return source;
}

}  // namespace make_demo
