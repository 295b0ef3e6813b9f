// Puts a newly made concrete service into its bundle slot and hands back the
// concrete pointer, so whoever assembles a set of services (the headless
// platform, or a test that swaps some of them for recording fakes) keeps
// typed access to what it made while the bundle owns it.
#pragma once

#include <memory>
#include <utility>

namespace Platform {

template <typename Service, typename Concrete, typename... Args>
Concrete* FillService(std::unique_ptr<Service>& slot, Args&&... args)
{
    auto made = std::make_unique<Concrete>(std::forward<Args>(args)...);
    Concrete* raw = made.get();
    slot = std::move(made);
    return raw;
}

} // namespace Platform
