// The folder scan behind a folder import: every file below a folder, in the order the
// import adds them.
#pragma once

#include <string>
#include <vector>

struct TScannedFile {
  std::string RelativeName; // path below the scanned folder, folders separated by "/"
  std::string FullPath;     // path to open the file with
};

// Lists the files below `dir`, depth first, in the order the file system lists each folder,
// skipping "." and ".." and the working files a running studio or kzp keeps beside a pack
// (".NAME.keep-PID" and the like). Links to folders are not followed (a loop would never end);
// links to files are listed like files. A folder that cannot be listed contributes nothing.
std::vector<TScannedFile> ScanFolder(const std::string &dir);
