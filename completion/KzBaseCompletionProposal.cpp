// The completion component: configuration, showing and placing its window.
#include "completion/KzBaseCompletionProposal.h"

#include "editor/KzEdit.h"

#include <algorithm>

namespace {

// "MS Sans Serif", 8 points at 96 dots per inch.
kzp::TFont DefaultListFont(kzp::TColor color, kzp::TFontStyles style) {
  kzp::TFont f;
  f.Name = "MS Sans Serif";
  f.Height = -11;
  f.Color = color;
  f.Style = style;
  return f;
}

} // namespace

TKzBaseCompletionProposal::TKzBaseCompletionProposal(TKzCompletionHost &host, TKzComponent *owner)
    : TKzComponent(owner), FHost(host), FFont(DefaultListFont(kzp::clWindowText, 0)),
      FTitleFont(DefaultListFont(kzp::clBtnText, kzp::fsBold)) {
  FForm = std::make_unique<TKzBaseCompletionProposalForm>(*this, host);
  FForm->SetOptions(FOptions);
  FForm->RecalcItemHeight();
  FForm->RecalcTitleHeight();
  FHost.FrameChanged(FDefaultType, FResizeable);
}

TKzBaseCompletionProposal::~TKzBaseCompletionProposal() = default;

void TKzBaseCompletionProposal::SetDefaultType(KzCompletionType kind) {
  FDefaultType = kind;
  FForm->SetDisplayKind(kind);
  FHost.FrameChanged(kind, FResizeable);
}

void TKzBaseCompletionProposal::SetOptions(TKzCompletionOptions options) {
  if (options == FOptions)
    return;
  FOptions = options;
  FForm->SetOptions(options);
}

void TKzBaseCompletionProposal::SetItemList(std::vector<std::string> items) {
  FForm->SetItemList(std::move(items));
}

void TKzBaseCompletionProposal::SetTitle(std::string title) {
  FTitle = std::move(title);
  FForm->ResizeSurfaces();
}

void TKzBaseCompletionProposal::SetFont(const kzp::TFont &font) {
  FFont = font;
  FForm->RecalcItemHeight();
}

void TKzBaseCompletionProposal::SetTitleFont(const kzp::TFont &font) {
  FTitleFont = font;
  FForm->RecalcTitleHeight();
}

void TKzBaseCompletionProposal::SetResizeable(bool value) {
  if (value == FResizeable)
    return;
  FResizeable = value;
  FHost.FrameChanged(FDefaultType, value);
}

void TKzBaseCompletionProposal::SetItemHeight(int height) {
  if (height == FItemHeight)
    return;
  FItemHeight = height;
  FForm->RecalcItemHeight();
}

void TKzBaseCompletionProposal::ShowAt(std::string input, int x, int y, KzCompletionType kind) {
  TKzBaseCompletionProposalForm &form = *FForm;
  form.SetDisplayKind(kind);
  FCanExecute = true;
  if (OnExecute)
    OnExecute(kind, *this, input, x, y, FCanExecute);
  if (!FCanExecute || ItemList().empty()) {
    if (form.Visible() && kind == ctParams)
      form.Deactivate();
    return;
  }
  form.ListAllItems();
  form.SetTypedPrefix(std::move(input));
  if (kind == ctCode) {
    form.SetScrollBarVisible(true);
    PlaceWindow(x, y);
    if (!HasOption(scoLimitToMatchedText)) {
      form.SyncScrollBar();
      form.SetScrollPosition(form.SelectedIndex());
    }
    form.ShowWindow(true);
  } else {
    form.SetScrollBarVisible(false);
    PlaceWindow(x, y);
    form.ShowWindow(false);
    FHost.RepaintNow();
  }
}

void TKzBaseCompletionProposal::PlaceWindow(int x, int y) {
  TKzBaseCompletionProposalForm &form = *FForm;
  const KzCompletionType kind = form.DisplayKind();
  int width = 0, height = 0;
  if (kind == ctCode) {
    width = FWidth;
    height =
        form.RowHeight() * FNbLinesInWindow + form.TitleHeight() + 2 * FHost.SizingFrameHeight();
  } else {
    const int count = static_cast<int>(ItemList().size());
    height = count * form.RowHeight() + 2 + 2 * Margin;
    kzp::TCanvas &canvas = FHost.MeasureCanvas();
    TCanvasFontGuard font(canvas, FFont);
    int widest = 0;
    for (int i = 0; i < count; ++i) {
      const std::string &item = ItemList()[static_cast<std::size_t>(i)];
      int w = 0;
      if (kind == ctHint) {
        w = MeasureFormattedText(canvas, item, nullptr, Images);
      } else {
        // A parameter hint is as wide as its widest look, whichever parameter is bold.
        const std::string plain = PlainTextOf(item);
        const int params = static_cast<int>(SplitCommaText(plain).size());
        for (int bold = -1; bold < params; ++bold)
          w = std::max(
              w, MeasureFormattedText(canvas, BoldParameterList(plain, bold), nullptr, Images));
        if (OnMeasureItem)
          OnMeasureItem(*this, i, canvas, w);
      }
      widest = std::max(widest, w);
    }
    width = widest + 2 * Margin + 2;
  }

  const kzp::TRect desktop = FHost.DesktopRect();
  int left = x, top = y;
  if (left + width > desktop.Right)
    left = std::max(desktop.Left, desktop.Right - width - 5);
  if (top + height > desktop.Bottom) {
    // No room below the caret line: the list goes above it.
    const int lineHeight = form.TargetEditor() ? form.TargetEditor()->LineHeight() : 0;
    top = std::max(desktop.Top, y - height - lineHeight - 2);
  }
  form.SetBounds(left, top, width, height);
}
