#pragma once
// Developer previews: a contact sheet of every generated image (named, over a
// checkerboard, sheets scaled down to fit), and mock-ups of the play screen
// and the menu screen composed from the images as the game places them.
#include <string>

namespace Lumo::AssetGen {

// Reads the images below outputFolder/images and writes the sheet; false on
// failure.
[[nodiscard]] bool WriteContactSheet(const std::string& outputFolder, const std::string& pngPath);
// One sheet per character (its moods in rows) and a sheet of effects and
// small pieces at twice their size with a sample of the font.
[[nodiscard]] bool WriteCharacterSheets(const std::string& outputFolder, const std::string& pngPrefix);
[[nodiscard]] bool WriteZoomSheet(const std::string& outputFolder, const std::string& pngPath);
[[nodiscard]] bool WriteScreenMockups(const std::string& outputFolder, const std::string& pngPrefix);

} // namespace Lumo::AssetGen
