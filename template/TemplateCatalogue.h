// The names the template language knows: the variables with their sample values, the loops
// and the texts of the language list, as the catalogue file beside the program lists them.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// A catalogue file that cannot be read or holds a line of no known kind; what() is German.
class ECatalogueError : public std::runtime_error {
public:
  explicit ECatalogueError(const std::string &message) : std::runtime_error(message) {}
};

class TTemplateCatalogue {
public:
  // The catalogue file's text: one entry a line, its fields separated by TAB:
  //   var  NAME  SAMPLE [SAMPLE ...]   a variable; a loop's passes take its samples in turn
  //   loop NAME                        a loop %%LOOP:NAME%%
  //   lang LANGnnn TEXT                a text of the language list
  // Empty lines and lines starting with "#" are skipped. Text is the program's 8-bit text.
  static TTemplateCatalogue Parse(std::string_view bytes);
  static TTemplateCatalogue Load(const std::string &path);

  void AddVariable(std::string name, std::vector<std::string> samples = {});
  void AddLoop(std::string name);
  void AddLang(std::string name, std::string text);

  bool HasVariable(std::string_view name) const {
    return variables_.find(name) != variables_.end();
  }
  // The sample values of a known variable (empty when it has none), null for an unknown one.
  const std::vector<std::string> *Samples(std::string_view name) const;
  bool HasLoop(std::string_view name) const { return loops_.find(name) != loops_.end(); }
  // The German text of "LANGnnn", null when the list has no such number.
  const std::string *LangText(std::string_view name) const;

  // True when nothing was loaded, so no name can be told known or unknown.
  bool Empty() const { return variables_.empty() && loops_.empty() && lang_.empty(); }
  std::size_t VariableCount() const { return variables_.size(); }
  std::size_t LangCount() const { return lang_.size(); }

private:
  struct THash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  template <class V> using TMap = std::unordered_map<std::string, V, THash, std::equal_to<>>;

  TMap<std::vector<std::string>> variables_;
  std::unordered_set<std::string, THash, std::equal_to<>> loops_;
  TMap<std::string> lang_;
};
