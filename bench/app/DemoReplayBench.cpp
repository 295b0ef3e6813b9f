// Replay of a recorded demo stream of 1,000,000 mixed events (relative
// moves, button presses and releases, keys and characters, four to an
// update) through the demo player into a sink that does nothing, beside a
// bare shift-and-mask bit reader that decodes the same fields from the same
// bytes. Goal: the replay takes at most 4 x the bare reader's time.
#include "app/DemoEventType.h"
#include "app/DemoPlayer.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kEvents = 1'000'000;
constexpr int kEventsPerUpdate = 4;

class NullSink : public Tandry::DemoReplaySink {
public:
    void MouseMove(int x, int y) override { benchmark::DoNotOptimize(x + y); }
    void MouseDown(int, int, int) override {}
    void MouseUp(int, int, int) override {}
    void Activate(bool) override {}
    void Minimise(bool) override {}
    void KeyDown(int) override {}
    void KeyUp(int) override {}
    void KeyChar(wchar_t) override {}
    void Close() override {}
    void MouseEnter() override {}
    void MouseLeave() override {}
    void LoadingDone() override {}
    void Wheel(int) override {}
    void DisplayState(bool, int) override {}
    void PlaybackEnded(const std::string&) override {}
    bool ShuttingDown() override { return false; }
};

struct Recording {
    std::vector<uint8_t> bytes;
    int lastUpdate = 0;
};

const Recording& MixedRecording()
{
    static const Recording recording = [] {
        Tandry::DemoStreamFields fields;
        Tandry::DemoEventCodec codec(fields.State());
        int x = 400;
        int y = 300;
        Recording made;
        for (int i = 0; i < kEvents; ++i) {
            const int update = i / kEventsPerUpdate;
            switch (i % 5) {
            case 0:
                // Always a real move: a move to the same place writes nothing.
                x += 1 + i % 3;
                y += (i & 1) != 0 ? 2 : -2;
                codec.WriteMousePosition(update, x, y);
                break;
            case 1:
                codec.WriteMouseButton(update, (i & 1) != 0, 1);
                break;
            case 2:
                codec.WriteKey(update, Tandry::kDemoKeyDown, 'A' + i % 26);
                break;
            case 3:
                codec.WriteKey(update, Tandry::kDemoKeyUp, 'A' + i % 26);
                break;
            default:
                codec.WriteKeyChar(update, static_cast<wchar_t>('a' + i % 26));
                break;
            }
            made.lastUpdate = update;
        }
        const uint8_t* data = fields.buffer.GetData();
        made.bytes.assign(data, data + fields.buffer.GetByteSize());
        return made;
    }();
    return recording;
}

void BM_DemoReplay(benchmark::State& state)
{
    const Recording& recording = MixedRecording();
    Tandry::DemoStreamFields fields;
    fields.buffer.PutBytes(recording.bytes.data(), static_cast<int>(recording.bytes.size()));
    NullSink sink;
    for (auto _ : state) {
        fields.buffer.SetReadBitPos(0);
        fields.nextEventUpdate = 0;
        fields.needHeader = true;
        Tandry::DemoPlayer player(fields.State(), sink);
        for (int update = 0; update <= recording.lastUpdate; ++update)
            player.ReplayUpdate(update);
        benchmark::DoNotOptimize(fields.eventIndex);
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_DemoReplay)->Unit(benchmark::kMillisecond);

// The reference: the same fields decoded with nothing but shifts and masks.
class BareReader {
public:
    explicit BareReader(const std::vector<uint8_t>& bytes) : mBytes(bytes) {}
    uint32_t Bits(int n)
    {
        uint32_t value = 0;
        for (int i = 0; i < n; ++i, ++mPos)
            value |= static_cast<uint32_t>((mBytes[mPos >> 3] >> (mPos & 7)) & 1u) << i;
        return value;
    }
    int Signed(int n)
    {
        const uint32_t value = Bits(n);
        return static_cast<int>(value & (1u << (n - 1)) ? value | ~((1u << n) - 1) : value);
    }

private:
    const std::vector<uint8_t>& mBytes;
    size_t mPos = 0;
};

void BM_BareBitReader(benchmark::State& state)
{
    const Recording& recording = MixedRecording();
    for (auto _ : state) {
        BareReader in(recording.bytes);
        int64_t sum = 0;
        int x = 0;
        int y = 0;
        for (int i = 0; i < kEvents; ++i) {
            sum += in.Bits(4);
            if (in.Bits(1) != 0) {
                if (in.Bits(1) == 0) {
                    x += in.Signed(6);
                    y += in.Signed(6);
                    sum += x + y;
                } else {
                    sum += in.Bits(1) + in.Signed(3);
                }
                continue;
            }
            switch (in.Bits(5)) {
            case Tandry::kDemoAbsoluteMouseMove:
                x = static_cast<int>(in.Bits(12));
                y = static_cast<int>(in.Bits(12));
                sum += x + y;
                break;
            case Tandry::kDemoKeyChar:
                sum += in.Bits(in.Bits(1) != 0 ? 16 : 8);
                break;
            default:
                sum += in.Bits(8);
                break;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_BareBitReader)->Unit(benchmark::kMillisecond);

} // namespace
