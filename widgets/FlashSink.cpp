#include "widgets/FlashSink.h"

#include "util/StringUtils.h"
#include "widgets/FlashListener.h"
#include "widgets/FlashWidget.h"

namespace Tandry {

Platform::HRESULT FlashSink::Invoke(int32_t dispatchId, const std::vector<Platform::FlashArg>& args)
{
    using Platform::FlashArg;
    switch (dispatchId) {
    case Platform::kFlashDispatchFSCommand:
        if (args.size() == 2 && args[0].kind == FlashArg::Kind::String && args[1].kind == FlashArg::Kind::String &&
            mWidget.listener != nullptr)
            mWidget.listener->OnFlashCommand(mWidget.id, WideToNarrow(args[0].text), WideToNarrow(args[1].text));
        return Platform::FLASH_S_OK;
    case Platform::kFlashDispatchOnProgress:
    case Platform::kFlashDispatchReadyStateChange:
        return Platform::FLASH_S_OK;
    default:
        return Platform::DISP_E_MEMBERNOTFOUND;
    }
}

} // namespace Tandry
