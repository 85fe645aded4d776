#pragma once
// The animation of an image's cels: which cel shows when.
//
// Prepare(celCount, beginDelay, endDelay) settles the sequence:
// - the frame map: the given map with entries outside 0..celCount-1 dropped,
//   or 0..celCount-1 when none is given; for a ping-pong animation the way back
//   is appended (0 1 2 3 becomes 0 1 2 3 2 1), so a loop over the map goes back
//   and forth without showing either end twice;
// - the per-frame delays (milliseconds), one per map entry: the given list
//   (per entry of the forward map) padded with the frame delay; the way back of
//   a ping-pong repeats the delays of the entries it mirrors;
// - the begin delay is added to the first entry and the end delay to the last
//   entry of the forward map (for ping-pong: the turning point).
// GetCel(time) then maps a time in milliseconds to a cel.
#include <vector>

namespace Lumo {

enum AnimationType : int
{
    ANIMATION_NONE = 0,
    ANIMATION_ONCE = 1,
    ANIMATION_PING_PONG = 2,
    ANIMATION_LOOP = 3,
};

class AnimationInfo
{
public:
    void Prepare(int celCount, int beginDelay = 0, int endDelay = 0);

    // The cel shown timeMs milliseconds after the start: 0 for no animation,
    // the last entry once a once-animation is over, otherwise the sequence
    // repeats. 0 before Prepare.
    int GetCel(int timeMs) const;
    // The sum of the per-frame delays.
    int GetTotalTime() const { return mTotalAnimTime; }
    int GetFrameCount() const { return mFrameCount; }

    AnimationType mAnimType = ANIMATION_NONE;
    int mFrameDelay = 1;             // milliseconds per frame by default
    int mFrameCount = 0;             // map entries after Prepare
    std::vector<int> mPerFrameDelay; // milliseconds per map entry
    std::vector<int> mFrameMap;      // cel of each entry
    int mTotalAnimTime = 0;
};

} // namespace Lumo
