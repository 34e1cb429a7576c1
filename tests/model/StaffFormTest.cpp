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
#include <set>

using namespace std::chrono;

namespace {

std::vector<std::string> PageNames(const StaffForm& form) {
    std::vector<std::string> names;
    for (const TKordoFormPage& page : form.Pages)
        names.push_back(page.Name);
    return names;
}

// The fields of one store that the form's controls edit, each as often as a control edits it.
std::multiset<uint16_t> Offsets(const StaffForm& form, TKordoStore store) {
    std::multiset<uint16_t> offsets;
    for (const TKordoControl& control : form.Controls)
        if (control.Field.Store == store)
            offsets.insert(control.Field.Offset);
    return offsets;
}

template <size_t N> std::multiset<uint16_t> Offsets(const std::array<TKordoAttField, N>& fields) {
    std::multiset<uint16_t> offsets;
    for (const TKordoAttField& field : fields)
        offsets.insert(field.Offset);
    return offsets;
}

} // namespace

// Layout ------------------------------------------------------------------------------------------------

TEST(StaffFormLayout, TenPagesInTabOrderWithTheirCaptions) {
    StaffForm form;
    EXPECT_EQ(PageNames(form), (std::vector<std::string>{"tsGeneral", "tsContract", "tsMental", "tsAbility",
                                                         "tsTechnical", "tsMentalPhysical", "tsNonPlayer",
                                                         "tsCoaching", "tsReferee", "tsPreferences"}));
    EXPECT_EQ(form.Page("tsMentalPhysical").Caption, u"Mental && &Physical");
    EXPECT_EQ(form.Page("tsPreferences").Caption, u"P&references");
}

TEST(StaffFormLayout, EveryControlOnItsPageUnderItsHeading) {
    StaffForm form;
    EXPECT_EQ(form.Controls.size(), 140u);
    std::map<std::string, size_t> perPage;
    for (const TKordoControl& control : form.Controls)
        ++perPage[control.Page];
    EXPECT_EQ(perPage, (std::map<std::string, size_t>{{"tsGeneral", 10},
                                                      {"tsContract", 11},
                                                      {"tsMental", 8},
                                                      {"tsAbility", 17},
                                                      {"tsTechnical", 26},
                                                      {"tsMentalPhysical", 27},
                                                      {"tsNonPlayer", 14},
                                                      {"tsCoaching", 13},
                                                      {"tsReferee", 10},
                                                      {"tsPreferences", 4}}));
    EXPECT_EQ(form.Control("edPictureID").Heading, u"Personal:");
    EXPECT_TRUE(form.Control("edPictureID").ReadOnly);
    EXPECT_EQ(form.Control("cmbNationJob").Heading, u"National Team Contracted:");
    EXPECT_EQ(form.Control("seNonPlayerMarking").Heading, u"Coaching:");
    EXPECT_EQ(form.Control("seNonPlayerMarking").Label, u"Marking:");
    EXPECT_EQ(form.Control("seLoyality").Label, u"Loyality:");
    EXPECT_EQ(form.Control("lboxDislikedClubs").Kind, TKordoControlKind::ListBox);
    EXPECT_EQ(form.Control("lboxDislikedClubs").Page, "tsPreferences");
    // Layout order: page by page.
    auto at = [&](const char* name) {
        return std::find_if(form.Controls.begin(), form.Controls.end(),
                            [&](const TKordoControl& c) { return c.Name == name; }) -
               form.Controls.begin();
    };
    EXPECT_LT(at("edFirstName"), at("edSecondName"));
    EXPECT_LT(at("seGoals"), at("cmbClubContracted"));
    EXPECT_LT(at("seThrowIns"), at("seAerialAbility"));
    EXPECT_THROW(form.Control("seNoSuchThing"), std::out_of_range);
}

TEST(StaffFormLayout, RangesSortingAndStartingValues) {
    StaffForm form;
    EXPECT_EQ(form.Control("seCurrentAbility").Minimum, -2);
    EXPECT_EQ(form.Control("seCurrentAbility").Maximum, 200);
    EXPECT_EQ(form.Control("seReputation").Maximum, 200);
    EXPECT_EQ(form.Control("seReputation").Minimum, 0);
    EXPECT_EQ(form.Control("seEstimatedWage").Maximum, 200000000);
    EXPECT_EQ(form.Control("seSquadNumber").Minimum, -1);
    EXPECT_EQ(form.Control("seSquadNumber").Number, -1);
    EXPECT_EQ(form.Control("seApps").Maximum, 255);
    EXPECT_EQ(form.Control("seCrossing").Maximum, 20);
    EXPECT_EQ(form.Control("dtpDateJoined").Date, sys_days(1900y / January / 1));
    EXPECT_FALSE(form.Control("cmbStaffType").Sorted);
    for (const char* sorted : {"cmbNation", "cmbSecondNation", "cmbClubContracted", "cmbSquadContracted",
                               "cmbJob", "cmbNationContracted", "cmbNationJob", "cmbPreferredFormation"})
        EXPECT_TRUE(form.Control(sorted).Sorted) << sorted;
}

TEST(StaffFormLayout, AttributeControlsCoverEveryFieldOnce) {
    StaffForm form;
    EXPECT_EQ(Offsets(form, TKordoStore::Mental), Offsets(KordoMentalAttFields));
    EXPECT_EQ(Offsets(form, TKordoStore::Player), Offsets(KordoPlayerAttFields));
    auto nonPlayer = Offsets(KordoNonPlayerAttFields);
    EXPECT_EQ(Offsets(form, TKordoStore::NonPlayer), nonPlayer);
    EXPECT_EQ(form.Control("seLoyality").Field.Offset, 3);
    EXPECT_EQ(form.Control("seNonPlayerMarking").Field.Offset, 8);
    EXPECT_EQ(form.Control("seMarking").Field.Offset, 18);
    EXPECT_EQ(form.Control("seNonPlayerDetermination").Field.Offset, 14);
    EXPECT_EQ(form.Control("seDetermination").Field.Offset, 65);
    EXPECT_EQ(form.Control("cmbPreferredFormation").Field.Offset, KordoPreferredFormationOffset);
}

TEST(StaffFormLayout, StaffNumbersAtTheirOffsetsWithTheirWidths) {
    StaffForm form;
    struct TExpected {
        const char* Name;
        uint16_t Offset;
        uint8_t Width;
    };
    for (TExpected expected : {TExpected{"seApps", 171, 1},
                               {"seGoals", 172, 1},
                               {"seCurrentAbility", 26, 2},
                               {"seWorldReputation", 24, 2},
                               {"seNonPlayerHomeReputation", 5, 2},
                               {"seNonPlayerPotentialAbility", 13, 2},
                               {"seReputation", 135, 2},
                               {"seRefereeCurrentAbility", 131, 2},
                               {"seTimekeeping", 143, 1},
                               {"seRefereePressure", 140, 1}}) {
        const TKordoFieldRef& field = form.Control(expected.Name).Field;
        EXPECT_EQ(field.Store, TKordoStore::Staff) << expected.Name;
        EXPECT_EQ(field.Offset, expected.Offset) << expected.Name;
        EXPECT_EQ(field.Width, expected.Width) << expected.Name;
    }
}

// Controls ------------------------------------------------------------------------------------------------

TEST(KordoFormControl, ASortedListInsertsAfterEqualsAndKeepsItsSelection) {
    TKordoControl list;
    list.Kind = TKordoControlKind::IntegerList;
    list.Sorted = true;
    list.AddItem({u"Coach", 2});
    list.AddItem({u"<Unspecified>", 0});
    list.SelectCode(2);
    list.AddItem({u"assistant", 20});
    list.AddItem({u"Assistant", 21});
    std::vector<int32_t> codes;
    for (const TKordoListItem& item : list.Items)
        codes.push_back(item.Code);
    EXPECT_EQ(codes, (std::vector<int32_t>{0, 20, 21, 2}));
    EXPECT_EQ(list.SelectedCode(), 2);
    TKordoControl bulk = list;
    bulk.SetItems({{u"Coach", 2}, {u"<Unspecified>", 0}, {u"assistant", 20}, {u"Assistant", 21}});
    EXPECT_EQ(bulk.Items, list.Items);
    EXPECT_EQ(bulk.Selected, -1);
    EXPECT_NE(bulk.ItemsVersion, list.ItemsVersion);
    list.SelectCode(99);
    EXPECT_EQ(list.Selected, -1);
    EXPECT_EQ(list.SelectedRecord(), nullptr);
    list.SelectIndex(7);
    EXPECT_EQ(list.Selected, -1);
}

TEST(KordoFormControl, ValuesCompareByKind) {
    TKordoControl a, b;
    a.Kind = b.Kind = TKordoControlKind::Spin;
    a.Text = u"ignored";
    EXPECT_TRUE(a.SameValue(b));
    b.Number = 3;
    EXPECT_FALSE(a.SameValue(b));
    a.Kind = b.Kind = TKordoControlKind::Date;
    EXPECT_TRUE(a.SameValue(b));
    b.Date = sys_days(2000y / January / 1);
    EXPECT_FALSE(a.SameValue(b));
}

TEST(KordoFormControl, EveryControlCountsAsChangedUntilValuesAreRemembered) {
    StaffForm form;
    EXPECT_TRUE(form.Changed("seApps"));
    form.RememberValues();
    EXPECT_FALSE(form.AnyChanged());
    form.Control("dtpDateOfBirth").Date = std::nullopt;
    EXPECT_TRUE(form.Changed("dtpDateOfBirth"));
    EXPECT_THROW(form.Changed("nothing"), std::out_of_range);
}

// A generated database ----------------------------------------------------------------------------------

namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

template <class List, class Value> bool Lists(const List& list, const Value& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

const sys_days Cleared = sys_days(1900y / January / 1);

// Every test loads the same generated files afresh, so that the clubs' index and every link are those
// of a real load.
class StaffFormWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Scratch = new TScratch;
        std::string error;
        ASSERT_TRUE(KordoGenerateFiles(Scratch->Folder("generated"), {3000, 5, false}, error)) << error;
    }
    static void TearDownTestSuite() {
        delete Scratch;
        Scratch = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(Db.Load(Scratch->Root / "generated")) << Db.LastError();
        Form.Bind(&Db);
    }

    // The files a save of the database writes, as bytes.
    static std::pair<std::string, std::string> Saved(TKordoPregameDatabase& database,
                                                     const std::string& name) {
        std::filesystem::path folder = Scratch->Folder(name);
        EXPECT_TRUE(database.Save(folder)) << database.LastError();
        return {Contents(KordoServerFile(folder)), Contents(KordoPeopleFile(folder))};
    }
    // The same database loaded again, untouched.
    std::unique_ptr<TKordoPregameDatabase> Untouched() {
        auto database = std::make_unique<TKordoPregameDatabase>();
        EXPECT_TRUE(database->Load(Scratch->Root / "generated"));
        return database;
    }

    TKordoStaff* Find(const std::function<bool(const TKordoStaff&)>& wanted) {
        for (TKordoStaff* staff : Db.Staffs.List())
            if (wanted(*staff))
                return staff;
        ADD_FAILURE() << "nobody fits";
        return nullptr;
    }
    TKordoControl& C(const char* name) { return Form.Control(name); }
    // Sets a list as the user does: selects the item and runs the list's change handler.
    void Choose(const char* list, int32_t code) {
        C(list).SelectCode(code);
        Form.RunChangeHandler(list);
    }
    void ChooseRecord(const char* list, const void* record) {
        C(list).SelectRecord(record);
        Form.RunChangeHandler(list);
    }
    bool Confirm() {
        std::string refusal;
        bool confirmed = Form.Confirm(&refusal);
        EXPECT_TRUE(confirmed) << refusal;
        return confirmed;
    }
    std::vector<std::u16string> Texts(const char* list) {
        std::vector<std::u16string> texts;
        for (const TKordoListItem& item : C(list).Items)
            texts.push_back(item.Text);
        return texts;
    }
    std::vector<std::string> VisiblePages() {
        std::vector<std::string> pages;
        for (const TKordoFormPage& page : Form.Pages)
            if (page.Visible)
                pages.push_back(page.Name);
        return pages;
    }
    TKordoSquad* SquadOf(const char* list) { return static_cast<TKordoSquad*>(C(list).SelectedRecord()); }

    static TScratch* Scratch;
    TKordoPregameDatabase Db;
    StaffForm Form;
};

TScratch* StaffFormWorld::Scratch = nullptr;

bool HasContractJob(const TKordoStaff& staff) {
    return staff.ClubSquad && staff.HasClubContract() && JobHasContract(staff.ClubJob());
}

} // namespace

// Bind ----------------------------------------------------------------------------------------------

TEST_F(StaffFormWorld, BindFillsTheFixedListsWithTheirCodes) {
    EXPECT_EQ(Texts("cmbStaffType"),
              (std::vector<std::u16string>{u"Non Player", u"Player", u"Player / Non Player", u"Referee"}));
    EXPECT_EQ(C("cmbStaffType").Items[3].Code, 4);
    EXPECT_EQ(Texts("cmbNationJob"),
              (std::vector<std::u16string>{u"<Unspecified>", u"Assistant Manager", u"Chairman", u"Coach",
                                           u"Director Of Football", u"General Manager", u"Manager",
                                           u"Managing Director", u"Physio", u"Scout"}));
    EXPECT_EQ(C("cmbPreferredFormation").Items.size(), 13u);
    EXPECT_EQ(C("cmbPreferredFormation").Items.front().Text, u"<Not Specified>");
    EXPECT_EQ(C("cmbNation").Items.size(), static_cast<size_t>(Db.Nations.Count()) + 1);
    EXPECT_EQ(C("cmbNation").Items.front().Text, u"<unspecified>");
    EXPECT_EQ(C("cmbNationContracted").Items.front().Text, u"<No National Team>");
    size_t withSquads = 0;
    for (TKordoClub& club : Db.Clubs.Records)
        withSquads += !club.Squads.empty();
    EXPECT_EQ(C("cmbClubContracted").Items.size(), withSquads + 1);
    EXPECT_EQ(C("cmbClubContracted").Items.front().Text, u"<No Club>");
    EXPECT_EQ(C("cmbClubContracted").Items.front().Record, nullptr);
    EXPECT_FALSE(Form.DetailsEnabled);
}

// The frame's lists were filled by inserting each item after the items that collate equal, through the
// collator's sort keys: the form's one-pass sort must give the very same order.
TEST_F(StaffFormWorld, BindOrdersTheListsAsInsertingOneByOneWould) {
    for (const char* name :
         {"cmbNation", "cmbNationContracted", "cmbClubContracted", "cmbNationJob", "cmbPreferredFormation"}) {
        SCOPED_TRACE(name);
        std::vector<TKordoListItem> items = C(name).Items;
        // The leading item first, then the records in table order, as they were added.
        std::vector<TKordoListItem> added;
        auto first = std::find_if(items.begin(), items.end(), [](auto& i) { return i.Text.front() == u'<'; });
        added.push_back(*first);
        if (C(name).Items.front().Record || std::string(name).starts_with("cmbNation") ||
            std::string(name) == "cmbClubContracted") {
            if (std::string(name) == "cmbClubContracted") {
                for (TKordoClub& club : Db.Clubs.Records)
                    if (!club.Squads.empty())
                        added.push_back({club.ClubName, -1, &club});
            } else if (std::string(name) != "cmbNationJob") {
                for (TKordoNation& nation : Db.Nations.Records)
                    added.push_back({nation.NationName, -1, &nation});
            }
        }
        if (added.size() == 1)
            continue; // the fixed lists are checked by their texts
        std::vector<QString> texts;
        std::vector<TKordoListItem> expected;
        for (const TKordoListItem& item : added) {
            QString text = QString::fromStdU16String(item.Text);
            auto at =
                std::upper_bound(texts.begin(), texts.end(), text, [](const QString& a, const QString& b) {
                    return KordoCollator().compare(a, b) < 0;
                });
            expected.insert(expected.begin() + (at - texts.begin()), item);
            texts.insert(at, text);
        }
        ASSERT_EQ(items.size(), expected.size());
        for (size_t i = 0; i < items.size(); ++i)
            ASSERT_EQ(items[i].Record, expected[i].Record) << i;
    }
}

TEST_F(StaffFormWorld, BindReportsProgressUpToTheWhole) {
    std::vector<int32_t> percentages;
    Form.Bind(&Db, [&](int32_t percent) { percentages.push_back(percent); });
    ASSERT_FALSE(percentages.empty());
    EXPECT_EQ(percentages.back(), 100);
    EXPECT_TRUE(std::is_sorted(percentages.begin(), percentages.begin() + Db.Nations.Count()));
}

// Focus: filling the controls ----------------------------------------------------------------------------

TEST_F(StaffFormWorld, FocusFillsThePersonalValuesAndRemembersThem) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.FirstName && s.SecondName && s.Nation; });
    Form.Focus(staff);
    EXPECT_TRUE(Form.DetailsEnabled);
    EXPECT_EQ(Form.Current, staff);
    EXPECT_EQ(C("edPictureID").Text, QString::number(staff->PictureID()).toStdU16String());
    EXPECT_EQ(C("edFirstName").Text, staff->FirstName->Name);
    EXPECT_EQ(C("edSecondName").Text, staff->SecondName->Name);
    EXPECT_EQ(C("edCommonName").Text, staff->CommonName ? staff->CommonName->Name : u"");
    EXPECT_EQ(C("dtpDateOfBirth").Date, GameDateToDateTime(staff->DateOfBirth()));
    EXPECT_EQ(C("cmbStaffType").SelectedCode(), staff->StaffType());
    EXPECT_EQ(C("cmbNation").SelectedRecord(), staff->Nation);
    EXPECT_EQ(C("cmbSecondNation").SelectedRecord(), TKordoStaffWrapper(staff).GetSecondNation());
    EXPECT_EQ(C("seApps").Number, staff->Apps());
    EXPECT_FALSE(Form.AnyChanged());
    C("edFirstName").Text += u"x";
    EXPECT_TRUE(Form.Changed("edFirstName"));
    EXPECT_FALSE(Form.Changed("edSecondName"));
    Form.Focus(nullptr);
    EXPECT_FALSE(Form.DetailsEnabled);
    EXPECT_EQ(Form.Current, staff); // the person stays when the focus leaves every row
}

TEST_F(StaffFormWorld, PagesAndNationalSideFollowTheStaffType) {
    using TPages = std::vector<std::string>;
    const TPages general{"tsGeneral"};
    struct TCase {
        uint8_t Type;
        TPages Pages;
        bool National;
    } cases[] = {
        {1, {"tsGeneral", "tsContract", "tsMental", "tsNonPlayer", "tsCoaching", "tsPreferences"}, true},
        {2,
         {"tsGeneral", "tsContract", "tsMental", "tsAbility", "tsTechnical", "tsMentalPhysical",
          "tsPreferences"},
         false},
        {3,
         {"tsGeneral", "tsContract", "tsMental", "tsAbility", "tsTechnical", "tsMentalPhysical",
          "tsNonPlayer", "tsCoaching", "tsPreferences"},
         true},
        {4, {"tsGeneral", "tsReferee"}, false},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(int(test.Type));
        Form.Focus(Find([&](const TKordoStaff& s) { return s.StaffType() == test.Type; }));
        EXPECT_EQ(VisiblePages(), test.Pages);
        EXPECT_EQ(C("cmbNationContracted").Enabled, test.National);
        EXPECT_EQ(Form.HeadingEnabled(u"National Team Contracted:"), test.National);
        EXPECT_TRUE(Form.HeadingEnabled(u"Club Contracted:"));
    }
}

TEST_F(StaffFormWorld, PagesOfOtherTypesKeepWhatTheyShowed) {
    TKordoStaff* player =
        Find([](const TKordoStaff& s) { return s.StaffType() == 2 && s.CurrentAbility() > 0; });
    Form.Focus(player);
    int32_t crossing = C("seCrossing").Number;
    EXPECT_EQ(crossing, player->PlayerAtts->Image[13]);
    EXPECT_EQ(C("seCurrentAbility").Number, player->CurrentAbility());
    Form.Focus(Find([](const TKordoStaff& s) { return s.StaffType() == 4; }));
    EXPECT_EQ(C("seCrossing").Number, crossing);
    EXPECT_EQ(C("seCurrentAbility").Number, player->CurrentAbility());
}

TEST_F(StaffFormWorld, ContractValuesWithoutABlockKeepWhatTheyShowed) {
    TKordoStaff* first = Find(HasContractJob);
    TKordoStaff* second = Find([&](const TKordoStaff& s) {
        return &s != first && HasContractJob(s) && s.ClubEstimatedWage() != first->ClubEstimatedWage();
    });
    second->SetHasClubContract(0);
    Form.Focus(first);
    Form.Focus(second);
    EXPECT_EQ(C("seEstimatedWage").Number, static_cast<int32_t>(first->ClubEstimatedWage()));
    EXPECT_EQ(C("dtpContractExpires").Date, GameDateToDateTime(first->ClubContractExpires()));
}

TEST_F(StaffFormWorld, ValuesTheControlsCannotHoldAreShownAsStored) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 3 && HasContractJob(s); });
    staff->SetCurrentAbility(250);
    staff->SetDateOfBirth({10, 0});
    staff->SetDateJoined({3, 10000});
    staff->NonPlayerAtts->Image[KordoPreferredFormationOffset] = 200;
    Form.Focus(staff);
    EXPECT_EQ(C("seCurrentAbility").Number, 250);
    EXPECT_EQ(C("dtpDateOfBirth").Date, std::nullopt);
    EXPECT_EQ(C("dtpDateJoined").Date, std::nullopt);
    EXPECT_EQ(C("cmbPreferredFormation").SelectedCode(), 12); // "Unknown"
}

TEST_F(StaffFormWorld, SquadListOffersTheClubsSquadsByTheirOwnClubNames) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) {
        return HasContractJob(s) && s.ClubSquad->OwnerClub && s.ClubSquad->OwnerClub->Squads.size() > 1;
    });
    Form.Focus(staff);
    TKordoClub* club = staff->ClubSquad->OwnerClub;
    EXPECT_EQ(C("cmbClubContracted").SelectedRecord(), club);
    EXPECT_EQ(C("cmbSquadContracted").Items.size(), club->Squads.size());
    EXPECT_TRUE(C("cmbSquadContracted").Enabled);
    EXPECT_EQ(SquadOf("cmbSquadContracted"), staff->ClubSquad);
    for (const TKordoListItem& item : C("cmbSquadContracted").Items) {
        auto* squad = static_cast<TKordoSquad*>(item.Record);
        EXPECT_EQ(item.Text, Db.Clubs.FindClub(squad->OwnerClubID())->ClubName);
    }
    // One squad: an empty, disabled list.
    Form.Focus(Find([](const TKordoStaff& s) {
        return HasContractJob(s) && s.ClubSquad->OwnerClub && s.ClubSquad->OwnerClub->Squads.size() == 1;
    }));
    EXPECT_TRUE(C("cmbSquadContracted").Items.empty());
    EXPECT_FALSE(C("cmbSquadContracted").Enabled);
}

TEST_F(StaffFormWorld, JobListsOfEachTypeAndJobsWithoutContractDisableTheContractFields) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 1 && HasContractJob(s); });
    Form.Focus(staff);
    EXPECT_EQ(C("cmbJob").Items.size(), 10u);
    EXPECT_TRUE(C("dtpContractExpires").Enabled);
    EXPECT_TRUE(C("seEstimatedWage").Enabled);
    EXPECT_FALSE(C("seSquadNumber").Enabled); // a non-player wears no number
    for (int32_t job : {4, 8, 10, 24, 0}) {
        Choose("cmbJob", job);
        EXPECT_FALSE(C("dtpContractExpires").Enabled) << job;
        EXPECT_FALSE(C("seEstimatedWage").Enabled);
        EXPECT_EQ(C("dtpContractExpires").Date, Cleared);
        EXPECT_EQ(C("seEstimatedWage").Number, 0);
        EXPECT_EQ(C("seSquadNumber").Number, -1);
    }
    Choose("cmbJob", 14);
    EXPECT_TRUE(C("dtpContractExpires").Enabled);
    Form.Focus(Find([](const TKordoStaff& s) { return s.StaffType() == 3 && HasContractJob(s); }));
    EXPECT_EQ(Texts("cmbJob"), (std::vector<std::u16string>{u"<Unspecified>", u"Player / Assistant Manager",
                                                            u"Player / Coach", u"Player / Manager"}));
    EXPECT_TRUE(C("seSquadNumber").Enabled);
}

TEST_F(StaffFormWorld, ChoosingNoClubEmptiesTheJobsAndResetsTheClubValues) {
    Form.Focus(Find([](const TKordoStaff& s) { return s.StaffType() == 2 && HasContractJob(s); }));
    ChooseRecord("cmbClubContracted", nullptr);
    EXPECT_TRUE(C("cmbJob").Items.empty());
    EXPECT_FALSE(C("cmbJob").Enabled);
    EXPECT_FALSE(C("dtpDateJoined").Enabled);
    EXPECT_EQ(C("dtpDateJoined").Date, Cleared);
    EXPECT_EQ(C("dtpContractExpires").Date, Cleared);
    EXPECT_EQ(C("seEstimatedWage").Number, 0);
    EXPECT_EQ(C("seSquadNumber").Number, -1);
}

TEST_F(StaffFormWorld, ChoosingAClubSelectsTheFirstRealJob) {
    Form.Focus(Find([](const TKordoStaff& s) { return s.StaffType() == 2 && !s.ClubSquad; }));
    EXPECT_TRUE(C("cmbJob").Items.empty());
    TKordoClub* club = static_cast<TKordoClub*>(C("cmbClubContracted").Items[5].Record);
    ChooseRecord("cmbClubContracted", club);
    EXPECT_EQ(C("cmbJob").SelectedCode(), 1); // "Player"
    EXPECT_TRUE(C("dtpContractExpires").Enabled);
    EXPECT_TRUE(C("seSquadNumber").Enabled);
}

TEST_F(StaffFormWorld, ChoosingANationSelectsAssistantManagerAndNoNationClearsTheJob) {
    Form.Focus(Find([](const TKordoStaff& s) { return s.StaffType() == 1 && !s.NationSquad; }));
    EXPECT_FALSE(C("cmbNationJob").Enabled);
    ChooseRecord("cmbNationContracted", &Db.Nations.Records[0]);
    EXPECT_EQ(C("cmbNationJob").SelectedCode(), 20);
    EXPECT_TRUE(C("dtpContractExpiresNation").Enabled);
    ChooseRecord("cmbNationContracted", nullptr);
    EXPECT_EQ(C("cmbNationJob").Selected, -1);
    EXPECT_FALSE(C("dtpDateJoinedNation").Enabled);
}

TEST_F(StaffFormWorld, ChangingTypeResetsTheNewlyShownPages) {
    TKordoStaff* player = Find([](const TKordoStaff& s) { return s.StaffType() == 2 && HasContractJob(s); });
    TKordoStaff* referee =
        Find([](const TKordoStaff& s) { return s.StaffType() == 4 && s.RefereeReputation(); });
    Form.Focus(referee);
    Form.Focus(player); // the referee page still shows the referee's values
    ASSERT_NE(C("seReputation").Number, 0);
    Choose("cmbStaffType", 4);
    EXPECT_EQ(VisiblePages(), (std::vector<std::string>{"tsGeneral", "tsReferee"}));
    for (const TKordoControl& control : Form.Controls)
        if (control.Page == "tsReferee") {
            EXPECT_EQ(control.Number, 0) << control.Name;
        }
    EXPECT_EQ(C("cmbClubContracted").SelectedRecord(), nullptr);

    // A non-player who becomes a player/non-player: the player pages start from 0, the rest stays.
    TKordoStaff* coach = Find([](const TKordoStaff& s) { return s.StaffType() == 1 && s.MentalAtts; });
    Form.Focus(player);
    Form.Focus(coach);
    int32_t ambition = C("seAmbition").Number;
    Choose("cmbStaffType", 3);
    EXPECT_EQ(C("seCrossing").Number, 0);
    EXPECT_EQ(C("seCurrentAbility").Number, 0);
    EXPECT_EQ(C("seAmbition").Number, ambition);
    EXPECT_EQ(C("cmbJob").Items.size(), 4u);

    // From a referee to a non-player: the contract page comes back with no club.
    Form.Focus(player);
    Form.Focus(referee);
    Choose("cmbStaffType", 1);
    EXPECT_EQ(C("cmbClubContracted").SelectedRecord(), nullptr);
    EXPECT_EQ(C("seEstimatedWage").Number, 0);
    EXPECT_EQ(C("seSquadNumber").Number, -1);
    EXPECT_EQ(C("seAmbition").Number, 0);
    EXPECT_EQ(C("cmbPreferredFormation").SelectedCode(), 0);
}

TEST_F(StaffFormWorld, PreferencesAreListedByKindInEntryOrder) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 2; });
    TKordoStaff* liked = Db.Staffs.Item(10);
    TKordoStaff* disliked = Db.Staffs.Item(11);
    TKordoClub* club = &Db.Clubs.Records[3];
    staff->Relations.clear();
    TKordoStaffWrapper wrapper(staff);
    wrapper.AddStaffPreference(liked, true, 50);
    wrapper.SetSecondNation(&Db.Nations.Records[1]);
    wrapper.AddClubPreference(club, false, 20);
    wrapper.AddStaffPreference(disliked, false, 30);
    Form.Focus(staff);
    EXPECT_EQ(Texts("lboxFavouriteStaff"), std::vector<std::u16string>{StaffDisplayName(*liked)});
    EXPECT_EQ(Texts("lboxDislikedStaff"), std::vector<std::u16string>{StaffDisplayName(*disliked)});
    EXPECT_EQ(Texts("lboxDislikedClubs"), std::vector<std::u16string>{club->ShortClubName});
    EXPECT_TRUE(C("lboxFavouriteClubs").Items.empty());
    EXPECT_EQ(C("lboxDislikedClubs").Items[0].Record, club);
    EXPECT_EQ(C("cmbSecondNation").SelectedRecord(), &Db.Nations.Records[1]);
}

TEST_F(StaffFormWorld, OnlyTheListsHaveChangeHandlers) {
    Form.Focus(Db.Staffs.Item(0));
    for (const char* list : {"cmbStaffType", "cmbClubContracted", "cmbJob", "cmbNationContracted",
                             "cmbNationJob", "cmbPreferredFormation"})
        EXPECT_TRUE(Form.RunChangeHandler(list)) << list;
    EXPECT_FALSE(Form.RunChangeHandler("edFirstName"));
    EXPECT_FALSE(Form.RunChangeHandler("cmbSquadContracted"));
}

TEST_F(StaffFormWorld, CancelShowsTheStoredValuesAgainAndWritesNothing) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 2 && s.FirstName; });
    auto before = staff->Image;
    Form.Focus(staff);
    C("edFirstName").Text = u"Changed";
    C("seCrossing").Number = 19;
    Choose("cmbStaffType", 4);
    Form.Cancel();
    EXPECT_EQ(C("edFirstName").Text, staff->FirstName->Name);
    EXPECT_EQ(C("cmbStaffType").SelectedCode(), 2);
    EXPECT_EQ(C("seCrossing").Number, staff->PlayerAtts->Image[13]);
    EXPECT_FALSE(Form.AnyChanged());
    EXPECT_EQ(staff->Image, before);
    EXPECT_FALSE(Db.Modified);
}

// Confirm: what the user did not change ------------------------------------------------------------------

TEST_F(StaffFormWorld, ConfirmingEveryPersonUnchangedSavesTheSameBytes) {
    for (TKordoStaff* staff : std::vector<TKordoStaff*>(Db.Staffs.List())) {
        Form.Focus(staff);
        ASSERT_TRUE(Confirm()) << staff->ID();
    }
    EXPECT_FALSE(Db.Modified);
    auto untouched = Untouched();
    auto expected = Saved(*untouched, "untouched");
    auto confirmed = Saved(Db, "confirmed");
    EXPECT_TRUE(confirmed.first == expected.first);
    EXPECT_TRUE(confirmed.second == expected.second);
}

TEST_F(StaffFormWorld, ANationalPlayersJobSurvivesConfirm) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 2 && s.NationJob() == 1; });
    TKordoSquad* national = staff->NationSquad;
    TKordoGameDate joined = staff->DateJoinedNation();
    auto contract = staff->Image;
    Form.Focus(staff);
    EXPECT_EQ(C("cmbNationJob").Selected, -1); // a player has no national side to show
    C("seApps").Number = 77;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->NationJob(), 1);
    EXPECT_EQ(staff->NationSquad, national);
    EXPECT_EQ(staff->HasNationContract(), 1);
    EXPECT_TRUE(std::equal(contract.begin() + KordoNationContract - 1,
                           contract.begin() + KordoNationContract + KordoContractSize,
                           staff->Image.begin() + KordoNationContract - 1));
    EXPECT_EQ(staff->DateJoinedNation(), joined);
    EXPECT_EQ(staff->Apps(), 77);
    EXPECT_TRUE(Db.Modified);
}

TEST_F(StaffFormWorld, StoredValuesOutsideTheControlsSurviveAnEditNextToThem) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 3 && HasContractJob(s); });
    staff->SetCurrentAbility(250);
    staff->SetWorldReputation(-300);
    staff->SetDateOfBirth({10, 0});
    staff->SetDateJoined({400, 2001});
    staff->SetClubEstimatedWage(300000000);
    staff->NonPlayerAtts->Image[KordoPreferredFormationOffset] = 200;
    staff->PlayerAtts->Image[13] = 99;
    Form.Focus(staff);
    C("sePotentialAbility").Number = 150;
    C("seDribbling").Number = 7;
    C("seAttacking").Number = 3;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->CurrentAbility(), 250);
    EXPECT_EQ(staff->WorldReputation(), -300);
    EXPECT_EQ(staff->PotentialAbility(), 150);
    EXPECT_EQ(staff->DateOfBirth(), (TKordoGameDate{10, 0}));
    EXPECT_EQ(staff->DateJoined(), (TKordoGameDate{400, 2001}));
    EXPECT_EQ(staff->ClubEstimatedWage(), 300000000u);
    EXPECT_EQ(staff->NonPlayerAtts->Image[KordoPreferredFormationOffset], 200);
    EXPECT_EQ(staff->PlayerAtts->Image[13], 99);
    EXPECT_EQ(staff->PlayerAtts->Image[14], 7);
    EXPECT_EQ(staff->NonPlayerAtts->Image[1], 3);
}

TEST_F(StaffFormWorld, AClubJobTheTypesListLacksSurvivesConfirm) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 2 && HasContractJob(s); });
    TKordoSquad* squad = staff->ClubSquad;
    staff->SetClubJob(5);
    Form.Focus(staff);
    C("seGoals").Number = 9;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->ClubJob(), 5);
    EXPECT_EQ(staff->ClubSquad, squad);
    EXPECT_EQ(staff->HasClubContract(), 1);
}

// A player/non-player in his national team as a player: his job (1) is not in the national job list, so
// the list shows no selection, which the nation list's handler would fill with "Assistant Manager".
TEST_F(StaffFormWorld, ChoosingAFormationKeepsTheNationalJob) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 3 && s.NationJob() == 1; });
    TKordoSquad* squad = staff->NationSquad;
    Form.Focus(staff);
    EXPECT_EQ(C("cmbNationJob").Selected, -1);
    int32_t formation = C("cmbPreferredFormation").SelectedCode() == 3 ? 4 : 3;
    Choose("cmbPreferredFormation", formation);
    EXPECT_EQ(C("cmbNationJob").Selected, -1);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->NationJob(), 1);
    EXPECT_EQ(staff->NationSquad, squad);
    EXPECT_FALSE(Lists(squad->Coaches, staff));
    EXPECT_EQ(staff->NonPlayerAtts->Image[KordoPreferredFormationOffset], formation);
}

TEST_F(StaffFormWorld, SecondNationIsRewrittenOnlyWhenChosen) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 2; });
    staff->Relations.clear();
    TKordoStaffWrapper(staff).AddClubPreference(&Db.Clubs.Records[0], true, 40);
    TKordoRelation second;
    second.Kind = KordoKindNation;
    second.Relation = KordoRelationSecondNation;
    second.Amount = 60; // not the 15 the editor writes
    second.Target = &Db.Nations.Records[2];
    staff->Relations.push_back(second);
    Form.Focus(staff);
    C("seGoals").Number = 1;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->Relations.back().Amount, 60);
    ChooseRecord("cmbSecondNation", &Db.Nations.Records[3]);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->Relations.back().Target, &Db.Nations.Records[3]);
    EXPECT_EQ(staff->Relations.back().Amount, 15);
    ChooseRecord("cmbSecondNation", nullptr);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->Relations.size(), 1u);
}

// Confirm: names and nations -----------------------------------------------------------------------------

TEST_F(StaffFormWorld, ClearingANameReleasesIt) {
    TKordoStaff* staff =
        Find([](const TKordoStaff& s) { return s.CommonName && s.CommonName->UseCount() == 1; });
    TKordoName* name = staff->CommonName;
    int32_t count = Db.CommonNames.Count();
    Form.Focus(staff);
    C("edCommonName").Text.clear();
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->CommonName, nullptr);
    EXPECT_EQ(name->UseCount(), 0);
    EXPECT_EQ(Db.CommonNames.Count(), count - 1);
    EXPECT_FALSE(Lists(Db.CommonNames.List(), name));
    EXPECT_TRUE(Db.Modified);
}

TEST_F(StaffFormWorld, AnExistingNameOfTheNationIsReused) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.FirstName && s.Nation; });
    TKordoStaff* other = Find([&](const TKordoStaff& s) {
        return s.Nation == staff->Nation && s.FirstName && s.FirstName != staff->FirstName &&
               s.FirstName->Nation == s.Nation;
    });
    TKordoName* old = staff->FirstName;
    TKordoName* wanted = other->FirstName;
    uint16_t uses = wanted->UseCount(), oldUses = old->UseCount();
    int32_t count = Db.FirstNames.Count();
    Form.Focus(staff);
    C("edFirstName").Text = wanted->Name;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->FirstName, wanted);
    EXPECT_EQ(wanted->UseCount(), uses + 1);
    EXPECT_EQ(old->UseCount(), oldUses - 1);
    EXPECT_EQ(Db.FirstNames.Count(), count - (oldUses == 1));
}

TEST_F(StaffFormWorld, ANewNameJoinsTheFrontOfTheNationsGroup) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.SecondName && s.Nation; });
    auto [start, count] = Db.SecondNames.RangeOf(staff->Nation);
    Form.Focus(staff);
    C("edSecondName").Text = u"Zzyzx-Neuname";
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(Db.SecondNames.Item(start), staff->SecondName);
    EXPECT_EQ(staff->SecondName->Name, u"Zzyzx-Neuname");
    EXPECT_EQ(staff->SecondName->Nation, staff->Nation);
    EXPECT_EQ(staff->SecondName->UseCount(), 1);
    EXPECT_EQ(staff->SecondName->NameID(), -1);
    auto [newStart, newCount] = Db.SecondNames.RangeOf(staff->Nation);
    EXPECT_EQ(newStart, start);
    EXPECT_GE(newCount, count); // the old name may have left the group
}

TEST_F(StaffFormWorld, NamesAreStoredWithEveryCharacter) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.Nation != nullptr; });
    const std::u16string first = u"Łukasz", second = u"大輔 Ōtsuki", common = u"Zé \U0001F600";
    Form.Focus(staff);
    C("edFirstName").Text = first;
    C("edSecondName").Text = second;
    C("edCommonName").Text = common;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->FirstName->Name, first);
    EXPECT_EQ(staff->SecondName->Name, second);
    EXPECT_EQ(staff->CommonName->Name, common);
    EXPECT_EQ(C("edSecondName").Text, second);
    // And through a save and a load.
    int32_t id = staff->ID();
    Saved(Db, "unicode");
    TKordoPregameDatabase again;
    ASSERT_TRUE(again.Load(Scratch->Root / "unicode"));
    EXPECT_EQ(StaffDisplayName(*again.Staffs.FindStaff(id)), common);
    EXPECT_EQ(again.Staffs.FindStaff(id)->SecondName->Name, second);
}

TEST_F(StaffFormWorld, ChangingTheNationMovesTheNamesAndOneStaffCount) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) {
        return s.FirstName && s.SecondName && s.Nation && s.FirstName->Nation == s.Nation &&
               s.SecondName->Nation == s.Nation;
    });
    TKordoNation* from = staff->Nation;
    TKordoNation* to = from == &Db.Nations.Records[0] ? &Db.Nations.Records[1] : &Db.Nations.Records[0];
    uint32_t fromCount = from->StaffCount(), toCount = to->StaffCount();
    std::u16string first = staff->FirstName->Name, second = staff->SecondName->Name;
    Form.Focus(staff);
    ChooseRecord("cmbNation", to);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->Nation, to);
    EXPECT_EQ(from->StaffCount(), fromCount - 1);
    EXPECT_EQ(to->StaffCount(), toCount + 1);
    EXPECT_EQ(staff->FirstName->Name, first);
    EXPECT_EQ(staff->FirstName->Nation, to);
    EXPECT_EQ(staff->SecondName->Nation, to);
    auto [start, count] = Db.FirstNames.RangeOf(to);
    EXPECT_TRUE(Lists(std::vector<TKordoName*>(Db.FirstNames.List().begin() + start,
                                               Db.FirstNames.List().begin() + start + count),
                      staff->FirstName));
}

TEST_F(StaffFormWorld, ANamesNationStaysWhenTheNationIsNotChanged) {
    // A name of another nation's group (as a file may hold) is not moved by confirming other edits.
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.FirstName && s.Nation; });
    TKordoNation* other =
        staff->Nation == &Db.Nations.Records[0] ? &Db.Nations.Records[1] : &Db.Nations.Records[0];
    TKordoName* foreign = Db.FirstNames.FindOrAdd(u"Fremdname", other);
    Db.FirstNames.AddUse(foreign);
    Db.FirstNames.Release(staff->FirstName);
    staff->FirstName = foreign;
    Form.Focus(staff);
    C("seApps").Number = 3;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->FirstName, foreign);
}

// Every nation's range holds exactly the names of that nation, and nationless names come first.
void ExpectGroupsIntact(TKordoPregameDatabase& db, TKordoNames& names) {
    int32_t leading = names.RangeOf(nullptr).second;
    for (int32_t row = 0; row < leading; ++row)
        ASSERT_EQ(names.Item(row)->Nation, nullptr);
    for (TKordoNation& nation : db.Nations.Records) {
        auto [start, count] = names.RangeOf(&nation);
        for (int32_t row = start; row >= 0 && row < start + count; ++row)
            ASSERT_EQ(names.Item(row)->Nation, &nation) << "row " << row;
        int32_t members = 0;
        for (TKordoName* name : names.List())
            members += name->Nation == &nation;
        ASSERT_EQ(members, std::max(count, 0));
    }
}

TEST_F(StaffFormWorld, ANewNameNeverLandsInAnotherNationsGroup) {
    // Empty a nation's group of first names by clearing every use, then name one of its people anew.
    TKordoNation* nation = &Db.Nations.Records[Db.Nations.Count() / 2];
    std::vector<TKordoStaff*> people;
    for (TKordoStaff* staff : Db.Staffs.List())
        if (staff->Nation == nation)
            people.push_back(staff);
    ASSERT_FALSE(people.empty());
    for (TKordoStaff* staff : Db.Staffs.List())
        if (staff->FirstName && staff->FirstName->Nation == nation) {
            Form.Focus(staff);
            C("edFirstName").Text.clear();
            ASSERT_TRUE(Confirm());
        }
    EXPECT_EQ(Db.FirstNames.RangeOf(nation).second, 0);
    ExpectGroupsIntact(Db, Db.FirstNames);
    Form.Focus(people.front());
    C("edFirstName").Text = u"Neuer";
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(people.front()->FirstName->Nation, nation);
    EXPECT_EQ(Db.FirstNames.RangeOf(nation).second, 1);
    EXPECT_EQ(Db.FirstNames.Item(Db.FirstNames.RangeOf(nation).first), people.front()->FirstName);
    ExpectGroupsIntact(Db, Db.FirstNames);
}

// Confirm: contracts and lists -----------------------------------------------------------------------------

TEST_F(StaffFormWorld, NoClubLeavesTheSquadAndClearsTheContract) {
    TKordoStaff* staff = Find(
        [](const TKordoStaff& s) { return s.StaffType() == 2 && s.ClubJob() == 1 && HasContractJob(s); });
    TKordoSquad* squad = staff->ClubSquad;
    Form.Focus(staff);
    ChooseRecord("cmbClubContracted", nullptr);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->ClubSquad, nullptr);
    EXPECT_EQ(staff->ClubJob(), 0);
    EXPECT_EQ(staff->DateJoined(), (TKordoGameDate{0, 0}));
    EXPECT_EQ(staff->HasClubContract(), 0);
    EXPECT_FALSE(Lists(squad->Players, staff));
    EXPECT_EQ(C("cmbClubContracted").SelectedRecord(), nullptr);
    EXPECT_FALSE(Form.AnyChanged());
}

TEST_F(StaffFormWorld, JoiningAnotherClubMovesThePlayerAndWritesWhatIsNew) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 2 && !s.ClubSquad; });
    TKordoClub* club = static_cast<TKordoClub*>(C("cmbClubContracted").Items[7].Record);
    Form.Focus(staff);
    ChooseRecord("cmbClubContracted", club);
    C("dtpDateJoined").Date = sys_days(2005y / July / 1);
    C("dtpContractExpires").Date = sys_days(2010y / June / 30);
    C("seEstimatedWage").Number = 12345;
    C("seSquadNumber").Number = 9;
    ASSERT_TRUE(Confirm());
    TKordoSquad* squad = staff->ClubSquad;
    ASSERT_NE(squad, nullptr);
    EXPECT_EQ(squad->OwnerClub, club);
    EXPECT_EQ(staff->ClubJob(), 1);
    EXPECT_TRUE(Lists(squad->Players, staff));
    EXPECT_EQ(staff->HasClubContract(), 1);
    EXPECT_EQ(staff->ClubContractEmployer, club);
    EXPECT_EQ(staff->DateJoined(), DateTimeToGameDate(sys_days(2005y / July / 1)));
    EXPECT_EQ(staff->ClubContractExpires(), DateTimeToGameDate(sys_days(2010y / June / 30)));
    EXPECT_EQ(staff->ClubEstimatedWage(), 12345u);
    EXPECT_EQ(staff->ClubSquadNumber(), 9);
    EXPECT_EQ(staff->Image[KordoClubContract + 52], 25); // the block's fixed bytes

    // And on to another club: out of the first squad's players, into the next one's.
    TKordoClub* next = static_cast<TKordoClub*>(C("cmbClubContracted").Items[9].Record);
    ChooseRecord("cmbClubContracted", next);
    ASSERT_TRUE(Confirm());
    EXPECT_FALSE(Lists(squad->Players, staff));
    EXPECT_TRUE(Lists(staff->ClubSquad->Players, staff));
    EXPECT_EQ(staff->ClubContractEmployer, next);
    EXPECT_EQ(staff->ClubEstimatedWage(), 12345u); // the contract stays
}

TEST_F(StaffFormWorld, ANewManagerReleasesTheOldOne) {
    TKordoStaff* manager = Find([](const TKordoStaff& s) { return s.ClubJob() == 16 && s.ClubSquad; });
    TKordoSquad* squad = manager->ClubSquad;
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 1 && !s.ClubSquad; });
    Form.Focus(staff);
    ChooseRecord("cmbClubContracted", squad->OwnerClub);
    if (!C("cmbSquadContracted").Items.empty())
        C("cmbSquadContracted").SelectRecord(squad);
    Choose("cmbJob", 16);
    if (!C("cmbSquadContracted").Items.empty())
        C("cmbSquadContracted").SelectRecord(squad);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(squad->Manager, staff);
    EXPECT_EQ(staff->ClubSquad, squad);
    EXPECT_EQ(manager->ClubSquad, nullptr);
    EXPECT_EQ(manager->ClubJob(), 0);
    EXPECT_EQ(manager->HasClubContract(), 0);
}

TEST_F(StaffFormWorld, ANewChairmanReleasesTheOldOne) {
    TKordoStaff* chairman = Find([](const TKordoStaff& s) { return s.ClubJob() == 4 && s.ClubSquad; });
    TKordoClub* club = chairman->ClubSquad->OwnerClub;
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 1 && !s.ClubSquad; });
    Form.Focus(staff);
    ChooseRecord("cmbClubContracted", club);
    Choose("cmbJob", 4);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(club->Chairman, staff);
    EXPECT_EQ(staff->ClubJob(), 4);
    EXPECT_EQ(staff->HasClubContract(), 0);
    EXPECT_EQ(chairman->ClubSquad, nullptr);
    EXPECT_EQ(chairman->ClubJob(), 0);
}

TEST_F(StaffFormWorld, AJobChangeInTheSameSquadMovesTheListsAndKeepsTheContract) {
    TKordoStaff* staff = Find(
        [](const TKordoStaff& s) { return s.StaffType() == 1 && s.ClubJob() == 2 && HasContractJob(s); });
    TKordoSquad* squad = staff->ClubSquad;
    uint32_t wage = staff->ClubEstimatedWage();
    Form.Focus(staff);
    Choose("cmbJob", 14);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->ClubSquad, squad);
    EXPECT_EQ(staff->ClubJob(), 14);
    EXPECT_FALSE(Lists(squad->Coaches, staff));
    EXPECT_TRUE(Lists(squad->OwnerClub->Scouts, staff));
    EXPECT_EQ(staff->HasClubContract(), 1);
    EXPECT_EQ(staff->ClubEstimatedWage(), wage);
}

TEST_F(StaffFormWorld, FromCoachToChairmanTheContractGoesButItsBytesStay) {
    TKordoStaff* staff = Find(
        [](const TKordoStaff& s) { return s.StaffType() == 1 && s.ClubJob() == 2 && HasContractJob(s); });
    auto block = std::vector<uint8_t>(staff->ClubContract(), staff->ClubContract() + KordoContractSize);
    TKordoClub* club = staff->ClubSquad->OwnerClub;
    Form.Focus(staff);
    Choose("cmbJob", 4);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->HasClubContract(), 0);
    EXPECT_EQ(std::vector<uint8_t>(staff->ClubContract(), staff->ClubContract() + KordoContractSize), block);
    EXPECT_EQ(club->Chairman, staff);
    EXPECT_FALSE(Lists(staff->ClubSquad->Coaches, staff));
}

// Sound behaviour: the lists follow the job where the guard would keep the old ones.
TEST_F(StaffFormWorld, APlayerCoachWhoBecomesAPlayerLeavesTheCoaches) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 3 && s.ClubJob() == 3; });
    TKordoSquad* squad = staff->ClubSquad;
    ASSERT_TRUE(Lists(squad->Coaches, staff));
    Form.Focus(staff);
    Choose("cmbStaffType", 2);
    Choose("cmbJob", 1);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->ClubJob(), 1);
    EXPECT_TRUE(Lists(squad->Players, staff));
    EXPECT_FALSE(Lists(squad->Coaches, staff));
}

TEST_F(StaffFormWorld, APlayerManagerWhoBecomesAPlayerIsNoLongerManager) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 3 && s.ClubJob() == 17; });
    TKordoSquad* squad = staff->ClubSquad;
    ASSERT_EQ(squad->Manager, staff);
    Form.Focus(staff);
    Choose("cmbStaffType", 2);
    Choose("cmbJob", 1);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(squad->Manager, nullptr);
    EXPECT_EQ(staff->ClubSquad, squad);
    EXPECT_TRUE(Lists(squad->Players, staff));
}

// Sound behaviour: joining a national team as its manager does not release the person himself.
TEST_F(StaffFormWorld, JoiningANationalTeamAsManagerKeepsThePost) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 1 && !s.NationSquad; });
    TKordoNation* nation = &Db.Nations.Records[0];
    TKordoSquad* squad = nation->NationalSquad;
    TKordoStaff* old = squad->Manager;
    Form.Focus(staff);
    ChooseRecord("cmbNationContracted", nation);
    Choose("cmbNationJob", 16);
    C("dtpDateJoinedNation").Date = sys_days(2006y / March / 1);
    C("dtpContractExpiresNation").Date = sys_days(2010y / March / 1);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(squad->Manager, staff);
    EXPECT_EQ(staff->NationSquad, squad);
    EXPECT_EQ(staff->NationJob(), 16);
    EXPECT_EQ(staff->HasNationContract(), 1);
    EXPECT_EQ(staff->NationContractEmployer, nation);
    EXPECT_EQ(staff->DateJoinedNation(), DateTimeToGameDate(sys_days(2006y / March / 1)));
    EXPECT_EQ(staff->NationContractExpires(), DateTimeToGameDate(sys_days(2010y / March / 1)));
    if (old && old != staff) {
        EXPECT_EQ(old->NationSquad, nullptr);
        EXPECT_EQ(old->NationJob(), 0);
    }
    // Leaving the national team again.
    ChooseRecord("cmbNationContracted", nullptr);
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->NationSquad, nullptr);
    EXPECT_EQ(staff->NationJob(), 0);
    EXPECT_EQ(staff->HasNationContract(), 0);
    EXPECT_EQ(squad->Manager, nullptr);
    EXPECT_EQ(staff->DateJoinedNation(), (TKordoGameDate{0, 1900}));
}

TEST_F(StaffFormWorld, ANationalJobChangeMovesTheNationalLists) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 1 && s.NationJob() == 2; });
    TKordoSquad* squad = staff->NationSquad;
    Form.Focus(staff);
    Choose("cmbNationJob", 12);
    ASSERT_TRUE(Confirm());
    EXPECT_FALSE(Lists(squad->Coaches, staff));
    EXPECT_TRUE(Lists(squad->Physios, staff));
    EXPECT_EQ(staff->NationJob(), 12);
    EXPECT_EQ(staff->HasNationContract(), 1);
}

// Confirm: staff types -------------------------------------------------------------------------------------

TEST_F(StaffFormWorld, ANonPlayerBecomingAPlayerSwapsHisAttributeRecords) {
    TKordoStaff* staff =
        Find([](const TKordoStaff& s) { return s.StaffType() == 1 && !s.ClubSquad && s.NonPlayerAtts; });
    TKordoNonPlayerAtt* nonPlayer = staff->NonPlayerAtts;
    TKordoMentalAtt* mental = staff->MentalAtts;
    int32_t players = Db.PlayerAtts.Count(), nonPlayers = Db.NonPlayerAtts.Count();
    Form.Focus(staff);
    Choose("cmbStaffType", 2);
    C("seCrossing").Number = 14;
    C("seCurrentAbility").Number = 120;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->StaffType(), 2);
    EXPECT_EQ(staff->NonPlayerAtts, nullptr);
    EXPECT_FALSE(Lists(Db.NonPlayerAtts.List(), nonPlayer));
    EXPECT_EQ(Db.NonPlayerAtts.Count(), nonPlayers - 1);
    ASSERT_NE(staff->PlayerAtts, nullptr);
    EXPECT_EQ(Db.PlayerAtts.Count(), players + 1);
    EXPECT_EQ(Db.PlayerAtts.List().back(), staff->PlayerAtts);
    EXPECT_EQ(staff->MentalAtts, mental);
    EXPECT_EQ(staff->Get<int32_t>(44), 10000);
    EXPECT_EQ(staff->Get<int32_t>(48), 10000);
    EXPECT_EQ(staff->Get<int32_t>(118), -3);
    EXPECT_EQ(staff->Get<int32_t>(34), -1);
    EXPECT_EQ(staff->Get<int32_t>(83), -1);
    EXPECT_EQ(staff->PlayerAtts->Image[13], 14);
    EXPECT_EQ(staff->PlayerAtts->Image[14], 0);
    EXPECT_EQ(staff->CurrentAbility(), 120);
    EXPECT_EQ(staff->WorldReputation(), 0);
}

TEST_F(StaffFormWorld, AnyoneBecomingARefereeLosesHisRelationsAndMentalRecord) {
    TKordoStaff* staff = Find(
        [](const TKordoStaff& s) { return s.StaffType() == 2 && HasContractJob(s) && s.ClubJob() == 1; });
    TKordoSquad* squad = staff->ClubSquad;
    TKordoStaffWrapper wrapper(staff);
    wrapper.AddStaffPreference(Db.Staffs.Item(3), true, 50);
    wrapper.AddClubPreference(&Db.Clubs.Records[2], false, 50);
    wrapper.SetSecondNation(&Db.Nations.Records[4]);
    int32_t mentals = Db.MentalAtts.Count(), players = Db.PlayerAtts.Count();
    Form.Focus(staff);
    Choose("cmbStaffType", 4);
    C("seReputation").Number = 150;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->StaffType(), 4);
    EXPECT_TRUE(staff->Relations.empty());
    EXPECT_EQ(staff->MentalAtts, nullptr);
    EXPECT_EQ(staff->PlayerAtts, nullptr);
    EXPECT_EQ(Db.MentalAtts.Count(), mentals - 1);
    EXPECT_EQ(Db.PlayerAtts.Count(), players - 1);
    EXPECT_EQ(staff->Get<int32_t>(127), -1);
    EXPECT_EQ(staff->RefereeReputation(), 150);
    EXPECT_EQ(staff->RefereeCurrentAbility(), 0);
    EXPECT_EQ(staff->ClubSquad, nullptr);
    EXPECT_FALSE(Lists(squad->Players, staff));

    // And back: a fresh mental record, written from the (reset) page.
    Choose("cmbStaffType", 1);
    C("seAmbition").Number = 11;
    ASSERT_TRUE(Confirm());
    ASSERT_NE(staff->MentalAtts, nullptr);
    ASSERT_NE(staff->NonPlayerAtts, nullptr);
    EXPECT_EQ(staff->MentalAtts->Image[2], 11);
    EXPECT_EQ(Db.MentalAtts.Count(), mentals);
}

// Confirm: refusals and the modified flag ----------------------------------------------------------------

TEST_F(StaffFormWorld, AFullListRefusesAndChangesNothing) {
    TKordoStaff* staff =
        Find([](const TKordoStaff& s) { return s.StaffType() == 1 && !s.ClubSquad && s.FirstName; });
    TKordoClub* club = static_cast<TKordoClub*>(C("cmbClubContracted").Items[3].Record);
    TKordoSquad* squad = club->Squads.front();
    // Fill the coaches with people who are listed nowhere else: the file cannot hold a 256th.
    while (squad->Coaches.size() < KordoMaxShortList)
        squad->Coaches.push_back(Db.Staffs.NewStaff());
    Form.Focus(staff);
    C("edFirstName").Text = u"Refused";
    ChooseRecord("cmbClubContracted", club);
    C("cmbSquadContracted").SelectRecord(squad);
    Choose("cmbJob", 2);
    C("cmbSquadContracted").SelectRecord(squad);
    std::string refusal;
    EXPECT_FALSE(Form.Confirm(&refusal));
    EXPECT_NE(refusal.find("coaches"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("full"), std::string::npos) << refusal;
    EXPECT_FALSE(Db.Modified);
    EXPECT_EQ(staff->ClubSquad, nullptr);
    EXPECT_NE(staff->FirstName->Name, u"Refused");
    EXPECT_EQ(squad->Coaches.size(), KordoMaxShortList);
    EXPECT_TRUE(Form.Changed("edFirstName")); // the edits stay in the form
}

TEST_F(StaffFormWorld, AFullRelationListRefusesASecondNation) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 2; });
    staff->Relations.clear();
    TKordoStaffWrapper wrapper(staff);
    for (int32_t row = 0; staff->Relations.size() < KordoMaxRelations; ++row)
        wrapper.AddStaffPreference(Db.Staffs.Item(row), true, 50);
    auto before = staff->Relations.size();
    Form.Focus(staff);
    ChooseRecord("cmbSecondNation", &Db.Nations.Records[0]);
    C("seApps").Number = 42;
    std::string refusal;
    EXPECT_FALSE(Form.Confirm(&refusal));
    EXPECT_NE(refusal.find("relation"), std::string::npos) << refusal;
    EXPECT_EQ(staff->Relations.size(), before);
    EXPECT_NE(staff->Apps(), 42);
}

TEST_F(StaffFormWorld, ConfirmWithoutEditsLeavesTheModifiedFlag) {
    Form.Focus(Db.Staffs.Item(0));
    ASSERT_TRUE(Confirm());
    EXPECT_FALSE(Db.Modified);
    C("seGoals").Number = C("seGoals").Number == 5 ? 6 : 5;
    ASSERT_TRUE(Confirm());
    EXPECT_TRUE(Db.Modified);
    EXPECT_FALSE(Form.AnyChanged()); // the form now shows the record as stored
}

TEST_F(StaffFormWorld, ValuesAreStoredWithTheirFieldsWidth) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 2 && HasContractJob(s); });
    uint8_t after = staff->Image[28];
    Form.Focus(staff);
    C("seCurrentAbility").Number = -2;
    C("seApps").Number = 256 + 7;
    C("seSquadNumber").Number = -1;
    ASSERT_TRUE(Confirm());
    EXPECT_EQ(staff->CurrentAbility(), -2);
    EXPECT_EQ(staff->Image[26], 0xFE);
    EXPECT_EQ(staff->Image[27], 0xFF);
    EXPECT_EQ(staff->Image[28], after);
    EXPECT_EQ(staff->Apps(), 7);
    EXPECT_EQ(staff->ClubSquadNumber(), 255);
    EXPECT_EQ(C("seSquadNumber").Number, -1); // shown again as "none"
}

TEST(StaffWrapperJoining, NamesTheFullList) {
    TKordoClub club;
    TKordoSquad squad;
    squad.OwnerClub = &club;
    TKordoStaff staff, other;
    TKordoStaffWrapper wrapper(&staff);
    std::string list;
    EXPECT_TRUE(wrapper.CanJoinClubJob(&squad, 8, &list));
    club.BoardMembers.assign(KordoMaxShortList, &other);
    EXPECT_FALSE(wrapper.CanJoinClubJob(&squad, 24, &list));
    EXPECT_EQ(list, "board members");
    EXPECT_TRUE(wrapper.CanJoinClubJob(&squad, 4, &list)); // a chairman is no list
    club.BoardMembers.back() = &staff;                     // already listed: room for him
    EXPECT_TRUE(wrapper.CanJoinClubJob(&squad, 10, &list));
    squad.Physios.assign(KordoMaxShortList, &other);
    EXPECT_FALSE(wrapper.CanJoinNationJob(&squad, 12, &list));
    EXPECT_EQ(list, "physios");
    EXPECT_FALSE(wrapper.JoinClubJob(&squad, 12));
    EXPECT_TRUE(wrapper.CanJoinNationJob(&squad, 16, &list));
}

TEST_F(StaffFormWorld, AConfirmedPersonReadsBackAfterSaveAndLoad) {
    TKordoStaff* staff = Find([](const TKordoStaff& s) { return s.StaffType() == 3 && HasContractJob(s); });
    int32_t id = staff->ID();
    Form.Focus(staff);
    C("edCommonName").Text = u"Kaká";
    C("dtpDateOfBirth").Date = sys_days(1982y / April / 22);
    C("seCrossing").Number = 17;
    C("seAttacking").Number = 4;
    C("seAmbition").Number = 12;
    C("seNonPlayerCurrentAbility").Number = 111;
    Choose("cmbPreferredFormation", 7);
    ASSERT_TRUE(Confirm());
    Saved(Db, "roundtrip");
    TKordoPregameDatabase again;
    ASSERT_TRUE(again.Load(Scratch->Root / "roundtrip"));
    StaffForm form;
    form.Bind(&again);
    form.Focus(again.Staffs.FindStaff(id));
    EXPECT_EQ(form.Control("edCommonName").Text, u"Kaká");
    EXPECT_EQ(form.Control("dtpDateOfBirth").Date, sys_days(1982y / April / 22));
    EXPECT_EQ(form.Control("seCrossing").Number, 17);
    EXPECT_EQ(form.Control("seAttacking").Number, 4);
    EXPECT_EQ(form.Control("seAmbition").Number, 12);
    EXPECT_EQ(form.Control("seNonPlayerCurrentAbility").Number, 111);
    EXPECT_EQ(form.Control("cmbPreferredFormation").SelectedCode(), 7);
}
