// Loadable but damaged databases: generated files whose stored numbers are bent before they are
// written, so that loading leaves references null, keeps stale own numbers, or meets codes that no
// list of the editor carries. Every damage is done to the raw tables (read, not linked), the way a
// careless tool would leave a file.
#pragma once

#include "KordoGenerator.h"
#include "KordoPregameDatabase.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// The person and the club a damage was done to, or that the damage touches most (-1: none).
struct TDamaged {
    int32_t StaffID = -1;
    int32_t ClubRow = -1;
};

struct TDamage {
    const char* Name;
    // Changes the raw tables; returns where the damage lies, or -1 in both when nothing fitted.
    std::function<TDamaged(TKordoPregameDatabase&)> Apply;
};

namespace KordoDamage {

// A row and an ID that no record of the test databases has.
constexpr uint32_t Nothing = 0x00FFFFF0;

inline TKordoSquad* SquadAt(TKordoPregameDatabase& db, uint32_t row) {
    return row < static_cast<uint32_t>(db.Squads.Count()) ? db.Squads.Item(static_cast<int32_t>(row))
                                                          : nullptr;
}

inline int32_t RowOf(TKordoPregameDatabase& db, const TKordoClub* club) {
    return club ? static_cast<int32_t>(club - db.Clubs.Records.data()) : -1;
}

// The club that owns the person's club squad, by stored numbers.
inline TKordoClub* ClubOf(TKordoPregameDatabase& db, const TKordoStaff& staff) {
    TKordoSquad* squad = SquadAt(db, staff.StoredClubSquad());
    if (!squad || squad->SquadKind() != KordoClubSquad || squad->StoredOwner() >= uint32_t(db.Clubs.Count()))
        return nullptr;
    return db.Clubs.Item(static_cast<int32_t>(squad->StoredOwner()));
}

inline TKordoStaff* FirstPerson(TKordoPregameDatabase& db,
                                const std::function<bool(const TKordoStaff&)>& fits) {
    for (TKordoStaff* staff : db.Staffs.List())
        if (fits(*staff))
            return staff;
    return nullptr;
}

inline TKordoClub* FirstClub(TKordoPregameDatabase& db, const std::function<bool(const TKordoClub&)>& fits) {
    for (TKordoClub& club : db.Clubs.Records)
        if (fits(club))
            return &club;
    return nullptr;
}

// A player under contract in the first (or last) squad of a club with at least `squads` squads.
inline TKordoStaff* ContractedAtClubWith(TKordoPregameDatabase& db, size_t squads, bool lastSquad = false) {
    return FirstPerson(db, [&](const TKordoStaff& staff) {
        const TKordoClub* club = ClubOf(db, staff);
        if (!club || club->StoredSquads.size() < squads || club->StoredSquads.empty())
            return false;
        const uint32_t squad = lastSquad ? club->StoredSquads.back() : club->StoredSquads.front();
        return squad == staff.StoredClubSquad() && staff.HasClubContract() && staff.ClubJob() == 1;
    });
}

inline TDamaged Person(const TKordoStaff* staff, TKordoPregameDatabase& db) {
    return staff ? TDamaged{staff->ID(), RowOf(db, ClubOf(db, *staff))} : TDamaged{};
}

// The damage of a club's sub-list: its first entry names nothing.
inline TDamage ClubListEntry(const char* name, std::vector<uint32_t> TKordoClub::*list) {
    return {name, [list](TKordoPregameDatabase& db) {
                TKordoClub* club = FirstClub(db, [&](const TKordoClub& c) { return !(c.*list).empty(); });
                if (!club)
                    return TDamaged{};
                (club->*list).front() = Nothing;
                return TDamaged{-1, RowOf(db, club)};
            }};
}

// The damage of a club squad's people: the first entry of each list names nobody.
inline TDamaged SquadMembers(TKordoPregameDatabase& db) {
    for (TKordoStaff* staff : db.Staffs.List()) {
        TKordoSquad* squad = SquadAt(db, staff->StoredClubSquad());
        if (!squad || squad->StoredPlayers.empty() || squad->StoredCoaches.empty())
            continue;
        for (auto* list : {&squad->StoredPlayers, &squad->StoredCoaches, &squad->StoredPhysios})
            if (!list->empty())
                list->front() = Nothing;
        return Person(staff, db);
    }
    return {};
}

} // namespace KordoDamage

// Every kind of damage, each on its own records.
inline const std::vector<TDamage>& DamagedDatabases() {
    using namespace KordoDamage;
    static const std::vector<TDamage> damages{
        // A club's squad list, its chairman, board, scouts and relations.
        {"club squad that names nothing",
         [](TKordoPregameDatabase& db) {
             // The person's own squad stays; the club's first squad no longer resolves.
             TKordoStaff* staff = ContractedAtClubWith(db, 2, true);
             if (staff)
                 ClubOf(db, *staff)->StoredSquads.front() = Nothing;
             return Person(staff, db);
         }},
        {"club none of whose squads resolves",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = ContractedAtClubWith(db, 1);
             if (staff)
                 for (uint32_t& squad : ClubOf(db, *staff)->StoredSquads)
                     squad = Nothing;
             return Person(staff, db);
         }},
        {"club chairman who is nobody",
         [](TKordoPregameDatabase& db) {
             TKordoClub* club =
                 FirstClub(db, [](const TKordoClub& c) { return c.StoredChairman() != 0xFFFFFFFF; });
             if (!club)
                 return TDamaged{};
             club->SetStoredChairman(Nothing);
             return TDamaged{-1, RowOf(db, club)};
         }},
        ClubListEntry("club board member who is nobody", &TKordoClub::StoredBoardMembers),
        ClubListEntry("club scout who is nobody", &TKordoClub::StoredScouts),
        {"club relations that name nothing",
         [](TKordoPregameDatabase& db) {
             TKordoClub* club = FirstClub(db, [](const TKordoClub& c) {
                 return std::any_of(c.Relations.begin(), c.Relations.end(),
                                    [](const TKordoRelation& e) { return e.Kind == KordoKindClub; });
             });
             if (!club)
                 return TDamaged{};
             for (TKordoRelation& entry : club->Relations)
                 entry.StoredTarget = Nothing;
             return TDamaged{-1, RowOf(db, club)};
         }},
        {"club of no nation",
         [](TKordoPregameDatabase& db) {
             TKordoClub* club = FirstClub(db, [](const TKordoClub& c) { return !c.StoredSquads.empty(); });
             if (!club)
                 return TDamaged{};
             club->SetStoredNation(Nothing);
             return TDamaged{-1, RowOf(db, club)};
         }},
        // A squad's owner, manager and people.
        {"squad whose owner is no club",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = ContractedAtClubWith(db, 1);
             TDamaged damaged = Person(staff, db);
             if (staff)
                 SquadAt(db, staff->StoredClubSquad())->SetStoredOwner(Nothing);
             return damaged;
         }},
        {"squad without owner",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = ContractedAtClubWith(db, 2);
             TDamaged damaged = Person(staff, db);
             if (staff)
                 SquadAt(db, staff->StoredClubSquad())->SetStoredOwner(0xFFFFFFFF);
             return damaged;
         }},
        {"squad manager who is nobody",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = FirstPerson(db, [&](const TKordoStaff& s) {
                 TKordoSquad* squad = SquadAt(db, s.StoredClubSquad());
                 return squad && squad->StoredManager() != 0xFFFFFFFF;
             });
             if (!staff)
                 return TDamaged{};
             SquadAt(db, staff->StoredClubSquad())->SetStoredManager(Nothing);
             return Person(staff, db);
         }},
        {"squad players, coaches and physios who are nobody", SquadMembers},
        // A person's squads, names, attribute records, nation and relation targets.
        {"person whose club squad is no squad",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = ContractedAtClubWith(db, 1);
             TDamaged damaged = Person(staff, db);
             if (staff)
                 staff->SetStoredClubSquad(Nothing);
             return damaged;
         }},
        {"person whose national squad is no squad",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff =
                 FirstPerson(db, [](const TKordoStaff& s) { return s.StoredNationSquad() != 0xFFFFFFFF; });
             if (staff)
                 staff->SetStoredNationSquad(Nothing);
             return Person(staff, db);
         }},
        {"person whose names are no names",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = FirstPerson(db, [](const TKordoStaff& s) {
                 return s.StaffType() == KordoStaffPlayer && s.StoredFirstName() != 0xFFFFFFFF;
             });
             if (!staff)
                 return TDamaged{};
             staff->SetStoredFirstName(Nothing);
             staff->SetStoredSecondName(Nothing);
             staff->SetStoredCommonName(Nothing);
             return Person(staff, db);
         }},
        {"person whose attribute records are no records",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = FirstPerson(
                 db, [](const TKordoStaff& s) { return s.StaffType() == KordoStaffPlayerNonPlayer; });
             if (!staff)
                 return TDamaged{};
             staff->SetStoredPlayerAtts(Nothing);
             staff->SetStoredNonPlayerAtts(Nothing);
             staff->SetStoredMentalAtts(Nothing);
             return Person(staff, db);
         }},
        {"person of no nation, employed by nothing",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = FirstPerson(db, [](const TKordoStaff& s) {
                 return s.HasClubContract() && s.StoredNation() != 0xFFFFFFFF;
             });
             if (!staff)
                 return TDamaged{};
             staff->SetStoredNation(Nothing);
             staff->SetStoredClubEmployer(Nothing);
             staff->SetStoredCity(Nothing);
             return Person(staff, db);
         }},
        {"person whose relations name nothing",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = FirstPerson(db, [](const TKordoStaff& s) {
                 auto kind = [&](uint8_t k) {
                     return std::any_of(s.Relations.begin(), s.Relations.end(),
                                        [k](const TKordoRelation& e) { return e.Kind == k; });
                 };
                 return kind(KordoKindClub) && kind(KordoKindPerson);
             });
             if (!staff)
                 return TDamaged{};
             for (TKordoRelation& entry : staff->Relations)
                 entry.StoredTarget = Nothing;
             return Person(staff, db);
         }},
        // A nation's national squad, a name's nation.
        {"nation whose national squad is no squad",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff =
                 FirstPerson(db, [](const TKordoStaff& s) { return s.StoredNationSquad() != 0xFFFFFFFF; });
             if (!staff)
                 return TDamaged{};
             for (TKordoNation& nation : db.Nations.Records)
                 if (nation.StoredNationalSquad() == staff->StoredNationSquad())
                     nation.SetStoredNationalSquad(Nothing);
             return Person(staff, db);
         }},
        {"names of no nation",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = FirstPerson(db, [&](const TKordoStaff& s) {
                 return s.StoredFirstName() < static_cast<uint32_t>(db.FirstNames.Count());
             });
             if (!staff)
                 return TDamaged{};
             db.FirstNames.Item(static_cast<int32_t>(staff->StoredFirstName()))->SetStoredNation(Nothing);
             return Person(staff, db);
         }},
        // Own numbers that are not the row, codes no list carries, a club without squads.
        {"stale own numbers",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = ContractedAtClubWith(db, 1);
             if (!staff)
                 return TDamaged{};
             TDamaged damaged = Person(staff, db);
             db.Clubs.Records[static_cast<size_t>(damaged.ClubRow)].SetClubIndex(70000);
             SquadAt(db, staff->StoredClubSquad())->SetSquadIndex(70001);
             db.Nations.Records.back().SetNationIndex(70002);
             db.FirstNames.Item(0)->SetNameID(70003);
             db.MentalAtts.Item(0)->SetMentalAttID(70004);
             db.PlayerAtts.Item(0)->SetPlayerAttID(70005);
             return damaged;
         }},
        {"codes outside every list",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = ContractedAtClubWith(db, 1);
             TKordoStaff* coach = FirstPerson(db, [](const TKordoStaff& s) {
                 return s.StaffType() == KordoStaffNonPlayer && s.StoredNationSquad() != 0xFFFFFFFF;
             });
             if (!staff || !coach)
                 return TDamaged{};
             TDamaged damaged = Person(staff, db);
             staff->SetClubJob(99);
             staff->SetClubSquadNumber(200);
             coach->SetNationJob(99);
             coach->SetStaffType(9); // a type the file stores only the common part of
             TKordoClub& club = db.Clubs.Records[static_cast<size_t>(damaged.ClubRow)];
             club.SetProfessionalStatus(9);
             club.SetTraining(99);
             SquadAt(db, staff->StoredClubSquad())->SetHomeMatchDay(12);
             db.NonPlayerAtts.Item(0)->Image[KordoPreferredFormationOffset] = 200;
             return damaged;
         }},
        {"club without squads whose squads still name it",
         [](TKordoPregameDatabase& db) {
             TKordoStaff* staff = ContractedAtClubWith(db, 1);
             TDamaged damaged = Person(staff, db);
             if (staff)
                 db.Clubs.Records[static_cast<size_t>(damaged.ClubRow)].StoredSquads.clear();
             return damaged;
         }},
    };
    return damages;
}

// Generates a database, does the damages to its raw tables one after the other and writes both files
// into the folder (created if missing), table by table as they stand. Returns where each damage lies.
inline std::vector<TDamaged> WriteDamagedDatabase(const std::filesystem::path& folder,
                                                  const std::vector<TDamage>& damages, int32_t people = 300) {
    std::string error;
    if (!KordoGenerateFiles(folder, {people, 11, false}, error))
        throw std::runtime_error("cannot generate: " + error);
    TKordoPregameDatabase raw;
    if (!raw.ReadFiles(folder))
        throw std::runtime_error("cannot read what was generated: " + raw.LastError());
    std::vector<TDamaged> damaged;
    for (const TDamage& damage : damages)
        damaged.push_back(damage.Apply(raw));
    auto write = [](const std::filesystem::path& file, const std::function<void(TKordoFileStream&)>& table) {
        std::vector<uint8_t> bytes;
        TKordoFileStream stream(std::make_unique<TKordoMemoryDevice>(bytes), file.filename().string());
        table(stream);
        stream.Flush();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + file.string());
    };
    write(KordoServerFile(folder), [&](TKordoFileStream& s) { raw.WriteServerFile(s); });
    write(KordoPeopleFile(folder), [&](TKordoFileStream& s) { raw.WritePeopleFile(s); });
    return damaged;
}

// One damage alone; throws when it found nothing to damage.
inline TDamaged WriteDamagedDatabase(const std::filesystem::path& folder, const TDamage& damage) {
    TDamaged damaged = WriteDamagedDatabase(folder, std::vector<TDamage>{damage}).front();
    if (damaged.StaffID < 0 && damaged.ClubRow < 0)
        throw std::runtime_error(std::string("nothing to damage for ") + damage.Name);
    return damaged;
}
