// Appending to a pack without rewriting it: the kept file is brought up to date in place,
// flushed, and renamed over the pack, while the pack it replaces is kept for the next time.
#include "pack/PackShadow.h"

#include "pack/KzpCodec.h"
#include "pack/PackStore.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kShortRecord = 64;

bool WriteAllAt(int fd, const std::string &bytes, std::uint64_t offset) {
  const char *p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t put = ::pwrite(fd, p, left, static_cast<off_t>(offset));
    if (put < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    p += put;
    left -= static_cast<std::size_t>(put);
    offset += static_cast<std::uint64_t>(put);
  }
  return true;
}

// The last `count` bytes of the pack text of records[0, end): each record followed by LF.
std::string LastTextBytes(const std::vector<std::string> &records, std::size_t end,
                          std::size_t count) {
  std::string tail;
  for (std::size_t i = end; i > 0 && tail.size() < count; --i) {
    tail.insert(tail.begin(), '\n');
    const std::string &r = records[i - 1];
    const std::size_t take = std::min(count - tail.size(), r.size());
    tail.insert(0, r, r.size() - take, take);
  }
  return tail.substr(tail.size() - std::min(tail.size(), count));
}

// A file with a second name elsewhere (a backup made with a hard link, say) must not be
// changed in place: the other name would see the change.
bool HasOneName(const std::string &path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && st.st_nlink == 1;
}

} // namespace

void TPackShadow::RemoveLeftovers(const std::string &packPath) {
  std::string path = packPath;
  char resolved[PATH_MAX];
  if (::realpath(packPath.c_str(), resolved))
    path = resolved;
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR *dir = ::opendir(folder.c_str());
  if (!dir)
    return;
  std::vector<std::string> stale;
  const std::string prefix = "." + base + ".";
  while (const dirent *e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0)
      continue;
    const std::string rest = name.substr(prefix.size());
    std::size_t digits = 0;
    for (const char *kind : {"keep-", "prev-", "tmp-"}) {
      const std::string k = kind;
      if (rest.compare(0, k.size(), k) == 0) {
        digits = k.size();
        break;
      }
    }
    if (digits == 0)
      continue;
    char *end = nullptr;
    const long pid = std::strtol(rest.c_str() + digits, &end, 10);
    if (end == rest.c_str() + digits || pid <= 0 || (*end != '\0' && *end != '-'))
      continue;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
      stale.push_back(folder + "/" + name);
  }
  ::closedir(dir);
  for (const std::string &file : stale)
    ::unlink(file.c_str());
}

TPackShadow::~TPackShadow() { Drop(); }

TPackShadow::TState TPackShadow::StateOf(const TFileIdentity &file,
                                         const std::vector<std::string> &records) {
  TState s;
  s.Known = true;
  s.File = file;
  s.Records = records.size();
  s.Ids.reserve(records.size());
  s.ShortTexts.resize(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string &r = records[i];
    s.TextLength += r.size() + 1;
    s.Ids.emplace_back(r.data(), r.size());
    if (r.size() <= kShortRecord)
      s.ShortTexts[i] = r;
  }
  return s;
}

bool TPackShadow::Unchanged(const TState &state, const std::vector<std::string> &records) {
  if (records.size() < state.Records)
    return false;
  for (std::size_t i = 0; i < state.Records; ++i) {
    const std::string &r = records[i];
    if (r.size() != state.Ids[i].second)
      return false;
    if (r.size() <= kShortRecord ? r != state.ShortTexts[i] : r.data() != state.Ids[i].first)
      return false;
  }
  return true;
}

std::string TPackShadow::KeptName(const TReplaceTarget &target) const {
  return target.Folder + "/." + target.Base + ".keep-" + std::to_string(::getpid());
}

std::string TPackShadow::PrevName(const TReplaceTarget &target) const {
  return target.Folder + "/." + target.Base + ".prev-" + std::to_string(::getpid());
}

void TPackShadow::Drop() {
  TFileIdentity now;
  if (kept_.Known && !keptPath_.empty() && IdentityOf(keptPath_, now) &&
      now.Inode == kept_.File.Inode)
    ::unlink(keptPath_.c_str());
  if (!linkedPath_.empty())
    ::unlink(linkedPath_.c_str());
  kept_ = TState{};
  written_ = TState{};
  keptPath_.clear();
  linkedPath_.clear();
}

void TPackShadow::LinkReplaced(const TReplaceTarget &target) {
  TFileIdentity now;
  if (!written_.Known || !IdentityOf(target.Path, now) || !(now == written_.File) ||
      !HasOneName(target.Path))
    return;
  const std::string prev = PrevName(target);
  ::unlink(prev.c_str());
  if (::link(target.Path.c_str(), prev.c_str()) == 0)
    linkedPath_ = prev;
}

void TPackShadow::ReplaceFailed() {
  if (!linkedPath_.empty())
    ::unlink(linkedPath_.c_str());
  linkedPath_.clear();
}

void TPackShadow::AdoptReplaced(const TReplaceTarget &target, const TState &replaced) {
  // The file kept before is out of date now; the one just replaced takes its place.
  TFileIdentity now;
  if (kept_.Known && !keptPath_.empty() && IdentityOf(keptPath_, now) &&
      now.Inode == kept_.File.Inode)
    ::unlink(keptPath_.c_str());
  kept_ = TState{};
  keptPath_.clear();
  if (linkedPath_.empty())
    return;
  const std::string name = KeptName(target);
  if (replaced.Known && ::rename(linkedPath_.c_str(), name.c_str()) == 0) {
    kept_ = replaced;
    keptPath_ = name;
  } else {
    ::unlink(linkedPath_.c_str());
  }
  linkedPath_.clear();
}

void TPackShadow::Replaced(const TReplaceTarget &target, const TFileIdentity &written,
                           const std::vector<std::string> &records, bool keep) {
  const TState replaced = written_;
  written_ = StateOf(written, records);
  if (!keep)
    ReplaceFailed();
  AdoptReplaced(target, replaced);
}

bool TPackShadow::Append(const std::string &packPath, const std::vector<std::string> &records) {
  if (!kept_.Known || !written_.Known || records.size() <= kept_.Records ||
      !Unchanged(kept_, records))
    return false;
  const TReplaceTarget target = PrepareReplace(packPath);
  TFileIdentity now;
  if (!target.Exists || keptPath_ != KeptName(target) || !IdentityOf(keptPath_, now) ||
      !(now == kept_.File) || !HasOneName(keptPath_))
    return false;
  kzp::TUniqueFd file(::open(keptPath_.c_str(), O_WRONLY | O_CLOEXEC));
  if (!file.Valid())
    return false;
  const int fd = file.Get();

  // The kept file is the pack text up to record kept_.Records, encoded, then CR LF. Its
  // complete 3-byte groups stay; from the last partial group on everything is written anew.
  const std::uint64_t keptLength = kept_.TextLength;
  const std::uint64_t at = keptLength / 3 * 4;
  auto fail = [&](int err) {
    file.Reset();
    ::unlink(keptPath_.c_str());
    kept_ = TState{};
    keptPath_.clear();
    throw EPackIOError(IOErrorMessage(err, packPath), err);
  };
  TBase64StreamEncoder encoder;
  std::string chunk;
  encoder.Feed(LastTextBytes(records, kept_.Records, static_cast<std::size_t>(keptLength % 3)),
               chunk);
  std::uint64_t offset = at;
  EncodeRecords(records, kept_.Records, encoder, chunk, [&](std::string &full) {
    if (!WriteAllAt(fd, full, offset))
      fail(errno);
    offset += full.size();
    full.clear();
  });
  encoder.Finish(chunk);
  chunk += "\r\n";
  if (!WriteAllAt(fd, chunk, offset))
    fail(errno);
  offset += chunk.size();
  if (::ftruncate(fd, static_cast<off_t>(offset)) != 0)
    fail(errno);
  if (target.HaveOwner && ::geteuid() == 0) {
    if (::fchown(fd, target.Owner, target.Group) != 0) {
      // As with a whole write: the pack stays whole, only its owner is root.
    }
  }
  if (::fchmod(fd, static_cast<mode_t>(target.Mode)) != 0)
    fail(errno);
  if (::fsync(fd) != 0)
    fail(errno);
  const TFileIdentity written = IdentityOfFd(fd);
  if (const int err = file.Close())
    fail(err);

  // Only now, with the new pack whole on disk, does it replace the old one.
  LinkReplaced(target);
  if (::rename(keptPath_.c_str(), target.Path.c_str()) != 0) {
    const int err = errno;
    ReplaceFailed();
    ::unlink(keptPath_.c_str());
    kept_ = TState{};
    keptPath_.clear();
    throw EPackIOError(IOErrorMessage(err, packPath), err);
  }
  SyncFolder(target.Folder);
  kept_ = TState{};
  keptPath_.clear();
  const TState replaced = written_;
  written_ = StateOf(written, records);
  AdoptReplaced(target, replaced);
  return true;
}
