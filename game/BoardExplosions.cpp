// The explosion queue and the ring of particles that every cleared cell throws.
#include "game/Board.h"

#include "app/Random.h"
#include "game/FixedTrig.h"
#include "game/GameApp.h"

namespace Lumo {

int Board::sinDegrees(int degrees)
{
    return FixedSinCos(degrees).sine;
}

int Board::cosDegrees(int degrees)
{
    return FixedSinCos(degrees).cosine;
}

void Board::addExplosion(int column, int row, int type)
{
    explosionFrame = 0;
    explosionFrame2 = 0;
    const int x = columnToX(column, true);
    const int y = rowToY(row, true);
    // A full queue stores nothing more (the story ending keeps adding, and a
    // large chain reaction can fill it), but the sound and particles still go.
    if (explosionCount < kMaxExplosions)
    {
        explosionType[explosionCount] = type;
        explosionX[explosionCount] = x;
        explosionY[explosionCount] = y;
        ++explosionCount;
    }
    if (type == BLOB_WILDCARD)
        playSound(SOUND_STAR_EXPLOSION);
    else if (type == BLOB_SKULL)
        playSound(SOUND_SKULL_DEATH);
    spawnParticles(x, y, type);
}

void Board::spawnParticles(int x, int y, int type)
{
    for (int i = 0; i < 5; ++i)
    {
        const int angle = RandomBelow(360);
        Particle& p = particles[nextParticle];
        p.type = type;
        p.x = x * 65536;
        p.y = y * 65536;
        p.life = 100;
        const int speedX = RandomBelow(400) + 464;
        p.vx = sinDegrees(angle) * speedX;
        const int speedY = RandomBelow(400) + 464;
        p.vy = cosDegrees(angle) * speedY;
        nextParticle = (nextParticle + 1) % kParticleCount;
    }
}

void Board::updateParticles()
{
    for (Particle& p : particles)
    {
        if ((p.y >> 16) >= mHeight)
            continue;
        p.x += p.vx;
        --p.life;
        p.y += p.vy;
        p.vy += 16384;
    }
}

} // namespace Lumo
