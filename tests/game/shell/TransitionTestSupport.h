// What the transition tests share: the fixture, boards that fill themselves with one
// colour and log what is drawn, a listener that counts the ends, and a frame
// drawn from a transition into a screen-sized image.
#pragma once

#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformer.h"
#include "game/shell/BoardTransformerListener.h"
#include "game/shell/MakeBoardTransformer.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "resources/ini/GameIni.h"
#include "widgets/WidgetFlag.h"
#include "widgets/WidgetFlagState.h"

#include "ShellAppFixture.h"
#include "TransitionBoards.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ShellTest {

// The shell fixture with empty game settings and the default kind unread.
class TransitionFixture : public ShellAppFixture {
protected:
    void SetUp() override
    {
        ShellAppFixture::SetUp();
        Tandry::ResetGameIni();
        Tandry::ResetBoardTransformerDefault();
    }
    void TearDown() override
    {
        Tandry::ResetBoardTransformerDefault();
        Tandry::ResetGameIni();
        ShellAppFixture::TearDown();
    }
};

// The transition drawn as the widget manager would, over a dark grey screen.
inline std::vector<uint32_t> DrawFrame(Tandry::BoardTransformer& transformer, int width = 1024, int height = 768)
{
    Tandry::MemoryImage image;
    image.Create(width, height);
    Tandry::Graphics g(&image);
    g.SetColor(Tandry::Color(9, 9, 9));
    g.FillRect(0, 0, width, height);
    Tandry::WidgetFlagState state;
    state.flags = Tandry::WIDGETFLAGS_DRAW;
    state.belowModalFlags = Tandry::WIDGETFLAGS_DRAW;
    Tandry::Graphics at(g);
    at.Translate(transformer.x, transformer.y);
    transformer.DrawAll(&state, &at);
    const uint32_t* bits = image.GetBits();
    return std::vector<uint32_t>(bits, bits + static_cast<size_t>(width) * height);
}

} // namespace ShellTest
