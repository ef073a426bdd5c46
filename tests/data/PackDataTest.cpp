// The standard pack and the demo pack are built from their folders into packs that the store
// opens, with every template and file byte for byte as written in the sources.
#include "DataFiles.h"

#include "pack/KzpCodec.h"
#include "pack/PackStore.h"
#include "pack/SplitFns.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

using namespace kzdata;

namespace {

const std::vector<std::string> kStandardTemplates = {
    "header.htm",  "footer.htm",  "login.htm",       "inbox.htm",    "message.htm",
    "compose.htm", "folders.htm", "addressbook.htm", "settings.htm", "logout.htm",
    "error.htm",   "main.css",    "print.css"};
const std::vector<std::string> kStandardFiles = {
    "img/logo.png",   "img/bg.png",     "img/favicon.gif",  "img/inbox.gif",   "img/compose.gif",
    "img/attach.gif", "img/folder.gif", "img/contacts.gif", "img/settings.gif"};
const std::vector<std::string> kDemoTemplates = {
    "header.htm", "footer.htm", "login.htm", "inbox.htm", "message.htm", "compose.htm", "main.css"};
const std::vector<std::string> kDemoFiles = {
    "img/logo.png",   "img/bg.png",     "img/favicon.gif",  "img/inbox.gif",   "img/compose.gif",
    "img/attach.gif", "img/folder.gif", "img/contacts.gif", "img/settings.gif"};

// The decoded bytes of the first file record named `name`, or "<missing>".
std::string FileRecordData(const TPackStore &store, const std::string &name) {
  for (std::size_t i = 1; i < store.Records.size(); ++i) {
    std::vector<std::string> fields;
    SplitString(store.Records[i], '\t', fields);
    if (!fields.empty() && fields[0] == "img:" + name)
      return fields.size() >= 3 ? DecodeBase64(fields[2]) : std::string();
  }
  return "<missing>";
}

// The demo folder holds only what differs from the standard pack; the build takes the rest
// from there. The source of a part is the folder's own copy when it has one.
const std::string kDemoBase = "data/stdtpl";

std::string PartSource(const std::string &folder, const std::string &base,
                       const std::string &part) {
  const std::string own = folder + "/" + part;
  if (base.empty() || std::filesystem::exists(SourcePath(own)))
    return own;
  return base + "/" + part;
}

void ExpectPackMatchesSources(const std::string &pack, const std::string &folder,
                              const std::vector<std::string> &templates,
                              const std::vector<std::string> &files,
                              const std::string &base = std::string()) {
  TPackStore store;
  const TPackContents contents = store.LoadPack(BinPath(pack));
  EXPECT_EQ(contents.Templates, templates);
  EXPECT_EQ(contents.Files, files);
  for (const std::string &name : templates) {
    EXPECT_EQ(store.GetTemplate(name),
              ReadBytes(SourcePath(PartSource(folder, base, "templates/" + name))))
        << name;
  }
  for (const std::string &name : files) {
    EXPECT_EQ(FileRecordData(store, name),
              ReadBytes(SourcePath(PartSource(folder, base, "files/" + name))))
        << name;
  }
}

// Templates name pack files as %%tpl_url%%img/x or, in style sheets, url(img/x); every such
// file must be in the pack, or the page shows a broken picture.
void ExpectReferencedFilesPresent(const std::string &pack) {
  TPackStore store;
  const TPackContents contents = store.LoadPack(BinPath(pack));
  const std::set<std::string> files(contents.Files.begin(), contents.Files.end());
  int references = 0;
  for (const std::string &name : contents.Templates) {
    const std::string text = store.GetTemplate(name);
    for (const std::string &lead : {std::string("%%tpl_url%%img/"), std::string("url(img/")}) {
      for (std::size_t at = text.find(lead); at != std::string::npos;
           at = text.find(lead, at + 1)) {
        const std::size_t start = at + lead.size() - 4;
        const std::size_t end = text.find_first_of("\")' ", start);
        const std::string file = text.substr(start, end - start);
        EXPECT_TRUE(files.count(file)) << name << " refers to " << file;
        ++references;
      }
    }
  }
  EXPECT_GE(references, 5);
}

} // namespace

TEST(StandardPack, OpensWithEveryTemplateAndFileInManifestOrder) {
  ExpectPackMatchesSources("stdtpl.db", "data/stdtpl", kStandardTemplates, kStandardFiles);
}

TEST(DemoPack, OpensWithEveryTemplateAndFileInManifestOrder) {
  ExpectPackMatchesSources("demo.kzp", "data/demo", kDemoTemplates, kDemoFiles, kDemoBase);
}

TEST(StandardPack, MetadataHasNoEmptyStringAndNamesTheStandardFolder) {
  // A new pack starts as a copy of this one, so its metadata must read back unshifted.
  TPackStore store;
  const kzpMetaData meta = store.LoadPack(BinPath("stdtpl.db")).Meta;
  EXPECT_EQ(meta.Titel, "Tarvex Standard");
  EXPECT_EQ(meta.Author, "Tarvex Studio");
  EXPECT_EQ(meta.AuthorMail, "vorlagen@tarvex.example");
  EXPECT_EQ(meta.AuthorWeb, "http://www.tarvex.example/");
  EXPECT_EQ(meta.Ordner, "standard");
  TPackStore demo;
  EXPECT_EQ(demo.LoadPack(BinPath("demo.kzp")).Meta.Ordner, "nordlicht");
}

TEST(StandardPack, TemplatesSurviveAnUneditedSave) {
  // The editor gives back its text as lines joined by CR LF with no break after the last
  // line. A template written that way is saved unchanged when opened and saved untouched;
  // one with bare LF or a final break would silently change on its first save.
  for (const std::string &folder : {std::string("data/stdtpl"), std::string("data/demo")}) {
    for (const std::string &name : ListDir(SourcePath(folder + "/templates"))) {
      const std::string text = ReadBytes(SourcePath(folder + "/templates/" + name));
      SCOPED_TRACE(folder + "/" + name);
      ASSERT_FALSE(text.empty());
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
          ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
        }
        if (text[i] == '\r') {
          ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
        }
      }
      EXPECT_NE(text.back(), '\n');
      // These markers stand for line breaks and tabs inside a record; written literally
      // they would come back as control characters.
      EXPECT_EQ(text.find("<_R_>"), std::string::npos);
      EXPECT_EQ(text.find("<_N_>"), std::string::npos);
      EXPECT_EQ(text.find("<_T_>"), std::string::npos);
    }
  }
}

TEST(StandardPack, PicturesReferencedByTemplatesAreInThePack) {
  for (const std::string &pack : {std::string("stdtpl.db"), std::string("demo.kzp")}) {
    SCOPED_TRACE(pack);
    ExpectReferencedFilesPresent(pack);
  }
}

TEST(PackFolders, EveryFileOfAFolderIsInItsManifest) {
  // A template or picture dropped into the folder but not named in the manifest would be
  // missing from the built pack without any error.
  const std::pair<std::string, std::string> folders[] = {{"data/stdtpl", ""},
                                                         {"data/demo", kDemoBase}};
  for (const auto &[folder, base] : folders) {
    SCOPED_TRACE(folder);
    std::set<std::string> listed;
    for (const std::string &line : ReadLines(SourcePath(folder + "/manifest.txt"))) {
      if (line.rfind("template\t", 0) == 0)
        listed.insert("templates/" + line.substr(9));
      else if (line.rfind("file\t", 0) == 0)
        listed.insert("files/" + line.substr(5));
    }
    std::set<std::string> present;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(SourcePath(folder))) {
      if (entry.is_regular_file() && entry.path().filename() != "manifest.txt")
        present.insert(
            std::filesystem::relative(entry.path(), SourcePath(folder)).generic_string());
    }
    if (base.empty()) {
      EXPECT_EQ(present, listed);
      continue;
    }
    // A derived folder may leave out what it shares with its base, but everything it
    // holds must be named, and everything named must come from it or from the base.
    for (const std::string &part : present)
      EXPECT_TRUE(listed.count(part)) << part << " is not in the manifest";
    for (const std::string &part : listed)
      EXPECT_TRUE(std::filesystem::exists(SourcePath(PartSource(folder, base, part)))) << part;
  }
}
