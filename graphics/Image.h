// The base of every image the program draws or draws into.
#pragma once

namespace Tandry {

// TODO: the fields, the cel grid and the drawing slot table come with the image classes.
class Image {
public:
    virtual ~Image() = default;
};

} // namespace Tandry
