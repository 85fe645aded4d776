// XmlTokenReader: cutting the characters into tokens, and entity decoding.
#include "resources/XmlTokenReader.h"

#include "app/Common.h"

namespace Lumo {

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

void AppendUtf8(std::string& text, wchar_t c)
{
    const auto code = static_cast<uint32_t>(c);
    if (code < 0x80)
    {
        text.push_back(static_cast<char>(code));
    }
    else if (code < 0x800)
    {
        text.push_back(static_cast<char>(0xC0 | (code >> 6)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    else if (code < 0x10000)
    {
        text.push_back(static_cast<char>(0xE0 | (code >> 12)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    else
    {
        text.push_back(static_cast<char>(0xF0 | (code >> 18)));
        text.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool EndsWith(const std::string& text, const char* tail, size_t length)
{
    return text.size() >= length && text.compare(text.size() - length, length, tail) == 0;
}

// Both forms of DecodeEntities share one body.
template <typename String>
String DecodeEntitiesIn(const String& text)
{
    using Char = typename String::value_type;
    String out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size())
    {
        const size_t amp = text.find(Char('&'), pos);
        if (amp == String::npos)
            break;
        const size_t semi = text.find(Char(';'), amp + 1);
        if (semi == String::npos)
            break;
        out.append(text, pos, amp - pos);
        const String name = text.substr(amp + 1, semi - amp - 1);
        auto is = [&](const char* word) { return name == String(word, word + std::char_traits<char>::length(word)); };
        Char c = Char('&');
        if (is("lt"))
            c = Char('<');
        else if (is("amp"))
            c = Char('&');
        else if (is("gt"))
            c = Char('>');
        else if (is("quot"))
            c = Char('"');
        else if (is("apos"))
            c = Char('\'');
        else if (is("nbsp"))
            c = Char(' ');
        else if (is("cr"))
            c = Char('\n');
        out.push_back(c);
        pos = semi + 1;
    }
    out.append(text, pos, String::npos);
    return out;
}

} // namespace

// The state of one token being read. The last character stored in a start
// tag may be a '/' outside quotes: at the '>' it closes the element instead.
struct XmlTokenReader::TokenState
{
    enum class Slash
    {
        None,
        InName,
        InAttributeName,
        InAttributeValue,
    };
    bool inQuotes = false;
    bool quoteJustClosed = false;
    bool blankPending = false;
    bool afterEquals = false;
    bool nameDone = false; // the tag name is complete, attributes follow
    std::wstring attributeName;
    std::wstring attributeValue;
    Slash bareSlash = Slash::None;
};

std::string XmlTokenReader::DecodeEntities(const std::string& text)
{
    return DecodeEntitiesIn(text);
}

std::wstring XmlTokenReader::DecodeEntities(const std::wstring& text)
{
    return DecodeEntitiesIn(text);
}

void XmlTokenReader::Fail(const std::string& text)
{
    mErrorText = text;
    mHasFailed = true;
}

bool XmlTokenReader::ReadToken(XmlToken& token)
{
    for (;;)
    {
        if (ReadOneToken(token) != Step::Finished)
            return false;
        if (token.mType != XML_TOKEN_COMMENT || mKeepComments)
            return true;
    }
}

XmlTokenReader::Step XmlTokenReader::ReadOneToken(XmlToken& token)
{
    token = XmlToken();
    token.mSection = mSection;
    TokenState state;
    for (;;)
    {
        wchar_t c = 0;
        const CharStatus status = NextChar(c);
        if (status == CharStatus::EndOfFile)
        {
            if (token.mType != XML_TOKEN_NONE)
                Fail("Unexpected End of File");
            return Step::Failed;
        }
        if (status == CharStatus::Illegal)
        {
            Fail(token.mType != XML_TOKEN_NONE ? "Unexpected End of File" : "Illegal Character");
            return Step::Failed;
        }
        Step step = Step::Continue;
        if (token.mType == XML_TOKEN_COMMENT)
            step = TakeCommentChar(token, c);
        else if (token.mType == XML_TOKEN_INSTRUCTION)
            step = TakeInstructionChar(token, c);
        else
            step = TakeMarkupChar(token, state, c);
        if (step == Step::Finished)
            return Finish(token, state);
        if (step == Step::Failed)
            return step;
    }
}

XmlTokenReader::Step XmlTokenReader::TakeCommentChar(XmlToken& token, wchar_t c)
{
    AppendUtf8(token.mInstruction, c);
    if (c == L'>' && EndsWith(token.mInstruction, "-->", 3))
    {
        token.mInstruction.resize(token.mInstruction.size() - 3);
        return Step::Finished;
    }
    return Step::Continue;
}

// The target name up to the first blank, then the instruction text; both end
// at "?>".
XmlTokenReader::Step XmlTokenReader::TakeInstructionChar(XmlToken& token, wchar_t c)
{
    std::string& target = (token.mInstruction.empty() && !IsBlank(c)) ? token.mValue : token.mInstruction;
    AppendUtf8(target, c);
    if (EndsWith(target, "?>", 2))
    {
        target.resize(target.size() - 2);
        return Step::Finished;
    }
    return Step::Continue;
}

// Start and end tags and text.
XmlTokenReader::Step XmlTokenReader::TakeMarkupChar(XmlToken& token, TokenState& state, wchar_t c)
{
    const bool inTag = token.mType == XML_TOKEN_START || token.mType == XML_TOKEN_END;
    if (c == L'"')
    {
        state.inQuotes = !state.inQuotes;
        if (!state.inQuotes)
            state.quoteJustClosed = true;
        return inTag ? Step::Continue : StoreChar(token, state, c, true);
    }
    if (state.inQuotes)
        return StoreChar(token, state, c, true);
    if (c == L'<')
    {
        if (token.mType == XML_TOKEN_TEXT)
        {
            PushBack(L"<");
            return Step::Finished;
        }
        if (token.mType == XML_TOKEN_NONE)
        {
            token.mType = XML_TOKEN_START;
            return Step::Continue;
        }
        Fail("Unexpected '<'");
        return Step::Failed;
    }
    if (c == L'>')
        return CloseTag(token, state);
    if (token.mType == XML_TOKEN_START && token.mValue.empty() && (c == L'/' || c == L'?'))
    {
        token.mType = c == L'/' ? XML_TOKEN_END : XML_TOKEN_INSTRUCTION;
        return Step::Continue;
    }
    if (IsBlank(c))
    {
        if (!token.mValue.empty())
            state.blankPending = true;
        if (token.mType == XML_TOKEN_START && token.mValue == "!--")
            token.mType = XML_TOKEN_COMMENT;
        return Step::Continue;
    }
    if (c < 33)
    {
        Fail("Illegal Character");
        return Step::Failed;
    }
    return StoreChar(token, state, c, false);
}

XmlTokenReader::Step XmlTokenReader::StoreChar(XmlToken& token, TokenState& state, wchar_t c, bool quoted)
{
    if (token.mType == XML_TOKEN_NONE)
        token.mType = XML_TOKEN_TEXT;
    if (token.mType == XML_TOKEN_START)
    {
        StoreInStartTag(token, state, c, quoted);
        return Step::Continue;
    }
    // Text and end-tag names: a run of blanks becomes one blank.
    if (state.blankPending)
    {
        token.mValue.push_back(' ');
        state.blankPending = false;
    }
    AppendUtf8(token.mValue, c);
    return Step::Continue;
}

void XmlTokenReader::StoreInStartTag(XmlToken& token, TokenState& state, wchar_t c, bool quoted)
{
    if (state.blankPending)
    {
        if (!state.nameDone)
        {
            state.nameDone = true;
            state.afterEquals = false;
        }
        else if (c == L'=' || (state.afterEquals && state.attributeValue.empty() && !state.quoteJustClosed))
        {
            // Blanks around '=' separate nothing.
        }
        else
        {
            AddPendingAttribute(token, state);
            state.afterEquals = false;
        }
        state.blankPending = false;
    }
    const bool bareSlash = c == L'/' && !quoted;
    if (!state.nameDone)
    {
        AppendUtf8(token.mValue, c);
        state.bareSlash = bareSlash ? TokenState::Slash::InName : TokenState::Slash::None;
    }
    else if (c == L'=')
    {
        state.afterEquals = true;
        state.quoteJustClosed = false;
        state.bareSlash = TokenState::Slash::None;
    }
    else if (state.afterEquals)
    {
        state.attributeValue.push_back(c);
        state.bareSlash = bareSlash ? TokenState::Slash::InAttributeValue : TokenState::Slash::None;
    }
    else
    {
        state.attributeName.push_back(c);
        state.bareSlash = bareSlash ? TokenState::Slash::InAttributeName : TokenState::Slash::None;
    }
}

XmlTokenReader::Step XmlTokenReader::CloseTag(XmlToken& token, TokenState& state)
{
    if (token.mType == XML_TOKEN_END)
        return CloseEndTag(token);
    if (token.mType == XML_TOKEN_START)
        return CloseStartTag(token, state);
    Fail("Unexpected '>'");
    return Step::Failed;
}

XmlTokenReader::Step XmlTokenReader::CloseEndTag(XmlToken& token)
{
    if (mSection.empty())
    {
        Fail("Unexpected End");
        return Step::Failed;
    }
    const size_t slash = mSection.rfind('/');
    const std::string last = slash == std::string::npos ? mSection : mSection.substr(slash + 1);
    if (last != token.mValue)
    {
        Fail("End '" + token.mValue + "' Doesn't Match Start '" + last + "'");
        return Step::Failed;
    }
    mSection.resize(slash == std::string::npos ? 0 : slash);
    return Step::Finished;
}

// A '/' stored last outside quotes (<a/>, <a x="1"/>, <a x="1" />, <a flag/>)
// closes the element: it is taken back and the end tag is pushed back.
XmlTokenReader::Step XmlTokenReader::CloseStartTag(XmlToken& token, TokenState& state)
{
    using Slash = TokenState::Slash;
    const bool selfClosing = state.bareSlash != Slash::None;
    if (state.bareSlash == Slash::InName)
        token.mValue.pop_back();
    else if (state.bareSlash == Slash::InAttributeName)
        state.attributeName.pop_back();
    else if (state.bareSlash == Slash::InAttributeValue)
        state.attributeValue.pop_back();
    state.bareSlash = Slash::None;
    AddPendingAttribute(token, state);
    if (selfClosing)
        PushBack(L"</" + NarrowToWide(token.mValue) + L">");
    if (!mSection.empty())
        mSection.push_back('/');
    mSection += token.mValue;
    return Step::Finished;
}

XmlTokenReader::Step XmlTokenReader::Finish(XmlToken& token, TokenState& state)
{
    AddPendingAttribute(token, state);
    token.mValue = DecodeEntities(token.mValue);
    return Step::Finished;
}

// Stores the attribute being read (when it has a name) and empties it.
void XmlTokenReader::AddPendingAttribute(XmlToken& token, TokenState& state)
{
    if (!state.attributeName.empty())
        token.AddAttribute(WideToNarrow(DecodeEntities(state.attributeName)),
                           WideToNarrow(DecodeEntities(state.attributeValue)));
    state.attributeName.clear();
    state.attributeValue.clear();
    state.bareSlash = TokenState::Slash::None;
}

} // namespace Lumo
