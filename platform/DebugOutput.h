#pragma once
// Debug output: the stand-in of the debugger output that the framework and the
// game write traces to. Lines are kept in a bounded in-memory sink that tests
// read, and go to stderr when LUMO_DEBUG_OUTPUT=1.
#include <string>
#include <vector>

namespace Lumo::Platform {

void DebugOutput(const std::string& text);
// printf-style convenience.
void DebugOutputF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Log line with a module prefix, e.g. Log("IMAGE", "invalid file data").
void Log(const char* module, const std::string& text);

// The text written since the last clear (tests).
std::vector<std::string> GetDebugOutputLines();
void ClearDebugOutput();

} // namespace Lumo::Platform
