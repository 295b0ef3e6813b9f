// Failure injection for the DirectDraw stand-in: the next calls of an operation
// fail with a chosen code and change nothing. Tests use it to drive the display
// code's error paths (a refused mode, a lost surface during a blit or a flip).
#pragma once

#include "platform/ddraw/DDrawOp.h"
#include "platform/ddraw/DDrawTypes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Platform {

struct DDrawFault {
    DDrawFault(DDrawOp failingOp, HRESULT failCode, uint32_t failCount = 1, uint32_t failCapsMask = 0)
        : op(failingOp), code(failCode), count(failCount), capsMask(failCapsMask)
    {
    }
    // QueryInterface of one interface fails.
    static DDrawFault OfInterface(REFIID iid, HRESULT code, uint32_t count = 1)
    {
        DDrawFault fault(DDrawOp::QueryInterface, code, count);
        fault.iid = iid;
        return fault;
    }

    DDrawOp op = DDrawOp::Blt;
    HRESULT code = DD_OK;
    uint32_t count = 1; // calls that fail before the fault is used up
    // When non-zero, only calls on (or creating) surfaces whose caps hold all these bits fail.
    uint32_t capsMask = 0;
    // For QueryInterface: only requests of this interface fail.
    std::optional<IID> iid;
    // Matching calls that still succeed before the fault starts failing, so
    // that the second of two alike calls can be made to fail.
    uint32_t skip = 0;
};

class DDrawFailureInjector {
public:
    void Add(const DDrawFault& fault);
    // The code of the first fault that matches the call, using up one of its
    // calls; DD_OK when none matches. Calls that concern no surface pass caps 0.
    HRESULT Take(DDrawOp op, uint32_t caps, const IID* iid);
    void Clear() { mFaults.clear(); }

private:
    std::vector<DDrawFault> mFaults;
};

} // namespace Platform
