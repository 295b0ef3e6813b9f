// A still logo picture, stretched over the screen for its time. The time
// counts down by a fixed step per update, so it follows the framework's
// fixed update rate rather than the board's measured frame time.
#pragma once

#include "game/shell/TitlePage.h"

#include <memory>
#include <string>

namespace Tandry {

class DDImage;

class ImgTitlePage : public TitlePage {
public:
    static constexpr float kUpdateSeconds = 0.01f;

    ImgTitlePage(bool isSkippable, const std::string& name, float seconds);
    ~ImgTitlePage() override;

    void Draw(Graphics* g) override;
    void Update() override;

    // Null when the picture could not be read.
    std::unique_ptr<DDImage> image;
    // Seconds left to show.
    float time;
};

} // namespace Tandry
