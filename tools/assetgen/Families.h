#pragma once
// The asset families; each writes its files into the sink. Families that draw
// text (TextArt) must run on one thread; the others may run in parallel.
namespace Lumo::AssetGen {

class AssetSink;

void MakeBlobs(AssetSink& sink);      // tiles, highlights, cursors, icons, particles
void MakeEffects(AssetSink& sink);    // explosions, smart bomb, stars, energy ball
void MakeCharacters(AssetSink& sink); // the five characters in every mood
void MakeScenery(AssetSink& sink);    // sky, beach, border, cocktail, cooler, toaster
void MakeUi(AssetSink& sink);         // menu pieces, panels, buttons, sliders, cursor hand
void MakeBanners(AssetSink& sink);    // banner words, combo digits, logo, splash cloud, studio logo
void MakeFont(AssetSink& sink);       // images/Tumbrix28.txt and its glyph image
void MakeSounds(AssetSink& sink);     // the sound effects
void MakeMusic(AssetSink& sink);      // the four songs
void MakeDemoBoard(AssetSink& sink);  // the tutorial's "demo_board"

} // namespace Lumo::AssetGen
