// The club editor as plain data: the General, Board & Scouts and Preferences pages of a club and one
// squad form per squad page, with the rules that fill them from the focused club and write them back.
// TframeClub and TframeSquad show these forms; the command-line tool drives them without a window.
#pragma once

#include "KordoForm.h"
#include "KordoPreferences.h"
#include "KordoPregameDatabase.h"

#include <string>
#include <vector>

// One squad page: "Ge&neral" (seReputation 0..10000 step 500, cmbHomeMatchDay), "S&taff" (edManager,
// lboxCoaches, lboxPhysios) and "P&layers" (lboxPlayers).
class SquadForm : public TKordoForm {
public:
    SquadForm();

    TKordoSquad* Squad = nullptr;
    std::u16string Caption; // the page's caption: the ClubName of the squad's owner club by its ID

    // Fills the page from the squad and remembers the values.
    void ShowSquad(TKordoPregameDatabase& database, TKordoSquad* squad);
    // The reputation box lost the focus: rounded down to a multiple of 500.
    void seReputationExit();
    // Writes the page into the squad, touching it in the edit's journal first; an unchanged control
    // keeps the stored value.
    void StoreSquad(TKordoChangeJournal* journal = nullptr);
};

class ClubForm : public TKordoForm {
public:
    ClubForm();

    // Binds a database, or none, and fills cmbNation ("<unspecified>" first) and
    // cmbProfessionalStatus; each list is emptied before. Nobody is focused afterwards.
    void Bind(TKordoPregameDatabase* database, const TKordoProgressEvent& progress = {});

    TKordoPregameDatabase* Database = nullptr;
    TKordoClub* Current = nullptr; // stays when the focus leaves every row
    bool DetailsEnabled = false;   // the pages and the Confirm and Cancel buttons
    std::vector<SquadForm> Squads; // one per squad page, rebuilt on every focus

    // A row got the focus (the club), or none: fill every page, rebuild the squad pages, remember the
    // values; with none, only disable the details.
    void Focus(TKordoClub* club);
    // "Cancel Changes": fill again from the current club.
    void Cancel();
    void RefreshPreferences();
    // "Confirm Changes": nation (moving one ClubCount), the General values, then every squad page.
    // Unchanged controls keep the stored values.
    bool Confirm(std::string* refusal = nullptr);

    // The people the pages show, for opening them in the staff editor: the chairman, or the person
    // on the line of a list box of people (lboxBoardMembers, lboxScouts, lboxFavouriteStaff,
    // lboxDislikedStaff; nullptr for another list or no such line). A squad page's people are the
    // records its list boxes' items carry.
    TKordoStaff* Chairman() const;
    TKordoStaff* PersonOnLine(std::string_view list, int32_t line) const;

    // The preference lists of the "&Preferences" page (lboxRivals, lboxFavouriteStaff,
    // lboxDislikedStaff), written at once. See KordoPreferences.h.
    bool AddPreference(std::string_view list, TKordoRecordRef target, int32_t amount,
                       std::string* refusal = nullptr);
    void DeletePreference(std::string_view list, int32_t line);
    bool EditPreference(std::string_view list, int32_t line, TKordoRecordRef target, int32_t amount,
                        std::string* refusal = nullptr);
    // A club as its own rival is refused (true, with the reason), by Add and by Edit.
    bool OwnRival(std::string_view list, const TKordoRecordRef& target, std::string* refusal) const;

private:
    void FillGeneral();
    void RebuildSquadPages();
};
