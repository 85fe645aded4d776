#include "fonts/GlyphDrawQueue.h"

#include <algorithm>

#include "graphics/Graphics.h"

namespace Lumo {

namespace {

// Made during start-up, before anything draws.
GlyphDrawQueue& gStartupQueue = GlyphDrawQueue::Get();

} // namespace

GlyphDrawQueue& GlyphDrawQueue::Get()
{
    static GlyphDrawQueue queue;
    return queue;
}

void GlyphDrawQueue::Clear()
{
    mHeads.fill(nullptr);
    mTails.fill(nullptr);
    mUsed = 0;
}

bool GlyphDrawQueue::Queue(const GlyphDrawCommand& command, int bucket)
{
    if (IsFull())
        return false;
    bucket = std::clamp(bucket, 0, kBucketCount - 1);
    GlyphDrawCommand* record = &mPool[static_cast<size_t>(mUsed++)];
    *record = command;
    record->mNext = nullptr;
    if (mTails[static_cast<size_t>(bucket)] != nullptr)
        mTails[static_cast<size_t>(bucket)]->mNext = record;
    else
        mHeads[static_cast<size_t>(bucket)] = record;
    mTails[static_cast<size_t>(bucket)] = record;
    return true;
}

int GlyphDrawQueue::BucketFor(long long order)
{
    return static_cast<int>(std::clamp(order + 128, 0LL, static_cast<long long>(kBucketCount - 1)));
}

void GlyphDrawQueue::DrawAll(Graphics* g) const
{
    for (const GlyphDrawCommand* head : mHeads)
        for (const GlyphDrawCommand* record = head; record != nullptr; record = record->mNext)
        {
            const DrawMode savedMode = g->GetDrawMode();
            if (record->mDrawMode != -1)
                g->SetDrawMode(record->mDrawMode);
            g->SetColor(record->mColor);
            if (record->mImage != nullptr)
                g->DrawImagePart(record->mImage, record->mDestX, record->mDestY, record->mSrcRect);
            g->SetDrawMode(savedMode);
        }
}

} // namespace Lumo
