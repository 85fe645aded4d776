#pragma once
// Debug output: the stand-in of the debugger output that the framework and the
// game write traces to. Lines are kept in a bounded in-memory sink that tests
// read, and go to stderr when LUMO_DEBUG_OUTPUT=1. Text is split into lines at
// '\n'; the sink keeps the newest 10000 lines. Every call is thread-safe.
#include <string>
#include <vector>

namespace Lumo::Platform {

void DebugOutput(const std::string& text);
// printf-style convenience.
void DebugOutputF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Log line with a module prefix, e.g. Log("IMAGE", "invalid file data") writes
// the line "IMAGE: invalid file data"; it always stands on a line of its own.
void Log(const char* module, const std::string& text);

// A note the user must see (a damaged file set aside, a fatal error): goes to
// the sink like Log and always to stderr, whatever LUMO_DEBUG_OUTPUT says.
void Notice(const char* module, const std::string& text);

// The lines written since the last clear, oldest first; an unfinished last
// line is included (tests).
std::vector<std::string> GetDebugOutputLines();
void ClearDebugOutput();

} // namespace Lumo::Platform
