#pragma once
// The asset families; each writes its files into the sink. Families that draw
// text (TextArt) must run on one thread; the others may run in parallel.
namespace Lumo::AssetGen {

class AssetSink;

void MakeBlobs(AssetSink& sink);      // tiles, highlights, cursors, icons, particles
void MakeEffects(AssetSink& sink);    // explosions, smart bomb, stars, energy ball
// The five characters in every mood, in two halves that may run in parallel.
void MakeCharactersA(AssetSink& sink); // badger, girl, goldfish
void MakeCharactersB(AssetSink& sink); // gorilla, witch
void MakeScenery(AssetSink& sink);    // clouds, beach, border
void MakeProps(AssetSink& sink);      // toaster bar, cocktail, water tank, toaster
void MakeUi(AssetSink& sink);         // menu pieces, panels, buttons, sliders, cursor hand
void MakeBanners(AssetSink& sink);    // banner words, combo digits, logo, splash cloud, studio logo
void MakeFont(AssetSink& sink);       // images/Tumbrix28.txt and its glyph image
void MakeSounds(AssetSink& sink);     // the sound effects
void MakeThemeSong(AssetSink& sink);  // the menu theme
void MakeGameSong(AssetSink& sink);   // the tune of play
void MakeShortSongs(AssetSink& sink); // the game-over phrase and the panic loop
void MakeDemoBoard(AssetSink& sink);  // the tutorial's "demo_board"

} // namespace Lumo::AssetGen
