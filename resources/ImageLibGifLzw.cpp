#include "resources/ImageLibGifLzw.h"

#include <cassert>

namespace Lumo::ImageLib {

int ReadGifSubBlock(PFILE* file, uint8_t* buffer)
{
    const int count = PakFileGetChar(file);
    if (count <= 0)
        return 0;
    return static_cast<int>(PakFileRead(buffer, 1, static_cast<size_t>(count), file));
}

GifLzwDecoder::GifLzwDecoder(PFILE* file, int minimumCodeSize)
    : mFile(file), mMinimumCodeSize(minimumCodeSize), mClearCode(1 << minimumCodeSize), mEndCode(mClearCode + 1)
{
    assert(minimumCodeSize >= 0 && minimumCodeSize <= kMaxMinimumCodeSize);
    for (int code = 0; code < mClearCode; ++code)
        mSuffix[code] = static_cast<uint8_t>(code);
    Reset();
}

void GifLzwDecoder::Reset()
{
    mCodeSize = mMinimumCodeSize + 1;
    mMask = (1 << mCodeSize) - 1;
    mNextFree = mClearCode + 2;
    mOldCode = -1;
}

// Codes are packed least significant bit first across the sub-blocks.
bool GifLzwDecoder::ReadCode(int& code)
{
    while (mBitCount < mCodeSize)
    {
        if (mEnded)
            return false;
        if (mBlockPos >= mBlockSize)
        {
            mBlockSize = ReadGifSubBlock(mFile, mBlock);
            mBlockPos = 0;
            if (mBlockSize == 0)
            {
                mEnded = true;
                return false;
            }
        }
        mBits |= uint32_t{mBlock[mBlockPos++]} << mBitCount;
        mBitCount += 8;
    }
    code = static_cast<int>(mBits & static_cast<uint32_t>(mMask));
    mBits >>= mCodeSize;
    mBitCount -= mCodeSize;
    return true;
}

bool GifLzwDecoder::Push(uint8_t value)
{
    if (mStackTop >= static_cast<int>(sizeof(mStack)))
        return false;
    mStack[mStackTop++] = value;
    return true;
}

// Pushes the string of a code already in the table (or the one being made,
// code == next free), last character first.
bool GifLzwDecoder::ExpandCode(int code)
{
    if (code >= mNextFree)
    {
        if (!Push(mFirstChar))
            return false;
        code = mOldCode;
    }
    while (code >= mClearCode)
    {
        if (!Push(mSuffix[code]))
            return false;
        code = mPrefix[code];
    }
    mFirstChar = mSuffix[code];
    return Push(mFirstChar);
}

void GifLzwDecoder::AddEntry()
{
    if (mNextFree >= kTableSize)
        return; // full: the encoder may defer its clear code
    mPrefix[mNextFree] = static_cast<int16_t>(mOldCode);
    mSuffix[mNextFree] = mFirstChar;
    ++mNextFree;
    if ((mNextFree & mMask) == 0 && mNextFree < kTableSize)
    {
        ++mCodeSize;
        mMask += mNextFree;
    }
}

int GifLzwDecoder::NextIndex()
{
    while (mStackTop == 0)
    {
        int code = 0;
        if (!ReadCode(code))
            return -1;
        if (code == mClearCode)
        {
            Reset();
            continue;
        }
        if (code == mEndCode || code > mNextFree || (mOldCode < 0 && code > mClearCode))
        {
            mEnded = true;
            mBitCount = 0;
            return -1;
        }
        if (mOldCode < 0)
        {
            mFirstChar = mSuffix[code];
            Push(mFirstChar);
            mOldCode = code;
            continue;
        }
        if (!ExpandCode(code))
        {
            mEnded = true;
            mBitCount = 0;
            mStackTop = 0;
            return -1;
        }
        AddEntry();
        mOldCode = code;
    }
    return mStack[--mStackTop];
}

} // namespace Lumo::ImageLib
