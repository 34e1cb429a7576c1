// The pregame database: the header blocks and every table of server_db.dat and people_db.dat.
#pragma once

#include "KordoPlatform.h"
#include "KordoPregameData.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

using TKordoStatusEvent = std::function<void(const std::string&)>;

// From this many people on, the staff table is linked on two threads.
constexpr size_t KordoParallelIndexFrom = 20000;

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
    // Returns false on any failure, with the reason in LastError(). A save another program is making
    // is waited for (up to LockWait); a save that stopped before its end is first finished or undone,
    // and Notices() says which.
    bool Load(const std::filesystem::path& folder);
    // Sorts and renumbers, writes both files anew and links the records again. The files are written
    // to temporary files beside the originals, checked and flushed to disk, and then replace the
    // originals as one pair (a crash at any point leaves the old or the new pair for the next load);
    // the old pair is kept as server_db.dat.bak and people_db.dat.bak. On any failure the files and
    // the backups stay as they were and the records stay linked and editable. Only one program saves
    // into a folder at a time: a second one fails at once (FolderBusy()).
    bool Save(const std::filesystem::path& folder);

    // The steps that turn stored numbers into references, run after every load and save.
    void IndexAll();

    // Whether the database differs from what was last loaded or saved. A successful load or save
    // clears it; the editing session keeps it in step with its edits.
    bool Modified = false;

    // The journal of the edit under way, or none: while one is set, the name, staff and attribute
    // tables report their list changes to it, and whoever writes a record touches it there first.
    void SetJournal(TKordoChangeJournal* journal);
    TKordoChangeJournal* Journal() const { return EditJournal; }

    // The device a save writes each file through is the new file's own; when set, this may put
    // another around it or in its place (tests: a device that fails after some bytes). `target` is
    // the data file the device's bytes are for.
    std::function<std::unique_ptr<TKordoByteDevice>(std::unique_ptr<TKordoByteDevice> file,
                                                    const std::filesystem::path& target)>
        WrapDevice;
    // How long a load waits for another program's save, and a save for other programs' loads.
    std::chrono::milliseconds LockWait{5000};

    // Reads both files of the folder table by table, without linking records. Returns false and
    // keeps the reason in LastError() on any failure.
    bool ReadFiles(const std::filesystem::path& folder);
    // Writes every table back as it stands, without sorting or renumbering, the way Save puts files in
    // place.
    bool WriteFiles(const std::filesystem::path& folder);

    // The table passes over open streams, for callers that supply their own (tests, fuzzers).
    void ReadServerFile(TKordoFileStream& stream);
    void ReadPeopleFile(TKordoFileStream& stream);
    void WriteServerFile(TKordoFileStream& stream);
    void WritePeopleFile(TKordoFileStream& stream);

    const std::string& LastError() const { return Error; }
    // Whether the last load or save failed because another program was saving into the folder.
    bool FolderBusy() const { return Busy; }
    static constexpr const char* FolderBusyText = "the data folder is being saved by another program";
    // What the last load or save has to tell besides success: an interrupted save it finished or
    // undid, bytes after the last table of a file.
    const std::vector<std::string>& Notices() const { return Notes; }

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
    bool Busy = false;
    TKordoChangeJournal* EditJournal = nullptr;
    std::vector<std::string> Notes;

private:
    // One table of server_db.dat in file order: its name in status texts ("Loading <name>",
    // "Saving <name>") and how it reads and writes itself.
    struct TServerTable {
        std::string Name;
        std::function<void(TKordoFileStream&)> Load, Save;
    };
    std::vector<TServerTable> ServerTables;
    void ReadTrailer(TKordoFileStream& stream, std::vector<uint8_t>& trailer);
    static constexpr std::array<const char*, 4> PeopleTableNames{
        "Staff", "Mental Attributes", "Player Attributes", "Non Player Attributes"};
    struct TPeopleProgress;
    void ReadPeopleTables(TKordoFileStream& stream, TPeopleProgress* relay);
    void RelayPeopleProgress(TPeopleProgress& relay);
    void ReadPeopleFileEnd(TKordoFileStream& stream);
    void IndexNames(TKordoNames& names);
    void IndexPerson(TKordoStaff& staff);
    void IndexStaff();
    void IndexSquads();
    void IndexClubs();
    void IndexNations();
    void ReindexAll();
    void ClearAll();
    void CheckListLimits() const;
    void LockForReading(TKordoFolderLock& lock, const std::filesystem::path& folder);
    void LockForWriting(TKordoFolderLock& lock, const std::filesystem::path& folder,
                        std::chrono::milliseconds writerWait);
    void Recover(const std::filesystem::path& folder);
    bool WritePair(const std::filesystem::path& folder, bool sortFirst);
    void SortForSaving();
};

// The files of a data folder.
std::filesystem::path KordoServerFile(const std::filesystem::path& folder);
std::filesystem::path KordoPeopleFile(const std::filesystem::path& folder);
