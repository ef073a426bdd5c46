// Small readers shared by the tests of the data files that lie beside the program.
#pragma once
#include <set>
#include <string>
#include <vector>

namespace kzdata {

std::string BinPath(const std::string &relative);    // a file of the built installation
std::string SourcePath(const std::string &relative); // a file of the project's sources
bool FileExists(const std::string &path);
std::string ReadBytes(const std::string &path); // the whole file; throws when unreadable
// The lines of a text file split at LF; a final LF does not start another line.
std::vector<std::string> ReadLines(const std::string &path);
std::vector<std::string> ListDir(const std::string &dir); // plain file names, sorted

// Every value of href="..." in an HTML text, with character references decoded.
std::vector<std::string> HrefsOf(const std::string &html);
std::string DecodeEntities(const std::string &text);
// Every %%...%% placeholder of a template text, without the percent signs.
std::vector<std::string> PlaceholdersOf(const std::string &text);

// Picture sizes read from the file headers; {0, 0} when the header is not recognised.
struct TSize {
  int Width = 0, Height = 0;
};
TSize PngSize(const std::string &bytes);
TSize JpegSize(const std::string &bytes);

} // namespace kzdata
