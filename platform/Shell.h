// Opening a web address in the user's browser, behind an interface tests can replace.
#pragma once

#include <string>

class TShell {
public:
  virtual ~TShell() = default;
  // Hands `address` to the desktop to "open"; whether that worked is not reported.
  virtual void OpenAddress(const std::string &address) = 0;
};

// The program-wide shell: main() installs the real one, tests a recording fake. Shell()
// without an installed one throws std::logic_error.
TShell &Shell();
void SetShell(TShell *shell);
