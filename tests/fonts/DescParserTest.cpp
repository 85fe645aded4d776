// The font description language: reading commands, tokenizing, defines and
// their errors, with a parser that records what it executes.
#include "fonts/DescParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Lumo {
namespace {

class RecordingParser : public DescParser
{
public:
    bool ExecuteCommand(ListDataElement& params) override
    {
        const std::string word = static_cast<const SingleDataElement&>(params.At(0)).mString;
        if (word == "Define" || word == "DEFINE")
            return HandleDefineCommand(params);
        commands.push_back(FormatElement(params));
        lines.push_back(mCurrentLineNum);
        return word != "Fail";
    }
    bool ReportError(const std::string& text) override
    {
        errors.push_back(text);
        return DescParser::ReportError(text);
    }
    std::string DefineText(const std::string& name) const
    {
        const DataElement* define = LookupDefine(name);
        return define != nullptr ? FormatElement(*define) : "<none>";
    }

    std::vector<std::string> commands;
    std::vector<int> lines;
    std::vector<std::string> errors;
};

TEST(DescParserTest, EmptyCommentAndBlankTextsExecuteNothing)
{
    for (const char* text : {"", "# only a comment\n#another\n", "\n\n   \n\t\n", ";;; ;"})
    {
        RecordingParser parser;
        EXPECT_TRUE(parser.ReadDescriptionText(text)) << text;
        EXPECT_TRUE(parser.commands.empty()) << text;
        EXPECT_TRUE(parser.errors.empty()) << text;
    }
}

TEST(DescParserTest, CommandsEndAtSemicolonsAndKeepTheirStartLine)
{
    RecordingParser parser;
    ASSERT_TRUE(parser.ReadDescriptionText("First a b;\r\n\n  Second (1,\n# skipped line\n  2) 'x;y'; Third"));
    ASSERT_EQ(parser.commands.size(), 3u);
    EXPECT_EQ(parser.commands[0], "(First, a, b)");
    EXPECT_EQ(parser.commands[1], "(Second, (1, 2), 'x;y')");
    EXPECT_EQ(parser.commands[2], "(Third)");
    EXPECT_EQ(parser.lines, (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(parser.mCurrentLineNum, 0);
    EXPECT_TRUE(parser.mCurrentLine.empty());
}

TEST(DescParserTest, UnindentedLinesCanStartCommands)
{
    RecordingParser parser;
    parser.mCmdSep = DescParser::SeparatorSemicolon | DescParser::SeparatorUnindentedLine;
    ASSERT_TRUE(parser.ReadDescriptionText("Cmd a\n  b\n\tc\nNext d; Last"));
    EXPECT_EQ(parser.commands, (std::vector<std::string>{"(Cmd, a, b, c)", "(Next, d)", "(Last)"}));
    EXPECT_EQ(parser.lines, (std::vector<int>{1, 4, 4}));
}

TEST(DescParserTest, HashAfterTextIsOrdinaryAndQuotesSpanBlanks)
{
    RecordingParser parser;
    ASSERT_TRUE(parser.ReadDescriptionText("Cmd a#b a'b c'd \"q \\\" r\""));
    ASSERT_EQ(parser.commands.size(), 1u);
    EXPECT_EQ(parser.commands[0], "(Cmd, a#b, a'b c'd, \"q \" r\")");
}

TEST(DescParserTest, FailingCommandStopsTheRead)
{
    RecordingParser parser;
    EXPECT_FALSE(parser.ReadDescriptionText("One; Fail; Two"));
    EXPECT_EQ(parser.commands, (std::vector<std::string>{"(One)", "(Fail)"}));
}

TEST(DescParserTest, TokenizerErrors)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Cmd 'open", "Unterminated Single Quotes"},
        {"Cmd \"open", "Unterminated Double Quotes"},
        {"Cmd (a (b)", "Unterminated List"},
        {"Cmd a)", "Unexpected List End"},
        {"Cmd word(a)", "Unexpected List Start"},
        {"(a) b", "Missing Command"},
        {"Cmd (a; b)", "Unterminated List"}, // the ';' still ends the command
        {"Cmd (undefinedName)", ""},           // not expanded by the reader itself
    };
    for (const auto& [text, error] : cases)
    {
        RecordingParser parser;
        const bool ok = parser.ReadDescriptionText(text);
        EXPECT_EQ(ok, error.empty()) << text;
        EXPECT_EQ(parser.mError, error) << text;
    }
    RecordingParser spaced;
    ASSERT_TRUE(spaced.ReadDescriptionText("Cmd word (a)"));
    EXPECT_EQ(spaced.commands[0], "(Cmd, word, (a))");
}

TEST(DescParserTest, DefinesExpandAndReplace)
{
    RecordingParser parser;
    ASSERT_TRUE(parser.ReadDescriptionText("Define A 12; Define b (A, 'x y', ('it''s')); Define C a;"
                                           "Define Q 'quoted'; Define a 13"));
    EXPECT_EQ(parser.DefineText("B"), "(12, x y, (it's))");
    EXPECT_EQ(parser.DefineText("c"), "12");
    EXPECT_EQ(parser.DefineText("A"), "13"); // replaced whole
    std::string resolved;
    ASSERT_TRUE(parser.ResolveString(SingleDataElement("Q"), resolved));
    EXPECT_EQ(resolved, "quoted");
    EXPECT_FALSE(parser.ResolveString(SingleDataElement("B"), resolved)); // a list define

    std::vector<int> ints;
    EXPECT_FALSE(parser.ResolveIntList(SingleDataElement("B"), ints));
    ASSERT_TRUE(parser.ReadDescriptionText("Define N (1, 0x10, -3)"));
    ASSERT_TRUE(parser.ResolveIntList(SingleDataElement("n"), ints));
    EXPECT_EQ(ints, (std::vector<int>{1, 16, -3}));

    // The old value is gone before the new one is resolved.
    ASSERT_TRUE(parser.ReadDescriptionText("Define C C"));
    EXPECT_EQ(parser.DefineText("C"), "C");
    EXPECT_FALSE(parser.ReadDescriptionText("Define B (1, B)"));
    EXPECT_EQ(parser.mError, "Unable to Dereference \"B\"");
    EXPECT_EQ(parser.LookupDefine("B"), nullptr);
}

TEST(DescParserTest, DefineErrors)
{
    RecordingParser parser;
    EXPECT_FALSE(parser.ReadDescriptionText("Define x (1, MissingName)"));
    EXPECT_EQ(parser.mError, "Unable to Dereference \"MissingName\"");
    EXPECT_FALSE(parser.ReadDescriptionText("Define 5 x"));
    EXPECT_EQ(parser.mError, "Invalid Paramater Type");
    EXPECT_FALSE(parser.ReadDescriptionText("Define x"));
    EXPECT_EQ(parser.mError, "Invalid Number of Parameters");
    std::vector<std::string> strings;
    EXPECT_FALSE(parser.ResolveStringList(SingleDataElement("Nowhere"), strings));
    EXPECT_EQ(parser.mError, "Unable to Dereference \"Nowhere\"");
}

TEST(DescParserTest, NestingAndGrowthAreBounded)
{
    RecordingParser deep;
    EXPECT_FALSE(deep.ReadDescriptionText("Cmd " + std::string(5000, '(')));
    EXPECT_EQ(deep.mError, "List Nesting Too Deep");

    // Each define nests the previous one a level deeper.
    std::string chain = "Define D0 (1);";
    for (int i = 1; i < 100; ++i)
        chain += "Define D" + std::to_string(i) + " (D" + std::to_string(i - 1) + ");";
    RecordingParser chained;
    EXPECT_FALSE(chained.ReadDescriptionText(chain));
    EXPECT_EQ(chained.mError, "List Nesting Too Deep");

    // Each define repeats the previous one many times.
    std::string wide = "Define W0 (1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16);";
    for (int i = 1; i < 6; ++i)
    {
        wide += "Define W" + std::to_string(i) + " (";
        const std::string previous = std::to_string(i - 1);
        for (int j = 0; j < 16; ++j)
        {
            wide += 'W';
            wide += previous;
            wide += ' ';
        }
        wide += ");";
    }
    RecordingParser widened;
    EXPECT_FALSE(widened.ReadDescriptionText(wide));
    EXPECT_EQ(widened.mError, "List Too Large");
}

TEST(DescParserTest, AllDefinesTogetherAreBounded)
{
    // W2 holds 16 x 16 x 16 numbers in lists: 4369 values; W0 and W1 290 more.
    std::string text = "Define W0 (1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16);"
                       "Define W1 (W0 W0 W0 W0 W0 W0 W0 W0 W0 W0 W0 W0 W0 W0 W0 W0);"
                       "Define W2 (W1 W1 W1 W1 W1 W1 W1 W1 W1 W1 W1 W1 W1 W1 W1 W1);";
    // Redefining one name keeps one value: it never adds up.
    for (int i = 0; i < 40; ++i)
        text += "Define Copy W2; Define Copy (W1 W1 W1);";
    RecordingParser replaced;
    ASSERT_TRUE(replaced.ReadDescriptionText(text)) << replaced.mError;

    // Copies under new names add up until the defines would hold more than
    // kMaxDefineElements values: with Copy's 820, six copies of W2 fit, a
    // seventh does not.
    static_assert(4659 + 820 + 6 * 4369 <= DescParser::kMaxDefineElements &&
                  4659 + 820 + 7 * 4369 > DescParser::kMaxDefineElements);
    for (int i = 0; i < 10; ++i)
        text += "Define C" + std::to_string(i) + " W2;";
    RecordingParser copied;
    EXPECT_FALSE(copied.ReadDescriptionText(text));
    EXPECT_EQ(copied.mError, "Defines Too Large");
    EXPECT_NE(copied.LookupDefine("C5"), nullptr);
    EXPECT_EQ(copied.LookupDefine("C6"), nullptr);

    // A list that expands to more than the room left is refused the same way.
    RecordingParser expanded;
    EXPECT_FALSE(expanded.ReadDescriptionText(text.substr(0, text.find("Define C6")) +
                                              "Define Big (W1 W1 W1 W1 W1 W1 W1 W1)"));
    EXPECT_EQ(expanded.mError, "Defines Too Large");
    EXPECT_EQ(expanded.LookupDefine("Big"), nullptr);
}

TEST(DescParserTest, StripQuotesAndLiterals)
{
    EXPECT_EQ(DescParser::StripQuotes("'abc'"), "abc");
    EXPECT_EQ(DescParser::StripQuotes("'a''b'"), "a'b");
    EXPECT_EQ(DescParser::StripQuotes("'a'''"), "a''");
    EXPECT_EQ(DescParser::StripQuotes("\"say 'hi'\""), "say 'hi'");
    EXPECT_EQ(DescParser::StripQuotes("plain'"), "plain'");
    EXPECT_TRUE(DescParser::IsLiteralToken("-4"));
    EXPECT_TRUE(DescParser::IsLiteralToken("'x"));
    EXPECT_FALSE(DescParser::IsLiteralToken("name"));
    EXPECT_FALSE(DescParser::IsLiteralToken(""));
}

} // namespace
} // namespace Lumo
