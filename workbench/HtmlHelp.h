// The help binding: shows the studio's compiled help file in a help window. The help
// library is looked up once at start; without it the help command does nothing.
#pragma once

#include <cstdint>
#include <string>

class QWidget;

// Commands the help call understands.
constexpr unsigned HH_DISPLAY_TOPIC = 0;
constexpr unsigned HH_DISPLAY_INDEX = 2;

// Looks up the help library (at program start); UnloadHtmlHelp releases it (at program end).
void LoadHtmlHelp(const char *libraryName = "libchm.so.1");
void UnloadHtmlHelp();

// Whether the help library and its entries were found.
bool HtmlHelpAvailable();

// Shows `file` in the help window owned by `owner`: HH_DISPLAY_INDEX opens it on the file's
// index, HH_DISPLAY_TOPIC on its start page. Returns nonzero when a window shows the file,
// 0 when help is unavailable, the file cannot be read or the command is unknown. `data` is
// reserved for commands that take an argument.
std::intptr_t HtmlHelp(QWidget *owner, const std::string &file, unsigned command,
                       std::uintptr_t data);

// The help window the last successful call showed, null before that.
QWidget *HtmlHelpWindow();
