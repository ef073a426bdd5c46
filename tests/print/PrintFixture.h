// Test support for printing: a printer that records its documents sheet by sheet on a
// fixed-metric canvas, an editor without a window, and a job set up on both.
#pragma once

#include "editor/KzEdit.h"
#include "platform/Clipboard.h"
#include "platform/FixedCanvas.h"
#include "platform/Printer.h"
#include "print/KzEditPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Records BeginDoc, NewPage, EndDoc and Abort of the last document in Events, and the drawing of
// every sheet in Sheets (the sheet in progress is the last one). Lists no installed printer unless
// Names is filled, so the job sees the A4 sheet at 300 dpi.
class TRecordingPrinter : public kzp::TPrinter {
public:
  std::vector<std::string> Names;
  kzp::TPrinterGeometry Sheet = kzp::A4At300Dpi;
  std::vector<std::string> Events;
  std::vector<std::vector<kzp::TCanvasCall>> Sheets;
  std::string Title;
  kzp::TFixedCanvas Paper;

  std::vector<std::string> Printers() const override { return Names; }
  kzp::TPrinterGeometry Geometry() const override { return Sheet; }
  void SetTitle(const std::string &title) override { Title = title; }
  void BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;
  bool Printing() const override { return FOpen; }
  kzp::TCanvas &Canvas() override { return Paper; }

  // The texts drawn on a sheet, each with its position, in drawing order.
  std::vector<kzp::TCanvasCall> TextsOf(std::size_t sheet) const;
  // The text of one sheet's row at y, pieces joined.
  std::string RowText(std::size_t sheet, int y) const;

private:
  void CloseSheet();
  bool FOpen = false;
};

class TNoWindowHost : public TKzEditHost {
public:
  kzp::TMemoryClipboard Clip;
  kzp::TClipboard &Clipboard() override { return Clip; }
};

// Cells are 25 x 48 pixels (ascent 38) in every style and at every size. On the A4 sheet the
// text area runs from x 230 to 2239 and y 245 to 3162: 80 characters a row, 60 rows a page.
class PrintTest : public ::testing::Test {
protected:
  static constexpr int kLeft = 230, kTop = 245, kRow = 48, kCell = 25, kRowsPerPage = 60;

  PrintTest();
  void SetLines(const std::vector<std::string> &lines) { Job.SetLines(lines); }
  // Lays the job out on the printer's canvas as printing does.
  void Prepare() { Job.PreparePages(Printer.Paper); }
  void Print() { Job.PrintAll(); }
  // The y of the n-th row (0-based) of a page.
  static int RowY(int n) { return kTop + n * kRow; }
  // An editor holding text, with the job's cell metrics.
  std::unique_ptr<TCustomKzEdit> Editor(const std::string &text);

  TRecordingPrinter Printer;
  TKzEditPrint Job;
  TNoWindowHost Host;
  kzp::TFixedCanvas Screen;
};
