// The editor's fixed message texts, in one place so tests and callers compare against the
// same strings the code raises.
#pragma once

// Text buffer. The index message carries the offending index in place of %d.
inline constexpr const char *SKzEditListIndexError = "Invalid stringlist index %d";
inline constexpr const char *SKzEditListCapacityError =
    "Stringlist capacity cannot be smaller than count";

// Keystroke table.
inline constexpr const char *SKzEditDuplicateShortCut = "Shortcut already exists";

// Editor control: clipboard.
inline constexpr const char *SKzEditClipboardCopyError = "Clipboard copy operation failed";
inline constexpr const char *SKzEditClipboardPasteError = "Clipboard paste operation failed.";

// Reading a stored keystroke list: a command that is neither a known name nor a number, or a
// stroke whose fields are not what a stroke holds. %s is the offending value and where it sits.
inline constexpr const char *SKzEditInvalidPropertyValue = "Ungültiger Eigenschaftswert: %s";

// File errors of reading and writing a buffer, as the rest of the program words them.
inline constexpr const char *SKzEditFileNotFound = "Datei nicht gefunden";
inline constexpr const char *SKzEditAccessDenied = "Zugriff verweigert";
inline constexpr const char *SKzEditIOError = "E/A-Fehler %d";
