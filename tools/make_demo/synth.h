#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "random.h"

namespace make_demo {

constexpr int kSampleRate = 22050;  // every sound: mono, 16 bits

using Signal = std::vector<double>;

size_t Samples(double seconds);
double NoteHz(double midiNote);

// A buffer that sounds are mixed into. A looping buffer wraps whatever runs past its end
// round to its start, so the loop joins without a click.
class Mixer {
  public:
    Mixer(size_t length, bool loops);
    void Add(const Signal& sound, size_t at, double gain = 1.0);
    // Scaled so that the loudest sample reaches `peak` of full scale.
    std::vector<int16_t> ToPcm(double peak = 0.85) const;

  private:
    Signal buffer_;
    bool loops_;
};

// Instruments; every sound starts and ends at silence.
Signal Marimba(double hz, double seconds);
Signal MusicBox(double hz, double seconds);
Signal Pluck(double hz, double seconds, uint64_t seed);
Signal SoftBass(double hz, double seconds);
Signal Bowed(double hz, double seconds);
Signal Shaker(double seconds, uint64_t seed);

// A sine sweeping exponentially from one pitch to another.
Signal Sweep(double fromHz, double toHz, double seconds, double vibratoDepth = 0.0);
// A square wave whose pitch follows the given steps, one after the other.
Signal ChipSteps(const std::vector<double>& hz, double stepSeconds);
// A spring-like tone: frequency modulation with a rising carrier.
Signal Boing(double fromHz, double toHz, double seconds);
Signal BrassSlide(double fromHz, double toHz, double seconds);
// A hen's voice: the pitch rises to its peak in the first quarter and falls to its end.
Signal HenCall(double startHz, double peakHz, double endHz, double seconds, uint64_t seed);
Signal Noise(double seconds, Random& random);

// Filters and envelopes working in place.
void BandPass(Signal& s, double centreHz, double q);
void LowPass(Signal& s, double cutoffHz);
void Envelope(Signal& s, double attack, double release);
void Decay(Signal& s, double timeConstant);

}  // namespace make_demo
