// kordo-db: the command-line tool over the pregame database.
#include "KordoCheck.h"
#include "KordoCommandLine.h"
#include "KordoGenerator.h"
#include "KordoPregameDatabase.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const MainUsage = R"(Usage: kordo-db COMMAND [ARGS]
  or:  kordo-db --help | --help-all | --version

Commands:
  generate DATA_DIR [--people N] [--seed S] [--no-ties] [--force]
                     write a synthetic server_db.dat and people_db.dat into DATA_DIR
  info DATA_DIR [--json]
                     load DATA_DIR and print the size of every table
  roundtrip IN_DIR OUT_DIR
                     load IN_DIR and save it unchanged into OUT_DIR
  check DATA_DIR     load DATA_DIR and report what would hurt the game or the editor
  export DATA_DIR --people | --clubs | --nations [--format csv|json] [--out FILE]
                     write a table as CSV or JSON
  apply DATA_DIR (SCRIPT | --csv EDITS.csv) OUT_DIR
                     run editor actions from a script or a sheet and save into OUT_DIR
  find DATA_DIR TEXT [--people | --clubs] [--json]
                     print the rows the editor's list shows for TEXT

Run 'kordo-db COMMAND --help' for a command's options, 'kordo-db --help-all' for every command's.
)";

const char* const GenerateUsage =
    R"(usage: kordo-db generate DATA_DIR [--people N] [--seed S] [--no-ties] [--force]

Writes a synthetic but complete database (server_db.dat and people_db.dat) into DATA_DIR, creating
the folder if needed. The same seed always gives the same files. A folder that already holds either
file is left alone unless --force is given; then the files are replaced the way a save replaces
them (the old pair is kept as .bak).

  --people N   number of people (default 20000)
  --seed S     random seed (default 1)
  --no-ties    no two names of a nation share a use count and no two entries of a club's relation
               list compare equal, so that a save rewrites server_db.dat byte for byte
  --force      replace the database files DATA_DIR already holds
)";

const char* const InfoUsage = R"(usage: kordo-db info DATA_DIR [--json]

Loads the database in DATA_DIR and prints the number of records of every table, the sizes of the
two header blocks and the load time.

  --json       print one JSON object instead of text
)";

const char* const RoundtripUsage = R"(usage: kordo-db roundtrip IN_DIR OUT_DIR

Loads the database in IN_DIR and saves it, unchanged, into OUT_DIR (created if missing), exactly as
the editor saves: names, attribute records and people are sorted and renumbered, every club's rivals
are written twice, and existing files in OUT_DIR are replaced only after both new files are complete
(the old ones are kept as .bak).
)";

const char* const CheckUsage = R"(usage: kordo-db check DATA_DIR

Loads the database in DATA_DIR and prints one line per problem: stored references that do not
resolve, names outside their nation's group or nation name ranges that disagree with the names,
nation club and staff counts that disagree with a recount, lists longer than the file can store,
duplicate person IDs and ClubIDs, attribute records used by no one or by two people, own numbers
(NationIndex, ClubIndex, SquadIndex, CityIndex) that differ from the row, and bytes after the last
table. Exit code 0 when nothing is found, 1 when something is, 2 when the database cannot be loaded.
)";

int Roundtrip(int argc, char** argv) {
    int exitCode = ExitOk;
    auto args = ParseCommand(argc, argv, RoundtripUsage, 2, {}, {}, exitCode);
    if (!args)
        return exitCode;
    TKordoPregameDatabase database;
    if (!LoadDatabase(database, args->Positional[0]))
        return ExitFailure;
    std::error_code error;
    std::filesystem::create_directories(args->Positional[1], error);
    if (!database.Save(args->Positional[1])) {
        std::cerr << "kordo-db: cannot save " << args->Positional[1] << ": " << database.LastError() << "\n";
        return ExitFailure;
    }
    return ExitOk;
}

int Check(int argc, char** argv) {
    int exitCode = ExitOk;
    auto args = ParseCommand(argc, argv, CheckUsage, 1, {}, {}, exitCode);
    if (!args)
        return exitCode;
    TKordoPregameDatabase database;
    if (!LoadDatabase(database, args->Positional[0]))
        return ExitFailure;
    std::vector<std::string> findings = KordoCheckDatabase(database);
    for (const std::string& finding : findings)
        std::cout << finding << "\n";
    if (findings.empty()) {
        std::cout << "no problems found\n";
        return ExitOk;
    }
    std::cout << findings.size() << " problem" << (findings.size() == 1 ? "" : "s") << " found\n";
    return ExitFindings;
}

int Generate(int argc, char** argv) {
    int exitCode = ExitOk;
    auto args = ParseCommand(argc, argv, GenerateUsage, 1, {"--people", "--seed"}, {"--no-ties", "--force"},
                             exitCode);
    if (!args)
        return exitCode;
    const std::filesystem::path folder = args->Positional[0];
    if (!args->Options.count("--force"))
        for (const std::filesystem::path& file : {KordoServerFile(folder), KordoPeopleFile(folder)})
            if (KordoFileKindOf(file) != TKordoFileKind::Missing) {
                std::cerr << "kordo-db: " << KordoPathText(folder) << " already holds "
                          << KordoPathText(file.filename())
                          << "; give --force to replace the database (the old files are kept as .bak)\n";
                return ExitFailure;
            }
    TKordoGeneratorOptions options;
    if (args->Options.count("--people")) {
        auto people = ParseInteger(args->Options["--people"]);
        if (!people || *people < 0 || *people > 5000000) {
            std::cerr << "kordo-db: --people must be a number from 0 to 5000000\n";
            return ExitFailure;
        }
        options.People = static_cast<int32_t>(*people);
    }
    if (args->Options.count("--seed")) {
        auto seed = ParseInteger(args->Options["--seed"]);
        if (!seed) {
            std::cerr << "kordo-db: --seed must be a number\n";
            return ExitFailure;
        }
        options.Seed = static_cast<uint64_t>(*seed);
    }
    options.NoTies = args->Options.count("--no-ties") > 0;
    std::string error;
    auto started = std::chrono::steady_clock::now();
    if (!KordoGenerateFiles(args->Positional[0], options, error)) {
        std::cerr << "kordo-db: " << error << "\n";
        return ExitFailure;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "generated " << options.People << " people in " << args->Positional[0] << " ("
              << std::to_string(seconds) << " s)\n";
    return ExitOk;
}

int Info(int argc, char** argv) {
    int exitCode = ExitOk;
    auto args = ParseCommand(argc, argv, InfoUsage, 1, {}, {"--json"}, exitCode);
    if (!args)
        return exitCode;
    TKordoPregameDatabase database;
    auto started = std::chrono::steady_clock::now();
    if (!LoadDatabase(database, args->Positional[0]))
        return ExitFailure;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::vector<std::pair<std::string, int64_t>> counts = {
        {"People", database.Staffs.Count()},
        {"Clubs", database.Clubs.Count()},
        {"Nations", database.Nations.Count()},
        {"Squads", database.Squads.Count()},
        {"First Names", database.FirstNames.Count()},
        {"Second Names", database.SecondNames.Count()},
        {"Common Names", database.CommonNames.Count()},
        {"Mental Attributes", database.MentalAtts.Count()},
        {"Player Attributes", database.PlayerAtts.Count()},
        {"Non Player Attributes", database.NonPlayerAtts.Count()},
        {"Awards", database.Awards.Count()},
        {"Cities", database.Cities.Count()},
        {"Club Competitions", database.ClubCompetitions.Count()},
        {"Continents", database.Continents.Count()},
        {"Injuries", database.Injuries.Count()},
        {"Media", database.Medias.Count()},
        {"Languages", database.Languages.Count()},
        {"Stadiums", database.Stadiums.Count()},
        {"Stages", database.Stages.Count()},
        {"Weather", database.Weathers.Count()},
    };
    for (int table = 1; table <= TKordoUnknowns::TableCount; ++table)
        counts.emplace_back(TKordoUnknowns::TableName(table), database.Unknowns.Count(table));

    if (args->Options.count("--json")) {
        std::cout << "{\n  \"tables\": {\n";
        for (size_t i = 0; i < counts.size(); ++i)
            std::cout << "    \"" << counts[i].first << "\": " << counts[i].second
                      << (i + 1 < counts.size() ? ",\n" : "\n");
        std::cout << "  },\n  \"server_header_bytes\": " << TKordoPregameDatabase::ServerHeaderSize
                  << ",\n  \"people_header_bytes\": " << TKordoPregameDatabase::PeopleHeaderSize
                  << ",\n  \"load_seconds\": " << seconds << "\n}\n";
        return ExitOk;
    }
    for (const auto& [name, count] : counts) {
        std::string label = name + ":";
        std::printf("%-24s %lld\n", label.c_str(), static_cast<long long>(count));
    }
    std::printf("%-24s %zu bytes\n", "server_db.dat header:", TKordoPregameDatabase::ServerHeaderSize);
    std::printf("%-24s %zu bytes\n", "people_db.dat header:", TKordoPregameDatabase::PeopleHeaderSize);
    std::printf("%-24s %.3f s\n", "Load time:", seconds);
    return ExitOk;
}

int RunCommand(int argc, char** argv) {
    if (argc < 2)
        return Usage(MainUsage, ExitFailure);
    std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help")
        return Usage(MainUsage, ExitOk);
    if (command == "--help-all") {
        std::cout << MainUsage;
        for (const char* usage :
             {GenerateUsage, InfoUsage, RoundtripUsage, CheckUsage, ExportUsage, ApplyUsage, FindUsage})
            std::cout << "\n" << usage;
        return ExitOk;
    }
    if (command == "--version") {
        std::cout << "kordo-db " << KORDO_VERSION << "\n";
        return ExitOk;
    }
    if (command == "generate")
        return Generate(argc, argv);
    if (command == "info")
        return Info(argc, argv);
    if (command == "roundtrip")
        return Roundtrip(argc, argv);
    if (command == "check")
        return Check(argc, argv);
    if (command == "export")
        return RunExport(argc, argv);
    if (command == "apply")
        return RunApply(argc, argv);
    if (command == "find")
        return RunFind(argc, argv);
    std::cerr << "kordo-db: unknown command '" << command << "'\n";
    return Usage(MainUsage, ExitFailure);
}

} // namespace

int main(int argc, char** argv) {
    return FinishOutput(RunCommand(argc, argv));
}
