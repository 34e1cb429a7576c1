// Preferences of people and clubs: the entries behind the preference lists of both editors, and the
// preference dialog as plain data. Preference edits are written into the record at once, not on
// "Confirm Changes".
#pragma once

#include "KordoForm.h"
#include "KordoPregameDatabase.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The preference dialog's state and rules; TfrmEditPreference shows it.
class TKordoPreferenceDialog {
public:
    // Prepares one use: staff mode (people) or club mode, favourite or disliked, adding or editing.
    // The caption, the amount (100), the labels and the choice are reset.
    void OpenPreferenceDialog(bool staffMode, bool favourite, bool adding);
    // Editing: the amount and the current target, chosen.
    void PresetPreferenceDialog(const TKordoRecordRef& target, int32_t amount);
    // A row of the dialog's list got the focus: the person (staff mode) or club is chosen and the
    // labels show him; nullptr keeps the choice.
    void Choose(const TKordoRecordRef& record);
    // The amount box lost the focus: rounded down to a multiple of 5, within 5..100.
    void seAmountExit();

    bool StaffMode = true;
    bool Favourite = true;
    std::u16string Caption;    // "Add Favourite Staff", "Edit Disliked Club", ...
    std::u16string StaffName;  // lblStaffName
    std::u16string ClubName;   // lblClubName ("No Club")
    std::u16string NationName; // lblNationName ("No Nation")
    // What tells people or clubs of one name apart: a person's date of birth (lblDateOfBirth), a
    // club's full name (lblFullClubName).
    std::u16string DateOfBirth;
    std::u16string FullClubName;
    int32_t Amount = 100;
    TKordoStaff* ChosenStaff = nullptr;
    TKordoClub* ChosenClub = nullptr;
    TKordoRecordRef Chosen() const { return StaffMode ? TKordoRecordRef(ChosenStaff) : ChosenClub; }
};

// How a preference list is edited: the dialog's mode for it (people or clubs; the rivals list is a
// club list opened as "Disliked Club") and whether it is a favourite list. Lists: lboxFavouriteStaff,
// lboxDislikedStaff, lboxFavouriteClubs, lboxDislikedClubs (a person's), lboxRivals (a club's).
struct TKordoPreferenceList {
    bool StaffMode = true;
    bool Favourite = true;
};
// std::out_of_range for a name that is no preference list.
TKordoPreferenceList KordoPreferenceListOf(std::string_view list);
// Whether the target is a record the list holds: a person for a list of people, a club for a list of
// clubs.
bool KordoListHolds(const TKordoPreferenceList& list, const TKordoRecordRef& target);

// What both editors share when they edit a preference list.
// An amount as the file keeps it: within 5..100 (not rounded; the dialog rounds what is typed).
uint16_t KordoPreferenceAmount(int32_t amount);
// The record the line of a list box carries (which may be none, for a target that did not resolve on
// loading); no value for a line the list does not have.
std::optional<TKordoRecordRef> KordoLineRecord(const TKordoControl& list, int32_t line);
// The kind of entry a preference list shows: people (3) or clubs (1).
uint8_t KordoPreferenceKind(std::string_view list);
// Delete on a line of the list box `list`: the first entry of the list's kind with the line's target
// goes, whatever its relation. Edit: the last such entry is pointed at the target with the amount
// (kept within 5..100), its relation unchanged, and false when there is no such line or entry. The
// caller touches the owner of the relations in the edit's journal first.
void KordoDeletePreference(std::vector<TKordoRelation>& relations, const TKordoControl& list, int32_t line);
bool KordoEditPreference(std::vector<TKordoRelation>& relations, const TKordoControl& list, int32_t line,
                         TKordoRecordRef target, int32_t amount);
// Runs one addition to the relation list of a person (club false) or a club, made through the record's
// wrapper: `edit` returns false when the list is full, the wrapper having changed nothing; then the
// refusal names the owner.
bool KordoEditRelations(const std::function<bool()>& edit, std::string* refusal = nullptr,
                        const std::u16string& owner = {}, bool club = false);
