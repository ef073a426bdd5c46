// A pack's templates and files as the check and the preview read them: by name, the first
// record of a name winning as in the store, with the editor's unsaved text in place of the
// stored text of the template being edited.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TTemplatePack {
public:
  // `records` are a pack's records (record 0 the metadata), as the store holds them; they
  // must stay unchanged while this object lives.
  explicit TTemplatePack(const std::vector<std::string> &records);

  // Reads `text` as the template `name` instead of its stored text. Shared, so that the
  // editor's text of a large template is not copied for each look at the pack.
  void OverrideTemplate(const std::string &name, std::shared_ptr<const std::string> text);

  // The template names in record order, each once.
  const std::vector<std::string> &TemplateNames() const { return names_; }
  // The text of a template, null when the pack has no template of that name.
  const std::string *TemplateText(std::string_view name) const;
  bool HasTemplate(std::string_view name) const {
    return templates_.find(name) != templates_.end();
  }

  bool HasFile(std::string_view name) const { return files_.find(name) != files_.end(); }
  // The decoded bytes of a file record (for showing only); false when there is none.
  bool FileBytes(std::string_view name, std::string &bytes) const;

  // The pack's folder name in the application (its metadata).
  const std::string &Folder() const { return folder_; }

private:
  struct THash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  template <class V> using TMap = std::unordered_map<std::string, V, THash, std::equal_to<>>;

  const std::vector<std::string> &records_;
  std::vector<std::string> names_;
  TMap<std::size_t> templates_, files_; // name -> index of its first record
  TMap<std::shared_ptr<const std::string>> overrides_;
  mutable TMap<std::string> texts_; // unescaped on first use
  std::string folder_;
};
