// The helpers of the template tests.
#include "TemplateTestUtil.h"

#include "pack/KzpCodec.h"
#include "pack/PackStore.h"

std::vector<std::string>
PackRecords(const std::vector<std::pair<std::string, std::string>> &templates,
            const std::vector<std::pair<std::string, std::string>> &files,
            const std::string &folder) {
  std::vector<std::string> records{BuildMetaRecord({"Titel", "Autor", "mail", "web", folder})};
  for (const auto &[name, text] : templates)
    records.push_back(BuildTemplateRecord(name, text));
  for (const auto &[name, bytes] : files)
    records.push_back("img:" + name + "\t.\t" + EncodeBase64(bytes));
  return records;
}

TTemplateCatalogue SmallCatalogue() {
  TTemplateCatalogue c;
  c.AddVariable("app_name", {"Tarvex Mail"});
  c.AddVariable("user_name", {"jkrause"});
  c.AddVariable("msg_subject", {"A", "B", "C"});
  c.AddVariable("flag");
  c.AddVariable("tpl_url");
  c.AddLoop("messages");
  c.AddLang("LANG001", "Posteingang");
  c.AddLang("LANG002", "Verfassen");
  return c;
}

std::vector<std::string> Where(const std::vector<TTplFinding> &findings) {
  std::vector<std::string> out;
  for (const TTplFinding &f : findings)
    out.push_back(std::to_string(f.Line) + ":" + std::to_string(f.Column) + ": " + f.Text);
  return out;
}
