#include "KordoCommandLine.h"
#include "KordoExport.h"

#include <filesystem>
#include <fstream>
#include <iostream>

const char* const ExportUsage =
    "usage: kordo-db export DATA_DIR --people | --clubs | --nations [--format csv|json] [--out FILE]\n"
    "  Writes one table of the database as CSV (UTF-8, a header row) or as a JSON array of objects,\n"
    "  to FILE or else to standard output. The default format is csv.\n";

int RunExport(int argc, char** argv) {
    int exitCode = ExitOk;
    auto args = ParseCommand(argc, argv, ExportUsage, 1, {"--format", "--out"},
                             {"--people", "--clubs", "--nations"}, exitCode);
    if (!args)
        return exitCode;

    const int tables = static_cast<int>(args->Options.count("--people") + args->Options.count("--clubs") +
                                        args->Options.count("--nations"));
    if (tables != 1) {
        std::cerr << "kordo-db: name exactly one table: --people, --clubs or --nations\n";
        return Usage(ExportUsage, ExitFailure);
    }
    const TKordoExportTable table = args->Options.count("--people")  ? TKordoExportTable::People
                                    : args->Options.count("--clubs") ? TKordoExportTable::Clubs
                                                                     : TKordoExportTable::Nations;
    TKordoExportFormat format = TKordoExportFormat::Csv;
    if (auto found = args->Options.find("--format"); found != args->Options.end()) {
        if (found->second == "json") {
            format = TKordoExportFormat::Json;
        } else if (found->second != "csv") {
            std::cerr << "kordo-db: --format must be csv or json\n";
            return ExitFailure;
        }
    }

    TKordoPregameDatabase database;
    if (!LoadDatabase(database, args->Positional[0]))
        return ExitFailure;

    auto out = args->Options.find("--out");
    if (out == args->Options.end()) {
        if (!KordoExportTable(database, table, std::cout, format)) {
            std::cerr << "kordo-db: cannot write to standard output\n";
            return ExitFailure;
        }
        return ExitOk;
    }

    const std::filesystem::path file = out->second;
    bool written = false;
    {
        std::ofstream stream(file, std::ios::binary | std::ios::trunc);
        if (!stream) {
            std::cerr << "kordo-db: cannot create " << file.string() << "\n";
            return ExitFailure;
        }
        written = KordoExportTable(database, table, stream, format);
        stream.close();
        written = written && !stream.fail();
    }
    if (!written) {
        // Leave no half-written table behind that looks complete (but never remove a device).
        std::error_code ignored;
        if (std::filesystem::is_regular_file(file, ignored))
            std::filesystem::remove(file, ignored);
        std::cerr << "kordo-db: cannot write " << file.string() << "\n";
        return ExitFailure;
    }
    return ExitOk;
}
