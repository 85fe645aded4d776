// XmlTokenReader: opening the input, finding its encoding and reading one
// character at a time.
#include "resources/XmlTokenReader.h"

#include "app/pak/PakFile.h"

#include <cstdint>

namespace Lumo {

static_assert(sizeof(wchar_t) >= 4, "wide characters hold every code point");

void XmlTokenReader::FileCloser::operator()(PFILE* file) const
{
    PakFileClose(file);
}

XmlTokenReader::XmlTokenReader() = default;

XmlTokenReader::~XmlTokenReader() = default;

bool XmlTokenReader::OpenFile(const std::string& path)
{
    Close();
    PFILE* file = PakFileOpen(path, "rb");
    if (file == nullptr)
        return false;
    mFile.reset(file);
    StartReading(path);
    return true;
}

void XmlTokenReader::OpenBuffer(std::string bytes, const std::string& name)
{
    Close();
    mMemory = std::move(bytes);
    mMemoryPos = 0;
    mHaveMemory = true;
    StartReading(name);
}

void XmlTokenReader::Close()
{
    mFile.reset();
    mMemory.clear();
    mMemoryPos = 0;
    mHaveMemory = false;
    mPendingBytes.clear();
    mPendingPos = 0;
}

void XmlTokenReader::StartReading(const std::string& name)
{
    mFileName = name;
    mLineNumber = 1;
    mPushBack.clear();
    mSection.clear();
    mErrorText.clear();
    mHasFailed = false;
    mKeepComments = true;
    DetectEncoding();
}

// A byte-order mark picks UTF-8 or UTF-16 and is dropped; without one the
// bytes looked at are read again as UTF-8.
void XmlTokenReader::DetectEncoding()
{
    mReadChar = &XmlTokenReader::ReadUtf8;
    std::string head;
    for (int i = 0; i < 3; ++i)
    {
        const int byte = NextByte();
        if (byte < 0)
            break;
        head.push_back(static_cast<char>(byte));
    }
    size_t skip = 0;
    if (head.size() == 3 && head == "\xEF\xBB\xBF")
    {
        skip = 3;
    }
    else if (head.size() >= 2 && head.compare(0, 2, "\xFF\xFE") == 0)
    {
        mReadChar = &XmlTokenReader::ReadUtf16LittleEndian;
        skip = 2;
    }
    else if (head.size() >= 2 && head.compare(0, 2, "\xFE\xFF") == 0)
    {
        mReadChar = &XmlTokenReader::ReadUtf16BigEndian;
        skip = 2;
    }
    mPendingBytes = head.substr(skip);
    mPendingPos = 0;
}

int XmlTokenReader::NextByte()
{
    if (mPendingPos < mPendingBytes.size())
        return static_cast<unsigned char>(mPendingBytes[mPendingPos++]);
    if (mHaveMemory)
        return mMemoryPos < mMemory.size() ? static_cast<unsigned char>(mMemory[mMemoryPos++]) : -1;
    if (mFile)
        return PakFileGetChar(mFile.get());
    return -1;
}

XmlTokenReader::CharStatus XmlTokenReader::ReadUtf8(wchar_t& character)
{
    const int lead = NextByte();
    if (lead < 0)
        return CharStatus::EndOfFile;
    if (lead < 0x80)
    {
        character = static_cast<wchar_t>(lead);
        return CharStatus::Ok;
    }
    int length = 0;
    uint32_t smallest = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, smallest = 0x80, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, smallest = 0x800, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, smallest = 0x10000, code = lead & 0x07;
    else
        return CharStatus::Illegal;
    for (int i = 1; i < length; ++i)
    {
        const int next = NextByte();
        if (next < 0 || (next & 0xC0) != 0x80)
            return CharStatus::Illegal;
        code = (code << 6) | static_cast<uint32_t>(next & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return CharStatus::Illegal;
    character = static_cast<wchar_t>(code);
    return CharStatus::Ok;
}

XmlTokenReader::CharStatus XmlTokenReader::ReadUtf16LittleEndian(wchar_t& character)
{
    return ReadUtf16(character, false);
}

XmlTokenReader::CharStatus XmlTokenReader::ReadUtf16BigEndian(wchar_t& character)
{
    return ReadUtf16(character, true);
}

// One character from one code unit, or from a high and a low surrogate.
XmlTokenReader::CharStatus XmlTokenReader::ReadUtf16(wchar_t& character, bool bigEndian)
{
    auto readUnit = [&](int& unit) -> CharStatus {
        const int first = NextByte();
        if (first < 0)
            return CharStatus::EndOfFile;
        const int second = NextByte();
        if (second < 0)
            return CharStatus::Illegal;
        unit = bigEndian ? (first << 8) | second : (second << 8) | first;
        return CharStatus::Ok;
    };
    int unit = 0;
    const CharStatus status = readUnit(unit);
    if (status != CharStatus::Ok)
        return status;
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return CharStatus::Illegal;
    if (unit < 0xD800 || unit > 0xDBFF)
    {
        character = static_cast<wchar_t>(unit);
        return CharStatus::Ok;
    }
    int low = 0;
    if (readUnit(low) != CharStatus::Ok || low < 0xDC00 || low > 0xDFFF)
        return CharStatus::Illegal;
    character = static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    return CharStatus::Ok;
}

// The next character: pushed-back ones first (the last pushed first), then
// the input. Every line feed counts a line.
XmlTokenReader::CharStatus XmlTokenReader::NextChar(wchar_t& character)
{
    CharStatus status = CharStatus::Ok;
    if (!mPushBack.empty())
    {
        character = mPushBack.back();
        mPushBack.pop_back();
    }
    else
    {
        status = (this->*mReadChar)(character);
    }
    if (status == CharStatus::Ok && character == L'\n')
        ++mLineNumber;
    return status;
}

// Pushes the text back so that the next reads give it in order.
void XmlTokenReader::PushBack(const std::wstring& text)
{
    for (auto it = text.rbegin(); it != text.rend(); ++it)
        mPushBack.push_back(*it);
}

} // namespace Lumo
