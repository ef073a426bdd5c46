// The kzp commands that read and change a pack through the store.
#include "KzpCommands.h"

#include "pack/FolderImport.h"
#include "pack/PackNames.h"
#include "pack/PackStore.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TUsage {
  const char *command;
  const char *line;
};

constexpr TUsage kUsages[] = {
    {"info", "kzp info PACK"},
    {"list", "kzp list PACK"},
    {"cat", "kzp cat PACK NAME"},
    {"save", "kzp save PACK NAME < TEXT"},
    {"add", "kzp add PACK ZIEL QUELLE"},
    {"delete", "kzp delete PACK ZIEL"},
    {"meta", "kzp meta PACK TITEL AUTOR MAIL WEB ORDNER"},
    {"import", "kzp import PACK ORDNER"},
    {"new", "kzp new PACK [TITEL AUTOR MAIL WEB ORDNER]"},
    {"extract", "kzp extract PACK ORDNER"},
    {"build", "kzp build ORDNER PACK"},
    {"tokens", "kzp tokens html|css DATEI"},
    {"print", "kzp print PACK NAME AUSGABE.pdf"},
    {"check", "kzp check PACK [NAME]"},
    {"preview", "kzp preview PACK NAME AUSGABE.html"},
};

void Fail(const std::string &message) { std::fprintf(stderr, "kzp: %s\n", message.c_str()); }

// The store's own message first; a file with no record at all, or a pack cut off, gets a
// plain word added about what to do.
void Fail(const EPackError &e) {
  Fail(std::string(e.what()));
  if (dynamic_cast<const EPackNotAPackError *>(&e))
    Fail("Die Datei ist leer oder enthält kein Template-Pack.");
  if (dynamic_cast<const EPackCutOffError *>(&e))
    Fail("kzp ändert ein abgeschnittenes Pack nicht, denn jede Änderung würde den Verlust "
         "endgültig machen; "
         "es wurde nichts geändert. Ein sauberes Pack aus dem, was erhalten ist, entsteht bewusst "
         "mit "
         "\"kzp extract PACK ORDNER\" und \"kzp build ORDNER NEU.kzp\", nachdem die Zeilen "
         "\"unterminated\" "
         "und \"original\" aus ORDNER/manifest.txt entfernt wurden.");
}

// Runs the work of a command: a store error ends it with the store's message and code 1.
template <class F> int Guarded(F &&work) {
  try {
    return work();
  } catch (const EPackError &e) {
    Fail(e);
    return 1;
  }
}

// Opens the pack for reading; a cut-off pack is read all the same, with a warning.
TPackContents LoadForReading(TPackStore &store, const std::string &path) {
  TPackContents c = store.LoadPack(path);
  if (c.CutOff)
    Fail("Warnung: " + c.CutOffMessage);
  return c;
}

bool Contains(const std::vector<std::string> &list, const std::string &name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

// A name typed on the command line (UTF-8, with "\\" and "\xNN" for any byte) as the pack
// spells it. False, with the message given, when it cannot be.
bool NameArgument(const std::string &arg, std::string &name) {
  switch (ParseShownName(arg, name)) {
  case TNameParse::Ok: return true;
  case TNameParse::BadEscape: Fail(BadEscapeMessage(arg)); return false;
  case TNameParse::NotUtf8:
  case TNameParse::Unfit: break;
  }
  Fail(UnfitNameMessage(ShownFileSystemName(arg), "es wurde nichts geändert."));
  return false;
}

// The five metadata strings from the command line, the same way; an empty one stays empty.
bool MetaArguments(const std::vector<std::string> &args, std::size_t first, kzpMetaData &meta) {
  std::string *fields[] = {&meta.Titel, &meta.Author, &meta.AuthorMail, &meta.AuthorWeb,
                           &meta.Ordner};
  const char *labels[] = {"Titel", "Autor", "E-Mail", "Web", "Ordner"};
  for (std::size_t i = 0; i < 5; ++i) {
    const std::string &arg = args[first + i];
    std::string bytes;
    switch (ParseShownName(arg, bytes)) {
    case TNameParse::Ok:
      if (!arg.empty())
        *fields[i] = bytes;
      continue;
    case TNameParse::BadEscape: Fail(BadEscapeMessage(arg)); return false;
    case TNameParse::NotUtf8:
    case TNameParse::Unfit: Fail(UnfitMetaFieldMessage(labels[i])); return false;
    }
  }
  return true;
}

} // namespace

// The folder the kzp binary lies in, where the data files are installed beside it.
std::string ProgramFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0)
    return ".";
  std::string path(buffer, static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

namespace {

bool ReadStdin(std::string &text) {
  char block[65536];
  for (;;) {
    const std::size_t got = std::fread(block, 1, sizeof block, stdin);
    text.append(block, got);
    if (got < sizeof block)
      return !std::ferror(stdin);
  }
}

} // namespace

int Usage(const std::string &command) {
  std::fputs("Aufruf:\n", stderr);
  for (const TUsage &u : kUsages) {
    if (command.empty() || command == u.command)
      std::fprintf(stderr, "  %s\n", u.line);
  }
  return 2;
}

int RunInfo(const std::vector<std::string> &args) {
  if (args.size() != 1)
    return Usage("info");
  return Guarded([&] {
    const TPackContents c = LoadForReading(ThePackStore(), args[0]);
    const std::string text =
        "Titel: " + ShownName(c.Meta.Titel) + "\nAutor: " + ShownName(c.Meta.Author) +
        "\nE-Mail: " + ShownName(c.Meta.AuthorMail) + "\nWeb: " + ShownName(c.Meta.AuthorWeb) +
        "\nOrdner: " + ShownName(c.Meta.Ordner) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  });
}

int RunList(const std::vector<std::string> &args) {
  if (args.size() != 1)
    return Usage("list");
  return Guarded([&] {
    TPackStore &store = ThePackStore();
    LoadForReading(store, args[0]);
    // Record order, templates and files mixed as they lie in the pack.
    std::string text;
    for (std::size_t i = 1; i < store.Records.size(); ++i) {
      const std::string &record = store.Records[i];
      if (record.empty())
        continue;
      const std::string key = RecordKey(record);
      text += IsFileRecord(record) ? "file\t" + ShownName(key.substr(4))
                                   : "template\t" + ShownName(key);
      text += '\n';
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  });
}

int RunCat(const std::vector<std::string> &args) {
  if (args.size() != 2)
    return Usage("cat");
  std::string name;
  if (!NameArgument(args[1], name))
    return 1;
  return Guarded([&] {
    TPackStore &store = ThePackStore();
    const TPackContents c = LoadForReading(store, args[0]);
    if (!Contains(c.Templates, name)) {
      Fail("Das Pack enthält kein Template \"" + ShownName(name) + "\".");
      return 1;
    }
    const std::string text = store.GetTemplate(name);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  });
}

int RunSave(const std::vector<std::string> &args) {
  if (args.size() != 2)
    return Usage("save");
  std::string name;
  if (!NameArgument(args[1], name))
    return 1;
  return Guarded([&] {
    TPackStore &store = ThePackStore();
    const TPackContents c = store.LoadPack(args[0]);
    if (!Contains(c.Templates, name)) {
      Fail("Das Pack enthält kein Template \"" + ShownName(name) +
           "\"; es wurde nichts gespeichert.");
      return 1;
    }
    std::string text;
    if (!ReadStdin(text)) {
      Fail("Die Standardeingabe konnte nicht gelesen werden; es wurde nichts gespeichert.");
      return 1;
    }
    store.SaveTemplate(name, text);
    return 0;
  });
}

int RunAdd(const std::vector<std::string> &args) {
  if (args.size() != 3)
    return Usage("add");
  std::string name;
  if (!NameArgument(args[1], name))
    return 1;
  return Guarded([&] {
    TPackStore &store = ThePackStore();
    store.LoadPack(args[0]);
    store.AddFileRecord(name, args[2]);
    return 0;
  });
}

int RunDelete(const std::vector<std::string> &args) {
  if (args.size() != 2)
    return Usage("delete");
  std::string name;
  if (!NameArgument(args[1], name))
    return 1;
  return Guarded([&] {
    TPackStore &store = ThePackStore();
    const TPackContents c = store.LoadPack(args[0]);
    if (!Contains(c.Files, name)) {
      Fail("Das Pack enthält keine Datei \"" + ShownName(name) + "\".");
      return 1;
    }
    store.DeleteFileRecord(name);
    return 0;
  });
}

int RunMeta(const std::vector<std::string> &args) {
  if (args.size() != 6)
    return Usage("meta");
  kzpMetaData meta;
  if (!MetaArguments(args, 1, meta))
    return 1;
  return Guarded([&] {
    TPackStore &store = ThePackStore();
    store.LoadPack(args[0]);
    store.WriteMetaData(meta);
    return 0;
  });
}

int RunImport(const std::vector<std::string> &args) {
  if (args.size() != 2)
    return Usage("import");
  struct stat st {};
  if (::stat(args[1].c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    Fail("Kein Ordner: " + args[1]);
    return 1;
  }
  TPackStore &store = ThePackStore();
  std::vector<TImportFile> files;
  if (Guarded([&] {
        store.LoadPack(args[0]);
        files = PrepareFolderImport(args[1]);
        return 0;
      }) != 0)
    return 1;
  std::size_t added = 0;
  try {
    RunFolderImport(store, files, {nullptr, [&](const TImportFile &) { ++added; }});
  } catch (const EPackError &e) {
    Fail(e);
    Fail("Import abgebrochen: " + std::to_string(added) + " von " + FileCount(files.size()) +
         " wurden hinzugefügt; sie bleiben vollständig im Pack.");
    return 1;
  }
  std::fprintf(stderr, "Importvorgang abgeschlossen: %s hinzugefügt.\n", FileCount(added).c_str());
  return 0;
}

int RunNew(const std::vector<std::string> &args) {
  if (args.size() != 1 && args.size() != 6)
    return Usage("new");
  const std::string &target = args[0];
  kzpMetaData meta{"Neues Template", "Autor", "nicht definiert", "nicht definiert", "undefined"};
  if (args.size() == 6 && !MetaArguments(args, 1, meta))
    return 1;
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0) {
    Fail("Die Datei existiert bereits und wird nicht überschrieben: " + target);
    return 1;
  }
  return Guarded([&] {
    // The new pack is the standard pack with the given metadata; it is written whole
    // under the new name, so the standard pack itself is never touched.
    TPackStore &store = ThePackStore();
    store.LoadPack(ProgramFolder() + "/stdtpl.db");
    store.PackPath = target;
    store.WriteMetaData(meta);
    return 0;
  });
}
