// The completion list's settings from a window's stored form.
#include "completion/KzCompletionProposal.h"

#include "platform/StoredForm.h"

#include <array>

namespace {

constexpr std::array<const char *, 11> kOptionNames{
    "scoAnsiStrings",     "scoCaseSensitive",     "scoLimitToMatchedText",
    "scoTitleIsCentered", "scoUseInsertList",     "scoUsePrettyText",
    "scoUseBuiltInTimer", "scoEndCharCompletion", "scoConsiderWordBreakChars",
    "scoCompleteWithTab", "scoCompleteWithEnter"};

TKzCompletionOptions ReadOptions(const kzp::TStoredValue &list) {
  TKzCompletionOptions options;
  const std::string what = "CPS.Options";
  for (const kzp::TStoredValue &item : list.Items(what)) {
    const std::string &name = item.AsString(what);
    bool known = false;
    for (std::size_t bit = 0; bit < kOptionNames.size(); ++bit)
      if (name == kOptionNames[bit]) {
        options.Include(static_cast<TKzCompletionOption>(bit));
        known = true;
      }
    if (!known)
      throw kzp::EStoredFormError("Unbekannte Option der Vervollständigung: " + name);
  }
  return options;
}

kzp::TColor ReadColor(const kzp::TStoredValue &value, const std::string &what) {
  if (value.IsNumber())
    return static_cast<kzp::TColor>(static_cast<std::uint32_t>(value.AsNumber(what)));
  const std::string &name = value.AsString(what);
  if (std::optional<kzp::TColor> c = ColorOfIdent(name))
    return *c;
  throw kzp::EStoredFormError("Unbekannte Farbe in " + what + ": " + name);
}

// The list's fonts also carry their colour, by name.
kzp::TFont ReadFont(const kzp::TStoredValue &value, kzp::TFont font, const std::string &what) {
  font = kzp::ReadStoredFont(value, font, what);
  if (const kzp::TStoredValue *color = value.Find("Color"))
    font.Color = ReadColor(*color, what + ".Color");
  return font;
}

} // namespace

void LoadStoredCompletionSettings(TKzCompletionProposal &proposal,
                                  const kzp::TStoredValue &component) {
  proposal.BeginLoading();
  if (const kzp::TStoredValue *v = component.Find("Options"))
    proposal.SetOptions(ReadOptions(*v));
  if (const kzp::TStoredValue *v = component.Find("NbLinesInWindow"))
    proposal.SetNbLinesInWindow(v->AsInt("CPS.NbLinesInWindow"));
  if (const kzp::TStoredValue *v = component.Find("Width"))
    proposal.SetWidth(v->AsInt("CPS.Width"));
  if (const kzp::TStoredValue *v = component.Find("EndOfTokenChr"))
    proposal.EndOfTokenChr = v->AsString("CPS.EndOfTokenChr");
  if (const kzp::TStoredValue *v = component.Find("TriggerChars"))
    proposal.TriggerChars = v->AsString("CPS.TriggerChars");
  if (const kzp::TStoredValue *v = component.Find("Title"))
    proposal.SetTitle(v->AsString("CPS.Title"));
  if (const kzp::TStoredValue *v = component.Find("Font"))
    proposal.SetFont(ReadFont(*v, proposal.Font(), "CPS.Font"));
  if (const kzp::TStoredValue *v = component.Find("TitleFont"))
    proposal.SetTitleFont(ReadFont(*v, proposal.TitleFont(), "CPS.TitleFont"));
  if (const kzp::TStoredValue *v = component.Find("Columns")) {
    proposal.Columns().Clear();
    for (const kzp::TStoredValue &item : v->Items("CPS.Columns")) {
      TProposalColumn &column = proposal.Columns().Add();
      if (const kzp::TStoredValue *word = item.Find("BiggestWord"))
        column.BiggestWord = word->AsString("CPS.Columns.BiggestWord");
      if (const kzp::TStoredValue *style = item.Find("DefaultFontStyle"))
        column.DefaultFontStyle =
            static_cast<kzp::TFontStyles>(style->AsInt("CPS.Columns.DefaultFontStyle") & 15);
    }
  }
  if (const kzp::TStoredValue *v = component.Find("ShortCut")) {
    TShortCut shortCut = 0;
    if (v->IsNumber())
      shortCut = static_cast<TShortCut>(v->AsInt("CPS.ShortCut"));
    else if (!TextToShortCut(v->AsString("CPS.ShortCut"), shortCut))
      throw kzp::EStoredFormError("Unlesbares Tastenkürzel in CPS.ShortCut: " + v->AsString());
    proposal.ShortCut = shortCut;
  }
  if (const kzp::TStoredValue *v = component.Find("TimerInterval"))
    proposal.SetTimerInterval(v->AsInt("CPS.TimerInterval"));
  proposal.EndLoading();
}
