#pragma once
// The process-wide queue of glyph draws shared by every ImageFont: a fixed
// pool of 4096 records and 256 draw-order buckets. A string queues one record
// per layer per character, then the buckets are drawn in order (a bucket's
// records in queuing order), so a lower-order layer is drawn for the whole
// string before a higher-order one. Nothing is allocated while drawing.
//
// Threads: any thread that draws text; hold GetLock() from Clear to the end
// of DrawAll (the pool and buckets are shared).
#include <array>

#include "graphics/Color.h"
#include "graphics/Rect.h"
#include "platform/CriticalSection.h"

namespace Lumo {

class Graphics;
class Image;

struct GlyphDrawCommand
{
    Image* mImage = nullptr;
    int mDestX = 0;
    int mDestY = 0;
    Rect mSrcRect;
    int mDrawMode = -1; // -1: leave the Graphics' draw mode
    Color mColor;
    GlyphDrawCommand* mNext = nullptr;
};

class GlyphDrawQueue
{
public:
    static constexpr int kPoolSize = 4096;
    static constexpr int kBucketCount = 256;

    // The one queue of the process.
    static GlyphDrawQueue& Get();

    CriticalSection& GetLock() { return mLock; }
    // Empties the pool and the buckets.
    void Clear();
    bool IsFull() const { return mUsed >= kPoolSize; }
    int GetQueuedCount() const { return mUsed; }
    // Appends a copy of the record to the bucket's chain; false (nothing
    // queued) when the pool is full.
    bool Queue(const GlyphDrawCommand& command, int bucket);
    // The bucket of a draw order: order + 128, limited to 0..255.
    static int BucketFor(long long order);
    // Draws every bucket from 0 to 255, each record with its colour and (when
    // not -1) draw mode; the Graphics' draw mode is restored after each.
    void DrawAll(Graphics* g) const;

private:
    GlyphDrawQueue() = default;

    CriticalSection mLock;
    std::array<GlyphDrawCommand, kPoolSize> mPool{};
    std::array<GlyphDrawCommand*, kBucketCount> mHeads{};
    std::array<GlyphDrawCommand*, kBucketCount> mTails{};
    int mUsed = 0;
};

} // namespace Lumo
