#pragma once
// Run-time module loading, the stand-in of LoadLibrary/GetProcAddress.
// A module name such as "j2k-codec.dll", ".\\bass.dll" or "dsound.dll" maps to
// our own shared module "lib<base>.so" in the program's folder: the folder part
// is dropped, the name is lower-cased and its ".dll" ending removed ("bass.dll"
// -> "libbass.so", "j2k-codec.dll" -> "libj2k-codec.so"); a name that already
// ends in ".so" is kept as it is. Search order: LUMO_MODULE_DIR (when set), the
// program's folder, then the plain file name through the normal dlopen search.
// Modules are opened RTLD_NOW | RTLD_LOCAL. Entry names decorated the Windows
// way ("_FSOUND_Init@12") resolve to the plain name ("FSOUND_Init") when the
// name as given is not found. Callable from any thread.
#include <string>

namespace Lumo::Platform {

using ModuleHandle = void*;

// Null (and one log line) when the module cannot be found or loaded.
ModuleHandle LoadModule(const std::string& name);
// Null when the module has no such entry.
void* GetModuleEntry(ModuleHandle module, const char* name);
void FreeModule(ModuleHandle module);

// The file name LoadModule looks for, e.g. "libbass.so" for ".\\bass.dll".
std::string ModuleFileName(const std::string& name);

} // namespace Lumo::Platform
