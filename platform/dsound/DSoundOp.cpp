#include "platform/dsound/DSoundOp.h"

namespace Platform {

const char* DSoundOpName(DSoundOp op)
{
    switch (op) {
    case DSoundOp::DirectSoundCreate: return "DirectSoundCreate";
    case DSoundOp::SetCooperativeLevel: return "SetCooperativeLevel";
    case DSoundOp::CreateSoundBuffer: return "CreateSoundBuffer";
    case DSoundOp::SetFormat: return "SetFormat";
    case DSoundOp::Lock: return "Lock";
    case DSoundOp::Unlock: return "Unlock";
    case DSoundOp::DuplicateSoundBuffer: return "DuplicateSoundBuffer";
    case DSoundOp::Play: return "Play";
    case DSoundOp::GetStatus: return "GetStatus";
    case DSoundOp::Stop: return "Stop";
    case DSoundOp::SetCurrentPosition: return "SetCurrentPosition";
    case DSoundOp::SetVolume: return "SetVolume";
    case DSoundOp::SetPan: return "SetPan";
    case DSoundOp::SetFrequency: return "SetFrequency";
    }
    return "?";
}

} // namespace Platform
