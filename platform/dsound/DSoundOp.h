// The operations of the DirectSound stand-in that the call log records; the
// first nine can also be made to fail by tests.
#pragma once

namespace Platform {

enum class DSoundOp {
    DirectSoundCreate,
    SetCooperativeLevel,
    CreateSoundBuffer,
    SetFormat,
    Lock,
    Unlock,
    DuplicateSoundBuffer,
    Play,
    GetStatus,
    Stop,
    SetCurrentPosition,
    SetVolume,
    SetPan,
    SetFrequency,
};

// The operation's name, for test messages.
const char* DSoundOpName(DSoundOp op);

} // namespace Platform
