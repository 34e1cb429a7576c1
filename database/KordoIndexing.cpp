// Indexing turns the numbers the files store into references between records; reindexing turns the
// references back into the targets' own numbers before the files are written.
#include "KordoClubRelations.h"
#include "KordoPregameDatabase.h"

#include <algorithm>

namespace {

constexpr uint32_t None = 0xFFFFFFFF; // -1: no target

// A stored row resolves to the record at that position of the table's live list; any other number
// (negative, or too large) resolves to nothing.
template <class Table> auto ByRow(Table& table, uint32_t stored) -> decltype(table.Item(0)) {
    int32_t row = static_cast<int32_t>(stored);
    return row >= 0 && row < table.Count() ? table.Item(row) : nullptr;
}

TKordoStaff* ById(const TKordoStaffs& staffs, uint32_t stored) {
    return staffs.FindStaff(static_cast<int32_t>(stored));
}

std::vector<TKordoStaff*> PeopleById(const TKordoStaffs& staffs, const std::vector<uint32_t>& stored) {
    constexpr size_t Ahead = 8;
    for (size_t i = 0; i < std::min(stored.size(), Ahead); ++i)
        staffs.PrefetchStaff(static_cast<int32_t>(stored[i]));
    std::vector<TKordoStaff*> people(stored.size());
    for (size_t i = 0; i < stored.size(); ++i) {
        if (i + Ahead < stored.size())
            staffs.PrefetchStaff(static_cast<int32_t>(stored[i + Ahead]));
        people[i] = ById(staffs, stored[i]);
    }
    return people;
}

uint32_t IdOf(const TKordoStaff* staff) {
    return staff ? static_cast<uint32_t>(staff->ID()) : None;
}

template <class Record, class Number> uint32_t NumberOf(const Record* record, Number number) {
    return record ? static_cast<uint32_t>((record->*number)()) : None;
}

std::vector<uint32_t> IdsOf(const std::vector<TKordoStaff*>& people) {
    std::vector<uint32_t> ids(people.size());
    for (size_t i = 0; i < people.size(); ++i)
        ids[i] = IdOf(people[i]);
    return ids;
}

} // namespace

void TKordoPregameDatabase::IndexNames(TKordoNames& names) {
    for (TKordoName* name : names.List())
        name->Nation = ByRow(Nations, name->StoredNation());
}

void TKordoPregameDatabase::IndexPerson(TKordoStaff& staff) {
    staff.FirstName = ByRow(FirstNames, staff.StoredFirstName());
    staff.SecondName = ByRow(SecondNames, staff.StoredSecondName());
    staff.CommonName = ByRow(CommonNames, staff.StoredCommonName());
    staff.Nation = ByRow(Nations, staff.StoredNation());
    staff.ClubSquad = ByRow(Squads, staff.StoredClubSquad());
    staff.ClubContractEmployer = staff.HasClubContract() ? ByRow(Clubs, staff.StoredClubEmployer()) : nullptr;
    staff.NationSquad = ByRow(Squads, staff.StoredNationSquad());
    staff.NationContractEmployer =
        staff.HasNationContract() ? ByRow(Nations, staff.StoredNationEmployer()) : nullptr;
    uint8_t type = staff.StaffType();
    bool player = type == KordoStaffPlayer || type == KordoStaffPlayerNonPlayer;
    bool nonPlayer = type == KordoStaffNonPlayer || type == KordoStaffPlayerNonPlayer;
    staff.PlayerAtts = player ? ByRow(PlayerAtts, staff.StoredPlayerAtts()) : nullptr;
    staff.NonPlayerAtts = nonPlayer ? ByRow(NonPlayerAtts, staff.StoredNonPlayerAtts()) : nullptr;
    staff.MentalAtts = ByRow(MentalAtts, staff.StoredMentalAtts());
    staff.City = ByRow(Cities, staff.StoredCity());
    for (TKordoRelation& entry : staff.Relations) {
        if (entry.Kind == KordoKindClub)
            entry.Target = ByRow(Clubs, entry.StoredTarget);
        else if (entry.Kind == KordoKindNation)
            entry.Target = ByRow(Nations, entry.StoredTarget);
        else if (entry.Kind == KordoKindPerson)
            entry.Target =
                static_cast<int32_t>(entry.StoredTarget) < 0 ? nullptr : ById(Staffs, entry.StoredTarget);
        else
            entry.Target = nullptr; // other kinds keep their stored number
    }
}

// Linking a person reads the other tables and writes only that person, so a large table is linked
// in two halves at once: the first on this thread, which reports the progress, the second on a
// helper, whose part of the progress is reported once it has ended.
void TKordoPregameDatabase::IndexStaff() {
    const auto& people = Staffs.List();
    const auto total = static_cast<int64_t>(people.size());
    const size_t half = people.size() >= KordoParallelIndexFrom ? people.size() / 2 : people.size();
    KordoRunBoth(
        half < people.size(),
        [&] {
            for (size_t i = 0; i < half; ++i) {
                IndexPerson(*people[i]);
                ReportProgress(total, static_cast<int64_t>(i));
            }
        },
        [&] {
            for (size_t i = half; i < people.size(); ++i)
                IndexPerson(*people[i]);
        });
    for (size_t i = half; i < people.size(); ++i)
        ReportProgress(total, static_cast<int64_t>(i));
}

void TKordoPregameDatabase::IndexSquads() {
    for (TKordoSquad& squad : Squads.Records) {
        squad.OwnerClub = squad.SquadKind() == KordoClubSquad ? ByRow(Clubs, squad.StoredOwner()) : nullptr;
        squad.OwnerNation =
            squad.SquadKind() == KordoNationalSquad ? ByRow(Nations, squad.StoredOwner()) : nullptr;
        squad.Players = PeopleById(Staffs, squad.StoredPlayers);
        squad.Coaches = PeopleById(Staffs, squad.StoredCoaches);
        squad.Physios = PeopleById(Staffs, squad.StoredPhysios);
        squad.Manager = ById(Staffs, squad.StoredManager());
    }
}

void TKordoPregameDatabase::IndexClubs() {
    for (TKordoClub& club : Clubs.Records) {
        club.Squads.resize(club.StoredSquads.size());
        for (size_t i = 0; i < club.StoredSquads.size(); ++i)
            club.Squads[i] = ByRow(Squads, club.StoredSquads[i]);
        club.BoardMembers = PeopleById(Staffs, club.StoredBoardMembers);
        club.Scouts = PeopleById(Staffs, club.StoredScouts);
        club.Chairman = ById(Staffs, club.StoredChairman());
        club.Nation = ByRow(Nations, club.StoredNation());
        for (TKordoRelation& entry : club.Relations) {
            if (entry.Kind == KordoKindClub)
                entry.Target = ByRow(Clubs, entry.StoredTarget);
            else if (entry.Kind == KordoKindPerson)
                entry.Target = ById(Staffs, entry.StoredTarget);
            else
                entry.Target = nullptr;
        }
    }
}

void TKordoPregameDatabase::IndexNations() {
    for (TKordoNation& nation : Nations.Records)
        nation.NationalSquad = ByRow(Squads, nation.StoredNationalSquad());
}

void TKordoPregameDatabase::IndexAll() {
    ReportStatus("Indexing First Names");
    IndexNames(FirstNames);
    ReportStatus("Indexing Second Names");
    IndexNames(SecondNames);
    ReportStatus("Indexing Common Names");
    IndexNames(CommonNames);
    ReportStatus("Indexing Staff");
    IndexStaff();
    ReportStatus("Indexing Squads");
    IndexSquads();
    ReportStatus("Indexing Clubs");
    IndexClubs();
    ReportStatus("Cleaning Club Preferences");
    Clubs.OnProgress = OnProgress;
    Clubs.CleanClubPreferences();
    ReportStatus("Indexing Nations");
    IndexNations();
}

void TKordoPregameDatabase::ReindexAll() {
    ReportStatus("Reindexing Nations");
    for (TKordoNation& nation : Nations.Records)
        nation.SetStoredNationalSquad(NumberOf(nation.NationalSquad, &TKordoSquad::SquadIndex));

    ReportStatus("Reindexing Clubs");
    for (TKordoClub& club : Clubs.Records) {
        club.StoredSquads.resize(club.Squads.size());
        for (size_t i = 0; i < club.Squads.size(); ++i)
            club.StoredSquads[i] = NumberOf(club.Squads[i], &TKordoSquad::SquadIndex);
        club.StoredBoardMembers = IdsOf(club.BoardMembers);
        club.StoredScouts = IdsOf(club.Scouts);
        club.SetStoredChairman(IdOf(club.Chairman));
        club.SetStoredNation(NumberOf(club.Nation, &TKordoNation::NationIndex));
        for (TKordoRelation& entry : club.Relations) {
            if (entry.Kind == KordoKindClub)
                entry.StoredTarget = NumberOf(entry.TargetClub(), &TKordoClub::ClubIndex);
            else if (entry.Kind == KordoKindPerson)
                entry.StoredTarget = IdOf(entry.TargetStaff());
        }
    }

    ReportStatus("Reindexing Squads");
    for (TKordoSquad& squad : Squads.Records) {
        if (squad.SquadKind() == KordoClubSquad)
            squad.SetStoredOwner(NumberOf(squad.OwnerClub, &TKordoClub::ClubIndex));
        else if (squad.SquadKind() == KordoNationalSquad)
            squad.SetStoredOwner(NumberOf(squad.OwnerNation, &TKordoNation::NationIndex));
        squad.StoredPlayers = IdsOf(squad.Players);
        squad.StoredCoaches = IdsOf(squad.Coaches);
        squad.StoredPhysios = IdsOf(squad.Physios);
        squad.SetStoredManager(IdOf(squad.Manager));
    }

    ReportStatus("Reindexing Staff");
    const auto& people = Staffs.List();
    for (size_t i = 0; i < people.size(); ++i) {
        TKordoStaff& staff = *people[i];
        staff.SetStoredFirstName(NumberOf(staff.FirstName, &TKordoName::NameID));
        staff.SetStoredSecondName(NumberOf(staff.SecondName, &TKordoName::NameID));
        staff.SetStoredCommonName(NumberOf(staff.CommonName, &TKordoName::NameID));
        staff.SetStoredNation(NumberOf(staff.Nation, &TKordoNation::NationIndex));
        if (staff.HasNationContract())
            staff.SetStoredNationEmployer(NumberOf(staff.NationContractEmployer, &TKordoNation::NationIndex));
        staff.SetStoredClubSquad(NumberOf(staff.ClubSquad, &TKordoSquad::SquadIndex));
        staff.SetStoredNationSquad(NumberOf(staff.NationSquad, &TKordoSquad::SquadIndex));
        if (staff.HasClubContract())
            staff.SetStoredClubEmployer(NumberOf(staff.ClubContractEmployer, &TKordoClub::ClubIndex));
        uint8_t type = staff.StaffType();
        if (type == KordoStaffPlayer || type == KordoStaffPlayerNonPlayer)
            staff.SetStoredPlayerAtts(NumberOf(staff.PlayerAtts, &TKordoPlayerAtt::PlayerAttID));
        if (type == KordoStaffNonPlayer || type == KordoStaffPlayerNonPlayer)
            staff.SetStoredNonPlayerAtts(NumberOf(staff.NonPlayerAtts, &TKordoNonPlayerAtt::NonPlayerAttID));
        staff.SetStoredMentalAtts(NumberOf(staff.MentalAtts, &TKordoMentalAtt::MentalAttID));
        staff.SetStoredCity(NumberOf(staff.City, &TKordoCity::CityIndex));
        for (TKordoRelation& entry : staff.Relations) {
            if (entry.Kind == KordoKindClub)
                entry.StoredTarget = NumberOf(entry.TargetClub(), &TKordoClub::ClubIndex);
            else if (entry.Kind == KordoKindNation)
                entry.StoredTarget = NumberOf(entry.TargetNation(), &TKordoNation::NationIndex);
            else if (entry.Kind == KordoKindPerson)
                entry.StoredTarget = IdOf(entry.TargetStaff());
        }
        ReportProgress(static_cast<int64_t>(people.size()), static_cast<int64_t>(i));
    }

    auto reindexNames = [this](const char* status, TKordoNames& names) {
        ReportStatus(status);
        for (TKordoName* name : names.List())
            name->SetStoredNation(NumberOf(name->Nation, &TKordoNation::NationIndex));
    };
    reindexNames("Reindexing Common Names", CommonNames);
    reindexNames("Reindexing Second Names", SecondNames);
    reindexNames("Reindexing First Names", FirstNames);
}
