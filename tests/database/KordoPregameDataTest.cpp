#include "KordoPregameData.h"
#include "TestBytes.h"

namespace {

// ---- Clubs

struct TClub {
    std::u16string Nickname{}, Name{};
    uint8_t Board = 0, Scouts = 0, Entries = 0; // Entries: of each of the four other sub-lists
    int32_t ClubID = 0;

    TByteVector Bytes() const {
        TBytes b;
        b.Pattern(6, 0x10).Text(Nickname).U8(0x20).Text(u"").Pattern(23, 0x30).U8(Board).Pattern(4u * Board,
                                                                                                 0x80);
        b.U8(Scouts).Pattern(4u * Scouts, 0x90).Pattern(11, 0x50).U8(Entries).Pattern(11u * Entries, 1, 0);
        b.Pattern(25, 0x60).Text(Name).Text(u"").U8(Entries).Pattern(6u * Entries, 2, 0).U8(Entries);
        return b.Pattern(4u * Entries, 0xC0).U8(Entries).Pattern(8u * Entries, 0xD0).Int(7).Int(ClubID).Data;
    }
};
const TClub FullClub{u"Reds", u"Red Star", 3, 2, 2, 4711};

TEST(Clubs, TextsAndSubListsLoadIntoTheirFieldsAndRoundTrip) {
    EXPECT_EQ(TClub{}.Bytes().size(), 96u);
    EXPECT_EQ((TClub{.Board = 3, .Scouts = 2}.Bytes().size()), 96u + 12 + 8);
    TByteVector bytes = Table({FullClub.Bytes(), TClub{.ClubID = 4711}.Bytes()});
    TKordoClubs clubs;
    Load(clubs, bytes);
    const TKordoClub& club = *clubs.Item(0);
    EXPECT_EQ(club.Nickname1 + u"/" + club.ClubName, u"Reds/Red Star");
    EXPECT_EQ(club.ProfessionalStatus(), 0x32);
    EXPECT_EQ(club.StoredBoardMembers, (std::vector<uint32_t>{0x83828180, 0x87868584, 0x8b8a8988}));
    EXPECT_EQ(club.StoredScouts.size() + club.StoredSquads.size() + club.List94.Bytes.size(), 2 + 2 + 12u);
    EXPECT_EQ(club.Relations.at(1).StoredTarget, 0xDFDEDDDCu);
    EXPECT_EQ(Save(clubs), bytes);
    EXPECT_EQ(clubs.FindClub(4711), clubs.Item(1)); // the later of two
    EXPECT_EQ(clubs.FindClub(7), nullptr);          // the ClubIndex is no key
}

TEST(Clubs, MalformedInputFailsAndAnOverlongSubListIsRefusedOnWrite) {
    ExpectEveryTruncationFails(Table({FullClub.Bytes()}), "Clubs", Loader<TKordoClubs>());
    TByteVector bytes = Table({TClub{}.Bytes()});
    bytes[4 + 87] = 200; // the relation count, with 8 bytes after it
    ExpectMentions(LoadFrom(bytes, Loader<TKordoClubs>()), {"record 0", "relation count 200"});
    TKordoClubs clubs;
    Load(clubs, Table({TClub{}.Bytes(), TClub{}.Bytes()}));
    clubs.Item(1)->StoredScouts.resize(256);
    ExpectMentions(ErrorOf([&] { Save(clubs); }), {"table Clubs", "record 1", "Scouts holds 256"});
}

// ---- Nations

TByteVector Nation(const std::u16string& name, uint8_t entries) { // entries of each sub-list
    TBytes b;
    b.Pattern(125, 0).U8(entries).Pattern(4u * entries, 0x90).Pattern(4, 0xA0).Text(name).Text(u"");
    b.U8(entries).Pattern(6u * entries, 0xB0).Pattern(5, 0xC0).U8(entries).Pattern(8u * entries, 0xD0);
    return b.Pattern(8, 0xE0).Data;
}

TEST(Nations, FieldsLoadFromTheirPiecesAndRoundTrip) {
    EXPECT_EQ(Nation(u"", 0).size(), 153u);
    TByteVector bytes = Table({Nation(u"", 0), Nation(u"Norway", 2)});
    TKordoNations nations;
    Load(nations, bytes);
    const TKordoNation& norway = *nations.Item(1);
    EXPECT_EQ(norway.NationName, u"Norway");
    EXPECT_EQ(norway.ClubCount(), 0x0201); // 16 bits, then 32
    EXPECT_EQ(norway.StaffCount(), 0x06050403u);
    EXPECT_EQ(norway.StoredNationalSquad(), 0xC4C3C2C1u);
    EXPECT_EQ(norway.NationIndex(), static_cast<int32_t>(0xE3E2E1E0));
    EXPECT_EQ(Save(nations), bytes);
    ExpectEveryTruncationFails(Table({Nation(u"Norway", 2)}), "Nations", Loader<TKordoNations>());
}

// ---- Squads

TByteVector Squad(uint8_t kind, uint8_t physios = 0, uint16_t players = 0, uint8_t coaches = 0) {
    TBytes b;
    b.U8(kind).Pattern(kind == KordoNationalSquad ? 13 : 0, 0x01).Pattern(38, 0x20).U8(physios);
    b.Pattern(4u * physios, 0x60).U16(players).Pattern(4u * players, 0x70, 0).U8(coaches);
    return b.Pattern(4u * coaches, 0x80).Pattern(23, 0x90).Data;
}

TEST(Squads, ClubSquadOmitsBytes1To13AndShowsTheirDefaults) {
    EXPECT_EQ(Squad(KordoClubSquad).size(), 66u);
    EXPECT_EQ(Squad(KordoNationalSquad).size(), 79u);
    TByteVector bytes = Table({Squad(KordoClubSquad), Squad(KordoNationalSquad, 1, 300, 3)});
    EXPECT_EQ(bytes[4 + 66 + 57] + 256 * bytes[4 + 66 + 58], 300); // a two-byte count
    TKordoSquads squads;
    Load(squads, bytes);
    const TKordoSquad& club = *squads.Item(0);
    EXPECT_EQ(club.Get<TKordoGameDate>(1), TKordoGameDate{});
    EXPECT_EQ(club.Get<TKordoGameDate>(5), TKordoGameDate{});
    EXPECT_EQ(club.Get<uint8_t>(9) + club.Get<uint32_t>(10), 26u);
    EXPECT_EQ(squads.Item(1)->Reputation(), 0x2221);
    EXPECT_EQ(squads.Item(1)->StoredPlayers.size(), 300u);
    EXPECT_EQ(squads.Item(1)->OwnerClubID(), static_cast<int32_t>(0xA6A5A4A3));
    EXPECT_EQ(Save(squads), bytes);
}

TEST(Squads, MalformedInputFailsAndOverlongListsAreRefusedOnWrite) {
    ExpectEveryTruncationFails(Table({Squad(KordoNationalSquad, 1, 2, 3)}), "Squads", Loader<TKordoSquads>());
    TKordoSquads squads;
    Load(squads, Table({Squad(KordoClubSquad), Squad(KordoClubSquad)}));
    squads.Item(1)->StoredPlayers.resize(65536);
    ExpectMentions(ErrorOf([&] { Save(squads); }), {"table Squads", "record 1", "Players holds 65536"});
    squads.Item(1)->StoredPlayers.resize(65535);
    squads.Item(0)->StoredCoaches.resize(256);
    ExpectMentions(ErrorOf([&] { Save(squads); }), {"record 0", "Coaches holds 256"});
}

// ---- Names

// First names in their groups: x and y3 without nation, nation A at rows 2..4, B at 5..6, C at 7; D has
// no group. A name's digit is its use count (x: 1); a nation's index is its place in Nations.
class Names : public ::testing::Test {
protected:
    void SetUp() override {
        const char16_t* texts[] = {u"x", u"y3", u"a1", u"a2", u"a5", u"b1", u"b4", u"c1"};
        const int nation[] = {-1, -1, A, A, A, B, B, C}, uses[] = {1, 3, 1, 2, 5, 1, 4, 1};
        const int ranges[4][2] = {{2, 3}, {5, 2}, {7, 1}, {-1, 0}};
        TBytes b;
        b.Int(8);
        for (int row = 0; row < 8; ++row)
            b.U8(0).Text(texts[row]).U16(uses[row]).Int(nation[row]).Int(row).Int(0);
        File = b.Data;
        Table.Clear();
        Load(Table, File);
        for (int row = 0; row < 8; ++row)
            Table.Item(row)->Nation = nation[row] < 0 ? nullptr : &Nations[nation[row]];
        for (int n = A; n <= D; ++n) {
            Nations[n].SetNationIndex(n);
            Nations[n].SetNameRange(1, ranges[n][0], ranges[n][1]);
        }
    }
    std::string Order() const {
        std::string order;
        for (TKordoName* name : Table.List())
            order += std::string(name->Name.begin(), name->Name.end()) + " ";
        return order;
    }
    std::string Ranges() const { // start+count of A, B, C, D
        std::string ranges;
        for (const TKordoNation& nation : Nations)
            ranges += std::to_string(nation.NameStart(1)) + "+" + std::to_string(nation.NameCount(1)) + " ";
        return ranges;
    }

    enum { A, B, C, D };
    TKordoNation Nations[4];
    TKordoNames Table{1};
    TByteVector File;
};

TEST_F(Names, NewNameGoesToTheFrontOfItsGroupAndLaterGroupsShift) {
    EXPECT_EQ(File.size(), 4 + 8 * 19 + 4 + 7 * 6u); // a text of L units adds 2L + 2
    EXPECT_EQ(Save(Table), File);
    TKordoName* name = Table.FindOrAdd(u"a0", &Nations[A]);
    EXPECT_EQ(Order(), "x y3 a0 a1 a2 a5 b1 b4 c1 ");
    EXPECT_EQ(Ranges(), "2+4 6+2 8+1 -1+0 ");
    EXPECT_EQ(name->Nation, &Nations[A]);
    EXPECT_EQ(name->NameID(), -1);
    EXPECT_EQ(name->UseCount() + name->Image[0] + name->Get<uint32_t>(15), 0u);
}

TEST_F(Names, FindOrAddMatchesExactTextWithinTheGroupOnly) {
    TKordoName* b4 = Table.Item(6);
    EXPECT_EQ(Table.FindOrAdd(u"b4", &Nations[B]), b4);
    EXPECT_EQ(Table.FindOrAdd(u"y3", nullptr), Table.Item(1));
    Table.AddUse(b4); // only AddUse counts
    EXPECT_EQ(b4->UseCount(), 5);
    Table.FindOrAdd(u"B4", &Nations[B]);
    Table.FindOrAdd(u"a1", &Nations[B]);
    Table.FindOrAdd(u"z", nullptr); // the nationless group starts at row 0
    EXPECT_EQ(Order(), "z x y3 a1 a2 a5 a1 B4 b1 b4 c1 ");
    EXPECT_EQ(Ranges(), "3+3 6+4 10+1 -1+0 ");
    EXPECT_EQ(Table.RangeOf(nullptr), std::make_pair(0, 3));
}

// The first group, one in the middle and the last one of the table: each name is found where it is,
// and a new text goes to the front of its group, the last group too.
TEST_F(Names, EveryNameIsFoundInItsGroupWhereverTheGroupLies) {
    for (int32_t row = 0; row < 8; ++row) {
        TKordoName* name = Table.Item(row);
        EXPECT_EQ(Table.FindOrAdd(name->Name, name->Nation), name) << "row " << row;
    }
    EXPECT_EQ(Table.Count(), 8);
    Table.FindOrAdd(u"c9", &Nations[C]);
    EXPECT_EQ(Order(), "x y3 a1 a2 a5 b1 b4 c9 c1 ");
    EXPECT_EQ(Ranges(), "2+3 5+2 7+2 -1+0 ");
}

TEST_F(Names, NationWithoutAGroupOpensOneAtTheEnd) {
    for (int32_t staleStart : {-1, 3}) { // 3: an empty group's start inside A's group
        SetUp();
        Nations[D].SetNameRange(1, staleStart, 0);
        Table.FindOrAdd(u"d1", &Nations[D]);
        Table.FindOrAdd(u"a0", &Nations[A]);
        EXPECT_EQ(Order(), "x y3 a0 a1 a2 a5 b1 b4 c1 d1 ");
        EXPECT_EQ(Ranges(), "2+4 6+2 8+1 9+1 ");
    }
}

TEST_F(Names, ReleaseOfTheLastUseRemovesTheNameAndLaterGroupsMoveUp) {
    TKordoName* a2 = Table.Item(3);
    Table.Release(a2);
    EXPECT_EQ(Table.Count(), 8);
    Table.Release(a2);
    Table.Release(Table.Item(0));
    EXPECT_EQ(Order(), "y3 a1 a5 b1 b4 c1 ");
    EXPECT_EQ(Ranges(), "1+2 3+2 5+1 -1+0 ");
    EXPECT_EQ(Save(Table).size(), File.size() - (19 + 6) - (19 + 4));
    TKordoName* unused = Table.FindOrAdd(u"new", &Nations[C]);
    Table.Release(unused); // from 0 the count wraps and the name stays
    EXPECT_EQ(unused->UseCount(), 65535);
    EXPECT_EQ(Table.Count(), 7);
}

TEST_F(Names, SortNamesOrdersByNationIndexThenMostUsedAndNumbersByRow) {
    Nations[A].SetNationIndex(2);
    Nations[B].SetNationIndex(0);
    Nations[C].SetNationIndex(1);
    std::vector<int32_t> progress;
    Table.OnProgress = [&](int32_t percent) { progress.push_back(percent); };
    Table.SortNames();
    EXPECT_EQ(Order(), "y3 x b4 b1 c1 a5 a2 a1 ");
    for (int32_t row = 0; row < Table.Count(); ++row)
        EXPECT_EQ(Table.Item(row)->NameID(), row);
    EXPECT_EQ(progress, (std::vector<int32_t>{12, 25, 37, 50, 62, 75, 87, 100}));
    EXPECT_EQ(Ranges(), "5+3 2+2 4+1 -1+0 "); // taken again from the sorted order
}

// ---- Staff

struct TPerson {
    int32_t ID = 0;
    uint8_t Type = KordoStaffReferee, Extra = 0;  // Extra: byte 66 of a player
    std::vector<std::pair<int, int>> Contracts{}; // byte 27 and pattern start of each block
    uint8_t P = 0, K = 0;
    int32_t PictureID = 0;

    TByteVector Bytes() const {
        bool player = Type == KordoStaffPlayer || Type == 3,
             nonPlayer = Type == KordoStaffNonPlayer || Type == 3;
        TBytes b;
        b.Int(ID).U8(Type).Pattern(player ? 46 : 0, 0x20).Pattern(player, Extra);
        b.Pattern(player && Extra ? 16 : 0, 0x50)
            .Pattern(player ? 44 : 0, 0x60)
            .Pattern(nonPlayer ? 15 : 0, 0x05);
        b.Pattern(Type == KordoStaffReferee ? 24 : 0, 0x90).Pattern(58, 0xB0).U16(std::ssize(Contracts));
        for (auto [flag, first] : Contracts)
            b.Pattern(27, first).U8(flag).Pattern(28, first);
        return b.U8(P).Pattern(P == 1, K).Pattern(8u * K, 0xF0).Pattern(7, 0x70).Int(PictureID).Data;
    }
};

// The staff table: the count, the three attribute counts, the people.
TByteVector People(std::initializer_list<TPerson> people, int32_t attributeCount = 0) {
    TBytes b;
    b.Int(std::ssize(people)).Int(attributeCount).Int(attributeCount).Int(attributeCount);
    for (const TPerson& person : people)
        b.Add(person.Bytes());
    return b.Data;
}

TByteVector Save(TKordoStaffs& staffs, int32_t attributeCount = 0) {
    return Saved(
        [&](TKordoFileStream& s) { staffs.SaveToStream(s, attributeCount, attributeCount, attributeCount); });
}

TEST(Staffs, StoredBlocksDependOnTheStaffTypeAndTheAttributeCountsAreRewritten) {
    const std::pair<TPerson, size_t> sizes[] = {{{.Type = 4}, 101}, {{.Type = 2, .Extra = 1}, 184},
                                                {{.Type = 2}, 168}, {{.Type = 1}, 92},
                                                {{.Type = 3}, 183}, {{.Type = 7}, 77}};
    for (const auto& [person, size] : sizes) {
        SCOPED_TRACE("staff type " + std::to_string(person.Type));
        EXPECT_EQ(person.Bytes().size(), size);
        TKordoStaffs staffs;
        Load(staffs, People({person}, -1));
        EXPECT_EQ(Save(staffs, 6), People({person}, 6));
    }
}

TEST(Staffs, PlayerBlockIsStoredBeforeTheNonPlayerBlock) {
    TKordoStaffs staffs;
    Load(staffs, People({{.Type = KordoStaffPlayerNonPlayer, .Extra = 1}}));
    const TKordoStaff& person = *staffs.Item(0);
    EXPECT_EQ(person.HomeReputation(), 0x2120);
    EXPECT_EQ(person.Image[67] + person.Image[83], 0x50 + 0x60);
    EXPECT_EQ(person.NonPlayerHomeReputation(), 0x0605);
    EXPECT_EQ(person.StoredFirstName(), 0xB3B2B1B0u);
}

TEST(Staffs, ContractBlocksFillTheirSlotsByFlagAndAreSavedClubFirst) {
    TKordoStaffs staffs;
    Load(staffs,
         People({{.Contracts = {{1, 0x11}, {0, 0x22}}}, {.Contracts = {{0, 0x33}, {1, 0x44}, {0, 0x55}}}}));
    const TKordoStaff& first = *staffs.Item(0);
    EXPECT_EQ(first.HasNationContract() + first.HasClubContract(), 2);
    EXPECT_EQ(first.Image[KordoNationContract] + first.Image[KordoClubContract], 0x11 + 0x22);
    // A later block for a slot replaces an earlier one.
    EXPECT_EQ(Save(staffs),
              People({{.Contracts = {{0, 0x22}, {1, 0x11}}}, {.Contracts = {{0, 0x55}, {1, 0x44}}}}));
}

TEST(Staffs, RelationsAreStoredOnlyWhenPresent) {
    TKordoStaffs staffs;
    Load(staffs, People({{.P = 1, .K = 2}, {.P = 1, .K = 0}, {.P = 2}}));
    EXPECT_EQ(staffs.Item(0)->Relations.at(1).StoredTarget, 0xFFFEFDFCu);
    EXPECT_EQ(Save(staffs), People({{.P = 1, .K = 2}, {}, {}}));
    staffs.Item(1)->Relations.resize(256);
    ExpectMentions(ErrorOf([&] { Save(staffs); }), {"table Staff", "record 1", "Relations holds 256"});
}

TEST(Staffs, NewStaffIsABlankRefereeWithTheNextIDAndPicture) {
    TKordoStaffs fresh;
    TKordoStaff* first = fresh.NewStaff();
    TKordoStaff expected;
    expected.Put<uint8_t>(4, KordoStaffReferee);
    expected.Put<int32_t>(127, -1);
    expected.Put<int32_t>(205, -1);
    for (size_t date : {163, 178, 187})
        expected.Put<uint16_t>(date + 2, 1900);
    EXPECT_EQ(first->Image, expected.Image); // ID, PictureID and the copy at 330 are 0

    TKordoStaffs staffs;
    Load(staffs,
         People({{.ID = 10, .PictureID = 3}, {.ID = 42, .PictureID = 5}, {.ID = 7, .PictureID = 99}}));
    TKordoStaff* next = staffs.NewStaff();
    EXPECT_EQ(next->ID() + next->Get<int32_t>(330), 43 + 43);
    EXPECT_EQ(next->PictureID(), 100);
    EXPECT_EQ(staffs.FindStaff(43), next);
    EXPECT_EQ(staffs.NewStaff()->ID() + staffs.MaxPictureID, 44 + 101);
}

TEST(Staffs, RemovedPersonIsNotSavedButStillFoundAndTheLaterOfTwoIDsIsFound) {
    TKordoStaffs staffs;
    Load(staffs, People({{.ID = 1}, {.ID = 2}, {.ID = 3}, {.ID = 3, .PictureID = 1}}));
    TKordoStaff* second = staffs.Item(1);
    staffs.RemoveStaff(second);
    EXPECT_EQ(staffs.Count(), 3);
    EXPECT_EQ(staffs.FindStaff(2), second);
    EXPECT_EQ(staffs.FindStaff(3), staffs.Item(2));
    EXPECT_EQ(Save(staffs), People({{.ID = 1}, {.ID = 3}, {.ID = 3, .PictureID = 1}}));
}

TEST(Staffs, SortStaffPutsPeopleWithoutANationFirst) {
    TKordoNation nations[2];
    nations[1].SetNationIndex(1);
    TKordoStaffs staffs;
    Load(staffs, People({{.ID = 0}, {.ID = 1}, {.ID = 2}, {.ID = 3}}));
    staffs.Item(0)->Nation = staffs.Item(3)->Nation = &nations[1];
    staffs.Item(2)->Nation = &nations[0];
    staffs.SortStaff();
    std::vector<int32_t> keys;
    for (TKordoStaff* person : staffs.List())
        keys.push_back(person->Nation ? person->Nation->NationIndex() : -1);
    EXPECT_EQ(keys, (std::vector<int32_t>{-1, 0, 1, 1}));
}

TEST(Staffs, MalformedInputFailsBeforeAllocating) {
    TPerson full{.Type = KordoStaffPlayerNonPlayer, .Extra = 1, .Contracts = {{1, 0x11}}, .P = 1, .K = 2};
    ExpectEveryTruncationFails(People({full}), "Staff", Loader<TKordoStaffs>());
    for (int32_t count : {-1, 0x7fffffff})
        ExpectMentions(LoadFrom(TBytes().Int(count).Pattern(22, 0).Data, Loader<TKordoStaffs>()),
                       {"record count"});
}

// ---- Attributes

// `count` records of `size` bytes: byte 0 holds the record's place in the file, the row field at
// `rowField` the number firstNumber + row.
TByteVector Atts(size_t size, size_t rowField, int32_t count, int32_t firstNumber = 100) {
    TBytes b;
    b.Int(count);
    for (int32_t row = 0; row < count; ++row)
        b.U8(row).Pattern(rowField - 1, 0xEE, 0).Int(firstNumber + row).Pattern(size - rowField - 4, 0xEE, 0);
    return b.Data;
}

TEST(Attributes, GivenBackRecordIsNotSavedAndNewRecordsComeLast) {
    TKordoMentalAtts mental;
    Load(mental, Atts(17, 9, 10));
    TKordoMentalAtt* given = mental.Item(3);
    mental.GiveBack(given);
    mental.Renumber();
    ASSERT_EQ(mental.Count(), 9);
    for (int32_t row = 0; row < 9; ++row)
        EXPECT_EQ(mental.Item(row)->Image[0] * 100 + mental.Item(row)->MentalAttID(),
                  (row + (row >= 3)) * 100 + row);
    EXPECT_EQ(given->MentalAttID(), 103);
    TKordoMentalAtt* created = mental.NewRecord();
    EXPECT_EQ(created->Image, TKordoMentalAtt{}.Image);
    TByteVector saved = Save(mental);
    EXPECT_EQ(saved.size(), 4 + 17 * 10u);
    EXPECT_EQ(TByteVector(saved.end() - 17, saved.end()), TByteVector(17));
}

TEST(Attributes, EachTableIsCountAndImagesWithItsOwnRowField) {
    auto check = [](auto table, size_t size, size_t rowField) {
        Load(table, Atts(size, rowField, 3, 7));
        table.Renumber();
        EXPECT_EQ(Save(table), Atts(size, rowField, 3, 0)) << table.TableName;
        ExpectEveryTruncationFails(Atts(size, rowField, 2), table.TableName, Loader<decltype(table)>());
    };
    check(TKordoMentalAtts(), 17, 9);
    check(TKordoPlayerAtts(), 74, 66);
    check(TKordoNonPlayerAtts(), 37, 29);
}

// ---- Opaque tables

TEST(Unknowns, RecordsAreKeptPerTableAndCountOnlyTablesAllocateNothing) {
    TKordoUnknowns unknowns;
    std::vector<int32_t> progress;
    unknowns.OnProgress = [&](int32_t percent) { progress.push_back(percent); };
    const std::pair<int, TByteVector> tables[] = {{1, TBytes().Int(3).Pattern(27, 1).Data},
                                                  {7, TBytes().Int(2).Pattern(50, 9).Data},
                                                  {2, TBytes().Int(5).Data},
                                                  {13, TBytes().Int(0x7fffffff).Data}};
    for (const auto& [table, bytes] : tables)
        EXPECT_EQ(LoadFrom(bytes, [&](TKordoFileStream& s) { unknowns.LoadTable(s, table); }), "");
    for (const auto& [table, bytes] : tables)
        EXPECT_EQ(Saved([&](TKordoFileStream& s) { unknowns.SaveTable(s, table); }), bytes) << table;
    EXPECT_EQ(std::vector<int32_t>(progress.begin(), progress.begin() + 3),
              (std::vector<int32_t>{33, 66, 100}));
    ExpectMentions(LoadFrom(TBytes().Int(-1).Data, [&](TKordoFileStream& s) { unknowns.LoadTable(s, 2); }),
                   {"table Unknown 2", "negative record count"});
    ExpectMentions(LoadFrom(TBytes().Int(0x7fffffff).Pattern(10, 0).Data,
                            [&](TKordoFileStream& s) { unknowns.LoadTable(s, 11); }),
                   {"table Unknown 11", "record count"});
}

} // namespace
