// The staff editor as plain data: the ten pages of a person with every control, the rules that fill
// them from the focused person, show, hide, enable and reset them when a list changes, and the confirm
// that writes them back into the person and every record that hangs on him. TframeStaff shows this
// form; the command-line tool drives it without a window.
#pragma once

#include "KordoForm.h"
#include "KordoPreferences.h"
#include "KordoPregameDatabase.h"

#include <string>

class StaffForm : public TKordoForm {
public:
    // Every control and page, with the starting values (0, the squad number -1, dates 1 January
    // 1900, no items in the lists the database fills, no selection).
    StaffForm();

    // Binds a database, or none, and fills the lists that do not depend on the person: staff types,
    // national jobs, formations, the nations ("<unspecified>" / "<No National Team>" first) and the
    // clubs that have a squad ("<No Club>" first); each list is emptied before. Nobody is focused
    // afterwards. The progress callback, when given, hears the percentage while the nations and
    // clubs are gathered. Sorted lists are in the collation of the search (KordoCompareNames), a
    // leading item before the records that collate equal to it: the order a sorted combo box gets by
    // inserting the items one by one.
    void Bind(TKordoPregameDatabase* database, const TKordoProgressEvent& progress = {});

    TKordoPregameDatabase* Database = nullptr;
    TKordoStaff* Current = nullptr; // the person shown; stays when the focus leaves every row
    bool DetailsEnabled = false;    // the pages and the Confirm and Cancel buttons

    // A row got the focus (the person), or none (nullptr): fill every control from the person in
    // the editor's order, update the control states and remember the values; with none, only
    // disable the details. The pages the person's type does not show, and expiry, wage and squad
    // number without a club contract block, keep what they held. A stored date the calendar cannot
    // show leaves its control without a date ("not set"); a number outside its control's range is
    // shown as stored; a squad number of 255 (none) is shown as -1.
    void Focus(TKordoStaff* staff);
    // "Cancel Changes": fill again from the current person.
    void Cancel();

    void FillJobList();
    void FillSquadList();
    void UpdateControlStates();
    void RefreshPreferences();
    // Labels follow the enabled state of their control; of the bold headings, "National Team
    // Contracted:" follows cmbNationContracted and every other one stays enabled.
    bool HeadingEnabled(std::u16string_view heading) const;

    // What changing a list does.
    void cmbStaffTypeChange();
    void cmbClubContractedChange();
    void cmbJobChange();
    void cmbNationContractedChange();   // the nation and the national job lists
    void cmbPreferredFormationChange(); // only the control states: a formation is no national job
    // Runs the change handler of the named control; false when the control has none.
    bool RunChangeHandler(std::string_view name);

    // "Confirm Changes": writes the form into the current person. A control that still holds what
    // the focus filled in stands for the stored value, so what the user did not change is not
    // changed, whatever the control could show; what the confirm creates (a squad joined, a contract
    // block, an attribute record) is written from the controls. Refused, with a readable reason in
    // `refusal` and nothing changed, when a list the person would join is full (or with nobody
    // shown). Every record is touched in the database's journal before it is written (the editing
    // session runs the confirm as one edit). Afterwards the form is filled again from the person, so
    // it shows the record as it now stands and nothing counts as changed; the edits stay in the form
    // after a refusal.
    bool Confirm(std::string* refusal = nullptr);

    // The preference lists of the "&Preferences" page (lboxFavouriteStaff, lboxDislikedStaff,
    // lboxFavouriteClubs, lboxDislikedClubs), written into the person at once and refreshed. Add refuses
    // (false, with the reason) what the relation list could not store; Delete and Edit act on a line of the
    // list as shown (nothing for a line that does not exist).
    bool AddPreference(std::string_view list, TKordoRecordRef target, int32_t amount,
                       std::string* refusal = nullptr);
    void DeletePreference(std::string_view list, int32_t line);
    bool EditPreference(std::string_view list, int32_t line, TKordoRecordRef target, int32_t amount);
};
