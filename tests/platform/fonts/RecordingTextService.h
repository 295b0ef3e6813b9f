// The box text service with every font request it resolves recorded, so a
// test can see the face, pixel size and style a system font asked for.
#pragma once

#include "platform/fonts/BoxTextService.h"

#include <vector>

namespace TestSupport {

class RecordingTextService : public Platform::BoxTextService {
public:
    // Owned by the test; the service outlives no test.
    explicit RecordingTextService(std::vector<Platform::FontRequest>* requests) : mRequests(requests) {}

protected:
    size_t ResolveFont(const Platform::FontRequest& request) override
    {
        mRequests->push_back(request);
        return BoxTextService::ResolveFont(request);
    }

private:
    std::vector<Platform::FontRequest>* mRequests;
};

} // namespace TestSupport
