// gamesound: see GameSound.h.
#include "tools/gamedata/GameSound.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return Tandry::RunGameSound(args, std::cout, std::cerr);
}
