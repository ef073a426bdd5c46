// `kzp extract` and `kzp build`: a pack as a folder of plain files and back, byte for byte.
//
// The folder holds manifest.txt, templates/ and files/. manifest.txt is bytes, one line per
// entry, each ended by LF, fields separated by TAB:
//   kzp-manifest 1                           always the first line
//   meta  TITEL AUTOR MAIL WEB ORDNER         second line: record 0 built from five strings
//   raw-meta  raw/000000                     or: record 0 byte for byte from that file
// then one line per record after record 0, in record order:
//   template  NAME      NAME "\t.\t" the escaped text of templates/NAME
//   file  NAME          "img:" NAME "\t.\t" the base64 of files/NAME
//   raw  raw/NNNNNN     the record byte for byte from that file
//   empty               an empty record
// and, after the records when needed:
//   unterminated        no LF after the last record
//   original  original.kzp   the pack file's own bytes, used while the records still match
//
// Extraction writes the plain template and file lines whenever they give the record back
// unchanged; an odd metadata record, a template whose text does not survive unescaping and
// escaping, file data not in the encoder's own form, or a name that cannot be a file of its
// own (empty, "a//b", "a/", two records of one name, "../x", "/etc/x", a backslash) goes to
// raw/. A pack file not in the
// writer's own form (line breaks, "=" fill) keeps its bytes in original.kzp.
#include "KzpCommands.h"

#include "pack/KzpCodec.h"
#include "pack/PackFile.h"
#include "pack/PackStore.h"
#include "pack/SplitFns.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const kManifestHeader = "kzp-manifest 1";
const char *const kOriginalName = "original.kzp";

class EManifestError : public EPackError {
public:
  explicit EManifestError(const std::string &message) : EPackError(message) {}
};

// Names that would leave the folder are refused outright.
bool EscapesFolder(const std::string &name) {
  if (!name.empty() && name[0] == '/')
    return true;
  if (name.find('\\') != std::string::npos || name.find('\0') != std::string::npos)
    return true;
  for (const std::string &part : SplitExact(name, '/')) {
    if (part == "..")
      return true;
  }
  return false;
}

// Names that are harmless but cannot be a file path of their own ("", "a//b", "a/", "./a",
// overlong parts); such records are kept raw.
bool IsPlainPath(const std::string &name) {
  if (name.empty() || name.size() > 1024)
    return false;
  for (const std::string &part : SplitExact(name, '/')) {
    if (part.empty() || part == "." || part.size() > 255)
      return false;
  }
  return true;
}

// The paths already taken below one folder, so that two records never share a file and no
// file stands where another needs a folder.
class TPathSet {
public:
  bool Take(const std::string &path) {
    if (files_.count(path) || folders_.count(path))
      return false;
    std::vector<std::string> prefixes;
    for (std::size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
      prefixes.push_back(path.substr(0, slash));
      if (files_.count(prefixes.back()))
        return false;
    }
    files_.insert(path);
    folders_.insert(prefixes.begin(), prefixes.end());
    return true;
  }

private:
  std::set<std::string> files_, folders_;
};

void MakeFolders(const std::string &root, const std::string &relativeFile) {
  for (std::size_t slash = relativeFile.find('/'); slash != std::string::npos;
       slash = relativeFile.find('/', slash + 1)) {
    const std::string folder = root + "/" + relativeFile.substr(0, slash);
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
      throw EPackIOError(IOErrorMessage(errno, folder), errno);
  }
}

// A new file inside the extraction folder; it is never there before, so O_EXCL also makes
// sure no link placed there is followed.
void WriteNewFile(const std::string &path, const std::string &bytes) {
  kzp::TUniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (!fd.Valid())
    throw EPackIOError(IOErrorMessage(errno, path), errno);
  int err = WriteAll(fd.Get(), bytes);
  if (const int closed = fd.Close(); err == 0)
    err = closed;
  if (err)
    throw EPackIOError(IOErrorMessage(err, path), err);
}

void PrepareEmptyFolder(const std::string &dir) {
  if (::mkdir(dir.c_str(), 0777) == 0)
    return;
  if (errno != EEXIST)
    throw EPackIOError(IOErrorMessage(errno, dir), errno);
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    throw EPackError("Kein Ordner: " + dir);
  DIR *d = ::opendir(dir.c_str());
  if (!d)
    throw EPackIOError(IOErrorMessage(errno, dir), errno);
  bool empty = true;
  while (const dirent *e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..")
      empty = false;
  }
  ::closedir(d);
  if (!empty)
    throw EPackError("Der Zielordner ist nicht leer: " + dir);
}

std::string RawName(std::size_t index) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "raw/%06zu", index);
  return buffer;
}

struct TOutputFile {
  std::string path; // relative to the extraction folder
  std::string bytes;
};

} // namespace

int RunExtract(const std::vector<std::string> &args) {
  if (args.size() != 2)
    return Usage("extract");
  const std::string &packPath = args[0];
  const std::string &dir = args[1];
  try {
    const std::string fileBytes = ReadWholeFile(packPath);
    const std::string packText = PackTextOfFileContent(fileBytes, packPath);
    if (packText.empty())
      throw EPackNotAPackError("Listenindex überschreitet das Maximum (0)");
    // Every record as it lies in the pack text, empty ones included.
    std::vector<std::string> records = SplitExact(packText, '\n');
    const bool terminated = packText.back() == '\n';
    if (terminated)
      records.pop_back();

    std::string manifest = std::string(kManifestHeader) + "\n";
    std::vector<TOutputFile> outputs;
    const kzpMetaData meta = ParseMetaRecord(records[0]);
    const bool plainMeta = BuildMetaRecord(meta) == records[0] && !meta.Titel.empty() &&
                           !meta.Author.empty() && !meta.AuthorMail.empty() &&
                           !meta.AuthorWeb.empty() && !meta.Ordner.empty();
    if (plainMeta) {
      manifest += "meta\t" + meta.Titel + "\t" + meta.Author + "\t" + meta.AuthorMail + "\t" +
                  meta.AuthorWeb + "\t" + meta.Ordner + "\n";
    } else {
      manifest += "raw-meta\t" + RawName(0) + "\n";
      outputs.push_back({RawName(0), records[0]});
    }

    TPathSet templatePaths, filePaths;
    for (std::size_t i = 1; i < records.size(); ++i) {
      const std::string &record = records[i];
      if (record.empty()) {
        manifest += "empty\n";
        continue;
      }
      const std::string key = RecordKey(record);
      const bool isFile = IsFileRecord(record);
      const std::string name = isFile ? key.substr(4) : key;
      // A name that would lead out of the folder never becomes a path: its record is
      // kept raw, so the pack still comes back byte for byte.
      const bool fileName = !EscapesFolder(name) && IsPlainPath(name);
      bool plain = false;
      if (isFile) {
        std::vector<std::string> tokens;
        SplitString(record, '\t', tokens);
        const std::string data = tokens.size() >= 3 ? tokens[2] : std::string();
        std::string bytes = DecodeBase64(data);
        if (fileName && key + "\t.\t" + EncodeBase64(bytes) == record && filePaths.Take(name)) {
          manifest += "file\t" + name + "\n";
          outputs.push_back({"files/" + name, std::move(bytes)});
          plain = true;
        }
      } else {
        std::string text = TemplateTextOfRecord(record);
        if (fileName && BuildTemplateRecord(name, text) == record && templatePaths.Take(name)) {
          manifest += "template\t" + name + "\n";
          outputs.push_back({"templates/" + name, std::move(text)});
          plain = true;
        }
      }
      if (!plain) {
        manifest += "raw\t" + RawName(i) + "\n";
        outputs.push_back({RawName(i), record});
      }
    }
    if (!terminated)
      manifest += "unterminated\n";
    if (fileBytes != EncodeBase64(packText) + "\r\n") {
      manifest += std::string("original\t") + kOriginalName + "\n";
      outputs.push_back({kOriginalName, fileBytes});
    }

    // Everything is checked; only now is anything written.
    PrepareEmptyFolder(dir);
    for (const char *sub : {"templates", "files"}) {
      const std::string folder = dir + "/" + sub;
      if (::mkdir(folder.c_str(), 0777) != 0)
        throw EPackIOError(IOErrorMessage(errno, folder), errno);
    }
    for (const TOutputFile &out : outputs) {
      MakeFolders(dir, out.path);
      WriteNewFile(dir + "/" + out.path, out.bytes);
    }
    WriteNewFile(dir + "/manifest.txt", manifest);
  } catch (const EPackError &e) {
    std::fprintf(stderr, "kzp: %s\n", e.what());
    if (dynamic_cast<const EPackNotAPackError *>(&e))
      std::fputs("kzp: Die Datei ist leer oder enthält kein Template-Pack.\n", stderr);
    return 1;
  }
  return 0;
}

int RunBuild(const std::vector<std::string> &args) {
  if (args.size() != 2)
    return Usage("build");
  const std::string &dir = args[0];
  const std::string &packPath = args[1];
  try {
    const std::string manifestPath = dir + "/manifest.txt";
    std::vector<std::string> lines = SplitExact(ReadWholeFile(manifestPath), '\n');
    if (!lines.empty() && lines.back().empty())
      lines.pop_back();
    auto lineError = [&](std::size_t index, const std::string &what) {
      return EManifestError(manifestPath + ", Zeile " + std::to_string(index + 1) + ": " + what);
    };
    if (lines.empty() || lines[0] != kManifestHeader)
      throw EManifestError(manifestPath + ": keine Manifest-Datei (erste Zeile muss \"" +
                           std::string(kManifestHeader) + "\" lauten).");
    if (lines.size() < 2)
      throw lineError(1, "die Metadaten-Zeile fehlt.");

    auto readEntry = [&](std::size_t index, const std::string &relative) {
      if (EscapesFolder(relative) || relative.empty())
        throw lineError(index, "der Name \"" + relative + "\" liegt außerhalb des Ordners.");
      return ReadWholeFile(dir + "/" + relative);
    };
    auto noLineFeed = [&](std::size_t index, const std::string &record) {
      if (record.find('\n') != std::string::npos)
        throw lineError(index, "der Eintrag enthält einen Zeilenumbruch.");
      return record;
    };

    std::vector<std::string> records;
    const std::vector<std::string> metaLine = SplitExact(lines[1], '\t');
    if (metaLine[0] == "meta" && metaLine.size() == 6) {
      const kzpMetaData meta{metaLine[1], metaLine[2], metaLine[3], metaLine[4], metaLine[5]};
      for (std::size_t f = 1; f < 6; ++f) {
        if (metaLine[f].empty())
          throw lineError(
              1, "ein Metadaten-Feld ist leer; es würde die folgenden Felder verschieben.");
      }
      records.push_back(BuildMetaRecord(meta));
    } else if (metaLine[0] == "raw-meta" && metaLine.size() == 2) {
      records.push_back(noLineFeed(1, readEntry(1, metaLine[1])));
    } else {
      throw lineError(1, "erwartet \"meta\" mit fünf Feldern oder \"raw-meta\".");
    }

    bool terminated = true;
    std::string original;
    bool haveOriginal = false;
    for (std::size_t i = 2; i < lines.size(); ++i) {
      const std::vector<std::string> f = SplitExact(lines[i], '\t');
      const std::string &kind = f[0];
      if (kind == "template" && f.size() == 2) {
        if (f[1].empty())
          throw lineError(i, "der Template-Name fehlt.");
        // Such a record would read back as a file.
        if (IsFileRecord(f[1]))
          throw lineError(i, "ein Template-Name darf nicht mit \"img:\" beginnen.");
        records.push_back(BuildTemplateRecord(f[1], readEntry(i, "templates/" + f[1])));
      } else if (kind == "file" && f.size() == 2) {
        if (f[1].empty())
          throw lineError(i, "der Dateiname fehlt.");
        records.push_back("img:" + f[1] + "\t.\t" + EncodeBase64(readEntry(i, "files/" + f[1])));
      } else if (kind == "raw" && f.size() == 2) {
        records.push_back(noLineFeed(i, readEntry(i, f[1])));
      } else if (kind == "empty" && f.size() == 1) {
        records.emplace_back();
      } else if (kind == "unterminated" && f.size() == 1) {
        terminated = false;
      } else if (kind == "original" && f.size() == 2) {
        original = readEntry(i, f[1]);
        haveOriginal = true;
      } else {
        throw lineError(i, "unbekannter Eintrag \"" + kind + "\".");
      }
    }

    if (terminated && !haveOriginal) {
      TPackStore &store = ThePackStore();
      store.Records = std::move(records);
      store.PackPath = packPath;
      store.WritePack();
      return 0;
    }
    std::string packText;
    for (std::size_t i = 0; i < records.size(); ++i) {
      packText += records[i];
      if (terminated || i + 1 < records.size())
        packText += '\n';
    }
    // The kept original is only used while it still holds exactly these records.
    bool useOriginal = false;
    if (haveOriginal) {
      try {
        useOriginal = PackTextOfFileContent(original, dir + "/" + kOriginalName) == packText;
      } catch (const EPackFormatError &) {
        useOriginal = false;
      }
    }
    TSafeFileWriter writer(packPath);
    if (useOriginal) {
      writer.Write(original);
    } else {
      writer.Write(EncodeBase64(packText));
      writer.Write("\r\n");
    }
    writer.Commit();
  } catch (const EPackError &e) {
    std::fprintf(stderr, "kzp: %s\n", e.what());
    return 1;
  }
  return 0;
}
