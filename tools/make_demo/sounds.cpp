#include "sounds.h"

#include <cmath>
#include <numbers>
#include <string>

#include "synth.h"
#include "writers/wav_writer.h"

namespace make_demo {
namespace {

struct Note {
    double beat;    // start, in beats from the loop's start
    double length;  // in beats
    double midi;    // pitch as a MIDI note number
};

// Note numbers: C4 = 60.
constexpr double C3 = 48, F3 = 53, G3 = 55, A3 = 57;
constexpr double C4 = 60, D3 = 50, E4 = 64, F4 = 65, G4 = 67, B4 = 71;
constexpr double C5 = 72, D5 = 74, E5 = 76, Fs5 = 78, F5 = 77, G5 = 79, A5 = 81, C6 = 84;

void Save(PackWriter& pack, const char* name, const Mixer& mix, double peak = 0.85) {
    pack.Write(std::string("Ljud\\") + name, writers::EncodeWav(mix.ToPcm(peak), kSampleRate));
}

// A cheerful marimba tune over a soft bass and a shaker, two bars in C major.
Mixer StartMenuTune() {
    const size_t beat = 10000;
    Mixer mix(beat * 8, true);
    const Note melody[] = {
        {0.0, 0.5, C5}, {0.5, 0.5, E5}, {1.0, 0.5, G5}, {1.5, 0.5, E5}, {2.0, 0.5, A5},
        {2.5, 0.5, G5}, {3.0, 1.0, E5}, {4.0, 0.5, F5}, {4.5, 0.5, E5}, {5.0, 0.5, D5},
        {5.5, 0.5, E5}, {6.0, 1.0, C5}, {7.0, 0.5, G4}, {7.5, 0.5, B4},
    };
    for (const Note& n : melody) {
        mix.Add(Marimba(NoteHz(n.midi), 0.7), static_cast<size_t>(n.beat * beat), 0.55);
    }
    const Note bass[] = {{0, 1, C3}, {1, 1, G3}, {2, 1, C3}, {3, 1, G3},
                         {4, 1, F3}, {5, 1, A3}, {6, 1, C3}, {7, 1, G3}};
    for (const Note& n : bass) {
        mix.Add(SoftBass(NoteHz(n.midi), 0.42), static_cast<size_t>(n.beat * beat), 0.35);
    }
    for (int i = 0; i < 8; ++i) {
        mix.Add(Shaker(0.08, 100 + i), static_cast<size_t>((i + 0.5) * beat), 0.12);
    }
    return mix;
}

// A music-box waltz in F major with a plucked "oom-pah-pah", four bars.
Mixer SubMenuTune() {
    const size_t beat = 8000;
    Mixer mix(beat * 12, true);
    const Note melody[] = {{0, 1, A5}, {1, 1, C6}, {2, 1, A5},    {3, 1, G5},
                           {4, 1, F5}, {5, 1, G5}, {6, 1, A5},    {7, 1, F5},
                           {8, 1, D5}, {9, 2, E5}, {11, 0.5, C5}, {11.5, 0.5, D5}};
    for (const Note& n : melody) {
        mix.Add(MusicBox(NoteHz(n.midi), 0.9), static_cast<size_t>(n.beat * beat), 0.5);
    }
    const double roots[] = {F3, C3, D3, C3};
    const double chord[][2] = {{A3, C4}, {G3, C4}, {F3, A3}, {G3, C4}};
    for (int bar = 0; bar < 4; ++bar) {
        const size_t start = static_cast<size_t>(bar * 3) * beat;
        mix.Add(Pluck(NoteHz(roots[bar]), 0.6, 200 + bar), start, 0.45);
        for (int b = 1; b < 3; ++b) {
            for (int k = 0; k < 2; ++k) {
                mix.Add(Pluck(NoteHz(chord[bar][k]), 0.3, 300 + bar * 10 + b * 2 + k),
                        start + b * beat, 0.18);
            }
        }
    }
    return mix;
}

// A short violin phrase in G major, bowed legato, that loops.
Mixer ViolinPhrase() {
    const size_t beat = 11025;
    Mixer mix(beat * 6, true);
    const Note phrase[] = {{0, 1, D5}, {1, 0.5, B4},  {1.5, 0.5, C5}, {2, 1, D5},
                           {3, 1, G5}, {4, 0.5, Fs5}, {4.5, 0.5, E5}, {5, 1, D5}};
    for (const Note& n : phrase) {
        // Each note lasts a little past the next start so the bow changes without a gap.
        const double seconds = n.length * beat / kSampleRate + 0.07;
        mix.Add(Bowed(NoteHz(n.midi), seconds), static_cast<size_t>(n.beat * beat), 0.5);
    }
    return mix;
}

// A hen pottering about: groups of clucks at uneven times.
Mixer HenClucking() {
    Mixer mix(Samples(2.8), true);
    const struct {
        double at, hz;
    } clucks[] = {{0.05, 430}, {0.22, 400}, {0.38, 450}, {1.05, 410},
                  {1.20, 440}, {1.85, 420}, {2.00, 395}, {2.16, 460}};
    uint64_t seed = 40;
    for (const auto& c : clucks) {
        mix.Add(HenCall(c.hz * 0.9, c.hz * 1.15, c.hz * 0.8, 0.09, seed++), Samples(c.at));
    }
    return mix;
}

// "Buk, buk, ba-gaaawk!"
Mixer HenCallOnce() {
    Mixer mix(Samples(1.1), false);
    mix.Add(HenCall(380, 450, 330, 0.09, 60), Samples(0.02), 0.8);
    mix.Add(HenCall(390, 470, 340, 0.09, 61), Samples(0.19), 0.8);
    mix.Add(HenCall(420, 520, 440, 0.12, 62), Samples(0.36), 0.9);
    mix.Add(HenCall(520, 900, 640, 0.55, 63), Samples(0.52), 1.0);
    return mix;
}

Mixer Click() {
    Signal s(Samples(0.04));
    Random random(7);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        s[i] = std::sin(2 * std::numbers::pi * 1900 * t) * std::exp(-t / 0.005) +
               0.5 * std::sin(2 * std::numbers::pi * 1150 * t) * std::exp(-t / 0.009) +
               0.3 * random.Between(-1, 1) * std::exp(-t / 0.002);
    }
    Envelope(s, 0.0005, 0.01);
    Mixer mix(s.size(), false);
    mix.Add(s, 0);
    return mix;
}

// A droopy "wah-wah" for a miss.
Mixer Missed() {
    Mixer mix(Samples(0.85), false);
    mix.Add(BrassSlide(NoteHz(G4), NoteHz(G4) * 0.96, 0.28), 0);
    mix.Add(BrassSlide(NoteHz(F4), NoteHz(E4) * 0.97, 0.5), Samples(0.32));
    return mix;
}

// Six distinct rising sounds for the build-up steps.
Mixer BuildSound(int n) {
    Mixer mix(Samples(0.7), false);
    switch (n) {
        case 0:
            mix.Add(Sweep(300, 950, 0.28), 0);
            break;
        case 1: {
            const double notes[] = {C5, E5, G5, C6};
            for (int i = 0; i < 4; ++i) mix.Add(Marimba(NoteHz(notes[i]), 0.4), Samples(0.07 * i));
            break;
        }
        case 2: {
            std::vector<double> steps;
            for (int i = 0; i < 10; ++i) steps.push_back(400.0 * std::pow(2.0, i / 5.0));
            mix.Add(ChipSteps(steps, 0.032), 0, 0.8);
            break;
        }
        case 3: {
            const double notes[] = {G4, B4, D5, G5};
            for (int i = 0; i < 4; ++i) {
                mix.Add(Pluck(NoteHz(notes[i]), 0.4, 500 + i), Samples(0.08 * i));
            }
            break;
        }
        case 4:
            mix.Add(Boing(180, 620, 0.45), 0);
            break;
        default: {
            mix.Add(Sweep(620, 1500, 0.5, 0.02), 0);
            Random random(9);
            Signal breath = Noise(0.5, random);
            BandPass(breath, 1800, 2.0);
            Envelope(breath, 0.03, 0.2);
            mix.Add(breath, 0, 0.15);
            break;
        }
    }
    return mix;
}

}  // namespace

void WriteSounds(PackWriter& pack) {
    Save(pack, "StartMeny.wav", StartMenuTune(), 0.7);
    Save(pack, "SubMeny.wav", SubMenuTune(), 0.7);
    Save(pack, "Click.wav", Click(), 0.6);
    Save(pack, "Missed.wav", Missed(), 0.7);
    // Peaks differ so that the six sounds are about equally loud: the square wave of the
    // third is much denser than the plucks.
    const double peaks[6] = {0.7, 0.85, 0.4, 0.9, 0.6, 0.6};
    for (int n = 0; n < 6; ++n) {
        Save(pack, ("Build" + std::to_string(n) + ".wav").c_str(), BuildSound(n), peaks[n]);
    }
    Save(pack, "Musik\\Fiol.wav", ViolinPhrase(), 0.75);
    Save(pack, "Djur\\Hona.wav", HenClucking(), 0.75);
    Save(pack, "Djur\\Hona2.wav", HenCallOnce(), 0.8);
}

}  // namespace make_demo
