// Fuzz target help_index: the help file's index and contents reader over any text; every
// entry it gives has a name.
#include "FuzzTargets.h"

#include "workbench/ChmFile.h"

KZ_FUZZ_TARGET(help_index)(const std::uint8_t *data, std::size_t size) {
  for (const TSitemapEntry &entry : ParseSitemap(FuzzBytes(data, size)))
    FuzzCheck(!entry.Name.empty(), "an entry has a name");
}
