#include "KordoCheck.h"

#include "KordoClubRelations.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>

namespace {

constexpr uint32_t None = 0xFFFFFFFF;

std::string Utf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class TChecker {
public:
    explicit TChecker(const TKordoPregameDatabase& database) : Db(database) {}

    std::vector<std::string> Run() {
        CheckStaff();
        CheckSquads();
        CheckClubs();
        CheckNations();
        CheckNames(Db.FirstNames);
        CheckNames(Db.SecondNames);
        CheckNames(Db.CommonNames);
        CheckAttributeUse();
        CheckOwnNumbers();
        CheckTexts();
        CheckStoredCounts();
        if (!Db.ServerTrailer.empty())
            Add("server_db.dat: " + std::to_string(Db.ServerTrailer.size()) + " bytes after the last table");
        if (!Db.PeopleTrailer.empty())
            Add("people_db.dat: " + std::to_string(Db.PeopleTrailer.size()) + " bytes after the last table");
        return std::move(Findings);
    }

private:
    void Add(std::string finding) { Findings.push_back(std::move(finding)); }

    // A stored number other than -1 whose reference came out empty did not resolve.
    void Unresolved(const std::string& record, const char* field, uint32_t stored, bool resolved) {
        if (stored != None && !resolved)
            Add(record + ": " + field + " " + std::to_string(static_cast<int32_t>(stored)) +
                " does not resolve");
    }
    void UnresolvedList(const std::string& record, const char* field, const std::vector<uint32_t>& stored,
                        const auto& resolved) {
        for (size_t i = 0; i < stored.size() && i < resolved.size(); ++i)
            Unresolved(record, field, stored[i], resolved[i]);
    }
    void TooLong(const std::string& record, const char* list, size_t count, size_t limit) {
        if (count > limit)
            Add(record + ": " + list + " holds " + std::to_string(count) + " entries, more than the " +
                std::to_string(limit) + " the file can store");
    }
    static std::string Person(const TKordoStaff& staff) { return "Staff ID " + std::to_string(staff.ID()); }

    void CheckStaff() {
        std::unordered_map<int32_t, int> ids;
        for (const TKordoStaff* staff : Db.Staffs.List()) {
            const std::string who = Person(*staff);
            if (++ids[staff->ID()] == 2)
                Add(who + ": more than one person has this ID");
            Unresolved(who, "FirstName", staff->StoredFirstName(), staff->FirstName);
            Unresolved(who, "SecondName", staff->StoredSecondName(), staff->SecondName);
            Unresolved(who, "CommonName", staff->StoredCommonName(), staff->CommonName);
            Unresolved(who, "Nation", staff->StoredNation(), staff->Nation);
            Unresolved(who, "ClubSquad", staff->StoredClubSquad(), staff->ClubSquad);
            Unresolved(who, "NationSquad", staff->StoredNationSquad(), staff->NationSquad);
            if (staff->HasClubContract())
                Unresolved(who, "ClubContract Employer", staff->StoredClubEmployer(),
                           staff->ClubContractEmployer);
            if (staff->HasNationContract())
                Unresolved(who, "NationContract Employer", staff->StoredNationEmployer(),
                           staff->NationContractEmployer);
            uint8_t type = staff->StaffType();
            if (type == KordoStaffPlayer || type == KordoStaffPlayerNonPlayer)
                Unresolved(who, "PlayerAtts", staff->StoredPlayerAtts(), staff->PlayerAtts);
            if (type == KordoStaffNonPlayer || type == KordoStaffPlayerNonPlayer)
                Unresolved(who, "NonPlayerAtts", staff->StoredNonPlayerAtts(), staff->NonPlayerAtts);
            Unresolved(who, "MentalAtts", staff->StoredMentalAtts(), staff->MentalAtts);
            Unresolved(who, "City", staff->StoredCity(), staff->City);
            for (const TKordoRelation& entry : staff->Relations)
                if (entry.Kind >= KordoKindClub && entry.Kind <= KordoKindPerson)
                    Unresolved(who, "Relations target", entry.StoredTarget, bool(entry.Target));
            TooLong(who, "Relations", staff->Relations.size(), 255);
        }
    }

    void CheckSquads() {
        for (size_t row = 0; row < Db.Squads.Records.size(); ++row) {
            const TKordoSquad& squad = Db.Squads.Records[row];
            const std::string what = "Squads record " + std::to_string(row);
            if (squad.SquadKind() == KordoClubSquad)
                Unresolved(what, "Owner", squad.StoredOwner(), squad.OwnerClub);
            else if (squad.SquadKind() == KordoNationalSquad)
                Unresolved(what, "Owner", squad.StoredOwner(), squad.OwnerNation);
            Unresolved(what, "Manager", squad.StoredManager(), squad.Manager);
            UnresolvedList(what, "Players entry", squad.StoredPlayers, squad.Players);
            UnresolvedList(what, "Coaches entry", squad.StoredCoaches, squad.Coaches);
            UnresolvedList(what, "Physios entry", squad.StoredPhysios, squad.Physios);
            TooLong(what, "Players", squad.Players.size(), 65535);
            TooLong(what, "Coaches", squad.Coaches.size(), 255);
            TooLong(what, "Physios", squad.Physios.size(), 255);
        }
    }

    void CheckClubs() {
        std::unordered_map<int32_t, int> ids;
        std::map<const TKordoNation*, uint32_t> clubCounts;
        for (size_t row = 0; row < Db.Clubs.Records.size(); ++row) {
            const TKordoClub& club = Db.Clubs.Records[row];
            const std::string what = "Clubs record " + std::to_string(row) + " (" + Utf8(club.ClubName) + ")";
            if (++ids[club.ClubID()] == 2)
                Add(what + ": more than one club has ClubID " + std::to_string(club.ClubID()));
            Unresolved(what, "Nation", club.StoredNation(), club.Nation);
            Unresolved(what, "Chairman", club.StoredChairman(), club.Chairman);
            UnresolvedList(what, "Squads entry", club.StoredSquads, club.Squads);
            UnresolvedList(what, "BoardMembers entry", club.StoredBoardMembers, club.BoardMembers);
            UnresolvedList(what, "Scouts entry", club.StoredScouts, club.Scouts);
            for (const TKordoRelation& entry : club.Relations)
                if (entry.Kind == KordoKindClub || entry.Kind == KordoKindPerson)
                    Unresolved(what, "Relations target", entry.StoredTarget, bool(entry.Target));
            TooLong(what, "BoardMembers", club.BoardMembers.size(), 255);
            TooLong(what, "Scouts", club.Scouts.size(), 255);
            TooLong(what, "Squads", club.Squads.size(), 255);
            TooLong(what, "Relations (rivals doubled)", KordoSavedRelationCount(club), 255);
            for (const TKordoRelation& entry : club.Relations)
                if (entry.Kind == KordoKindClub && entry.Relation == KordoRelationRivalClub &&
                    entry.TargetClub() == &club) {
                    Add(what + ": the club is its own rival");
                    break;
                }
            if (club.Nation)
                ++clubCounts[club.Nation];
        }
        std::map<const TKordoNation*, uint32_t> staffCounts;
        for (const TKordoStaff* staff : Db.Staffs.List())
            if (staff->Nation)
                ++staffCounts[staff->Nation];
        for (size_t row = 0; row < Db.Nations.Records.size(); ++row) {
            const TKordoNation& nation = Db.Nations.Records[row];
            const std::string what =
                "Nations record " + std::to_string(row) + " (" + Utf8(nation.NationName) + ")";
            if (nation.ClubCount() != static_cast<uint16_t>(clubCounts[&nation]))
                Add(what + ": ClubCount " + std::to_string(nation.ClubCount()) + " but " +
                    std::to_string(clubCounts[&nation]) + " clubs have this nation");
            if (nation.StaffCount() != staffCounts[&nation])
                Add(what + ": StaffCount " + std::to_string(nation.StaffCount()) + " but " +
                    std::to_string(staffCounts[&nation]) + " people have this nation");
        }
    }

    void CheckNations() {
        for (size_t row = 0; row < Db.Nations.Records.size(); ++row) {
            const TKordoNation& nation = Db.Nations.Records[row];
            Unresolved("Nations record " + std::to_string(row), "NationalSquad", nation.StoredNationalSquad(),
                       nation.NationalSquad);
        }
    }

    void CheckNames(const TKordoNames& names) {
        const auto& list = names.List();
        std::map<const TKordoNation*, std::pair<int32_t, int32_t>> groups; // first row, length
        const TKordoNation* previous = nullptr;
        for (int32_t row = 0; row < static_cast<int32_t>(list.size()); ++row) {
            const TKordoNation* nation = list[static_cast<size_t>(row)]->Nation;
            bool newRun = row == 0 || nation != previous;
            if (nation == nullptr && row > 0 && previous != nullptr)
                Add(names.TableName + " row " + std::to_string(row) +
                    ": a name without a nation after names with one");
            else if (nation && newRun && groups.count(nation))
                Add(names.TableName + " row " + std::to_string(row) + ": the names of " +
                    Utf8(nation->NationName) + " are not in one group");
            if (nation) {
                auto [it, inserted] = groups.try_emplace(nation, row, 0);
                ++it->second.second;
            }
            previous = nation;
        }
        for (const TKordoNation& nation : Db.Nations.Records) {
            auto found = groups.find(&nation);
            int32_t start = nation.NameStart(names.NameKind()), count = nation.NameCount(names.NameKind());
            if (found != groups.end() && (start != found->second.first || count != found->second.second))
                Add(names.TableName + ": the range of " + Utf8(nation.NationName) + " is (" +
                    std::to_string(start) + ", " + std::to_string(count) + ") but its names lie at (" +
                    std::to_string(found->second.first) + ", " + std::to_string(found->second.second) + ")");
            else if (found == groups.end() && count != 0)
                Add(names.TableName + ": " + Utf8(nation.NationName) + " has a range of " +
                    std::to_string(count) + " names but none in the table");
        }
    }

    template <class Table, class Field> void CheckUse(const Table& table, Field field, const char* name) {
        std::unordered_map<const void*, int> uses;
        for (const TKordoStaff* staff : Db.Staffs.List())
            if (const void* record = staff->*field)
                ++uses[record];
        for (int32_t row = 0; row < table.Count(); ++row) {
            int count = uses[table.Item(row)];
            if (count != 1)
                Add(std::string(name) + " record " + std::to_string(row) +
                    (count == 0 ? ": used by no one" : ": used by " + std::to_string(count) + " people"));
        }
    }

    void CheckAttributeUse() {
        CheckUse(Db.MentalAtts, &TKordoStaff::MentalAtts, "Mental Attributes");
        CheckUse(Db.PlayerAtts, &TKordoStaff::PlayerAtts, "Player Attributes");
        CheckUse(Db.NonPlayerAtts, &TKordoStaff::NonPlayerAtts, "Non Player Attributes");
    }

    void CheckOwnNumbers() {
        auto check = [this](const char* table, size_t row, int32_t own, const char* field) {
            if (own != static_cast<int32_t>(row))
                Add(std::string(table) + " record " + std::to_string(row) + ": " + field + " is " +
                    std::to_string(own) + ", not its row; references to it change on every save");
        };
        for (size_t row = 0; row < Db.Nations.Records.size(); ++row)
            check("Nations", row, Db.Nations.Records[row].NationIndex(), "NationIndex");
        for (size_t row = 0; row < Db.Clubs.Records.size(); ++row)
            check("Clubs", row, Db.Clubs.Records[row].ClubIndex(), "ClubIndex");
        for (size_t row = 0; row < Db.Squads.Records.size(); ++row)
            check("Squads", row, Db.Squads.Records[row].SquadIndex(), "SquadIndex");
        for (size_t row = 0; row < Db.Cities.Records.size(); ++row)
            check("Cities", row, Db.Cities.Records[row].CityIndex(), "CityIndex");
    }

    // A text the game shows: no control characters, and no more than 255 of them.
    void CheckText(const std::string& where, const char* field, const std::u16string& text) {
        if (KordoHasControlCharacter(text))
            Add(where + ": " + field + " \"" + Shown(text) + "\" holds a control character");
        if (text.size() > 255)
            Add(where + ": " + field + " is " + std::to_string(text.size()) +
                " characters long, more than 255");
    }
    // The text with its control characters written as \u00XX, so that a finding stays on its line.
    static std::string Shown(const std::u16string& text) {
        std::string out;
        static const char Hex[] = "0123456789ABCDEF";
        for (char c : Utf8(text)) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\u00";
                out += Hex[byte >> 4];
                out += Hex[byte & 15];
            } else {
                out += c;
            }
        }
        return out;
    }

    void CheckTexts() {
        for (const TKordoNames* names : {&Db.FirstNames, &Db.SecondNames, &Db.CommonNames}) {
            const auto& list = names->List();
            for (size_t row = 0; row < list.size(); ++row)
                CheckText(names->TableName + " row " + std::to_string(row), "Name", list[row]->Name);
        }
        for (size_t row = 0; row < Db.Clubs.Records.size(); ++row) {
            const TKordoClub& club = Db.Clubs.Records[row];
            const std::string what = "Clubs record " + std::to_string(row);
            CheckText(what, "ClubName", club.ClubName);
            CheckText(what, "ShortClubName", club.ShortClubName);
            CheckText(what, "Nickname1", club.Nickname1);
            CheckText(what, "Nickname2", club.Nickname2);
        }
        for (size_t row = 0; row < Db.Nations.Records.size(); ++row) {
            const TKordoNation& nation = Db.Nations.Records[row];
            const std::string what = "Nations record " + std::to_string(row);
            CheckText(what, "NationName", nation.NationName);
            CheckText(what, "NationSecondName", nation.NationSecondName);
        }
    }

    // The Staff table's header repeats the sizes of the three attribute tables that follow it.
    void CheckStoredCounts() {
        const std::array<std::pair<const char*, int32_t>, 3> tables{
            {{"Mental Attributes", Db.MentalAtts.Count()},
             {"Player Attributes", Db.PlayerAtts.Count()},
             {"Non Player Attributes", Db.NonPlayerAtts.Count()}}};
        for (size_t i = 0; i < tables.size(); ++i)
            if (Db.Staffs.StoredAttCounts[i] != tables[i].second)
                Add("people_db.dat: the Staff table's header counts " +
                    std::to_string(Db.Staffs.StoredAttCounts[i]) + " " + tables[i].first +
                    " records, but that table holds " + std::to_string(tables[i].second));
    }

    const TKordoPregameDatabase& Db;
    std::vector<std::string> Findings;
};

} // namespace

std::vector<std::string> KordoCheckDatabase(const TKordoPregameDatabase& database) {
    return TChecker(database).Run();
}

std::string KordoToUtf8(const std::u16string& text) {
    return Utf8(text);
}

bool KordoHasControlCharacter(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char16_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); });
}
