// Reading compiled help files (.chm) through chmlib, which is loaded at run time: without the
// library the program still runs, only without help.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The chmlib entry points, looked up once. Available() is false when the library or one of
// its entries is missing.
class TChmLibrary {
public:
  explicit TChmLibrary(const char *libraryName = "libchm.so.1");
  ~TChmLibrary();
  TChmLibrary(const TChmLibrary &) = delete;
  TChmLibrary &operator=(const TChmLibrary &) = delete;

  bool Available() const { return open_ && close_ && resolve_ && retrieve_ && enumerate_; }

private:
  friend class TChmFile;
  void *handle_ = nullptr;
  void *(*open_)(const char *) = nullptr;
  void (*close_)(void *) = nullptr;
  int (*resolve_)(void *, const char *, void *) = nullptr;
  long long (*retrieve_)(void *, void *, unsigned char *, unsigned long long, long long) = nullptr;
  int (*enumerate_)(void *, int, int (*)(void *, void *, void *), void *) = nullptr;
};

// One open help file.
class TChmFile {
public:
  // Opens `path`; Valid() tells whether that worked.
  TChmFile(const TChmLibrary &library, const std::string &path);
  ~TChmFile();
  TChmFile(const TChmFile &) = delete;
  TChmFile &operator=(const TChmFile &) = delete;

  bool Valid() const { return file_ != nullptr; }

  // The bytes of the object at `path` ("/index.htm"), or nothing when there is none.
  std::optional<std::string> Read(const std::string &path) const;
  // The paths of all ordinary objects, in archive order.
  std::vector<std::string> Paths() const;

  // What the file's system record names; empty when it names nothing.
  std::string DefaultTopic() const;
  std::string IndexFile() const;
  std::string ContentsFile() const;

private:
  std::string SystemEntry(unsigned code) const;
  const TChmLibrary &lib_;
  void *file_ = nullptr;
};

// One entry of a help index or contents file: its caption and the page it leads to, both
// UTF-8 with character references ("&auml;", "&#228;") decoded.
struct TSitemapEntry {
  std::string Name;
  std::string Local;
};

// The entries of an index (.hhk) or contents (.hhc) sitemap in file order. An entry without
// a page is kept with an empty Local; a name is required.
std::vector<TSitemapEntry> ParseSitemap(const std::string &html);
