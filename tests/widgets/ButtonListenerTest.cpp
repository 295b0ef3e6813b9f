#include "widgets/ButtonListener.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Listener : public Tandry::ButtonListener {
public:
    using ButtonListener::OnButtonClick;
    using ButtonListener::OnButtonDown;
    void OnButtonDown(int id) override { heard.push_back("down " + std::to_string(id)); }
    void OnButtonClick(int id) override { heard.push_back("click " + std::to_string(id)); }
    std::vector<std::string> heard;
};

TEST(ButtonListener, MouseButtonFormsFallBackOnThePlainOnes)
{
    Listener listener;
    Tandry::ButtonListener& asBase = listener;
    asBase.OnButtonDown(7, 1);
    asBase.OnButtonClick(8, 2);
    asBase.OnButtonHeld(9);
    asBase.OnButtonHoverMove(9, 1, 2);
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"down 7", "click 8"}));
}

} // namespace
