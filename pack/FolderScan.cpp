// The folder scan of the folder import.
#include "pack/FolderScan.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The files a running studio or kzp keeps beside an open pack while writing it
// (".NAME.keep-PID", ".NAME.prev-PID", ".NAME.tmp-PID-XXXXXX", NAME lying in the same folder)
// come and go during an import of that folder; reading one of them would fail halfway or
// import a copy of the pack. What a process that no longer runs left behind is an ordinary
// file to the scan (the next opening of that pack removes it).
bool IsWorkingFileOfARunningProcess(const std::string &folder, const std::string &name) {
  if (name.size() < 2 || name[0] != '.')
    return false;
  for (const char *kind : {".keep-", ".prev-", ".tmp-"}) {
    const std::size_t at = name.rfind(kind);
    if (at == std::string::npos || at < 2)
      continue;
    const std::string rest = name.substr(at + std::char_traits<char>::length(kind));
    const std::size_t digits = rest.find_first_not_of("0123456789");
    const bool tmp = kind[1] == 't';
    if (digits == 0 ||
        (tmp ? (digits == std::string::npos || rest.size() - digits != 7 || rest[digits] != '-')
             : digits != std::string::npos))
      continue;
    const long pid = std::strtol(rest.c_str(), nullptr, 10);
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
      continue;
    struct stat st {};
    if (::stat((folder + name.substr(1, at - 1)).c_str(), &st) == 0 && S_ISREG(st.st_mode))
      return true;
  }
  return false;
}

// `base` ends with "/"; `relative` is empty or ends with "/".
void ScanLevel(const std::string &base, const std::string &relative,
               std::vector<TScannedFile> &files) {
  const std::string folder = base + relative;
  DIR *dir = ::opendir(folder.c_str());
  if (!dir)
    return;
  while (const dirent *entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == ".." || IsWorkingFileOfARunningProcess(folder, name))
      continue;
    const std::string rel = relative + name;
    const std::string full = base + rel;
    struct stat st {};
    if (::lstat(full.c_str(), &st) != 0)
      continue;
    if (S_ISDIR(st.st_mode)) {
      ScanLevel(base, rel + "/", files);
      continue;
    }
    // A link counts as what it points to: a file is listed, a folder is not entered.
    // Pipes, sockets and devices are left out, since reading them could wait forever.
    if (S_ISLNK(st.st_mode) && ::stat(full.c_str(), &st) != 0)
      continue;
    if (S_ISREG(st.st_mode))
      files.push_back(TScannedFile{rel, full});
  }
  ::closedir(dir);
}

} // namespace

std::vector<TScannedFile> ScanFolder(const std::string &dir) {
  std::vector<TScannedFile> files;
  if (dir.empty())
    return files;
  std::string base = dir;
  while (base.size() > 1 && base.back() == '/')
    base.pop_back();
  if (base.back() != '/')
    base += '/';
  ScanLevel(base, std::string(), files);
  return files;
}
