#pragma once
// The end of the program when an outside audio library, or one of its entry
// points, is missing: one message box (caption "Error"), one log line, then
// the process exits with code 0. Main thread.
#include <string>

namespace Lumo {

[[noreturn]] void FailAudioLibrary(const std::string& text);

} // namespace Lumo
