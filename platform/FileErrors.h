// The German text of a failed file operation, for every part of the program that touches
// files (packs, list files, the editor's buffer, stored forms).
#pragma once

#include <exception>
#include <string>

namespace kzp {

// "Datei nicht gefunden", "Zugriff verweigert", a plain German sentence with the number for
// the other common failures ("Kein Speicherplatz mehr auf dem Datenträger (E/A-Fehler 28)"),
// and "E/A-Fehler %d" for the rest.
std::string FileErrorText(int errnoValue);

// The message to show for an exception that ended a command: what() of the program's own
// errors (already German), a German sentence for running out of memory and for the standard
// library's own failures, whose what() would be English.
std::string ExceptionText(const std::exception &error);

// The text of an exception that is no std::exception at all.
extern const char *const kUnknownErrorText;

} // namespace kzp
