// Builds the page a template makes, as the web application would build it, with sample
// values: includes resolved from the pack, each variable its sample, each language text its
// German wording, an IF's first branch (or the other), a LOOP's body three times.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class TTemplateCatalogue;
class TTemplatePack;

struct TPreviewOptions {
  bool OtherBranch = false;         // show each IF's ELSE branch (or nothing) instead of the first
  int LoopPasses = 3;               // how often a LOOP's body is shown
  std::size_t MaxBytes = 32u << 20; // a page is cut off here (loops in loops grow fast)
};

// The address the preview's own URL scheme gives the pack's files and style sheets.
extern const char *const kPreviewBase; // "kzpack://pack/"

class TPreviewResolver {
public:
  TPreviewResolver(const TTemplateCatalogue &catalogue, const TTemplatePack &pack,
                   TPreviewOptions options = {});

  // What %%tpl_url%% and the path after it become. The path is empty for a bare
  // %%tpl_url%% or one followed by another construct; the text after it is kept then.
  // By default kPreviewBase + path.
  std::function<std::string(std::string_view path)> UrlOf;

  // The page of template `name` (the program's 8-bit text); empty when the pack lacks it.
  std::string Resolve(std::string_view name) const;

private:
  const TTemplateCatalogue &catalogue_;
  const TTemplatePack &pack_;
  TPreviewOptions options_;
};

// The visible stand-in for what the preview has no value for: «text».
std::string PreviewMarker(std::string_view text);

// The MIME type the preview serves a pack file or template with, by its name's extension.
std::string MimeTypeOf(std::string_view name);
