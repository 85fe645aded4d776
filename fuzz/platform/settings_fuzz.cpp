// Fuzz target for the settings-file reader: any bytes either parse or are
// rejected, and whatever parses writes back to text that parses to the same.
#include "platform/Settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string emptyText = Lumo::Platform::SettingsStore("Fuzz").Serialize();
    Lumo::Platform::SettingsStore store("Fuzz");
    store.SetDword("Before", 1);
    if (!store.Parse(std::string(reinterpret_cast<const char*>(data), size)))
    {
        if (store.Serialize() != emptyText)
            std::abort(); // a rejected file must leave nothing behind
        return 0;
    }
    const std::string text = store.Serialize();
    Lumo::Platform::SettingsStore again("Fuzz");
    if (!again.Parse(text) || again.Serialize() != text)
        std::abort();
    return 0;
}
