#include "tools/assetgen/PreviewKit.h"

#include <cctype>
#include <cstdio>

namespace Lumo::AssetGen {

Images::~Images()
{
    for (auto& [name, s] : mCache)
        cairo_surface_destroy(s);
}

cairo_surface_t* Images::Get(const std::string& name)
{
    for (auto& [n, s] : mCache)
        if (n == name)
            return s;
    cairo_surface_t* s = cairo_image_surface_create_from_png((mFolder + "/images/" + name + ".png").c_str());
    mCache.emplace_back(name, s);
    return s;
}

void Blit(cairo_t* cr, cairo_surface_t* s, double x, double y, double alpha, const Rgb* tint,
          double sx, double sy, double sw, double sh, double scale, bool mirror)
{
    if (sw < 0)
        sw = Images::W(s);
    if (sh < 0)
        sh = Images::H(s);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (mirror)
    {
        cairo_translate(cr, sw * scale, 0);
        cairo_scale(cr, -1, 1);
    }
    cairo_scale(cr, scale, scale);
    cairo_rectangle(cr, 0, 0, sw, sh);
    cairo_clip(cr);
    cairo_push_group(cr);
    cairo_set_source_surface(cr, s, -sx, -sy);
    cairo_paint(cr);
    if (tint != nullptr)
    {
        cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
        SetColour(cr, *tint);
        cairo_mask_surface(cr, s, -sx, -sy);
    }
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

BitmapFont::BitmapFont(const std::string& folder, Images& images) : mAtlas(images.Get("Tumbrix28"))
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen((folder + "/images/Tumbrix28.txt").c_str(), "rb");
    if (f == nullptr)
        return;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    const std::string text(bytes.begin(), bytes.end());
    auto section = [&](const std::string& key) {
        const size_t start = text.find(key);
        return start == std::string::npos ? std::string() : text.substr(start, text.find(";\n", start) - start);
    };
    // Characters in order: every quoted item of the Define list.
    const std::string chars = section("Define Chars");
    for (size_t i = chars.find('('); i < chars.size(); ++i)
    {
        if (chars[i] == '\'' || chars[i] == '"')
        {
            const char q = chars[i];
            size_t j = i + 1;
            if (chars[j] == '\\')
                ++j;
            mChars.push_back(chars[j]);
            i = chars.find(q, j + 1);
        }
    }
    mWidths = Numbers(section("LayerSetCharWidths"));
    mRects = Numbers(section("LayerSetImageMap"));
    mOffsets = Numbers(section("LayerSetCharOffsets"));
    const std::vector<int> ascent = Numbers(section("LayerSetAscent"));
    mAscent = ascent.empty() ? 0 : ascent[0];
}

int BitmapFont::Width(const std::string& s) const
{
    int w = 0;
    for (char c : s)
        if (const int i = Index(c); i >= 0)
            w += mWidths[static_cast<size_t>(i)];
    return w;
}

void BitmapFont::Draw(cairo_t* cr, const std::string& s, double x, double y, Rgb colour, double alpha) const
{
    for (char c : s)
    {
        const int i = Index(c);
        if (i < 0)
            continue;
        const size_t k = static_cast<size_t>(i);
        Blit(cr, mAtlas, x + mOffsets[k * 2], y - (mAscent - mOffsets[k * 2 + 1]), alpha, &colour, mRects[k * 4],
             mRects[k * 4 + 1], mRects[k * 4 + 2], mRects[k * 4 + 3]);
        x += mWidths[k];
    }
}

void BitmapFont::Shadow(cairo_t* cr, const std::string& s, double x, double y, int align, Rgb colour) const
{
    if (align == 1)
        x -= Width(s) / 2;
    else if (align == 2)
        x -= Width(s);
    Draw(cr, s, x + 2, y + 2, Rgb{0, 0, 0});
    Draw(cr, s, x, y, colour);
}

std::vector<int> BitmapFont::Numbers(const std::string& s)
{
    std::vector<int> out;
    // Skip the command word and any layer/define names: numbers only.
    for (size_t i = 0; i < s.size(); ++i)
    {
        if ((s[i] == '-' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1]))) ||
            std::isdigit(static_cast<unsigned char>(s[i])))
        {
            size_t used = 0;
            out.push_back(std::stoi(s.substr(i), &used));
            i += used - 1;
        }
    }
    return out;
}

int BitmapFont::Index(char c) const
{
    for (size_t i = 0; i < mChars.size(); ++i)
        if (mChars[i] == c && i < mWidths.size() && i * 4 + 3 < mRects.size() && i * 2 + 1 < mOffsets.size())
            return static_cast<int>(i);
    return -1;
}

} // namespace Lumo::AssetGen
