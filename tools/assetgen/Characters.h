#pragma once
// The five characters. Each draws one frame of its pose into its cel (100 x
// 130, feet at the bottom centre; the goldfish 90 x 80).
#include <cairo.h>

#include "tools/assetgen/CharacterRig.h"

namespace Lumo::AssetGen {

void DrawBadger(cairo_t* cr, const Pose& pose);
void DrawGirl(cairo_t* cr, const Pose& pose);
void DrawGoldfish(cairo_t* cr, const Pose& pose);
void DrawGorilla(cairo_t* cr, const Pose& pose);
void DrawWitch(cairo_t* cr, const Pose& pose);

} // namespace Lumo::AssetGen
