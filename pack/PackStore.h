// The one in-memory store of the open template pack: its records, its document state, and
// every read and change of the pack file.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// The five metadata strings of a pack, in record order.
struct kzpMetaData {
    std::string Titel, Author, AuthorMail, AuthorWeb, Ordner;
};

// What opening a pack tells the caller: its metadata and the names of its template and file
// records, each list in record order.
struct TPackContents {
    kzpMetaData Meta;
    std::vector<std::string> Templates, Files;
};

// Every error of the store; what() is the German message to show the user.
class EPackError : public std::runtime_error {
public:
    explicit EPackError(const std::string &message) : std::runtime_error(message) {}
};

// A file that cannot be opened, read, created or written. Code() is the errno behind it
// (0 when the failure has no errno, such as a folder given instead of a file).
class EPackIOError : public EPackError {
public:
    EPackIOError(const std::string &message, int code) : EPackError(message), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

// A pack file whose content is damaged, or that is no pack at all.
class EPackFormatError : public EPackError {
public:
    explicit EPackFormatError(const std::string &message) : EPackError(message) {}
};

// A file that holds no record at all, so it cannot be a pack.
class EPackNotAPackError : public EPackFormatError {
public:
    explicit EPackNotAPackError(const std::string &message) : EPackFormatError(message) {}
};

// The German text of a file error: "Datei nicht gefunden", "Zugriff verweigert",
// "E/A-Fehler %d", followed by the path when one is given.
std::string IOErrorMessage(int errnoValue, const std::string &path);

// Record helpers shared by the store and the kzp tool.
std::string EscapeTemplateText(const std::string &text);   // CR, LF, TAB to <_R_>, <_N_>, <_T_>
std::string UnescapeTemplateText(const std::string &text); // the reverse, in the same order
std::string BuildMetaRecord(const kzpMetaData &meta);
kzpMetaData ParseMetaRecord(const std::string &record);
std::string BuildTemplateRecord(const std::string &name, const std::string &text);
std::string TemplateTextOfRecord(const std::string &record); // token 2, unescaped
std::string RecordKey(const std::string &record);             // the first token on TAB
bool IsFileRecord(const std::string &record);                 // begins with "img:"

class TPackShadow;

class TPackStore {
public:
    TPackStore();
    ~TPackStore();
    TPackStore(const TPackStore &) = delete;
    TPackStore &operator=(const TPackStore &) = delete;

    // Opens the pack at `path`. On any failure the store is left exactly as it was.
    TPackContents LoadPack(const std::string &path);

    // The writing operations below need an open pack (EPackError otherwise) and write the
    // pack file before they return.

    // Replaces record 0 and writes the pack. An empty string would read back shifted and a
    // TAB or LF would cut the record, so such a set is refused (EPackError) before anything
    // changes.
    void WriteMetaData(const kzpMetaData &meta);

    // Appends the file record of `sourcePath`'s bytes under `name` and writes the pack. A
    // source that cannot be read, or a name holding a TAB or LF, fails before Records
    // changes.
    void AddFileRecord(const std::string &name, const std::string &sourcePath);

    // Removes every file record named `name` and writes the pack.
    void DeleteFileRecord(const std::string &name);

    // Replaces every template record named `name` (record 0 never) and writes the pack.
    void SaveTemplate(const std::string &name, const std::string &text);

    // Replaces the records of several templates (each name as SaveTemplate does) and writes
    // the pack once. All or nothing: when the write fails, Records are as they were and the
    // error is raised.
    void SaveTemplates(const std::vector<std::pair<std::string, std::string>> &texts);

    // The text of the first template record named `name`, or the empty text.
    std::string GetTemplate(const std::string &name) const;

    // Writes Records to PackPath, replacing the file only once the new one is on disk. A
    // failed write keeps Records as they are and leaves the old file untouched.
    void WritePack();

    // The records of the open pack; record 0 is the metadata. Change them through the
    // operations above: adding files in a row writes only the new records, which relies on
    // the earlier ones not having been edited in place in between.
    std::vector<std::string> Records;
    std::string PackPath = "na";
    std::string CurrentTemplate = "na";
    bool Modified = false;

private:
    void WriteRecords(bool appending);

    std::unique_ptr<TPackShadow> shadow_;
};

// The one program-wide store.
TPackStore &ThePackStore();
