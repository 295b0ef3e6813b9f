// Runs a fuzz entry point over every file of a seed corpus folder, so that the
// test build exercises each fuzz target without libFuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    std::error_code ec;
    std::filesystem::directory_iterator it(argv[1], ec);
    if (ec) {
        std::fprintf(stderr, "cannot read corpus folder %s: %s\n", argv[1], ec.message().c_str());
        return 2;
    }
    int count = 0;
    for (const auto& entry : it) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++count;
    }
    // An empty input is always worth a run: it is the first thing a fuzzer tries.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d corpus files\n", count);
    return count > 0 ? 0 : 1;
}
