// kzp check and kzp preview, over the template reader, the catalogue beside the tool and the
// pack store.
#include "KzpCheck.h"

#include "KzpCommands.h"
#include "pack/PackFile.h"
#include "pack/PackStore.h"
#include "template/PreviewInline.h"
#include "template/TemplateCatalogue.h"
#include "template/TemplateCheck.h"
#include "template/TemplatePack.h"
#include "template/Utf8Text.h"

#include <cstdio>

namespace {

void Fail(const std::string &message) { std::fprintf(stderr, "kzp: %s\n", message.c_str()); }

struct TOpened {
  TPackStore Store;
  TTemplateCatalogue Catalogue;
};

// Opens the pack and the catalogue beside the tool; false after saying why one failed.
bool Open(const std::string &path, TOpened &opened) {
  try {
    opened.Store.LoadPack(path);
    opened.Catalogue = TTemplateCatalogue::Load(ProgramFolder() + "/varLib03.db");
    return true;
  } catch (const EPackError &e) {
    Fail(e.what());
  } catch (const ECatalogueError &e) {
    Fail(e.what());
  }
  return false;
}

// The pack's spelling of a template name given on the command line: as UTF-8 first (how
// names are typed), else byte for byte. Empty after reporting that the pack lacks it.
std::string TemplateName(const TTemplatePack &pack, const std::string &given) {
  std::string name;
  if (CodePageOfUtf8(given, name) && pack.HasTemplate(name))
    return name;
  if (pack.HasTemplate(given))
    return given;
  Fail("Das Pack enth\u00E4lt kein Template \"" + given + "\".");
  return {};
}

bool WriteOut(std::FILE *out, const std::string &bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

} // namespace

int RunCheck(const std::vector<std::string> &args) {
  if (args.empty() || args.size() > 2)
    return Usage("check");
  TOpened opened;
  if (!Open(args[0], opened))
    return 1;
  const TTemplatePack pack(opened.Store.Records);
  const TTemplateCheck check(opened.Catalogue, pack);
  std::vector<TTplFinding> findings;
  if (args.size() == 2) {
    const std::string name = TemplateName(pack, args[1]);
    if (name.empty())
      return 1;
    findings = check.CheckTemplate(name);
  } else {
    findings = check.CheckPack();
  }
  std::string out;
  for (const TTplFinding &f : findings)
    out += Utf8Of(f.Template) + ":" + std::to_string(f.Line) + ":" + std::to_string(f.Column) +
           ": " + f.Text + "\n";
  if (!WriteOut(stdout, out) || std::fflush(stdout) != 0) {
    Fail("Die Ausgabe konnte nicht geschrieben werden.");
    return 1;
  }
  return findings.empty() ? 0 : 1;
}

int RunPreview(const std::vector<std::string> &args) {
  if (args.size() != 3)
    return Usage("preview");
  TOpened opened;
  if (!Open(args[0], opened))
    return 1;
  const TTemplatePack pack(opened.Store.Records);
  const std::string name = TemplateName(pack, args[1]);
  if (name.empty())
    return 1;
  const TInlinedPage page = InlinePreviewPage(opened.Catalogue, pack, name);
  for (const std::string &missing : page.Missing)
    Fail("Das Pack enth\u00E4lt keine Datei \"" + Utf8Of(missing) +
         "\"; die Seite verweist weiter darauf.");
  try {
    // Written whole or not at all, like a pack: an old page is never left half replaced.
    TSafeFileWriter writer(args[2]);
    writer.Write(page.Html);
    writer.Commit();
  } catch (const EPackError &e) {
    Fail(e.what());
    return 1;
  }
  return 0;
}
