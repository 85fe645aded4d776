// Every vector form of the span loops gives exactly the pixels of the
// one-pixel-at-a-time rules.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/PixelSpans.h"

namespace Lumo::PixelOps {

namespace {

// Pixels with alphas 0, 255 and in between, in runs long enough to fill
// whole vectors of transparent or opaque pixels.
std::vector<uint32_t> TestPixels(std::mt19937& random, int n)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
    {
        uint32_t rgb = random() & 0xFFFFFFu;
        int run = (i / 16) % 4;
        uint32_t alpha = run == 0 ? 0u : run == 1 ? 255u : random() & 0xFFu;
        pixels[static_cast<size_t>(i)] = alpha << 24 | rgb;
    }
    return pixels;
}

uint32_t Byte(std::mt19937& random)
{
    return static_cast<uint32_t>(random() & 0xFFu);
}

} // namespace

TEST(PixelSpansTest, VectorTablesMatchThePlainRules)
{
    std::mt19937 random(7u);
    const SpanTable& plain = PlainSpanTable();
    ASSERT_GE(AvailableSpanTableCount(), 1);
    for (int t = 1; t < AvailableSpanTableCount(); ++t)
    {
        const SpanTable& table = AvailableSpanTable(t);
        for (int combo = 0; combo < 8; ++combo)
            for (int round = 0; round < 20; ++round)
            {
                const int n = 61 + round; // whole vectors and tails
                std::vector<uint32_t> src = TestPixels(random, n);
                std::vector<uint32_t> expected = TestPixels(random, n);
                std::vector<uint32_t> actual = expected;
                Tint tint;
                if (round % 2 == 1)
                    tint = Tint{Byte(random), Byte(random), Byte(random), Byte(random)};
                plain.write[combo](tint, expected.data(), src.data(), n);
                table.write[combo](tint, actual.data(), src.data(), n);
                ASSERT_EQ(actual, expected) << "table " << t << " combo " << combo << " round " << round;
            }
        std::vector<uint32_t> row = TestPixels(random, 50);
        std::vector<int> columns;
        for (int i = 0; i < 37; ++i)
            columns.push_back(static_cast<int>(random() % 50u));
        std::vector<uint32_t> gatheredPlain(columns.size()), gathered(columns.size());
        plain.gather(row.data(), columns.data(), gatheredPlain.data(), 37);
        table.gather(row.data(), columns.data(), gathered.data(), 37);
        ASSERT_EQ(gathered, gatheredPlain) << "gather of table " << t;
        for (uint32_t alpha : {1u, 100u, 254u})
        {
            std::vector<uint32_t> expected = TestPixels(random, 45);
            std::vector<uint32_t> actual = expected;
            uint32_t colour = alpha << 24 | (random() & 0xFFFFFFu);
            plain.blendConstantXrgb(expected.data(), colour, 45);
            table.blendConstantXrgb(actual.data(), colour, 45);
            ASSERT_EQ(actual, expected) << "table " << t << " alpha " << alpha;
        }
    }
}

TEST(PixelSpansTest, WriterFollowsTheRulesOfPixelOps)
{
    // Spot values of the rules themselves (the span tests compare against these).
    EXPECT_EQ(DestXrgb::Blend(0xFF0000FFu, 0xFFFF0000u, 128), 0xFF7F007Eu);
    EXPECT_EQ(DestArgb::Blend(0xFF0000FFu, 0xFFFF0000u, 128), 0xFF7F007Fu);
    EXPECT_EQ(DestArgb::Blend(0x00000000u, 0xFFFF0000u, 128), 0x7FFE0000u);
    EXPECT_EQ(DestArgb::Add(0x10203040u, 0x80FF0000u, 128), 0x90A03040u);
    EXPECT_EQ(Tint::From(Color(128, 255, 0, 255)).Apply(0xFFC86432u), 0xFF646400u);
    EXPECT_EQ(Tint::From(Color(300, -5, 255, 255)).Apply(0xFF101010u), 0xFF100010u);
}

} // namespace Lumo::PixelOps
