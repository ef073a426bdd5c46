// The one in-memory store of the open template pack: its records, its document state, and
// every read and change of the pack file.
#pragma once

#include "pack/PackFile.h"
#include "pack/PackLock.h"

#include <chrono>
#include <cstddef>
#include <functional>
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
  // The file ends early (see TPackRead); CutOffMessage says where.
  bool CutOff = false;
  std::string CutOffMessage;
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

// A change refused because the pack ends early: writing it would make the loss final.
class EPackCutOffError : public EPackError {
public:
  explicit EPackCutOffError(const std::string &message) : EPackError(message) {}
};

// A change the user chose not to carry out when asked; nothing was changed, and there is
// nothing to report.
class EPackCancelled : public EPackError {
public:
  EPackCancelled() : EPackError("Abgebrochen; es wurde nichts geändert.") {}
};

// The German text of a file error (kzp::FileErrorText), followed by the path when one is
// given.
std::string IOErrorMessage(int errnoValue, const std::string &path);

// Record helpers shared by the store and the kzp tool.
std::string EscapeTemplateText(const std::string &text);   // CR, LF, TAB to <_R_>, <_N_>, <_T_>
std::string UnescapeTemplateText(const std::string &text); // the reverse, in the same order
std::string BuildMetaRecord(const kzpMetaData &meta);
kzpMetaData ParseMetaRecord(const std::string &record);
std::string BuildTemplateRecord(const std::string &name, const std::string &text);
std::string TemplateTextOfRecord(const std::string &record); // token 2, unescaped
std::string RecordKey(const std::string &record);            // the first token on TAB
bool IsFileRecord(const std::string &record);                // begins with "img:"

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
  // pack file before they return. Each is all or nothing: when it fails, Records are as
  // they were before it (or as the file holds them, when it read the pack again), and the
  // file is as it was.
  //
  // Each holds the pack's lock (TPackLock) from its look at the file to the rename, so
  // writers in other processes wait for it. When the file changed since this store read
  // or wrote it, OnChangedOnDisk is asked first (without the lock); unset, or answering
  // true, the pack is read again (Reload) and the change is made to what it holds now. So
  // a change never overwrites one it did not see.
  //
  // A cut-off pack (CutOff()) is only written once OnWriteCutOff agreed; unset, the change
  // is refused with EPackCutOffError. A hook answering false ends the change with
  // EPackCancelled.

  // Replaces record 0 and writes the pack. An empty string would read back shifted and a
  // TAB or LF would cut the record, so such a set is refused (EPackError) before anything
  // changes.
  void WriteMetaData(const kzpMetaData &meta);

  // Appends the file record of `sourcePath`'s bytes under `name` and writes the pack. A
  // source that cannot be read, or a name TargetNameProblem refuses, fails before
  // anything changes.
  void AddFileRecord(const std::string &name, const std::string &sourcePath);

  // Removes every file record named `name` and writes the pack.
  void DeleteFileRecord(const std::string &name);

  // Replaces every template record named `name` (record 0 never) and writes the pack, also
  // when none matched. Returns how many were replaced.
  std::size_t SaveTemplate(const std::string &name, const std::string &text);

  // Replaces the records of several templates (each name as SaveTemplate does) and writes
  // the pack once. All or nothing: when the write fails, Records are as they were and the
  // error is raised.
  void SaveTemplates(const std::vector<std::pair<std::string, std::string>> &texts);
  // The same with the new texts made from the old ones: `edit` gets each template's name and
  // text once (the first record of a name) and returns true when it changed the text. It
  // runs on the records as they are when the pack is written, after a reload of a pack
  // changed on disk too, so a change made elsewhere is edited instead of overwritten.
  using TTemplateEdit = std::function<bool(const std::string &name, std::string &text)>;
  void SaveTemplates(const TTemplateEdit &edit);

  // The text of the first template record named `name`, or the empty text.
  std::string GetTemplate(const std::string &name) const;

  // Writes Records as they are to PackPath, replacing the file only once the new one is
  // on disk, under the pack's lock but without looking at what the file held: for a pack
  // written whole on purpose. A failed write leaves the old file untouched.
  void WritePack();

  // Whether the pack file is no longer the one this store last read or wrote (another
  // identity, size or modification time). A pack that is gone, or a PackPath set by hand,
  // counts as unchanged: there is nothing there to lose.
  bool ChangedOnDisk() const;

  // Reads the open pack again, keeping CurrentTemplate and Modified (the editor keeps its
  // text), and tells OnReloaded. On failure the store is left as it was.
  TPackContents Reload();

  // The open pack ends early (TPackRead); cleared by the first write, which ends it clean.
  bool CutOff() const { return cutOff_; }
  const std::string &CutOffMessage() const { return cutOffMessage_; }

  // Asked by a change that found the file changed; true: read it again and go on.
  std::function<bool()> OnChangedOnDisk;
  // Asked by the first change of a cut-off pack; true: write it all the same.
  std::function<bool()> OnWriteCutOff;
  // Told after the pack was read again, with what it now holds.
  std::function<void(const TPackContents &)> OnReloaded;
  // How long a change waits for another writer.
  std::chrono::milliseconds LockTimeout = kPackLockTimeout;

  // The records of the open pack; record 0 is the metadata. Change them through the
  // operations above: adding files in a row writes only the new records, which relies on
  // the earlier ones not having been edited in place in between.
  std::vector<std::string> Records;
  std::string PackPath = "na";
  std::string CurrentTemplate = "na";
  bool Modified = false;

private:
  struct TChange;
  void Change(const TChange &change);
  void PrepareChange(TPackLock &lock);
  TPackContents ReadAndAdopt(const std::string &path);
  void Adopt(TPackRead &&read, const std::string &path);
  void WriteRecords(bool appending);

  std::unique_ptr<TPackShadow> shadow_;
  // The pack file as this store last read or wrote it, and where.
  TFileIdentity disk_;
  std::string diskPath_;
  bool cutOff_ = false;
  bool cutOffAccepted_ = false;
  std::string cutOffMessage_;
};

// The sentence that says where a cut-off pack ends, naming its last complete record.
std::string CutOffMessageOf(const std::vector<std::string> &records, bool lastRecordCut);

// The one program-wide store.
TPackStore &ThePackStore();
