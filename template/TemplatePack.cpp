// Indexing a pack's records by name for the check and the preview.
#include "template/TemplatePack.h"

#include "pack/KzpCodec.h"
#include "pack/PackStore.h"
#include "pack/SplitFns.h"

TTemplatePack::TTemplatePack(const std::vector<std::string> &records) : records_(records) {
  if (!records.empty())
    folder_ = ParseMetaRecord(records[0]).Ordner;
  for (std::size_t i = 1; i < records.size(); ++i) {
    const std::string &record = records[i];
    if (record.empty())
      continue;
    std::string key = RecordKey(record);
    if (IsFileRecord(record)) {
      files_.emplace(key.substr(4), i);
    } else if (templates_.emplace(key, i).second) {
      names_.push_back(std::move(key));
    }
  }
}

void TTemplatePack::OverrideTemplate(const std::string &name,
                                     std::shared_ptr<const std::string> text) {
  if (templates_.find(name) == templates_.end() || !text)
    return; // the editor may show a template the pack no longer has; it is not added
  overrides_[name] = std::move(text);
}

const std::string *TTemplatePack::TemplateText(std::string_view name) const {
  if (const auto given = overrides_.find(name); given != overrides_.end())
    return given->second.get();
  if (const auto cached = texts_.find(name); cached != texts_.end())
    return &cached->second;
  const auto it = templates_.find(name);
  if (it == templates_.end())
    return nullptr;
  return &texts_.emplace(it->first, TemplateTextOfRecord(records_[it->second])).first->second;
}

bool TTemplatePack::FileBytes(std::string_view name, std::string &bytes) const {
  const auto it = files_.find(name);
  if (it == files_.end())
    return false;
  // The data is the record's third field on TAB, as for a template's text.
  const std::string &record = records_[it->second];
  std::size_t position = 1;
  NextToken(record, '\t', position);
  NextToken(record, '\t', position);
  bytes = DecodeBase64(NextToken(record, '\t', position));
  return true;
}
