#pragma once
// One token of a resource-description file, as XmlTokenReader reads it.
#include <map>
#include <string>

namespace Lumo {

enum XmlTokenType : int
{
    XML_TOKEN_NONE = 0,
    XML_TOKEN_START = 1,       // <name attr="value">
    XML_TOKEN_END = 2,         // </name>, also made up for a self-closing <name/>
    XML_TOKEN_TEXT = 3,        // text between tags, white space folded
    XML_TOKEN_INSTRUCTION = 4, // <?target text?>
    XML_TOKEN_COMMENT = 5,     // <!-- text -->
};

class XmlToken
{
public:
    XmlToken() = default;

    // Inserts the pair; a name already present takes the new value.
    void AddAttribute(const std::string& name, const std::string& value) { mAttributes[name] = value; }

    XmlTokenType mType = XML_TOKEN_NONE;
    // The open elements when the token began, joined with '/' ("" at the top).
    std::string mSection;
    // Start or end tag: the element name; text: the text; instruction: its
    // target; comment: "!--".
    std::string mValue;
    // Instruction: what follows the target (its first blank included);
    // comment: the comment text.
    std::string mInstruction;
    // Start tags only, entities decoded (UTF-8).
    std::map<std::string, std::string> mAttributes;
};

} // namespace Lumo
