#include "platform/flash/MovieFileControl.h"

#include "platform/codepage/CodePages.h"
#include "platform/fs/PathResolver.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace Platform {
namespace {

std::wstring WidenBytes(const std::string& bytes)
{
    std::wstring wide(bytes.size(), L'\0');
    std::transform(bytes.begin(), bytes.end(), wide.begin(),
                   [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
    return wide;
}

// The whole file, or nothing when it is missing, unreadable or too large.
std::optional<std::vector<uint8_t>> ReadMovieBytes(const std::string& path)
{
    struct Closer {
        void operator()(FILE* file) const { std::fclose(file); }
    };
    const std::unique_ptr<FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    std::vector<uint8_t> bytes(MovieLimits::kMaxFileBytes + 1);
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()) || read > MovieLimits::kMaxFileBytes)
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

} // namespace

void MovieFileControl::Advise(FlashEventSink* sink)
{
    if (!mClosed)
        mSink = sink;
}

void MovieFileControl::Unadvise()
{
    mSink = nullptr;
}

void MovieFileControl::Unload()
{
    mLoaded = false;
    mStarted = false;
    mLines.clear();
    mNext = 0;
    mDoneAt = 0;
    mVariables.clear();
    mClock.Reset();
}

bool MovieFileControl::PutMovie(const std::wstring& path)
{
    Unload();
    if (mClosed)
        return false;
    const std::string narrow = PathResolver::Resolve(WideCharToMultiByte(CP_ACP, path));
    const std::optional<std::vector<uint8_t>> bytes = ReadMovieBytes(narrow);
    if (!bytes)
        return false;
    MovieFile movie;
    std::string error;
    if (!ParseMovieFile(*bytes, movie, error))
        return false;
    mLines.reserve(movie.lines.size());
    for (const MovieLine& parsed : movie.lines) {
        Line line;
        line.delay = parsed.delay;
        line.wait = parsed.IsWait();
        line.first = WidenBytes(line.wait ? parsed.variable : parsed.command);
        line.second = WidenBytes(line.wait ? parsed.value : parsed.argument);
        mLines.push_back(std::move(line));
    }
    mLoaded = true;
    return true;
}

bool MovieFileControl::Play()
{
    if (!mLoaded || mClosed)
        return false;
    mStarted = true;
    mClock.Start();
    DoDueLines();
    return true;
}

void MovieFileControl::StopPlay()
{
    DoDueLines();
    mClock.Stop();
}

bool MovieFileControl::IsPlaying()
{
    DoDueLines();
    return mLoaded && !mClosed && !(mStarted && mNext == mLines.size());
}

void MovieFileControl::SetVariable(const std::wstring& name, const std::wstring& value)
{
    if (!mLoaded || mClosed)
        return;
    // Lines that fell due before the setting are done at the old rate and
    // without the new value.
    DoDueLines();
    if (name == L"_root.speed") {
        if (value == L"fast")
            mClock.SetRate(4);
        else if (value == L"normal")
            mClock.SetRate(1);
    }
    mVariables[name] = Variable{value, mClock.Now()};
    DoDueLines();
}

void MovieFileControl::SetObjectRects(const FlashRect&, const FlashRect&)
{
    DoDueLines();
}

void MovieFileControl::OnWindowMessage(uint32_t, uint32_t, uint32_t)
{
    DoDueLines();
}

void MovieFileControl::Draw(uint32_t*, int, int, int, const FlashRect&)
{
    DoDueLines();
}

void MovieFileControl::Close()
{
    mClosed = true;
    mSink = nullptr;
    Unload();
}

void MovieFileControl::DoDueLines()
{
    if (!mLoaded || mClosed || !mStarted || !mClock.IsRunning() || mBusy)
        return;
    mBusy = true;
    while (mNext < mLines.size() && mLoaded && !mClosed && mClock.IsRunning()) {
        const Line& line = mLines[mNext];
        const double due = mDoneAt + line.delay;
        if (mClock.Now() < due)
            break;
        if (line.wait) {
            const auto found = mVariables.find(line.first);
            if (found == mVariables.end() || found->second.value != line.second)
                break;
            mDoneAt = std::max(due, found->second.setAt);
            mVariables.erase(found);
            ++mNext;
            continue;
        }
        mDoneAt = due;
        ++mNext;
        if (mSink != nullptr) {
            // Copies: the handler may load another movie into this control.
            std::vector<FlashArg> args{FlashArg::String(line.first), FlashArg::String(line.second)};
            mSink->Invoke(kFlashDispatchFSCommand, args);
        }
    }
    mBusy = false;
}

} // namespace Platform
