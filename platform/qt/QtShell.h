// The shell service over the desktop's URL handler.
#pragma once

#include "platform/Shell.h"

class TQtShell : public TShell {
public:
  void OpenAddress(const std::string &address) override;
};
