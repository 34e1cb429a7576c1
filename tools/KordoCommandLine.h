// What every kordo-db command shares: exit codes, argument parsing, loading with a clear error.
#pragma once

#include "KordoPregameDatabase.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

constexpr int ExitOk = 0;
constexpr int ExitFindings = 1;
constexpr int ExitFailure = 2;

// Command-line arguments: positional words and --options (with or without a value).
struct TArguments {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Options;
    bool Help = false;
};

std::optional<TArguments> ParseArguments(int argc, char** argv, int first,
                                         const std::vector<std::string>& valueOptions,
                                         const std::vector<std::string>& flagOptions);
std::optional<int64_t> ParseInteger(const std::string& text);
// Prints the usage (to stdout for exit code 0, else to stderr) and returns the code.
int Usage(const char* usage, int code);
// A command's arguments with `positional` words; on --help or a misuse the usage is printed and
// nothing is returned, with the exit code to give.
std::optional<TArguments> ParseCommand(int argc, char** argv, const char* usage, size_t positional,
                                       const std::vector<std::string>& valueOptions,
                                       const std::vector<std::string>& flagOptions, int& exitCode);
// Loads the folder; a failure is printed, and so is what the load has to tell (an interrupted save
// it finished or undid, bytes after the last table).
bool LoadDatabase(TKordoPregameDatabase& database, const std::string& folder);
// The end of every command: output that could not be written to standard output (a full disk, a
// closed pipe) fails the command with exit code 2, whatever it returned.
int FinishOutput(int code);

// The commands that live in files of their own, and their usage texts.
int RunExport(int argc, char** argv); // ExportCommand.cpp
int RunApply(int argc, char** argv);  // ApplyCommand.cpp
int RunFind(int argc, char** argv);   // FindCommand.cpp
extern const char* const ExportUsage;
extern const char* const ApplyUsage;
extern const char* const FindUsage;
