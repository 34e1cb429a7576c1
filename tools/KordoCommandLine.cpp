#include "KordoCommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

std::optional<TArguments> ParseArguments(int argc, char** argv, int first,
                                         const std::vector<std::string>& valueOptions,
                                         const std::vector<std::string>& flagOptions) {
    TArguments args;
    for (int i = first; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            args.Help = true;
        } else if (std::find(valueOptions.begin(), valueOptions.end(), word) != valueOptions.end()) {
            if (i + 1 >= argc) {
                std::cerr << "kordo-db: " << word << " needs a value\n";
                return std::nullopt;
            }
            args.Options[word] = argv[++i];
        } else if (std::find(flagOptions.begin(), flagOptions.end(), word) != flagOptions.end()) {
            args.Options[word] = "";
        } else if (word.size() > 1 && word[0] == '-') {
            std::cerr << "kordo-db: unknown option " << word << "\n";
            return std::nullopt;
        } else {
            args.Positional.push_back(word);
        }
    }
    return args;
}

std::optional<int64_t> ParseInteger(const std::string& text) {
    try {
        size_t used = 0;
        long long value = std::stoll(text, &used);
        if (used == text.size())
            return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

int Usage(const char* usage, int code) {
    (code == ExitOk ? std::cout : std::cerr) << usage;
    return code;
}

std::optional<TArguments> ParseCommand(int argc, char** argv, const char* usage, size_t positional,
                                       const std::vector<std::string>& valueOptions,
                                       const std::vector<std::string>& flagOptions, int& exitCode) {
    auto args = ParseArguments(argc, argv, 2, valueOptions, flagOptions);
    if (args && args->Help) {
        exitCode = Usage(usage, ExitOk);
        return std::nullopt;
    }
    if (!args || args->Positional.size() != positional) {
        exitCode = Usage(usage, ExitFailure);
        return std::nullopt;
    }
    return args;
}

bool LoadDatabase(TKordoPregameDatabase& database, const std::string& folder) {
    const bool loaded = database.Load(folder);
    for (const std::string& notice : database.Notices())
        std::cerr << "kordo-db: " << folder << ": " << notice << "\n";
    if (!loaded)
        std::cerr << "kordo-db: cannot load " << folder << ": " << database.LastError() << "\n";
    return loaded;
}

int FinishOutput(int code) {
    errno = 0;
    std::cout.flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout) {
        std::cerr << "kordo-db: cannot write to standard output: "
                  << (errno != 0 ? std::strerror(errno) : "write error") << "\n";
        return ExitFailure;
    }
    return code;
}
