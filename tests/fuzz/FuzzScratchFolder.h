// A fuzz target that touches the disk works in an empty temporary folder of
// its own, so that a run sees the same files wherever it is started and never
// writes beside the caller's. The folder is made on first use and removed
// when the program exits; each input enters it and leaves it again, so the
// fuzzer's own relative paths (corpus folders, artifacts) keep their meaning.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class FuzzScratchFolder {
public:
    // Enters the folder for the life of the object.
    FuzzScratchFolder()
        : mStarted(std::filesystem::current_path())
    {
        std::filesystem::current_path(Path());
    }
    ~FuzzScratchFolder() { std::filesystem::current_path(mStarted); }
    FuzzScratchFolder(const FuzzScratchFolder&) = delete;
    FuzzScratchFolder& operator=(const FuzzScratchFolder&) = delete;

    // The folder, the same one for the life of the program.
    static const std::filesystem::path& Path()
    {
        static const Made made;
        return made.path;
    }

private:
    struct Made {
        Made()
        {
            std::string pattern = (std::filesystem::temp_directory_path() / "moorglen-fuzz-XXXXXX").string();
            if (mkdtemp(pattern.data()) == nullptr)
                std::abort();
            path = pattern;
        }
        ~Made()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
        std::filesystem::path path;
    };

    std::filesystem::path mStarted;
};
