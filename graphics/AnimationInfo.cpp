#include "graphics/AnimationInfo.h"

#include <algorithm>

namespace Lumo {

void AnimationInfo::Prepare(int celCount, int beginDelay, int endDelay)
{
    std::vector<int> map;
    if (mFrameMap.empty())
    {
        for (int cel = 0; cel < celCount; ++cel)
            map.push_back(cel);
    }
    else
    {
        for (int cel : mFrameMap)
            if (cel >= 0 && cel < celCount)
                map.push_back(cel);
    }

    std::vector<int> delays = mPerFrameDelay;
    delays.resize(map.size(), mFrameDelay);
    if (!map.empty())
    {
        delays.front() += beginDelay;
        delays.back() += endDelay;
    }

    // The way back of a ping-pong: the entries between the two ends, reversed.
    size_t forward = map.size();
    if (mAnimType == ANIMATION_PING_PONG && forward > 2)
    {
        for (size_t i = forward - 2; i >= 1; --i)
        {
            map.push_back(map[i]);
            delays.push_back(delays[i]);
        }
    }

    for (int& delay : delays)
        delay = std::max(delay, 0);
    mFrameMap = map;
    mPerFrameDelay = delays;
    mFrameCount = static_cast<int>(map.size());
    mTotalAnimTime = 0;
    for (int delay : delays)
        mTotalAnimTime += delay;
}

int AnimationInfo::GetCel(int timeMs) const
{
    if (mAnimType == ANIMATION_NONE || mFrameMap.empty())
        return 0;
    if (mTotalAnimTime <= 0)
        return mFrameMap.front();
    int t = std::max(timeMs, 0);
    if (mAnimType == ANIMATION_ONCE)
    {
        if (t >= mTotalAnimTime)
            return mFrameMap.back();
    }
    else
    {
        t %= mTotalAnimTime;
    }
    for (size_t i = 0; i < mFrameMap.size(); ++i)
    {
        if (t < mPerFrameDelay[i])
            return mFrameMap[i];
        t -= mPerFrameDelay[i];
    }
    return mFrameMap.back();
}

} // namespace Lumo
