// Random edits in all three selection modes, then the whole history undone and redone: every
// undo must land on a text the editor really had, in reverse order, and redo must come back
// to the last one. Seeds are fixed so that a failure repeats.
#include "EditFixture.h"

#include <random>

namespace {

// Some runs compare the texts on the way without trailing blanks, so that they are about the
// text itself; where a run ends, undone or redone, it is compared exactly all the same.
std::string WithoutTrailingBlanks(const std::string &text) {
  std::string out, line;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
      while (!line.empty() && line.back() == ' ')
        line.pop_back();
      out += line;
      if (i < text.size())
        out += text[i];
      line.clear();
    } else {
      line += text[i];
    }
  }
  return out;
}

struct TRun {
  bool Tabs;       // tabs in the text and in what is typed
  bool ColumnMode; // whether the column selection mode is chosen too
  bool Trimmed;    // compare without trailing blanks
};

class TRandomEditor {
public:
  TRandomEditor(TCustomKzEdit &ed, unsigned seed, const TRun &run) : Ed(ed), Rng(seed), Run(run) {}

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Rng); }

  std::string SomeText() {
    const std::string alphabet = Run.Tabs ? "ab \t(x)<>_Z9" : "ab (x)<>_Z9";
    std::string s;
    int n = Pick(0, 6);
    for (int i = 0; i < n; ++i) {
      int k = Pick(0, int(alphabet.size()) + 1);
      if (k == int(alphabet.size()))
        s += "\r\n";
      else if (k == int(alphabet.size()) + 1)
        s += "\n";
      else
        s += alphabet[std::size_t(k)];
    }
    return s;
  }

  TBufferCoord SomePoint() {
    int lines = std::max(Ed.Lines().Count(), 1);
    int y = Pick(1, lines);
    return {Pick(1, Ed.Lines().LineLength(y - 1) + 4), y};
  }

  void Step() {
    switch (Pick(0, 21)) {
    case 0: Ed.SetCaretPos(SomePoint()); break;
    case 1: {
      TBufferCoord a = SomePoint(), b = SomePoint();
      Ed.SetCaretAndSelection(b, a, b);
      break;
    }
    case 2: Ed.SetSelectionMode(TKzSelectionMode(Pick(0, Run.ColumnMode ? 2 : 1))); break;
    case 3:
    case 4: Ed.ProcessCommand(ecChar, "ax ("[Pick(0, 3)]); break;
    case 5: Ed.ProcessCommand(ecLineBreak); break;
    case 6: Ed.ProcessCommand(ecDeleteLastChar); break;
    case 7: Ed.ProcessCommand(ecDeleteChar); break;
    case 8: Ed.ProcessCommand(ecTab); break;
    case 9: Ed.ProcessCommand(ecShiftTab); break;
    case 10: Ed.SetSelectedText(SomeText()); break;
    case 11: Ed.ProcessCommand(ecCut); break;
    case 12: Ed.ProcessCommand(ecCopy); break;
    case 13: Ed.ProcessCommand(ecPaste); break;
    case 14: Ed.ProcessCommand(ecBlockIndent); break;
    case 15: Ed.ProcessCommand(ecBlockUnindent); break;
    case 16:
      Ed.ProcessCommand(TKzEditorCommand(Pick(0, 1) ? ecDeleteWord : ecDeleteLastWord));
      break;
    case 17: Ed.ProcessCommand(TKzEditorCommand(Pick(0, 1) ? ecDeleteLine : ecDeleteEOL)); break;
    case 18:
      Ed.ProcessCommand(TKzEditorCommand(Pick(0, 1) ? ecUpperCase : ecToggleCaseBlock));
      break;
    case 19: Ed.ProcessCommand(ecInsertLine); break;
    case 20: Ed.ProcessCommand(ecToggleMode); break;
    case 21: Ed.ProcessCommand(TKzEditorCommand(Pick(ecLeft, ecEditorBottom))); break;
    }
  }

  TCustomKzEdit &Ed;
  std::mt19937 Rng;
  TRun Run;
};

// Runs `steps` random edits and checks the history. Returns a description of the first fault.
std::string RunHistory(TCustomKzEdit &ed, unsigned seed, int steps, const TRun &run) {
  ed.SetText(run.Tabs ? "<p>\r\n\tab cd\r\n    x(y)\r\n\r\nend"
                      : "<p>\r\n  ab cd\r\n    x(y)\r\n\r\nend");
  ed.SetSelectionMode(smNormal);
  ed.SetMaxUndo(1 << 20);
  auto text = [&] { return run.Trimmed ? WithoutTrailingBlanks(ed.Text()) : ed.Text(); };
  TRandomEditor r(ed, seed, run);
  std::vector<std::string> texts{text()};
  const std::string original = ed.Text();
  for (int i = 0; i < steps; ++i) {
    r.Step();
    if (text() != texts.back())
      texts.push_back(text());
  }
  const std::string last = ed.Text();
  // Each undo goes back to one of the texts seen, never forward and never elsewhere.
  std::size_t at = texts.size() - 1;
  int guard = 0;
  while (ed.UndoAvailable() && ++guard < 100000) {
    ed.Undo();
    std::string now = text();
    while (at > 0 && texts[at] != now)
      --at;
    if (texts[at] != now)
      return "seed " + std::to_string(seed) + ": undo reached a text never seen: " + now;
  }
  // Whatever trimming did on the way, the ends are exact to the byte.
  if (ed.Text() != original)
    return "seed " + std::to_string(seed) + ": undoing everything gave " + ed.Text();
  while (ed.RedoAvailable() && ++guard < 200000)
    ed.Redo();
  if (ed.Text() != last)
    return "seed " + std::to_string(seed) + ": redoing everything gave " + ed.Text() +
           " instead of " + last;
  return std::string();
}

} // namespace

// Each seed on a fresh editor and clipboard, so that a failing seed repeats on its own.
class RandomEditFixture : public EditFixture {
protected:
  std::string Run(unsigned seed, const TRun &run, TKzEditorOptions options) {
    TFakeHost host;
    std::unique_ptr<TCustomKzEdit> ed = MakeEditor(host);
    ed->SetOptions(options);
    return RunHistory(*ed, seed, 120, run);
  }
};

TEST_F(RandomEditFixture, RandomEditsInAllModesUndoAndRedoThroughTheTextsTheyMade) {
  for (unsigned seed = 1; seed <= 600; ++seed)
    EXPECT_EQ(Run(seed, {false, true, true}, KzEditDefaultOptions), "");
}

TEST_F(RandomEditFixture, RandomEditsOnTextWithTabsUndoAndRedoInNormalAndLineMode) {
  for (unsigned seed = 1; seed <= 600; ++seed)
    EXPECT_EQ(Run(seed, {true, false, true}, KzEditDefaultOptions), "");
}

TEST_F(RandomEditFixture, RandomEditsWithoutGroupingOrTrimmingGiveBackEveryBlank) {
  const TKzEditorOptions options =
      (KzEditDefaultOptions - TKzEditorOptions{eoGroupUndo, eoTrimTrailingSpaces}) |
      TKzEditorOptions{eoTabIndent};
  for (unsigned seed = 1; seed <= 600; ++seed)
    EXPECT_EQ(Run(seed, {false, true, false}, options), "");
}

TEST_F(RandomEditFixture, RandomEditsOnTextWithTabsInAllModesGiveBackEveryByte) {
  // Rectangles whose edges cut through tabs, and lines whose blanks trimming takes or not.
  const TKzEditorOptions untrimmed =
      (KzEditDefaultOptions - TKzEditorOptions{eoGroupUndo, eoTrimTrailingSpaces}) |
      TKzEditorOptions{eoTabIndent};
  for (unsigned seed = 1; seed <= 300; ++seed) {
    EXPECT_EQ(Run(seed, {true, true, false}, KzEditDefaultOptions), "");
    EXPECT_EQ(Run(seed, {true, true, false}, untrimmed), "");
  }
}
