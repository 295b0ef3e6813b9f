// Boards that fill themselves with one colour and count their draws, and a
// listener that counts a transition's ends: what the transition tests and the
// screen-effect fuzz target put on either side of a transition.
#pragma once

#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformerListener.h"
#include "graphics/context/Graphics.h"
#include "graphics/types/Color.h"

#include <string>
#include <utility>

namespace ShellTest {

class ColorBoard : public Tandry::BaseBoard {
public:
    ColorBoard(std::string boardName, Tandry::Color fill, int boardWidth = 1024, int boardHeight = 768)
        : BaseBoard(false), name(std::move(boardName)), color(fill)
    {
        Resize(0, 0, boardWidth, boardHeight);
    }
    std::string GetName() override { return name; }
    void Draw(Tandry::Graphics* g) override
    {
        ++draws;
        g->SetColor(color);
        g->FillRect(0, 0, width, height);
    }

    std::string name;
    Tandry::Color color;
    int draws = 0;
};

class CountingListener : public Tandry::BoardTransformerListener {
public:
    void OnTransformEnd() override { ++ends; }
    int ends = 0;
};

} // namespace ShellTest
