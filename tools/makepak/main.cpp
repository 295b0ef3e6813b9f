// makepak <output file> <folder>...: see MakePak.h.
#include "tools/makepak/MakePak.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return Tandry::RunMakePak(args, std::cout, std::cerr);
}
