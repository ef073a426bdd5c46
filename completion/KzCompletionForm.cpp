// The completion list window model: filtering, highlight, scrolling, sizing, painting and the
// keyboard and mouse tables of the open list.
#include "completion/KzCompletionForm.h"

#include "completion/KzBaseCompletionProposal.h"
#include "completion/KzCompletionMatch.h"
#include "completion/KzCompletionText.h"
#include "editor/KzEdit.h"
#include "editor/KzEditKeyConst.h"

#include <algorithm>

namespace {

// The sample whose height in a font is the text height of a row or of the title.
constexpr const char *kHeightSample = "CompletionProposal";

int TextHeightIn(kzp::TCanvas &canvas, const kzp::TFont &font) {
  TCanvasFontGuard guard(canvas, font);
  return canvas.TextHeight(kHeightSample);
}

} // namespace

TKzBaseCompletionProposalForm::TKzBaseCompletionProposalForm(TKzBaseCompletionProposal &owner,
                                                             TKzCompletionHost &host)
    : FOwner(owner), FHost(host) {
  FHost.SetForm(this);
}

TKzBaseCompletionProposalForm::~TKzBaseCompletionProposalForm() {
  if (FActive && FTargetEditor && FDisplayKind == ctCode)
    FTargetEditor->RemoveFocusRedirect(this);
  FHost.SetForm(nullptr);
}

// ---- entries and filtering ----

void TKzBaseCompletionProposalForm::SetItemList(std::vector<std::string> items) {
  FItemList = std::move(items);
  ListAllItems();
  std::string prefix = FTypedPrefix;
  SetTypedPrefix(std::move(prefix));
  ScrollTo(FSelectedIndex, false);
}

const std::string &TKzBaseCompletionProposalForm::FilteredText(int row) const {
  return FItemList[static_cast<std::size_t>(FFiltered[static_cast<std::size_t>(row)])];
}

void TKzBaseCompletionProposalForm::ListAllItems() {
  FFiltered.resize(FItemList.size());
  for (std::size_t i = 0; i < FFiltered.size(); ++i)
    FFiltered[i] = static_cast<int>(i);
}

bool TKzBaseCompletionProposalForm::EntryMatches(int i) const {
  std::string_view candidate;
  if (HasOption(scoUseInsertList)) {
    // A hand-edited insert list may be shorter than the item list: an entry without insert
    // text can be neither matched nor inserted.
    if (i < 0 || i >= static_cast<int>(FInsertList.size()))
      return false;
    candidate = FInsertList[static_cast<std::size_t>(i)];
  } else {
    candidate = FItemList[static_cast<std::size_t>(i)];
    if (HasOption(scoUsePrettyText)) {
      PlainTextInto(candidate, FPlain);
      candidate = FPlain;
    }
  }
  return PrefixMatches(candidate, FTypedPrefix, HasOption(scoAnsiStrings),
                       HasOption(scoCaseSensitive));
}

void TKzBaseCompletionProposalForm::Refilter() {
  FFiltered.clear();
  const int n = static_cast<int>(FItemList.size());
  for (int i = 0; i < n; ++i)
    if (EntryMatches(i))
      FFiltered.push_back(i);
}

void TKzBaseCompletionProposalForm::SetTypedPrefix(std::string text) {
  FTypedPrefix = std::move(text);
  if (FDisplayKind != ctCode)
    return;
  if (HasOption(scoLimitToMatchedText)) {
    Refilter();
    SyncScrollBar();
    SetSelectedIndex(0);
    return;
  }
  const int n = static_cast<int>(FItemList.size());
  for (int i = 0; i < n; ++i)
    if (EntryMatches(i)) {
      SetSelectedIndex(i);
      return;
    }
  SetSelectedIndex(0);
}

// ---- highlight ----

void TKzBaseCompletionProposalForm::SetSelectedIndex(int v) {
  v = std::max(v, 0);
  if (v == FSelectedIndex || v >= FilteredCount())
    return;
  FSelectedIndex = v;
  const int first = ScrollPosition();
  if (v < first)
    ScrollTo(v, false);
  else if (v > first + FVisibleLines - 1)
    ScrollTo(v - FVisibleLines + 1, false);
  if (FShown && FOwner.OnChange && FDisplayKind == ctCode)
    FOwner.OnChange(FOwner, SourceIndexOf(v));
  FHost.RepaintNow();
}

void TKzBaseCompletionProposalForm::MoveSelection(int n) {
  int target;
  if (n > 0)
    target = FilteredCount() - n > FSelectedIndex ? FSelectedIndex + n : FilteredCount() - 1;
  else
    target = FSelectedIndex + n > 0 ? FSelectedIndex + n : 0;
  SetSelectedIndex(target);
}

int TKzBaseCompletionProposalForm::SourceIndexOf(int row) const {
  if (HasOption(scoLimitToMatchedText) && row >= 0 && row < FilteredCount())
    return FFiltered[static_cast<std::size_t>(row)];
  return row;
}

// ---- scrolling and layout ----

void TKzBaseCompletionProposalForm::SetScrollPosition(int position) { ScrollTo(position, true); }

void TKzBaseCompletionProposalForm::ScrollTo(int position, bool keepHighlight) {
  position = std::clamp(position, 0, std::max(FScrollBar.Max, 0));
  if (position == FScrollBar.Position)
    return;
  FScrollBar.Position = position;
  FHost.SetScrollBar(FScrollBar);
  if (!keepHighlight)
    return;
  if (FSelectedIndex < position)
    SetSelectedIndex(position);
  else if (FSelectedIndex > position + FVisibleLines - 1)
    SetSelectedIndex(position + FVisibleLines - 1);
  else
    FHost.RepaintNow();
}

void TKzBaseCompletionProposalForm::SetScrollBarVisible(bool visible) {
  if (FScrollBar.Visible == visible)
    return;
  FScrollBar.Visible = visible;
  FHost.SetScrollBar(FScrollBar);
}

void TKzBaseCompletionProposalForm::SyncScrollBar() {
  if (FDisplayKind != ctCode)
    return;
  const int sbw = FHost.ScrollBarWidth();
  FScrollBar.Left = ClientWidth() - sbw;
  FScrollBar.Top = FTitleHeight;
  FScrollBar.Height = ClientHeight() - FTitleHeight;
  FScrollBar.PageSize = 0;
  if (FilteredCount() < FVisibleLines) {
    FScrollBar.Max = 0;
    FScrollBar.Enabled = false;
  } else {
    FScrollBar.Max = FilteredCount() - FVisibleLines;
    if (FScrollBar.Max != 0) {
      FScrollBar.LargeChange = FVisibleLines;
      FScrollBar.PageSize = 1;
      FScrollBar.Enabled = true;
    } else {
      FScrollBar.Enabled = false;
    }
  }
  // A shorter list pulls the position back into the range.
  FScrollBar.Position = std::clamp(FScrollBar.Position, 0, FScrollBar.Max);
  FHost.SetScrollBar(FScrollBar);
}

void TKzBaseCompletionProposalForm::ResizeSurfaces() {
  const int cw = ClientWidth(), ch = ClientHeight();
  if (FDisplayKind == ctCode) {
    FTitleHeight = FOwner.Title().empty() ? 0 : FTitleTextHeight + 4;
    const int sbw = FHost.ScrollBarWidth();
    if (cw >= sbw && ch >= FTitleHeight)
      FListSurface = {cw - sbw, ch - FTitleHeight};
    if (cw > 0 && FTitleHeight > 0)
      FTitleSurface = {cw, FTitleHeight};
    else if (FTitleHeight == 0)
      FTitleSurface = {};
  } else if (cw > 0 && ch > 0) {
    FListSurface = {cw, ch};
  }
}

void TKzBaseCompletionProposalForm::RecalcItemHeight() {
  FItemTextHeight = TextHeightIn(FHost.MeasureCanvas(), FOwner.Font());
  FRowHeight = FOwner.ItemHeight() > 0 ? FOwner.ItemHeight() : FItemTextHeight;
  ResizeSurfaces();
}

void TKzBaseCompletionProposalForm::RecalcTitleHeight() {
  FTitleTextHeight = TextHeightIn(FHost.MeasureCanvas(), FOwner.TitleFont());
  ResizeSurfaces();
}

int TKzBaseCompletionProposalForm::FrameSize() const {
  return FDisplayKind == ctCode ? 2 * FHost.SizingFrameHeight() : 0;
}

void TKzBaseCompletionProposalForm::SetBounds(int left, int top, int width, int height) {
  FLeft = left;
  FTop = top;
  FHost.SetWindowBounds(left, top, width, height);
  Resized(width, height);
}

void TKzBaseCompletionProposalForm::ProposeSize(int &width, int &height) {
  if (FDisplayKind != ctCode)
    return;
  const int frame = FrameSize();
  FVisibleLines = FRowHeight != 0 ? std::max(1, (height - FTitleHeight) / FRowHeight) : 0;
  height = FVisibleLines * FRowHeight + FTitleHeight + frame;
  width = std::max(width, frame + FHost.ScrollBarWidth());
}

void TKzBaseCompletionProposalForm::Resized(int width, int height) {
  FWidth = width;
  FHeight = height;
  if (FRowHeight != 0)
    FVisibleLines = std::max(0, (height - FTitleHeight) / FRowHeight);
  ResizeSurfaces();
  SyncScrollBar();
  FHost.Invalidate();
}

// ---- showing and hiding ----

void TKzBaseCompletionProposalForm::ShowWindow(bool activate) {
  // The show hook runs while the editor still has the focus, before the window takes it.
  if (!FShown) {
    FShown = true;
    Shown();
  }
  FHost.ShowWindow(activate);
  if (activate && !FActive) {
    FActive = true;
    if (FDisplayKind == ctCode && FTargetEditor)
      FTargetEditor->AddFocusRedirect(this);
  }
}

void TKzBaseCompletionProposalForm::Shown() {
  if (FTargetEditor) {
    FSavedAlwaysShowCaret = FTargetEditor->AlwaysShowCaret();
    // The caret stays visible in the editor while the list has the keyboard.
    FTargetEditor->SetAlwaysShowCaret(FTargetEditor->Focused());
  }
  if (FOwner.OnShow)
    FOwner.OnShow(*this);
}

void TKzBaseCompletionProposalForm::Deactivate() {
  if (FActive) {
    FActive = false;
    if (FDisplayKind == ctCode && FTargetEditor)
      FTargetEditor->RemoveFocusRedirect(this);
  }
  if (FShown) {
    FShown = false;
    FHost.HideWindow();
    Hidden();
  }
}

void TKzBaseCompletionProposalForm::Hidden() {
  if (FTargetEditor)
    FTargetEditor->SetAlwaysShowCaret(FSavedAlwaysShowCaret);
  if (FDisplayKind == ctCode) {
    // The next showing has the size the user left.
    FOwner.SetWidth(FWidth);
    FOwner.SetNbLinesInWindow(FVisibleLines);
  }
  if (FOwner.OnClose)
    FOwner.OnClose(*this);
}

void TKzBaseCompletionProposalForm::WindowDeactivated() {
  if (!FShown && !FActive)
    return;
  Deactivate();
  if (OnDeactivated)
    OnDeactivated(*this);
}

void TKzBaseCompletionProposalForm::SetFocus() {
  if (FShown)
    FHost.TakeFocus();
}

// ---- keyboard ----

void TKzBaseCompletionProposalForm::SendToEditor(TKzEditorCommand command) {
  if (FTargetEditor)
    FTargetEditor->ProcessCommand(command, '\0', nullptr);
}

void TKzBaseCompletionProposalForm::TypeIntoEditor(char c) {
  if (!FTargetEditor)
    return;
  if (c == '\t') {
    // The character command leaves control characters out, and the Tab command would turn
    // the tab into blanks: a tab typed into the list goes in as the one character it is.
    std::string tab(1, '\t');
    FTargetEditor->ProcessCommand(ecImeStr, '\0', &tab);
    return;
  }
  FTargetEditor->ProcessCommand(ecChar, c, nullptr);
}

void TKzBaseCompletionProposalForm::Abort() {
  if (OnAbort)
    OnAbort(*this);
}

void TKzBaseCompletionProposalForm::Accept(TShiftState shift, char endChar) {
  if (OnAccept)
    OnAccept(*this, shift, endChar);
}

void TKzBaseCompletionProposalForm::KeyDown(std::uint16_t key, TShiftState shift) {
  if (FDisplayKind == ctCode) {
    const bool ctrl = (shift & ssCtrl) != 0;
    switch (key) {
    case VK_RETURN:
      if (HasOption(scoCompleteWithEnter))
        Accept(shift, '\0');
      break;
    case VK_TAB:
      if (HasOption(scoCompleteWithTab))
        Accept(shift, '\0');
      break;
    case VK_ESCAPE: Abort(); break;
    case VK_PRIOR: MoveSelection(-FVisibleLines); break;
    case VK_NEXT: MoveSelection(FVisibleLines); break;
    case VK_END: SetSelectedIndex(FilteredCount() - 1); break;
    case VK_HOME: SetSelectedIndex(0); break;
    case VK_UP:
      if (ctrl)
        SetSelectedIndex(0);
      else
        MoveSelection(-1);
      break;
    case VK_DOWN:
      if (ctrl)
        SetSelectedIndex(FilteredCount() - 1);
      else
        MoveSelection(1);
      break;
    case VK_BACK:
    case VK_LEFT: {
      if (key == VK_BACK && (shift & ssModifierMask) != 0)
        break;
      const TKzEditorCommand command = key == VK_BACK ? ecDeleteLastChar : ecLeft;
      if (!FTypedPrefix.empty()) {
        std::string shorter = FTypedPrefix.substr(0, FTypedPrefix.size() - 1);
        SetTypedPrefix(std::move(shorter));
        SendToEditor(command);
      } else {
        SendToEditor(command);
        Abort();
      }
      break;
    }
    case VK_RIGHT: {
      char c = ' ';
      if (FTargetEditor) {
        const std::string line = FTargetEditor->LineText();
        const int x = FTargetEditor->CaretX();
        if (x >= 1 && x <= static_cast<int>(line.size()))
          c = line[static_cast<std::size_t>(x - 1)];
      }
      if (c == '\t' || c == ' ' || EndOfTokenSet.test(static_cast<unsigned char>(c)))
        Abort();
      else
        SetTypedPrefix(FTypedPrefix + c);
      SendToEditor(ecRight);
      break;
    }
    case VK_DELETE: SendToEditor(ecDeleteChar); break;
    default: break;
    }
  }
  FHost.Invalidate();
}

void TKzBaseCompletionProposalForm::KeyPress(char c) {
  if (FDisplayKind == ctCode) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u == 8) {
      // The key-down has shortened the typed text already.
      if (OnForwardChar)
        OnForwardChar(*this, c);
    } else if (u == 13 || u == 27 || (u == 9 && HasOption(scoCompleteWithTab))) {
      // Taken on key-down.
    } else if (u >= 32 && u <= 'z') {
      if (EndOfTokenSet.test(u) && OnAccept)
        Accept(0, u == ' ' ? '\0' : c);
      SetTypedPrefix(FTypedPrefix + c);
      if (OnForwardChar)
        OnForwardChar(*this, c);
    } else {
      TypeIntoEditor(c);
      Abort();
    }
  }
  FHost.Invalidate();
}

// ---- mouse, wheel and scroll bar ----

void TKzBaseCompletionProposalForm::MouseDown(int y) {
  if (FRowHeight != 0)
    SetSelectedIndex((y - FTitleHeight) / FRowHeight + ScrollPosition());
}

void TKzBaseCompletionProposalForm::DoubleClick() { Accept(0, '\0'); }

void TKzBaseCompletionProposalForm::MouseWheel(int delta, TShiftState shift) {
  int step = (shift & ssCtrl) ? FVisibleLines : FHost.WheelScrollLines();
  if (step == -1 || step > FVisibleLines)
    step = FVisibleLines;
  FWheelRemainder += delta;
  const int notches = FWheelRemainder / 120;
  FWheelRemainder %= 120;
  SetSelectedIndex(FSelectedIndex - notches * step);
}

void TKzBaseCompletionProposalForm::ScrollBarScrolled(int position) {
  SetScrollPosition(position);
  if (!FTargetEditor)
    return;
  // The focus request lands on the list itself while it is the editor's redirect; the caret
  // flag is switched off and on so the editor shows its caret again.
  FTargetEditor->SetFocus();
  FTargetEditor->SetAlwaysShowCaret(false);
  FTargetEditor->SetAlwaysShowCaret(true);
}

// ---- painting ----

void TKzBaseCompletionProposalForm::ResetListCanvas(kzp::TCanvas &canvas) const {
  canvas.SetPenColor(FOwner.ClBackground);
  canvas.SetBrushColor(FOwner.ClBackground);
  canvas.SetFont(FOwner.Font());
}

void TKzBaseCompletionProposalForm::Paint(kzp::TCanvas &list, kzp::TCanvas &title) {
  if (FDisplayKind == ctCode)
    PaintCode(list, title);
  else
    PaintHint(list);
}

void TKzBaseCompletionProposalForm::PaintCode(kzp::TCanvas &list, kzp::TCanvas &title) {
  const int cw = ClientWidth(), ch = ClientHeight();
  const int listWidth = cw - FHost.ScrollBarWidth();
  const TProposalColumns *columns = &FOwner.Columns();
  ResetListCanvas(list);
  list.SetPenColor(kzp::clBtnFace);
  list.Rectangle({0, 0, listWidth, ch});
  const int rows = std::min(FVisibleLines, FilteredCount());
  for (int r = 0; r < rows; ++r) {
    const int e = ScrollPosition() + r;
    if (e >= FilteredCount())
      break;
    const kzp::TRect rowRect{0, r * FRowHeight, listWidth, (r + 1) * FRowHeight};
    const bool selected = e == FSelectedIndex;
    if (selected) {
      list.SetBrushColor(FOwner.ClSelect);
      list.SetPenColor(FOwner.ClSelect);
      list.FillRect(rowRect);
      list.SetPenColor(FOwner.ClSelectedText);
      list.SetFontColor(FOwner.ClSelectedText);
    }
    bool customDraw = false;
    if (FOwner.OnPaintItem)
      FOwner.OnPaintItem(*this, SourceIndexOf(e), list, rowRect, customDraw);
    if (customDraw) {
      ResetListCanvas(list);
      continue;
    }
    if (HasOption(scoUsePrettyText)) {
      const kzp::TRect textRect{FOwner.Margin, r * FRowHeight + (FRowHeight - FItemTextHeight) / 2,
                                FListSurface.cx, (r + 1) * FRowHeight};
      DrawFormattedText(list, textRect, FilteredText(e), selected, columns, FOwner.Images);
    } else {
      list.TextOut(FOwner.Margin, r * FRowHeight, FilteredText(e));
    }
    if (selected)
      ResetListCanvas(list);
  }

  if (FOwner.Title().empty() || FTitleHeight <= 0)
    return;
  title.SetBrushColor(FOwner.ClTitleBackground);
  title.FillRect({0, 0, cw + 1, FTitleHeight});
  title.SetPenColor(kzp::clBtnShadow);
  title.Line(cw, FTitleHeight - 1, -1, FTitleHeight - 1);
  title.SetPenColor(kzp::clBtnFace);
  title.SetFont(FOwner.TitleFont());
  int x = 2;
  if (HasOption(scoTitleIsCentered))
    x = std::max(2, (FTitleSurface.cx - title.TextWidth(FOwner.Title())) / 2);
  // The text goes on the bar without a background of its own, so the shadow line below it
  // stays.
  const kzp::TRect clip{0, 0, cw, FTitleHeight - 1};
  title.SetBrushStyle(kzp::TBrushStyle::bsClear);
  title.ExtTextOut(x, 1, kzp::etoClipped, &clip, FOwner.Title(), nullptr);
  title.SetBrushStyle(kzp::TBrushStyle::bsSolid);
}

void TKzBaseCompletionProposalForm::PaintHint(kzp::TCanvas &list) {
  const int cw = ClientWidth(), ch = ClientHeight();
  ResetListCanvas(list);
  list.FillRect({0, 0, cw, ch});
  // A raised one-pixel edge: light on the top and left, dark on the bottom and right.
  list.SetPenColor(kzp::clBtnHighlight);
  list.Line(0, ch - 1, 0, 0);
  list.Line(0, 0, cw - 1, 0);
  list.SetPenColor(kzp::cl3DDkShadow);
  list.Line(cw - 1, 0, cw - 1, ch - 1);
  list.Line(cw - 1, ch - 1, -1, ch - 1);
  ResetListCanvas(list);
  const int margin = FOwner.Margin;
  for (int r = 0; r < FilteredCount(); ++r) {
    const kzp::TRect rowRect{margin + 1,
                             r * FRowHeight + margin + (FRowHeight - FItemTextHeight) / 2,
                             FListSurface.cx - 1, (r + 1) * FRowHeight + margin};
    bool customDraw = false;
    if (FOwner.OnPaintItem)
      FOwner.OnPaintItem(*this, r, list, rowRect, customDraw);
    if (!customDraw) {
      const std::string &text = FilteredText(r);
      if (FDisplayKind == ctParams)
        DrawFormattedText(list, rowRect, BoldParameterList(text, CurrentParameter), false, nullptr,
                          FOwner.Images);
      else
        DrawFormattedText(list, rowRect, text, false, nullptr, FOwner.Images);
    }
    ResetListCanvas(list);
  }
}
