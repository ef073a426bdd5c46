// Names and metadata strings of a pack as people see and type them: the checks a new file's
// target name must pass, and the conversion between the pack's 8-bit code page and the
// UTF-8 of terminals, command lines and file systems.
#pragma once

#include <string>

// Why `name` may not become the target name of a new file, or empty when it may. The web
// application unpacks a pack into its folders, so a name must stay inside them: no leading
// "/" or drive letter, no empty, "." or ".." part, no backslash (a folder separator there),
// no control character.
std::string TargetNameProblem(const std::string &name);

// The German refusal of `name` as a target name, or empty when it is fine.
std::string TargetNameRefusal(const std::string &name);

// A name or metadata string of the pack as UTF-8 text to print or show: each byte in the
// pack's code page, except that a control character, NUL or one of the five bytes the code
// page leaves undefined reads "\xNN" and a backslash "\\", so that every name can be typed
// back (ParseShownName) and no byte can steer a terminal.
std::string ShownName(const std::string &bytes);

enum class TNameParse { Ok, NotUtf8, BadEscape, Unfit };

// The reverse of ShownName for text typed by a user: UTF-8 with the escapes "\\" and "\xNN"
// (NN two hex digits) to the pack's bytes. Unfit: a character the code page lacks.
TNameParse ParseShownName(const std::string &text, std::string &bytes);

// A file name as the file system spells it (UTF-8) in the pack's code page; false when it
// is no UTF-8 or holds a character the code page lacks.
bool FileSystemNameToPack(const std::string &name, std::string &bytes);

// A file system name for a message: UTF-8 as it is, any other byte as "\xNN".
std::string ShownFileSystemName(const std::string &name);

// The warnings for text the pack cannot hold, the same wherever it was typed. `shown` is
// the name as the user reads it; `consequence` ends the sentence ("sie wurde nicht
// hinzugefügt.").
std::string UnfitNameMessage(const std::string &shown, const char *consequence);
std::string UnfitMetaFieldMessage(const char *label);

// The message for text with a backslash that starts neither "\\" nor "\xNN".
std::string BadEscapeMessage(const std::string &text);
