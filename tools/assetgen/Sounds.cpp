// The sound effects, synthesised: pops and blips for the blobs, booms for the
// bombs, chimes for the menus, little voices for the characters, bubbles for
// the fish tank. Most are PCM WAV; a few are Ogg Vorbis (both readers are in
// use).
#include <cmath>
#include <functional>
#include <string>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/Paint.h"
#include "tools/assetgen/Synth.h"

namespace Lumo::AssetGen {

namespace {

using Track = std::vector<double>;
constexpr double kRate = kSampleRate;

// Renders seconds of sound from a per-sample function of time.
Track Render(double seconds, const std::function<double(double)>& sample)
{
    Track out = MonoTrack(seconds);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = sample(static_cast<double>(i) / kRate);
    return out;
}

void Add(Track& dst, const Track& src, double at, double gain = 1.0)
{
    const size_t offset = static_cast<size_t>(at * kRate);
    if (dst.size() < offset + src.size())
        dst.resize(offset + src.size(), 0.0);
    for (size_t i = 0; i < src.size(); ++i)
        dst[offset + i] += src[i] * gain;
}

// A pitched blip sweeping from f0 to f1 (exponentially) with a pluck decay.
Track Blip(double f0, double f1, double seconds, WaveShape shape, double tau, double cutoff = 6000)
{
    Oscillator osc(shape);
    Filter filter;
    return Render(seconds, [&](double t) {
        const double f = f0 * std::pow(f1 / f0, t / seconds);
        filter.Run(osc.Next(f), cutoff, 0.8);
        return filter.low * Pluck(t, tau);
    });
}

// A bell-like note: sine partials.
Track Chime(double hz, double seconds, double tau)
{
    Oscillator a(WaveShape::Sine), b(WaveShape::Sine), c(WaveShape::Sine);
    return Render(seconds, [&](double t) {
        return a.Next(hz) * Pluck(t, tau) + 0.4 * b.Next(hz * 2.0) * Pluck(t, tau * 0.5) +
               0.2 * c.Next(hz * 3.01) * Pluck(t, tau * 0.25);
    });
}

Track NoiseBurst(double seconds, double tau, double cutoff0, double cutoff1, uint32_t seed)
{
    Noise noise(seed);
    Filter filter;
    return Render(seconds, [&](double t) {
        filter.Run(noise.Next(), cutoff0 * std::pow(cutoff1 / cutoff0, t / seconds), 0.7);
        return filter.low * Pluck(t, tau, 0.001);
    });
}

// A bubbly "bloop": a sine whose pitch rises quickly, like a bubble popping.
Track Bloop(double hz, double seconds)
{
    Oscillator osc(WaveShape::Sine);
    return Render(seconds, [&](double t) {
        const double f = hz * (1.0 + 1.5 * (1.0 - FastExp(-t / 0.03)));
        return osc.Next(f) * Pluck(t, seconds * 0.3, 0.003);
    });
}

Track Arpeggio(const std::vector<double>& notes, double step, double tau, double tail)
{
    Track out;
    for (size_t i = 0; i < notes.size(); ++i)
        Add(out, Chime(MidiToHz(notes[i]), tail, tau), static_cast<double>(i) * step, 0.7);
    return out;
}

// A formant voice saying a sequence of (vowel, pitch, seconds) syllables.
struct Syllable
{
    const Vowel* vowel;
    double pitch0, pitch1, seconds;
};
Track Voice(const std::vector<Syllable>& syllables, double gap, double vibrato, double breath)
{
    Track out;
    double at = 0;
    FormantVoice voice;
    Oscillator lfo(WaveShape::Sine);
    for (const Syllable& s : syllables)
    {
        Add(out, Render(s.seconds, [&](double t) {
                const double u = t / s.seconds;
                const double pitch = (s.pitch0 + (s.pitch1 - s.pitch0) * u) * (1.0 + vibrato * lfo.Next(6.5));
                const double env = std::min(1.0, t / 0.02) * std::min(1.0, (s.seconds - t) / 0.04);
                return voice.Next(pitch, *s.vowel, breath) * env;
            }),
            at);
        at += s.seconds + gap;
    }
    return out;
}

struct Effect
{
    const char* name;
    bool ogg;
    double peak; // loudness: interface ticks stay soft, explosions loud
    std::function<Track()> make;
};

std::vector<Effect> Effects()
{
    return {
        {"blob_explosion", false, 0.75,
         [] {
             Track t = Bloop(420, 0.25);
             Add(t, Bloop(640, 0.2), 0.04, 0.7);
             Add(t, Chime(MidiToHz(88), 0.35, 0.08), 0.06, 0.25);
             return t;
         }},
        {"activate_cursor", false, 0.50, [] { return Blip(520, 1040, 0.14, WaveShape::Triangle, 0.06); }},
        {"deactivate_cursor", false, 0.55,
         [] {
             Track t = Blip(500, 180, 0.25, WaveShape::Square, 0.09, 2000);
             Add(t, Blip(380, 140, 0.2, WaveShape::Triangle, 0.08), 0.08, 0.8);
             return t;
         }},
        {"bomb_explosion", false, 0.95,
         [] {
             Track t = NoiseBurst(1.1, 0.28, 3000, 200, 5);
             Add(t, Blip(120, 35, 0.8, WaveShape::Sine, 0.25, 400), 0, 1.4);
             Add(t, NoiseBurst(0.3, 0.05, 8000, 3000, 6), 0, 0.5);
             return t;
         }},
        {"blob_select", false, 0.40, [] { return Blip(900, 1100, 0.07, WaveShape::Sine, 0.03); }},
        {"change_option", false, 0.35, [] { return Blip(1400, 1300, 0.05, WaveShape::Triangle, 0.015); }},
        {"select_option", false, 0.55,
         [] {
             Track t = Chime(MidiToHz(79), 0.4, 0.1);
             Add(t, Chime(MidiToHz(86), 0.4, 0.12), 0.06, 0.8);
             return t;
         }},
        {"skull_death", false, 0.80,
         [] {
             Track t = NoiseBurst(0.25, 0.04, 5000, 1500, 9);
             Add(t, Blip(600, 90, 0.7, WaveShape::Saw, 0.25, 1500), 0.03, 0.6);
             Add(t, Voice({{&kVowelO, 300, 120, 0.5}}, 0, 0.03, 0.3), 0.05, 0.8);
             return t;
         }},
        {"combo_over", false, 0.55,
         [] {
             Track t = Chime(MidiToHz(76), 0.4, 0.1);
             Add(t, Chime(MidiToHz(69), 0.5, 0.15), 0.14, 0.9);
             return t;
         }},
        {"intro", false, 0.70,
         [] {
             Track t = NoiseBurst(0.7, 0.3, 400, 9000, 12);
             Add(t, Arpeggio({72, 76, 79, 84}, 0.07, 0.2, 0.6), 0.25, 1.0);
             return t;
         }},
        {"ready", false, 0.70,
         [] {
             Track t = Arpeggio({67, 72}, 0.18, 0.18, 0.5);
             Add(t, Blip(200, 200, 0.35, WaveShape::Triangle, 0.1, 800), 0, 0.5);
             return t;
         }},
        {"go", false, 0.80,
         [] {
             Track t;
             for (double n : {72.0, 76.0, 79.0, 84.0})
                 Add(t, Chime(MidiToHz(n), 0.8, 0.25), 0, 0.5);
             Add(t, NoiseBurst(0.4, 0.08, 9000, 5000, 14), 0, 0.3);
             return t;
         }},
        {"smartbomb", false, 0.70,
         [] {
             Oscillator a(WaveShape::Saw), lfo(WaveShape::Sine);
             Filter filter;
             return Render(1.3, [&](double t) {
                 const double f = 150 * std::pow(8.0, t / 1.3);
                 filter.Run(a.Next(f * (1 + 0.02 * lfo.Next(12))), 600 + 4000 * t, 2.0);
                 return filter.low * std::min(1.0, t / 0.1) * std::min(1.0, (1.3 - t) / 0.1);
             });
         }},
        {"toast", false, 0.70,
         [] {
             Track t = Chime(MidiToHz(93), 0.9, 0.3);
             Add(t, Blip(300, 900, 0.18, WaveShape::Triangle, 0.08), 0.0, 0.6);
             return t;
         }},
        {"star_explosion", false, 0.60,
         [] {
             Track t;
             Random rng(8);
             for (int i = 0; i < 7; ++i)
                 Add(t, Chime(MidiToHz(84 + rng.Range(0, 14)), 0.35, 0.07), i * 0.045, 0.4);
             return t;
         }},
        {"smartbomb_explosion", false, 0.95,
         [] {
             Track t = NoiseBurst(1.6, 0.45, 6000, 300, 15);
             Add(t, Blip(90, 30, 1.0, WaveShape::Sine, 0.35, 300), 0, 1.3);
             Add(t, Arpeggio({84, 88, 91, 96, 100}, 0.05, 0.25, 0.8), 0.05, 0.6);
             return t;
         }},
        {"bounce", false, 0.60,
         [] {
             Oscillator osc(WaveShape::Sine), lfo(WaveShape::Sine);
             return Render(0.45, [&](double t) {
                 const double f = 180 + 220 * FastExp(-t / 0.1) + 40 * lfo.Next(18) * FastExp(-t / 0.2);
                 return osc.Next(f) * Pluck(t, 0.15);
             });
         }},
        {"scream", false, 0.80,
         [] {
             return Voice({{&kVowelA, 700, 900, 0.25}, {&kVowelA, 900, 650, 0.55}}, 0, 0.04, 0.15);
         }},
        {"witch_laugh", true, 0.80,
         [] {
             std::vector<Syllable> s;
             for (int i = 0; i < 6; ++i)
                 s.push_back({i % 2 == 0 ? &kVowelE : &kVowelA, 520.0 - i * 30, 470.0 - i * 30, 0.11});
             Track t = Voice(s, 0.05, 0.05, 0.35);
             return t;
         }},
        {"bomb_awarded", false, 0.65, [] { return Arpeggio({79, 83, 86, 91}, 0.06, 0.15, 0.5); }},
        {"monkey_toast", true, 0.80,
         [] {
             return Voice({{&kVowelU, 300, 420, 0.16}, {&kVowelO, 420, 480, 0.14}, {&kVowelU, 320, 460, 0.16},
                           {&kVowelA, 480, 560, 0.22}},
                          0.04, 0.02, 0.2);
         }},
        {"level_up", true, 0.75, [] { return Arpeggio({72, 76, 79, 84, 88, 91, 96}, 0.08, 0.3, 0.9); }},
    };
}

void Write(AssetSink& sink, const char* name, bool ogg, double peak, const Track& track, uint32_t serial)
{
    Track faded = track;
    FadeEnds(faded, 0.002, 0.02);
    const PcmBuffer pcm = ToPcm(faded, peak);
    if (ogg)
        sink.AddFile(std::string("sound/") + name + ".ogg", EncodeOgg(pcm, serial, 0.4f));
    else
        sink.AddFile(std::string("sound/") + name + ".wav", EncodeWav(pcm));
}

} // namespace

void MakeSounds(AssetSink& sink)
{
    uint32_t serial = 0x54420100;
    for (const Effect& effect : Effects())
        Write(sink, effect.name, effect.ogg, effect.peak, effect.make(), serial++);
    // Five bubbles of the fish tank, each a little different.
    for (int i = 0; i < 5; ++i)
    {
        Track t = Bloop(300 + i * 70, 0.18);
        Add(t, Bloop(520 + i * 60, 0.12), 0.07 + i * 0.01, 0.6);
        Write(sink, ("bubble_" + std::to_string(i)).c_str(), true, 0.5, t, serial++);
    }
}

} // namespace Lumo::AssetGen
