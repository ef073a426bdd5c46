// The preview page as one file a browser opens on its own: every pack file and style sheet
// it names through %%tpl_url%% put into it as a data: address, those a style sheet names too.
#pragma once

#include "template/PreviewResolver.h"

#include <string>
#include <string_view>
#include <vector>

struct TInlinedPage {
  std::string Html;                 // the program's 8-bit text
  std::vector<std::string> Missing; // the names the pack lacks, each once, in page order
};

TInlinedPage InlinePreviewPage(const TTemplateCatalogue &catalogue, const TTemplatePack &pack,
                               std::string_view name, TPreviewOptions options = {});
