#include "KordoPregameDatabase.h"

#include "KordoClubRelations.h"
#include "KordoCommit.h"
#include "KordoRecordIO.h"

#include <atomic>
#include <new>
#include <thread>

namespace fs = std::filesystem;

std::filesystem::path KordoServerFile(const std::filesystem::path& folder) {
    return folder / TKordoPregameDatabase::ServerFileName;
}
std::filesystem::path KordoPeopleFile(const std::filesystem::path& folder) {
    return folder / TKordoPregameDatabase::PeopleFileName;
}

TKordoPregameDatabase::TKordoPregameDatabase() {
    auto table = [this](const char* name, auto& t) {
        ServerTables.push_back({name,
                                [this, &t](TKordoFileStream& s) {
                                    t.OnProgress = OnProgress;
                                    t.Clear();
                                    t.LoadFromStream(s);
                                },
                                [this, &t](TKordoFileStream& s) {
                                    t.OnProgress = OnProgress;
                                    t.SaveToStream(s);
                                }});
    };
    auto unknown = [this](const char* name, int number) {
        ServerTables.push_back({name,
                                [this, number](TKordoFileStream& s) {
                                    // The opaque tables are emptied once, before the first of them.
                                    if (number == 1)
                                        Unknowns.ClearAll();
                                    Unknowns.OnProgress = OnProgress;
                                    Unknowns.LoadTable(s, number);
                                },
                                [this, number](TKordoFileStream& s) {
                                    Unknowns.OnProgress = OnProgress;
                                    Unknowns.SaveTable(s, number);
                                }});
    };
    table("Awards", Awards);
    table("Cities", Cities);
    table("Clubs", Clubs);
    table("Club Competitions", ClubCompetitions);
    table("Continents", Continents);
    table("Injuries", Injuries);
    table("Media", Medias);
    table("Languages", Languages);
    table("Nations", Nations);
    table("First Names", FirstNames);
    table("Second Names", SecondNames);
    table("Common Names", CommonNames);
    unknown("Unknown 1", 1);
    unknown("Unknown 2", 2);
    table("Stadiums", Stadiums);
    unknown("Unknown 3", 3);
    table("Stages", Stages);
    table("Squads", Squads);
    table("Weather", Weathers);
    unknown("Unknown 4", 4);
    unknown("Unknown 5", 5);
    unknown("Unknown 6", 6);
    unknown("Unknown7", 7); // this one table is named without a blank: "Loading Unknown7"
    unknown("Unknown 8", 8);
    unknown("Unknown 9", 9);
    unknown("Unknown 10", 10);
    unknown("Unknown 11", 11);
    unknown("Unknown 12", 12);
}

void TKordoPregameDatabase::SetJournal(TKordoChangeJournal* journal) {
    EditJournal = journal;
    for (TKordoContainer* table : std::initializer_list<TKordoContainer*>{
             &FirstNames, &SecondNames, &CommonNames, &Staffs, &MentalAtts, &PlayerAtts, &NonPlayerAtts})
        table->Journal = journal;
}

void TKordoPregameDatabase::ReadTrailer(TKordoFileStream& stream, std::vector<uint8_t>& trailer) {
    stream.SetTable("after the last table");
    trailer.resize(static_cast<size_t>(stream.Remaining()));
    stream.Read(trailer.data(), trailer.size());
}

void TKordoPregameDatabase::ReadServerFile(TKordoFileStream& stream) {
    stream.SetTable("header");
    stream.Read(ServerHeader.data(), ServerHeaderSize);
    stream.SeekFromBeginning(ServerHeaderSize);
    for (const TServerTable& table : ServerTables) {
        ReportStatus("Loading " + table.Name);
        table.Load(stream);
    }
    ReadTrailer(stream, ServerTrailer);
}

void TKordoPregameDatabase::ReadPeopleFile(TKordoFileStream& stream) {
    ReadPeopleTables(stream, nullptr);
    ReadPeopleFileEnd(stream);
}

// How far a second thread has read the people tables: the table it is in and each table's last
// percentage, for the loading thread to pass on; Done once it has ended, read or failed.
struct TKordoPregameDatabase::TPeopleProgress {
    std::atomic<int32_t> Table{-1};
    std::array<std::atomic<int32_t>, PeopleTableNames.size()> Percent{-1, -1, -1, -1};
    std::atomic<bool> Done{false};
};

// The header and the four tables of people, which make nearly all of the file. With a relay they
// report their statuses and percentages only to it, so that they may be read on a second thread.
void TKordoPregameDatabase::ReadPeopleTables(TKordoFileStream& stream, TPeopleProgress* relay) {
    stream.SetTable("header");
    stream.Read(PeopleHeader.data(), PeopleHeaderSize);
    int32_t number = 0;
    auto load = [&](auto& table) {
        if (relay) {
            relay->Table.store(number, std::memory_order_release);
            table.OnProgress = [&percent = relay->Percent[static_cast<size_t>(number)]](int32_t done) {
                percent.store(done, std::memory_order_release);
            };
        } else {
            ReportStatus(std::string("Loading ") + PeopleTableNames[static_cast<size_t>(number)]);
            table.OnProgress = OnProgress;
        }
        ++number;
        table.Clear();
        table.LoadFromStream(stream);
    };
    // The relay ends with the read: the tables then report to the database's callback again.
    auto detach = [&] {
        if (relay)
            Staffs.OnProgress = MentalAtts.OnProgress = PlayerAtts.OnProgress = NonPlayerAtts.OnProgress =
                OnProgress;
    };
    try {
        load(Staffs);
        load(MentalAtts);
        load(PlayerAtts);
        load(NonPlayerAtts);
    } catch (...) {
        detach();
        throw;
    }
    detach();
}

// Passes on, in order, the statuses of the people tables and the percentages a second thread reads
// them at, until it has ended.
void TKordoPregameDatabase::RelayPeopleProgress(TPeopleProgress& relay) {
    int32_t shownTable = -1, shownPercent = -1;
    auto showPercent = [&] {
        int32_t percent = relay.Percent[static_cast<size_t>(shownTable)].load(std::memory_order_acquire);
        if (percent != shownPercent && percent >= 0 && OnProgress)
            OnProgress(percent);
        shownPercent = percent;
    };
    for (;;) {
        const bool done = relay.Done.load(std::memory_order_acquire);
        const int32_t table = relay.Table.load(std::memory_order_acquire);
        while (shownTable < table) {
            if (shownTable >= 0)
                showPercent(); // the end of the table before
            ++shownTable;
            shownPercent = -1;
            ReportStatus(std::string("Loading ") + PeopleTableNames[static_cast<size_t>(shownTable)]);
        }
        if (shownTable >= 0)
            showPercent();
        if (done)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void TKordoPregameDatabase::ReadPeopleFileEnd(TKordoFileStream& stream) {
    ReportStatus("Loading Unknown 13");
    Unknowns.OnProgress = OnProgress;
    Unknowns.LoadTable(stream, 13);
    ReadTrailer(stream, PeopleTrailer);
}

void TKordoPregameDatabase::WriteServerFile(TKordoFileStream& stream) {
    stream.SetTable("header");
    stream.Write(ServerHeader.data(), ServerHeaderSize);
    for (const TServerTable& table : ServerTables) {
        ReportStatus("Saving " + table.Name);
        table.Save(stream);
    }
    stream.SetTable("after the last table");
    stream.Write(ServerTrailer.data(), ServerTrailer.size());
}

void TKordoPregameDatabase::WritePeopleFile(TKordoFileStream& stream) {
    stream.SetTable("header");
    stream.Write(PeopleHeader.data(), PeopleHeaderSize);
    ReportStatus("Saving Staff");
    Staffs.OnProgress = OnProgress;
    Staffs.SaveToStream(stream, MentalAtts.Count(), PlayerAtts.Count(), NonPlayerAtts.Count());
    auto save = [&](const char* name, auto& table) {
        ReportStatus(std::string("Saving ") + name);
        table.OnProgress = OnProgress;
        table.SaveToStream(stream);
    };
    save("Mental Attributes", MentalAtts);
    save("Player Attributes", PlayerAtts);
    save("Non Player Attributes", NonPlayerAtts);
    ReportStatus("Saving Unknown 13");
    Unknowns.OnProgress = OnProgress;
    Unknowns.SaveTable(stream, 13);
    stream.SetTable("after the last table");
    stream.Write(PeopleTrailer.data(), PeopleTrailer.size());
}

void TKordoPregameDatabase::LockForReading(TKordoFolderLock& lock, const fs::path& folder) {
    std::string reason;
    switch (lock.LockForReading(folder / KordoLockFileName, LockWait, reason)) {
    case TKordoFolderLock::TResult::Busy:
        Busy = true;
        throw TKordoError(FolderBusyText);
    case TKordoFolderLock::TResult::Unavailable:
        // A folder nobody can write in (read-only media) cannot have a save running in it either.
        if (KordoCommitPending(folder))
            throw TKordoError("an interrupted save in " + KordoPathText(folder) +
                              " cannot be finished: " + reason);
        return;
    default:
        break;
    }
    if (KordoCommitPending(folder)) {
        // Finishing or undoing an interrupted save changes the folder: that takes the writer's lock.
        LockForWriting(lock, folder, LockWait);
        Recover(folder);
    }
}

void TKordoPregameDatabase::LockForWriting(TKordoFolderLock& lock, const fs::path& folder,
                                           std::chrono::milliseconds writerWait) {
    std::string reason;
    switch (lock.LockForWriting(folder / KordoLockFileName, writerWait, LockWait, reason)) {
    case TKordoFolderLock::TResult::Busy:
        Busy = true;
        throw TKordoError(FolderBusyText);
    case TKordoFolderLock::TResult::Reading:
        Busy = true;
        throw TKordoError("the data folder is being read by another program");
    case TKordoFolderLock::TResult::Unavailable:
        throw TKordoError("cannot lock the data folder: " + reason);
    default:
        break;
    }
}

void TKordoPregameDatabase::Recover(const fs::path& folder) {
    std::string note = KordoRecoverCommit(folder, OnStatus);
    if (!note.empty())
        Notes.push_back(note);
    KordoRemoveLeftovers(folder);
}

bool TKordoPregameDatabase::ReadFiles(const std::filesystem::path& folder) {
    Error.clear();
    Notes.clear();
    Busy = false;
    DataFolder = folder / "";
    try {
        TKordoFolderLock lock;
        LockForReading(lock, folder);
        TKordoFileStream server(KordoServerFile(folder));
        TKordoFileStream people(KordoPeopleFile(folder));
        // The files are read at once, the people tables on a second thread; their statuses and
        // percentages are passed on once the server file is read. An error of the server file is
        // the one reported when both have one.
        TPeopleProgress relay;
        KordoRunBoth(
            true,
            [&] {
                ReadServerFile(server);
                RelayPeopleProgress(relay);
            },
            [&] {
                try {
                    ReadPeopleTables(people, &relay);
                } catch (...) {
                    relay.Done.store(true, std::memory_order_release);
                    throw;
                }
                relay.Done.store(true, std::memory_order_release);
            });
        ReadPeopleFileEnd(people);
        return true;
    } catch (const std::bad_alloc&) {
        Error = "not enough memory to load the database";
    } catch (const std::exception& e) {
        Error = e.what();
    }
    return false;
}

bool TKordoPregameDatabase::WriteFiles(const std::filesystem::path& folder) {
    return WritePair(folder, false);
}

void TKordoPregameDatabase::ClearAll() {
    Awards.Clear();
    Cities.Clear();
    Clubs.Clear();
    ClubCompetitions.Clear();
    Continents.Clear();
    Injuries.Clear();
    Medias.Clear();
    Languages.Clear();
    Nations.Clear();
    FirstNames.Clear();
    SecondNames.Clear();
    CommonNames.Clear();
    Stadiums.Clear();
    Stages.Clear();
    Squads.Clear();
    Weathers.Clear();
    Staffs.Clear();
    MentalAtts.Clear();
    PlayerAtts.Clear();
    NonPlayerAtts.Clear();
    Unknowns.ClearAll();
    ServerTrailer.clear();
    PeopleTrailer.clear();
}

bool TKordoPregameDatabase::Load(const fs::path& folder) {
    if (!ReadFiles(folder)) {
        // A half-read database mixes records of two loads; nothing may use it, so it is emptied.
        ClearAll();
        return false;
    }
    // Bytes after the last table are kept, but they are not what the game wrote: often a damaged
    // file (a file of zeros reads as an empty database and leaves the rest here).
    if (!ServerTrailer.empty())
        Notes.push_back(std::string(ServerFileName) + ": " + std::to_string(ServerTrailer.size()) +
                        " bytes after the last table");
    if (!PeopleTrailer.empty())
        Notes.push_back(std::string(PeopleFileName) + ": " + std::to_string(PeopleTrailer.size()) +
                        " bytes after the last table");
    try {
        IndexAll();
    } catch (const std::bad_alloc&) {
        Error = "not enough memory to load the database";
        ClearAll();
        return false;
    }
    Modified = false;
    return true;
}

void TKordoPregameDatabase::CheckListLimits() const {
    auto check = [](size_t count, size_t limit, const std::string& table, size_t row, const char* list,
                    const char* note = "") {
        if (count > limit)
            throw TKordoError(table + ", record " + std::to_string(row) + ": " + list + " holds " +
                              std::to_string(count) + " entries" + note + "; the file can store at most " +
                              std::to_string(limit));
    };
    for (size_t row = 0; row < Clubs.Records.size(); ++row) {
        const TKordoClub& club = Clubs.Records[row];
        check(club.BoardMembers.size(), 255, "Clubs", row, "BoardMembers");
        check(club.Scouts.size(), 255, "Clubs", row, "Scouts");
        check(club.Squads.size(), 255, "Clubs", row, "Squads");
        check(KordoSavedRelationCount(club), 255, "Clubs", row, "Relations", " once its rivals are doubled");
    }
    for (size_t row = 0; row < Squads.Records.size(); ++row) {
        const TKordoSquad& squad = Squads.Records[row];
        check(squad.Physios.size(), 255, "Squads", row, "Physios");
        check(squad.Coaches.size(), 255, "Squads", row, "Coaches");
        check(squad.Players.size(), 65535, "Squads", row, "Players");
    }
    const auto& people = Staffs.List();
    for (size_t row = 0; row < people.size(); ++row)
        check(people[row]->Relations.size(), 255, "Staff", row, "Relations");
}

void TKordoPregameDatabase::SortForSaving() {
    Awards.OnProgress = Cities.OnProgress = Clubs.OnProgress = ClubCompetitions.OnProgress = OnProgress;
    Continents.OnProgress = Injuries.OnProgress = Medias.OnProgress = Languages.OnProgress = OnProgress;
    Nations.OnProgress = FirstNames.OnProgress = SecondNames.OnProgress = CommonNames.OnProgress = OnProgress;
    Stadiums.OnProgress = Stages.OnProgress = Squads.OnProgress = Weathers.OnProgress = OnProgress;
    Staffs.OnProgress = MentalAtts.OnProgress = PlayerAtts.OnProgress = NonPlayerAtts.OnProgress = OnProgress;
    Unknowns.OnProgress = OnProgress;

    ReportStatus("Sorting Mental Attributes");
    MentalAtts.Renumber();
    ReportStatus("Sorting Non Player Attributes");
    NonPlayerAtts.Renumber();
    ReportStatus("Sorting Player Attributes");
    PlayerAtts.Renumber();
    ReportStatus("Sorting Common Names");
    CommonNames.SortNames();
    ReportStatus("Sorting Second Names");
    SecondNames.SortNames();
    ReportStatus("Sorting First Names");
    FirstNames.SortNames();
    ReportStatus("Sorting Club Preferences");
    Clubs.SortClubPreferences();
    ReportStatus("Sorting Staff");
    Staffs.SortStaff();
}

bool TKordoPregameDatabase::Save(const fs::path& folder) {
    return WritePair(folder, true);
}

bool TKordoPregameDatabase::WritePair(const fs::path& folder, bool sortFirst) {
    Error.clear();
    Notes.clear();
    Busy = false;
    bool relationsDoubled = false;
    try {
        CheckListLimits();
        std::error_code error;
        if (!fs::is_directory(folder, error))
            throw TKordoError("the folder " + KordoPathText(folder) + " does not exist");
        // One writer at a time, and it does not wait: the other program's save would overwrite this
        // one's a moment later.
        TKordoFolderLock lock;
        LockForWriting(lock, folder, std::chrono::milliseconds(0));
        Recover(folder);
        TKordoPairCommit commit(folder, KordoResolveTargets(folder));
        for (const fs::path& target : {KordoServerFile(folder), KordoPeopleFile(folder)})
            if (KordoIsReadOnly(target))
                throw TKordoError(target.filename().string() + " is read-only");
        DataFolder = folder / "";

        if (sortFirst) {
            relationsDoubled = true;
            SortForSaving();
            // Reindexing writes only the stored numbers; the references stay as they are, so the
            // records remain linked and editable whatever fails from here on.
            ReindexAll();
        }
        try {
            auto open = [&](size_t index, const char* name) {
                std::unique_ptr<TKordoByteDevice> device = commit.Create(index);
                if (WrapDevice)
                    device = WrapDevice(std::move(device),
                                        index == 0 ? KordoServerFile(folder) : KordoPeopleFile(folder));
                return std::make_unique<TKordoFileStream>(std::move(device), name);
            };
            auto server = open(0, ServerFileName);
            auto people = open(1, PeopleFileName);
            WriteServerFile(*server);
            WritePeopleFile(*people);
            server->Sync();
            people->Sync();
        } catch (const std::exception&) {
            commit.Abandon();
            throw;
        }
        commit.Commit();
        if (sortFirst) {
            relationsDoubled = false;
            IndexAll();
        }
        Modified = false;
        return true;
    } catch (const std::bad_alloc&) {
        Error = "not enough memory to save the database";
    } catch (const std::exception& e) {
        Error = e.what();
    }
    if (relationsDoubled) {
        TKordoProgressEvent progress = std::move(Clubs.OnProgress);
        Clubs.CleanClubPreferences();
        Clubs.OnProgress = std::move(progress);
    }
    return false;
}
