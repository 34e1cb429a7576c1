#include "KordoPregameDatabase.h"

#include "KordoClubRelations.h"
#include "KordoPlatform.h"
#include "KordoRecordIO.h"

#include <new>

namespace fs = std::filesystem;

std::filesystem::path KordoServerFile(const std::filesystem::path& folder) {
    return folder / TKordoPregameDatabase::ServerFileName;
}
std::filesystem::path KordoPeopleFile(const std::filesystem::path& folder) {
    return folder / TKordoPregameDatabase::PeopleFileName;
}

TKordoPregameDatabase::TKordoPregameDatabase() : OpenDevice(KordoOpenFileDevice) {
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
    stream.SetTable("header");
    stream.Read(PeopleHeader.data(), PeopleHeaderSize);
    auto load = [&](const char* name, auto& table) {
        ReportStatus(std::string("Loading ") + name);
        table.OnProgress = OnProgress;
        table.Clear();
        table.LoadFromStream(stream);
    };
    load("Staff", Staffs);
    load("Mental Attributes", MentalAtts);
    load("Player Attributes", PlayerAtts);
    load("Non Player Attributes", NonPlayerAtts);
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

bool TKordoPregameDatabase::ReadFiles(const std::filesystem::path& folder) {
    Error.clear();
    DataFolder = folder / "";
    try {
        TKordoFileStream server(KordoServerFile(folder), TKordoOpenMode::Read);
        TKordoFileStream people(KordoPeopleFile(folder), TKordoOpenMode::Read);
        ReadServerFile(server);
        ReadPeopleFile(people);
        return true;
    } catch (const std::bad_alloc&) {
        Error = "not enough memory to load the database";
    } catch (const std::exception& e) {
        Error = e.what();
    }
    return false;
}

bool TKordoPregameDatabase::WriteFiles(const std::filesystem::path& folder) {
    Error.clear();
    try {
        TKordoFileStream server(KordoServerFile(folder), TKordoOpenMode::Create);
        TKordoFileStream people(KordoPeopleFile(folder), TKordoOpenMode::Create);
        WriteServerFile(server);
        WritePeopleFile(people);
        server.Flush();
        people.Flush();
        return true;
    } catch (const std::bad_alloc&) {
        Error = "not enough memory to save the database";
    } catch (const std::exception& e) {
        Error = e.what();
    }
    return false;
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

void TKordoPregameDatabase::WriteBothFiles(const fs::path& serverPath, const fs::path& peoplePath) {
    TKordoFileStream server(OpenDevice(serverPath), ServerFileName);
    TKordoFileStream people(OpenDevice(peoplePath), PeopleFileName);
    WriteServerFile(server);
    WritePeopleFile(people);
    server.Sync();
    people.Sync();
}

namespace {

fs::path WithSuffix(const fs::path& file, const char* suffix) {
    fs::path result = file;
    result += suffix;
    return result;
}

// Puts the new pair of files in place of the old one, keeping the old pair as .bak. Either both
// files are replaced or, after putting back what was moved, neither is.
void ReplaceFiles(const std::array<fs::path, 2>& targets, const std::array<fs::path, 2>& temporaries) {
    std::array<bool, 2> backedUp{}, replaced{};
    try {
        for (size_t i = 0; i < 2; ++i) {
            if (fs::exists(targets[i])) {
                std::error_code ignored;
                fs::permissions(temporaries[i], fs::status(targets[i]).permissions(), ignored);
                fs::rename(targets[i], WithSuffix(targets[i], ".bak"));
                backedUp[i] = true;
            }
        }
        for (size_t i = 0; i < 2; ++i) {
            fs::rename(temporaries[i], targets[i]);
            replaced[i] = true;
        }
    } catch (const fs::filesystem_error& e) {
        std::error_code ignored;
        for (size_t i = 0; i < 2; ++i) {
            if (replaced[i])
                fs::remove(targets[i], ignored);
            if (backedUp[i])
                fs::rename(WithSuffix(targets[i], ".bak"), targets[i], ignored);
        }
        throw TKordoError(std::string("cannot replace the database files: ") + e.what());
    }
}

} // namespace

bool TKordoPregameDatabase::Save(const fs::path& folder) {
    Error.clear();
    DataFolder = folder / "";
    const std::array<fs::path, 2> targets{KordoServerFile(folder), KordoPeopleFile(folder)};
    const std::array<fs::path, 2> temporaries{WithSuffix(targets[0], ".saving"),
                                              WithSuffix(targets[1], ".saving")};
    bool relationsDoubled = false;
    try {
        CheckListLimits();
        for (const fs::path& target : targets)
            if (KordoIsReadOnly(target))
                throw TKordoError(target.filename().string() + " is read-only");
        if (!fs::is_directory(folder))
            throw TKordoError("the folder " + folder.string() + " does not exist");

        Awards.OnProgress = Cities.OnProgress = Clubs.OnProgress = ClubCompetitions.OnProgress = OnProgress;
        Continents.OnProgress = Injuries.OnProgress = Medias.OnProgress = Languages.OnProgress = OnProgress;
        Nations.OnProgress = FirstNames.OnProgress = SecondNames.OnProgress = CommonNames.OnProgress =
            OnProgress;
        Stadiums.OnProgress = Stages.OnProgress = Squads.OnProgress = Weathers.OnProgress = OnProgress;
        Staffs.OnProgress = MentalAtts.OnProgress = PlayerAtts.OnProgress = NonPlayerAtts.OnProgress =
            OnProgress;
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
        relationsDoubled = true;
        Clubs.SortClubPreferences();
        ReportStatus("Sorting Staff");
        Staffs.SortStaff();

        // Reindexing writes only the stored numbers; the references stay as they are, so the records
        // remain linked and editable whatever fails from here on.
        ReindexAll();
        WriteBothFiles(temporaries[0], temporaries[1]);
        ReplaceFiles(targets, temporaries);
        KordoSyncFolder(folder);
        relationsDoubled = false;
        IndexAll();
        Modified = false;
        return true;
    } catch (const std::bad_alloc&) {
        Error = "not enough memory to save the database";
    } catch (const std::exception& e) {
        Error = e.what();
    }
    std::error_code ignored;
    for (const fs::path& temporary : temporaries)
        fs::remove(temporary, ignored);
    if (relationsDoubled) {
        TKordoProgressEvent progress = std::move(Clubs.OnProgress);
        Clubs.CleanClubPreferences();
        Clubs.OnProgress = std::move(progress);
    }
    return false;
}
