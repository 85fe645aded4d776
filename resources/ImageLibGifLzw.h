#pragma once
// The LZW decoder of the GIF reader: turns the image's data sub-blocks into
// colour indices, one at a time.
#include <cstdint>

#include "app/pak/PakFile.h"

namespace Lumo::ImageLib {

// Reads one data sub-block: a count byte, then up to that many bytes into the
// buffer (at least 255 bytes). Returns the number of bytes actually read; 0 for
// the block terminator or at the end of the file.
int ReadGifSubBlock(PFILE* file, uint8_t* buffer);

class GifLzwDecoder
{
public:
    static constexpr int kMaxMinimumCodeSize = 11;

    // Decodes from the file's current position, just after the minimum code
    // size byte; minimumCodeSize 0..kMaxMinimumCodeSize.
    GifLzwDecoder(PFILE* file, int minimumCodeSize);

    // The next colour index 0..255, or -1 once the data has ended (terminator,
    // end of file, end code, or a code the table cannot have yet); after -1 it
    // stays -1. A full table without a clear code keeps decoding without new
    // entries, as GIF allows an encoder to defer the clear code.
    int NextIndex();

private:
    static constexpr int kTableSize = 4096;

    void Reset();
    bool ReadCode(int& code);
    bool Push(uint8_t value);
    bool ExpandCode(int code);
    void AddEntry();

    PFILE* mFile;
    int mMinimumCodeSize;
    int mClearCode;
    int mEndCode;
    int mNextFree = 0;
    int mCodeSize = 0;
    int mMask = 0;
    int mOldCode = -1;
    uint8_t mFirstChar = 0;
    uint32_t mBits = 0;
    int mBitCount = 0;
    int mBlockSize = 0;
    int mBlockPos = 0;
    bool mEnded = false;
    int mStackTop = 0;
    int16_t mPrefix[kTableSize] = {};
    uint8_t mSuffix[kTableSize] = {};
    uint8_t mStack[kTableSize + 1] = {};
    uint8_t mBlock[256] = {};
};

} // namespace Lumo::ImageLib
