// The folder import, one routine for the studio and the kzp tool: the scan, the names in the
// pack's code page, the refusals, and adding file by file with progress and a way to stop.
#pragma once

#include "pack/PackStore.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct TImportFile {
  std::string Name;     // the target name in the pack's code page ("sub/a.gif")
  std::string FullPath; // where the file is read from
};

// A folder whose files cannot all be imported; what() names the first file that is refused.
class EPackImportRefused : public EPackError {
public:
  explicit EPackImportRefused(const std::string &message) : EPackError(message) {}
};

// The files below `dir` in the order they are added (ScanFolder's), each named by its path
// below `dir` with "/" between folders, turned from the file system's UTF-8 into the pack's
// code page. Checked before anything is added, so that a refused import changes nothing: a
// name that is no UTF-8, holds a character the code page lacks, or that TargetNameRefusal
// refuses, raises EPackImportRefused with the warning to show.
std::vector<TImportFile> PrepareFolderImport(const std::string &dir);

struct TImportProgress {
  // Before each file, with the number added so far; false stops the import there.
  std::function<bool(std::size_t done, std::size_t total)> BeforeFile;
  // After each file that is in the pack.
  std::function<void(const TImportFile &file)> Added;
};

// Adds `files` to the store's pack in order, each written at once and whole. An error ends
// the import where it happened: the files before it stay in the pack, complete, and the
// error propagates. Returns how many were added.
std::size_t RunFolderImport(TPackStore &store, const std::vector<TImportFile> &files,
                            const TImportProgress &progress);

// "1 Datei", "3 Dateien".
std::string FileCount(std::size_t n);
