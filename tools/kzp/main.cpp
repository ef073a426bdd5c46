// kzp: works on template packs from the command line, through the same pack store as the studio.
#include "KzpCheck.h"
#include "KzpCommands.h"
#include "KzpPrint.h"
#include "KzpTokens.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return Usage("");
    const std::string command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    using TRunner = int (*)(const std::vector<std::string> &);
    const std::pair<const char *, TRunner> commands[] = {
        {"info", RunInfo},       {"list", RunList},     {"cat", RunCat},       {"save", RunSave},
        {"add", RunAdd},         {"delete", RunDelete}, {"meta", RunMeta},     {"import", RunImport},
        {"new", RunNew},         {"extract", RunExtract}, {"build", RunBuild}, {"tokens", RunTokens},
        {"print", RunPrint},
        {"check", RunCheck},     {"preview", RunPreview},
    };
    for (const auto &[name, run] : commands) {
        if (command == name)
            return run(rest);
    }
    std::fprintf(stderr, "kzp: unbekannter Befehl \"%s\"\n", command.c_str());
    return Usage("");
}
