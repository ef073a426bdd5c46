// Conversion between the program's 8-bit strings and QString at the Qt boundary.
#pragma once

#include <QString>
#include <string>

namespace kzp::codepage {

QString ToQString(const std::string &text);
// Characters outside the code page are dropped; `lossless` tells whether any were.
std::string FromQString(const QString &text, bool *lossless = nullptr);

} // namespace kzp::codepage
