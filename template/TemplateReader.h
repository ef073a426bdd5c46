// Reads the template language of the pages: variables, language texts, includes, conditions
// and loops, each construct with the line and column it starts at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class TTplKind : std::uint8_t {
  Text,      // page text between two constructs, passed on as it is
  Variable,  // %%name%%
  Lang,      // %%LANGnnn%%: a text of the language list, by number
  Include,   // %%INCLUDE:name%%
  If,        // %%IF:name%%
  Else,      // %%ELSE%%
  EndIf,     // %%ENDIF%%
  Loop,      // %%LOOP:name%%
  EndLoop,   // %%ENDLOOP%%
  Directive, // %%WORD:argument%% with a word the language does not have
  Unclosed,  // a "%%" that no "%%" closes on its line; it stays page text
};

// One construct or run of text. Positions are byte offsets into the text that was read;
// lines and columns count from 1, a column being the byte's place in its line, as the
// editor's caret counts.
struct TTplToken {
  TTplKind Kind = TTplKind::Text;
  std::size_t Offset = 0, Length = 0;
  std::uint32_t Line = 1, Column = 1;
  // The name of a variable, language text, IF or LOOP, the template an INCLUDE names, the
  // word of an unknown directive; empty otherwise. Relative to Offset.
  std::uint32_t NameOffset = 0, NameLength = 0;

  std::string_view Name(std::string_view text) const {
    return text.substr(Offset + NameOffset, NameLength);
  }
  std::size_t End() const { return Offset + Length; }
};

// Line and column of byte offsets in a text, for offsets given in rising order. CR LF, LF
// and a CR on its own each end a line, as in the editor.
class TLineCounter {
public:
  explicit TLineCounter(std::string_view text) : text_(text) {}
  // Counts the line breaks before `offset`; offsets must not go backwards.
  void MoveTo(std::size_t offset);
  std::uint32_t Line() const { return line_; }
  // The column of `offset` on the line MoveTo(offset) reached.
  std::uint32_t ColumnOf(std::size_t offset) const {
    return static_cast<std::uint32_t>(offset - lineStart_ + 1);
  }

private:
  std::string_view text_;
  std::size_t counted_ = 0;   // line breaks before this offset are counted
  std::size_t lineStart_ = 0; // first byte of the line `counted_` lies on
  std::uint32_t line_ = 1;
};

// Walks a template's text once, front to back. Nothing is allocated: tokens point into the
// text, which must outlive the reader.
//
// The rules: a construct is "%%", a name, "%%" on one line. A name is made of letters,
// digits and "_ : . / -" (and bytes from 128 on, the code page's letters). A "%%" directly
// followed by a third "%" leaves its first "%" as text (so "%%%x%%" is "%" and then %%x%%,
// and "100%%%" after a construct is a plain percent sign). Any other "%%" that does not
// start a construct is Unclosed. CR LF, LF and a CR on its own each end a line.
class TTemplateReader {
public:
  explicit TTemplateReader(std::string_view text) : text_(text), lines_(text) {}

  // The next token, false at the end of the text.
  bool Next(TTplToken &token);

  std::string_view Text() const { return text_; }

private:
  // Finds the next "%%" that is not a literal percent sign from `from` on; fills `token`
  // with the construct there (its line and column not yet set) and returns its offset,
  // or the text's size when there is none.
  std::size_t FindConstruct(std::size_t from, TTplToken &token) const;
  // Sets the line and column of a token starting at `offset`.
  void Place(TTplToken &token, std::size_t offset);

  std::string_view text_;
  TLineCounter lines_;
  std::size_t pos_ = 0;
  bool havePending_ = false;
  TTplToken pending_;
};

// The path that follows a %%tpl_url%% ending at `end`: the bytes up to a blank, a quote,
// "<", ">", "(", ")", "?", "#", "%" or the end of the line. Empty when a variable follows
// the path directly ("%%tpl_url%%img/%%name%%.gif"): that path is only known when the page
// is built.
std::string_view TplUrlPathAt(std::string_view text, std::size_t end);

// True for a template the application serves as it is, with no variable replaced: a
// style sheet, whose name ends in ".css" (in any case).
bool IsStyleSheetName(std::string_view name);
