#include "resources/images/PngMessages.h"

#include "resources/images/ImageDecoders.h"

namespace Tandry::ImageLib {
namespace {

// Kept out of OnPngError, so the text is freed before the long jump skips that frame.
void Report(png_structp png, const char* kind, png_const_charp message)
{
    const auto* target = static_cast<const PngMessageTarget*>(png_get_error_ptr(png));
    ReportImageProblem(*target->label, std::string(kind) + message);
}

} // namespace

void OnPngError(png_structp png, png_const_charp message)
{
    Report(png, "PNG error: ", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp png, png_const_charp message)
{
    Report(png, "PNG warning: ", message);
}

} // namespace Tandry::ImageLib
