// Feeds bytes to the demo-file reader; a parsed demo is written back and must
// parse again.
#include "app/Buffer.h"
#include "app/DemoFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Lumo::DemoFile demo;
    std::string error;
    if (!demo.Parse(data, size, error))
        return 0;
    Lumo::Buffer buffer;
    demo.Write(buffer);
    Lumo::DemoFile again;
    if (!again.Parse(buffer.GetDataPtr(), buffer.GetDataLen(), error) || again.records.size() != demo.records.size())
        std::abort();
    return 0;
}
