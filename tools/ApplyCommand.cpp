#include "KordoApply.h"
#include "KordoCommandLine.h"

#include <QJsonObject>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

const char* const ApplyUsage =
    "usage: kordo-db apply DATA_DIR SCRIPT OUT_DIR\n"
    "       kordo-db apply DATA_DIR --csv EDITS.csv OUT_DIR\n"
    "Runs a script of editor actions (or one edit_staff per row of a sheet whose first\n"
    "column is ID and whose other columns are control names or the people export's\n"
    "columns) through the editors' rules and saves the result into OUT_DIR. Cells that\n"
    "hold what the export holds change nothing. The operations undo, redo, undo_all and\n"
    "redo_all take back or make again what the operations before them did. On any error\n"
    "nothing is written.\n";

namespace {

bool ReadFile(const std::string& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    contents.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

} // namespace

int RunApply(int argc, char** argv) {
    int exitCode = ExitOk;
    // With --csv the sheet is the option's value and the script's place stays empty.
    bool sheet = false;
    for (int i = 2; i < argc; ++i)
        sheet |= std::string(argv[i]) == "--csv";
    auto args = ParseCommand(argc, argv, ApplyUsage, sheet ? 2 : 3, {"--csv"}, {}, exitCode);
    if (!args)
        return exitCode;
    const std::string dataDir = args->Positional[0];
    const std::string input = sheet ? args->Options.at("--csv") : args->Positional[1];
    const std::string outDir = args->Positional.back();

    std::string text;
    if (!ReadFile(input, text)) {
        std::cerr << "kordo-db: cannot read " << input << "\n";
        return ExitFailure;
    }
    TKordoPregameDatabase database;
    if (!LoadDatabase(database, dataDir))
        return ExitFailure;
    QJsonObject script;
    if (sheet) {
        std::string error;
        if (!KordoSheetToScript(text, script, error, &database)) {
            std::cerr << "kordo-db: " << input << ": " << error << "\n";
            return ExitFailure;
        }
    }
    TKordoApplier applier(database);
    if (sheet)
        applier.OperationWord = "row";
    if (!(sheet ? applier.Run(script) : applier.Run(text))) {
        std::cerr << "kordo-db: " << input << ": " << applier.Error() << "; nothing written\n";
        return ExitFailure;
    }

    std::error_code failed;
    std::filesystem::create_directories(outDir, failed);
    if (failed) {
        std::cerr << "kordo-db: cannot create " << outDir << ": " << failed.message() << "\n";
        return ExitFailure;
    }
    if (!database.Save(outDir)) {
        std::cerr << "kordo-db: cannot save into " << outDir << ": " << database.LastError() << "\n";
        return ExitFailure;
    }
    return ExitOk;
}
