#include "resources/images/JpegErrorManager.h"

#include "resources/images/ImageDecoders.h"

namespace Tandry::ImageLib {
namespace {

JpegErrorManager& Manager(j_common_ptr info)
{
    return *reinterpret_cast<JpegErrorManager*>(info->err);
}

void OutputJpegMessage(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX] = {};
    (*info->err->format_message)(info, text);
    ReportImageProblem(*Manager(info).label, std::string("JPEG: ") + text);
}

[[noreturn]] void ExitOnJpegError(j_common_ptr info)
{
    (*info->err->output_message)(info);
    std::longjmp(Manager(info).jump, 1);
}

} // namespace

jpeg_error_mgr* JpegErrorManager::Install(const std::string& fileLabel)
{
    label = &fileLabel;
    jpeg_std_error(&base);
    base.error_exit = &ExitOnJpegError;
    base.output_message = &OutputJpegMessage;
    return &base;
}

void JpegFail(j_common_ptr info, const char* reason)
{
    ReportImageProblem(*Manager(info).label, std::string("JPEG: ") + reason);
    std::longjmp(Manager(info).jump, 1);
}

} // namespace Tandry::ImageLib
