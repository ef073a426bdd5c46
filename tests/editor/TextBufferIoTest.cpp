// Whole-text access of the buffer: text get and set, reading and writing streams and files.
#include "editor/KzEditTextBuffer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using V = std::vector<std::string>;

V Lines(const TKzEditStringList &l) {
  V out;
  for (int i = 0; i < l.Count(); ++i)
    out.push_back(l.GetLine(i));
  return out;
}

struct TRead {
  V Lines;
  TKzLineBreakStyle Style;
};

TRead Read(const std::string &bytes, bool trailing = true) {
  TKzEditStringList l;
  l.SetTrailingLineBreak(trailing);
  std::istringstream in(bytes);
  l.ReadStream(in);
  return {Lines(l), l.LineBreakStyle()};
}

std::string Write(std::initializer_list<const char *> lines, TKzLineBreakStyle style,
                  bool trailing) {
  TKzEditStringList l;
  for (const char *s : lines)
    l.AddLine(s);
  l.SetLineBreakStyle(style);
  l.SetTrailingLineBreak(trailing);
  std::ostringstream out;
  l.WriteStream(out);
  return out.str();
}

// A scratch file that is removed again.
struct TTempFile {
  std::string Path;
  TTempFile() {
    char name[] = "/tmp/kz_editor_model_XXXXXX";
    const int fd = mkstemp(name);
    close(fd);
    Path = name;
  }
  ~TTempFile() { std::remove(Path.c_str()); }
  std::string Bytes() const {
    std::ifstream in(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void Put(const std::string &bytes) const {
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
};

} // namespace

TEST(TextBufferIo, ReadingFindsLinesAndBreakStyle) {
  TRead r = Read("a\r\nb\r\n");
  EXPECT_EQ(r.Lines, (V{"a", "b"}));
  EXPECT_EQ(r.Style, TKzLineBreakStyle::CrLf);
  EXPECT_EQ(Read("a\r\nb\r\n", false).Lines, (V{"a", "b", ""}));
  r = Read("a\nb");
  EXPECT_EQ(r.Lines, (V{"a", "b"}));
  EXPECT_EQ(r.Style, TKzLineBreakStyle::Lf);
  EXPECT_EQ(Read("a\rb").Style, TKzLineBreakStyle::Cr);
  r = Read("a\r\nb\nc");
  EXPECT_EQ(r.Lines, (V{"a", "b", "c"}));
  EXPECT_EQ(r.Style, TKzLineBreakStyle::CrLf); // both seen
  EXPECT_EQ(Read("no break").Style, TKzLineBreakStyle::CrLf);
  EXPECT_EQ(Read("a\n\rb").Lines, (V{"a", "", "b"})); // LF CR ends two lines
  EXPECT_EQ(Read("\n\n").Lines, (V{"", ""}));
  EXPECT_EQ(Read("\n\n", false).Lines, (V{"", "", ""}));
  EXPECT_EQ(Read(std::string("x\0y\n", 4), false).Lines, (V{std::string("x\0y", 3), ""}));
  EXPECT_TRUE(Read("").Lines.empty());
  EXPECT_TRUE(Read("", false).Lines.empty());
}

TEST(TextBufferIo, ReadingReplacesTheContentInOneBracket) {
  TKzEditStringList l;
  l.AddLine("old");
  l.SetLineBreakStyle(TKzLineBreakStyle::Cr);
  std::vector<std::string> events;
  l.OnBeginChange = [&] { events.push_back("begin"); };
  l.OnEndChange = [&] { events.push_back("end"); };
  l.OnLinesCleared = [&] { events.push_back("cleared"); };
  l.OnLinesInserted = [&](int i, int n) {
    events.push_back("ins" + std::to_string(i) + "," + std::to_string(n));
  };
  std::istringstream in("p\r\nq");
  l.ReadStream(in);
  EXPECT_EQ(Lines(l), (V{"p", "q"}));
  EXPECT_EQ(l.LineBreakStyle(), TKzLineBreakStyle::CrLf);
  EXPECT_EQ(events, (V{"begin", "cleared", "ins0,1", "ins1,1", "end"}));
}

TEST(TextBufferIo, WritingUsesTheStyleAndTheTrailingBreak) {
  EXPECT_EQ(Write({"a", "b"}, TKzLineBreakStyle::Lf, true), "a\nb\n");
  EXPECT_EQ(Write({"a", "b"}, TKzLineBreakStyle::Lf, false), "a\nb");
  EXPECT_EQ(Write({"a", "", "b"}, TKzLineBreakStyle::CrLf, true), "a\r\n\r\nb\r\n");
  EXPECT_EQ(Write({"a", "b"}, TKzLineBreakStyle::Cr, false), "a\rb");
  EXPECT_EQ(Write({""}, TKzLineBreakStyle::CrLf, false), "");
  EXPECT_EQ(Write({""}, TKzLineBreakStyle::CrLf, true), "\r\n");
  EXPECT_EQ(Write({}, TKzLineBreakStyle::CrLf, true), "");
}

TEST(TextBufferIo, TextGetAndSet) {
  TKzEditStringList l;
  l.SetText("x\r\n");
  EXPECT_EQ(Lines(l), (V{"x"}));
  l.SetText("");
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.GetText(), "");
  l.SetText("x\ny\rz\r\n\r\nw");
  EXPECT_EQ(Lines(l), (V{"x", "y", "z", "", "w"}));
  l.SetText(std::string("ab\ncd\0ef\ngh", 11)); // the text ends at the NUL
  EXPECT_EQ(Lines(l), (V{"ab", "cd"}));
  l.SetText("\r\n");
  EXPECT_EQ(Lines(l), (V{""}));
  l.SetText("x\r\ny");
  EXPECT_EQ(l.GetText(), "x\r\ny\r\n");
}

TEST(TextBufferIo, SetTextIsOneBracketWithClearFirst) {
  TKzEditStringList l;
  l.AddLine("old");
  int begins = 0, ends = 0, cleared = 0, inserted = 0;
  l.OnBeginChange = [&] { ++begins; };
  l.OnEndChange = [&] { ++ends; };
  l.OnLinesCleared = [&] {
    EXPECT_EQ(inserted, 0);
    ++cleared;
  };
  l.OnLinesInserted = [&](int, int) { ++inserted; };
  l.SetText("a\nb\nc");
  EXPECT_EQ(begins, 1);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(inserted, 3);
}

TEST(TextBufferIo, FilesRoundTripAndReportErrorsInGerman) {
  TTempFile f;
  TKzEditStringList l;
  l.SetText("eins\r\nzwei\r\n");
  l.SetLineBreakStyle(TKzLineBreakStyle::Lf);
  l.WriteFile(f.Path);
  EXPECT_EQ(f.Bytes(), "eins\nzwei\n");
  l.SetTrailingLineBreak(false);
  l.WriteFile(f.Path); // truncates
  EXPECT_EQ(f.Bytes(), "eins\nzwei");

  f.Put("r1\rr2\r");
  TKzEditStringList m;
  m.ReadFile(f.Path);
  EXPECT_EQ(Lines(m), (V{"r1", "r2"}));
  EXPECT_EQ(m.LineBreakStyle(), TKzLineBreakStyle::Cr);

  try {
    m.ReadFile("/nonexistent-dir/none.txt");
    FAIL() << "no error";
  } catch (const EKzEditFileError &e) {
    EXPECT_STREQ(e.what(), "Datei nicht gefunden");
  }
  try {
    m.WriteFile("/nonexistent-dir/none.txt");
    FAIL() << "no error";
  } catch (const EKzEditFileError &e) {
    EXPECT_STREQ(e.what(), "Datei nicht gefunden");
  }
  try {
    m.ReadFile("/tmp"); // a folder opens but cannot be read
    FAIL() << "no error";
  } catch (const EKzEditFileError &e) {
    EXPECT_STREQ(e.what(), "Ist ein Ordner, keine Datei (E/A-Fehler 21)");
  }
  // A write that fails is reported, not lost in the writer's destructor.
  try {
    m.WriteFile("/dev/full");
    FAIL() << "no error";
  } catch (const EKzEditFileError &e) {
    EXPECT_STREQ(e.what(), "Kein Speicherplatz mehr auf dem Datenträger (E/A-Fehler 28)");
  }
  // A failed read leaves the lines and the style as they were.
  EXPECT_EQ(Lines(m), (V{"r1", "r2"}));
  EXPECT_EQ(m.LineBreakStyle(), TKzLineBreakStyle::Cr);
}

TEST(TextBufferIo, FailedStreamReadLeavesTheBufferUnchanged) {
  TKzEditStringList l;
  l.AddLine("keep");
  // A stream that fails while being sized and read.
  struct TBrokenBuf : std::streambuf {
    pos_type seekoff(off_type, std::ios::seekdir, std::ios::openmode) override { return 100; }
    pos_type seekpos(pos_type, std::ios::openmode) override { return 0; }
    int_type underflow() override { return traits_type::eof(); }
  } broken;
  std::istream bad(&broken);
  int ends = 0;
  l.OnEndChange = [&] { ++ends; };
  EXPECT_THROW(l.ReadStream(bad), EKzEditFileError);
  EXPECT_EQ(Lines(l), (V{"keep"}));
  EXPECT_EQ(ends, 1); // the bracket was closed
}

TEST(TextBufferIo, StreamsWithoutASizeAreReadToTheEnd) {
  // A pipe-like stream: no seeking, data handed out as it comes.
  struct TPipeBuf : std::streambuf {
    std::string Data;
    explicit TPipeBuf(std::string d) : Data(std::move(d)) {
      setg(Data.data(), Data.data(), Data.data() + Data.size());
    }
  };
  std::string big;
  for (int i = 0; i < 20000; ++i)
    big += "row " + std::to_string(i) + "\n";
  TPipeBuf pipe(big);
  std::istream in(&pipe);
  TKzEditStringList l;
  l.ReadStream(in);
  ASSERT_EQ(l.Count(), 20000);
  EXPECT_EQ(l.GetLine(19999), "row 19999");
  EXPECT_EQ(l.LineBreakStyle(), TKzLineBreakStyle::Lf);
}

TEST(TextBufferIo, FileWriterBuffersAndGrowsForLargePieces) {
  TTempFile f;
  {
    TKzEditFileWriter w(f.Path);
    w.LineBreakStyle = TKzLineBreakStyle::CrLf;
    EXPECT_EQ(w.BufferSize(), 16384u);
    w.WriteLine("head");
    EXPECT_EQ(f.Bytes(), ""); // still in the buffer
    const std::string big(20000, 'x');
    w.Write(big);
    EXPECT_EQ(w.BufferSize(), 20000u);
    EXPECT_EQ(f.Bytes(), "head\r\n"); // flushed before the big piece
    w.Write("tail");
  } // the destructor flushes the rest
  const std::string bytes = f.Bytes();
  EXPECT_EQ(bytes.size(), 6u + 20000u + 4u);
  EXPECT_EQ(bytes.substr(bytes.size() - 5), "xtail");

  // Many lines crossing the buffer boundary come out whole and in order.
  TKzEditStringList l;
  std::string expect;
  for (int i = 0; i < 5000; ++i) {
    l.AddLine("line " + std::to_string(i));
    expect += "line " + std::to_string(i) + "\r\n";
  }
  l.WriteFile(f.Path);
  EXPECT_EQ(f.Bytes(), expect);
}
