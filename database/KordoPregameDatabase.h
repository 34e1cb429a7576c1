// The pregame database: the header blocks and every table of server_db.dat and people_db.dat.
#pragma once

#include "KordoPregameData.h"

#include <filesystem>
#include <functional>
#include <string>

using TKordoStatusEvent = std::function<void(const std::string&)>;

class TKordoPregameDatabase {
public:
    static constexpr size_t ServerHeaderSize = 27;
    static constexpr size_t PeopleHeaderSize = 12;
    static constexpr const char* ServerFileName = "server_db.dat";
    static constexpr const char* PeopleFileName = "people_db.dat";

    TKordoPregameDatabase();
    TKordoPregameDatabase(const TKordoPregameDatabase&) = delete;
    TKordoPregameDatabase& operator=(const TKordoPregameDatabase&) = delete;

    // Reads both files of the folder table by table, without linking records. Returns false and
    // keeps the reason in LastError() on any failure.
    bool ReadFiles(const std::filesystem::path& folder);
    // Writes every table back as it stands, without sorting or renumbering.
    bool WriteFiles(const std::filesystem::path& folder);

    // The table passes over open streams, for callers that supply their own (tests, fuzzers).
    void ReadServerFile(TKordoFileStream& stream);
    void ReadPeopleFile(TKordoFileStream& stream);
    void WriteServerFile(TKordoFileStream& stream);
    void WritePeopleFile(TKordoFileStream& stream);

    const std::string& LastError() const { return Error; }

    TKordoStatusEvent OnStatus;
    TKordoProgressEvent OnProgress;
    std::filesystem::path DataFolder;

    std::array<uint8_t, ServerHeaderSize> ServerHeader{};
    std::array<uint8_t, PeopleHeaderSize> PeopleHeader{};
    // Bytes after the last table of each file: no table reads them, and they are written back after
    // the last table rather than dropped.
    std::vector<uint8_t> ServerTrailer, PeopleTrailer;

    TKordoAwards Awards;
    TKordoCities Cities;
    TKordoClubs Clubs;
    TKordoClubCompetitions ClubCompetitions;
    TKordoContinents Continents;
    TKordoInjuries Injuries;
    TKordoMedias Medias;
    TKordoLanguages Languages;
    TKordoNations Nations;
    TKordoNames FirstNames{1};
    TKordoNames SecondNames{2};
    TKordoNames CommonNames{3};
    TKordoStadiums Stadiums;
    TKordoStages Stages;
    TKordoSquads Squads;
    TKordoWeathers Weathers;
    TKordoStaffs Staffs;
    TKordoMentalAtts MentalAtts;
    TKordoPlayerAtts PlayerAtts;
    TKordoNonPlayerAtts NonPlayerAtts;
    TKordoUnknowns Unknowns;

protected:
    void ReportStatus(const std::string& text) const {
        if (OnStatus)
            OnStatus(text);
    }
    void ReportProgress(int64_t total, int64_t index) const {
        if (OnProgress)
            OnProgress(KordoPercentage(total, index));
    }
    std::string Error;

private:
    // One table of server_db.dat in file order: its name in status texts ("Loading <name>",
    // "Saving <name>") and how it reads and writes itself.
    struct TServerTable {
        std::string Name;
        std::function<void(TKordoFileStream&)> Load, Save;
    };
    std::vector<TServerTable> ServerTables;
    void ReadTrailer(TKordoFileStream& stream, std::vector<uint8_t>& trailer);
};

// The files of a data folder.
std::filesystem::path KordoServerFile(const std::filesystem::path& folder);
std::filesystem::path KordoPeopleFile(const std::filesystem::path& folder);
