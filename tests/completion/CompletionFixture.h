// A fake window for the completion list, and a fixture with the studio's list bound to an
// editor core: the list's rules run without any window system.
#pragma once

#include "completion/KzCompletionProposal.h"
#include "editor/KzEditKeyConst.h"
#include "platform/FixedCanvas.h"
#include "platform/StoredForm.h"
#include "tests/editor/EditFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Records what the list asks of its window. Rows are 16 pixels high, the title text too, the
// sizing frame 4 pixels a side and the scroll bar 16 wide.
class TFakeListHost : public TKzCompletionHost {
public:
  kzp::TFixedCanvas Measure;
  TKzBaseCompletionProposalForm *Form = nullptr;
  bool Shown = false, Active = false;
  int FocusTaken = 0;
  kzp::TRect Bounds;
  TKzListScrollBar Bar;
  kzp::TRect Desktop{0, 0, 1024, 768};
  int WheelLines = 3;
  bool AppActive = true;

  void SetForm(TKzBaseCompletionProposalForm *form) override { Form = form; }
  void ShowWindow(bool activate) override {
    Shown = true;
    Active = activate;
  }
  void HideWindow() override { Shown = Active = false; }
  void SetWindowBounds(int l, int t, int w, int h) override { Bounds = {l, t, l + w, t + h}; }
  void TakeFocus() override { ++FocusTaken; }
  void SetScrollBar(const TKzListScrollBar &bar) override { Bar = bar; }
  kzp::TRect DesktopRect() const override { return Desktop; }
  int WheelScrollLines() const override { return WheelLines; }
  kzp::TCanvas &MeasureCanvas() override { return Measure; }
  bool ApplicationActive() const override { return AppActive; }
  // The editor's client area starts at (100, 50) on the screen.
  kzp::TPoint EditorClientToScreen(const TCustomKzEdit &, kzp::TPoint p) const override {
    return {p.X + 100, p.Y + 50};
  }
};

// The studio's list with the settings of its stored form, bound to an editor core.
class CompletionFixture : public EditFixture {
protected:
  void SetUp() override {
    EditFixture::SetUp();
    Cps = std::make_unique<TKzCompletionProposal>(ListHost);
    const kzp::TStoredValue form = kzp::LoadStoredForm(KZ_PROJECT_DIR "/resources/frmMain.json");
    LoadStoredCompletionSettings(*Cps, form.Get("CPS"));
    Cps->SetEditor(Ed.get());
    Cps->OnCancelled = [this](TKzCompletionProposal &) { ++Cancelled; };
  }
  void TearDown() override { Cps.reset(); }

  void SetEntries(std::vector<std::string> items, std::vector<std::string> inserts) {
    Cps->SetItemList(std::move(items));
    Cps->SetInsertList(std::move(inserts));
  }
  // Entries whose insert texts are "%%A0%%", "%%A1%%", ... with a formatted display text.
  void SetNumberedEntries(int count, char letter = 'A') {
    std::vector<std::string> items, inserts;
    for (int i = 0; i < count; ++i) {
      const std::string name = letter + std::to_string(i);
      items.push_back("\\color{clGray}Var\\column{}" + name + "\\style{-B} Eintrag " +
                      std::to_string(i));
      inserts.push_back("%%" + name + "%%");
    }
    SetEntries(std::move(items), std::move(inserts));
  }
  TKzBaseCompletionProposalForm &Form() { return Cps->Form(); }
  // The host's timer tick, if the trigger timer runs.
  bool Tick() {
    if (!Host.Timers.count(TKzTimerReason::CompletionTrigger))
      return false;
    Ed->TimerFired(TKzTimerReason::CompletionTrigger);
    return true;
  }
  // Keys and characters into the open list, as its window passes them on.
  void ListKey(std::uint16_t key, TShiftState shift = 0, char typed = '\0') {
    Form().KeyDown(key, shift);
    if (typed != '\0')
      Form().KeyPress(typed);
  }
  void ListType(const std::string &s) {
    for (char c : s)
      Form().KeyPress(c);
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> out;
    for (int r = 0; r < Form().FilteredCount(); ++r)
      out.push_back(PlainTextOf(Form().FilteredText(r)));
    return out;
  }

  TFakeListHost ListHost;
  std::unique_ptr<TKzCompletionProposal> Cps;
  int Cancelled = 0;
};
