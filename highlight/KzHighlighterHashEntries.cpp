// Keyword chains ordered by length and the bucket list that holds them by hash value.
#include "highlight/KzHighlighterHashEntries.h"

#include "highlight/KzEditHighlighter.h"

TKzHashEntry::TKzHashEntry(const std::string &keyword, int kind) : FKeyword(keyword), FKind(kind) {}

TKzHashEntry::~TKzHashEntry() {
  // Unlink iteratively, so destroying a long chain cannot exhaust the stack.
  std::unique_ptr<TKzHashEntry> rest = std::move(FNext);
  while (rest)
    rest = std::move(rest->FNext);
}

TKzHashEntry *TKzHashEntry::AddEntry(std::unique_ptr<TKzHashEntry> &head,
                                     std::unique_ptr<TKzHashEntry> entry) {
  // Check first, so a refused keyword leaves the chain untouched. Equal keywords have equal
  // lengths, and every entry not longer than the new one is visited below anyway.
  for (TKzHashEntry *e = head.get(); e && e->FKeyword.size() <= entry->FKeyword.size();
       e = e->Next()) {
    if (e->FKeyword.size() == entry->FKeyword.size() &&
        KzCompareTextNoCase(e->FKeyword, entry->FKeyword) == 0)
      throw EKzHighlighterError("Keyword \"" + e->FKeyword + "\" already in list");
  }
  std::unique_ptr<TKzHashEntry> *slot = &head;
  while (*slot && (*slot)->FKeyword.size() <= entry->FKeyword.size())
    slot = &(*slot)->FNext;
  entry->FNext = std::move(*slot);
  *slot = std::move(entry);
  return head.get();
}

void TKzHashEntryList::Put(int index, std::unique_ptr<TKzHashEntry> entry) {
  if (index < 0)
    return;
  if (index >= Count())
    FBuckets.resize(static_cast<std::size_t>(index) + 1);
  TKzHashEntry::AddEntry(FBuckets[static_cast<std::size_t>(index)], std::move(entry));
}

void TKzHashEntryList::Clear() { FBuckets.clear(); }
