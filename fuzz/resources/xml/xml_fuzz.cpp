// The XML token reader over arbitrary bytes: every token until the reader
// stops, with comments dropped and kept, and entity decoding of the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "resources/XmlTokenReader.h"

namespace {

void ReadEverything(const std::string& bytes, bool keepComments)
{
    Lumo::XmlTokenReader reader;
    reader.OpenBuffer(bytes, "fuzz.xml");
    reader.SetKeepComments(keepComments);
    Lumo::XmlToken token;
    // Every token consumes input, so a reader that returns more tokens than
    // there are bytes (plus the made-up end tags) is stuck.
    size_t count = 0;
    while (reader.ReadToken(token))
    {
        if (++count > 2 * bytes.size() + 2)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ReadEverything(bytes, false);
    ReadEverything(bytes, true);
    (void)Lumo::XmlTokenReader::DecodeEntities(bytes);
    return 0;
}
