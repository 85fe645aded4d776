// Debug output sink: complete lines are kept in a bounded in-memory list (the
// newest kMaxLines), an unfinished line waits for its end. Text also goes to
// stderr when LUMO_DEBUG_OUTPUT=1.
#include "platform/DebugOutput.h"

#include "platform/Environment.h"

#include <cstdarg>
#include <cstdio>
#include <deque>
#include <mutex>

namespace Lumo::Platform {

namespace {

constexpr size_t kMaxLines = 10000;

struct Sink
{
    std::mutex mutex;
    std::deque<std::string> lines;
    std::string pending; // text after the last '\n'
};

Sink& GetSink()
{
    static Sink sink;
    return sink;
}

void AddLineLocked(Sink& sink, std::string line)
{
    sink.lines.push_back(std::move(line));
    while (sink.lines.size() > kMaxLines)
        sink.lines.pop_front();
}

void AppendLocked(Sink& sink, const std::string& text)
{
    size_t start = 0;
    for (size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', start))
    {
        sink.pending.append(text, start, nl - start);
        AddLineLocked(sink, std::move(sink.pending));
        sink.pending.clear();
        start = nl + 1;
    }
    sink.pending.append(text, start, std::string::npos);
}

bool ToStderr()
{
    return GetEnvFlag("LUMO_DEBUG_OUTPUT");
}

} // namespace

void DebugOutput(const std::string& text)
{
    Sink& sink = GetSink();
    std::lock_guard<std::mutex> lock(sink.mutex);
    AppendLocked(sink, text);
    if (ToStderr())
    {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    }
}

void DebugOutputF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0)
    {
        text.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<size_t>(length));
    }
    va_end(args);
    DebugOutput(text);
}

namespace {

void LogLine(const char* module, const std::string& text, bool toStderr)
{
    std::string line = std::string(module ? module : "LOG") + ": " + text;
    Sink& sink = GetSink();
    std::lock_guard<std::mutex> lock(sink.mutex);
    // A log line always stands on its own, even after an unfinished trace.
    if (!sink.pending.empty())
    {
        AddLineLocked(sink, std::move(sink.pending));
        sink.pending.clear();
    }
    AddLineLocked(sink, line);
    if (toStderr)
    {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    }
}

} // namespace

void Log(const char* module, const std::string& text)
{
    LogLine(module, text, ToStderr());
}

void Notice(const char* module, const std::string& text)
{
    LogLine(module, text, true);
}

std::vector<std::string> GetDebugOutputLines()
{
    Sink& sink = GetSink();
    std::lock_guard<std::mutex> lock(sink.mutex);
    std::vector<std::string> lines(sink.lines.begin(), sink.lines.end());
    if (!sink.pending.empty())
        lines.push_back(sink.pending);
    return lines;
}

void ClearDebugOutput()
{
    Sink& sink = GetSink();
    std::lock_guard<std::mutex> lock(sink.mutex);
    sink.lines.clear();
    sink.pending.clear();
}

} // namespace Lumo::Platform
