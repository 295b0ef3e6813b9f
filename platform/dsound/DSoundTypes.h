// The values the DirectSound stand-in takes and gives: the wave format, the
// buffer description, the flags of buffers, cooperative levels, play and lock
// calls, and the status bits. Our own structures, not copies of the
// system's: the description's size field holds sizeof(DSoundBufferDesc).
#pragma once

#include "platform/dx/HResult.h"

#include <cstdint>

namespace Platform {

struct DSoundWaveFormat {
    uint16_t formatTag = 0; // 1: PCM
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0; // ignored for PCM
};

struct DSoundBufferDesc {
    uint32_t size = sizeof(DSoundBufferDesc);
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;
    uint32_t reserved = 0;
    const DSoundWaveFormat* format = nullptr;
};

inline constexpr uint16_t WAVE_FORMAT_PCM = 1;

inline constexpr uint32_t DSSCL_NORMAL = 1;
inline constexpr uint32_t DSSCL_PRIORITY = 2;

inline constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x1;
inline constexpr uint32_t DSBCAPS_STATIC = 0x2;
inline constexpr uint32_t DSBCAPS_LOCSOFTWARE = 0x8;
inline constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
inline constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
inline constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
inline constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;

inline constexpr uint32_t DSBPLAY_LOOPING = 0x1;

inline constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x1;
inline constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x2;

inline constexpr uint32_t DSBSTATUS_PLAYING = 0x1;
inline constexpr uint32_t DSBSTATUS_LOOPING = 0x4;

inline constexpr int32_t DSBVOLUME_MIN = -10000;
inline constexpr int32_t DSBVOLUME_MAX = 0;
inline constexpr int32_t DSBPAN_LEFT = -10000;
inline constexpr int32_t DSBPAN_RIGHT = 10000;
inline constexpr uint32_t DSBFREQUENCY_MIN = 100;
inline constexpr uint32_t DSBFREQUENCY_MAX = 100000;

} // namespace Platform
