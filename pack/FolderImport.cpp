// Importing a folder into the open pack.
#include "pack/FolderImport.h"

#include "pack/FolderScan.h"
#include "pack/PackNames.h"

std::vector<TImportFile> PrepareFolderImport(const std::string &dir) {
  std::vector<TImportFile> files;
  for (TScannedFile &scanned : ScanFolder(dir)) {
    TImportFile file;
    if (!FileSystemNameToPack(scanned.RelativeName, file.Name))
      throw EPackImportRefused(UnfitNameMessage(ShownFileSystemName(scanned.RelativeName),
                                                "es wurde nichts importiert."));
    const std::string refusal = TargetNameRefusal(file.Name);
    if (!refusal.empty())
      throw EPackImportRefused(refusal +
                               " Bitte benennen Sie die Datei um; es wurde nichts importiert.");
    file.FullPath = std::move(scanned.FullPath);
    files.push_back(std::move(file));
  }
  return files;
}

std::size_t RunFolderImport(TPackStore &store, const std::vector<TImportFile> &files,
                            const TImportProgress &progress) {
  std::size_t done = 0;
  for (const TImportFile &file : files) {
    if (progress.BeforeFile && !progress.BeforeFile(done, files.size()))
      break;
    store.AddFileRecord(file.Name, file.FullPath);
    ++done;
    if (progress.Added)
      progress.Added(file);
  }
  return done;
}

std::string FileCount(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " Datei" : " Dateien");
}
