// Fuzz target keystrokes: a stored form's keystroke lists applied to the default table are
// taken whole or refused with the table as it was.
#include "FuzzTargets.h"

#include "editor/KzEditKeyCmds.h"
#include "platform/StoredForm.h"

#include <tuple>

namespace {
using TRow = std::tuple<int, int, int, int, int>;

std::vector<TRow> Rows(const TKzEditKeyStrokes &table) {
  std::vector<TRow> rows;
  for (int i = 0; i < table.Count(); ++i) {
    const TKzEditKeyStroke &k = table[i];
    rows.emplace_back(k.Command(), k.Key(), k.Shift(), k.Key2(), k.Shift2());
  }
  return rows;
}
} // namespace

KZ_FUZZ_TARGET(keystrokes)(const std::uint8_t *data, std::size_t size) {
  kzp::TStoredValue form;
  try {
    form = kzp::ParseStoredForm(FuzzBytes(data, size));
  } catch (const kzp::EStoredFormError &) {
    return;
  }
  TKzEditKeyStrokes table;
  table.ResetDefaults();
  const std::vector<TRow> before = Rows(table);
  // A whole window's form keeps them with its editor; a bare component is taken as it is.
  const kzp::TStoredValue *component =
      form.Kind() == kzp::TStoredValue::TKind::Object ? form.Find("editor") : nullptr;
  try {
    ApplyStoredKeystrokes(table, component ? *component : form);
  } catch (const std::runtime_error &) {
    FuzzCheck(Rows(table) == before, "a refused list leaves the table unchanged");
  }
}
