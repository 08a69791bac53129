#include "botcfg/commands.h"
#include "platform/files.h"

#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    // Files written to standard output keep their CR LF line ends as they are.
    voltara::UseBinaryStandardOutput();
    try {
        const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        return botcfg::Run(args, std::cin, std::cout, std::cerr);
    } catch (const std::bad_alloc &) {
        std::fputs("botcfg: out of memory\n", stderr);
        return 1;
    }
}
