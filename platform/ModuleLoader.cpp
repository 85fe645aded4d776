// Run-time modules over dlopen: Windows library names map to our own shared
// modules beside the program (see ModuleLoader.h).
#include "platform/ModuleLoader.h"

#include "platform/DebugOutput.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <dlfcn.h>
#include <vector>

namespace Lumo::Platform {

namespace {

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// "_Name@12" -> "Name", "Name@12" -> "Name", "_Name" -> "Name"; empty when the
// name carries no decoration.
std::string Undecorate(const std::string& name)
{
    std::string plain = name;
    size_t at = plain.rfind('@');
    if (at != std::string::npos && at + 1 < plain.size() &&
        std::all_of(plain.begin() + static_cast<std::ptrdiff_t>(at) + 1, plain.end(),
                    [](unsigned char c) { return std::isdigit(c) != 0; }))
        plain.resize(at);
    if (plain.size() > 1 && plain[0] == '_')
        plain.erase(0, 1);
    return plain == name ? std::string() : plain;
}

std::vector<std::string> CandidatePaths(const std::string& fileName)
{
    std::vector<std::string> paths;
    if (auto dir = GetEnv("LUMO_MODULE_DIR"))
        paths.push_back(*dir + (dir->back() == '/' ? "" : "/") + fileName);
    paths.push_back(GetExecutableFolder() + fileName);
    paths.push_back(fileName); // the normal dlopen search
    return paths;
}

} // namespace

std::string ModuleFileName(const std::string& name)
{
    std::string base = name;
    std::replace(base.begin(), base.end(), '\\', '/');
    if (size_t slash = base.rfind('/'); slash != std::string::npos)
        base.erase(0, slash + 1);
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (EndsWith(base, ".so"))
        return base; // already a host module name
    if (EndsWith(base, ".dll"))
        base.resize(base.size() - 4);
    return "lib" + base + ".so";
}

ModuleHandle LoadModule(const std::string& name)
{
    const std::string fileName = ModuleFileName(name);
    std::string lastError = "not found";
    for (std::string path : CandidatePaths(fileName))
    {
        bool searched = path.find('/') == std::string::npos;
        if (!searched && !FileExists(path))
            continue;
        if (!searched)
            path = MapPath(path); // the file as it is named on disk
        if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return handle;
        const char* error = dlerror();
        if (!searched || lastError == "not found")
            lastError = error ? error : "dlopen failed";
    }
    Log("MODULE", "cannot load " + name + " (" + fileName + "): " + lastError);
    return nullptr;
}

void* GetModuleEntry(ModuleHandle module, const char* name)
{
    if (!module || !name || !*name)
        return nullptr;
    dlerror();
    if (void* entry = dlsym(module, name))
        return entry;
    std::string plain = Undecorate(name);
    if (plain.empty())
        return nullptr;
    return dlsym(module, plain.c_str());
}

void FreeModule(ModuleHandle module)
{
    if (module)
        dlclose(module);
}

} // namespace Lumo::Platform
