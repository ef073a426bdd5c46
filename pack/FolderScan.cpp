// The folder scan of the folder import.
#include "pack/FolderScan.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The files this process keeps beside an open pack while writing it (".NAME.keep-PID",
// ".NAME.prev-PID", ".NAME.tmp-PID-XXXXXX") come and go during an import of the pack's own
// folder; reading one of them would fail halfway or import a copy of the pack.
bool IsOwnWorkingFile(const std::string &name)
{
    if (name.empty() || name[0] != '.')
        return false;
    const std::string pid = std::to_string(::getpid());
    for (const char *kind : {".keep-", ".prev-"}) {
        const std::string tail = kind + pid;
        if (name.size() > tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
            return true;
    }
    const std::string tmp = ".tmp-" + pid + "-";
    const std::size_t at = name.rfind(tmp);
    return at != std::string::npos && name.size() - (at + tmp.size()) == 6;
}

// `base` ends with "/"; `relative` is empty or ends with "/".
void ScanLevel(const std::string &base, const std::string &relative, std::vector<TScannedFile> &files)
{
    const std::string folder = base + relative;
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || IsOwnWorkingFile(name))
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

std::vector<TScannedFile> ScanFolder(const std::string &dir)
{
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
