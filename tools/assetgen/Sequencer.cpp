#include "tools/assetgen/Sequencer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <sstream>
#include <tuple>

#include "tools/assetgen/Instruments.h"
#include "tools/assetgen/Synth.h"

namespace Lumo::AssetGen {

namespace {

int ParseNoteName(const std::string& name)
{
    static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (name.empty())
        return 60;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    int note = kSemitone[(letter - 'A') % 7];
    size_t i = 1;
    if (i < name.size() && name[i] == '#')
        ++note, ++i;
    else if (i < name.size() && name[i] == 'b')
        --note, ++i;
    const int octave = std::stoi(name.substr(i));
    return note + (octave + 1) * 12;
}

} // namespace

double Song::Notes(double at, const std::string& notes, Instrument instrument, double velocity, double pan,
                   int transpose)
{
    std::istringstream in(notes);
    std::string token;
    while (in >> token)
    {
        const size_t colon = token.find(':');
        const std::string pitches = token.substr(0, colon);
        const double length = colon == std::string::npos ? 1.0 : std::stod(token.substr(colon + 1));
        if (pitches != "r")
        {
            size_t start = 0;
            while (start <= pitches.size())
            {
                const size_t plus = pitches.find('+', start);
                const std::string one = pitches.substr(start, plus - start);
                events.push_back(NoteEvent{at, length, static_cast<double>(ParseNoteName(one) + transpose),
                                           velocity, instrument, pan});
                if (plus == std::string::npos)
                    break;
                start = plus + 1;
            }
        }
        at += length;
    }
    return at;
}

void Song::Steps(double at, const std::string& steps, Instrument instrument, double note, int bars, double velocity,
                 double pan)
{
    for (int bar = 0; bar < bars; ++bar)
    {
        for (size_t i = 0; i < steps.size(); ++i)
        {
            const char c = steps[i];
            if (c != 'x' && c != 'o')
                continue;
            const double beat = at + bar * 4.0 + static_cast<double>(i) * 0.25;
            events.push_back(NoteEvent{beat, 0.25, note, velocity * (c == 'x' ? 1.0 : 0.55), instrument, pan});
        }
    }
}

PcmBuffer RenderSong(const Song& song)
{
    using Track = std::vector<double>;
    const double secondsPerBeat = 60.0 / song.bpm;
    const int rate = kSampleRate;
    const size_t frames = static_cast<size_t>(song.beats * secondsPerBeat * rate);
    std::vector<float> stereo(frames * 2, 0.0f);
    // Songs repeat their notes: each distinct note is rendered once. Noisy
    // instruments keep four variants so repeated hits are not all alike.
    std::map<std::tuple<int, double, double, double, uint32_t>, Track> rendered;
    uint32_t seed = 1234;
    for (const NoteEvent& e : song.events)
    {
        double beat = e.beat;
        const double eighth = beat * 2.0;
        if (song.swing > 0 && std::fabs(eighth - std::round(eighth)) < 1e-6 &&
            static_cast<long>(std::lround(eighth)) % 2 == 1)
            beat += song.swing;
        const bool noisy = e.instrument == Instrument::Ukulele || e.instrument == Instrument::Snare ||
                           e.instrument == Instrument::HiHat || e.instrument == Instrument::OpenHat ||
                           e.instrument == Instrument::Shaker || e.instrument == Instrument::Clap;
        const uint32_t variant = noisy ? 1234 + seed++ % 4 : 0;
        const auto key = std::make_tuple(static_cast<int>(e.instrument), e.note, e.length, e.velocity, variant);
        auto found = rendered.find(key);
        if (found == rendered.end())
            found = rendered.emplace(key, RenderNote(e, e.length * secondsPerBeat, variant)).first;
        const Track& note = found->second;
        MixInto(stereo, frames, note, static_cast<size_t>(beat * secondsPerBeat * rate), 1.0, e.pan, song.loop);
    }
    BlockDc(stereo, 2);
    if (song.reverb > 0)
        AddReverb(stereo, song.reverb, 1.0, song.loop);
    PcmBuffer pcm;
    pcm.rate = rate;
    pcm.channels = 2;
    pcm.samples = std::move(stereo);
    // Gentle saturation keeps the peaks round, then a fixed headroom.
    for (float& s : pcm.samples)
        s = static_cast<float>(std::tanh(s * 0.9));
    Normalise(pcm, 0.85);
    return pcm;
}

} // namespace Lumo::AssetGen
