// The editor's line list: record storage, line operations, tab cache, whole-text I/O.
#include "editor/KzEditTextBuffer.h"

#include "editor/KzEditStrConst.h"
#include "platform/FileErrors.h"
#include "platform/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <istream>
#include <limits>
#include <new>
#include <ostream>
#include <sys/mman.h>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

static_assert(std::is_trivially_copyable_v<TKzEditStringRec>,
              "line records are moved with memmove");
static_assert(sizeof(TKzEditStringRec) == 24, "a line record costs 24 bytes");

namespace {

// ---- the text block of a line: a 4-byte length, then the bytes ----

constexpr std::size_t kHeader = sizeof(std::uint32_t);

char *NewText(std::string_view s) {
  if (s.empty())
    return nullptr;
  if (s.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("line too long");
  char *block = static_cast<char *>(std::malloc(kHeader + s.size()));
  if (!block)
    throw std::bad_alloc();
  const std::uint32_t len = std::uint32_t(s.size());
  std::memcpy(block, &len, kHeader);
  std::memcpy(block + kHeader, s.data(), s.size());
  return block;
}

std::string_view TextOf(const char *block) {
  if (!block)
    return {};
  std::uint32_t len;
  std::memcpy(&len, block, kHeader);
  return {block + kHeader, len};
}

// ---- the packed expanded length and flags ----

constexpr std::uint32_t kFlagMask = 7;
constexpr std::int32_t kMaxExpanded = KzMaxExpandedCells;

std::int32_t ExpandedOf(std::uint32_t lenFlags) { return std::int32_t(lenFlags) >> 3; }
std::uint8_t FlagsOf(std::uint32_t lenFlags) { return std::uint8_t(lenFlags & kFlagMask); }
std::uint32_t Pack(std::int32_t expanded, std::uint8_t flags) {
  // A line wider than 2^28 cells after expansion reports that width; nothing else is lost.
  expanded = std::min(expanded, kMaxExpanded);
  return (std::uint32_t(expanded) << 3) | (flags & kFlagMask);
}

constexpr std::uint32_t kNewLineState = (std::uint32_t(-1) << 3) | sfLengthUnknown;
constexpr std::uint32_t kNoRange = 0xFFFFFFFFu;

std::string Format(const char *pattern, int value) {
  char buf[128];
  std::snprintf(buf, sizeof buf, pattern, value);
  return buf;
}

[[noreturn]] void ThrowFileError(int err) { throw EKzEditFileError(kzp::FileErrorText(err), err); }

std::string_view BreakOf(TKzLineBreakStyle style) {
  switch (style) {
  case TKzLineBreakStyle::Lf: return "\n";
  case TKzLineBreakStyle::Cr: return "\r";
  case TKzLineBreakStyle::CrLf: break;
  }
  return "\r\n";
}

// Appends bytes at p; empty lines have no block, and memcpy must not see a null source.
inline void Put(char *&p, std::string_view s) {
  if (!s.empty()) {
    std::memcpy(p, s.data(), s.size());
    p += s.size();
  }
}

// Finds line breaks with memchr, remembering the next CR and the next LF separately so that
// a text with only one kind of break is still scanned once, not once per line.
class TBreakScanner {
public:
  TBreakScanner(const char *data, std::size_t n) : fData(data), fSize(n) {
    fNextCr = Find('\r', 0);
    fNextLf = Find('\n', 0);
  }
  // Position of the next CR or LF at or after p, or the size.
  std::size_t Next(std::size_t p) {
    if (fNextCr < p)
      fNextCr = Find('\r', p);
    if (fNextLf < p)
      fNextLf = Find('\n', p);
    return std::min(fNextCr, fNextLf);
  }

private:
  std::size_t Find(char c, std::size_t from) const {
    if (from >= fSize)
      return fSize;
    const void *hit = std::memchr(fData + from, c, fSize - from);
    return hit ? std::size_t(static_cast<const char *>(hit) - fData) : fSize;
  }
  const char *fData;
  std::size_t fSize;
  std::size_t fNextCr, fNextLf;
};

} // namespace

// ---------------------------------------------------------------------------------------------

TKzEditStringList::TKzEditStringList() : fConvertTabs(GetBestConvertTabsProc(8)) {}

TKzEditStringList::~TKzEditStringList() {
  OnBeginChange = nullptr;
  OnEndChange = nullptr;
  FreeLines(0, fCount);
  std::free(fList);
}

void TKzEditStringList::CheckIndex(int i, int limit) const {
  if (i < 0 || i > limit)
    throw EKzEditStringList(Format(SKzEditListIndexError, i), i);
}

void TKzEditStringList::Reallocate(int capacity) {
  if (capacity == 0) {
    std::free(fList);
    fList = nullptr;
  } else {
    void *p = std::realloc(fList, std::size_t(capacity) * sizeof(TKzEditStringRec));
    if (!p)
      throw std::bad_alloc();
    fList = static_cast<TKzEditStringRec *>(p);
  }
  fCapacity = capacity;
}

void TKzEditStringList::Grow() { Reallocate(fCapacity + (fCapacity <= 64 ? 16 : fCapacity / 4)); }

void TKzEditStringList::SetCapacity(int c) {
  if (c < fCount)
    throw EKzEditStringList(SKzEditListCapacityError);
  if (c != fCapacity)
    Reallocate(c);
}

void TKzEditStringList::FreeLines(int first, int count) {
  for (int i = first; i < first + count; ++i)
    std::free(fList[i].Text);
}

void TKzEditStringList::InsertRecord(int i, std::string_view s) {
  if (fCount == fCapacity)
    Grow();
  char *text = NewText(s); // before the move, so a failed allocation changes nothing
  if (i < fCount)
    std::memmove(fList + i + 1, fList + i, std::size_t(fCount - i) * sizeof(TKzEditStringRec));
  fList[i] = TKzEditStringRec{text, nullptr, kNoRange, kNewLineState};
  ++fCount;
  if (fLongestKnown) [[unlikely]] // reading a file inserts millions of lines with it unknown
    LongestInserted(i, 1, s);
}

void TKzEditStringList::BeginUpdate() {
  if (fUpdateCount++ == 0 && OnBeginChange)
    OnBeginChange();
}

void TKzEditStringList::EndUpdate() {
  if (fUpdateCount == 0)
    return;
  if (--fUpdateCount == 0 && OnEndChange)
    OnEndChange();
}

// ---- reading lines ----

std::string_view TKzEditStringList::LineView(int i) const {
  if (i < 0 || i >= fCount)
    return {};
  return TextOf(fList[i].Text);
}

std::string TKzEditStringList::GetLine(int i) const { return std::string(LineView(i)); }

void *TKzEditStringList::LineObject(int i) const {
  return i >= 0 && i < fCount ? fList[i].Object : nullptr;
}

std::uint32_t TKzEditStringList::LineRange(int i) const {
  return i >= 0 && i < fCount ? fList[i].Range : 0;
}

std::uint8_t TKzEditStringList::LineFlags(int i) const {
  return i >= 0 && i < fCount ? FlagsOf(fList[i].LenFlags) : 0;
}

// ---- changing lines ----

int TKzEditStringList::AddLine(std::string_view s) {
  TKzEditUpdateGuard bracket(*this);
  const int index = fCount;
  InsertRecord(index, s);
  if (OnLinesInserted)
    OnLinesInserted(index, 1);
  return index;
}

void TKzEditStringList::InsertLine(int i, std::string_view s) {
  CheckIndex(i, fCount);
  TKzEditUpdateGuard bracket(*this);
  InsertRecord(i, s);
  if (OnLinesInserted)
    OnLinesInserted(i, 1);
}

void TKzEditStringList::AddLines(const TKzEditStringList &source) {
  const int n = source.fCount;
  if (n == 0)
    return;
  TKzEditUpdateGuard bracket(*this);
  const int first = fCount;
  if (first + n > fCapacity)
    Reallocate((first + n + 15) / 16 * 16);
  // Source may be this list: its first n records stay where they are while we append.
  for (int k = 0; k < n; ++k) {
    const TKzEditStringRec &src = source.fList[k];
    char *text = NewText(TextOf(src.Text));
    fList[fCount] = TKzEditStringRec{text, src.Object, kNoRange, kNewLineState};
    ++fCount;
  }
  ForgetLongest();
  if (OnLinesInserted)
    OnLinesInserted(first, n);
}

void TKzEditStringList::InsertEmptyLines(int i, int n) {
  CheckIndex(i, fCount);
  if (n <= 0)
    return;
  TKzEditUpdateGuard bracket(*this);
  Reallocate(fCount + n);
  if (i < fCount)
    std::memmove(fList + i + n, fList + i, std::size_t(fCount - i) * sizeof(TKzEditStringRec));
  std::memset(static_cast<void *>(fList + i), 0, std::size_t(n) * sizeof(TKzEditStringRec));
  fCount += n;
  LongestInserted(i, n, {});
  if (OnLinesInserted)
    OnLinesInserted(i, n);
}

void TKzEditStringList::DeleteLine(int i) {
  CheckIndex(i, fCount - 1);
  TKzEditUpdateGuard bracket(*this);
  std::free(fList[i].Text);
  if (i < fCount - 1)
    std::memmove(fList + i, fList + i + 1, std::size_t(fCount - i - 1) * sizeof(TKzEditStringRec));
  --fCount;
  LongestDeleted(i, 1);
  if (OnLinesDeleted)
    OnLinesDeleted(i, 1);
}

void TKzEditStringList::DeleteLines(int i, int n) {
  if (n <= 0)
    return;
  CheckIndex(i, fCount);
  n = std::min(n, fCount - i);
  if (n == 0)
    return; // i == Count(): nothing to delete, nothing to tell
  // The whole deletion is one bracket: a listener woken by the outermost OnEndChange must
  // never see records that were freed but are still counted.
  TKzEditUpdateGuard bracket(*this);
  FreeLines(i, n);
  if (i + n < fCount)
    std::memmove(fList + i, fList + i + n, std::size_t(fCount - i - n) * sizeof(TKzEditStringRec));
  fCount -= n;
  LongestDeleted(i, n);
  if (OnLinesDeleted)
    OnLinesDeleted(i, n);
}

void TKzEditStringList::ReplaceLine(int i, std::string_view s) {
  if (i == fCount) {
    AddLine(s);
    return;
  }
  CheckIndex(i, fCount - 1);
  TKzEditUpdateGuard bracket(*this);
  char *text = NewText(s);
  std::free(fList[i].Text);
  TKzEditStringRec &r = fList[i];
  r.Text = text;
  const std::uint8_t flags =
      std::uint8_t((FlagsOf(r.LenFlags) & ~(sfTabsFound | sfNoTabs)) | sfLengthUnknown);
  r.LenFlags = Pack(ExpandedOf(r.LenFlags), flags);
  LongestReplaced(i, s);
  if (OnLineReplaced)
    OnLineReplaced(i, 1);
}

void TKzEditStringList::ExchangeLines(int i, int j) {
  CheckIndex(i, fCount - 1);
  CheckIndex(j, fCount - 1);
  TKzEditUpdateGuard bracket(*this);
  std::swap(fList[i], fList[j]);
  if (fLongestIndex == i)
    fLongestIndex = j;
  else if (fLongestIndex == j)
    fLongestIndex = i;
}

void TKzEditStringList::Clear() {
  if (fCount > 0) {
    TKzEditUpdateGuard bracket(*this);
    FreeLines(0, fCount);
    fCount = 0;
    Reallocate(0);
    ForgetLongest();
    if (OnLinesCleared)
      OnLinesCleared();
  }
  ForgetLongest();
}

void TKzEditStringList::SetLineObject(int i, void *p) {
  CheckIndex(i, fCount - 1);
  TKzEditUpdateGuard bracket(*this);
  fList[i].Object = p;
}

void TKzEditStringList::SetLineRange(int i, std::uint32_t r) {
  CheckIndex(i, fCount - 1);
  TKzEditUpdateGuard bracket(*this);
  fList[i].Range = r;
}

// ---- tab expansion ----

void TKzEditStringList::ExpandCache(int i) const {
  TKzEditStringRec &r = fList[i];
  const std::string_view text = TextOf(r.Text);
  const bool hasTabs = !text.empty() && std::memchr(text.data(), '\t', text.size()) != nullptr;
  const int len = hasTabs ? GetExpandedLength(text, fTabWidth) : int(text.size());
  r.LenFlags = Pack(len, hasTabs ? sfTabsFound : sfNoTabs);
}

std::string TKzEditStringList::ExpandedLine(int i) const {
  if (i < 0 || i >= fCount)
    return {};
  TKzEditStringRec &r = fList[i];
  const std::string_view text = TextOf(r.Text);
  if (FlagsOf(r.LenFlags) & sfNoTabs)
    return std::string(text);
  bool hasTabs = false;
  std::string expanded = fConvertTabs(text, fTabWidth, hasTabs);
  // The width-1 routine turns tabs into spaces, so the expanded length is always the number
  // of cells; the flags describe the line, not the result.
  r.LenFlags = Pack(int(expanded.size()), hasTabs ? sfTabsFound : sfNoTabs);
  return expanded;
}

int TKzEditStringList::ExpandedLength(int i) const {
  if (i < 0 || i >= fCount)
    return 0;
  if (FlagsOf(fList[i].LenFlags) & sfLengthUnknown)
    ExpandCache(i);
  return ExpandedOf(fList[i].LenFlags);
}

int TKzEditStringList::LongestLineLength() const {
  if (!fLongestKnown) {
    fLongestIndex = -1;
    fLongestLength = 0;
    for (int i = 0; i < fCount; ++i) {
      if (FlagsOf(fList[i].LenFlags) & sfLengthUnknown)
        ExpandCache(i);
      const int len = ExpandedOf(fList[i].LenFlags);
      if (len > fLongestLength) {
        fLongestLength = len;
        fLongestIndex = i;
      }
    }
    fLongestKnown = true;
  }
  return fLongestIndex < 0 ? 0 : fLongestLength;
}

// ---- keeping the longest line known across edits ----
//
// Once the longest line has been found, edits keep the answer up to date from the lines they
// touch, so a one-line change never rescans the document; only shortening or removing the
// longest line itself sends the next question back to a full scan. Lines of length 0 never
// become the longest.

void TKzEditStringList::ForgetLongest() {
  fLongestKnown = false;
  fLongestIndex = -1;
}

int TKzEditStringList::CellsOf(std::string_view s) const {
  return std::min(GetExpandedLength(s, fTabWidth), kMaxExpanded);
}

void TKzEditStringList::LongestInserted(int i, int n, std::string_view s) {
  if (!fLongestKnown)
    return;
  if (fLongestIndex >= i)
    fLongestIndex += n;
  const int len = CellsOf(s);
  if (len > fLongestLength) {
    fLongestLength = len;
    fLongestIndex = i;
  }
}

void TKzEditStringList::LongestDeleted(int i, int n) {
  if (!fLongestKnown || fLongestIndex < i)
    return;
  if (fLongestIndex < i + n)
    ForgetLongest();
  else
    fLongestIndex -= n;
}

void TKzEditStringList::LongestReplaced(int i, std::string_view s) {
  if (!fLongestKnown)
    return;
  const int len = CellsOf(s);
  if (i == fLongestIndex) {
    if (len >= fLongestLength)
      fLongestLength = len;
    else
      ForgetLongest();
  } else if (len > fLongestLength) {
    fLongestLength = len;
    fLongestIndex = i;
  }
}

void TKzEditStringList::SetTabWidth(int w) {
  if (w == fTabWidth)
    return;
  fTabWidth = w;
  fConvertTabs = GetBestConvertTabsProc(w);
  ForgetLongest();
  for (int i = 0; i < fCount; ++i) {
    const std::uint8_t flags =
        std::uint8_t((FlagsOf(fList[i].LenFlags) & ~sfNoTabs) | sfLengthUnknown);
    fList[i].LenFlags = Pack(-1, flags);
  }
}

// ---- whole text ----

std::string TKzEditStringList::GetText() const {
  std::size_t total = 0;
  for (int i = 0; i < fCount; ++i)
    total += TextOf(fList[i].Text).size() + 2;
  std::string out;
  out.resize(total);
  char *p = out.data();
  for (int i = 0; i < fCount; ++i) {
    Put(p, TextOf(fList[i].Text));
    *p++ = '\r';
    *p++ = '\n';
  }
  return out;
}

void TKzEditStringList::SetText(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos)
    text = text.substr(0, nul);
  TKzEditUpdateGuard bracket(*this);
  Clear();
  const char *d = text.data();
  const std::size_t n = text.size();
  TBreakScanner breaks(d, n);
  std::size_t p = 0;
  while (p < n) {
    const std::size_t e = breaks.Next(p);
    AddLine(text.substr(p, e - p));
    p = e;
    if (p < n) {
      if (d[p] == '\r' && p + 1 < n && d[p + 1] == '\n')
        p += 2;
      else
        ++p;
    }
  }
}

// Splits already read data into lines; the caller holds the bracket. Reports which break
// characters occurred.
void TKzEditStringList::ParseLines(std::string_view data, bool &sawCr, bool &sawLf) {
  Clear();
  const char *d = data.data();
  const std::size_t n = data.size();
  const bool extraLine = !fTrailingLineBreak && n > 0 && (d[n - 1] == '\r' || d[n - 1] == '\n');
  TBreakScanner breaks(d, n);
  std::size_t p = 0;
  while (p < n) {
    const std::size_t e = breaks.Next(p);
    // What AddLine does, minus its own bracket: the caller's is open.
    const int index = fCount;
    InsertRecord(index, data.substr(p, e - p));
    if (OnLinesInserted)
      OnLinesInserted(index, 1);
    p = e;
    if (p < n && d[p] == '\r') {
      sawCr = true;
      ++p;
    }
    if (p < n && d[p] == '\n') {
      sawLf = true;
      ++p;
    }
  }
  if (extraLine)
    AddLine({});
}

static TKzLineBreakStyle StyleFrom(bool sawCr, bool sawLf) {
  if (sawCr && !sawLf)
    return TKzLineBreakStyle::Cr;
  if (sawLf && !sawCr)
    return TKzLineBreakStyle::Lf;
  return TKzLineBreakStyle::CrLf;
}

void TKzEditStringList::ReadBytes(std::string_view data) {
  bool sawCr = false, sawLf = false;
  {
    TKzEditUpdateGuard bracket(*this);
    ParseLines(data, sawCr, sawLf);
  }
  fLineBreakStyle = StyleFrom(sawCr, sawLf);
}

namespace {

// Bytes read before parsing: a plain growable block, so reading does not first fill the
// memory with zeros the way a resized std::string would.
class TReadBuffer {
public:
  TReadBuffer() = default;
  TReadBuffer(const TReadBuffer &) = delete;
  TReadBuffer &operator=(const TReadBuffer &) = delete;
  ~TReadBuffer() { std::free(fData); }

  // Room for at least n more bytes at the end.
  char *Reserve(std::size_t n) {
    if (fCapacity - fSize < n) {
      const std::size_t want = std::max(fSize + n, fCapacity * 2);
      void *p = nullptr;
#ifdef MADV_HUGEPAGE
      // A big file is read into memory the kernel may back with huge pages: touching 50 MB in
      // 4 KB pages costs more than copying it.
      constexpr std::size_t kHuge = std::size_t(2) << 20;
      if (want >= 2 * kHuge && posix_memalign(&p, kHuge, want) == 0) {
        ::madvise(p, want, MADV_HUGEPAGE);
        if (fSize > 0)
          std::memcpy(p, fData, fSize);
        std::free(fData);
      } else
#endif
      {
        p = std::realloc(fData, want);
      }
      if (!p)
        throw std::bad_alloc();
      fData = static_cast<char *>(p);
      fCapacity = want;
    }
    return fData + fSize;
  }
  std::size_t Room() const { return fCapacity - fSize; }
  void Commit(std::size_t n) { fSize += n; }
  std::string_view View() const { return {fData, fSize}; }

private:
  char *fData = nullptr;
  std::size_t fSize = 0;
  std::size_t fCapacity = 0;
};

} // namespace

void TKzEditStringList::ReadStream(std::istream &stream) {
  bool sawCr = false, sawLf = false;
  {
    TKzEditUpdateGuard bracket(*this);
    TReadBuffer data;
    stream.clear();
    stream.seekg(0, std::ios::end);
    const std::streamoff size = stream ? std::streamoff(stream.tellg()) : -1;
    if (size >= 0) {
      stream.seekg(0, std::ios::beg);
      if (size > 0) {
        stream.read(data.Reserve(std::size_t(size)), size);
        if (!stream || stream.gcount() != size)
          ThrowFileError(EIO);
        data.Commit(std::size_t(size));
      }
    } else {
      // A stream without a known size (a pipe): read what it gives.
      stream.clear();
      for (;;) {
        char *at = data.Reserve(65536);
        stream.read(at, std::streamsize(data.Room()));
        data.Commit(std::size_t(stream.gcount()));
        if (stream.bad())
          ThrowFileError(EIO);
        if (!stream)
          break;
      }
    }
    ParseLines(data.View(), sawCr, sawLf);
  }
  fLineBreakStyle = StyleFrom(sawCr, sawLf);
}

void TKzEditStringList::ReadFile(const std::string &fileName) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    ThrowFileError(errno);
  const kzp::TUniqueFd closer(fd);
  bool sawCr = false, sawLf = false;
  {
    TKzEditUpdateGuard bracket(*this);
    TReadBuffer data;
    struct stat st {};
    // One read for a regular file: its size plus one byte, so the end shows at once.
    std::size_t chunk = 65536;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
      chunk = std::size_t(st.st_size) + 1;
    for (;;) {
      char *at = data.Reserve(chunk);
      const ssize_t got = ::read(fd, at, data.Room());
      if (got < 0) {
        if (errno == EINTR)
          continue;
        ThrowFileError(errno);
      }
      if (got == 0)
        break;
      data.Commit(std::size_t(got));
      chunk = 65536;
    }
    ParseLines(data.View(), sawCr, sawLf);
  }
  fLineBreakStyle = StyleFrom(sawCr, sawLf);
}

void TKzEditStringList::WriteStream(std::ostream &stream) const {
  if (fCount == 0)
    return;
  const std::string_view brk = BreakOf(fLineBreakStyle);
  std::size_t total = 0;
  for (int i = 0; i < fCount; ++i)
    total += TextOf(fList[i].Text).size() + brk.size();
  if (!fTrailingLineBreak)
    total -= brk.size();
  std::string out;
  out.resize(total);
  char *p = out.data();
  for (int i = 0; i < fCount; ++i) {
    Put(p, TextOf(fList[i].Text));
    if (i < fCount - 1 || fTrailingLineBreak)
      Put(p, brk);
  }
  stream.write(out.data(), std::streamsize(out.size()));
  if (!stream)
    ThrowFileError(EIO);
}

void TKzEditStringList::WriteFile(const std::string &fileName) const {
  TKzEditFileWriter writer(fileName);
  writer.LineBreakStyle = fLineBreakStyle;
  for (int i = 0; i < fCount; ++i) {
    if (i < fCount - 1 || fTrailingLineBreak)
      writer.WriteLine(TextOf(fList[i].Text));
    else
      writer.Write(TextOf(fList[i].Text));
  }
  writer.Flush();
}

// ---- file writer ----

TKzEditFiler::TKzEditFiler(const std::string &fileName) : fFileName(fileName) {
  fHandle = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fHandle < 0)
    ThrowFileError(errno);
}

TKzEditFiler::~TKzEditFiler() {
  if (fHandle >= 0)
    ::close(fHandle);
}

TKzEditFileWriter::TKzEditFileWriter(const std::string &fileName)
    : TKzEditFiler(fileName), fBuffer(DefaultBufferSize, '\0') {}

TKzEditFileWriter::~TKzEditFileWriter() {
  try {
    Flush();
  } catch (...) {
    // Nothing can be reported from here; callers that care call Flush themselves.
  }
}

void TKzEditFileWriter::Write(std::string_view bytes) {
  if (fUsed + bytes.size() > fBuffer.size()) {
    Flush();
    if (bytes.size() > fBuffer.size())
      fBuffer.resize(bytes.size());
  }
  if (!bytes.empty())
    std::memcpy(fBuffer.data() + fUsed, bytes.data(), bytes.size());
  fUsed += bytes.size();
}

void TKzEditFileWriter::WriteLine(std::string_view line) {
  Write(line);
  Write(BreakOf(LineBreakStyle));
}

void TKzEditFileWriter::Flush() {
  std::size_t done = 0;
  while (done < fUsed) {
    const ssize_t n = ::write(fHandle, fBuffer.data() + done, fUsed - done);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      const int err = errno;
      // What was not written is dropped so the destructor does not try again.
      fUsed = 0;
      ThrowFileError(err);
    }
    done += std::size_t(n);
  }
  fUsed = 0;
}
