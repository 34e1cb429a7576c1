#include "StaffForm.h"

#include <gtest/gtest.h>

#include <algorithm>
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
