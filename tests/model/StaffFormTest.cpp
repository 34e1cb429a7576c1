#include "StaffForm.h"

#include "KordoCollation.h"
#include "KordoDataWrappers.h"
#include "KordoFunctions.h"
#include "KordoGenerator.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <numeric>
#include <set>
#include <tuple>

using namespace std::chrono;

namespace {

const sys_days Cleared = sys_days(1900y / January / 1);
const sys_days Day = sys_days(2005y / July / 1);

template <class List, class Value> bool Lists(const List& list, const Value& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool HasContractJob(const TKordoStaff& staff) {
    return staff.ClubSquad && staff.HasClubContract() && JobHasContract(staff.ClubJob());
}

// The lists of a squad and of its club that hold the person: "players", "players coaches", ... or "none".
std::string Roles(const TKordoSquad* squad, const TKordoStaff* staff) {
    const TKordoClub* club = squad->OwnerClub;
    std::string roles;
    for (auto [in, name] : {std::pair{Lists(squad->Players, staff), "players"},
                            {Lists(squad->Coaches, staff), "coaches"},
                            {Lists(squad->Physios, staff), "physios"},
                            {squad->Manager == staff, "manager"},
                            {club && Lists(club->Scouts, staff), "scouts"},
                            {club && Lists(club->BoardMembers, staff), "board"},
                            {club && club->Chairman == staff, "chairman"}})
        if (in)
            roles.append(roles.empty() ? "" : " ").append(name);
    return roles.empty() ? "none" : roles;
}

// A person's club (or national) side in words: "job 2 contract at coaches", "job 0".
std::string Side(const TKordoStaff* staff, bool national = false) {
    const TKordoSquad* squad = national ? staff->NationSquad : staff->ClubSquad;
    std::string side = "job " + std::to_string(national ? staff->NationJob() : staff->ClubJob());
    if (national ? staff->HasNationContract() : staff->HasClubContract())
        side += " contract";
    return squad ? side + " at " + Roles(squad, staff) : side;
}

// The person's image with only the given edit made: all that a confirm of that edit may change.
auto Edited(const TKordoStaff* staff, const std::function<void(TKordoStaff&)>& edit) {
    TKordoStaff probe;
    probe.Image = staff->Image;
    edit(probe);
    return probe.Image;
}

// The nations' ranges cover every name once, each in its own nation's range; nationless names first.
void ExpectGroupsIntact(TKordoPregameDatabase& db, TKordoNames& names) {
    int32_t covered = names.RangeOf(nullptr).second;
    for (TKordoNation& nation : db.Nations.Records)
        covered += std::max(names.RangeOf(&nation).second, 0);
    ASSERT_EQ(covered, names.Count());
    for (int32_t row = 0; row < names.Count(); ++row) {
        auto [start, count] = names.RangeOf(names.Item(row)->Nation);
        ASSERT_TRUE(start <= row && row < start + count) << "row " << row;
    }
}

} // namespace

// A field edited by two controls, or by none, would be overwritten or lost at confirm.
TEST(StaffFormLayout, EveryStoredFieldHasExactlyOneControl) {
    StaffForm form;
    std::multiset<std::pair<TKordoStore, int32_t>> edited, fields;
    for (const TKordoControl& control : form.Controls)
        for (int32_t byte = 0; control.Field.Store != TKordoStore::None && byte < control.Field.Width; ++byte)
            edited.insert({control.Field.Store, control.Field.Offset + byte});
    EXPECT_EQ(std::set(edited.begin(), edited.end()).size(), edited.size());
    auto add = [&](TKordoStore store, const auto& table) {
        for (const TKordoAttField& field : table)
            fields.insert({store, field.Offset});
    };
    add(TKordoStore::Mental, KordoMentalAttFields);
    add(TKordoStore::Player, KordoPlayerAttFields);
    add(TKordoStore::NonPlayer, KordoNonPlayerAttFields);
    std::erase_if(edited, [](const auto& byte) { return byte.first == TKordoStore::Staff; });
    EXPECT_EQ(edited, fields);
}

namespace {

// Every test loads the same generated files afresh, so that the clubs' index and every link are those
// of a real load.
class StaffFormWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Scratch = new TScratch;
        std::string error;
        ASSERT_TRUE(KordoGenerateFiles(Scratch->Folder("generated"), {3000, 5, false}, error)) << error;
    }
    static void TearDownTestSuite() { delete Scratch; }
    void SetUp() override {
        ASSERT_TRUE(Db.Load(Scratch->Root / "generated")) << Db.LastError();
        Form.Bind(&Db);
    }

    TKordoStaff* Find(const std::function<bool(const TKordoStaff&)>& wanted) {
        for (TKordoStaff* staff : Db.Staffs.List())
            if (wanted(*staff))
                return staff;
        ADD_FAILURE() << "nobody fits";
        return nullptr;
    }
    TKordoStaff* OfType(int32_t type, bool (*also)(const TKordoStaff&) = nullptr) {
        return Find([&](const TKordoStaff& s) { return s.StaffType() == type && (!also || also(s)); });
    }
    TKordoControl& C(const char* name) { return Form.Control(name); }
    // Sets a list as the user does: selects the item and runs the list's change handler.
    void Choose(const char* list, int32_t code) {
        C(list).SelectCode(code);
        EXPECT_TRUE(Form.RunChangeHandler(list)) << list;
    }
    void ChooseRecord(const char* list, const TKordoRecordRef& record) {
        C(list).SelectRecord(record);
        EXPECT_TRUE(Form.RunChangeHandler(list)) << list;
    }
    bool Confirm() {
        std::string refusal;
        EXPECT_TRUE(Form.Confirm(&refusal)) << refusal;
        return refusal.empty();
    }
    std::string Refusal() {
        std::string refusal;
        EXPECT_FALSE(Form.Confirm(&refusal));
        return refusal;
    }
    std::string VisiblePages() {
        std::string pages;
        for (const TKordoFormPage& page : Form.Pages)
            pages += page.Visible ? page.Name + " " : "";
        return pages;
    }
    auto ClubValues() {
        return std::tuple(C("dtpDateJoined").Date, C("dtpContractExpires").Date, C("seEstimatedWage").Number,
                          C("seSquadNumber").Number);
    }
    auto* ClubAt(size_t row) { return C("cmbClubContracted").Items[row].Record.Get<TKordoClub>(); }

    static inline TScratch* Scratch = nullptr;
    TKordoPregameDatabase Db;
    StaffForm Form;
};

} // namespace

// The one-pass sort must give the order a sorted combo box gets from inserting the items one by one.
TEST_F(StaffFormWorld, BindFillsTheListsAsInsertingTheItemsOneByOneWould) {
    std::vector<int32_t> percentages;
    Form.Bind(&Db, [&](int32_t percent) { percentages.push_back(percent); }); // again: no doubles
    EXPECT_EQ(percentages.empty() ? -1 : percentages.back(), 100);
    EXPECT_NE(Refusal().find("Nobody"), std::string::npos);
    auto before = [](const QString& a, const QString& b) { return KordoCollator().compare(a, b) < 0; };
    std::vector<TKordoListItem> nations, clubs;
    for (TKordoNation& nation : Db.Nations.Records)
        nations.push_back({nation.NationName, -1, &nation});
    for (TKordoClub& club : Db.Clubs.Records)
        if (!club.Squads.empty())
            clubs.push_back({club.ClubName, -1, &club});
    for (auto [name, lead, records] : {std::tuple{"cmbNation", u"<unspecified>", &nations},
                                       {"cmbSecondNation", u"<unspecified>", &nations},
                                       {"cmbNationContracted", u"<No National Team>", &nations},
                                       {"cmbClubContracted", u"<No Club>", &clubs}}) {
        std::vector<TKordoListItem> expected{TKordoListItem{lead}};
        std::vector<QString> texts{QString::fromStdU16String(lead)};
        for (const TKordoListItem& item : *records) {
            QString text = QString::fromStdU16String(item.Text);
            auto at = std::upper_bound(texts.begin(), texts.end(), text, before);
            expected.insert(expected.begin() + (at - texts.begin()), item);
            texts.insert(at, text);
        }
        EXPECT_TRUE(C(name).Items == expected) << name;
    }
}

TEST_F(StaffFormWorld, FocusFillsTheControlsAndCancelFillsThemAgainWritingNothing) {
    TKordoStaff* staff = OfType(2, [](const TKordoStaff& s) { return s.FirstName && s.Nation; });
    TKordoClub *liked = &Db.Clubs.Records[3], *disliked = &Db.Clubs.Records[4];
    TKordoStaff* friendly = Db.Staffs.Item(10);
    staff->Relations.clear();
    TKordoStaffWrapper wrapper(staff);
    wrapper.AddClubPreference(disliked, false, 20);
    wrapper.SetSecondNation(&Db.Nations.Records[1]);
    wrapper.AddStaffPreference(friendly, true, 50);
    wrapper.AddClubPreference(liked, true, 20);
    auto before = staff->Image;
    Form.Focus(staff);
    EXPECT_TRUE(Form.DetailsEnabled);
    EXPECT_EQ(std::tuple(C("cmbNation").SelectedRecord(), C("cmbSecondNation").SelectedRecord(),
                         C("seApps").Number),
              std::tuple(staff->Nation, &Db.Nations.Records[1], staff->Apps()));
    // The preferences by kind; the second nation is none of them.
    EXPECT_EQ(C("lboxDislikedClubs").Items,
              (std::vector<TKordoListItem>{{disliked->ShortClubName, -1, disliked}}));
    EXPECT_EQ(C("lboxFavouriteClubs").Items,
              (std::vector<TKordoListItem>{{liked->ShortClubName, -1, liked}}));
    EXPECT_EQ(C("lboxFavouriteStaff").Items,
              (std::vector<TKordoListItem>{{StaffDisplayName(*friendly), -1, friendly}}));
    EXPECT_TRUE(C("lboxDislikedStaff").Items.empty());
    EXPECT_FALSE(Form.AnyChanged());

    C("edFirstName").Text = u"Changed";
    C("dtpDateOfBirth").Date = Day;
    C("seCrossing").Number = 19;
    Choose("cmbStaffType", 4);
    EXPECT_TRUE(Form.Changed("edFirstName"));
    Form.Cancel();
    EXPECT_EQ(std::tuple(C("edFirstName").Text, C("dtpDateOfBirth").Date, C("cmbStaffType").SelectedCode(),
                         C("seCrossing").Number),
              std::tuple(staff->FirstName->Name, GameDateToDateTime(staff->DateOfBirth()), 2,
                         staff->PlayerAtts->Image[13]));
    EXPECT_FALSE(Form.AnyChanged());
    EXPECT_TRUE(staff->Image == before);
    Form.Focus(nullptr);
    EXPECT_FALSE(Form.DetailsEnabled);
    EXPECT_EQ(Form.Current, staff); // the person stays when the focus leaves every row
}

// The pages a type does not show keep what they showed: they are not the person's.
TEST_F(StaffFormWorld, PagesAndTheNationalSideFollowTheStaffType) {
    const char* pages[] = {
        "tsGeneral tsContract tsMental tsNonPlayer tsCoaching tsPreferences ",
        "tsGeneral tsContract tsMental tsAbility tsTechnical tsMentalPhysical tsPreferences ",
        "tsGeneral tsContract tsMental tsAbility tsTechnical tsMentalPhysical tsNonPlayer tsCoaching "
        "tsPreferences ",
        "tsGeneral tsReferee "};
    TKordoStaff* player = OfType(2, [](const TKordoStaff& s) { return s.CurrentAbility() > 0; });
    for (int32_t type : {1, 3, 2, 4}) {
        SCOPED_TRACE(type);
        Form.Focus(type == 2 ? player : OfType(type));
        EXPECT_EQ(VisiblePages(), pages[type - 1]);
        EXPECT_EQ(C("cmbNationContracted").Enabled, type == 1 || type == 3);
        EXPECT_EQ(Form.HeadingEnabled(u"National Team Contracted:"), type == 1 || type == 3);
    }
    EXPECT_EQ(std::tuple(C("seCrossing").Number, C("seCurrentAbility").Number),
              std::tuple(player->PlayerAtts->Image[13], player->CurrentAbility()));
}

TEST_F(StaffFormWorld, ContractControlsFollowTheClubTheJobAndTheNation) {
    // A club for a player without one: "Player", the fields open. "<No Club>": no jobs, the values reset.
    Form.Focus(OfType(2, [](const TKordoStaff& s) { return !s.ClubSquad; }));
    ChooseRecord("cmbClubContracted", ClubAt(5));
    EXPECT_EQ(C("cmbJob").SelectedCode(), 1);
    EXPECT_TRUE(C("dtpContractExpires").Enabled && C("seSquadNumber").Enabled);
    C("dtpDateJoined").Date = C("dtpContractExpires").Date = Day;
    C("seEstimatedWage").Number = C("seSquadNumber").Number = 9;
    ChooseRecord("cmbClubContracted", nullptr);
    EXPECT_TRUE(C("cmbJob").Items.empty());
    EXPECT_FALSE(C("cmbJob").Enabled || C("dtpDateJoined").Enabled);
    EXPECT_EQ(ClubValues(), std::tuple(Cleared, Cleared, 0, -1));

    // A non-player wears no number; jobs without a contract close expiry and wage and reset them.
    Form.Focus(OfType(1, [](const TKordoStaff& s) { return HasContractJob(s) && !s.NationSquad; }));
    EXPECT_FALSE(C("seSquadNumber").Enabled);
    for (int32_t job : {4, 8, 10, 24, 0, 14}) {
        Choose("cmbJob", job);
        EXPECT_EQ(C("dtpContractExpires").Enabled && C("seEstimatedWage").Enabled, job == 14) << job;
        EXPECT_EQ(ClubValues(), std::tuple(C("dtpDateJoined").Date, Cleared, 0, -1)) << job;
    }
    // A nation: "Assistant Manager". No nation: no job, no dates.
    EXPECT_FALSE(C("cmbNationJob").Enabled);
    ChooseRecord("cmbNationContracted", &Db.Nations.Records[0]);
    EXPECT_EQ(C("cmbNationJob").SelectedCode(), 20);
    EXPECT_TRUE(C("dtpContractExpiresNation").Enabled);
    ChooseRecord("cmbNationContracted", nullptr);
    EXPECT_EQ(C("cmbNationJob").Selected, -1);
    EXPECT_FALSE(C("dtpDateJoinedNation").Enabled);
}

// Confirm: what the user did not change --------------------------------------------------------

TEST_F(StaffFormWorld, ConfirmingEveryPersonUnchangedSavesTheSameBytes) {
    for (TKordoStaff* staff : std::vector<TKordoStaff*>(Db.Staffs.List())) {
        Form.Focus(staff);
        ASSERT_TRUE(Confirm()) << staff->ID();
    }
    TKordoPregameDatabase untouched;
    ASSERT_TRUE(untouched.Load(Scratch->Root / "generated"));
    auto saved = [&](TKordoPregameDatabase& database, const char* name) {
        std::filesystem::path folder = Scratch->Folder(name);
        EXPECT_TRUE(database.Save(folder)) << database.LastError();
        std::ifstream server(KordoServerFile(folder), std::ios::binary);
        std::ifstream people(KordoPeopleFile(folder), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(server), {}) +
               std::string(std::istreambuf_iterator<char>(people), {});
    };
    EXPECT_TRUE(saved(Db, "confirmed") == saved(untouched, "untouched"));
}

// Whatever the controls can show, a confirm writes only what the user changed, each value with the
// width of its field.
TEST_F(StaffFormWorld, ConfirmWritesOnlyTheEditedValues) {
    // Out of range, a year-0 birth date, a day past the year's end, an unknown formation.
    TKordoStaff* staff = OfType(3, HasContractJob);
    staff->SetCurrentAbility(250);
    staff->SetDateOfBirth({10, 0});
    staff->SetDateJoined({400, 2001});
    staff->NonPlayerAtts->Image[KordoPreferredFormationOffset] = 200;
    staff->PlayerAtts->Image[13] = 99;
    auto expected = Edited(staff, [](TKordoStaff& s) {
        s.SetPotentialAbility(-2);
        s.SetApps(7);
        s.SetClubSquadNumber(255);
        s.SetNonPlayerCurrentAbility(111);
    });
    auto playing = staff->PlayerAtts->Image;
    auto coaching = staff->NonPlayerAtts->Image;
    playing[14] = 7;
    coaching[1] = 3;
    Form.Focus(staff);
    EXPECT_EQ(C("seCurrentAbility").Number, 250); // shown as stored
    EXPECT_EQ(C("dtpDateOfBirth").Date, std::nullopt);
    EXPECT_EQ(C("cmbPreferredFormation").SelectedCode(), 12); // "Unknown"
    C("sePotentialAbility").Number = -2;
    C("seApps").Number = 256 + 7;   // the low 8 bits
    C("seSquadNumber").Number = -1; // none
    C("seNonPlayerCurrentAbility").Number = 111;
    C("seDribbling").Number = 7;
    C("seAttacking").Number = 3;
    ASSERT_TRUE(Confirm());
    EXPECT_TRUE(staff->Image == expected);
    EXPECT_TRUE(staff->PlayerAtts->Image == playing);
    EXPECT_TRUE(staff->NonPlayerAtts->Image == coaching);
    EXPECT_FALSE(Form.AnyChanged()); // the form shows the record as it now stands
    EXPECT_EQ(C("seSquadNumber").Number, -1);

    // A club job the player's list lacks, a national player's job (1) the national list lacks, and a
    // formation chosen next to it, which is no national job: "<Unspecified>" and no selection stay so.
    TKordoStaff* unlisted = OfType(2, HasContractJob);
    unlisted->SetClubJob(5);
    auto national = [](const TKordoStaff& s) { return s.NationJob() == 1; };
    for (TKordoStaff* player : {unlisted, OfType(2, national), OfType(3, national)}) {
        std::string sides = Side(player) + ", " + Side(player, true);
        expected = Edited(player, [](TKordoStaff& s) { s.SetGoals(static_cast<uint8_t>(s.Goals() ^ 1)); });
        Form.Focus(player);
        C("seGoals").Number ^= 1;
        int32_t formation = C("cmbPreferredFormation").SelectedCode() == 3 ? 4 : 3;
        if (player->StaffType() == 3)
            Choose("cmbPreferredFormation", formation);
        EXPECT_EQ(C("cmbNationJob").Selected, -1);
        ASSERT_TRUE(Confirm());
        EXPECT_TRUE(player->Image == expected);
        EXPECT_EQ(Side(player) + ", " + Side(player, true), sides);
        EXPECT_TRUE(player->StaffType() != 3 ||
                    player->NonPlayerAtts->Image[KordoPreferredFormationOffset] == formation);
    }
}

// Confirm: names and nations -------------------------------------------------------------------

TEST_F(StaffFormWorld, NamesAreReusedOrAddedInTheNationWithEveryCharacterAndReleased) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.FirstName && s.SecondName && s.Nation; });
    int32_t group = Db.FirstNames.RangeOf(staff->Nation).first;
    TKordoName* wanted = Db.FirstNames.Item(group + (Db.FirstNames.Item(group) == staff->FirstName));
    TKordoName* old = staff->FirstName;
    int32_t uses = wanted->UseCount(), oldUses = old->UseCount(), firstNames = Db.FirstNames.Count();
    int32_t start = Db.SecondNames.RangeOf(staff->Nation).first;
    Form.Focus(staff);
    C("edFirstName").Text = wanted->Name;
    C("edSecondName").Text = u"大輔 Ōtsuki";
    C("edCommonName").Text = u"Zé \U0001F600";
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(staff->FirstName, wanted->UseCount(), old->UseCount(), Db.FirstNames.Count()),
              std::tuple(wanted, uses + 1, oldUses - 1, firstNames - (oldUses == 1)));
    // A new name joins the front of the nation's group, with every character as typed.
    EXPECT_EQ(Db.SecondNames.Item(start), staff->SecondName);
    EXPECT_EQ(std::tuple(staff->SecondName->Name, staff->SecondName->Nation, staff->SecondName->UseCount(),
                         staff->SecondName->NameID()),
              std::tuple(u"大輔 Ōtsuki", staff->Nation, 1, -1));
    EXPECT_EQ(std::tuple(StaffDisplayName(*staff), C("edCommonName").Text),
              std::tuple(u"Zé \U0001F600", u"Zé \U0001F600"));
    ExpectGroupsIntact(Db, Db.SecondNames);

    // Cleared, a name nobody else uses leaves its table.
    staff = Find([](const TKordoStaff& s) { return s.CommonName && s.CommonName->UseCount() == 1; });
    old = staff->CommonName;
    int32_t commonNames = Db.CommonNames.Count();
    Form.Focus(staff);
    C("edCommonName").Text.clear();
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(staff->CommonName, old->UseCount(), Db.CommonNames.Count()),
              std::tuple(nullptr, 0, commonNames - 1));
    EXPECT_FALSE(Lists(Db.CommonNames.List(), old));
}

TEST_F(StaffFormWorld, ANationChangeMovesTheNamesAndANewNameNeverLandsInAnotherGroup) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) {
        return s.FirstName && s.SecondName && s.Nation && s.FirstName->Nation == s.Nation &&
               s.SecondName->Nation == s.Nation;
    });
    TKordoNation* from = staff->Nation;
    TKordoNation* to = &Db.Nations.Records[from == &Db.Nations.Records[0]];
    uint32_t fromCount = from->StaffCount(), toCount = to->StaffCount();
    std::u16string first = staff->FirstName->Name;
    Form.Focus(staff);
    C("cmbNation").SelectRecord(to);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(staff->Nation, from->StaffCount(), to->StaffCount()),
              std::tuple(to, fromCount - 1, toCount + 1));
    EXPECT_EQ(std::tuple(staff->FirstName->Name, staff->FirstName->Nation, staff->SecondName->Nation),
              std::tuple(first, to, to));
    ExpectGroupsIntact(Db, Db.SecondNames);

    // Empty a nation's group of first names by clearing every use, then name one of its people anew.
    TKordoNation* nation = &Db.Nations.Records[Db.Nations.Count() / 2];
    staff = Find([&](const TKordoStaff& s) { return s.Nation == nation; });
    for (TKordoStaff* person : Db.Staffs.List())
        if (person->FirstName && person->FirstName->Nation == nation) {
            Form.Focus(person);
            C("edFirstName").Text.clear();
            ASSERT_TRUE(Confirm());
        }
    EXPECT_EQ(Db.FirstNames.RangeOf(nation).second, 0);
    Form.Focus(staff);
    C("edFirstName").Text = u"Neuer";
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->FirstName->Nation, nation);
    EXPECT_EQ(Db.FirstNames.RangeOf(nation).second, 1);
    EXPECT_EQ(Db.FirstNames.Item(Db.FirstNames.RangeOf(nation).first), staff->FirstName);
    ExpectGroupsIntact(Db, Db.FirstNames);
}

// Confirm: contracts, lists, staff types and refusals ------------------------------------------

TEST_F(StaffFormWorld, AClubContractIsWrittenOnJoiningKeptOnMovingAndClearedOnLeaving) {
    TKordoStaff* staff = OfType(2, [](const TKordoStaff& s) { return !s.ClubSquad; });
    TKordoClub* club = ClubAt(7);
    Form.Focus(staff);
    ChooseRecord("cmbClubContracted", club);
    C("dtpDateJoined").Date = Day;
    C("dtpContractExpires").Date = Day + days(1000);
    C("seEstimatedWage").Number = 12345;
    C("seSquadNumber").Number = 9;
    ASSERT_TRUE(Confirm());
    TKordoSquad* squad = staff->ClubSquad;
    EXPECT_EQ(std::tuple(Side(staff), squad->OwnerClub, staff->ClubContractEmployer),
              std::tuple("job 1 contract at players", club, club));
    EXPECT_EQ(std::tuple(staff->DateJoined(), staff->ClubContractExpires(), staff->ClubEstimatedWage(),
                         staff->ClubSquadNumber()),
              std::tuple(DateTimeToGameDate(Day), DateTimeToGameDate(Day + days(1000)), 12345u, 9));
    EXPECT_EQ(staff->Image[KordoClubContract + 52], 25); // the block's fixed bytes

    ChooseRecord("cmbClubContracted", ClubAt(9));
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(Roles(squad, staff), "none");
    EXPECT_EQ(Side(staff), "job 1 contract at players");
    EXPECT_EQ(std::tuple(staff->ClubContractEmployer, staff->ClubEstimatedWage()),
              std::tuple(ClubAt(9), 12345u));

    squad = staff->ClubSquad;
    ChooseRecord("cmbClubContracted", nullptr);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(Roles(squad, staff), "none");
    EXPECT_EQ(std::tuple(Side(staff), staff->DateJoined()), std::tuple("job 0", TKordoGameDate{0, 0}));
    EXPECT_FALSE(Form.AnyChanged());
}

// The lists follow the job in the person's own squad too; a new manager or chairman releases the old.
TEST_F(StaffFormWorld, TheListsFollowTheJobAndANewManagerOrChairmanReleasesTheOldOne) {
    TKordoStaff* staff = OfType(1, [](const TKordoStaff& s) {
        return s.ClubJob() == 2 && HasContractJob(s) && s.ClubSquad->Manager &&
               s.ClubSquad->OwnerClub->Chairman;
    });
    TKordoSquad* squad = staff->ClubSquad;
    TKordoStaff *manager = squad->Manager, *chairman = squad->OwnerClub->Chairman;
    auto block = std::vector<uint8_t>(staff->ClubContract(), staff->ClubContract() + KordoContractSize);
    Form.Focus(staff);
    Choose("cmbJob", 14);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(Side(staff), "job 14 contract at scouts");
    Choose("cmbJob", 4); // the contract ends, its bytes stay
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(Side(staff), "job 4 at chairman");
    EXPECT_EQ(std::vector<uint8_t>(staff->ClubContract(), staff->ClubContract() + KordoContractSize), block);
    EXPECT_EQ(std::tuple(Side(chairman), staff->ClubSquad), std::tuple("job 0", squad));
    Choose("cmbJob", 16);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(Side(staff), Side(manager)), std::tuple("job 16 contract at manager", "job 0"));

    // A player/coach or player/manager who becomes a player.
    for (int32_t job : {3, 17}) {
        staff = Find([&](const TKordoStaff& s) { return s.StaffType() == 3 && s.ClubJob() == job; });
        ASSERT_EQ(Roles(staff->ClubSquad, staff), job == 3 ? "players coaches" : "players manager");
        Form.Focus(staff);
        Choose("cmbStaffType", 2);
        Choose("cmbJob", 1);
        ASSERT_TRUE(Confirm());
        EXPECT_EQ(Side(staff), "job 1 contract at players");
    }
}

// Joining a national team as its manager does not release the person himself.
TEST_F(StaffFormWorld, ANationalTeamIsJoinedAsManagerAndLeftAgain) {
    TKordoStaff* staff = OfType(1, [](const TKordoStaff& s) { return !s.NationSquad; });
    TKordoNation* nation = &Db.Nations.Records[0];
    TKordoSquad* squad = nation->NationalSquad;
    TKordoStaff* old = squad->Manager;
    Form.Focus(staff);
    ChooseRecord("cmbNationContracted", nation);
    Choose("cmbNationJob", 16);
    C("dtpDateJoinedNation").Date = Day;
    C("dtpContractExpiresNation").Date = Day + days(1000);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(Side(staff, true), staff->NationSquad, staff->NationContractEmployer),
              std::tuple("job 16 contract at manager", squad, nation));
    EXPECT_EQ(std::tuple(staff->DateJoinedNation(), staff->NationContractExpires()),
              std::tuple(DateTimeToGameDate(Day), DateTimeToGameDate(Day + days(1000))));
    EXPECT_TRUE(!old || Side(old, true) == "job 0");

    Choose("cmbNationJob", 12); // the lists follow the job
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(Side(staff, true), "job 12 contract at physios");
    ChooseRecord("cmbNationContracted", nullptr);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(Side(staff, true), Roles(squad, staff), staff->DateJoinedNation()),
              std::tuple("job 0", "none", TKordoGameDate{0, 1900}));
}

// A type change starts the pages it newly shows from 0 and keeps those both types show. Confirmed, it
// gives back the attribute records the new type has no use for and starts the ones it needs, with
// their part of the person's record reset. A referee keeps no relations.
TEST_F(StaffFormWorld, ATypeChangeResetsItsPagesAndSwapsTheAttributeRecords) {
    TKordoStaff* player = OfType(2, [](const TKordoStaff& s) { return s.CurrentAbility() > 0; });
    TKordoStaff* referee = OfType(4, [](const TKordoStaff& s) { return s.RefereeReputation() != 0; });
    TKordoStaff* staff = OfType(1, [](const TKordoStaff& s) { return !s.ClubSquad && s.NonPlayerAtts; });
    TKordoNonPlayerAtt* nonPlayer = staff->NonPlayerAtts;
    TKordoMentalAtt* mental = staff->MentalAtts;
    auto mind = mental->Image;
    int32_t mentals = Db.MentalAtts.Count(), players = Db.PlayerAtts.Count();
    int32_t nonPlayers = Db.NonPlayerAtts.Count();
    Form.Focus(player); // the player pages still show his values
    Form.Focus(staff);
    Choose("cmbStaffType", 2);
    C("seCrossing").Number = 14;
    C("seCurrentAbility").Number = 120;
    ChooseRecord("cmbClubContracted", ClubAt(5));
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(staff->StaffType(), staff->NonPlayerAtts, staff->MentalAtts),
              std::tuple(2, nullptr, mental));
    EXPECT_TRUE(mental->Image == mind);
    EXPECT_FALSE(Lists(Db.NonPlayerAtts.List(), nonPlayer));
    ASSERT_NE(staff->PlayerAtts, nullptr);
    EXPECT_EQ(Db.PlayerAtts.List().back(), staff->PlayerAtts);
    EXPECT_EQ(std::tuple(Db.PlayerAtts.Count(), Db.NonPlayerAtts.Count()),
              std::tuple(players + 1, nonPlayers - 1));
    // The player part starts as a new player's does, then takes the form's values.
    EXPECT_EQ(std::tuple(staff->Get<int32_t>(34), staff->Get<int32_t>(44), staff->Get<int32_t>(48),
                         staff->Get<int32_t>(83), staff->Get<int32_t>(118)),
              std::tuple(-1, 10000, 10000, -1, -3));
    EXPECT_EQ(std::tuple(staff->CurrentAbility(), staff->WorldReputation()), std::tuple(120, 0));
    decltype(staff->PlayerAtts->Image) playing{};
    playing[13] = 14;
    EXPECT_TRUE(staff->PlayerAtts->Image == playing);

    // The player, with a club, favourites, dislikes and a second nation, becomes a referee.
    TKordoSquad* squad = staff->ClubSquad;
    EXPECT_EQ(Side(staff), "job 1 contract at players");
    TKordoStaffWrapper wrapper(staff);
    wrapper.AddStaffPreference(Db.Staffs.Item(3), true, 50);
    wrapper.AddClubPreference(&Db.Clubs.Records[2], false, 50);
    wrapper.SetSecondNation(&Db.Nations.Records[4]);
    Form.Focus(referee);
    Form.Focus(staff);
    Choose("cmbStaffType", 4);
    EXPECT_EQ(std::tuple(VisiblePages(), C("cmbClubContracted").SelectedRecord()),
              std::tuple("tsGeneral tsReferee ", nullptr));
    C("seReputation").Number = 150;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(staff->StaffType(), staff->Relations.size(), Side(staff), Roles(squad, staff)),
              std::tuple(4, 0u, "job 0", "none"));
    EXPECT_EQ(std::tuple(staff->MentalAtts, staff->PlayerAtts, Db.MentalAtts.Count(), Db.PlayerAtts.Count()),
              std::tuple(nullptr, nullptr, mentals - 1, players));
    // The referee part (bytes 131 to 150) holds the typed reputation only.
    EXPECT_EQ(std::tuple(staff->Get<int32_t>(127), staff->RefereeReputation(),
                         std::accumulate(staff->Image.begin() + 131, staff->Image.begin() + 151, 0)),
              std::tuple(-1, 150, 150));

    // And back: fresh records, written from the reset pages.
    Choose("cmbStaffType", 1);
    C("seAmbition").Number = 11;
    ASSERT_TRUE(Confirm());
    ASSERT_TRUE(staff->MentalAtts && staff->NonPlayerAtts);
    decltype(mind) fresh{};
    fresh[2] = 11;
    EXPECT_TRUE(staff->MentalAtts->Image == fresh);
    EXPECT_TRUE(staff->NonPlayerAtts->Image == decltype(nonPlayer->Image){});
    EXPECT_EQ(std::tuple(Db.MentalAtts.Count(),
                         std::accumulate(staff->Image.begin() + 5, staff->Image.begin() + 16, 0)),
              std::tuple(mentals, 0));
}

TEST_F(StaffFormWorld, AFullListRefusesAndChangesNothing) {
    TKordoStaff* staff = OfType(1, [](const TKordoStaff& s) { return !s.ClubSquad && s.FirstName; });
    TKordoClub* club = ClubAt(3);
    TKordoSquad* squad = club->Squads.front();
    // Coaches who are listed nowhere else, as many as the file can hold.
    while (squad->Coaches.size() < KordoMaxShortList)
        squad->Coaches.push_back(Db.Staffs.NewStaff());
    Form.Focus(staff);
    C("edFirstName").Text = u"Refused";
    ChooseRecord("cmbClubContracted", club);
    Choose("cmbJob", 2);
    C("cmbSquadContracted").SelectRecord(squad);
    std::string refusal = Refusal();
    EXPECT_NE(refusal.find("coaches"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("full"), std::string::npos) << refusal;
    EXPECT_EQ(std::tuple(Side(staff), squad->Coaches.size()), std::tuple("job 0", KordoMaxShortList));
    EXPECT_NE(staff->FirstName->Name, u"Refused");
    EXPECT_TRUE(Form.Changed("edFirstName")); // the edits stay in the form
    // A chairman is on no list: the same club takes him.
    Choose("cmbJob", 4);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(Roles(squad, staff), staff->FirstName->Name), std::tuple("chairman", u"Refused"));
}

// The second nation is an entry among the relations: rewritten only when another one is chosen, and
// refused when the relation list is full.
TEST_F(StaffFormWorld, TheSecondNationIsWrittenOnlyWhenChosenAndWhereThereIsRoom) {
    TKordoStaff* staff = OfType(2);
    staff->Relations.clear();
    TKordoStaffWrapper wrapper(staff);
    wrapper.AddClubPreference(&Db.Clubs.Records[0], true, 40);
    // An amount other than the editor's own.
    staff->Relations.push_back({KordoKindNation, KordoRelationSecondNation, 60, 0, &Db.Nations.Records[2]});
    Form.Focus(staff);
    C("seGoals").Number ^= 1;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->Relations.back().Amount, 60);
    C("cmbSecondNation").SelectRecord(&Db.Nations.Records[3]);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(std::tuple(staff->Relations.back().Target, staff->Relations.back().Amount),
              std::tuple(&Db.Nations.Records[3], 15));
    C("cmbSecondNation").SelectRecord(nullptr);
    ASSERT_TRUE(Confirm());
    ASSERT_EQ(staff->Relations.size(), 1u);

    for (int32_t row = 0; staff->Relations.size() < KordoMaxRelations; ++row)
        wrapper.AddStaffPreference(Db.Staffs.Item(row), true, 50);
    uint8_t apps = staff->Apps();
    Form.Focus(staff);
    C("cmbSecondNation").SelectRecord(&Db.Nations.Records[0]);
    C("seApps").Number ^= 1;
    EXPECT_NE(Refusal().find("relation"), std::string::npos);
    EXPECT_EQ(std::tuple(staff->Relations.size(), staff->Apps()), std::tuple(KordoMaxRelations, apps));
}
