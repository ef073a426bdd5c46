// Runs the built kzp tool in a test folder and collects what it printed.
#pragma once

#include <string>
#include <vector>

struct TKzpResult {
    int Exit = -1;
    std::string Out, Err;
};

// Runs `program` (the kzp binary unless given) with `args`, feeding `input` on stdin.
TKzpResult RunKzp(const std::vector<std::string> &args, const std::string &input = "",
                  const std::string &program = KZ_BIN_DIR "/kzp");
