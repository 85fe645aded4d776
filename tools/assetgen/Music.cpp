// The four songs, composed here as note strings and drum steps: a sunny
// island theme for the menus, a busier tune for play, a short game-over
// phrase and a tense panic loop. Looping songs wrap their tails into their
// start so they loop without a seam.
#include <string>
#include <vector>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/Sequencer.h"

namespace Lumo::AssetGen {

namespace {

// A strummed chord: each string a little after the one before.
void Strum(Song& song, double at, const std::vector<std::string>& notes, double length, double velocity, bool down)
{
    for (size_t i = 0; i < notes.size(); ++i)
    {
        const size_t k = down ? i : notes.size() - 1 - i;
        song.Notes(at + static_cast<double>(i) * 0.03, notes[k] + ":" + std::to_string(length), Instrument::Ukulele,
                   velocity * (0.8 + 0.05 * static_cast<double>(i)), 0.25);
    }
}

// Sixteenth-note arpeggio over a chord for one bar.
void Arpeggio(Song& song, double at, const std::vector<std::string>& chord, Instrument instrument, double velocity,
              double pan)
{
    static const int kOrder[16] = {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1, 2, 3, 2, 1};
    for (int i = 0; i < 16; ++i)
    {
        const std::string& note = chord[static_cast<size_t>(kOrder[i]) % chord.size()];
        song.Notes(at + i * 0.25, note + ":0.25", instrument, velocity * (i % 4 == 0 ? 1.0 : 0.7), pan);
    }
}

const std::vector<std::string> kC = {"C4", "E4", "G4", "C5"};
const std::vector<std::string> kAm = {"A3", "C4", "E4", "A4"};
const std::vector<std::string> kF = {"F3", "A3", "C4", "F4"};
const std::vector<std::string> kG = {"G3", "B3", "D4", "G4"};
const std::vector<std::string> kEm = {"E3", "G3", "B3", "E4"};

Song Theme()
{
    Song song;
    song.bpm = 104;
    song.beats = 32;
    song.swing = 0.08;
    song.reverb = 0.25;
    song.Notes(0,
               "E5:0.5 G5:0.5 C6:1 B5:0.5 A5:0.5 G5:1 "
               "A5:1.5 G5:0.5 E5:1 C5:1 "
               "F5:0.5 A5:0.5 C6:1 A5:0.5 F5:0.5 A5:1 "
               "G5:1.5 F5:0.5 D5:1 r:1 "
               "E5:0.5 G5:0.5 C6:1 D6:0.5 C6:0.5 B5:0.5 A5:0.5 "
               "A5:1 C6:1 E6:1.5 D6:0.5 "
               "C6:0.5 A5:0.5 F5:1 D5:0.5 F5:0.5 G5:0.5 B5:0.5 "
               "C6:2 r:2",
               Instrument::SteelDrum, 0.9, -0.15);
    const std::vector<std::vector<std::string>> chords = {kC, kAm, kF, kG, kC, kAm, kF, kC};
    for (size_t bar = 0; bar < chords.size(); ++bar)
    {
        const double at = static_cast<double>(bar) * 4;
        const auto& chord = (bar == 6) ? kF : chords[bar];
        for (double beat : {0.0, 1.0, 1.5, 2.5, 3.0, 3.5})
            Strum(song, at + beat, chord, 0.5, beat == 0.0 ? 0.7 : 0.45, beat == 0.0 || beat == 1.0 || beat == 3.0);
        if (bar == 6)
            Strum(song, at + 2.5, kG, 0.5, 0.5, true);
        song.Notes(at, chord[0] + "+" + chord[1] + "+" + chord[2] + ":4", Instrument::Pad, 0.4);
        const std::string root = chord[0].substr(0, chord[0].size() - 1);
        song.Notes(at, root + "2:1.5 " + root + "2:0.5 " + root + "3:1 " + root + "2:1", Instrument::Bass, 0.8);
    }
    song.Steps(0, "xoxoxoxoxoxoxoxo", Instrument::Shaker, 60, 8, 0.35, 0.4);
    song.Steps(0, "x..o..x.x.o.x...", Instrument::Conga, 62, 8, 0.6, -0.3);
    song.Steps(0, "......x.......o.", Instrument::Conga, 69, 8, 0.5, 0.3);
    song.Steps(0, "x.......x.......", Instrument::Kick, 60, 8, 0.6);
    return song;
}

Song GameMusic()
{
    Song song;
    song.bpm = 124;
    song.beats = 64;
    song.reverb = 0.18;
    const std::string melody = "A5:0.5 C6:0.5 A5:0.5 G5:0.5 F5:1 C5:1 "
                               "D5:0.5 G5:0.5 B5:0.5 D6:0.5 C6:1 B5:1 "
                               "G5:0.5 E5:0.5 G5:0.5 B5:0.5 E6:1.5 D6:0.5 "
                               "C6:1 B5:0.5 A5:0.5 E5:2 "
                               "F5:0.5 A5:0.5 C6:0.5 F6:0.5 E6:1 C6:1 "
                               "D6:0.5 B5:0.5 G5:0.5 B5:0.5 D6:1 G6:1 "
                               "E6:1 D6:0.5 C6:0.5 G5:1 E5:1 "
                               "C6:3 r:1";
    song.Notes(0, melody, Instrument::SoftLead, 0.8, 0.1, -12);
    song.Notes(32, melody, Instrument::SteelDrum, 0.85, -0.1);
    song.Notes(32, melody, Instrument::SoftLead, 0.45, 0.2, -12);
    const std::vector<std::vector<std::string>> chords = {kF, kG, kEm, kAm, kF, kG, kC, kC};
    for (int half = 0; half < 2; ++half)
    {
        for (size_t bar = 0; bar < chords.size(); ++bar)
        {
            const double at = half * 32.0 + static_cast<double>(bar) * 4;
            const auto& chord = chords[bar];
            Arpeggio(song, at, chord, Instrument::Marimba, 0.45, 0.35);
            const std::string root = chord[0].substr(0, chord[0].size() - 1);
            song.Notes(at,
                       root + "2:0.5 " + root + "2:0.5 " + root + "3:0.5 " + root + "2:0.5 " + root + "2:0.5 " +
                           root + "3:0.5 " + root + "2:0.5 " + root + "3:0.5",
                       Instrument::Bass, 0.75);
            song.Notes(at, chord[1] + "+" + chord[2] + ":4", Instrument::Pad, 0.35, 0.0, 12);
        }
    }
    song.Steps(0, "x...x...x...x...", Instrument::Kick, 60, 16, 0.8);
    song.Steps(0, "....x.......x...", Instrument::Clap, 60, 16, 0.6, 0.1);
    song.Steps(0, "x.x.x.x.x.x.x.xo", Instrument::HiHat, 60, 16, 0.5, 0.3);
    song.Steps(0, "..o...o...o..o.o", Instrument::Conga, 64, 16, 0.5, -0.35);
    // Fills at the end of each half.
    song.Steps(28, "........x.x.xxxx", Instrument::Snare, 60, 1, 0.6);
    song.Steps(60, "....x.x.x.x.xxxx", Instrument::Tom, 62, 1, 0.7);
    return song;
}

Song GameOver()
{
    Song song;
    song.bpm = 92;
    song.beats = 12;
    song.loop = false;
    song.reverb = 0.3;
    song.Notes(0, "G5:0.25 E5:0.25 C5:0.25 G4:0.25 r:0.5", Instrument::Marimba, 0.8);
    song.Notes(1, "G4:1 F#4:1 F4:1 E4:5", Instrument::Lead, 0.8, 0.0, -12);
    song.Notes(1, "C4+E4+G4:1 C4+D#4+F#4:1 D4+F4:1 C4+E4+G4:5", Instrument::Pad, 0.5);
    song.Notes(1, "C3:1 B2:1 A#2:1 A2:1 G2:1 C2:4", Instrument::Bass, 0.6);
    song.Notes(6, "C6+E6+G6:3", Instrument::Bell, 0.35);
    return song;
}

Song Panic()
{
    Song song;
    song.bpm = 150;
    song.beats = 16;
    song.reverb = 0.12;
    song.Notes(0,
               "A5:0.5 E5:0.5 A5:0.5 C6:0.5 B5:0.5 G#5:0.5 E5:1 "
               "A5:0.5 B5:0.5 C6:0.5 D6:0.5 E6:1 r:1 "
               "F5:0.5 A5:0.5 C6:0.5 F6:0.5 E6:0.5 C6:0.5 A5:1 "
               "G#5:0.5 B5:0.5 E6:0.5 B5:0.5 G#5:0.5 E5:0.5 D5:0.5 B4:0.5",
               Instrument::Lead, 0.7, 0.1, -12);
    const char* roots[4] = {"A2", "A2", "F2", "E2"};
    for (int bar = 0; bar < 4; ++bar)
    {
        std::string line;
        for (int i = 0; i < 8; ++i)
            line += std::string(roots[bar]) + ":0.5 ";
        song.Notes(bar * 4.0, line, Instrument::Bass, 0.8);
    }
    song.Notes(0, "A3+C4+E4:8 F3+A3+C4:4 E3+G#3+B3:4", Instrument::Pad, 0.4, 0.0, 12);
    song.Steps(0, "x.....x.x.......", Instrument::Kick, 60, 4, 0.9);
    song.Steps(0, "....x.......x..o", Instrument::Snare, 60, 4, 0.6);
    song.Steps(0, "xoxoxoxoxoxoxoxo", Instrument::HiHat, 60, 4, 0.5, 0.3);
    song.Steps(0, "x...x...x...x...", Instrument::Bell, 96, 4, 0.12, -0.4);
    return song;
}

} // namespace

void MakeThemeSong(AssetSink& sink)
{
    sink.AddFile("sound/theme.ogg", EncodeOgg(RenderSong(Theme()), 0x54424d00, 0.3f), true);
}

void MakeGameSong(AssetSink& sink)
{
    sink.AddFile("sound/game_music.ogg", EncodeOgg(RenderSong(GameMusic()), 0x54424d01, 0.3f), true);
}

void MakeShortSongs(AssetSink& sink)
{
    sink.AddFile("sound/game_over.ogg", EncodeOgg(RenderSong(GameOver()), 0x54424d02, 0.3f), true);
    sink.AddFile("sound/panic.wav", EncodeWav(RenderSong(Panic())), true);
}

} // namespace Lumo::AssetGen
