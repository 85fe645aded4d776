#pragma once
// The little sequencer behind the songs: instruments rendered note by note,
// melodies and chords written as short note strings, drum patterns as step
// strings, and a song mixed into a looping (or one-shot) stereo buffer.
#include <string>
#include <vector>

#include "tools/assetgen/AudioFiles.h"

namespace Lumo::AssetGen {

enum class Instrument
{
    SteelDrum,
    Marimba,
    Ukulele,
    Lead,
    SoftLead,
    Bass,
    Pad,
    Bell,
    Kick,
    Snare,
    HiHat,
    OpenHat,
    Shaker,
    Conga,
    Clap,
    Tom,
};

struct NoteEvent
{
    double beat = 0;   // start, in beats from the song's start
    double length = 1; // held for this many beats
    double note = 60;  // MIDI note number (drums: their tuning)
    double velocity = 1;
    Instrument instrument = Instrument::SteelDrum;
    double pan = 0;
};

struct Song
{
    double bpm = 120;
    double beats = 32;   // length of the song (of one loop)
    bool loop = true;    // tails wrap into the start
    double swing = 0;    // delay of every second eighth, in beats
    double reverb = 0.2;
    std::vector<NoteEvent> events;

    // Adds the notes of a note string starting at beat `at`; returns the beat
    // after the last note. Tokens are separated by blanks: "C5:1" (note and
    // length in beats), "C4+E4+G4:2" (a chord), "r:0.5" (a rest); sharps
    // "F#4", flats "Bb3".
    double Notes(double at, const std::string& notes, Instrument instrument, double velocity = 1,
                 double pan = 0, int transpose = 0);
    // Drum hits from a step string of sixteenth notes: 'x' hit, 'o' soft,
    // '.' nothing; repeated `bars` times from beat `at` (4 beats a bar).
    void Steps(double at, const std::string& steps, Instrument instrument, double note = 60, int bars = 1,
               double velocity = 1, double pan = 0);
};

// Mixes the song into a 44.1 kHz stereo buffer.
PcmBuffer RenderSong(const Song& song);

} // namespace Lumo::AssetGen
