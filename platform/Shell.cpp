// The program-wide shell service.
#include "platform/Shell.h"

#include <stdexcept>

namespace {
TShell *installedShell = nullptr;
}

TShell &Shell() {
  if (!installedShell)
    throw std::logic_error("no shell service installed");
  return *installedShell;
}

void SetShell(TShell *shell) { installedShell = shell; }
