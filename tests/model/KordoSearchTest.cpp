#include "KordoSearch.h"

#include "KordoFindCases.h"
#include "KordoFunctions.h"
#include "KordoGenerator.h"

#include <QString>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A database of a few people and clubs, made in memory.
struct TTinyDatabase {
    TKordoPregameDatabase Database;
    TKordoSquad Squad;

    // nullptr for a name the person does not have.
    TKordoStaff* Person(const char16_t* first, const char16_t* second, const char16_t* common = nullptr) {
        TKordoStaff* staff = Database.Staffs.NewStaff();
        if (first)
            staff->FirstName = Database.FirstNames.FindOrAdd(first, nullptr);
        if (second)
            staff->SecondName = Database.SecondNames.FindOrAdd(second, nullptr);
        if (common)
            staff->CommonName = Database.CommonNames.FindOrAdd(common, nullptr);
        return staff;
    }
    // Clubs live in one array: add them all before taking their addresses.
    void Club(std::u16string name, std::u16string shortName, std::u16string nickname1 = u"",
              std::u16string nickname2 = u"", bool hasSquads = true) {
        TKordoClub& club = Database.Clubs.Records.emplace_back();
        club.ClubName = std::move(name);
        club.ShortClubName = std::move(shortName);
        club.Nickname1 = std::move(nickname1);
        club.Nickname2 = std::move(nickname2);
        if (hasSquads)
            club.Squads.push_back(&Squad);
    }
};

std::vector<std::u16string> RowTexts(const TKordoSearch& search) {
    std::vector<std::u16string> texts;
    for (int32_t row = 0; row < search.RowCount(); ++row)
        texts.push_back(search.RowText(row));
    return texts;
}

std::vector<std::u16string> Found(TKordoSearch& search, const std::u16string& text) {
    search.Search(text);
    return RowTexts(search);
}

using TTexts = std::vector<std::u16string>;

} // namespace

TEST(StaffSearch, FindsAPartOfANameInAnyCase) {
    TTinyDatabase db;
    db.Person(u"John", u"Smith");
    db.Person(u"Mary", u"Jones");
    TKordoStaffSearch search(db.Database);
    EXPECT_EQ(Found(search, u"smi"), TTexts{u"Smith, John"});
    EXPECT_EQ(Found(search, u"SMI"), TTexts{u"Smith, John"});
    EXPECT_EQ(Found(search, u"oNe"), TTexts{u"Jones, Mary"});
}

TEST(StaffSearch, MatchesFirstAndSecondNameJoinedByABlankNotTheDisplayForm) {
    TTinyDatabase db;
    db.Person(u"John", u"Smith");
    db.Person(nullptr, u"Smith");          // built name " Smith"
    db.Person(u"Smith", nullptr);          // built name "Smith"
    db.Person(nullptr, nullptr, u"Smith"); // known by a common name only
    TKordoStaffSearch search(db.Database);
    EXPECT_EQ(Found(search, u"john smith"), TTexts{u"Smith, John"});
    EXPECT_EQ(Found(search, u"Smith, John"), TTexts{});
    // The leading blank of a person with only a second name is part of what is searched.
    EXPECT_EQ(Found(search, u" smith"), (TTexts{u"Smith", u"Smith, John"}));
    EXPECT_EQ(search.Count(), 2);
    EXPECT_EQ(Found(search, u"smith").size(), 4u);
}

TEST(StaffSearch, FindsAPersonByHisCommonNameAndByHisOtherNames) {
    TTinyDatabase db;
    db.Person(u"Edson", u"Nascimento", u"Pele");
    TKordoStaffSearch search(db.Database);
    EXPECT_EQ(Found(search, u"pele"), TTexts{u"Pele"});
    EXPECT_EQ(Found(search, u"edson"), TTexts{u"Pele"});
    EXPECT_EQ(Found(search, u"edson nasc"), TTexts{u"Pele"});
}

TEST(StaffSearch, SeesNamesChangedAndPeopleRemovedSinceTheLastSearch) {
    TTinyDatabase db;
    TKordoStaff* removed = db.Person(u"Ann", u"Smith");
    TKordoStaff* renamed = db.Person(u"John", u"Smith");
    db.Person(u"Mary", u"Jones");
    TKordoStaffSearch search(db.Database);
    search.Prepare(); // what is cached ahead of time must not hide the changes either
    EXPECT_EQ(Found(search, u"smith"), (TTexts{u"Smith, Ann", u"Smith, John"}));
    renamed->SecondName = db.Database.SecondNames.FindOrAdd(u"Jones", nullptr);
    EXPECT_EQ(Found(search, u"smith"), TTexts{u"Smith, Ann"});
    db.Database.Staffs.RemoveStaff(removed);
    EXPECT_EQ(Found(search, u"jones"), (TTexts{u"Jones, John", u"Jones, Mary"}));
    EXPECT_EQ(Found(search, u"ann"), TTexts{});
}

TEST(StaffSearch, AnEmptyTextFindsNothingButStillScansTheTable) {
    TTinyDatabase db;
    db.Person(u"John", u"Smith");
    db.Person(nullptr, nullptr);
    TKordoStaffSearch search(db.Database);
    std::vector<int32_t> progress;
    search.OnProgress = [&](int32_t percent) { progress.push_back(percent); };
    search.ShowAll();
    search.Search(u"");
    EXPECT_EQ(search.RowCount(), 0);
    EXPECT_EQ(search.Count(), 0);
    EXPECT_EQ(progress, (std::vector<int32_t>{50, 100}));
    // A person without names has nothing that could contain a text.
    EXPECT_EQ(Found(search, u"<No"), TTexts{});
}

TEST(StaffSearch, UpperCasesWithFullUnicodeRules) {
    TTinyDatabase db;
    db.Person(u"ÉMILE", u"Zola");
    db.Person(u"Hans", u"Straße");
    db.Person(u"Karl", u"STRASSE");
    db.Person(u"\U00010428\U00010429", u"Deseret"); // lower-case letters outside the basic plane
    TKordoStaffSearch search(db.Database);
    EXPECT_EQ(Found(search, u"émile"), TTexts{u"Zola, ÉMILE"});
    // ß upper-cases to SS, so both spellings find both people (and collate alike, so the first names
    // decide the order); no code page turns letters into '?'.
    TTexts strassen{u"Straße, Hans", u"STRASSE, Karl"};
    EXPECT_EQ(Found(search, u"straße"), strassen);
    EXPECT_EQ(Found(search, u"STRASSE"), strassen);
    EXPECT_EQ(Found(search, u"ß"), strassen);
    EXPECT_EQ(Found(search, u"?"), TTexts{});
    EXPECT_EQ(Found(search, u"\U00010400"), TTexts{u"Deseret, \U00010428\U00010429"});
    EXPECT_EQ(search.FindTypeAhead(u"deseret, \U00010428"), 0);
}

TEST(ClubSearch, AClubWithoutSquadsIsListedButNeverFound) {
    TTinyDatabase db;
    db.Club(u"Athletic Club Dissolved", u"Dissolved", u"", u"", false);
    db.Club(u"Real Kordo Club", u"Kordo", u"The Reds", u"Los Blancos");
    TKordoClubSearch search(db.Database);
    EXPECT_EQ(Found(search, u"Athletic Club Dissolved"), TTexts{});
    EXPECT_EQ(Found(search, u"club"), TTexts{u"Kordo"});
    search.ShowAll();
    EXPECT_EQ(RowTexts(search), (TTexts{u"Dissolved", u"Kordo"}));
    EXPECT_EQ(search.Count(), 2);
}

TEST(ClubSearch, TriesEveryNameOfAClub) {
    TTinyDatabase db;
    db.Club(u"Real Kordo Club", u"Kordo", u"The Reds", u"Los Blancos");
    db.Club(u"Sporting", u"", u"Lions", u"");
    TKordoClubSearch search(db.Database);
    EXPECT_EQ(Found(search, u"blanc"), TTexts{u"Kordo"});
    EXPECT_EQ(Found(search, u"REDS"), TTexts{u"Kordo"});
    EXPECT_EQ(Found(search, u"kordo"), TTexts{u"Kordo"});
    // The row shows the short name, and a club without one its placeholder.
    EXPECT_EQ(Found(search, u"lion"), TTexts{u"<No Name>"});
}

TEST(SearchProgress, ReportsStatusAndTheWholePercentAfterEveryRecord) {
    for (auto [people, expected] :
         {std::pair{4, std::vector<int32_t>{25, 50, 75, 100}},
          std::pair{3, std::vector<int32_t>{33, 66, 100}}, std::pair{0, std::vector<int32_t>{}}}) {
        TTinyDatabase db;
        for (int i = 0; i < people; ++i)
            db.Person(u"John", u"Smith");
        TKordoStaffSearch search(db.Database);
        std::vector<std::string> statuses;
        std::vector<int32_t> progress;
        search.OnStatus = [&](const std::string& text) { statuses.push_back(text); };
        search.OnProgress = [&](int32_t percent) { progress.push_back(percent); };
        search.Search(u"zzz");
        EXPECT_EQ(progress, expected) << people << " people";
        EXPECT_EQ(statuses, (std::vector<std::string>{"Searching", "Sorting Search Result"}));
        statuses.clear();
        progress.clear();
        search.ShowAll();
        EXPECT_EQ(statuses, std::vector<std::string>{"Sorting Search Result"});
        EXPECT_TRUE(progress.empty());
    }
}

TEST(SearchRows, CountFollowsTheModeNotTheRowsAddedOrRemoved) {
    TTinyDatabase db;
    db.Person(u"John", u"Smith");
    db.Person(u"Anna", u"Smith");
    TKordoStaff* other = db.Person(u"Mary", u"Jones");
    TKordoStaffSearch search(db.Database);
    search.ShowAll();
    EXPECT_EQ(search.Count(), 3);
    EXPECT_TRUE(search.ShowingAll());
    EXPECT_EQ(search.FocusedRow(), -1);

    search.Search(u"smith");
    EXPECT_EQ(search.Count(), 2);
    search.AddRecord(other);
    EXPECT_EQ(search.Count(), 2);
    EXPECT_EQ(search.RowCount(), 3);
    EXPECT_EQ(search.FocusedRow(), 2);
    EXPECT_EQ(search.RowRecord<TKordoStaff>(2), other);

    search.SetFocusedRow(1);
    search.RemoveRow(0);
    EXPECT_EQ(search.FocusedRow(), 0);
    EXPECT_EQ(search.Count(), 2);
    search.RemoveRow(0);
    EXPECT_EQ(search.FocusedRow(), -1);
    EXPECT_EQ(RowTexts(search), TTexts{u"Jones, Mary"});

    search.ShowSingle(other);
    EXPECT_EQ(search.Count(), 0);
    EXPECT_FALSE(search.ShowingAll());
    EXPECT_EQ(search.RowCount(), 1);
    EXPECT_EQ(search.FocusedRow(), 0);
    EXPECT_EQ(search.RowOf(other), 0);
    search.SetFocusedRow(5);
    EXPECT_EQ(search.FocusedRow(), -1);
}

TEST(SearchOrder, SortsByDisplayNameIgnoringCaseWithTheNamelessFirst) {
    TTinyDatabase db;
    db.Person(u"Emma", nullptr);
    db.Person(u"carter", nullptr);
    db.Person(nullptr, nullptr);
    db.Person(u"Émile", nullptr);
    db.Person(u"Emil", nullptr);
    db.Person(u"adams", nullptr);
    db.Person(u"Baker", nullptr);
    TKordoStaffSearch search(db.Database);
    search.ShowAll();
    EXPECT_EQ(RowTexts(search),
              (TTexts{u"<No Name>", u"adams", u"Baker", u"carter", u"Emil", u"Émile", u"Emma"}));
}

TEST(SearchOrder, EqualNamesKeepTableOrder) {
    TTinyDatabase db;
    db.Database.Nations.Records.resize(2);
    // Four people shown as "Brown, John" (no i, whose case partner differs in Turkish): through one
    // name record, a record whose text differs in case, and two records of other nations.
    std::vector<TKordoStaff*> browns{db.Person(u"John", u"Brown")};
    db.Person(u"Zed", nullptr);
    browns.push_back(db.Person(u"John", u"BROWN"));
    for (TKordoNation& nation : db.Database.Nations.Records) {
        TKordoStaff* staff = db.Person(u"John", nullptr);
        staff->SecondName = db.Database.SecondNames.FindOrAdd(u"Brown", &nation);
        browns.push_back(staff);
    }
    ASSERT_NE(browns[2]->SecondName, browns[0]->SecondName);
    TKordoStaffSearch search(db.Database);
    // The last one is seen first; the second time round the names are ranked already.
    search.ShowSingle(browns.back());
    for (int round = 0; round < 2; ++round) {
        search.Search(u"john");
        std::vector<TKordoStaff*> rows;
        for (int32_t row = 0; row < search.RowCount(); ++row)
            rows.push_back(search.RowRecord<TKordoStaff>(row));
        EXPECT_EQ(rows, browns);
    }
}

// A generated world has thousands of names with accents, blanks and apostrophes, and we add names
// with ligatures, letters that collate as two, decomposed accents and other scripts: the rows must come
// out in exactly the collation's order, however they were ranked (all at once, or a search's names
// first and the rest merged in later, or after renaming), equal names in table order.
TEST(SearchOrder, RowsOfAGeneratedDatabaseAreInCollationOrder) {
    TKordoPregameDatabase database;
    KordoGenerate(database, {3000, 7, false});
    database.IndexAll();
    for (const char16_t* name :
         {u"Straßer", u"Strasser", u"STRASSER", u"Strasse",  u"Æbelø",       u"Aebeloe",
          u"Œuvray",  u"Oeuvray",  u"Ĳssel",    u"Ijssel",   u"Ørsted",      u"Orsted",
          u"Þór",     u"Thor",     u"Ðokić",    u"Dokic",    u"E\u0301lise", u"Élise",
          u"Elise",   u"Иванов",   u"Ivanov",   u"Ηλίας",    u"\uFB01sher",  u"fisher",
          u"O'Neil",  u"ONeil",    u"Van Dijk", u"van-Dijk", u"Eilert"}) {
        for (int32_t row : {0, 1500}) {
            TKordoStaff* staff = database.Staffs.NewStaff();
            staff->FirstName = database.Staffs.Item(row)->FirstName;
            staff->SecondName = database.SecondNames.FindOrAdd(name, nullptr);
        }
    }
    auto expectSorted = [&](const TKordoSearch& search) {
        for (int32_t row = 1; row < search.RowCount(); ++row) {
            const auto* previous = search.RowRecord<TKordoStaff>(row - 1);
            const auto* current = search.RowRecord<TKordoStaff>(row);
            int order = KordoCompareNames(StaffDisplayName(*previous), StaffDisplayName(*current));
            ASSERT_LE(order, 0) << "row " << row;
            if (order == 0) {
                auto& list = database.Staffs.List();
                ASSERT_LT(std::find(list.begin(), list.end(), previous),
                          std::find(list.begin(), list.end(), current));
            }
        }
    };
    TKordoStaffSearch search(database);
    search.Search(u"ei");
    ASSERT_GT(search.Count(), 100);
    expectSorted(search);
    TKordoStaffSearch prepared(database);
    prepared.Prepare();
    prepared.Search(u"ei");
    ASSERT_EQ(prepared.RowCount(), search.RowCount());
    for (int32_t row = 0; row < search.RowCount(); ++row)
        ASSERT_EQ(prepared.RowRecord<TKordoStaff>(row), search.RowRecord<TKordoStaff>(row)) << "row " << row;
    search.ShowAll();
    EXPECT_EQ(search.RowCount(), database.Staffs.Count());
    expectSorted(search);

    TKordoStaff* renamed = database.Staffs.Item(0);
    renamed->CommonName = database.CommonNames.FindOrAdd(u"Mmmm Renamed", nullptr);
    search.ShowAll();
    expectSorted(search);
    EXPECT_NE(search.RowOf(renamed), -1);
}

TEST(SearchOrder, AWorldPreparedOnTwoThreadsListsEveryNameInOrder) {
    // So many people are prepared on two threads, the last of them on the second; the last person
    // holds a name that is not where his stored row says.
    TKordoPregameDatabase database;
    KordoGenerate(database, {static_cast<int32_t>(KordoParallelFrom) + 300, 3, false});
    database.IndexAll();
    TKordoStaff* last = database.Staffs.List().back();
    last->CommonName = database.CommonNames.FindOrAdd(u"Zwölfender", nullptr);
    TKordoStaffSearch search(database);
    search.Prepare();
    search.ShowAll();
    ASSERT_EQ(search.RowCount(), database.Staffs.Count());
    size_t wrongTexts = 0, misordered = 0;
    for (int32_t row = 0; row < search.RowCount(); ++row) {
        wrongTexts += search.RowText(row) == StaffDisplayName(*search.Staff(row)) ? 0 : 1;
        if (row > 0)
            misordered += KordoCompareNames(search.RowText(row - 1), search.RowText(row)) > 0 ? 1 : 0;
    }
    EXPECT_EQ(wrongTexts, 0u);
    EXPECT_EQ(misordered, 0u);
    EXPECT_EQ(Found(search, u"zwolfender"), TTexts{u"Zwölfender"});
    TKordoStaff* lastButOne = database.Staffs.Item(database.Staffs.Count() - 2);
    ASSERT_TRUE(lastButOne->SecondName);
    search.Search(lastButOne->SecondName->Name);
    EXPECT_NE(search.RowOf(lastButOne), -1);
}

TEST(TypeAhead, FindsTheFirstRowBeginningWithTheTypedTextInAnyCase) {
    TTinyDatabase db;
    db.Person(u"Ann", u"Smythe");
    db.Person(u"Bob", u"Smith");
    db.Person(u"Cy", u"Sample");
    db.Person(nullptr, u"Émond");
    db.Person(nullptr, u"Emond");
    TKordoStaffSearch search(db.Database);
    search.ShowAll();
    ASSERT_EQ(RowTexts(search), (TTexts{u"Emond", u"Émond", u"Sample, Cy", u"Smith, Bob", u"Smythe, Ann"}));
    EXPECT_EQ(search.FindTypeAhead(u"sm"), 3);
    EXPECT_EQ(search.FindTypeAhead(u"SM"), 3);
    EXPECT_EQ(search.FindTypeAhead(u"sMy"), 4);
    EXPECT_EQ(search.FindTypeAhead(u"smythe, ann and more"), -1);
    EXPECT_EQ(search.FindTypeAhead(u"smythe, ann"), 4);
    EXPECT_EQ(search.FindTypeAhead(u"x"), -1);
    // Case is ignored, accents are not.
    EXPECT_EQ(search.FindTypeAhead(u"é"), 1);
    EXPECT_EQ(search.FindTypeAhead(u"E"), 0);
}

TEST(TypeAhead, FindsANameThatSortsAwayFromItsFirstCharacter) {
    TTinyDatabase db;
    db.Person(nullptr, u"Adams");
    db.Person(nullptr, u"เกษม"); // Thai: the leading vowel collates after the consonant that follows it
    db.Person(nullptr, u"Zed");
    db.Person(nullptr, u"เอก");
    TKordoStaffSearch search(db.Database);
    search.ShowAll();
    int32_t expected = -1;
    for (int32_t row = 0; row < search.RowCount() && expected < 0; ++row)
        if (KordoCompareNames(search.RowText(row).substr(0, 1), u"เ") == 0)
            expected = row;
    ASSERT_NE(expected, -1);
    EXPECT_EQ(search.FindTypeAhead(u"เ"), expected);
    EXPECT_EQ(search.FindTypeAhead(u"เก"), search.RowOf(db.Database.Staffs.Item(1)));
}

TEST(TypeAhead, SeesARenamedRowOnceItIsReportedChanged) {
    TTinyDatabase db;
    TKordoStaff* person = db.Person(u"Ann", u"Smythe");
    db.Person(u"Bob", u"Smith");
    TKordoStaffSearch search(db.Database);
    search.ShowAll();
    int32_t row = search.RowOf(person);
    person->SecondName = db.Database.SecondNames.FindOrAdd(u"Quinn-Longer-Than-A-Row-Head", nullptr);
    EXPECT_EQ(search.RowText(row), u"Quinn-Longer-Than-A-Row-Head, Ann");
    search.RowChanged(row);
    EXPECT_EQ(search.FindTypeAhead(u"quinn-longer-than"), row);
    EXPECT_EQ(search.FindTypeAhead(u"smy"), -1);
}

// Rows taken out shift what the search knows of the rows after them: which are sorted, and which
// were renamed since.
TEST(TypeAhead, FindsRowsAddedOrRenamedAfterARowWasRemoved) {
    TTinyDatabase db;
    db.Person(nullptr, u"Adams");
    TKordoStaff* baker = db.Person(nullptr, u"Baker");
    db.Person(nullptr, u"Carter");
    TKordoStaff* dale = db.Person(nullptr, u"Dale");
    TKordoStaffSearch search(db.Database);
    search.ShowAll();
    search.RemoveRow(search.RowOf(baker));
    search.AddRecord(db.Person(nullptr, u"Aaron")); // after the sorted rows, though it sorts first
    EXPECT_EQ(RowTexts(search), (TTexts{u"Adams", u"Carter", u"Dale", u"Aaron"}));
    EXPECT_EQ(search.FindTypeAhead(u"aar"), 3);

    dale->SecondName = db.Database.SecondNames.FindOrAdd(u"Aardvark", nullptr);
    search.RowChanged(search.RowOf(dale));
    search.RemoveRow(0);
    EXPECT_EQ(RowTexts(search), (TTexts{u"Carter", u"Aardvark", u"Aaron"}));
    EXPECT_EQ(search.FindTypeAhead(u"aa"), 1);
    EXPECT_EQ(search.FindTypeAhead(u"aaro"), 2);
    EXPECT_EQ(search.FindTypeAhead(u"car"), 0);
}

TEST(TypeAhead, AgreesWithComparingEveryRowsPrefix) {
    TKordoPregameDatabase database;
    KordoGenerate(database, {2000, 3, false});
    database.IndexAll();
    TKordoStaffSearch search(database);
    search.ShowAll();
    std::vector<std::u16string> typed{u"a", u"Sch", u"van ", u"o'", u"é", u"Ł", u"ss", u"zz"};
    for (int32_t row = 0; row < search.RowCount(); row += 97)
        typed.push_back(StaffDisplayName(*search.RowRecord<TKordoStaff>(row)).substr(0, 14));
    for (const std::u16string& text : typed) {
        int32_t expected = -1;
        for (int32_t row = 0; row < search.RowCount() && expected < 0; ++row) {
            auto name = StaffDisplayName(*search.RowRecord<TKordoStaff>(row));
            if (KordoCompareNames(std::u16string_view(name).substr(0, text.size()), text) == 0)
                expected = row;
        }
        EXPECT_EQ(search.FindTypeAhead(text), expected);
    }
}

namespace {

// The world of the shared find cases, in memory.
struct TFindWorld {
    TKordoPregameDatabase Database;
    TFindWorld() {
        KordoGenerate(Database, {0, 15, true});
        Database.IndexAll();
        AddFindRecords(Database);
    }
};

std::vector<TFindRow> ListedRows(const TKordoSearch& search) {
    std::vector<TFindRow> rows;
    for (int32_t row = 0; row < search.RowCount(); ++row)
        rows.push_back({search.RowText(row), search.RowMatchedName(row)});
    return rows;
}

std::string Utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

// A generated world of a few thousand people, with names of every kind.
TKordoPregameDatabase& Generated() {
    static TKordoPregameDatabase* database = [] {
        auto* generated = new TKordoPregameDatabase;
        KordoGenerate(*generated, {4000, 11, false});
        generated->IndexAll();
        return generated;
    }();
    return *database;
}

// What a fresh search lists for the text under the filter.
std::vector<TKordoStaff*> Fresh(TKordoPregameDatabase& database, const std::u16string& text,
                                const TKordoSearchFilter& filter = {}) {
    TKordoStaffSearch search(database);
    search.SetFilter(filter);
    search.Find(text);
    std::vector<TKordoStaff*> rows;
    for (int32_t row = 0; row < search.RowCount(); ++row)
        rows.push_back(search.Staff(row));
    return rows;
}

std::vector<TKordoStaff*> Rows(const TKordoStaffSearch& search) {
    std::vector<TKordoStaff*> rows;
    for (int32_t row = 0; row < search.RowCount(); ++row)
        rows.push_back(search.Staff(row));
    return rows;
}

} // namespace

TEST(FindCases, EveryListShowsWhatTheCaseSays) {
    TFindWorld world;
    TKordoStaffSearch people(world.Database);
    TKordoClubSearch clubs(world.Database);
    for (const TFindCase& found : FindCases()) {
        TKordoSearch& search = found.People ? static_cast<TKordoSearch&>(people) : clubs;
        search.Find(found.Text);
        EXPECT_EQ(ListedRows(search), found.Rows) << Utf8(found.Text);
    }
}

// Each key of a typed text searches only what the previous key found, and must list exactly what a
// fresh search lists; also after a reported rename and with a filter.
TEST(Narrowing, ATypedTextListsWhatAFreshSearchLists) {
    TKordoPregameDatabase& database = Generated();
    TKordoStaffSearch search(database);
    search.Prepare();
    for (std::u16string typed : {u"stein", u"ou ch", u"Ǿ", u"a b"}) {
        for (size_t keys = 1; keys <= typed.size(); ++keys) {
            std::u16string text = typed.substr(0, keys);
            search.Search(text);
            ASSERT_EQ(Rows(search), Fresh(database, text)) << Utf8(text);
        }
    }
    search.Search(u"o");
    TKordoStaff* renamed = search.Staff(0);
    TKordoName* before = renamed->SecondName;
    renamed->SecondName = database.SecondNames.FindOrAdd(u"Oxbridge", nullptr);
    search.RecordChanged(renamed);
    search.Search(u"ox");
    EXPECT_EQ(Rows(search), Fresh(database, u"ox"));
    EXPECT_NE(search.RowOf(renamed), -1);
    renamed->SecondName = before;

    TKordoSearchFilter players;
    players.StaffType = KordoStaffPlayer;
    search.SetFilter(players);
    for (std::u16string text : {u"e", u"er", u"ert"}) {
        search.Search(text);
        ASSERT_EQ(Rows(search), Fresh(database, text, players)) << Utf8(text);
    }
}

// Filters combine with the text and with each other; each lets through exactly the people it names.
TEST(Filters, ListOnlyThePeopleTheyName) {
    TKordoPregameDatabase& database = Generated();
    std::vector<TKordoStaff*> everybody = Fresh(database, u"");
    ASSERT_EQ(everybody.size(), database.Staffs.List().size());
    const TKordoStaff* sample = everybody[everybody.size() / 3];
    ASSERT_TRUE(sample->Nation && sample->ClubSquad && sample->ClubSquad->OwnerClub);
    const int32_t born = KordoCalendarYear(sample->DateOfBirth());

    TKordoSearchFilter filter;
    filter.StaffType = sample->StaffType();
    filter.Nation = sample->Nation;
    filter.Club = sample->ClubSquad->OwnerClub;
    filter.BornFrom = born - 2;
    filter.BornTo = born;
    auto passes = [&](const TKordoStaff& staff, const TKordoSearchFilter& by) {
        const int32_t year = KordoCalendarYear(staff.DateOfBirth());
        return (!by.StaffType || staff.StaffType() == by.StaffType) &&
               (!by.Nation || staff.Nation == by.Nation) &&
               (!by.Club || (staff.ClubSquad && staff.ClubSquad->OwnerClub == by.Club)) &&
               (!by.BornFrom || year >= by.BornFrom) && (!by.BornTo || year <= by.BornTo);
    };
    auto expected = [&](const TKordoSearchFilter& by, const std::vector<TKordoStaff*>& from) {
        std::vector<TKordoStaff*> kept;
        for (TKordoStaff* staff : from)
            if (passes(*staff, by))
                kept.push_back(staff);
        return kept;
    };
    TKordoSearchFilter nationOnly, clubOnly;
    nationOnly.Nation = filter.Nation;
    clubOnly.Club = filter.Club;
    for (const TKordoSearchFilter& one : {nationOnly, clubOnly})
        EXPECT_EQ(Fresh(database, u"", one), expected(one, everybody));
    TKordoSearchFilter years;
    years.BornFrom = filter.BornFrom;
    years.BornTo = filter.BornTo;
    std::vector<TKordoStaff*> bornThen = Fresh(database, u"", years);
    EXPECT_EQ(bornThen, expected(years, everybody));
    EXPECT_GT(bornThen.size(), 10u);
    std::vector<TKordoStaff*> all = Fresh(database, u"", filter);
    EXPECT_EQ(all, expected(filter, everybody));
    EXPECT_NE(std::find(all.begin(), all.end(), sample), all.end());
    EXPECT_EQ(Fresh(database, u"a", filter), expected(filter, Fresh(database, u"a")));

    // Count follows what the filter lets through; clearing it lists everybody again.
    TKordoStaffSearch search(database);
    search.SetFilter(filter);
    search.ShowAll();
    EXPECT_EQ(search.Count(), static_cast<int32_t>(all.size()));
    search.SetFilter({});
    search.ShowAll();
    EXPECT_EQ(search.Count(), database.Staffs.Count());

    TKordoClubSearch clubs(database);
    TKordoSearchFilter nation;
    nation.Nation = sample->Nation;
    clubs.SetFilter(nation);
    clubs.ShowAll();
    ASSERT_GT(clubs.RowCount(), 0);
    int32_t ofNation = 0;
    for (const TKordoClub& club : database.Clubs.Records)
        ofNation += club.Nation == sample->Nation;
    EXPECT_EQ(clubs.RowCount(), ofNation);
    for (int32_t row = 0; row < clubs.RowCount(); ++row)
        EXPECT_EQ(clubs.Club(row)->Nation, sample->Nation);
}

// A column orders the rows by its cells (texts by the collation, numbers by value), equal cells by
// name; again the other way round, equal cells still by name; the name column reversed is the name
// order backwards. The focused person stays focused and every row is told where it went.
TEST(ColumnSort, OrdersByTheCellsThenByName) {
    TKordoPregameDatabase& database = Generated();
    TKordoStaffSearch search(database);
    search.Search(u"e");
    search.SetFocusedRow(7);
    TKordoStaff* focused = search.Staff(7);
    std::vector<TKordoStaff*> before = Rows(search);
    auto name = [&](int32_t row) { return search.RowText(row); };
    for (int32_t column = 1; column < search.ColumnCount(); ++column) {
        const bool numeric = search.Column(column).Numeric;
        for (bool descending : {false, true}) {
            std::vector<int32_t> moved = search.SortBy(column, descending);
            ASSERT_EQ(search.RowCount(), static_cast<int32_t>(before.size()));
            for (size_t row = 0; row < before.size(); ++row)
                ASSERT_EQ(search.Staff(moved[row]), before[row]);
            before = Rows(search);
            EXPECT_EQ(search.Staff(search.FocusedRow()), focused);
            for (int32_t row = 1; row < search.RowCount(); ++row) {
                std::u16string a = search.CellText(row - 1, column), b = search.CellText(row, column);
                int order = numeric ? (a.empty() || b.empty() ? int(b.empty()) - int(a.empty())
                                                              : std::stoi(Utf8(a)) - std::stoi(Utf8(b)))
                                    : KordoCompareNames(a, b);
                if (column == 3) // dates: the text orders as the date does
                    order = a.compare(b);
                if (descending)
                    order = -order;
                ASSERT_LE(order, 0) << "column " << column << " row " << row;
                if (order == 0) {
                    ASSERT_LE(KordoCompareNames(name(row - 1), name(row)), 0)
                        << "column " << column << " row " << row;
                }
            }
        }
    }
    search.SortBy(0, false);
    std::vector<TKordoStaff*> ascending = Rows(search);
    search.SortBy(0, true);
    std::reverse(ascending.begin(), ascending.end());
    EXPECT_EQ(Rows(search), ascending);
    // The next search keeps the order.
    search.SortBy(1, false);
    search.Search(u"er");
    for (int32_t row = 1; row < search.RowCount(); ++row)
        ASSERT_LE(KordoCompareNames(search.CellText(row - 1, 1), search.CellText(row, 1)), 0);
}

// A preparation on a second thread gives what one on this thread gives, and a person added while it
// runs is listed afterwards.
TEST(Prepare, OnASecondThreadListsWhatPreparingHereLists) {
    TKordoPregameDatabase database;
    KordoGenerate(database, {3000, 5, false});
    database.IndexAll();
    TKordoStaffSearch here(database), there(database);
    here.Prepare();
    there.PrepareInBackground();
    TKordoStaff* added = database.Staffs.NewStaff();
    added->SecondName = database.SecondNames.FindOrAdd(u"Aaronson", nullptr);
    here.ShowAll();
    there.ShowAll();
    EXPECT_EQ(Rows(there), Rows(here));
    EXPECT_EQ(there.RowCount(), database.Staffs.Count());
    EXPECT_NE(there.RowOf(added), -1);
}
