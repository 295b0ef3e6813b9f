// One logo page of the title screen: a picture or a movie. The screen fades
// it in, updates it until it reports finished, and fades it out; a page that
// could not be built is not loaded and the screen drops it.
#pragma once

namespace Tandry {

class Graphics;

class TitlePage {
public:
    explicit TitlePage(bool isSkippable) : skippable(isSkippable) {}
    virtual ~TitlePage() = default;
    TitlePage(const TitlePage&) = delete;
    TitlePage& operator=(const TitlePage&) = delete;

    virtual void Draw(Graphics* g) = 0;
    // One update of the showing phase.
    virtual void Update() = 0;

    bool finished = false;
    bool skippable;
    bool loaded = false;
};

} // namespace Tandry
