// Fuzz target for the settings-file reader: any bytes parse into the good
// lines they hold, and whatever was kept writes back to text that parses,
// with no bad line, to the same.
#include "platform/Settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Lumo::Platform::SettingsStore store("Fuzz");
    store.SetDword("Before", 1);
    const std::string input(reinterpret_cast<const char*>(data), size);
    (void)store.Parse(input);
    if (store.GetDword("Before") && input.find("Before") == std::string::npos)
        std::abort(); // the text replaces the values
    const std::string text = store.Serialize();
    Lumo::Platform::SettingsStore again("Fuzz");
    if (again.Parse(text) != 0 || again.Serialize() != text)
        std::abort();
    return 0;
}
