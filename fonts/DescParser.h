#pragma once
// Reader of the font description language: a text of commands, each ended by
// an unquoted ';' (or the end of the file), '#' lines are comments. Each
// command is split into a tree of values (DataElement), names are resolved
// against the defines ("Define name value") and the command goes to the
// derived class's ExecuteCommand. The first failing command stops the read.
//
// Errors go through ReportError, whose result (false) the operation returns.
// The texts, word for word: "Missing Command", "Unterminated Single Quotes",
// "Unterminated Double Quotes", "Unterminated List", "Unexpected List End",
// "Unexpected List Start", "Unable to Dereference \"<name>\"", and for input
// that would grow without bound "List Nesting Too Deep" (lists nested more
// than kMaxListDepth deep, through defines too), "List Too Large" (an
// expansion of more than kMaxListElements values) and "Defines Too Large"
// (all defines together holding more than kMaxDefineElements values: a
// define can be copied under new names in a few bytes each).
//
// Threads: one thread at a time.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fonts/ListDataElement.h"
#include "fonts/SingleDataElement.h"

namespace Lumo {

class DescParser
{
public:
    enum : int
    {
        SeparatorSemicolon = 1,      // an unquoted ';' ends a command
        SeparatorUnindentedLine = 2, // a line not starting with a blank or tab starts a command
    };
    static constexpr int kMaxListDepth = 32;
    static constexpr int kMaxListElements = 1 << 16;
    // Values (lists and single values alike) that all defines may hold.
    static constexpr int kMaxDefineElements = 1 << 15;

    DescParser() = default;
    DescParser(const DescParser&) = delete;
    DescParser& operator=(const DescParser&) = delete;
    virtual ~DescParser() = default;

    // Reads and executes the whole file (through the pack-file layer). False
    // when it cannot be opened (nothing reported) or when a command fails;
    // the commands before the failing one stay executed.
    [[nodiscard]] bool ReadDescriptionFile(const std::string& path);
    // The same over a text in memory.
    [[nodiscard]] bool ReadDescriptionText(const std::string& text);

    // Stores the text as the error text; false.
    virtual bool ReportError(const std::string& text);
    // The define of the name (any case), or null.
    virtual const DataElement* LookupDefine(const std::string& name) const;
    // Executes one command (its first element is the command word); false
    // when it failed.
    virtual bool ExecuteCommand(ListDataElement& params) = 0;

    // Splits the command text into values and executes it; an empty text
    // does nothing (true).
    bool ParseCommandText(const std::string& text);
    // Splits text from pos (shared with nested calls) into out; insideList
    // when called for a '(' (a ')' then ends the list).
    bool TokenizeList(const std::string& text, ListDataElement& out, bool insideList, size_t& pos, int depth = 0);

    // Starts with a digit, '-', '+' or a quote.
    static bool IsLiteralToken(const std::string& text);
    // Without the opening quote character wherever it stands, except one
    // directly after another ('it''s' gives it's); other texts unchanged.
    static std::string StripQuotes(const std::string& text);
    // A value's text; a list as "(a, b, (c))".
    static std::string FormatElement(const DataElement& element);

    // A single value (or the single define it names) without quotes; false
    // for a list or a list define.
    bool ResolveString(const DataElement& element, std::string& out) const;
    // The list with quotes stripped, empty values dropped and names replaced
    // by their defines.
    bool ExpandDefinesInList(const ListDataElement& source, ListDataElement& out);
    // A list expanded, or the list define a single value names.
    bool ResolveList(const DataElement& element, ListDataElement& out);
    // A list of single values as texts (a list, or a list define's name).
    bool ResolveStringList(const DataElement& element, std::vector<std::string>& out);
    bool ResolveIntList(const DataElement& element, std::vector<int>& out);
    bool ResolveDoubleList(const DataElement& element, std::vector<double>& out);

    int mCmdSep = SeparatorSemicolon;
    std::string mError;          // last text given to the base ReportError
    int mCurrentLineNum = 0;     // line (from 1) where the command being read began
    std::string mCurrentLine;    // raw text of the command being read
    std::map<std::string, std::unique_ptr<DataElement>> mDefineMap; // upper-cased names

protected:
    // The "Define" command: exactly two parameters, a name that is not a
    // literal and a value (a list is stored expanded). An old define of the
    // name is deleted before the value is resolved.
    bool HandleDefineCommand(ListDataElement& params);
    // Stores the value under the upper-cased name, replacing any old one;
    // "Defines Too Large" (the old one kept) when the defines would then hold
    // more than kMaxDefineElements values.
    [[nodiscard]] bool SetDefine(const std::string& name, std::unique_ptr<DataElement> value);

private:
    void EraseDefine(const std::string& name);
    bool ExpandInto(const ListDataElement& source, ListDataElement& out, int depth, int& budget);
    static int ElementDepth(const DataElement& element);
    static int ElementCount(const DataElement& element);

    long long mDefineElements = 0; // values held by mDefineMap
};

} // namespace Lumo
