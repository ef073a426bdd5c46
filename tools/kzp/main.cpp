// kzp: works on template packs from the command line, through the same pack store as the studio.
#include "KzpCheck.h"
#include "KzpCommands.h"
#include "KzpPrint.h"
#include "KzpTokens.h"

#include "platform/FileErrors.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

using TRunner = int (*)(const std::vector<std::string> &);

struct TCommand {
  const char *Name;
  TRunner Run;
};

// Every command by name; a new command is one more line here and its usage line.
constexpr TCommand kCommands[] = {
    {"info", RunInfo},   {"list", RunList},       {"cat", RunCat},         {"save", RunSave},
    {"add", RunAdd},     {"delete", RunDelete},   {"meta", RunMeta},       {"import", RunImport},
    {"new", RunNew},     {"extract", RunExtract}, {"build", RunBuild},     {"tokens", RunTokens},
    {"print", RunPrint}, {"check", RunCheck},     {"preview", RunPreview},
};

int Dispatch(const std::vector<std::string> &args) {
  if (args.empty())
    return Usage("");
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  for (const TCommand &c : kCommands) {
    if (args[0] == c.Name)
      return c.Run(rest);
  }
  std::fprintf(stderr, "kzp: unbekannter Befehl \"%s\"\n", args[0].c_str());
  return Usage("");
}

} // namespace

int main(int argc, char **argv) {
  int code = 1;
  // Whatever ends a command early (memory running out included) ends it with a German
  // message and code 1; the pack is unchanged, since every change is all or nothing.
  try {
    code = Dispatch(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception &e) {
    std::fprintf(stderr, "kzp: %s\n", kzp::ExceptionText(e).c_str());
    return 1;
  } catch (...) {
    std::fprintf(stderr, "kzp: %s\n", kzp::kUnknownErrorText);
    return 1;
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fputs("kzp: Die Ausgabe konnte nicht geschrieben werden.\n", stderr);
    return 1;
  }
  return code;
}
