#pragma once
// Shared pieces of the developer previews: the generated images read back
// (cached), drawing them as the game does (part, tint, scale, mirror), and
// the bitmap font read back from its description and drawn glyph by glyph.
#include <cairo.h>

#include <string>
#include <utility>
#include <vector>

#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

// The PNG images below <folder>/images, loaded on first use.
class Images
{
public:
    explicit Images(const std::string& folder) : mFolder(folder) {}
    ~Images();
    Images(const Images&) = delete;
    Images& operator=(const Images&) = delete;
    // The image "images/<name>.png"; an error surface when it is missing.
    cairo_surface_t* Get(const std::string& name);
    static int W(cairo_surface_t* s) { return cairo_image_surface_get_width(s); }
    static int H(cairo_surface_t* s) { return cairo_image_surface_get_height(s); }

private:
    std::string mFolder;
    std::vector<std::pair<std::string, cairo_surface_t*>> mCache;
};

// Draws part (sx, sy, sw, sh; -1 for the whole) of an image at (x, y),
// optionally tinted (modulated) like the game's image tinting, scaled and
// mirrored left to right.
void Blit(cairo_t* cr, cairo_surface_t* s, double x, double y, double alpha = 1.0, const Rgb* tint = nullptr,
          double sx = 0, double sy = 0, double sw = -1, double sh = -1, double scale = 1.0, bool mirror = false);

// The game's bitmap font, read back from "images/Tumbrix28.txt".
class BitmapFont
{
public:
    BitmapFont(const std::string& folder, Images& images);
    int Width(const std::string& s) const;
    // Baseline at y, like the game's font drawing.
    void Draw(cairo_t* cr, const std::string& s, double x, double y, Rgb colour, double alpha = 1.0) const;
    // Black shadow 2 pixels down and right, then the text; align 0 left,
    // 1 centred, 2 right.
    void Shadow(cairo_t* cr, const std::string& s, double x, double y, int align, Rgb colour) const;

private:
    static std::vector<int> Numbers(const std::string& s);
    int Index(char c) const;

    cairo_surface_t* mAtlas;
    std::vector<char> mChars;
    std::vector<int> mWidths, mRects, mOffsets;
    int mAscent = 0;
};

} // namespace Lumo::AssetGen
