#include "app/DemoPlaybackControls.h"

#include "app/LeadingInt.h"
#include "app/TandryAppBase.h"
#include "platform/Platform.h"
#include "util/Format.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

namespace Tandry {

namespace {

constexpr double kSpeedStep = 1.5;
// Milliseconds before the end for the keys "4" to "9".
constexpr int64_t kJumpKeyMs[] = {120000, 90000, 60000, 30000, 10000, 5000};
constexpr size_t kMaxStoredJumpTime = 1000;
constexpr size_t kMaxJumpTimeText = 500;
// Any time beyond this lies far outside the int range of updates anyway.
constexpr int64_t kMaxJumpValue = 1'000'000'000'000'000;

// atoi's reading: leading blanks, a sign and digits, held at the int range.
int64_t ParsePiece(const std::string& piece)
{
    const size_t start = piece.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string::npos)
        return 0;
    return ReadLeadingInt(std::string_view(piece).substr(start)).value_or(0);
}

int ClampToInt(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

} // namespace

int64_t DemoPlaybackControls::ParseJumpSeconds(const std::string& text)
{
    int64_t seconds = 0;
    size_t start = 0;
    for (;;) {
        const size_t colon = text.find(':', start);
        const std::string piece = text.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        seconds = std::clamp<int64_t>(seconds * 60 + ParsePiece(piece), -kMaxJumpValue, kMaxJumpValue);
        if (colon == std::string::npos)
            return seconds;
        start = colon + 1;
    }
}

int DemoPlaybackControls::UpdatesBeforeEnd(int endUpdate, int64_t ms, int frameTimeMs)
{
    return ClampToInt(static_cast<int64_t>(endUpdate) - ms / std::max(frameTimeMs, 1));
}

std::string DemoPlaybackControls::MarkerLine(const DemoMarker& marker, int endUpdate, int frameTimeMs)
{
    const int64_t t = (static_cast<int64_t>(endUpdate) - marker.update) * frameTimeMs / 1000;
    return FormatString("%s (%02lld:%02lld:%02lld)", marker.name.c_str(), static_cast<long long>(t / 3600),
                        static_cast<long long>(t / 60 % 60), static_cast<long long>(t % 60));
}

void DemoPlaybackControls::HandleChar(wchar_t ch)
{
    TandryAppBase& app = mApp;
    switch (ch) {
    case L'+':
        app.mDemoSpeed *= kSpeedStep;
        break;
    case L'-':
        app.mDemoSpeed /= kSpeedStep;
        break;
    case L'=':
        app.mDemoSpeed = 1.0;
        break;
    case L'0':
        app.mDemoJumpTarget = app.mDemoEndUpdate;
        break;
    case L'4':
    case L'5':
    case L'6':
    case L'7':
    case L'8':
    case L'9':
        app.mDemoJumpTarget = UpdatesBeforeEnd(app.mDemoEndUpdate, kJumpKeyMs[ch - L'4'], app.mFrameTimeMs);
        break;
    case L'J':
    case L'j':
        ShowJumpToTimeDialog();
        break;
    case L'L':
    case L'l':
        ShowMarkerListDialog();
        break;
    case L'M':
    case L'm':
        app.mDemoFastForwardAll = true;
        break;
    case L'N':
    case L'n':
        app.mDemoJumpTarget = ClampToInt(static_cast<int64_t>(app.mUpdateCount) + 1);
        app.mDemoSingleStep = true;
        break;
    case L'P':
    case L'p':
        app.mDemoPaused = !app.mDemoPaused;
        app.ResetUpdateTiming();
        break;
    case L'S':
    case L's':
        ToggleDemoSound();
        break;
    default:
        break;
    }
}

void DemoPlaybackControls::ToggleDemoSound()
{
    TandryAppBase& app = mApp;
    const double music = app.GetMusicVolume();
    if (music != 0) {
        app.mSavedMusicVolume = music;
        app.SetMusicVolume(0);
    } else {
        app.SetMusicVolume(app.mSavedMusicVolume);
    }
    const double sfx = app.GetSfxVolume();
    if (sfx != 0) {
        app.mSavedSfxVolume = sfx;
        app.SetSfxVolume(0);
    } else {
        app.SetSfxVolume(app.mSavedSfxVolume);
    }
}

std::string DemoPlaybackControls::ReadStoredJumpTime() const
{
    // Straight from the registry: the prompt's memory is no input of the run.
    Platform::Registry& registry = Platform::GetPlatform().GetRegistry();
    Platform::RegistryKey key;
    if (mApp.mRegistryKey.empty() || !registry.OpenKey("SOFTWARE\\" + mApp.mRegistryKey, key))
        return {};
    std::vector<uint8_t> bytes(kMaxStoredJumpTime);
    uint32_t type = 0;
    uint32_t length = static_cast<uint32_t>(bytes.size());
    if (!registry.QueryValue(key, kJumpTimeValue, &type, bytes.data(), &length))
        return {};
    const auto end = bytes.begin() + std::min<uint32_t>(length, kMaxStoredJumpTime);
    return std::string(bytes.begin(), std::find(bytes.begin(), end, 0));
}

void DemoPlaybackControls::StoreJumpTime(const std::string& text) const
{
    Platform::Registry& registry = Platform::GetPlatform().GetRegistry();
    Platform::RegistryKey key;
    if (mApp.mRegistryKey.empty() || !registry.OpenKey("SOFTWARE\\" + mApp.mRegistryKey, key))
        return;
    // REG_SZ with its terminator.
    registry.SetValue(key, kJumpTimeValue, Platform::REG_SZ, reinterpret_cast<const uint8_t*>(text.c_str()),
                      static_cast<uint32_t>(text.size() + 1));
}

void DemoPlaybackControls::JumpTo(int target)
{
    if (target >= mApp.mUpdateCount)
        mApp.mDemoJumpTarget = target;
}

int DemoPlaybackControls::ShowJumpToTimeDialog()
{
    TandryAppBase& app = mApp;
    const std::optional<std::string> answer =
        Platform::GetPlatform().GetDialogs().PromptText(app.mMainWindow, "Jump To Time", ReadStoredJumpTime());
    int result = kCancelled;
    if (answer) {
        const std::string text = answer->substr(0, kMaxJumpTimeText);
        StoreJumpTime(text);
        // One second more than asked, so the jump lands just before the time.
        const int64_t ms = (ParseJumpSeconds(text) + 1) * 1000;
        JumpTo(UpdatesBeforeEnd(app.mDemoEndUpdate, ms, app.mFrameTimeMs));
        result = kAnswered;
    }
    // The prompt stalled the loop; the stall is not caught up.
    app.ResetUpdateTiming();
    return result;
}

int DemoPlaybackControls::ShowMarkerListDialog()
{
    TandryAppBase& app = mApp;
    std::vector<std::string> lines;
    std::vector<int> updates;
    for (const DemoMarker& marker : app.mDemoMarkers) {
        if (marker.update > app.mUpdateCount) {
            lines.push_back(MarkerLine(marker, app.mDemoEndUpdate, app.mFrameTimeMs));
            updates.push_back(marker.update);
        }
    }
    int result = kCancelled;
    for (;;) {
        const std::optional<int> choice =
            Platform::GetPlatform().GetDialogs().PromptChoice(app.mMainWindow, "Marker List", lines);
        if (!choice)
            break;
        // Any other answer leaves the list open, as a double click beside the entries does.
        if (*choice >= 0 && static_cast<size_t>(*choice) < updates.size() &&
            updates[static_cast<size_t>(*choice)] > app.mUpdateCount) {
            app.mDemoJumpTarget = updates[static_cast<size_t>(*choice)];
            result = kAnswered;
            break;
        }
    }
    app.ResetUpdateTiming();
    return result;
}

} // namespace Tandry
