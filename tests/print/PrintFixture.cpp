// The recording printer and the print fixture.
#include "PrintFixture.h"

namespace {

kzp::TFixedMetrics PaperMetrics() {
  kzp::TFixedMetrics m;
  m.CharWidth = 25;
  m.AveCharWidth = 25;
  m.Height = 48;
  m.Ascent = 38;
  m.InternalLeading = 6;
  return m;
}

} // namespace

void TRecordingPrinter::BeginDoc() {
  Events = {"BeginDoc " + Title};
  FOpen = true;
  Paper.ClearCalls();
  Sheets.clear();
}

void TRecordingPrinter::CloseSheet() {
  Sheets.push_back(Paper.Calls);
  Paper.ClearCalls();
}

void TRecordingPrinter::NewPage() {
  Events.push_back("NewPage");
  CloseSheet();
}

void TRecordingPrinter::EndDoc() {
  Events.push_back("EndDoc");
  CloseSheet();
  FOpen = false;
}

void TRecordingPrinter::Abort() {
  if (!FOpen)
    return;
  Events.push_back("Abort");
  CloseSheet();
  FOpen = false;
}

std::vector<kzp::TCanvasCall> TRecordingPrinter::TextsOf(std::size_t sheet) const {
  std::vector<kzp::TCanvasCall> out;
  for (const kzp::TCanvasCall &c : Sheets.at(sheet))
    if (c.Op == kzp::TCanvasOp::Text)
      out.push_back(c);
  return out;
}

std::string TRecordingPrinter::RowText(std::size_t sheet, int y) const {
  std::string out;
  for (const kzp::TCanvasCall &c : TextsOf(sheet))
    if (c.Y == y && c.Align == kzp::TTextAlign::taTop)
      out += c.Text;
  return out;
}

PrintTest::PrintTest() : Printer(), Screen(PaperMetrics()) {
  Printer.Paper.SetAllMetrics(PaperMetrics());
  Job.SetPrinter(&Printer);
}

std::unique_ptr<TCustomKzEdit> PrintTest::Editor(const std::string &text) {
  auto e = std::make_unique<TCustomKzEdit>(Host);
  e->SetMeasureCanvas(&Screen);
  e->SetText(text);
  return e;
}
