// The editor's document: an ordered list of 8-bit lines with per-line highlighter state and
// cached tab expansion, plus whole-text reading and writing with line-break detection.
#pragma once

#include "editor/KzEditGuards.h"
#include "editor/KzEditMiscProcs.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

// The buffer's own error kind: a bad line index ("Invalid stringlist index %d") or a capacity
// below the line count. The buffer is unchanged when it is raised.
class EKzEditStringList : public std::runtime_error {
public:
  explicit EKzEditStringList(const std::string &message, int index = -1)
      : std::runtime_error(message), Index(index) {}
  int Index; // the offending index, -1 for the capacity error
};

// A file could not be opened, read or written. what() is the German message to show
// ("Datei nicht gefunden", "Zugriff verweigert", "E/A-Fehler %d").
class EKzEditFileError : public std::runtime_error {
public:
  EKzEditFileError(const std::string &message, int error)
      : std::runtime_error(message), ErrorCode(error) {}
  int ErrorCode; // errno of the failing call, 0 when the failure had none
};

enum class TKzLineBreakStyle : std::uint8_t { CrLf = 0, Lf = 1, Cr = 2 };

// Tab knowledge of a line; bit values.
enum TKzStringFlag : std::uint8_t {
  sfTabsFound = 1,     // the line contains at least one tab
  sfNoTabs = 2,        // the expanded form is the text itself
  sfLengthUnknown = 4, // the cached expanded length is stale
};

// One line. The record is plain data (the text is a pointer to a block the list owns) so that
// inserting and deleting move whole runs of records with one memmove; a std::string member
// would not survive being moved that way, because a short string points into itself.
struct TKzEditStringRec {
  char *Text;             // owned block: 4-byte length, then the bytes; null for an empty line
  void *Object;           // caller's attachment, never owned or looked at
  std::uint32_t Range;    // highlighter state at the end of the line, opaque here
  std::uint32_t LenFlags; // expanded length (signed, upper 29 bits) and TKzStringFlag bits
};

class TKzEditStringList {
public:
  using TNotify = std::function<void()>;
  using TLinesNotify = std::function<void(int index, int count)>;

  TKzEditStringList();
  // Detaches OnBeginChange/OnEndChange, then frees the lines without raising OnLinesCleared.
  ~TKzEditStringList();
  TKzEditStringList(const TKzEditStringList &) = delete;
  TKzEditStringList &operator=(const TKzEditStringList &) = delete;

  int Count() const { return fCount; }
  int Capacity() const { return fCapacity; }
  // Raises EKzEditStringList when c is below Count(); otherwise reallocates to exactly c.
  void SetCapacity(int c);

  // The text of line i; empty for an index outside the list.
  std::string GetLine(int i) const;
  // The same without a copy; valid until the line is changed or removed.
  std::string_view LineView(int i) const;
  int LineLength(int i) const { return int(LineView(i).size()); }

  int AddLine(std::string_view s);            // returns the new index
  void InsertLine(int i, std::string_view s); // 0 <= i <= Count()
  void AddLines(const TKzEditStringList &source);
  void InsertEmptyLines(int i, int n); // zero-filled records: range 0, known length 0
  void DeleteLine(int i);
  void DeleteLines(int i, int n);              // n is clamped to Count() - i
  void ReplaceLine(int i, std::string_view s); // i == Count() appends; keeps range and object
  void ExchangeLines(int i, int j);
  void Clear();

  void *LineObject(int i) const; // null outside the list
  void SetLineObject(int i, void *p);
  std::uint32_t LineRange(int i) const; // 0 outside the list
  void SetLineRange(int i, std::uint32_t r);

  // Tab expansion: tabs become runs of tab characters up to the next tab stop (one space
  // each when the width is 1 or less); cached per line.
  std::string ExpandedLine(int i) const;
  int ExpandedLength(int i) const; // 0 outside the list
  int LongestLineLength() const;   // 0 when every line is empty
  int TabWidth() const { return fTabWidth; }
  void SetTabWidth(int w);
  // The raw per-line state, for the painter and for tests: flags are TKzStringFlag bits.
  std::uint8_t LineFlags(int i) const;

  // All lines, each followed by CR LF; empty for an empty list.
  std::string GetText() const;
  // Clears, then adds the pieces between CR, LF or CR LF breaks; the text ends at its end or
  // at the first NUL; a final break does not make an empty last line.
  void SetText(std::string_view text);

  TKzLineBreakStyle LineBreakStyle() const { return fLineBreakStyle; }
  void SetLineBreakStyle(TKzLineBreakStyle s) { fLineBreakStyle = s; }
  bool TrailingLineBreak() const { return fTrailingLineBreak; }
  void SetTrailingLineBreak(bool b) { fTrailingLineBreak = b; }

  // Replace the whole content with the stream's or file's bytes and set the line-break style
  // from what was seen. The data is read completely before anything is cleared, so a failed
  // read leaves the list as it was. Stream failures raise EKzEditFileError.
  void ReadStream(std::istream &stream);
  void ReadFile(const std::string &fileName);
  // Parses already read bytes exactly as ReadStream does.
  void ReadBytes(std::string_view data);
  // Write every line followed by the style's break (the last one only with TrailingLineBreak);
  // the stream gets one write, the file goes through TKzEditFileWriter.
  void WriteStream(std::ostream &stream) const;
  void WriteFile(const std::string &fileName) const;

  // Change brackets nest; only the outermost raises OnBeginChange / OnEndChange.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return fUpdateCount; }

  TNotify OnBeginChange, OnEndChange, OnLinesCleared;
  TLinesNotify OnLinesDeleted, OnLinesInserted, OnLineReplaced;

private:
  void CheckIndex(int i, int limit) const;
  void Grow();
  void Reallocate(int capacity);
  void InsertRecord(int i, std::string_view s);
  void ExpandCache(int i) const;
  void FreeLines(int first, int count);
  void ParseLines(std::string_view data, bool &sawCr, bool &sawLf);
  void ForgetLongest();
  int CellsOf(std::string_view s) const;
  void LongestInserted(int i, int n, std::string_view s);
  void LongestDeleted(int i, int n);
  void LongestReplaced(int i, std::string_view s);

  TKzEditStringRec *fList = nullptr;
  int fCount = 0;
  int fCapacity = 0;
  int fUpdateCount = 0;
  int fTabWidth = 8;
  TConvertTabsProc fConvertTabs;
  // The longest line: known once a scan found it, then kept up to date by the edits.
  mutable bool fLongestKnown = false;
  mutable int fLongestIndex = -1; // -1 with fLongestKnown: every line is empty
  mutable int fLongestLength = 0;
  TKzLineBreakStyle fLineBreakStyle = TKzLineBreakStyle::CrLf;
  bool fTrailingLineBreak = true;
};

// Holds a list's change bracket open for a scope: one OnEndChange for many edits.
class TKzEditUpdateGuard {
public:
  explicit TKzEditUpdateGuard(TKzEditStringList &lines) : FLines(lines) { FLines.BeginUpdate(); }
  // The outermost close runs the listener's OnEndChange (the highlighter rescan), which may
  // throw; see KzReleaseGuard.
  ~TKzEditUpdateGuard() noexcept(false) {
    KzReleaseGuard([this] { FLines.EndUpdate(); });
  }
  TKzEditUpdateGuard(const TKzEditUpdateGuard &) = delete;
  TKzEditUpdateGuard &operator=(const TKzEditUpdateGuard &) = delete;

private:
  TKzEditStringList &FLines;
};

// Base of the buffered file writers: owns the open file.
class TKzEditFiler {
public:
  explicit TKzEditFiler(const std::string &fileName); // creates or truncates
  virtual ~TKzEditFiler();
  TKzEditFiler(const TKzEditFiler &) = delete;
  TKzEditFiler &operator=(const TKzEditFiler &) = delete;

protected:
  int fHandle = -1;
  std::string fFileName;
};

// Writes lines through a 16384-byte buffer; a piece larger than the buffer enlarges it.
// Flush reports a failed write; the destructor flushes what is left but cannot report.
class TKzEditFileWriter : public TKzEditFiler {
public:
  static constexpr std::size_t DefaultBufferSize = 16384;

  explicit TKzEditFileWriter(const std::string &fileName);
  ~TKzEditFileWriter() override;

  TKzLineBreakStyle LineBreakStyle = TKzLineBreakStyle::CrLf;
  void Write(std::string_view bytes);
  void WriteLine(std::string_view line); // the line and the style's break
  void Flush();
  std::size_t BufferSize() const { return fBuffer.size(); }

private:
  std::string fBuffer; // its size is the buffer's capacity; fUsed bytes are pending
  std::size_t fUsed = 0;
};
