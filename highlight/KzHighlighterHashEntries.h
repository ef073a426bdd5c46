// Keyword chains ordered by length and the bucket list that holds them by hash value.
#pragma once

#include <memory>
#include <string>
#include <vector>

// One keyword of a chain. An entry owns the rest of its chain.
class TKzHashEntry {
public:
  TKzHashEntry(const std::string &keyword, int kind);
  ~TKzHashEntry();
  TKzHashEntry(const TKzHashEntry &) = delete;
  TKzHashEntry &operator=(const TKzHashEntry &) = delete;

  // Files entry into the chain starting at head (which may be empty) and returns the head:
  // shorter keywords first, equal lengths in insertion order. A keyword equal to one in the
  // chain without regard to letter case is refused with EKzHighlighterError
  // "Keyword "<existing>" already in list", and the chain stays as it was.
  static TKzHashEntry *AddEntry(std::unique_ptr<TKzHashEntry> &head,
                                std::unique_ptr<TKzHashEntry> entry);

  TKzHashEntry *Next() const { return FNext.get(); }
  int KeywordLength() const { return static_cast<int>(FKeyword.size()); }
  const std::string &Keyword() const { return FKeyword; }
  int Kind() const { return FKind; }

private:
  std::unique_ptr<TKzHashEntry> FNext;
  std::string FKeyword;
  int FKind;
};

// Chain heads indexed by hash value; grows on demand.
class TKzHashEntryList {
public:
  TKzHashEntryList() = default;
  TKzHashEntryList(const TKzHashEntryList &) = delete;
  TKzHashEntryList &operator=(const TKzHashEntryList &) = delete;

  int Count() const { return static_cast<int>(FBuckets.size()); }
  // The chain at index, or nullptr outside 0..Count()-1 and for an empty slot. Inline, as
  // the style sheet highlighter asks once per property name.
  TKzHashEntry *Get(int index) const {
    if (index < 0 || index >= Count())
      return nullptr;
    return FBuckets[static_cast<std::size_t>(index)].get();
  }
  // Files entry at index (>= 0), growing the list to index + 1 first when needed.
  void Put(int index, std::unique_ptr<TKzHashEntry> entry);
  // Destroys every chain.
  void Clear();

private:
  std::vector<std::unique_ptr<TKzHashEntry>> FBuckets;
};
