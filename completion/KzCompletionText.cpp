// Parsing, drawing and measuring of formatted item text, and the parameter-list formatting.
#include "completion/KzCompletionText.h"

#include "platform/Hex.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace {

struct TColorIdent {
  const char *Name;
  kzp::TColor Value;
};

// The names an entry may give to "\color{...}", with the values of the desktop's colour
// constants; system colours carry the platform's colour index in the low byte.
constexpr std::array<TColorIdent, 52> kColorIdents{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", kzp::clNone},
    {"clDefault", kzp::clDefault},
    {"clScrollBar", 0xFF000000},
    {"clBackground", 0xFF000001},
    {"clActiveCaption", 0xFF000002},
    {"clInactiveCaption", 0xFF000003},
    {"clMenu", 0xFF000004},
    {"clWindow", 0xFF000005},
    {"clWindowFrame", 0xFF000006},
    {"clMenuText", 0xFF000007},
    {"clWindowText", 0xFF000008},
    {"clCaptionText", 0xFF000009},
    {"clActiveBorder", 0xFF00000A},
    {"clInactiveBorder", 0xFF00000B},
    {"clAppWorkSpace", 0xFF00000C},
    {"clHighlight", 0xFF00000D},
    {"clHighlightText", 0xFF00000E},
    {"clBtnFace", 0xFF00000F},
    {"clBtnShadow", 0xFF000010},
    {"clGrayText", 0xFF000011},
    {"clBtnText", 0xFF000012},
    {"clInactiveCaptionText", 0xFF000013},
    {"clBtnHighlight", 0xFF000014},
    {"cl3DDkShadow", 0xFF000015},
    {"cl3DLight", 0xFF000016},
    {"clInfoText", 0xFF000017},
    {"clInfoBk", 0xFF000018},
    {"clHotLight", 0xFF00001A},
    {"clGradientActiveCaption", 0xFF00001B},
    {"clGradientInactiveCaption", 0xFF00001C},
    {"clMenuHighlight", 0xFF00001D},
    {"clMenuBar", 0xFF00001E},
}};

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The command table: the kind a name stands for and whether its argument is accepted; fills
// the chunk's data.
bool AcceptCommand(std::string_view upperName, std::string_view arg, TFormatChunk &chunk) {
  if (upperName == "COLOR") {
    chunk.Kind = ckColor;
    if (std::optional<kzp::TColor> c = ColorOfIdent(arg)) {
      chunk.Data = *c;
      return true;
    }
    if (std::optional<std::int64_t> v = ParseCommandInteger(arg)) {
      chunk.Data = static_cast<kzp::TColor>(static_cast<std::uint32_t>(*v));
      return true;
    }
    return false;
  }
  if (upperName == "COLUMN") {
    chunk.Kind = ckColumn;
    return arg.empty();
  }
  if (upperName == "HSPACE" || upperName == "IMAGE") {
    chunk.Kind = upperName == "HSPACE" ? ckHSpace : ckImage;
    std::optional<std::int64_t> v = ParseCommandInteger(arg);
    if (!v)
      return false;
    chunk.Data = *v;
    return true;
  }
  if (upperName == "STYLE") {
    chunk.Kind = ckStyle;
    if (arg.size() != 2)
      return false;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(arg[1])));
    if (letter != 'B' && letter != 'I' && letter != 'S' && letter != 'U')
      return false;
    switch (arg[0]) {
    case '+': chunk.StyleChange.Action = 1; break;
    case '-': chunk.StyleChange.Action = -1; break;
    case '~': chunk.StyleChange.Action = 0; break;
    default: return false;
    }
    chunk.StyleChange.Style = letter;
    return true;
  }
  return false;
}

// The parser proper. `text(pending)` receives each text chunk, `command(chunk)` each accepted
// command that is not stripped. Text chunks are handed over as the pending buffer itself, so
// a caller that only wants the text can take it without a chunk list.
template <class TextSink, class CommandSink>
void ParseInto(std::string_view s, TFormatChunkKinds strip, std::string &pending, TextSink &&text,
               CommandSink &&command) {
  pending.clear();
  const std::size_t n = s.size();
  std::size_t pos = 0;
  auto flush = [&] {
    if (!pending.empty()) {
      text(pending);
      pending.clear();
    }
  };
  while (pos < n) {
    if (s[pos] != '\\') {
      std::size_t next = s.find('\\', pos);
      if (next == std::string_view::npos)
        next = n;
      pending.append(s.substr(pos, next - pos));
      pos = next;
      continue;
    }
    ++pos; // past the backslash
    if (pos < n && s[pos] == '\\') {
      pending.push_back('\\');
      ++pos;
      continue;
    }
    flush();
    const std::size_t open = s.find('{', pos);
    if (open == std::string_view::npos)
      return; // a name without "{" takes the rest of the entry with it
    const std::size_t close = s.find('}', open + 1);
    if (close == std::string_view::npos)
      return; // so does an argument without "}"
    std::string name(s.substr(pos, open - pos));
    for (char &c : name)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    TFormatChunk chunk;
    if (AcceptCommand(name, s.substr(open + 1, close - open - 1), chunk) &&
        !strip.Contains(chunk.Kind))
      command(std::move(chunk));
    pos = close + 1;
  }
  flush();
}

kzp::TFontStyles StyleFlagOf(char letter) {
  switch (letter) {
  case 'B': return kzp::fsBold;
  case 'I': return kzp::fsItalic;
  case 'S': return kzp::fsStrikeOut;
  default: return kzp::fsUnderline;
  }
}

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// The brush goes back to solid when a walk ends, however it ends.
class TSolidBrushAtEnd {
public:
  explicit TSolidBrushAtEnd(kzp::TCanvas &canvas) : FCanvas(canvas) {}
  ~TSolidBrushAtEnd() { FCanvas.SetBrushStyle(kzp::TBrushStyle::bsSolid); }
  TSolidBrushAtEnd(const TSolidBrushAtEnd &) = delete;
  TSolidBrushAtEnd &operator=(const TSolidBrushAtEnd &) = delete;

private:
  kzp::TCanvas &FCanvas;
};

} // namespace

std::optional<kzp::TColor> ColorOfIdent(std::string_view name) {
  for (const TColorIdent &c : kColorIdents)
    if (SameTextAscii(name, c.Name))
      return c.Value;
  return std::nullopt;
}

std::optional<std::int64_t> ParseCommandInteger(std::string_view text) {
  if (text.empty())
    return std::nullopt;
  if (text[0] == '$') {
    if (text.size() < 2 || text.size() > 9)
      return std::nullopt;
    std::uint32_t v = 0;
    for (char c : text.substr(1)) {
      const int h = kzp::HexDigitValue(c);
      if (h < 0)
        return std::nullopt;
      v = (v << 4) | static_cast<std::uint32_t>(h);
    }
    // Eight hex digits fill all 32 bits, the top one being the sign, as the desktop reads them.
    return static_cast<std::int64_t>(static_cast<std::int32_t>(v));
  }
  std::size_t i = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size())
    return std::nullopt;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9')
      return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > std::int64_t(INT_MAX) + 1)
      return std::nullopt;
  }
  if (negative)
    v = -v;
  if (v > INT_MAX || v < INT_MIN)
    return std::nullopt;
  return v;
}

void ParseFormattedText(std::string_view text, TFormatChunkList &list, TFormatChunkKinds strip) {
  std::string pending;
  ParseInto(
      text, strip, pending,
      [&](std::string &t) {
        TFormatChunk chunk;
        chunk.Kind = ckText;
        chunk.Text = t;
        list.Add(std::move(chunk));
      },
      [&](TFormatChunk &&chunk) { list.Add(std::move(chunk)); });
}

int RenderChunks(kzp::TCanvas &canvas, const kzp::TRect &rect, const TFormatChunkList &chunks,
                 const TProposalColumns *columns, TKzImageList *images, bool measureOnly) {
  TCanvasFontGuard font(canvas);
  TSolidBrushAtEnd brush(canvas);
  int column = -1;
  if (columns && columns->Count() > 0) {
    column = 0;
    canvas.SetFontStyle((*columns)[0].DefaultFontStyle);
  }
  std::int64_t x = rect.Left;
  std::int64_t columnStart = rect.Left;
  canvas.SetBrushStyle(kzp::TBrushStyle::bsClear);
  for (const TFormatChunk &chunk : chunks) {
    switch (chunk.Kind) {
    case ckText:
      if (!measureOnly)
        canvas.TextOut(ClampToInt(x), rect.Top, chunk.Text);
      x += canvas.TextWidth(chunk.Text);
      if (x > rect.Right)
        return ClampToInt(x);
      break;
    case ckColor:
      if (!measureOnly)
        canvas.SetFontColor(static_cast<kzp::TColor>(chunk.Data));
      break;
    case ckStyle: {
      const kzp::TFontStyles flag = StyleFlagOf(chunk.StyleChange.Style);
      kzp::TFontStyles style = canvas.Font().Style;
      if (chunk.StyleChange.Action > 0)
        style |= flag;
      else if (chunk.StyleChange.Action < 0)
        style &= static_cast<kzp::TFontStyles>(~flag);
      else
        style ^= flag;
      canvas.SetFontStyle(style);
      break;
    }
    case ckColumn:
      if (column < 0)
        break;
      columnStart += canvas.TextWidth((*columns)[column].BiggestWord + " ");
      x = columnStart;
      if (++column < columns->Count())
        canvas.SetFontStyle((*columns)[column].DefaultFontStyle);
      else
        column = -1;
      break;
    case ckHSpace:
      x += chunk.Data;
      if (x > rect.Right)
        return ClampToInt(x);
      break;
    case ckImage:
      // Without an image list the command is left out: the entry goes on with its text.
      if (!images)
        break;
      if (!measureOnly && chunk.Data >= 0 && chunk.Data < images->Count())
        images->Draw(canvas, ClampToInt(x), rect.Top, static_cast<int>(chunk.Data), true);
      x += images->Width();
      if (x > rect.Right)
        return ClampToInt(x);
      break;
    }
  }
  return ClampToInt(x);
}

void DrawFormattedText(kzp::TCanvas &canvas, const kzp::TRect &rect, std::string_view text,
                       bool selected, const TProposalColumns *columns, TKzImageList *images) {
  TFormatChunkList chunks;
  ParseFormattedText(text, chunks, selected ? TFormatChunkKinds{ckColor} : TFormatChunkKinds{});
  RenderChunks(canvas, rect, chunks, columns, images, false);
}

int MeasureFormattedText(kzp::TCanvas &canvas, std::string_view text,
                         const TProposalColumns *columns, TKzImageList *images) {
  TFormatChunkList chunks;
  ParseFormattedText(text, chunks, TFormatChunkKinds{ckColor});
  return RenderChunks(canvas, kzp::TRect{0, 0, INT_MAX, INT_MAX}, chunks, columns, images, true);
}

void PlainTextInto(std::string_view text, std::string &out) {
  out.clear();
  // Every command is stripped, so only text arrives.
  std::string pending;
  ParseInto(
      text, AllFormatCommands, pending, [&](std::string &t) { out.append(t); },
      [](TFormatChunk &&) {});
}

std::string PlainTextOf(std::string_view text) {
  std::string out;
  PlainTextInto(text, out);
  return out;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> items;
  const std::size_t n = text.size();
  std::size_t p = 0;
  auto isBlank = [&](std::size_t i) {
    return i < n && static_cast<unsigned char>(text[i]) <= ' ' && text[i] != '\0';
  };
  while (isBlank(p))
    ++p;
  while (p < n && text[p] != '\0') {
    std::string item;
    if (text[p] == '"') {
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            item.push_back('"');
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item.push_back(text[p++]);
      }
    } else {
      const std::size_t from = p;
      while (p<n &&static_cast<unsigned char>(text[p])> ' ' && text[p] != ',')
        ++p;
      item.assign(text.substr(from, p - from));
    }
    items.push_back(std::move(item));
    while (isBlank(p))
      ++p;
    if (p < n && text[p] == ',') {
      // A comma at the very end still closes an (empty) last item.
      if (p + 1 >= n)
        items.emplace_back();
      do
        ++p;
      while (isBlank(p));
    }
  }
  return items;
}

std::string BoldParameterList(std::string_view parameters, int current) {
  const std::vector<std::string> items = SplitCommaText(parameters);
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0)
      out.push_back(' ');
    if (static_cast<int>(i) == current)
      out += "\\style{~B}" + items[i] + "\\style{~B}";
    else
      out += items[i];
  }
  return out;
}
