// The completion list as a component: its configuration, its window, and showing the window
// for some typed text at a point below the caret.
#pragma once

#include "completion/KzCompletionForm.h"
#include "completion/KzCompletionText.h"
#include "completion/KzCompletionTypes.h"
#include "highlight/KzEditHighlighter.h"
#include "platform/Canvas.h"

#include <memory>
#include <string>
#include <vector>

class TKzBaseCompletionProposal : public TKzComponent {
public:
  explicit TKzBaseCompletionProposal(TKzCompletionHost &host, TKzComponent *owner = nullptr);
  ~TKzBaseCompletionProposal() override;

  const char *ClassName() const override { return "TKzBaseCompletionProposal"; }
  TKzBaseCompletionProposalForm &Form() { return *FForm; }
  const TKzBaseCompletionProposalForm &Form() const { return *FForm; }
  TKzCompletionHost &Host() const { return FHost; }

  // Asks OnExecute, then shows the window for `input` at the screen point (x, y) just below
  // the caret. An empty item list or a refusal keeps it hidden.
  void ShowAt(std::string input, int x, int y, KzCompletionType kind);
  // Sizes and places the window at (x, y), within the desktop.
  void PlaceWindow(int x, int y);
  void Deactivate() { FForm->Deactivate(); }
  bool Visible() const { return FForm->Visible(); }
  // The answer of OnExecute at the last showing.
  bool CanExecute() const { return FCanExecute; }

  // ---- configuration ----
  KzCompletionType DefaultType() const { return FDefaultType; }
  void SetDefaultType(KzCompletionType kind);
  KzCompletionType DisplayKind() const { return FForm->DisplayKind(); }
  void SetDisplayKind(KzCompletionType kind) { FForm->SetDisplayKind(kind); }
  TKzCompletionOptions Options() const { return FOptions; }
  virtual void SetOptions(TKzCompletionOptions options);
  bool HasOption(TKzCompletionOption o) const { return FOptions.Contains(o); }

  const std::vector<std::string> &ItemList() const { return FForm->ItemList(); }
  void SetItemList(std::vector<std::string> items);
  const std::vector<std::string> &InsertList() const { return FForm->InsertList(); }
  void SetInsertList(std::vector<std::string> items) { FForm->SetInsertList(std::move(items)); }
  int SelectedIndex() const { return FForm->SelectedIndex(); }
  int SourceIndexOf(int row) const { return FForm->SourceIndexOf(row); }

  int NbLinesInWindow() const { return FNbLinesInWindow; }
  void SetNbLinesInWindow(int lines) { FNbLinesInWindow = lines; }
  int Width() const { return FWidth; }
  void SetWidth(int width) { FWidth = width; }
  kzp::TColor ClSelect = kzp::clHighlight;
  kzp::TColor ClSelectedText = kzp::clHighlightText;
  kzp::TColor ClBackground = kzp::clWindow;
  kzp::TColor ClTitleBackground = kzp::clBtnFace;
  std::string EndOfTokenChr = "()[]. ";
  std::string TriggerChars;
  const std::string &Title() const { return FTitle; }
  void SetTitle(std::string title);
  const kzp::TFont &Font() const { return FFont; }
  void SetFont(const kzp::TFont &font);
  const kzp::TFont &TitleFont() const { return FTitleFont; }
  void SetTitleFont(const kzp::TFont &font);
  TProposalColumns &Columns() { return FColumns; }
  const TProposalColumns &Columns() const { return FColumns; }
  bool Resizeable() const { return FResizeable; }
  void SetResizeable(bool value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int height);
  TKzImageList *Images = nullptr; // not owned
  int Margin = 2;

  // ---- events ----
  TCompletionChange OnChange;
  TCompletionFormNotify OnClose;
  TCompletionExecute OnExecute;
  TCompletionMeasureItem OnMeasureItem;
  TCompletionPaintItem OnPaintItem;
  TCompletionFormNotify OnShow;

private:
  TKzCompletionHost &FHost;
  std::unique_ptr<TKzBaseCompletionProposalForm> FForm;
  KzCompletionType FDefaultType = ctCode;
  TKzCompletionOptions FOptions = KzCompletionDefaultOptions;
  bool FCanExecute = false;
  int FNbLinesInWindow = 8;
  int FWidth = 260;
  std::string FTitle;
  kzp::TFont FFont;
  kzp::TFont FTitleFont;
  TProposalColumns FColumns;
  bool FResizeable = true;
  int FItemHeight = 0;
};
