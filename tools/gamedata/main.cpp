// gamedata: see GameData.h.
#include "tools/gamedata/GameData.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return Tandry::RunGameData(args, std::cout, std::cerr);
}
