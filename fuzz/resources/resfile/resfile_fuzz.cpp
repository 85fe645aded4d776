// A whole resource file read into records (without an application, so
// nothing is loaded from disk), then looked up and unloaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "resources/ResourceManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Lumo::ResourceManager manager(nullptr);
    (void)manager.ParseResourcesText(std::string(reinterpret_cast<const char*>(data), size), "fuzz.xml");
    for (const char* id : {"LOGO", "IMG_logo", "CLICK", "FONT"})
    {
        try
        {
            (void)manager.GetImageOrThrow(id);
        }
        catch (const Lumo::ResourceManagerException&)
        {
        }
        (void)manager.FindLoadedFont(id);
    }
    manager.UnloadGroup("menu");
    manager.UnloadGroup("");
    return 0;
}
