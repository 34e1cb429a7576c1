#include "KordoCommandLine.h"
#include "KordoCommit.h"
#include "KordoExport.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <vector>

const char* const ExportUsage =
    "usage: kordo-db export DATA_DIR --people | --clubs | --nations [--format csv|json] [--out FILE]\n"
    "  Writes one table of the database as CSV (UTF-8, a header row) or as a JSON array of objects,\n"
    "  to FILE or else to standard output. The default format is csv. FILE is replaced only once the\n"
    "  whole table is written; it may not be one of the database's own files.\n";

// An output buffer over an open file, keeping the system's reason when a write fails.
class TFileBuffer : public std::streambuf {
public:
    TFileBuffer(TKordoFile& file, std::filesystem::path name)
        : File(file), Name(std::move(name)), Data(1 << 20) {
        setp(Data.data(), Data.data() + Data.size());
    }
    std::string Reason;

protected:
    int overflow(int c) override {
        if (!Drain())
            return traits_type::eof();
        if (c != traits_type::eof()) {
            *pptr() = static_cast<char>(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        const size_t pending = static_cast<size_t>(pptr() - pbase());
        if (pending > 0 && Reason.empty() && !File.Write(pbase(), pending, Name, Reason))
            return false;
        setp(Data.data(), Data.data() + Data.size());
        return Reason.empty();
    }
    TKordoFile& File;
    std::filesystem::path Name;
    std::vector<char> Data;
};

// Whether `file` is one of the database's own files in `folder`, under any name.
bool IsDatabaseFile(const std::filesystem::path& file, const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(file, error);
    for (std::filesystem::path own : {KordoServerFile(folder), KordoPeopleFile(folder)}) {
        for (int backup = 0; backup < 2; ++backup, own += ".bak") {
            if (std::filesystem::weakly_canonical(own, error) == canonical)
                return true;
            std::error_code missing;
            if (std::filesystem::equivalent(own, file, missing))
                return true;
        }
    }
    return false;
}

// Writes the table into a new file beside FILE and puts it in FILE's place, so that FILE is either the
// old file or the whole new one. A FILE that is no regular file (a FIFO, a device) is written directly.
int WriteExport(TKordoPregameDatabase& database, TKordoExportTable table, TKordoExportFormat format,
                const std::filesystem::path& folder, const std::filesystem::path& out) {
    if (IsDatabaseFile(out, folder)) {
        std::cerr << "kordo-db: " << KordoPathText(out)
                  << " is one of the database's own files; choose another name\n";
        return ExitFailure;
    }
    std::error_code error;
    const std::filesystem::path file = KordoFileBehind(out);
    if (!file.empty() && std::filesystem::exists(file, error) &&
        !std::filesystem::is_regular_file(file, error)) {
        std::ofstream stream(file, std::ios::binary);
        if (!stream || !KordoExportTable(database, table, stream, format)) {
            std::cerr << "kordo-db: cannot write " << KordoPathText(out) << "\n";
            return ExitFailure;
        }
        return ExitOk;
    }
    if (file.empty()) {
        std::cerr << "kordo-db: " << KordoPathText(out) << " is a symbolic link to nothing\n";
        return ExitFailure;
    }
    std::string reason;
    std::filesystem::path temporary;
    try {
        TKordoFile written;
        temporary = KordoCreateTemporary(file, file, written);
        TFileBuffer buffer(written, temporary);
        std::ostream stream(&buffer);
        const bool exported = KordoExportTable(database, table, stream, format);
        if (exported && buffer.Reason.empty() && written.Sync(temporary, reason)) {
            written.Close();
            if (KordoRenameFile(temporary, file, reason))
                return ExitOk;
        } else if (reason.empty()) {
            reason = buffer.Reason.empty() ? "write error" : buffer.Reason;
        }
    } catch (const TKordoError& e) {
        reason = e.what();
    }
    std::string ignored;
    if (!temporary.empty())
        KordoRemoveFile(temporary, ignored);
    std::cerr << "kordo-db: cannot write " << KordoPathText(out) << ": " << reason
              << "; it was left as it was\n";
    return ExitFailure;
}

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
        // A failed write is reported, with the system's reason, when the output is finished.
        return KordoExportTable(database, table, std::cout, format) ? ExitOk : ExitFailure;
    }

    return WriteExport(database, table, format, args->Positional[0], out->second);
}
