#pragma once
// A tiny synthesiser: band-limited oscillators, noise, envelopes, a resonant
// state-variable filter, formant voices, and mixing into PCM buffers. All of
// it is plain arithmetic on doubles, so the output is the same on every run.
#include <cstdint>
#include <vector>

#include "tools/assetgen/AudioFiles.h"

namespace Lumo::AssetGen {

constexpr int kSampleRate = 44100;

double MidiToHz(double note);

// Fast, deterministic sine of a phase in cycles (table with interpolation)
// and exponential (for x <= 0, as in decays); both within about 1e-6.
double SineCycles(double phase);
double FastExp(double x);

enum class WaveShape
{
    Sine,
    Triangle,
    Saw,
    Square,
    Pulse25,
};

// A phase-accumulating oscillator (frequency may change every sample).
class Oscillator
{
public:
    explicit Oscillator(WaveShape shape, double phase = 0)
        : mShape(shape), mPhase(phase), mTriangle(shape == WaveShape::Triangle ? -1.0 : 0.0)
    {
    }
    double Next(double hz, int rate = kSampleRate);

private:
    WaveShape mShape;
    double mPhase;
    double mTriangle; // leaky integrator state for the triangle
};

// White noise from a fixed seed.
class Noise
{
public:
    explicit Noise(uint32_t seed = 1) : mState(seed | 1u) {}
    double Next();

private:
    uint32_t mState;
};

// Attack, decay, sustain level, release, in seconds; the note is held for
// `hold` seconds, then released.
struct Envelope
{
    double attack = 0.005;
    double decay = 0.1;
    double sustain = 0.7;
    double release = 0.1;
    double At(double t, double hold) const;
    double Length(double hold) const { return hold + release; }
};

// exp(-t / tau) advanced one sample at a time (a running product), with a
// linear attack: the cheap form of Pluck for long notes.
class Decay
{
public:
    Decay(double tau, double attack = 0.002, int rate = kSampleRate);
    double Next();

private:
    double mValue = 1.0;
    double mFactor;
    double mRise = 0.0;
    double mRiseStep;
};

// Simple exponential decay envelope exp(-t / tau) with a short attack.
double Pluck(double t, double tau, double attack = 0.002);

// Zero-delay-feedback state-variable filter (low, band and high outputs).
class Filter
{
public:
    // cutoff in Hz, resonance q >= 0.5.
    void Run(double input, double cutoff, double q, int rate = kSampleRate);
    double low = 0, band = 0, high = 0;

private:
    double mIc1 = 0, mIc2 = 0;
    // Coefficients of the last cutoff and resonance (most filters keep them).
    double mCutoff = -1, mQ = -1, mRate = -1;
    double mA1 = 0, mA2 = 0, mA3 = 0, mK = 0;
};

// A voiced formant source: a glottal saw through three band-pass filters
// placed at the vowel's formants, blended between two vowels.
struct Vowel
{
    double f1, f2, f3;
};
extern const Vowel kVowelA, kVowelE, kVowelI, kVowelO, kVowelU;
class FormantVoice
{
public:
    double Next(double pitchHz, const Vowel& vowel, double breath);

private:
    Oscillator mSource{WaveShape::Saw};
    Noise mNoise{77};
    Filter mF[3];
};

// A mono buffer of the given seconds.
std::vector<double> MonoTrack(double seconds, int rate = kSampleRate);
// Adds src into dst (stereo interleaved) at frame offset with gain and pan
// (-1 left .. 1 right, equal power). Frames past the end wrap around when
// wrap is set (for seamless loops), else they are dropped.
void MixInto(std::vector<float>& dst, size_t dstFrames, const std::vector<double>& src, size_t offset, double gain,
             double pan, bool wrap);
// A simple stereo room: a few combs and all-passes, mixed in with `wet`.
// With loop set the tail of the buffer is fed back into its start.
void AddReverb(std::vector<float>& stereo, double wet, double roomSize, bool loop);
// Removes any constant offset (a one-pole high-pass near 10 Hz), per
// channel of an interleaved buffer.
void BlockDc(std::vector<float>& samples, int channels);
// A short fade in and out (seconds) to avoid clicks at the ends.
void FadeEnds(std::vector<double>& mono, double fadeIn, double fadeOut, int rate = kSampleRate);
// Mono buffer into a PcmBuffer normalised to peak.
PcmBuffer ToPcm(const std::vector<double>& mono, double peak, int rate = kSampleRate);

} // namespace Lumo::AssetGen
