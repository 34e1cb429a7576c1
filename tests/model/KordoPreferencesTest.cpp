#include "KordoPreferences.h"

#include "KordoDataWrappers.h"
#include "StaffForm.h"

#include <gtest/gtest.h>

namespace {

// A person with his preference page shown, and people and clubs to name in it.
struct TPersonWorld {
    TKordoPregameDatabase Db;
    TKordoStaff Person, Others[4];
    TKordoClub Clubs[2];
    StaffForm Form;
    TPersonWorld() {
        Person.SetStaffType(KordoStaffPlayer);
        Form.Bind(&Db);
        Form.Focus(&Person);
    }
    std::vector<TKordoRecordRef> Lines(const char* list) {
        std::vector<TKordoRecordRef> lines;
        for (const TKordoListItem& item : Form.Control(list).Items)
            lines.push_back(item.Record);
        return lines;
    }
};

} // namespace

TEST(KordoPreferenceDialog, EveryUseStartsAfreshAndAmountsAreRoundedDownToFives) {
    TKordoName first{}, second{};
    first.Name = u"Ann";
    second.Name = u"Berg";
    TKordoStaff person;
    person.FirstName = &first;
    person.SecondName = &second;
    TKordoPreferenceDialog dialog;
    dialog.OpenPreferenceDialog(true, false, true);
    EXPECT_EQ(dialog.Caption, u"Add Disliked Staff");
    dialog.Choose(&person);
    dialog.Amount = 40;
    EXPECT_EQ(dialog.Chosen(), &person);
    EXPECT_EQ(dialog.StaffName + dialog.ClubName + dialog.NationName, u"Berg, AnnNo ClubNo Nation");

    // Rivals are chosen as disliked clubs; nothing of the last use survives, not even a lost focus.
    dialog.OpenPreferenceDialog(false, false, false);
    EXPECT_EQ(dialog.Caption, u"Edit Disliked Club");
    EXPECT_EQ(dialog.Amount, 100);
    dialog.Choose(nullptr);
    EXPECT_EQ(dialog.Chosen(), nullptr);
    EXPECT_TRUE(dialog.StaffName.empty() && dialog.ClubName.empty() && dialog.NationName.empty());

    TKordoNation nation;
    nation.NationSecondName = u"Norland";
    TKordoClub club;
    club.ShortClubName = u"Kordo FC";
    club.Nation = &nation;
    dialog.PresetPreferenceDialog(&club, 250);
    EXPECT_EQ(dialog.Chosen(), &club);
    EXPECT_EQ(dialog.ClubName + dialog.NationName, u"Kordo FCNorland");
    for (auto [typed, kept] : {std::pair{37, 35}, {40, 40}, {3, 5}, {-20, 5}, {104, 100}, {250, 100}}) {
        dialog.Amount = typed;
        dialog.seAmountExit();
        EXPECT_EQ(dialog.Amount, kept) << typed;
    }
}

TEST(StaffFormPreferences, AClubAddedToTheOtherListMovesThere) {
    TPersonWorld w;
    ASSERT_TRUE(w.Form.AddPreference("lboxDislikedClubs", &w.Clubs[1], 40));
    ASSERT_TRUE(w.Form.AddPreference("lboxFavouriteClubs", &w.Clubs[1], 65));
    ASSERT_EQ(w.Person.Relations.size(), 1u);
    EXPECT_EQ(w.Person.Relations[0].Relation, KordoRelationFavouriteClub);
    EXPECT_EQ(w.Person.Relations[0].Amount, 65);
    EXPECT_EQ(w.Lines("lboxFavouriteClubs"), std::vector<TKordoRecordRef>{&w.Clubs[1]});
    EXPECT_TRUE(w.Lines("lboxDislikedClubs").empty());
}

TEST(StaffFormPreferences, EditRetargetsWithoutMergingAndDeleteTakesTheFirstEntryOfTheKind) {
    TPersonWorld w;
    w.Form.AddPreference("lboxFavouriteStaff", &w.Others[1], 50);
    w.Form.AddPreference("lboxFavouriteStaff", &w.Others[2], 50);
    ASSERT_TRUE(w.Form.EditPreference("lboxFavouriteStaff", 0, &w.Others[2], 1));
    EXPECT_EQ(w.Lines("lboxFavouriteStaff"), (std::vector<TKordoRecordRef>{&w.Others[2], &w.Others[2]}));
    EXPECT_EQ(w.Person.Relations[0].Amount, 5);

    // A disliked entry ahead of a favourite one with the same target goes first.
    w.Person.Relations = {{KordoKindClub, KordoRelationFavouriteClub, 30, 0, &w.Clubs[0]},
                          {KordoKindPerson, KordoRelationDislikedPerson, 20, 0, &w.Others[3]},
                          {KordoKindPerson, KordoRelationFavouritePerson, 70, 0, &w.Others[3]}};
    w.Form.RefreshPreferences();
    w.Form.DeletePreference("lboxFavouriteStaff", 0);
    ASSERT_EQ(w.Person.Relations.size(), 2u);
    EXPECT_EQ(w.Person.Relations[1].Relation, KordoRelationFavouritePerson);
    EXPECT_EQ(w.Lines("lboxFavouriteStaff"), std::vector<TKordoRecordRef>{&w.Others[3]});
}

TEST(StaffFormPreferences, NothingChangesWithoutAChoiceALineOrRoom) {
    TPersonWorld w;
    EXPECT_TRUE(w.Form.AddPreference("lboxFavouriteStaff", nullptr, 50)); // OK before any row was focused
    w.Form.DeletePreference("lboxFavouriteStaff", -1);
    EXPECT_FALSE(w.Form.EditPreference("lboxFavouriteStaff", 0, &w.Others[1], 50));
    EXPECT_TRUE(w.Person.Relations.empty());

    w.Person.Relations.resize(KordoMaxRelations,
                              {KordoKindPerson, KordoRelationDislikedPerson, 10, 0, nullptr});
    w.Person.Relations[0].Target = &w.Others[1];
    std::string refusal;
    EXPECT_FALSE(w.Form.AddPreference("lboxFavouriteClubs", &w.Clubs[0], 50, &refusal));
    EXPECT_NE(refusal.find("full"), std::string::npos);
    EXPECT_EQ(w.Person.Relations.size(), KordoMaxRelations);
    // Turning a listed person into a favourite needs no room.
    EXPECT_TRUE(w.Form.AddPreference("lboxFavouriteStaff", &w.Others[1], 50));
    EXPECT_EQ(w.Lines("lboxFavouriteStaff"), std::vector<TKordoRecordRef>{&w.Others[1]});
}
