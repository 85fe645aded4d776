#pragma once
// A small, lenient pull reader for resource-description files: each ReadToken
// gives one start tag (with its attributes), end tag, run of text, processing
// instruction or comment, and keeps the path of open elements and the line
// number for messages. It is not a conforming XML parser: no DOCTYPE, CDATA or
// numeric character references; only the double quote quotes; '=' is never
// part of an attribute value; white space in text and end-tag names folds to
// single blanks. A self-closing <name .../> gives its start tag and then, on
// the next call, its end tag; the '/' counts only outside quotes, so
// path="images/" keeps its slash. Entities (&lt; &amp; &gt; &quot; &apos;
// &nbsp; &cr;) are decoded once.
//
// Input: a file opened through the pack-file wrappers, or bytes in memory.
// The encoding comes from a byte-order mark (UTF-8, UTF-16 little or big
// endian) and is UTF-8 without one; a byte sequence that is not a character
// fails the read with "Illegal Character". Names, values and texts are
// stored as UTF-8.
//
// Errors: ReadToken returns false and the failed flag and error text tell
// why: "Unexpected '<'", "Unexpected '>'", "Unexpected End", "Unexpected End
// of File", "Illegal Character", "End 'b' Doesn't Match Start 'a'". At the
// end of the input ReadToken returns false with no error.
//
// Threads: one reader is used by one thread at a time.
#include <memory>
#include <string>
#include <vector>

#include "resources/XmlToken.h"

namespace Lumo {

struct PFILE;

class XmlTokenReader
{
public:
    XmlTokenReader();
    ~XmlTokenReader();
    XmlTokenReader(const XmlTokenReader&) = delete;
    XmlTokenReader& operator=(const XmlTokenReader&) = delete;

    // Opens the file through the pack-file wrappers and starts afresh (line
    // 1, no open elements, no error, comments kept). False, with the
    // reader left empty, when the file cannot be opened.
    [[nodiscard]] bool OpenFile(const std::string& path);
    // The same over bytes in memory; name stands for the file in messages.
    void OpenBuffer(std::string bytes, const std::string& name);
    // Releases the input; reads then see the end of the file.
    void Close();

    // The next token. False at the end of the input (HasFailed() false) or on
    // an error (HasFailed() true); the token is then partly filled.
    [[nodiscard]] bool ReadToken(XmlToken& token);

    // Records an error: always overwrites the text and sets the flag.
    void Fail(const std::string& text);
    bool HasFailed() const { return mHasFailed; }
    const std::string& GetErrorText() const { return mErrorText; }
    std::string GetFileName() const { return mFileName; }
    // 1 on the first line; counts the line feeds read so far.
    int GetLineNumber() const { return mLineNumber; }
    // Comment tokens are returned when on, skipped when off (on at open).
    void SetKeepComments(bool keep) { mKeepComments = keep; }

    // Replaces each "&name;" by its character ("lt" '<', "amp" '&', "gt" '>',
    // "quot" '"', "apos" '\'', "nbsp" a blank, "cr" a line feed); an unknown
    // name gives a lone '&'. A '&' with no ';' after it is kept together
    // with the rest of the text.
    static std::string DecodeEntities(const std::string& text);
    static std::wstring DecodeEntities(const std::wstring& text);

private:
    enum class CharStatus
    {
        Ok,
        EndOfFile,
        Illegal,
    };
    enum class Step
    {
        Continue,
        Finished,
        Failed,
    };
    struct TokenState;
    using ReadCharFunction = CharStatus (XmlTokenReader::*)(wchar_t& character);

    // Input (XmlTokenReaderInput.cpp).
    void StartReading(const std::string& name);
    void DetectEncoding();
    int NextByte();
    CharStatus ReadUtf8(wchar_t& character);
    CharStatus ReadUtf16LittleEndian(wchar_t& character);
    CharStatus ReadUtf16BigEndian(wchar_t& character);
    CharStatus ReadUtf16(wchar_t& character, bool bigEndian);
    CharStatus NextChar(wchar_t& character);
    void PushBack(const std::wstring& text);

    // Tokens (XmlTokenReader.cpp).
    Step ReadOneToken(XmlToken& token);
    Step TakeCommentChar(XmlToken& token, wchar_t c);
    Step TakeInstructionChar(XmlToken& token, wchar_t c);
    Step TakeMarkupChar(XmlToken& token, TokenState& state, wchar_t c);
    Step StoreChar(XmlToken& token, TokenState& state, wchar_t c, bool quoted);
    void StoreInStartTag(XmlToken& token, TokenState& state, wchar_t c, bool quoted);
    Step CloseTag(XmlToken& token, TokenState& state);
    Step CloseEndTag(XmlToken& token);
    Step CloseStartTag(XmlToken& token, TokenState& state);
    Step Finish(XmlToken& token, TokenState& state);
    static void AddPendingAttribute(XmlToken& token, TokenState& state);

    struct FileCloser
    {
        void operator()(PFILE* file) const;
    };

    std::string mFileName;
    std::string mErrorText;
    bool mHasFailed = false;
    int mLineNumber = 1;
    bool mKeepComments = false;
    std::string mSection;
    std::vector<wchar_t> mPushBack; // read from the back
    ReadCharFunction mReadChar = &XmlTokenReader::ReadUtf8;

    std::unique_ptr<PFILE, FileCloser> mFile;
    std::string mMemory;
    size_t mMemoryPos = 0;
    bool mHaveMemory = false;
    std::string mPendingBytes; // looked at while finding a byte-order mark
    size_t mPendingPos = 0;
};

} // namespace Lumo
