#pragma once
// A 3 x 3 float transform of 2D points (row-major, m[row][column]), applied to
// column vectors (x, y, 1): m[0][2] and m[1][2] are the translation, m[0][0]
// and m[1][1] the x and y scale. Identity when constructed.
#include <cmath>

namespace Lumo {

class Vector2
{
public:
    constexpr Vector2() = default;
    constexpr Vector2(float xValue, float yValue) : x(xValue), y(yValue) {}
    constexpr Vector2 operator+(const Vector2& o) const { return Vector2(x + o.x, y + o.y); }
    constexpr Vector2 operator-(const Vector2& o) const { return Vector2(x - o.x, y - o.y); }
    constexpr Vector2 operator*(float s) const { return Vector2(x * s, y * s); }

    float x = 0.0f;
    float y = 0.0f;
};

class Vector3
{
public:
    constexpr Vector3() = default;
    constexpr Vector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

class Matrix3
{
public:
    constexpr Matrix3() = default;

    constexpr void LoadIdentity() { *this = Matrix3(); }

    constexpr Matrix3 operator*(const Matrix3& o) const
    {
        Matrix3 r;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
        return r;
    }
    constexpr Vector3 operator*(const Vector3& v) const
    {
        return Vector3(m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                       m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z);
    }
    // The point (x, y, 1) transformed (no perspective divide).
    constexpr Vector2 operator*(const Vector2& v) const
    {
        return Vector2(m[0][0] * v.x + m[0][1] * v.y + m[0][2], m[1][0] * v.x + m[1][1] * v.y + m[1][2]);
    }

    static constexpr Matrix3 Translation(float tx, float ty)
    {
        Matrix3 r;
        r.m[0][2] = tx;
        r.m[1][2] = ty;
        return r;
    }
    static constexpr Matrix3 Scaling(float sx, float sy)
    {
        Matrix3 r;
        r.m[0][0] = sx;
        r.m[1][1] = sy;
        return r;
    }
    // Rotation by angle radians; with y pointing down a positive angle turns
    // clockwise on screen.
    static Matrix3 Rotation(float angle)
    {
        Matrix3 r;
        float c = std::cos(angle);
        float s = std::sin(angle);
        r.m[0][0] = c;
        r.m[0][1] = -s;
        r.m[1][0] = s;
        r.m[1][1] = c;
        return r;
    }

    float m[3][3] = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
};

} // namespace Lumo
