// The folder scan: depth first in listing order, relative names, links and odd entries.
#include "pack/FolderScan.h"

#include "PackTestUtil.h"

#include <csignal>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using List = std::vector<std::string>;

List Names(const std::vector<TScannedFile> &files) {
  List names;
  for (const TScannedFile &f : files)
    names.push_back(f.RelativeName);
  return names;
}

// What the scan must give, worked out from the file system's own listing order.
void ExpectedOrder(const std::string &base, const std::string &relative, List &out) {
  DIR *d = ::opendir((base + "/" + relative).c_str());
  while (const dirent *e = ::readdir(d)) {
    const std::string n = e->d_name;
    if (n == "." || n == "..")
      continue;
    struct stat st {};
    ::lstat((base + "/" + relative + n).c_str(), &st);
    if (S_ISDIR(st.st_mode))
      ExpectedOrder(base, relative + n + "/", out);
    else if (S_ISREG(st.st_mode))
      out.push_back(relative + n);
  }
  ::closedir(d);
}

TEST(ScanFolder, ListsDepthFirstInListingOrderWithSlashNames) {
  TTempFolder tmp;
  ::mkdir((tmp / "sub").c_str(), 0755);
  ::mkdir((tmp / "sub/tief").c_str(), 0755);
  ::mkdir((tmp / "leer").c_str(), 0755);
  for (const char *f : {"a.gif", "b c.png", "sub/a.gif", "sub/ä.gif", "sub/tief/x", "z"})
    WriteBytes(tmp / f, f);
  const std::vector<TScannedFile> files = ScanFolder(tmp.Path());
  List expected;
  ExpectedOrder(tmp.Path(), "", expected);
  EXPECT_EQ(Names(files), expected);
  List sorted = Names(files);
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (List{"a.gif", "b c.png", "sub/a.gif", "sub/tief/x", "sub/ä.gif", "z"}));
  for (const TScannedFile &f : files) {
    EXPECT_EQ(f.FullPath, tmp.Path() + "/" + f.RelativeName);
    EXPECT_EQ(ReadBytes(f.FullPath), f.RelativeName);
  }
  // A trailing slash on the folder changes neither names nor paths.
  const std::vector<TScannedFile> again = ScanFolder(tmp.Path() + "/");
  EXPECT_EQ(Names(again), expected);
  EXPECT_EQ(again[0].FullPath, files[0].FullPath);
}

TEST(ScanFolder, EntriesOfOneFolderStayTogether) {
  // Depth first: everything inside sub comes right where sub is listed.
  TTempFolder tmp;
  ::mkdir((tmp / "sub").c_str(), 0755);
  for (const char *f : {"a", "b", "c", "sub/1", "sub/2", "sub/3"})
    WriteBytes(tmp / f, "");
  const List names = Names(ScanFolder(tmp.Path()));
  ASSERT_EQ(names.size(), 6u);
  std::size_t first = 0;
  while (names[first].rfind("sub/", 0) != 0)
    ++first;
  for (std::size_t i = first; i < first + 3; ++i)
    EXPECT_EQ(names[i].rfind("sub/", 0), 0u) << names[i];
}

TEST(ScanFolder, LinksToFoldersAreNotFollowedLinksToFilesAreListed) {
  TTempFolder tmp;
  ::mkdir((tmp / "sub").c_str(), 0755);
  WriteBytes(tmp / "sub/datei", "d");
  ASSERT_EQ(::symlink("..", (tmp / "sub/schleife").c_str()), 0);
  ASSERT_EQ(::symlink("sub/datei", (tmp / "verweis").c_str()), 0);
  ASSERT_EQ(::symlink("nirgends", (tmp / "kaputt").c_str()), 0);
  ASSERT_EQ(::mkfifo((tmp / "rohr").c_str(), 0644), 0);
  List names = Names(ScanFolder(tmp.Path()));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (List{"sub/datei", "verweis"}));
}

TEST(ScanFolder, LeavesOutTheFilesThisProcessKeepsBesideAnOpenPack) {
  TTempFolder tmp;
  const std::string pid = std::to_string(::getpid());
  for (const std::string &name :
       {".p.kzp.keep-" + pid, ".p.kzp.prev-" + pid, ".p.kzp.tmp-" + pid + "-aB3dE9",
        ".p.kzp.keep-1" + pid, ".p.kzp.tmp-" + pid + "-x", std::string("p.kzp"), "keep-" + pid})
    WriteBytes(tmp / name, "x");
  List names = Names(ScanFolder(tmp.Path()));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (List{".p.kzp.keep-1" + pid, ".p.kzp.tmp-" + pid + "-x", "keep-" + pid, "p.kzp"}));
}

TEST(ScanFolder, LeavesOutWhatAnotherRunningProcessKeepsBesideAPackButNotWhatADeadOneLeft) {
  TTempFolder tmp;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::pause();
    ::_exit(0);
  }
  const std::string pid = std::to_string(child);
  const List working = {".p.kzp.keep-" + pid, ".p.kzp.prev-" + pid,
                        ".p.kzp.tmp-" + pid + "-Zz09aB"};
  for (const std::string &name : working)
    WriteBytes(tmp / name, "x");
  WriteBytes(tmp / "p.kzp", "x");
  // Without the pack beside them such names are nobody's working files.
  WriteBytes(tmp / (".q.kzp.keep-" + pid), "x");
  List names = Names(ScanFolder(tmp.Path()));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (List{".q.kzp.keep-" + pid, "p.kzp"}));

  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  names = Names(ScanFolder(tmp.Path()));
  std::sort(names.begin(), names.end());
  List all = working;
  all.push_back(".q.kzp.keep-" + pid);
  all.push_back("p.kzp");
  std::sort(all.begin(), all.end());
  EXPECT_EQ(names, all) << "a dead process's leftovers are ordinary files";
}

TEST(ScanFolder, AMissingOrEmptyFolderGivesNothing) {
  TTempFolder tmp;
  EXPECT_TRUE(ScanFolder(tmp.Path()).empty());
  EXPECT_TRUE(ScanFolder(tmp / "fehlt").empty());
  EXPECT_TRUE(ScanFolder("").empty());
}

} // namespace
