// Token dump of a file through the HTML or CSS highlighter.
#include "KzpTokens.h"

#include <cstdio>
#include <memory>

#include "KzpCommands.h"
#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"
#include "highlight/KzHighlighterTokenDump.h"
#include "pack/PackFile.h"
#include "pack/PackStore.h"

int RunTokens(const std::vector<std::string> &args) {
  if (args.size() != 2)
    return Usage("tokens");
  std::unique_ptr<TKzCustomHighlighter> highlighter;
  if (args[0] == "html")
    highlighter = std::make_unique<TKzHTMLHighlighter>();
  else if (args[0] == "css")
    highlighter = std::make_unique<TKzCssHighlighter>();
  else
    return Usage("tokens");

  std::string bytes;
  try {
    bytes = ReadWholeFile(args[1]);
  } catch (const EPackError &e) {
    std::fprintf(stderr, "kzp: %s\n", e.what());
    return 1;
  }
  const std::string dump = KzDumpTokens(*highlighter, KzSplitLines(bytes));
  if (std::fwrite(dump.data(), 1, dump.size(), stdout) != dump.size() || std::fflush(stdout) != 0) {
    std::fputs("kzp: Die Ausgabe konnte nicht geschrieben werden\n", stderr);
    return 1;
  }
  return 0;
}
