// A synthetic but realistic pregame database, for the demo installation, tests and benchmarks.
#pragma once

#include "KordoPregameDatabase.h"

#include <cstdint>
#include <filesystem>
#include <string>

struct TKordoGeneratorOptions {
    int32_t People = 20000;
    uint64_t Seed = 1;
    // Avoid ties among names (equal use counts within a nation) and among a club's relation entries,
    // so that a save reproduces server_db.dat exactly; people of one nation always tie.
    bool NoTies = false;
};

// Fills every table of an empty database with a generated world, in saved (file) form: every
// reference holds its stored number, names are sorted and numbered by row, attribute records are
// numbered by row, people are sorted by nation and every club's rivals are doubled as a save
// writes them. Pointers are left null. Deterministic for a given seed on every platform.
void KordoGenerate(TKordoPregameDatabase& database, const TKordoGeneratorOptions& options);

// Generates a database and writes its two files into folder (created if missing).
bool KordoGenerateFiles(const std::filesystem::path& folder, const TKordoGeneratorOptions& options,
                        std::string& error);
