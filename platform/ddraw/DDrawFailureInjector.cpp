#include "platform/ddraw/DDrawFailureInjector.h"

namespace Platform {

void DDrawFailureInjector::Add(const DDrawFault& fault)
{
    if (fault.count > 0)
        mFaults.push_back(fault);
}

HRESULT DDrawFailureInjector::Take(DDrawOp op, uint32_t caps, const IID* iid)
{
    for (auto it = mFaults.begin(); it != mFaults.end(); ++it) {
        if (it->op != op || (caps & it->capsMask) != it->capsMask)
            continue;
        if (it->iid && (iid == nullptr || *iid != *it->iid))
            continue;
        if (it->skip > 0) {
            --it->skip;
            return DD_OK;
        }
        const HRESULT code = it->code;
        if (--it->count == 0)
            mFaults.erase(it);
        return code;
    }
    return DD_OK;
}

} // namespace Platform
