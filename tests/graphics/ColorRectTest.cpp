#include <gtest/gtest.h>

#include "graphics/Color.h"
#include "graphics/Matrix3.h"
#include "graphics/Rect.h"

namespace Lumo {

TEST(ColorTest, PackedAlphaZeroMeansOpaque)
{
    Color opaque(0x123456);
    EXPECT_EQ(opaque, Color(0x12, 0x34, 0x56, 255));
    Color translucent(static_cast<int>(0x80123456u));
    EXPECT_EQ(translucent, Color(0x12, 0x34, 0x56, 0x80));
    EXPECT_EQ(Color(0x00FF00, 7), Color(0, 255, 0, 7));
    EXPECT_EQ(Color(1, 2, 3).mAlpha, 255);
    EXPECT_EQ(Color::White, Color(255, 255, 255, 255));
    EXPECT_EQ(Color(10, 20, 30, 40).ToInt(), 0x280A141Eu);
}

TEST(ColorTest, NotEqualWhenAnyChannelDiffers)
{
    EXPECT_FALSE(Color(1, 2, 3, 4) != Color(1, 2, 3, 4));
    EXPECT_TRUE(Color(1, 2, 3, 4) != Color(1, 2, 3, 5));
    EXPECT_TRUE(Color(1, 2, 3, 4) != Color(0, 2, 3, 4));
    EXPECT_TRUE(Color::White != Color(255, 255, 255, 254));
}

TEST(RectTest, IntersectionAndEmptiness)
{
    Rect a(0, 0, 10, 10);
    EXPECT_EQ(a.Intersection(Rect(5, -5, 10, 8)), Rect(5, 0, 5, 3));
    EXPECT_TRUE(a.Intersection(Rect(10, 0, 5, 5)).IsEmpty());
    EXPECT_TRUE(Rect(0, 0, -1, 5).IsEmpty());
    EXPECT_TRUE(a.Contains(9, 9));
    EXPECT_FALSE(a.Contains(10, 9));
}

TEST(Matrix3Test, IdentityScaleAndComposition)
{
    Matrix3 m;
    EXPECT_EQ(m.m[0][0], 1.0f);
    EXPECT_EQ(m.m[0][1], 0.0f);
    m.m[1][1] = -1.0f; // the game writes scale elements directly
    Vector2 p = Matrix3::Translation(10.0f, 20.0f) * m * Vector2(3.0f, 4.0f);
    EXPECT_FLOAT_EQ(p.x, 13.0f);
    EXPECT_FLOAT_EQ(p.y, 16.0f);
    Vector2 r = Matrix3::Rotation(1.5707964f) * Vector2(1.0f, 0.0f);
    EXPECT_NEAR(r.x, 0.0f, 1e-6);
    EXPECT_NEAR(r.y, 1.0f, 1e-6); // clockwise on screen (y down)
}

} // namespace Lumo
