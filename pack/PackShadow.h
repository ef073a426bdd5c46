// The pack file that the last write replaced, kept aside while files are being added, so
// that each further append writes only the records it adds instead of the whole pack.
#pragma once

#include "pack/PackFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The store's records are checked by where their text lies and how long it is; the pack
// store changes a record only through its own operations, each of which writes at once.
class TPackShadow {
public:
  TPackShadow() = default;
  ~TPackShadow();
  TPackShadow(const TPackShadow &) = delete;
  TPackShadow &operator=(const TPackShadow &) = delete;

  // Forgets everything and removes the kept file.
  void Drop();

  // Removes what a crashed run of this program left beside the pack at `packPath`: its
  // temporary, kept and linked-aside files, recognised by name and by the number of a
  // process that no longer runs.
  static void RemoveLeftovers(const std::string &packPath);

  // A whole write is about to replace the pack; when the file there is the one last
  // written, it is linked aside so that it can be kept. Runs just before the rename.
  void LinkReplaced(const TReplaceTarget &target);
  // The rename failed: the link made aside goes again.
  void ReplaceFailed();
  // A whole write replaced the pack with `written`, holding `records`. With `keep` the
  // replaced file becomes the kept one; otherwise nothing is kept.
  void Replaced(const TReplaceTarget &target, const TFileIdentity &written,
                const std::vector<std::string> &records, bool keep);

  // Brings the kept file up to `records` (which must only have grown since it was the
  // pack) and puts it in place of the pack, as crash-safely as a whole write. Returns
  // false, having changed nothing, when the kept file cannot be used; EPackIOError when a
  // write fails (the pack is then untouched).
  bool Append(const std::string &packPath, const std::vector<std::string> &records);

  // The pack file as the last write (whole or appended) left it.
  const TFileIdentity &LastWritten() const { return written_.File; }

private:
  struct TState {
    bool Known = false;
    TFileIdentity File;
    std::size_t Records = 0;
    std::uint64_t TextLength = 0; // bytes of the pack text the file holds
    // Per record where its text lay and how long it was; short records live inside the
    // list itself and move with it, so their text is kept and compared instead.
    std::vector<std::pair<const char *, std::size_t>> Ids;
    std::vector<std::string> ShortTexts;
  };

  static TState StateOf(const TFileIdentity &file, const std::vector<std::string> &records);
  static bool Unchanged(const TState &state, const std::vector<std::string> &records);
  std::string KeptName(const TReplaceTarget &target) const;
  std::string PrevName(const TReplaceTarget &target) const;
  void AdoptReplaced(const TReplaceTarget &target, const TState &replaced);

  TState written_; // the pack file as this store last wrote it
  TState kept_;    // the kept file, one write behind
  std::string keptPath_;
  std::string linkedPath_; // the replaced pack linked aside, until it is renamed to keptPath_
};
