#include "resources/ImageLibJpegError.h"

#include "platform/DebugOutput.h"

namespace Lumo::ImageLib {

namespace {

JpegErrorManager* Manager(j_common_ptr info)
{
    return reinterpret_cast<JpegErrorManager*>(info->err);
}

// Returns before any jump, so its string is gone by then.
void LogLine(j_common_ptr info, const char* text)
{
    Platform::Log("IMAGE", std::string(Manager(info)->path) + ": " + text);
}

void JpegOutputMessage(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    LogLine(info, text);
}

// Warnings: the first one is kept for the reader; trace messages are dropped.
void JpegEmitMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    if (info->err->num_warnings == 0)
        info->err->format_message(info, Manager(info)->firstWarning);
    info->err->num_warnings++;
}

[[noreturn]] void JpegErrorExit(j_common_ptr info)
{
    info->err->output_message(info);
    std::longjmp(Manager(info)->jump, 1);
}

} // namespace

[[noreturn]] void JpegFail(j_common_ptr info, const char* what)
{
    LogLine(info, what);
    std::longjmp(Manager(info)->jump, 1);
}

jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& manager, const char* path)
{
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = &JpegErrorExit;
    manager.pub.output_message = &JpegOutputMessage;
    manager.pub.emit_message = &JpegEmitMessage;
    manager.path = path;
    manager.firstWarning[0] = '\0';
    return &manager.pub;
}

} // namespace Lumo::ImageLib
