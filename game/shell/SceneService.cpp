#include "game/shell/SceneService.h"

namespace Tandry {

namespace {

SceneService*& Registered()
{
    static SceneService* service = nullptr;
    return service;
}

} // namespace

void SetSceneService(SceneService* service)
{
    Registered() = service;
}

SceneService* GetSceneService()
{
    return Registered();
}

} // namespace Tandry
