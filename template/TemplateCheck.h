// The check of a pack's templates: the mistakes the web application would only show when a
// page is built, each with its template, line and column.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TTemplateCatalogue;
class TTemplatePack;

struct TTplFinding {
  std::string Template; // as the pack spells it (the program's 8-bit text)
  std::uint32_t Line = 0, Column = 0;
  std::string Text; // German, UTF-8

  bool operator==(const TTplFinding &) const = default;
};

// What is found:
// - a variable, language text or loop the catalogue does not know, an unknown directive;
// - IF, ELSE, ENDIF and LOOP, ENDLOOP that do not pair within the template;
// - an INCLUDE of a template the pack lacks, or one that leads back to the template itself;
// - a %%tpl_url%% path, or in a style sheet a url(), naming neither a file nor a template;
// - a "%%" that nothing closes on its line;
// - in a style sheet, any construct at all: style sheets are served as they are.
// With an empty catalogue (none was found) names are not checked.
class TTemplateCheck {
public:
  TTemplateCheck(const TTemplateCatalogue &catalogue, const TTemplatePack &pack)
      : catalogue_(catalogue), pack_(pack) {}

  // The findings in template `name`, by line and column; none for a name the pack lacks.
  std::vector<TTplFinding> CheckTemplate(std::string_view name) const;
  // Every template's findings, templates in record order.
  std::vector<TTplFinding> CheckPack() const;

  // The findings in `text` read as template `name` of the pack.
  std::vector<TTplFinding> CheckText(std::string_view name, std::string_view text) const;

private:
  bool LeadsBackTo(std::string_view from, std::string_view target) const;
  // The templates a template includes, read once for all the checks of this object.
  const std::vector<std::string> &IncludesOf(std::string_view name) const;

  const TTemplateCatalogue &catalogue_;
  const TTemplatePack &pack_;
  mutable std::unordered_map<std::string, std::vector<std::string>> includes_;
};
