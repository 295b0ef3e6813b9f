#include "platform/flash/ScriptedFlashControl.h"

#include <algorithm>
#include <cstdio>

namespace Platform {
namespace {

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += static_cast<char>(c < 256 ? c : '?');
    return out;
}

std::string RectText(const FlashRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

bool EndsWithName(const std::wstring& path, const std::wstring& name)
{
    if (name.empty() || path.size() < name.size() || path.compare(path.size() - name.size(), name.size(), name) != 0)
        return false;
    if (path.size() == name.size())
        return true;
    const wchar_t before = path[path.size() - name.size() - 1];
    return before == L'/' || before == L'\\';
}

} // namespace

FlashScriptStep FlashScriptStep::Command(double at, const std::wstring& command, const std::wstring& argument)
{
    return RawEvent(at, kFlashDispatchFSCommand, {FlashArg::String(command), FlashArg::String(argument)});
}

FlashScriptStep FlashScriptStep::RawEvent(double at, int32_t dispatchId, std::vector<FlashArg> args)
{
    FlashScriptStep step;
    step.at = at;
    step.dispatchId = dispatchId;
    step.args = std::move(args);
    return step;
}

FlashScriptStep FlashScriptStep::Invalidate(double at, const FlashRect& rect)
{
    FlashScriptStep step;
    step.kind = Kind::Invalidate;
    step.at = at;
    step.rect = rect;
    return step;
}

FlashScriptStep FlashScriptStep::InvalidateAll(double at)
{
    FlashScriptStep step;
    step.kind = Kind::InvalidateAll;
    step.at = at;
    return step;
}

FlashScriptStep FlashScriptStep::Paint(double at, uint32_t colour)
{
    FlashScriptStep step;
    step.kind = Kind::Colour;
    step.at = at;
    step.colour = colour;
    return step;
}

FlashScriptStep FlashScriptStep::SetCursor(double at, CursorHandle cursor)
{
    FlashScriptStep step;
    step.kind = Kind::Cursor;
    step.at = at;
    step.cursor = cursor;
    return step;
}

FlashScriptStep FlashScriptStep::When(const std::wstring& name, const std::wstring& wanted) const
{
    FlashScriptStep step = *this;
    step.variable = name;
    step.value = wanted;
    return step;
}

void FlashScriptBook::Register(const std::wstring& name, FlashScript script)
{
    mScripts.emplace_back(name, std::move(script));
}

const FlashScript* FlashScriptBook::Find(const std::wstring& path) const
{
    for (const auto& [name, script] : mScripts) {
        if (EndsWithName(path, name))
            return &script;
    }
    return nullptr;
}

std::vector<std::string> FlashScriptBook::Take()
{
    std::vector<std::string> recent(calls.begin() + static_cast<std::ptrdiff_t>(std::min(mTaken, calls.size())),
                                    calls.end());
    mTaken = calls.size();
    return recent;
}

ScriptedFlashControl::ScriptedFlashControl(std::shared_ptr<FlashScriptBook> book)
    : mBook(std::move(book))
{
}

void ScriptedFlashControl::Record(std::string call)
{
    mBook->calls.push_back(std::move(call));
}

void ScriptedFlashControl::SetClientSite(FlashSite* site)
{
    Record("SetClientSite");
    mSite = site;
}

void ScriptedFlashControl::Advise(FlashEventSink* sink)
{
    Record("Advise");
    mSink = sink;
}

void ScriptedFlashControl::Unadvise()
{
    Record("Unadvise");
    mSink = nullptr;
}

bool ScriptedFlashControl::PutMovie(const std::wstring& path)
{
    Record("PutMovie " + Narrow(path));
    mScript = mClosed ? nullptr : mBook->Find(path);
    mFired.assign(mScript != nullptr ? mScript->steps.size() : 0, false);
    mVariables.clear();
    mColour = mScript != nullptr ? mScript->colour : 0;
    mCursor = nullptr;
    mStarted = false;
    mClock.Reset();
    return mScript != nullptr;
}

bool ScriptedFlashControl::Play()
{
    Record("Play");
    if (mScript == nullptr || mScript->refusePlay)
        return false;
    mStarted = true;
    mClock.Start();
    FireDueSteps();
    return true;
}

void ScriptedFlashControl::StopPlay()
{
    Record("StopPlay");
    FireDueSteps();
    mClock.Stop();
}

bool ScriptedFlashControl::IsPlaying()
{
    Record("IsPlaying");
    FireDueSteps();
    return mScript != nullptr && !(mStarted && mClock.Now() >= mScript->endTime);
}

void ScriptedFlashControl::SetVariable(const std::wstring& name, const std::wstring& value)
{
    Record("SetVariable " + Narrow(name) + "=" + Narrow(value));
    if (mScript == nullptr)
        return;
    FireDueSteps();
    if (name == L"_root.speed") {
        if (value == L"fast")
            mClock.SetRate(mScript->fastFactor);
        else if (value == L"normal")
            mClock.SetRate(1);
    }
    const auto found = std::find_if(mVariables.begin(), mVariables.end(),
                                    [&](const auto& entry) { return entry.first == name; });
    if (found != mVariables.end())
        found->second = value;
    else
        mVariables.emplace_back(name, value);
    FireDueSteps();
}

void ScriptedFlashControl::SetObjectRects(const FlashRect& position, const FlashRect& clip)
{
    Record("SetObjectRects " + RectText(position) + " " + RectText(clip));
    mPosition = position;
    FireDueSteps();
}

void ScriptedFlashControl::OnWindowMessage(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    char text[64];
    std::snprintf(text, sizeof text, "Message 0x%X %u 0x%08X", message, wParam, lParam);
    Record(text);
    FireDueSteps();
}

void ScriptedFlashControl::Draw(uint32_t* pixels, int width, int height, int pitch, const FlashRect& clip)
{
    Record("Draw " + RectText(clip));
    FireDueSteps();
    if (pixels == nullptr || mScript == nullptr)
        return;
    const int left = std::max(clip.left, 0);
    const int top = std::max(clip.top, 0);
    const int right = std::min(clip.right, width);
    const int bottom = std::min(clip.bottom, height);
    for (int y = top; y < bottom; ++y)
        std::fill(pixels + static_cast<ptrdiff_t>(y) * pitch + left, pixels + static_cast<ptrdiff_t>(y) * pitch + right,
                  mColour | 0xFF000000u);
}

CursorHandle ScriptedFlashControl::GetCursor()
{
    Record("GetCursor");
    FireDueSteps();
    return mCursor;
}

void ScriptedFlashControl::Close()
{
    Record("Close");
    mClosed = true;
    mScript = nullptr;
    mSite = nullptr;
    mSink = nullptr;
}

void ScriptedFlashControl::FireDueSteps()
{
    if (mScript == nullptr || !mStarted || !mClock.IsRunning() || mBusy)
        return;
    mBusy = true;
    const double now = mClock.Now();
    for (size_t i = 0; i < mScript->steps.size() && mScript != nullptr; ++i) {
        const FlashScriptStep& step = mScript->steps[i];
        if (mFired[i] || step.at > now || step.at > mScript->endTime)
            continue;
        if (!step.variable.empty()) {
            const auto found = std::find_if(mVariables.begin(), mVariables.end(),
                                            [&](const auto& entry) { return entry.first == step.variable; });
            if (found == mVariables.end() || found->second != step.value)
                continue;
        }
        mFired[i] = true;
        Fire(step);
    }
    mBusy = false;
}

void ScriptedFlashControl::Fire(const FlashScriptStep& step)
{
    switch (step.kind) {
    case FlashScriptStep::Kind::Event:
        if (mSink != nullptr)
            mSink->Invoke(step.dispatchId, step.args);
        break;
    case FlashScriptStep::Kind::Invalidate:
        if (mSite != nullptr) {
            const FlashRect moved{step.rect.left + mPosition.left, step.rect.top + mPosition.top,
                                  step.rect.right + mPosition.left, step.rect.bottom + mPosition.top};
            mSite->InvalidateRect(&moved);
        }
        break;
    case FlashScriptStep::Kind::InvalidateAll:
        if (mSite != nullptr)
            mSite->InvalidateRect(nullptr);
        break;
    case FlashScriptStep::Kind::Colour:
        mColour = step.colour;
        break;
    case FlashScriptStep::Kind::Cursor:
        mCursor = step.cursor;
        break;
    }
}

} // namespace Platform
