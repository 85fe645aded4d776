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
    double scale; // about the feet, so jumps and raised arms stay inside the cel
    int frames[6]; // idle, happy, elated, bliss, panic, game over (0: no file)
};

const CharacterSpec kCharacters[] = {
    {"badger", DrawBadger, 100, 130, 0.9, {30, 40, 36, 30, 40, 0}},
    {"zidazod", DrawGirl, 100, 130, 1.0, {40, 40, 24, 40, 40, 40}},
    {"goldfish", DrawGoldfish, 90, 80, 0.95, {30, 8, 10, 20, 20, 20}},
    {"gorilla", DrawGorilla, 100, 130, 0.8, {40, 18, 12, 21, 34, 18}},
    {"witch", DrawWitch, 100, 130, 0.9, {40, 22, 20, 39, 10, 30}},
};

const char* const kMoodNames[6] = {"idle", "happy", "elated", "bliss", "panic", "gameover"};

} // namespace

namespace {

void MakeCharacter(AssetSink& sink, const CharacterSpec& spec)
{
    {
        for (int mood = 0; mood < 6; ++mood)
        {
            const int frames = spec.frames[mood];
            if (frames == 0)
                continue;
            auto strip = PaintSheet(spec.celWidth, spec.celHeight, frames, 1, [&](cairo_t* cr, int frame, int) {
                const double footX = spec.celWidth / 2.0, footY = spec.celHeight - 3.0;
                cairo_translate(cr, footX, footY);
                cairo_scale(cr, spec.scale, spec.scale);
                cairo_translate(cr, -footX, -footY);
                spec.draw(cr, MoodPose(static_cast<Mood>(mood), frame, frames));
            });
            sink.AddCanvas(std::string("images/") + spec.prefix + "_" + kMoodNames[mood] + ".png", *strip);
        }
    }
}

} // namespace

void MakeCharactersA(AssetSink& sink)
{
    for (int i = 0; i < 3; ++i)
        MakeCharacter(sink, kCharacters[i]);
}

void MakeCharactersB(AssetSink& sink)
{
    for (int i = 3; i < 5; ++i)
        MakeCharacter(sink, kCharacters[i]);
}

} // namespace Lumo::AssetGen
