// A demo file as bytes: the header with the random seed and the product
// version it was made with, the markers, the total update count and the event
// stream. The demo seam reads a played file through Read and saves a
// recording through Write; nothing here touches the disk or the application.
#pragma once

#include "app/DemoMarker.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Tandry {

struct DemoFile {
    static constexpr uint32_t kMagic = 0x42BEEF78;
    static constexpr uint32_t kWrittenVersion = 2;
    // Longer version strings are read this far.
    static constexpr uint32_t kMaxVersionLength = 255;
    static constexpr const char* kNotFoundText = "Demo file not found: ";
    static constexpr const char* kInvalidText = "Invalid demo file.";
    static constexpr const char* kOtherVersionText = "This demo file appears to be for '";

    uint32_t version = kWrittenVersion;
    uint32_t seed = 0;
    std::string productVersion;
    std::vector<DemoMarker> markers;
    // The update count when the recording was saved.
    uint32_t totalUpdates = 0;
    std::vector<uint8_t> events;

    // False with the error text shown to the user when the bytes are not a
    // demo of this product version. Nothing is read outside bytes, and
    // nothing is allocated beyond their size.
    static bool Read(std::span<const uint8_t> bytes, const std::string& expectedProductVersion, DemoFile& out,
                     std::string& error);
    std::vector<uint8_t> Write() const;
};

} // namespace Tandry
