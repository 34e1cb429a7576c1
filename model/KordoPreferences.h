// Preferences of people and clubs: the entries behind the preference lists of both editors, and the
// preference dialog as plain data. Preference edits are written into the record at once, not on
// "Confirm Changes".
#pragma once

#include "KordoPregameDatabase.h"

#include <cstdint>
#include <string>
#include <string_view>

// The preference dialog's state and rules; TfrmEditPreference shows it.
class TKordoPreferenceDialog {
public:
    // Prepares one use: staff mode (people) or club mode, favourite or disliked, adding or editing.
    // The caption, the amount (100), the labels and the choice are reset.
    void OpenPreferenceDialog(bool staffMode, bool favourite, bool adding);
    // Editing: the amount and the current target, chosen.
    void PresetPreferenceDialog(void* target, int32_t amount);
    // A row of the dialog's list got the focus: the person (staff mode) or club is chosen and the
    // labels show him; nullptr keeps the choice.
    void Choose(void* record);
    // The amount box lost the focus: rounded down to a multiple of 5, within 5..100.
    void seAmountExit();

    bool StaffMode = true;
    bool Favourite = true;
    std::u16string Caption;   // "Add Favourite Staff", "Edit Disliked Club", ...
    std::u16string StaffName; // lblStaffName
    std::u16string ClubName;  // lblClubName ("No Club")
    std::u16string NationName; // lblNationName ("No Nation")
    int32_t Amount = 100;
    TKordoStaff* ChosenStaff = nullptr;
    TKordoClub* ChosenClub = nullptr;
    void* Chosen() const { return StaffMode ? static_cast<void*>(ChosenStaff) : ChosenClub; }
};

// How a preference list is edited: the dialog's mode for it (people or clubs; the rivals list is a
// club list opened as "Disliked Club") and whether it is a favourite list. Lists: lboxFavouriteStaff,
// lboxDislikedStaff, lboxFavouriteClubs, lboxDislikedClubs (a person's), lboxRivals (a club's).
struct TKordoPreferenceList {
    bool StaffMode = true;
    bool Favourite = true;
};
TKordoPreferenceList KordoPreferenceListOf(std::string_view list);
