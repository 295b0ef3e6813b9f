#include "platform/headless/HeadlessDebugOutput.h"

namespace Platform {

void HeadlessDebugOutput::Write(const std::string& text)
{
    std::lock_guard<std::mutex> hold(mLock);
    mTexts.push_back(text);
}

std::vector<std::string> HeadlessDebugOutput::GetTexts()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mTexts;
}

std::string HeadlessDebugOutput::GetAll()
{
    std::lock_guard<std::mutex> hold(mLock);
    std::string all;
    for (const std::string& text : mTexts)
        all += text;
    return all;
}

} // namespace Platform
