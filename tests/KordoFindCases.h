// What the editors' lists find: one table of cases that the search's, the list's and kordo-db find's
// tests all run, over a database of a few people and clubs made here (a generated world of nations
// and clubs without people, and people added to it).
#pragma once

#include "KordoFunctions.h"
#include "KordoGenerator.h"
#include "KordoPregameDatabase.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// A row as the list shows it: the display name, and the name that matched where the display name
// does not show it.
struct TFindRow {
    std::u16string Name;
    std::u16string Matched;
    bool operator==(const TFindRow&) const = default;
};

struct TFindCase {
    bool People;
    std::u16string Text;
    std::vector<TFindRow> Rows; // in the list's order
};

// People by name, and the club whose squad they play in (a row of the clubs, -1 for none).
struct TFindPerson {
    const char16_t* First;
    const char16_t* Second;
    const char16_t* Common;
    int Born;
    uint8_t Type;
    int Club;
};

inline const std::vector<TFindPerson>& FindPeople() {
    static const std::vector<TFindPerson> people{
        {u"Ana", u"Ădatriberg", nullptr, 1990, KordoStaffPlayer, 0},
        {u"Jon", u"Steihărt", nullptr, 1985, KordoStaffNonPlayer, 1},
        {u"Hans", u"Straße", nullptr, 1979, KordoStaffPlayer, -1},
        {u"Karl", u"STRASSE", nullptr, 1999, KordoStaffReferee, -1},
        {u"Edson", u"Arantes", u"Pele", 1940, KordoStaffPlayer, 2},
        {u"John", u"Smith", nullptr, 2001, KordoStaffPlayer, 0},
        {nullptr, u"Smith", nullptr, 1970, KordoStaffPlayerNonPlayer, 1},
        {u"Émile", u"Zola", nullptr, 1960, KordoStaffPlayer, 2},
    };
    return people;
}

inline const std::vector<TFindCase>& FindCases() {
    static const std::vector<TFindCase> cases{
        // Case and accents do not count, and "ß" reads as "ss".
        {true, u"adatriberg", {{u"Ădatriberg, Ana", u""}}},
        {true, u"STEIHART", {{u"Steihărt, Jon", u""}}},
        {true, u"strasse", {{u"Straße, Hans", u""}, {u"STRASSE, Karl", u""}}},
        {true, u"ß", {{u"Straße, Hans", u""}, {u"STRASSE, Karl", u""}}},
        {true, u"emile", {{u"Zola, Émile", u""}}},
        // Common, first and second names are searched; a match the display name hides is named.
        {true, u"pele", {{u"Pele", u""}}},
        {true, u"edson ar", {{u"Pele", u"Edson Arantes"}}},
        {true, u"john smith", {{u"Smith, John", u""}}},
        {true, u" smith", {{u"Smith", u""}, {u"Smith, John", u""}}},
        {true, u"Smith, John", {}},
        // An empty text lists everybody, by name.
        {true,
         u"",
         {{u"Ădatriberg, Ana", u""},
          {u"Pele", u""},
          {u"Smith", u""},
          {u"Smith, John", u""},
          {u"Steihărt, Jon", u""},
          {u"Straße, Hans", u""},
          {u"STRASSE, Karl", u""},
          {u"Zola, Émile", u""}}},
        // Clubs of one short name, in table order; found by a full name or a nickname.
        {false, u"amna", {{u"Amna", u""}, {u"Amna", u""}}},
        {false, u"athletic", {{u"Amna", u"Amna Athletic"}}},
        {false, u"the reds", {{u"Hartmoor", u"The Reds"}}},
        {false, u"ŕêdś", {{u"Hartmoor", u"The Reds"}}},
    };
    return cases;
}

// Turns the first clubs of a generated world into the clubs of the cases and adds the people.
inline void AddFindRecords(TKordoPregameDatabase& db) {
    auto rename = [&](size_t row, const char16_t* name, const char16_t* shortName, const char16_t* nickname) {
        TKordoClub& club = db.Clubs.Records.at(row);
        club.ClubName = name;
        club.ShortClubName = shortName;
        club.Nickname1 = nickname;
        club.Nickname2.clear();
    };
    rename(0, u"Amna Town", u"Amna", u"The Blues");
    rename(1, u"Amna Athletic", u"Amna", u"The Greens");
    rename(2, u"Hartmoor Rovers", u"Hartmoor", u"The Reds");
    for (const TFindPerson& person : FindPeople()) {
        TKordoStaff* staff = db.Staffs.NewStaff();
        TKordoNation* nation =
            &db.Nations.Records.at(static_cast<size_t>(person.Born) % db.Nations.Records.size());
        staff->Nation = nation;
        auto use = [&](TKordoNames& names, const char16_t* text) -> TKordoName* {
            if (!text)
                return nullptr;
            TKordoName* name = names.FindOrAdd(text, nation);
            names.AddUse(name);
            return name;
        };
        staff->FirstName = use(db.FirstNames, person.First);
        staff->SecondName = use(db.SecondNames, person.Second);
        staff->CommonName = use(db.CommonNames, person.Common);
        staff->SetStaffType(person.Type);
        using namespace std::chrono;
        staff->SetDateOfBirth(DateTimeToGameDate(year(person.Born) / March / 4));
        if (person.Club >= 0) {
            TKordoClub& club = db.Clubs.Records.at(static_cast<size_t>(person.Club));
            staff->ClubSquad = club.Squads.at(0);
            staff->SetClubJob(person.Type == KordoStaffNonPlayer ? 2 : 1); // a coach or a player
        }
    }
}

// A database folder holding the world of the cases.
inline bool WriteFindDatabase(const std::filesystem::path& folder, std::string& error) {
    if (!KordoGenerateFiles(folder, {0, 15, true}, error))
        return false;
    TKordoPregameDatabase db;
    if (!db.Load(folder)) {
        error = db.LastError();
        return false;
    }
    AddFindRecords(db);
    if (!db.Save(folder)) {
        error = db.LastError();
        return false;
    }
    return true;
}
