// kzp: works on template packs from the command line, through the same pack store as the studio.
#include "KzpTokens.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "tokens")
        return RunTokens(std::vector<std::string>(args.begin() + 1, args.end()));
    std::fputs("Aufruf: kzp BEFEHL ...\n", stderr);
    return 2;
}
