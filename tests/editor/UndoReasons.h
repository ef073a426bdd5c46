// The reasons of an undo list's items, oldest first, for tests that check what was recorded.
#pragma once

#include "editor/KzEditMiscClasses.h"

#include <vector>

inline std::vector<TKzChangeReason> Reasons(const TKzEditUndoList &list) {
  std::vector<TKzChangeReason> out;
  for (int i = 0; i < list.ItemCount(); ++i)
    out.push_back(list.Item(i).Reason);
  return out;
}
