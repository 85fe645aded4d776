// The character strips: one image per character and mood, its frames side by
// side (the game draws them at twice their size). Frame counts follow the
// game's cel grids.
#include <string>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Characters.h"
#include "tools/assetgen/Families.h"
#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

namespace {

struct CharacterSpec
{
    const char* prefix;
    void (*draw)(cairo_t*, const Pose&);
    int celWidth, celHeight;
    int frames[6]; // idle, happy, elated, bliss, panic, game over (0: no file)
};

const CharacterSpec kCharacters[] = {
    {"badger", DrawBadger, 100, 130, {30, 40, 36, 30, 40, 0}},
    {"zidazod", DrawGirl, 100, 130, {40, 40, 24, 40, 40, 40}},
    {"goldfish", DrawGoldfish, 90, 80, {30, 8, 10, 20, 20, 20}},
    {"gorilla", DrawGorilla, 100, 130, {40, 18, 12, 21, 34, 18}},
    {"witch", DrawWitch, 100, 130, {40, 22, 20, 39, 10, 30}},
};

const char* const kMoodNames[6] = {"idle", "happy", "elated", "bliss", "panic", "gameover"};

} // namespace

void MakeCharacters(AssetSink& sink)
{
    for (const CharacterSpec& spec : kCharacters)
    {
        for (int mood = 0; mood < 6; ++mood)
        {
            const int frames = spec.frames[mood];
            if (frames == 0)
                continue;
            auto strip = PaintSheet(spec.celWidth, spec.celHeight, frames, 1, [&](cairo_t* cr, int frame, int) {
                spec.draw(cr, MoodPose(static_cast<Mood>(mood), frame, frames));
            });
            sink.AddCanvas(std::string("images/") + spec.prefix + "_" + kMoodNames[mood] + ".png", *strip);
        }
    }
}

} // namespace Lumo::AssetGen
