// The completion list window as a model: its entries, the rows that match the typed text, the
// highlighted row, scrolling, sizing, painting, keyboard, mouse and wheel. The window system
// reaches it through TKzCompletionHost; the owning proposal holds its configuration.
#pragma once

#include "completion/KzCompletionHost.h"
#include "completion/KzCompletionTypes.h"
#include "editor/KzEditHost.h"
#include "highlight/KzEditHighlighter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TCustomKzEdit;

class TKzBaseCompletionProposalForm : public TKzFocusTarget {
public:
  TKzBaseCompletionProposalForm(TKzBaseCompletionProposal &owner, TKzCompletionHost &host);
  ~TKzBaseCompletionProposalForm() override;
  TKzBaseCompletionProposalForm(const TKzBaseCompletionProposalForm &) = delete;
  TKzBaseCompletionProposalForm &operator=(const TKzBaseCompletionProposalForm &) = delete;

  TKzBaseCompletionProposal &Owner() const { return FOwner; }
  TKzCompletionHost &Host() const { return FHost; }

  // ---- entries ----
  const std::vector<std::string> &ItemList() const { return FItemList; }
  const std::vector<std::string> &InsertList() const { return FInsertList; }
  // Replaces the entries; the rows become all entries and the typed text is applied again.
  void SetItemList(std::vector<std::string> items);
  void SetInsertList(std::vector<std::string> items) { FInsertList = std::move(items); }

  // The rows listed now; each knows the item-list index of its entry.
  int FilteredCount() const { return static_cast<int>(FFiltered.size()); }
  const std::string &FilteredText(int row) const;
  // Lists every entry again, in item-list order.
  void ListAllItems();

  const std::string &TypedPrefix() const { return FTypedPrefix; }
  // Stores the typed text; a code list filters (or moves the highlight) by it.
  void SetTypedPrefix(std::string text);
  // Rebuilds the rows from the entries that match the typed text.
  void Refilter();
  // Whether entry i of the item list matches the typed text. An entry whose insert text is
  // missing (a shorter insert list) never matches.
  bool EntryMatches(int i) const;

  int SelectedIndex() const { return FSelectedIndex; }
  // Highlights row v (below 0 counts as 0; beyond the last row is ignored) and scrolls it
  // into view.
  void SetSelectedIndex(int v);
  void MoveSelection(int n);
  // The item-list index of a row.
  int SourceIndexOf(int row) const;

  // ---- scrolling and layout ----
  int ScrollPosition() const { return FScrollBar.Position; }
  // Moves the first visible row (kept within the scroll range); the highlight stays inside
  // the visible rows.
  void SetScrollPosition(int position);
  const TKzListScrollBar &ScrollBar() const { return FScrollBar; }
  void SetScrollBarVisible(bool visible);
  void SyncScrollBar();
  void ResizeSurfaces();
  kzp::TSize ListSurfaceSize() const { return FListSurface; }
  kzp::TSize TitleSurfaceSize() const { return FTitleSurface; }

  int VisibleLines() const { return FVisibleLines; }
  int ItemTextHeight() const { return FItemTextHeight; }
  int TitleTextHeight() const { return FTitleTextHeight; }
  int RowHeight() const { return FRowHeight; }
  int TitleHeight() const { return FTitleHeight; }
  // The fonts or the row height changed: measure again.
  void RecalcItemHeight();
  void RecalcTitleHeight();

  KzCompletionType DisplayKind() const { return FDisplayKind; }
  void SetDisplayKind(KzCompletionType kind) { FDisplayKind = kind; }
  TKzCompletionOptions Options() const { return FOptions; }
  void SetOptions(TKzCompletionOptions options) { FOptions = options; }
  bool HasOption(TKzCompletionOption o) const { return FOptions.Contains(o); }

  // Characters that end the token being completed; filled before each showing.
  TKzCharSet EndOfTokenSet;
  TCustomKzEdit *TargetEditor() const { return FTargetEditor; }
  void SetTargetEditor(TCustomKzEdit *editor) { FTargetEditor = editor; }
  int WheelRemainder() const { return FWheelRemainder; }
  // The bold parameter of a parameter hint.
  int CurrentParameter = -1;

  // ---- window geometry: the outer rectangle in screen pixels ----
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Frame pixels counted over both sides: twice the sizing frame for a code list.
  int FrameSize() const;
  int ClientWidth() const { return FWidth - FrameSize(); }
  int ClientHeight() const { return FHeight - FrameSize(); }
  // Moves and sizes the window, then lays it out for the new size.
  void SetBounds(int left, int top, int width, int height);
  // While the user drags the sizing frame: snaps a proposed outer size to whole rows.
  void ProposeSize(int &width, int &height);
  // The window got a new outer size (after SetBounds or a drag).
  void Resized(int width, int height);

  // ---- showing and hiding ----
  bool Visible() const { return FShown; }
  // Shows the window; an activated one takes the keyboard and becomes the editor's focus
  // redirect.
  void ShowWindow(bool activate);
  // Gives up the keyboard and hides the window (the proposal calls it before hiding).
  void Deactivate();
  // The window lost the keyboard to another window or program: deactivated and hidden, and
  // OnDeactivated tells the binding.
  void WindowDeactivated();

  // ---- input from the window ----
  void KeyDown(std::uint16_t key, TShiftState shift);
  void KeyPress(char c);
  // Any button, at a client y of the window.
  void MouseDown(int y);
  void DoubleClick();
  // A wheel movement (120 per notch, positive away from the user).
  void MouseWheel(int delta, TShiftState shift);
  // The user moved the scroll bar to `position`.
  void ScrollBarScrolled(int position);

  // Draws the rows and the title bar on the two surfaces the window then shows: the list at
  // (0, TitleHeight), the title at (0, 0).
  void Paint(kzp::TCanvas &list, kzp::TCanvas &title);

  // Focus requests to the editor land here while the list is open.
  void SetFocus() override;

  // ---- notifications towards the editor binding ----
  std::function<void(TKzBaseCompletionProposalForm &, char)> OnForwardChar;
  std::function<void(TKzBaseCompletionProposalForm &, TShiftState, char endChar)> OnAccept;
  TCompletionFormNotify OnAbort;
  TCompletionFormNotify OnDeactivated;

private:
  void SendToEditor(TKzEditorCommand command);
  void TypeIntoEditor(char c);
  void Abort();
  void Accept(TShiftState shift, char endChar);
  void Shown();
  void Hidden();
  void PaintCode(kzp::TCanvas &list, kzp::TCanvas &title);
  void PaintHint(kzp::TCanvas &list);
  void ResetListCanvas(kzp::TCanvas &canvas) const;
  // Moves the first visible row; `keepHighlight` pulls the highlight into view, as a scroll
  // the user makes does.
  void ScrollTo(int position, bool keepHighlight);

  TKzBaseCompletionProposal &FOwner;
  TKzCompletionHost &FHost;
  std::vector<std::string> FItemList;
  std::vector<std::string> FInsertList;
  std::vector<int> FFiltered; // row -> item-list index
  std::string FTypedPrefix;
  int FSelectedIndex = 0;
  int FVisibleLines = 8;
  int FItemTextHeight = 0;
  int FTitleTextHeight = 0;
  int FRowHeight = 0;
  int FTitleHeight = 0;
  KzCompletionType FDisplayKind = ctCode;
  TKzCompletionOptions FOptions = KzCompletionDefaultOptions;
  TCustomKzEdit *FTargetEditor = nullptr;
  int FWheelRemainder = 0;
  bool FSavedAlwaysShowCaret = false;
  TKzListScrollBar FScrollBar;
  kzp::TSize FListSurface, FTitleSurface;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FShown = false;
  bool FActive = false;       // shown with the keyboard, registered as focus redirect
  mutable std::string FPlain; // reused for the plain text of entries while matching
};
