// German texts of file errors and of exceptions that end a command.
#include "platform/FileErrors.h"

#include <cerrno>
#include <functional>
#include <ios>
#include <new>
#include <stdexcept>
#include <system_error>
#include <typeinfo>

namespace kzp {

const char *const kUnknownErrorText = "Unbekannter interner Fehler; der Befehl wurde abgebrochen.";

std::string FileErrorText(int errnoValue) {
  const char *text = nullptr;
  switch (errnoValue) {
  case ENOENT: return "Datei nicht gefunden";
  case EACCES:
  case EPERM: return "Zugriff verweigert";
  case ENOSPC: text = "Kein Speicherplatz mehr auf dem Datenträger"; break;
  case EDQUOT: text = "Das Speicherkontingent ist ausgeschöpft"; break;
  case EROFS: text = "Das Dateisystem ist schreibgeschützt"; break;
  case ENAMETOOLONG: text = "Der Dateiname ist zu lang"; break;
  case ENOTDIR: text = "Ein Teil des Pfades ist kein Ordner"; break;
  case EISDIR: text = "Ist ein Ordner, keine Datei"; break;
  case ELOOP: text = "Zu viele symbolische Verknüpfungen"; break;
  case ENODEV:
  case ENXIO: text = "Kein solches Gerät"; break;
  case EFBIG: text = "Die Datei ist zu groß"; break;
  case ENOMEM: text = "Nicht genügend Arbeitsspeicher"; break;
  default: break;
  }
  const std::string number = "E/A-Fehler " + std::to_string(errnoValue);
  return text ? std::string(text) + " (" + number + ")" : number;
}

std::string ExceptionText(const std::exception &error) {
  // The standard library speaks English; its failures get a German sentence, with its own
  // words kept for whoever reads a report of it.
  if (dynamic_cast<const std::bad_alloc *>(&error))
    return "Nicht genügend Arbeitsspeicher; der Befehl wurde abgebrochen.";
  if (const auto *system = dynamic_cast<const std::system_error *>(&error)) {
    if (system->code().category() == std::generic_category() ||
        system->code().category() == std::system_category())
      return FileErrorText(system->code().value());
    return "Interner Fehler (" + std::string(error.what()) + "); der Befehl wurde abgebrochen.";
  }
  // The program's own errors derive from std::runtime_error with German texts; these kinds
  // come from the standard library only.
  if (dynamic_cast<const std::logic_error *>(&error) ||
      dynamic_cast<const std::bad_cast *>(&error) ||
      dynamic_cast<const std::bad_function_call *>(&error) ||
      typeid(error) == typeid(std::exception) || dynamic_cast<const std::range_error *>(&error) ||
      dynamic_cast<const std::overflow_error *>(&error))
    return "Interner Fehler (" + std::string(error.what()) + "); der Befehl wurde abgebrochen.";
  return error.what();
}

} // namespace kzp
