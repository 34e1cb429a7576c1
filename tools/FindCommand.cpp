#include "KordoCommandLine.h"
#include "KordoExport.h"
#include "KordoSearch.h"

#include <QString>

#include <iostream>
#include <memory>

const char* const FindUsage =
    "usage: kordo-db find DATA_DIR TEXT [--people | --clubs] [--json]\n"
    "  Prints the rows the editor's list shows for TEXT: the people (the default) or the clubs whose\n"
    "  names contain it, case and accents aside, in the list's order (by name) with its columns, the\n"
    "  name that matched last where the row's name does not show it. An empty TEXT lists everybody.\n"
    "  The rows are CSV (UTF-8, a header row), or a JSON array of objects with --json.\n";

int RunFind(int argc, char** argv) {
    int exitCode = ExitOk;
    auto args = ParseCommand(argc, argv, FindUsage, 2, {}, {"--people", "--clubs", "--json"}, exitCode);
    if (!args)
        return exitCode;
    const bool clubs = args->Options.count("--clubs") > 0;
    if (clubs && args->Options.count("--people")) {
        std::cerr << "kordo-db: name one list: --people or --clubs\n";
        return Usage(FindUsage, ExitFailure);
    }
    TKordoPregameDatabase database;
    if (!LoadDatabase(database, args->Positional[0]))
        return ExitFailure;
    std::unique_ptr<TKordoSearch> search;
    if (clubs)
        search = std::make_unique<TKordoClubSearch>(database);
    else
        search = std::make_unique<TKordoStaffSearch>(database);
    // The text comes in the locale's encoding, UTF-8 everywhere this runs.
    search->Find(QString::fromLocal8Bit(args->Positional[1]).toStdU16String());
    const auto format = args->Options.count("--json") ? TKordoExportFormat::Json : TKordoExportFormat::Csv;
    if (!KordoExportSearch(*search, std::cout, format)) {
        std::cerr << "kordo-db: cannot write to standard output\n";
        return ExitFailure;
    }
    return ExitOk;
}
