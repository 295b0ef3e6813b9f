// A library the music back ends load at run time and share by counted
// references: the first reference loads it, the last one unloads it. The
// BASS and FMOD entry-point tables are each one of these; a library that
// cannot be loaded ends the program through FailLibraryLoad.
#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace Tandry {

// The box titled "Error" with the error icon and the text, then exit code 0.
[[noreturn]] void FailLibraryLoad(const std::string& text);

template <class Instance>
class CountedLibrary {
public:
    using Loader = std::unique_ptr<Instance> (*)();

    explicit CountedLibrary(Loader load)
        : mLoad(load)
    {
    }

    Instance* Acquire()
    {
        std::lock_guard<std::mutex> hold(mLock);
        if (mInstance == nullptr)
            mInstance = mLoad();
        ++mReferences;
        return mInstance.get();
    }

    void Release()
    {
        std::lock_guard<std::mutex> hold(mLock);
        if (mReferences > 0 && --mReferences == 0)
            mInstance.reset();
    }

private:
    Loader mLoad;
    std::mutex mLock;
    std::unique_ptr<Instance> mInstance;
    int mReferences = 0;
};

} // namespace Tandry
