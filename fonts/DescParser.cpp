#include "fonts/DescParser.h"

#include <algorithm>

#include "app/Common.h"
#include "app/pak/PakFile.h"

namespace Lumo {

namespace {

bool IsTokenSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == ',';
}

// Reading state of one command.
struct CommandScan
{
    bool inSingle = false;
    bool inDouble = false;
    bool heldBackslash = false;
    bool comment = false;
    bool atLineStart = true;
    bool indented = false;

    bool Quoted() const { return inSingle || inDouble; }
};

} // namespace

bool DescParser::ReadDescriptionFile(const std::string& path)
{
    mError.clear();
    mCurrentLineNum = 0;
    PFILE* file = PakFileOpen(path, "r");
    if (file == nullptr)
        return false;
    std::string text;
    for (int c = PakFileGetChar(file); c >= 0; c = PakFileGetChar(file))
        text.push_back(static_cast<char>(c));
    PakFileClose(file);
    return ReadDescriptionText(text);
}

bool DescParser::ReadDescriptionText(const std::string& text)
{
    mError.clear();
    mCurrentLineNum = 0;
    mCurrentLine.clear();
    size_t pos = 0;
    int lineCounter = 0;
    bool ok = true;
    while (pos < text.size())
    {
        CommandScan scan;
        while (pos < text.size())
        {
            const int c = static_cast<unsigned char>(text[pos++]);
            if (c == '\r')
                continue;
            if (c == '\n')
                ++lineCounter;
            if (scan.atLineStart)
            {
                if (c == ' ' || c == '\t')
                {
                    scan.indented = true;
                    continue;
                }
                if (c == '\n')
                    continue;
                scan.atLineStart = false;
                if ((mCmdSep & SeparatorUnindentedLine) != 0 && !scan.indented && !mCurrentLine.empty())
                {
                    --pos; // put back: the next command begins with it
                    break;
                }
                if (c == '#')
                {
                    scan.comment = true;
                    continue;
                }
            }
            if (c == '\n')
            {
                scan.atLineStart = true;
                scan.indented = false;
                if (scan.comment)
                {
                    scan.comment = false;
                    continue;
                }
            }
            else if (scan.comment)
            {
                continue;
            }
            const char ch = static_cast<char>(c);
            if (scan.heldBackslash)
            {
                scan.heldBackslash = false;
                mCurrentLine.push_back('\\');
                mCurrentLine.push_back(ch);
                continue;
            }
            if (ch == '\\' && scan.Quoted())
            {
                scan.heldBackslash = true;
                continue;
            }
            if (ch == '\'' && !scan.inDouble)
                scan.inSingle = !scan.inSingle;
            else if (ch == '"' && !scan.inSingle)
                scan.inDouble = !scan.inDouble;
            else if (ch == ';' && !scan.Quoted() && (mCmdSep & SeparatorSemicolon) != 0)
                break;
            if (mCurrentLine.empty())
                mCurrentLineNum = lineCounter + 1;
            mCurrentLine.push_back(ch);
        }
        if (scan.heldBackslash)
            mCurrentLine.push_back('\\');
        if (!mCurrentLine.empty())
        {
            if (!ParseCommandText(mCurrentLine))
            {
                ok = false;
                break;
            }
            mCurrentLine.clear();
        }
    }
    mCurrentLine.clear();
    mCurrentLineNum = 0;
    return ok;
}

bool DescParser::ReportError(const std::string& text)
{
    mError = text;
    return false;
}

const DataElement* DescParser::LookupDefine(const std::string& name) const
{
    auto found = mDefineMap.find(ToUpperCase(name));
    return found == mDefineMap.end() ? nullptr : found->second.get();
}

bool DescParser::ParseCommandText(const std::string& text)
{
    ListDataElement command;
    size_t pos = 0;
    if (!TokenizeList(text, command, false, pos))
        return false;
    if (command.Empty())
        return true;
    if (command.At(0).mIsList)
        return ReportError("Missing Command");
    return ExecuteCommand(command);
}

bool DescParser::TokenizeList(const std::string& text, ListDataElement& out, bool insideList, size_t& pos,
                              int depth)
{
    if (depth > kMaxListDepth)
        return ReportError("List Nesting Too Deep");
    SingleDataElement* current = nullptr;
    bool inSingle = false;
    bool inDouble = false;
    auto add = [&](char c) {
        if (current == nullptr)
            current = static_cast<SingleDataElement*>(&out.Append(std::make_unique<SingleDataElement>()));
        current->mString.push_back(c);
    };
    while (pos < text.size())
    {
        const char c = text[pos++];
        if (c == '\\')
        {
            if (pos < text.size())
                add(text[pos++]);
        }
        else if (c == '\'' && !inDouble)
        {
            inSingle = !inSingle;
            add(c);
        }
        else if (c == '"' && !inSingle)
        {
            inDouble = !inDouble;
            add(c);
        }
        else if (inSingle || inDouble)
        {
            add(c);
        }
        else if (c == ')')
        {
            return insideList ? true : ReportError("Unexpected List End");
        }
        else if (c == '(')
        {
            if (current != nullptr)
                return ReportError("Unexpected List Start");
            auto& list = static_cast<ListDataElement&>(out.Append(std::make_unique<ListDataElement>()));
            if (!TokenizeList(text, list, true, pos, depth + 1))
                return false;
        }
        else if (IsTokenSeparator(c))
        {
            current = nullptr;
        }
        else
        {
            add(c);
        }
    }
    if (inSingle)
        return ReportError("Unterminated Single Quotes");
    if (inDouble)
        return ReportError("Unterminated Double Quotes");
    if (insideList)
        return ReportError("Unterminated List");
    return true;
}

bool DescParser::IsLiteralToken(const std::string& text)
{
    if (text.empty())
        return false;
    const char c = text[0];
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '\'' || c == '"';
}

std::string DescParser::StripQuotes(const std::string& text)
{
    if (text.empty() || (text[0] != '\'' && text[0] != '"'))
        return text;
    const char quote = text[0];
    std::string result;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != quote || (i > 0 && text[i - 1] == quote))
            result.push_back(text[i]);
    return result;
}

std::string DescParser::FormatElement(const DataElement& element)
{
    if (!element.mIsList)
        return static_cast<const SingleDataElement&>(element).mString;
    const auto& list = static_cast<const ListDataElement&>(element);
    std::string result = "(";
    for (size_t i = 0; i < list.Size(); ++i)
    {
        if (i > 0)
            result += ", ";
        result += FormatElement(list.At(i));
    }
    return result + ")";
}

bool DescParser::ResolveString(const DataElement& element, std::string& out) const
{
    out.clear();
    if (element.mIsList)
        return false;
    const std::string& text = static_cast<const SingleDataElement&>(element).mString;
    const DataElement* define = LookupDefine(text);
    if (define != nullptr && define->mIsList)
        return false;
    out = StripQuotes(define != nullptr ? static_cast<const SingleDataElement*>(define)->mString : text);
    return true;
}

int DescParser::ElementDepth(const DataElement& element)
{
    if (!element.mIsList)
        return 0;
    int deepest = 0;
    for (const auto& child : static_cast<const ListDataElement&>(element).mElements)
        deepest = std::max(deepest, ElementDepth(*child));
    return deepest + 1;
}

int DescParser::ElementCount(const DataElement& element)
{
    int count = 1;
    if (element.mIsList)
        for (const auto& child : static_cast<const ListDataElement&>(element).mElements)
            count += ElementCount(*child);
    return count;
}

bool DescParser::ExpandDefinesInList(const ListDataElement& source, ListDataElement& out)
{
    int budget = kMaxListElements;
    return ExpandInto(source, out, 1, budget);
}

bool DescParser::ExpandInto(const ListDataElement& source, ListDataElement& out, int depth, int& budget)
{
    out.Clear();
    if (depth > kMaxListDepth)
        return ReportError("List Nesting Too Deep");
    for (const auto& element : source.mElements)
    {
        if (--budget < 0)
            return ReportError("List Too Large");
        if (element->mIsList)
        {
            auto& nested = static_cast<ListDataElement&>(out.Append(std::make_unique<ListDataElement>()));
            if (!ExpandInto(static_cast<const ListDataElement&>(*element), nested, depth + 1, budget))
                return false;
            continue;
        }
        const std::string& text = static_cast<const SingleDataElement&>(*element).mString;
        if (text.empty())
            continue;
        if (text[0] == '\'' || text[0] == '"')
        {
            out.Append(std::make_unique<SingleDataElement>(StripQuotes(text)));
        }
        else if (IsLiteralToken(text))
        {
            out.Append(std::make_unique<SingleDataElement>(text));
        }
        else
        {
            const DataElement* define = LookupDefine(text);
            if (define == nullptr)
                return ReportError("Unable to Dereference \"" + text + "\"");
            if (depth + ElementDepth(*define) > kMaxListDepth)
                return ReportError("List Nesting Too Deep");
            budget -= ElementCount(*define) - 1;
            if (budget < 0)
                return ReportError("List Too Large");
            out.Append(define->Clone());
        }
    }
    return true;
}

bool DescParser::ResolveList(const DataElement& element, ListDataElement& out)
{
    if (element.mIsList)
        return ExpandDefinesInList(static_cast<const ListDataElement&>(element), out);
    const DataElement* define = LookupDefine(static_cast<const SingleDataElement&>(element).mString);
    if (define == nullptr || !define->mIsList)
        return false;
    out = static_cast<const ListDataElement&>(*define);
    return true;
}

bool DescParser::ResolveStringList(const DataElement& element, std::vector<std::string>& out)
{
    out.clear();
    ListDataElement expanded;
    const ListDataElement* list = &expanded;
    if (element.mIsList)
    {
        if (!ExpandDefinesInList(static_cast<const ListDataElement&>(element), expanded))
            return false;
    }
    else
    {
        const std::string& name = static_cast<const SingleDataElement&>(element).mString;
        const DataElement* define = LookupDefine(name);
        if (define == nullptr)
            return ReportError("Unable to Dereference \"" + name + "\"");
        if (!define->mIsList)
            return false;
        list = static_cast<const ListDataElement*>(define);
    }
    for (const auto& item : list->mElements)
    {
        if (item->mIsList)
        {
            out.clear();
            return false;
        }
        out.push_back(static_cast<const SingleDataElement&>(*item).mString);
    }
    return true;
}

bool DescParser::ResolveIntList(const DataElement& element, std::vector<int>& out)
{
    out.clear();
    std::vector<std::string> texts;
    if (!ResolveStringList(element, texts))
        return false;
    for (const std::string& text : texts)
    {
        int value = 0;
        if (!StringToInt(text, value))
            return false;
        out.push_back(value);
    }
    return true;
}

bool DescParser::ResolveDoubleList(const DataElement& element, std::vector<double>& out)
{
    out.clear();
    std::vector<std::string> texts;
    if (!ResolveStringList(element, texts))
        return false;
    for (const std::string& text : texts)
    {
        double value = 0.0;
        if (!StringToDouble(text, value))
            return false;
        out.push_back(value);
    }
    return true;
}

bool DescParser::HandleDefineCommand(ListDataElement& params)
{
    if (params.Size() != 3)
        return ReportError("Invalid Number of Parameters");
    const DataElement& nameElement = params.At(1);
    if (nameElement.mIsList || IsLiteralToken(static_cast<const SingleDataElement&>(nameElement).mString))
        return ReportError("Invalid Paramater Type");
    const std::string& name = static_cast<const SingleDataElement&>(nameElement).mString;
    // The old value goes first: a value naming the define itself no longer
    // finds it.
    EraseDefine(name);
    const DataElement& value = params.At(2);
    if (value.mIsList)
    {
        auto expanded = std::make_unique<ListDataElement>();
        if (!ExpandDefinesInList(static_cast<const ListDataElement&>(value), *expanded))
            return false;
        return SetDefine(name, std::move(expanded));
    }
    const DataElement* existing = LookupDefine(static_cast<const SingleDataElement&>(value).mString);
    // Checked before the copy is made, so a refused copy costs nothing.
    if (existing != nullptr && mDefineElements + ElementCount(*existing) > kMaxDefineElements)
        return ReportError("Defines Too Large");
    return SetDefine(name, existing != nullptr ? existing->Clone() : value.Clone());
}

bool DescParser::SetDefine(const std::string& name, std::unique_ptr<DataElement> value)
{
    const std::string key = ToUpperCase(name);
    auto old = mDefineMap.find(key);
    const long long oldCount = old != mDefineMap.end() ? ElementCount(*old->second) : 0;
    const long long newCount = ElementCount(*value);
    if (mDefineElements - oldCount + newCount > kMaxDefineElements)
        return ReportError("Defines Too Large");
    mDefineElements += newCount - oldCount;
    mDefineMap[key] = std::move(value);
    return true;
}

void DescParser::EraseDefine(const std::string& name)
{
    auto old = mDefineMap.find(ToUpperCase(name));
    if (old == mDefineMap.end())
        return;
    mDefineElements -= ElementCount(*old->second);
    mDefineMap.erase(old);
}

} // namespace Lumo
