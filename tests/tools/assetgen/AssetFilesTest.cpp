// Every file the game loads exists in the build folder, with the sizes the
// drawing code assumes: exact sizes where the layout depends on them, bounds
// where the screen leaves only so much room, cel grids that divide the size,
// white art where the game tints, and sounds the game's readers decode.
#include "app/LumoAppBase.h"
#include "audio/SoundFileReaders.h"
#include "fonts/FontData.h"
#include "fonts/ImageFont.h"
#include "game/GameIds.h"
#include "game/DemoBoardFile.h"
#include "platform/FileSystem.h"
#include "platform/Video.h"
#include "resources/ImageLib.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace Lumo {
namespace {

std::unique_ptr<ImageLib::Image> Load(const std::string& file)
{
    return ImageLib::ReadImageFile("images/" + file, true);
}

// Fraction of the pixels with some alpha whose colour is not a grey.
double ColouredShare(const ImageLib::Image& image, int x0, int y0, int w, int h)
{
    int seen = 0, coloured = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
        {
            const uint32_t p = image.GetBits()[static_cast<size_t>(y) * image.GetWidth() + x];
            if ((p >> 24) < 16)
                continue;
            ++seen;
            const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (std::max({r, g, b}) - std::min({r, g, b}) > 12)
                ++coloured;
        }
    return seen == 0 ? 1.0 : static_cast<double>(coloured) / seen;
}

double OpaqueShare(const ImageLib::Image& image)
{
    const size_t n = static_cast<size_t>(image.GetWidth()) * image.GetHeight();
    size_t opaque = 0;
    for (size_t i = 0; i < n; ++i)
        opaque += (image.GetBits()[i] >> 24) >= 16;
    return static_cast<double>(opaque) / static_cast<double>(n);
}

class AssetFiles : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        for (const GameImageInfo& info : GameImageTable())
            if (sImages.count(info.file) == 0)
                sImages[info.file] = Load(info.file);
    }
    static void TearDownTestSuite() { sImages.clear(); }
    static const ImageLib::Image& Image(const std::string& file)
    {
        static const ImageLib::Image empty;
        const auto it = sImages.find(file);
        return it != sImages.end() && it->second ? *it->second : empty;
    }
    static int CelWidth(const std::string& file, int columns) { return Image(file).GetWidth() / columns; }

    static std::map<std::string, std::unique_ptr<ImageLib::Image>> sImages;
};
std::map<std::string, std::unique_ptr<ImageLib::Image>> AssetFiles::sImages;

TEST_F(AssetFiles, EveryImageExistsAsRgbaPngAndItsCelGridDividesIt)
{
    for (const GameImageInfo& info : GameImageTable())
    {
        const std::string path = std::string("images/") + info.file + ".png";
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(Platform::ReadWholeFile(path, bytes)) << path;
        ASSERT_GT(bytes.size(), 26u) << path;
        EXPECT_EQ(bytes[24], 8) << path << ": 8 bits per sample";
        EXPECT_EQ(bytes[25], 6) << path << ": RGBA";
        const ImageLib::Image& image = Image(info.file);
        ASSERT_GT(image.GetWidth(), 0) << path;
        EXPECT_EQ(image.GetWidth() % info.celColumns, 0) << path;
        EXPECT_EQ(image.GetHeight() % info.celRows, 0) << path;
        EXPECT_LE(image.GetWidth(), 4096) << path;
    }
}

TEST_F(AssetFiles, ExactSizesTheLayoutDependsOn)
{
    struct Size
    {
        const char* file;
        int w, h;
    };
    const Size exact[] = {{"tiles", 560, 600},          {"tile_highlight", 336, 60}, {"menu_corner_tl", 24, 24},
                          {"menu_corner_bl", 24, 24},   {"border_left", 16, 660},    {"board_toaster", 392, 60}};
    for (const Size& s : exact)
    {
        EXPECT_EQ(Image(s.file).GetWidth(), s.w) << s.file;
        EXPECT_EQ(Image(s.file).GetHeight(), s.h) << s.file;
    }
    // Night scenery has its day twin's size (the day sizes place both).
    for (const char* part : {"cloud_", "beach_"})
        for (const char* suffix : {"", "_tile", "_right"})
        {
            if (std::string(part) == "cloud_" && std::string(suffix) != "")
                continue;
            const std::string day = std::string(part) + "day" + suffix, night = std::string(part) + "night" + suffix;
            EXPECT_EQ(Image(day).GetWidth(), Image(night).GetWidth()) << day;
            EXPECT_EQ(Image(day).GetHeight(), Image(night).GetHeight()) << day;
        }
    EXPECT_EQ(Image("music_slider").GetWidth(), Image("sound_slider").GetWidth());
    EXPECT_EQ(Image("music_slider").GetHeight(), Image("sound_slider").GetHeight());
    EXPECT_EQ(Image("water_cooler").GetWidth(), Image("watercooler_mask").GetWidth());
    EXPECT_EQ(Image("water_cooler").GetHeight(), Image("watercooler_mask").GetHeight());
    EXPECT_EQ(Image("logo_letters").GetWidth() % 7, 0);
}

TEST_F(AssetFiles, SizesStayWithinTheRoomTheScreenLeaves)
{
    const auto& table = GameImageTable();
    // Characters: badger, girl, gorilla and witch about 100 x 130 (drawn at
    // twice that size in the right column); the fish fits its tank's water.
    for (int id = IMAGE_BADGER_IDLE; id <= IMAGE_WITCH_GAMEOVER; ++id)
    {
        const GameImageInfo& info = table[static_cast<size_t>(id)];
        const int celW = CelWidth(info.file, info.celColumns), celH = Image(info.file).GetHeight();
        if (id >= IMAGE_GOLDFISH_IDLE && id <= IMAGE_GOLDFISH_GAMEOVER)
        {
            EXPECT_LE(celW, 90) << info.file;
            EXPECT_LE(celH, 80) << info.file;
        }
        else
        {
            EXPECT_NEAR(celW, 100, 20) << info.file;
            EXPECT_NEAR(celH, 130, 20) << info.file;
        }
    }
    EXPECT_LE(Image("splash_cloud").GetHeight(), 240);
    EXPECT_NEAR(Image("splash_cloud").GetWidth(), 560, 60);
    EXPECT_LE(Image("text_tutorial").GetWidth(), 160); // from x 139, short of the border at 300
    EXPECT_LE(Image("text_tutorial").GetHeight(), 48);
    EXPECT_LE(Image("developer").GetWidth(), 1024);
    EXPECT_LE(Image("developer").GetHeight(), 768);
    EXPECT_LE(Image("water_anim").GetWidth(), 188);
    // The cooler's water rectangle (6 in from the sides, 24 below the top)
    // must leave a tank of sensible size, and the fish (drawn doubled) fit it.
    EXPECT_GE(Image("water_cooler").GetWidth() - 12, 2 * CelWidth("goldfish_idle", 30));
    // The toaster bar covers the bottom row only.
    EXPECT_LE(Image("board_toaster").GetHeight(), 60);
    // Menu bars are 48 high: a top and a bottom corner.
    EXPECT_EQ(Image("menu_corner_tl").GetHeight() + Image("menu_corner_bl").GetHeight(), 48);
    // Score panel rows: the bonus bar fits inside the panel's bottom.
    EXPECT_LE(Image("bonus_timer_full").GetWidth(), Image("score_bars").GetWidth());
    EXPECT_GE(Image("stat_bars").GetHeight(), 232 + 8); // third number's baseline inside
}

TEST_F(AssetFiles, TintedArtIsWhiteOrGrey)
{
    for (const char* file : {"cursor_on", "blob_particle", "cocktail", "water_anim", "watercooler_mask",
                             "smartbomb_circle", "smartbomb_scream", "speech_tail", "menu_corner_tl", "menu_corner_bl",
                             "menu_bar_reflection"})
    {
        const ImageLib::Image& image = Image(file);
        EXPECT_LT(ColouredShare(image, 0, 0, image.GetWidth(), image.GetHeight()), 0.02) << file;
    }
    // The smart bomb's column of the tiles, row 0.
    EXPECT_LT(ColouredShare(Image("tiles"), 7 * 56, 0, 56, 60), 0.02);
    // The mask paints ground colour: it must stay nearly empty.
    EXPECT_LT(OpaqueShare(Image("watercooler_mask")), 0.15);
}

TEST_F(AssetFiles, BlobsKeepTheirColoursAndShapes)
{
    const ImageLib::Image& tiles = Image("tiles");
    // Each colour's cel is mostly its own hue; cels of different colours
    // also differ in outline (shape), so colour is never the only cue.
    const int expected[5][3] = {{209, 0, 36}, {233, 233, 46}, {24, 230, 49}, {74, 88, 247}, {217, 14, 253}};
    std::vector<std::vector<bool>> masks;
    for (int colour = 0; colour < 5; ++colour)
    {
        std::vector<bool> mask;
        long sum[3] = {0, 0, 0}, n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 56; ++x)
            {
                const uint32_t p = tiles.GetBits()[static_cast<size_t>(y) * 560 + colour * 56 + x];
                mask.push_back((p >> 24) > 200);
                if ((p >> 24) > 200)
                {
                    sum[0] += (p >> 16) & 0xFF, sum[1] += (p >> 8) & 0xFF, sum[2] += p & 0xFF;
                    ++n;
                }
            }
        ASSERT_GT(n, 1000) << colour;
        int nearest = -1;
        long best = -1;
        for (int k = 0; k < 5; ++k)
        {
            long d = 0;
            for (int c = 0; c < 3; ++c)
                d += (sum[c] / n - expected[k][c]) * (sum[c] / n - expected[k][c]);
            if (best < 0 || d < best)
                best = d, nearest = k;
        }
        EXPECT_EQ(nearest, colour);
        masks.push_back(mask);
    }
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b)
        {
            int differ = 0;
            for (size_t i = 0; i < masks[a].size(); ++i)
                differ += masks[a][i] != masks[b][i];
            EXPECT_GT(differ, 120) << a << " and " << b << " have the same outline";
        }
}

TEST(AssetSounds, EverySoundEffectDecodesWithTheGamesReaders)
{
    int wav = 0, ogg = 0;
    for (int id = 1; id < SOUND_ID_LIMIT; ++id)
    {
        const char* name = GameSoundName(id);
        if (name == nullptr)
            continue;
        const std::string base = std::string("sound/") + name;
        DecodedSound sound;
        if (Platform::FileExists(base + ".wav"))
        {
            ASSERT_TRUE(ReadWavSound(base + ".wav", sound)) << base;
            ++wav;
        }
        else
        {
            ASSERT_TRUE(ReadOggSound(base + ".ogg", sound)) << base;
            ++ogg;
        }
        EXPECT_EQ(sound.bitsPerSample, 16) << base;
        const double seconds = static_cast<double>(sound.pcm.size()) / sound.BlockAlign() / sound.sampleRate;
        EXPECT_GT(seconds, 0.04) << base;
        EXPECT_LT(seconds, 3.0) << base;
    }
    EXPECT_EQ(wav + ogg, 27);
    EXPECT_GE(wav, 1);
    EXPECT_GE(ogg, 1);
}

TEST(AssetSounds, SongsAreLooseFilesTheMusicPlayerOpens)
{
    for (int id : {MUSIC_THEME, MUSIC_GAME, MUSIC_GAME_OVER, MUSIC_PANIC})
    {
        const std::string file = GameMusicFile(id);
        DecodedSound song;
        const bool ogg = file.size() > 4 && file.substr(file.size() - 4) == ".ogg";
        ASSERT_TRUE(ogg ? ReadOggSound(file, song) : ReadWavSound(file, song)) << file;
        const double seconds = static_cast<double>(song.pcm.size()) / song.BlockAlign() / song.sampleRate;
        EXPECT_GT(seconds, id == MUSIC_GAME_OVER ? 2.0 : 5.0) << file;
        EXPECT_LT(seconds, 60.0) << file;
    }
}

TEST(AssetBoard, DemoBoardIsAValidBoardBesideTheGame)
{
    const auto board = DemoBoardFile::Load("demo_board");
    ASSERT_TRUE(board.has_value());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(Platform::ReadWholeFile("demo_board", bytes));
    EXPECT_EQ(bytes.size(), DemoBoardFile::kSize);
}

TEST(AssetFont, DescriptionAndGlyphImageExist)
{
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(Platform::ReadWholeFile("images/Tumbrix28.txt", bytes));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("SetDefaultPointSize 28;"), std::string::npos);
    EXPECT_NE(text.find("LayerSetImage Main 'Tumbrix28.png';"), std::string::npos);
    const auto glyphs = ImageLib::ReadImageFile("images/Tumbrix28.png", false);
    ASSERT_TRUE(glyphs);
    // White glyphs on clear: tinted by the text colour when drawn.
    EXPECT_LT(ColouredShare(*glyphs, 0, 0, glyphs->GetWidth(), glyphs->GetHeight()), 0.01);
}

class HeadlessApp : public LumoAppBase
{
};

TEST(AssetFont, LoadsAsTheGamesImageFontWithEveryPrintableCharacter)
{
    Platform::ClearMessageBoxLog();
    HeadlessApp app;
    ImageFont font(&app, "images/Tumbrix28.txt");
    const auto& boxes = Platform::GetMessageBoxLog();
    ASSERT_TRUE(font.GetFontData()->IsLoaded()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(font.GetPointSize(), 28);
    for (int c = 32; c <= 126; ++c)
        EXPECT_GT(font.GetCharWidth(static_cast<char>(c)), 0) << c;
    EXPECT_EQ(font.GetCharWidth('{'), font.GetCharWidth('}')); // the option box's two states
    EXPECT_GE(font.GetHeight(), 28);
    EXPECT_GT(font.GetAscent(), font.GetHeight() / 2);
    // Labels fit their bars (450 wide, less the corners), numbers their panels.
    for (const char* label : {"Choose your flavour", "Music volume", "Sound volume", "Windowed }", "Your stats"})
        EXPECT_LT(font.GetStringWidth(label), 450 - 48) << label;
    EXPECT_LT(font.GetStringWidth("99999999"), 260 - 32);
}

} // namespace
} // namespace Lumo
