// The staff editor as plain data: the ten pages of a person with every control, the rules that fill
// them from the focused person, show, hide, enable and reset them when a list changes, and the confirm
// that writes them back into the person and every record that hangs on him. TframeStaff shows this
// form; the command-line tool drives it without a window.
#pragma once

#include "KordoForm.h"
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
    // clubs are gathered.
    void Bind(TKordoPregameDatabase* database, const TKordoProgressEvent& progress = {});

    TKordoPregameDatabase* Database = nullptr;
    TKordoStaff* Current = nullptr; // the person shown; stays when the focus leaves every row
    bool DetailsEnabled = false;    // the pages and the Confirm and Cancel buttons

    // A row got the focus (the person), or none (nullptr): fill every control from the person in
    // the editor's order, update the control states and remember the values; with none, only
    // disable the details.
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
    void cmbNationContractedChange(); // the nation and the national job lists
    void cmbPreferredFormationChange();
    // Runs the change handler of the named control; false when the control has none.
    bool RunChangeHandler(std::string_view name);

    // "Confirm Changes": writes the form into the current person. Refused, with the reason in
    // `refusal` and nothing changed, when a list the person would join is full. Sets the database's
    // Modified flag when anything was written.
    bool Confirm(std::string* refusal = nullptr);
};
