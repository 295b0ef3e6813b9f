// The resource manifest reader on arbitrary bytes, read from a pack member
// with a stand-in host whose display mode the first byte picks; then the
// manager is destroyed, so a record that is neither filed nor deleted shows
// as a leak. A failed read must leave an error text; a clean one none.
#include "tests/fuzz/ImageFuzzPack.h"
#include "tests/resources/manager/FakeResourceHost.h"

#include "resources/manager/ResourceManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (AddOneMemberPack("DATA\\PROPERTIES\\RESOURCES.XML", data, size)) {
        TestSupport::FakeResourceHost host;
        TestSupport::RecordingSounds sounds;
        host.sounds = &sounds;
        host.display3D = size > 0 && (data[0] & 1) != 0;
        {
            Tandry::ResourceManager manager(&host);
            const bool parsed = manager.ParseResourcesFile("data\\properties\\resources.xml");
            if (parsed != manager.GetErrorText().empty())
                std::abort();
        }
        if (!host.images.empty() || !sounds.freed.empty())
            std::abort();
    }
    Tandry::GetSharedPakInterface()->Reset();
    return 0;
}
