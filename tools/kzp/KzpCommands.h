// The pack commands of the kzp tool, each working through the pack store.
#pragma once

#include <string>
#include <vector>

// Each takes the words after the command name and returns the exit code: 0 done, 1 failed
// (the message is on stderr), 2 wrong usage.
int RunInfo(const std::vector<std::string> &args);
int RunList(const std::vector<std::string> &args);
int RunCat(const std::vector<std::string> &args);
int RunSave(const std::vector<std::string> &args);
int RunAdd(const std::vector<std::string> &args);
int RunDelete(const std::vector<std::string> &args);
int RunMeta(const std::vector<std::string> &args);
int RunImport(const std::vector<std::string> &args);
int RunNew(const std::vector<std::string> &args);
int RunExtract(const std::vector<std::string> &args);
int RunBuild(const std::vector<std::string> &args);

// The folder the kzp binary lies in, where the data files are installed beside it.
std::string ProgramFolder();

// Prints the usage line of a command (or of every command) and returns 2.
int Usage(const std::string &command);
