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

    // Reads both files of the data folder and links every record to the records it refers to.
    // Returns false on any failure, with the reason in LastError().
    bool Load(const std::filesystem::path& folder);
    // Sorts and renumbers, writes both files anew and links the records again. The files are written
    // to temporary files beside the originals, checked and flushed to disk, and only then replace the
    // originals, which are kept as server_db.dat.bak and people_db.dat.bak; on any failure the
    // originals stay as they were and the records stay linked and editable.
    bool Save(const std::filesystem::path& folder);

    // The steps that turn stored numbers into references, run after every load and save.
    void IndexAll();

    // Every editing operation sets this; a successful load or save clears it.
    bool Modified = false;

    // Opens the device a save writes a file through; tests put a failing device in its place.
    std::function<std::unique_ptr<TKordoByteDevice>(const std::filesystem::path&)> OpenDevice;

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
    void IndexNames(TKordoNames& names);
    void IndexStaff();
    void IndexSquads();
    void IndexClubs();
    void IndexNations();
    void ReindexAll();
    void ClearAll();
    void CheckListLimits() const;
    void WriteBothFiles(const std::filesystem::path& serverPath, const std::filesystem::path& peoplePath);
};

// The files of a data folder.
std::filesystem::path KordoServerFile(const std::filesystem::path& folder);
std::filesystem::path KordoPeopleFile(const std::filesystem::path& folder);
