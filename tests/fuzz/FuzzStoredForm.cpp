// Fuzz target stored_form: the stored-form reader either reads any text or refuses it with
// its own error.
#include "FuzzTargets.h"

#include "platform/StoredForm.h"

KZ_FUZZ_TARGET(stored_form)(const std::uint8_t *data, std::size_t size) {
  try {
    kzp::ParseStoredForm(FuzzBytes(data, size));
  } catch (const kzp::EStoredFormError &) {
  }
}
