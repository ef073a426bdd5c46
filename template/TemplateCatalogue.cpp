// Reading the catalogue file and looking names up in it.
#include "template/TemplateCatalogue.h"

#include "pack/PackStore.h"

#include <cerrno>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(
        line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos)
      return fields;
    start = tab + 1;
  }
}

} // namespace

TTemplateCatalogue TTemplateCatalogue::Parse(std::string_view bytes) {
  TTemplateCatalogue catalogue;
  std::size_t start = 0;
  int number = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos)
      end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (line.empty() || line.front() == '#')
      continue;
    const std::vector<std::string_view> f = Fields(line);
    if (f[0] == "var" && f.size() >= 2 && !f[1].empty())
      catalogue.AddVariable(std::string(f[1]), std::vector<std::string>(f.begin() + 2, f.end()));
    else if (f[0] == "loop" && f.size() == 2 && !f[1].empty())
      catalogue.AddLoop(std::string(f[1]));
    else if (f[0] == "lang" && f.size() == 3 && !f[1].empty())
      catalogue.AddLang(std::string(f[1]), std::string(f[2]));
    else
      throw ECatalogueError("Der Variablenkatalog ist beschädigt (Zeile " + std::to_string(number) +
                            ").");
  }
  return catalogue;
}

TTemplateCatalogue TTemplateCatalogue::Load(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw ECatalogueError("Der Variablenkatalog kann nicht gelesen werden: " +
                          IOErrorMessage(errno ? errno : ENOENT, path));
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str());
}

void TTemplateCatalogue::AddVariable(std::string name, std::vector<std::string> samples) {
  variables_[std::move(name)] = std::move(samples);
}

void TTemplateCatalogue::AddLoop(std::string name) { loops_.insert(std::move(name)); }

void TTemplateCatalogue::AddLang(std::string name, std::string text) {
  lang_[std::move(name)] = std::move(text);
}

const std::vector<std::string> *TTemplateCatalogue::Samples(std::string_view name) const {
  const auto it = variables_.find(name);
  return it == variables_.end() ? nullptr : &it->second;
}

const std::string *TTemplateCatalogue::LangText(std::string_view name) const {
  const auto it = lang_.find(name);
  return it == lang_.end() ? nullptr : &it->second;
}
