// bakefont: see BakeFont.h.
#include "tools/bakefont/BakeFont.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return Tandry::RunBakeFont(args, std::cout, std::cerr);
}
