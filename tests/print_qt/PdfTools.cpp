// The offscreen application, scratch folders and the poppler tools for the printing tests.
#include "PdfTools.h"

#include <QGuiApplication>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

void EnsureGuiApp() {
  if (QGuiApplication::instance())
    return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_print_qt";
  static char *argv[] = {name, nullptr};
  // Never destroyed: the canvas's font caches live to the end of the program.
  static QGuiApplication *app = new QGuiApplication(argc, argv);
  (void)app;
}

TScratch::TScratch() {
  std::random_device rd;
  FPath = std::filesystem::temp_directory_path() / ("kzprint-" + std::to_string(rd()));
  std::filesystem::create_directories(FPath);
}

TScratch::~TScratch() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

namespace {

std::string Run(const std::string &command) {
  std::string out;
  if (FILE *p = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
      out.append(buffer, n);
    ::pclose(p);
  }
  return out;
}

std::string Quoted(const std::string &s) { return "'" + s + "'"; }

} // namespace

bool PdfToolsAvailable() {
  return std::system(
             "command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0;
}

std::string PdfText(const std::string &pdf, int page) {
  const std::string p = std::to_string(page);
  const std::string range = page > 0 ? "-f " + p + " -l " + p + " " : "";
  return Run("pdftotext -layout " + range + Quoted(pdf) + " - 2>/dev/null");
}

std::string PdfInfo(const std::string &pdf) {
  return Run("pdfinfo " + Quoted(pdf) + " 2>/dev/null");
}

int PdfPageCount(const std::string &pdf) {
  std::istringstream info(PdfInfo(pdf));
  std::string line;
  while (std::getline(info, line))
    if (line.rfind("Pages:", 0) == 0)
      return std::stoi(line.substr(6));
  return -1;
}

std::string ReadWhole(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
