// The kzp commands that read and change a pack through the store.
#include "KzpCommands.h"

#include "pack/FolderScan.h"
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
    {"check", "kzp check PACK [NAME]"},
    {"preview", "kzp preview PACK NAME AUSGABE.html"},
};

void Fail(const std::string &message)
{
    std::fprintf(stderr, "kzp: %s\n", message.c_str());
}

// The store's own message first; a file with no record at all gets a plain word added.
void Fail(const EPackError &e)
{
    Fail(std::string(e.what()));
    if (dynamic_cast<const EPackNotAPackError *>(&e))
        Fail("Die Datei ist leer oder enthält kein Template-Pack.");
}

// Runs the work of a command: a store error ends it with the store's message and code 1.
template <class F> int Guarded(F &&work)
{
    try {
        return work();
    } catch (const EPackError &e) {
        Fail(e);
        return 1;
    }
}

bool Contains(const std::vector<std::string> &list, const std::string &name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

} // namespace

std::string ProgramFolder()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return ".";
    std::string path(buffer, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

namespace {

bool ReadStdin(std::string &text)
{
    char block[65536];
    for (;;) {
        const std::size_t got = std::fread(block, 1, sizeof block, stdin);
        text.append(block, got);
        if (got < sizeof block)
            return !std::ferror(stdin);
    }
}

} // namespace

int Usage(const std::string &command)
{
    std::fputs("Aufruf:\n", stderr);
    for (const TUsage &u : kUsages) {
        if (command.empty() || command == u.command)
            std::fprintf(stderr, "  %s\n", u.line);
    }
    return 2;
}

int RunInfo(const std::vector<std::string> &args)
{
    if (args.size() != 1)
        return Usage("info");
    return Guarded([&] {
        const TPackContents c = ThePackStore().LoadPack(args[0]);
        std::printf("Titel: %s\nAutor: %s\nE-Mail: %s\nWeb: %s\nOrdner: %s\n", c.Meta.Titel.c_str(),
                    c.Meta.Author.c_str(), c.Meta.AuthorMail.c_str(), c.Meta.AuthorWeb.c_str(), c.Meta.Ordner.c_str());
        return 0;
    });
}

int RunList(const std::vector<std::string> &args)
{
    if (args.size() != 1)
        return Usage("list");
    return Guarded([&] {
        TPackStore &store = ThePackStore();
        store.LoadPack(args[0]);
        // Record order, templates and files mixed as they lie in the pack.
        for (std::size_t i = 1; i < store.Records.size(); ++i) {
            const std::string &record = store.Records[i];
            if (record.empty())
                continue;
            const std::string key = RecordKey(record);
            if (IsFileRecord(record))
                std::printf("file\t%s\n", key.substr(4).c_str());
            else
                std::printf("template\t%s\n", key.c_str());
        }
        return 0;
    });
}

int RunCat(const std::vector<std::string> &args)
{
    if (args.size() != 2)
        return Usage("cat");
    return Guarded([&] {
        TPackStore &store = ThePackStore();
        const TPackContents c = store.LoadPack(args[0]);
        if (!Contains(c.Templates, args[1])) {
            Fail("Das Pack enthält kein Template \"" + args[1] + "\".");
            return 1;
        }
        const std::string text = store.GetTemplate(args[1]);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    });
}

int RunSave(const std::vector<std::string> &args)
{
    if (args.size() != 2)
        return Usage("save");
    return Guarded([&] {
        TPackStore &store = ThePackStore();
        const TPackContents c = store.LoadPack(args[0]);
        if (!Contains(c.Templates, args[1])) {
            Fail("Das Pack enthält kein Template \"" + args[1] + "\"; es wurde nichts gespeichert.");
            return 1;
        }
        std::string text;
        if (!ReadStdin(text)) {
            Fail("Die Standardeingabe konnte nicht gelesen werden; es wurde nichts gespeichert.");
            return 1;
        }
        store.SaveTemplate(args[1], text);
        return 0;
    });
}

int RunAdd(const std::vector<std::string> &args)
{
    if (args.size() != 3)
        return Usage("add");
    return Guarded([&] {
        TPackStore &store = ThePackStore();
        store.LoadPack(args[0]);
        store.AddFileRecord(args[1], args[2]);
        return 0;
    });
}

int RunDelete(const std::vector<std::string> &args)
{
    if (args.size() != 2)
        return Usage("delete");
    return Guarded([&] {
        TPackStore &store = ThePackStore();
        const TPackContents c = store.LoadPack(args[0]);
        if (!Contains(c.Files, args[1])) {
            Fail("Das Pack enthält keine Datei \"" + args[1] + "\".");
            return 1;
        }
        store.DeleteFileRecord(args[1]);
        return 0;
    });
}

int RunMeta(const std::vector<std::string> &args)
{
    if (args.size() != 6)
        return Usage("meta");
    return Guarded([&] {
        TPackStore &store = ThePackStore();
        store.LoadPack(args[0]);
        store.WriteMetaData(kzpMetaData{args[1], args[2], args[3], args[4], args[5]});
        return 0;
    });
}

int RunImport(const std::vector<std::string> &args)
{
    if (args.size() != 2)
        return Usage("import");
    struct stat st {};
    if (::stat(args[1].c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        Fail("Kein Ordner: " + args[1]);
        return 1;
    }
    TPackStore &store = ThePackStore();
    if (Guarded([&] {
            store.LoadPack(args[0]);
            return 0;
        }) != 0)
        return 1;
    const std::vector<TScannedFile> files = ScanFolder(args[1]);
    std::size_t done = 0;
    try {
        for (const TScannedFile &f : files) {
            store.AddFileRecord(f.RelativeName, f.FullPath);
            ++done;
        }
    } catch (const EPackError &e) {
        Fail(e);
        Fail("Import abgebrochen: " + std::to_string(done) + " von " + std::to_string(files.size()) +
             " Dateien wurden hinzugefügt.");
        return 1;
    }
    std::fprintf(stderr, "Importvorgang abgeschlossen: %zu Dateien hinzugefügt.\n", done);
    return 0;
}

int RunNew(const std::vector<std::string> &args)
{
    if (args.size() != 1 && args.size() != 6)
        return Usage("new");
    const std::string &target = args[0];
    kzpMetaData meta{"Neues Template", "Autor", "nicht definiert", "nicht definiert", "undefined"};
    if (args.size() == 6) {
        std::string *fields[] = {&meta.Titel, &meta.Author, &meta.AuthorMail, &meta.AuthorWeb, &meta.Ordner};
        for (int i = 0; i < 5; ++i) {
            if (!args[static_cast<std::size_t>(i) + 1].empty())
                *fields[i] = args[static_cast<std::size_t>(i) + 1];
        }
    }
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
