// The XML token reader: tokens, attributes, self-closing elements, entities,
// comments and instructions, error texts, sections, line numbers and input
// encodings.
#include "platform/Environment.h"
#include "resources/XmlTokenReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace Lumo {
namespace {

std::string Describe(const XmlToken& token)
{
    switch (token.mType)
    {
    case XML_TOKEN_START:
    {
        std::string text = "S " + token.mValue;
        for (const auto& [name, value] : token.mAttributes)
            text += " [" + name + "=" + value + "]";
        return text;
    }
    case XML_TOKEN_END:
        return "E " + token.mValue;
    case XML_TOKEN_TEXT:
        return "T " + token.mValue;
    case XML_TOKEN_INSTRUCTION:
        return "I " + token.mValue + "|" + token.mInstruction;
    case XML_TOKEN_COMMENT:
        return "C " + token.mInstruction;
    default:
        return "?";
    }
}

// Every token until the reader stops; an error ends the list as "! text".
std::vector<std::string> ReadAll(XmlTokenReader& reader)
{
    std::vector<std::string> tokens;
    XmlToken token;
    while (reader.ReadToken(token))
        tokens.push_back(Describe(token));
    if (reader.HasFailed())
        tokens.push_back("! " + reader.GetErrorText());
    return tokens;
}

std::vector<std::string> Tokens(const std::string& input, bool keepComments = false)
{
    XmlTokenReader reader;
    reader.OpenBuffer(input, "test.xml");
    reader.SetKeepComments(keepComments);
    return ReadAll(reader);
}

struct Case
{
    const char* input;
    std::vector<std::string> expected;
};

void CheckCases(const std::vector<Case>& cases, bool keepComments = false)
{
    for (const Case& c : cases)
        EXPECT_EQ(Tokens(c.input, keepComments), c.expected) << "input: " << c.input;
}

TEST(XmlTokenReaderTest, TagsAndAttributes)
{
    CheckCases({
        {" \n\t\r ", {}},
        {"<a x=\"1\" y=\"two words\">", {"S a [x=1] [y=two words]"}},
        {"<a x = \"1\">", {"S a [x=1]"}},
        {"<a x='1'>", {"S a [x='1']"}},
        {"<a x=\"p=q\">", {"S a [x=pq]"}},
        {"<a flag>", {"S a [flag=]"}},
        {"<a flag b=\"1\">", {"S a [b=1] [flag=]"}},
        {"<a x=\"\" y=\"2\">", {"S a [x=] [y=2]"}},
        {"<a x=\"1\" x=\"2\">", {"S a [x=2]"}},
        {"<a x=\"a\nb\">", {"S a [x=a\nb]"}},
    });
}

TEST(XmlTokenReaderTest, SelfClosingElements)
{
    CheckCases({
        {"<Image id=\"x\"/>", {"S Image [id=x]", "E Image"}},
        {"<Image id=\"x\" />", {"S Image [id=x]", "E Image"}},
        {"<Image/>", {"S Image", "E Image"}},
        {"<a x=1/>", {"S a [x=1]", "E a"}},
        // A boolean attribute last still closes the element.
        {"<Image path=\"a\" nopal/>", {"S Image [nopal=] [path=a]", "E Image"}},
        // A '/' inside quotes is part of the value, never a close.
        {"<Image path=\"images/\">", {"S Image [path=images/]"}},
        {"<Image path=\"images/\"/>", {"S Image [path=images/]", "E Image"}},
        {"<Image path=\"/\">", {"S Image [path=/]"}},
    });
}

TEST(XmlTokenReaderTest, TextAndEntities)
{
    CheckCases({
        {"<a>Hello   big\nworld</a>", {"S a", "T Hello big world", "E a"}},
        {"<a>  padded  </a>", {"S a", "T padded", "E a"}},
        {"<a>a &lt; b &amp;&amp; c</a>", {"S a", "T a < b && c", "E a"}},
        {"<a>&copy;</a>", {"S a", "T &", "E a"}},
        {"<a>say \"x<y\" ok</a>", {"S a", "T say \"x<y\" ok", "E a"}},
        // Entities are decoded once: "&amp;lt;" is the text "&lt;".
        {"<a x=\"&amp;lt;\">&amp;gt;</a>", {"S a [x=&lt;]", "T &gt;", "E a"}},
        {"<a x=\"&quot;q&quot; &apos;&nbsp;&cr;\">", {"S a [x=\"q\" ' \n]"}},
    });
    EXPECT_EQ(XmlTokenReader::DecodeEntities("a & b; c"), "a & c");
    EXPECT_EQ(XmlTokenReader::DecodeEntities("x &amp y"), "x &amp y");
    EXPECT_EQ(XmlTokenReader::DecodeEntities("&lt;&gt;&amp;"), "<>&");
    EXPECT_EQ(XmlTokenReader::DecodeEntities(std::wstring(L"\u00e9&lt;")), std::wstring(L"\u00e9<"));
}

TEST(XmlTokenReaderTest, CommentsAndInstructions)
{
    CheckCases({{"<?xml version=\"1.0\"?>", {"I xml| version=\"1.0\""}},
                {"<?xml?>", {"I xml|"}},
                {"<!-- note -->", {"C note "}},
                {"<a><!-- x --></a>", {"S a", "C x ", "E a"}},
                {"<!--x-->", {"S !--x--"}}},
               true);
    CheckCases({{"<!-- note --><a/>", {"S a", "E a"}}}, false);
    // Opening a reader keeps comments until told otherwise.
    XmlTokenReader reader;
    reader.OpenBuffer("<!-- kept --><a/>", "test.xml");
    EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"C kept ", "S a", "E a"}));
}

TEST(XmlTokenReaderTest, ErrorTexts)
{
    CheckCases({
        {"<a></b>", {"S a", "! End 'b' Doesn't Match Start 'a'"}},
        {"</a>", {"! Unexpected End"}},
        {"<a<b>", {"! Unexpected '<'"}},
        {"text>", {"! Unexpected '>'"}},
        {"<a", {"! Unexpected End of File"}},
        {"<a x=\"1", {"! Unexpected End of File"}},
        {"<!-- open", {"! Unexpected End of File"}},
        {"<a\x01>", {"! Illegal Character"}},
    });
}

TEST(XmlTokenReaderTest, SectionsAndLineNumbers)
{
    XmlTokenReader reader;
    reader.OpenBuffer("<a>\n<b>t</b>\n<c/>\n</a>\n\n</x>", "lines.xml");
    std::vector<std::string> sections;
    XmlToken token;
    while (reader.ReadToken(token))
        sections.push_back(Describe(token) + " @" + token.mSection);
    EXPECT_EQ(sections, (std::vector<std::string>{"S a @", "S b @a", "T t @a/b", "E b @a/b", "S c @a", "E c @a/c",
                                                   "E a @a"}));
    EXPECT_TRUE(reader.HasFailed());
    EXPECT_EQ(reader.GetErrorText(), "Unexpected End");
    EXPECT_EQ(reader.GetLineNumber(), 6);
    EXPECT_EQ(reader.GetFileName(), "lines.xml");
}

TEST(XmlTokenReaderTest, Encodings)
{
    const std::vector<std::string> accented = {"S a [x=\xC3\xA9]", "T \xE2\x82\xAC", "E a"};
    CheckCases({
        {"<a x=\"\xC3\xA9\">\xE2\x82\xAC</a>", accented},
        {"\xEF\xBB\xBF<a x=\"\xC3\xA9\">\xE2\x82\xAC</a>", accented},
    });
    auto utf16 = [](const std::u16string& text, bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t unit : text)
        {
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    EXPECT_EQ(Tokens(utf16(u"<a x=\"\u00e9\">\u20ac</a>", false)), accented);
    EXPECT_EQ(Tokens(utf16(u"<a x=\"\u00e9\">\u20ac</a>", true)), accented);
    EXPECT_EQ(Tokens(utf16(u"<a>\U0001F600</a>", false)),
              (std::vector<std::string>{"S a", "T \xF0\x9F\x98\x80", "E a"}));

    // Byte sequences that are not characters.
    CheckCases({
        {"\xFF", {"! Illegal Character"}},
        {"\xC0\xAF", {"! Illegal Character"}},
        {"\xED\xA0\x80", {"! Illegal Character"}},
        {"\xF4\x90\x80\x80", {"! Illegal Character"}},
        {"\xE2\x82", {"! Illegal Character"}},
        {"<a x=\"\xC3\x28\">", {"! Unexpected End of File"}},
    });
    EXPECT_EQ(Tokens(utf16(u"\xDC00", false)), (std::vector<std::string>{"! Illegal Character"}));
    EXPECT_EQ(Tokens(std::string("\xFF\xFE<", 3)), (std::vector<std::string>{"! Illegal Character"}));
}

TEST(XmlTokenReaderTest, OpensFilesThroughTheFileWrappers)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("lumo-xml-test-" + std::to_string(Platform::GetProcessId()) + ".xml");
    std::ofstream(path, std::ios::binary) << "<a k=\"v\"/>";
    XmlTokenReader reader;
    ASSERT_TRUE(reader.OpenFile(path.string()));
    EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"S a [k=v]", "E a"}));
    reader.Close();
    XmlToken token;
    EXPECT_FALSE(reader.ReadToken(token));
    EXPECT_FALSE(reader.HasFailed());
    std::filesystem::remove(path);

    EXPECT_FALSE(reader.OpenFile(path.string()));
    EXPECT_FALSE(reader.ReadToken(token));
}

} // namespace
} // namespace Lumo
