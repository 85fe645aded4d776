// The instruments of the songs, each a small synthesis recipe: steel drum,
// marimba and bell partials, a plucked ukulele string, leads, bass and pad
// through filters, and drums from swept sines and filtered noise.
#include "tools/assetgen/Instruments.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/Synth.h"

namespace Lumo::AssetGen {

namespace {

using Track = std::vector<double>;

Track SteelDrum(double hz, double seconds, double vel)
{
    Track out = MonoTrack(seconds + 0.9);
    Oscillator a(WaveShape::Sine), b(WaveShape::Sine), c(WaveShape::Sine), d(WaveShape::Sine);
    Decay ea(0.42), eb(0.2), ec(0.09), ed(0.04), bendDecay(0.02, 0);
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double bend = 1.0 + 0.012 * bendDecay.Next();
        const double v = a.Next(hz * bend) * ea.Next() + 0.55 * b.Next(hz * 2.0 * bend) * eb.Next() +
                         0.3 * c.Next(hz * 3.01) * ec.Next() + 0.18 * d.Next(hz * 4.2) * ed.Next();
        out[i] = v * vel * 0.5;
    }
    return out;
}

Track Marimba(double hz, double seconds, double vel)
{
    Track out = MonoTrack(seconds * 0.2 + 0.6);
    Oscillator a(WaveShape::Sine), b(WaveShape::Sine), c(WaveShape::Sine);
    Decay ea(0.28), eb(0.03), ec(0.008);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = vel * 0.5 * (a.Next(hz) * ea.Next() + 0.35 * b.Next(hz * 3.93) * eb.Next() +
                              0.12 * c.Next(hz * 9.2) * ec.Next());
    return out;
}

// Karplus-Strong plucked string.
Track Ukulele(double hz, double seconds, double vel, uint32_t seed)
{
    Track out = MonoTrack(std::min(seconds, 1.2) + 0.5);
    const size_t period = std::max<size_t>(2, static_cast<size_t>(kSampleRate / hz));
    std::vector<double> line(period);
    Noise noise(seed);
    Filter shape;
    for (double& s : line)
    {
        shape.Run(noise.Next(), 3500, 0.7);
        s = shape.low;
    }
    size_t pos = 0;
    double last = 0;
    const size_t held = static_cast<size_t>(std::min(seconds, 1.2) * kSampleRate);
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double current = line[pos];
        const double damping = i < held ? 0.996 : 0.96;
        line[pos] = (current + last) * 0.5 * damping;
        last = current;
        pos = (pos + 1) % period;
        out[i] = current * vel * 0.6;
    }
    return out;
}

Track Lead(double hz, double seconds, double vel, bool soft)
{
    const Envelope env{0.01, 0.15, soft ? 0.6 : 0.7, 0.12};
    Track out = MonoTrack(env.Length(seconds) + 0.01);
    Oscillator osc(soft ? WaveShape::Triangle : WaveShape::Pulse25), sub(WaveShape::Square), lfo(WaveShape::Sine);
    Filter filter;
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        const double vibrato = 1.0 + 0.006 * lfo.Next(5.5) * std::min(1.0, t / 0.25);
        // The narrow pulse sits off centre: take its mean (-0.5) out.
        const double raw = osc.Next(hz * vibrato) + (soft ? 0.0 : 0.5 + 0.25 * sub.Next(hz * 0.5));
        const double e = env.At(t, seconds);
        filter.Run(raw, 900 + 3500 * e, 0.9);
        out[i] = filter.low * e * vel * (soft ? 0.45 : 0.3);
    }
    return out;
}

Track Bass(double hz, double seconds, double vel)
{
    const Envelope env{0.004, 0.2, 0.55, 0.06};
    Track out = MonoTrack(env.Length(seconds) + 0.01);
    Oscillator saw(WaveShape::Saw), sine(WaveShape::Sine);
    Filter filter;
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        const double e = env.At(t, seconds);
        filter.Run(saw.Next(hz), 250 + 1400 * Pluck(t, 0.08), 1.4);
        out[i] = (filter.low * 0.7 + sine.Next(hz) * 0.6) * e * vel * 0.45;
    }
    return out;
}

Track Pad(double hz, double seconds, double vel)
{
    const Envelope env{0.35, 0.4, 0.8, 0.6};
    Track out = MonoTrack(env.Length(seconds) + 0.01);
    Oscillator a(WaveShape::Saw, 0.0), b(WaveShape::Saw, 0.33), c(WaveShape::Saw, 0.66);
    Filter filter;
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        const double raw = a.Next(hz * 0.997) + b.Next(hz * 1.003) + 0.5 * c.Next(hz * 2.001);
        filter.Run(raw, 1300, 0.7);
        out[i] = filter.low * env.At(t, seconds) * vel * 0.12;
    }
    return out;
}

Track Bell(double hz, double seconds, double vel)
{
    Track out = MonoTrack(seconds * 0.3 + 1.2);
    Oscillator a(WaveShape::Sine), b(WaveShape::Sine), c(WaveShape::Sine);
    Decay ea(0.6), eb(0.25), ec(0.08);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = vel * 0.35 * (a.Next(hz) * ea.Next() + 0.5 * b.Next(hz * 2.76) * eb.Next() +
                               0.25 * c.Next(hz * 5.4) * ec.Next());
    return out;
}

Track Kick(double vel)
{
    Track out = MonoTrack(0.35);
    Oscillator osc(WaveShape::Sine);
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        const double hz = 48 + 110 * FastExp(-t / 0.03);
        out[i] = std::tanh(1.6 * osc.Next(hz) * Pluck(t, 0.12, 0.001)) * vel * 0.9;
    }
    return out;
}

Track NoiseHit(double vel, double seconds, double tau, double cutoff, bool highPass, double q, uint32_t seed)
{
    Track out = MonoTrack(seconds);
    Noise noise(seed);
    Filter filter;
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        filter.Run(noise.Next(), cutoff, q);
        out[i] = (highPass ? filter.high : filter.band) * Pluck(t, tau, 0.001) * vel;
    }
    return out;
}

Track Snare(double vel, uint32_t seed)
{
    Track out = NoiseHit(vel * 0.55, 0.3, 0.07, 4000, false, 0.8, seed);
    Oscillator tone(WaveShape::Triangle);
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        out[i] += tone.Next(190 * (1 + 0.3 * FastExp(-t / 0.01))) * Pluck(t, 0.05) * vel * 0.45;
    }
    return out;
}

Track Conga(double hz, double vel)
{
    Track out = MonoTrack(0.4);
    Oscillator osc(WaveShape::Sine);
    Noise noise(9);
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        const double bend = 1.0 + 0.5 * FastExp(-t / 0.012);
        out[i] = (osc.Next(hz * bend) * Pluck(t, 0.13) + 0.2 * noise.Next() * Pluck(t, 0.004)) * vel * 0.6;
    }
    return out;
}

Track Clap(double vel, uint32_t seed)
{
    Track out = MonoTrack(0.3);
    for (int burst = 0; burst < 3; ++burst)
    {
        const Track hit = NoiseHit(vel * 1.2, 0.25, burst == 2 ? 0.06 : 0.008, 1500, false, 1.2, seed + burst);
        const size_t offset = static_cast<size_t>(burst * 0.011 * kSampleRate);
        for (size_t i = 0; i + offset < out.size() && i < hit.size(); ++i)
            out[i + offset] += hit[i];
    }
    return out;
}

} // namespace

std::vector<double> RenderNote(const NoteEvent& e, double seconds, uint32_t seed)
{
    const double hz = MidiToHz(e.note);
    switch (e.instrument)
    {
    case Instrument::SteelDrum: return SteelDrum(hz, seconds, e.velocity);
    case Instrument::Marimba: return Marimba(hz, seconds, e.velocity);
    case Instrument::Ukulele: return Ukulele(hz, seconds, e.velocity, seed);
    case Instrument::Lead: return Lead(hz, seconds, e.velocity, false);
    case Instrument::SoftLead: return Lead(hz, seconds, e.velocity, true);
    case Instrument::Bass: return Bass(hz, seconds, e.velocity);
    case Instrument::Pad: return Pad(hz, seconds, e.velocity);
    case Instrument::Bell: return Bell(hz, seconds, e.velocity);
    case Instrument::Kick: return Kick(e.velocity);
    case Instrument::Snare: return Snare(e.velocity, seed);
    case Instrument::HiHat: return NoiseHit(e.velocity * 0.35, 0.08, 0.018, 8000, true, 0.7, seed);
    case Instrument::OpenHat: return NoiseHit(e.velocity * 0.3, 0.35, 0.12, 7000, true, 0.7, seed);
    case Instrument::Shaker: return NoiseHit(e.velocity * 0.4, 0.1, 0.03, 6500, false, 1.0, seed);
    case Instrument::Conga: return Conga(hz, e.velocity);
    case Instrument::Clap: return Clap(e.velocity, seed);
    case Instrument::Tom: return Conga(hz * 0.5, e.velocity * 1.2);
    }
    return {};
}


} // namespace Lumo::AssetGen
