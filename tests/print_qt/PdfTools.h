// Test support for printed output: a Qt application without a display, scratch folders, and
// reading a PDF back with poppler's command-line tools (the workbench tests share it).
#pragma once

#include <filesystem>
#include <string>

void EnsureGuiApp();

// A fresh folder, removed with everything in it at the end of the scope.
class TScratch {
public:
  TScratch();
  ~TScratch();
  TScratch(const TScratch &) = delete;
  TScratch &operator=(const TScratch &) = delete;
  std::string operator/(const std::string &name) const { return (FPath / name).string(); }
  const std::filesystem::path &Path() const { return FPath; }

private:
  std::filesystem::path FPath;
};

// Whether pdftotext and pdfinfo can be run.
bool PdfToolsAvailable();
// The text of page `page` (1-based; 0 for every page) as pdftotext gives it with -layout.
std::string PdfText(const std::string &pdf, int page = 0);
// What pdfinfo says about the file (title, pages, ...).
std::string PdfInfo(const std::string &pdf);
// The "Pages:" figure of pdfinfo; -1 when the file does not read as a PDF.
int PdfPageCount(const std::string &pdf);
std::string ReadWhole(const std::string &path);
