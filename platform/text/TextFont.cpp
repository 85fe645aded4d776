#include "platform/text/TextFont.h"

#include <algorithm>
#include <array>

#include "platform/DebugOutput.h"
#include "platform/text/TextFontLibrary.h"

#include FT_SYNTHESIS_H

namespace Lumo::Platform {

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

// Windows-1252 bytes 0x80..0x9F as Unicode; the other bytes are Latin-1.
constexpr std::array<uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

FT_ULong CodePoint(uint8_t byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kCp1252High[byte - 0x80];
    return byte;
}

int RoundUp26Dot6(FT_Pos value)
{
    return static_cast<int>((value + 63) >> 6);
}

struct FaceDeleter
{
    void operator()(FT_Face face) const
    {
        Guard guard(TextFontLibrary::Lock());
        FT_Done_Face(face);
    }
};

} // namespace

struct TextFont::Impl
{
    TextFontSpec spec;
    std::string file;
    std::string family;
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face;
    bool syntheticBold = false;
    bool syntheticItalic = false;
    int ascent = 0;
    int descent = 0;
    int underlineOffset = 0;    // rows below the baseline to the bar's top
    int underlineThickness = 1; // rows
    std::array<int, 256> advances{}; // -1 until measured

    bool LoadGlyph(uint8_t byte);
    int Advance(uint8_t byte);
    void RenderGlyph(int penX, int baseline, CoverageBitmap& coverage);
};

bool TextFont::Impl::LoadGlyph(uint8_t byte)
{
    FT_Face f = face.get();
    const FT_UInt index = FT_Get_Char_Index(f, CodePoint(byte));
    if (FT_Load_Glyph(f, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0)
        return false;
    if (syntheticItalic)
        FT_GlyphSlot_Oblique(f->glyph);
    if (syntheticBold)
        FT_GlyphSlot_Embolden(f->glyph);
    return true;
}

int TextFont::Impl::Advance(uint8_t byte)
{
    if (advances[byte] < 0)
        advances[byte] = LoadGlyph(byte) ? static_cast<int>((face->glyph->advance.x + 32) >> 6) : 0;
    return advances[byte];
}

void TextFont::Impl::RenderGlyph(int penX, int baseline, CoverageBitmap& coverage)
{
    FT_GlyphSlot slot = face->glyph;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 || slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int rows = static_cast<int>(bitmap.rows);
    const int columns = static_cast<int>(bitmap.width);
    const int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    const int left = penX + slot->bitmap_left;
    const int top = baseline - slot->bitmap_top;
    for (int row = 0; row < rows; ++row)
    {
        const int sourceRow = bitmap.pitch < 0 ? rows - 1 - row : row;
        const unsigned char* line = bitmap.buffer + static_cast<ptrdiff_t>(sourceRow) * pitch;
        for (int column = 0; column < columns; ++column)
            if (line[column] != 0)
                coverage.Merge(left + column, top + row, line[column]);
    }
}

TextFont::TextFont(std::unique_ptr<Impl> impl) : mImpl(std::move(impl)) {}

TextFont::~TextFont() = default;

std::unique_ptr<TextFont> TextFont::Open(const TextFontSpec& requested)
{
    Guard guard(TextFontLibrary::Lock());
    auto impl = std::make_unique<Impl>();
    impl->spec = requested;
    impl->spec.pixelHeight = std::clamp(requested.pixelHeight, 1, kMaxPixelHeight);
    impl->advances.fill(-1);

    FT_Library library = TextFontLibrary::Library();
    const TextFontLibrary::FaceMatch match =
        TextFontLibrary::MatchFace(requested.face, requested.bold, requested.italic);
    FT_Face face = nullptr;
    if (library == nullptr || !match.found || FT_New_Face(library, match.file.c_str(), match.index, &face) != 0)
    {
        Log("FONT", "no system font could be opened for \"" + requested.face + "\"");
        return nullptr;
    }
    impl->face.reset(face);
    impl->file = match.file;
    impl->family = match.family;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(impl->spec.pixelHeight)) != 0)
    {
        Log("FONT", "the system font " + match.file + " cannot be sized");
        return nullptr;
    }
    impl->syntheticBold = requested.bold && (face->style_flags & FT_STYLE_FLAG_BOLD) == 0;
    impl->syntheticItalic = requested.italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;

    const FT_Size_Metrics& metrics = face->size->metrics;
    impl->ascent = RoundUp26Dot6(metrics.ascender);
    impl->descent = RoundUp26Dot6(-metrics.descender);
    const FT_Fixed yScale = metrics.y_scale;
    impl->underlineThickness = std::max(1, static_cast<int>((FT_MulFix(face->underline_thickness, yScale) + 32) >> 6));
    const int position = static_cast<int>((FT_MulFix(-face->underline_position, yScale) + 32) >> 6);
    impl->underlineOffset = std::max(1, position - impl->underlineThickness / 2);
    return std::unique_ptr<TextFont>(new TextFont(std::move(impl)));
}

const TextFontSpec& TextFont::GetSpec() const
{
    return mImpl->spec;
}

const std::string& TextFont::GetFilePath() const
{
    return mImpl->file;
}

const std::string& TextFont::GetFamily() const
{
    return mImpl->family;
}

int TextFont::GetAscent() const
{
    return mImpl->ascent;
}

int TextFont::GetDescent() const
{
    return mImpl->descent;
}

int TextFont::GetHeight() const
{
    return mImpl->ascent + mImpl->descent;
}

int TextFont::MeasureString(const std::string& text)
{
    Guard guard(TextFontLibrary::Lock());
    long long width = 0;
    for (char c : text)
        width += mImpl->Advance(static_cast<uint8_t>(c));
    return static_cast<int>(std::min<long long>(width, 1 << 30));
}

void TextFont::RenderString(const std::string& text, int x, int y, CoverageBitmap& coverage)
{
    Guard guard(TextFontLibrary::Lock());
    const int baseline = y + mImpl->ascent;
    int penX = x;
    for (char c : text)
    {
        const uint8_t byte = static_cast<uint8_t>(c);
        if (penX >= coverage.GetWidth())
            break;
        const int advance = mImpl->Advance(byte);
        if (penX + advance + mImpl->spec.pixelHeight >= 0 && mImpl->LoadGlyph(byte))
            mImpl->RenderGlyph(penX, baseline, coverage);
        penX += advance;
    }
    if (mImpl->spec.underline)
    {
        const int top = baseline + mImpl->underlineOffset;
        for (int row = top; row < top + mImpl->underlineThickness; ++row)
            for (int column = std::max(x, 0); column < std::min(penX, coverage.GetWidth()); ++column)
                coverage.Merge(column, row, 255);
    }
}

} // namespace Lumo::Platform
