// Arbitrary bytes as a demo file: read as start-up reads a played demo, then,
// when it loads, replayed update by update into a sink that records and
// checks what arrives, with the synchronous consumers of a played run mixed
// in (a registry read into an exact 4-byte heap buffer, a registry write, a
// block, a string and a bool), chosen by the input read backwards. The
// replay must end within a number of steps bounded by the input, never reach
// outside a buffer, and never make a block larger than the input.
#include "tests/fuzz/FuzzBytes.h"

#include "app/DemoFile.h"
#include "app/DemoPlayer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

// The product version the corpus files carry.
constexpr const char* kProductVersion = "1.0";

class CheckingSink : public Tandry::DemoReplaySink {
public:
    void MouseMove(int, int) override { ++calls; }
    // Click codes and wheel notches cut off by the end of the stream are
    // sign-extended from their last bit, as the bit buffer reads them, so
    // they are not range-checked here.
    void MouseDown(int, int, int) override { ++calls; }
    void MouseUp(int, int, int) override { ++calls; }
    void Activate(bool) override { ++calls; }
    void Minimise(bool) override { ++calls; }
    void KeyDown(int key) override { FuzzCheck(key >= 0 && key <= 255); }
    void KeyUp(int key) override { FuzzCheck(key >= 0 && key <= 255); }
    void KeyChar(wchar_t ch) override { FuzzCheck(static_cast<uint32_t>(ch) <= 0xFFFF); }
    void Close() override { closed = true; }
    void MouseEnter() override { ++calls; }
    void MouseLeave() override { ++calls; }
    void LoadingDone() override { ++calls; }
    void Wheel(int) override { ++calls; }
    void DisplayState(bool, int rate) override { FuzzCheck(rate >= 0 && rate <= 255); }
    void PlaybackEnded(const std::string& text) override
    {
        FuzzCheck(!ended && !text.empty());
        ended = true;
    }
    bool ShuttingDown() override { return closed; }

    int calls = 0;
    bool closed = false;
    bool ended = false;
};

void Consume(Tandry::DemoPlayer& player, int update, int choice, size_t inputSize)
{
    switch (choice) {
    case 1: {
        auto bytes = std::make_unique<uint8_t[]>(4);
        uint32_t type = 0;
        uint32_t length = 4;
        if (player.ReplayRegistryRead(update, type, bytes.get(), length))
            FuzzCheck(length <= 4);
        else
            FuzzCheck(length == 4);
        break;
    }
    case 2:
        player.ReplayRegistryWrite(update);
        break;
    case 3:
    case 4:
    case 5: {
        Tandry::Buffer block;
        block.PutString("kept");
        player.ReplaySyncBlock(update, block);
        FuzzCheck(static_cast<size_t>(block.GetByteSize()) <= std::max<size_t>(inputSize, 6));
        if (choice == 4)
            block.GetString();
        else if (choice == 5)
            block.GetBool();
        break;
    }
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Tandry::DemoFile file;
    std::string error;
    if (!Tandry::DemoFile::Read({data, size}, kProductVersion, file, error)) {
        FuzzCheck(error == "Invalid demo file." || error.rfind("This demo file appears to be for '", 0) == 0);
        return 0;
    }
    FuzzCheck(!file.events.empty() && file.events.size() < size);

    Tandry::DemoStreamFields fields;
    fields.buffer.PutBytes(file.events.data(), static_cast<int>(file.events.size()));
    fields.buffer.SetReadBitPos(0);
    CheckingSink sink;
    Tandry::DemoPlayer player(fields.State(), sink);

    const std::vector<uint8_t> reversed(std::make_reverse_iterator(data + size), std::make_reverse_iterator(data));
    FuzzBytes choices(reversed.data(), reversed.size());
    // Every step consumes stream bits or moves an update on, and a header of
    // at least 6 bits moves the next event at most 15 updates on.
    const int64_t bound = static_cast<int64_t>(file.events.size()) * 8 * 4 + 16;
    int update = 0;
    int64_t steps = 0;
    for (;; ++steps) {
        FuzzCheck(steps <= bound);
        const int positionBefore = fields.buffer.GetReadBitPos();
        const int updateBefore = update;
        player.ReplayUpdate(update);
        if (sink.closed)
            break;
        Consume(player, update, choices.Byte() % 8, size);
        FuzzCheck(fields.buffer.GetReadBitPos() <= fields.buffer.GetDataBitSize());
        if (player.Ended())
            FuzzCheck(fields.buffer.IsAtEnd() && fields.nextEventUpdate == update);
        if (update != fields.nextEventUpdate)
            ++update;
        if (update == updateBefore && fields.buffer.GetReadBitPos() == positionBefore)
            break;
    }
    return 0;
}
