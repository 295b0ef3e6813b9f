#include "platform/instance/SingleInstance.h"

#include <algorithm>

namespace Platform {
namespace {

constexpr uint32_t kFirstRegistered = 0xC000;
constexpr uint32_t kLastRegistered = 0xFFFF;

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
           });
}

} // namespace

uint32_t SingleInstance::RegisterWindowMessage(const std::string& name)
{
    if (name.empty())
        return 0;
    std::lock_guard<std::mutex> hold(mLock);
    for (size_t i = 0; i < mNames.size(); ++i) {
        if (SameNameIgnoringCase(mNames[i], name))
            return kFirstRegistered + static_cast<uint32_t>(i);
    }
    if (mNames.size() > kLastRegistered - kFirstRegistered)
        return 0;
    mNames.push_back(name);
    return kFirstRegistered + static_cast<uint32_t>(mNames.size() - 1);
}

std::string SingleInstance::NameOfMessage(uint32_t message)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (message < kFirstRegistered || message - kFirstRegistered >= mNames.size())
        return {};
    return mNames[message - kFirstRegistered];
}

std::vector<uint32_t> SingleInstance::TakeNotifications()
{
    std::vector<uint32_t> numbers;
    for (const std::string& name : TakeReceivedNames()) {
        // Only names this instance registered itself mean anything to it.
        std::lock_guard<std::mutex> hold(mLock);
        for (size_t i = 0; i < mNames.size(); ++i) {
            if (SameNameIgnoringCase(mNames[i], name)) {
                numbers.push_back(kFirstRegistered + static_cast<uint32_t>(i));
                break;
            }
        }
    }
    return numbers;
}

} // namespace Platform
