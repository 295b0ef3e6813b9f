// Turns bytes into what reaches an edit field from outside: key-downs and
// characters (control characters included, with Shift, Ctrl and Alt held or
// not), clicks, double clicks and drags anywhere, clipboard contents of any
// bytes, and the owner's font changes, SetText, maxChars, maxPixels and
// passwordChar, on a field with box-rasterizer fonts whose listener refuses
// some keys, characters and texts. After every step the cursor lies within
// the text; each step also draws the field, so ASan sees any index that
// leaves the text.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "platform/fonts/BoxTextService.h"
#include "platform/fonts/TextService.h"
#include "tests/fuzz/FuzzBytes.h"
#include "tests/widgets/FakeWidgetHost.h"
#include "widgets/EditListener.h"
#include "widgets/EditWidget.h"
#include "widgets/SysFont.h"
#include "widgets/WidgetManager.h"

namespace {

using namespace Tandry;

constexpr int kMaxSteps = 300;
constexpr int kKeyCodes[] = {8, 9, 13, 16, 17, 18, 27, 35, 36, 37, 38, 39, 40, 46, 65, 67, 86, 88, 89, 90, 32};
constexpr wchar_t kCharacters[] = {3, 8, 9, 13, 22, 24, 26, 27, L'a', L'Z', L'_', L' ', L'5', 0x416, 0x44F,
                                   0x20AC, 0xE9, 0xFFFF, 1};

class PickyListener : public EditListener {
public:
    bool AllowKey(int, int key) override { return key != refusedKey; }
    bool AllowChar(int, wchar_t ch) override { return ch != refusedChar; }
    bool AllowText(int, const std::wstring& text) override
    {
        return refusedInText == 0 || text.find(refusedInText) == std::wstring::npos;
    }

    int refusedKey = -1;
    wchar_t refusedChar = 0;
    wchar_t refusedInText = 0;
};

std::wstring SomeText(FuzzBytes& in)
{
    std::wstring text;
    const int length = in.Range(0, 40);
    for (int i = 0; i < length; ++i)
        text += kCharacters[in.Byte() % std::size(kCharacters)];
    return text;
}

void Check(EditWidget& edit)
{
    FuzzCheck(edit.cursorPos >= 0 && edit.cursorPos <= static_cast<int>(edit.text.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Platform::InstallTextService(std::make_unique<Platform::BoxTextService>());
    {
        FuzzBytes in(data, size);
        FakeWidgetHost host;
        WidgetManager manager(&host);
        host.widgetManager = &manager;
        manager.width = 1024;
        manager.height = 768;
        PickyListener listener;
        EditWidget edit(&listener);
        SysFont small("Arial Unicode MS", 10, 0);
        SysFont large("Arial Unicode MS", 20, 0);
        edit.SetFont(&small, nullptr);
        edit.Resize(10, 10, 120, 20);
        manager.AddWidget(&edit);
        manager.SetFocus(&edit);
        MemoryImage image;
        image.Create(140, 40);
        Graphics g(&image);

        for (int step = 0; step < kMaxSteps && !in.Empty(); ++step) {
            switch (in.Byte() % 14) {
            case 0:
            case 1: {
                const int key = kKeyCodes[in.Byte() % std::size(kKeyCodes)];
                manager.KeyDown(key);
                if (in.Bool())
                    manager.KeyChar(kCharacters[in.Byte() % std::size(kCharacters)]);
                if (in.Bool())
                    manager.KeyUp(key);
                break;
            }
            case 2:
            case 3:
                manager.KeyChar(static_cast<wchar_t>(in.Range(0, 0x500)));
                break;
            case 4:
                manager.KeyUp(kKeyCodes[in.Byte() % std::size(kKeyCodes)]);
                break;
            case 5: {
                const int x = in.Range(-50, 200);
                const int y = in.Range(-10, 50);
                const int clicks = in.Bool() ? 2 : 1;
                manager.MouseDown(x, y, clicks);
                if (in.Bool())
                    manager.MouseDrag(in.Range(-50, 200), in.Range(-10, 50));
                manager.MouseUp(in.Range(-50, 200), in.Range(-10, 50), clicks);
                break;
            }
            case 6: {
                std::string clip;
                const int length = in.Range(0, 60);
                for (int i = 0; i < length; ++i)
                    clip += static_cast<char>(in.Byte());
                host.clipboard = clip;
                break;
            }
            case 7:
                edit.SetFont(in.Bool() ? &small : &large, in.Bool() ? &large : nullptr);
                break;
            case 8:
                edit.SetText(SomeText(in), in.Bool());
                break;
            case 9:
                edit.maxChars = in.Range(-2, 30);
                break;
            case 10:
                edit.maxPixels = in.Range(-2, 200);
                if (!edit.widthCheckList.empty())
                    edit.widthCheckList[0].second = in.Range(-2, 200);
                break;
            case 11:
                edit.passwordChar = in.Bool() ? L'*' : 0;
                break;
            case 12:
                listener.refusedKey = kKeyCodes[in.Byte() % std::size(kKeyCodes)];
                listener.refusedChar = kCharacters[in.Byte() % std::size(kCharacters)];
                listener.refusedInText = in.Bool() ? kCharacters[in.Byte() % std::size(kCharacters)] : 0;
                break;
            default:
                edit.Resize(10, 10, in.Range(0, 130), 20);
                for (int i = in.Range(0, 90); i > 0; --i)
                    edit.Update();
                break;
            }
            Check(edit);
            edit.Draw(&g);
        }
        manager.RemoveWidget(&edit);
    }
    Platform::ResetTextService();
    return 0;
}
