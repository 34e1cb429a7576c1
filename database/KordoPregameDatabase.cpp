#include "KordoPregameDatabase.h"

#include <new>

std::filesystem::path KordoServerFile(const std::filesystem::path& folder) {
    return folder / TKordoPregameDatabase::ServerFileName;
}
std::filesystem::path KordoPeopleFile(const std::filesystem::path& folder) {
    return folder / TKordoPregameDatabase::PeopleFileName;
}

TKordoPregameDatabase::TKordoPregameDatabase() {
    auto table = [this](const char* name, auto& t) {
        ServerTables.push_back({name, [this, &t](TKordoFileStream& s) {
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
        ServerTables.push_back({name, [this, number](TKordoFileStream& s) {
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
    unknown("Unknown7", 7); // the game's own status text has no blank here
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
    DataFolder = folder;
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
