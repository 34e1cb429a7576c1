// The staff editor's fill and state rules: binding the lists, filling every control from the focused
// person, and what changing a list does to the other controls.
#include "StaffForm.h"

#include "KordoDataWrappers.h"
#include "KordoFunctions.h"
#include "KordoSearch.h"
#include "StaffFormFields.h"

#include <algorithm>

using namespace std::chrono;
using namespace StaffFormFields;

namespace {

const sys_days ClearedDay = sys_days(1900y / January / 1);

std::u16string NameText(const TKordoName* name) {
    return name ? name->Name : std::u16string();
}

std::u16string Decimal(int32_t value) {
    std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

const std::vector<int32_t>& JobsOfType(int32_t type) {
    static const std::vector<int32_t> nonPlayer{0, 2, 4, 8, 10, 12, 14, 16, 20, 24};
    static const std::vector<int32_t> player{0, 1};
    static const std::vector<int32_t> playerNonPlayer{0, 3, 17, 21};
    static const std::vector<int32_t> referee{0};
    switch (type) {
    case KordoStaffNonPlayer:
        return nonPlayer;
    case KordoStaffPlayer:
        return player;
    case KordoStaffPlayerNonPlayer:
        return playerNonPlayer;
    default:
        return referee;
    }
}

std::vector<TKordoListItem> JobItems(const std::vector<int32_t>& codes) {
    std::vector<TKordoListItem> items;
    for (int32_t code : codes)
        items.push_back({JobText(static_cast<uint8_t>(code)), code});
    return items;
}

constexpr const char16_t* Formations[] = {
    u"<Not Specified>", u"5-3-2 Sweeper", u"5-3-2", u"4-4-2",   u"4-3-3",   u"4-2-4",  u"3-5-2",
    u"4-1-2-1-2",       u"4-5-1",         u"3-4-3", u"3-4-1-2", u"3-4-2-1", u"Unknown"};
constexpr int32_t UnknownFormation = 12;

bool Sorts(const TKordoListItem& a, const TKordoListItem& b) {
    return KordoCompareNames(a.Text, b.Text) < 0;
}

// A list of records already in collation order with its leading item (which sorts before the records
// that collate equal to it, as it was added first).
void SetSortedItems(TKordoControl& control, const TKordoListItem& first,
                    const std::vector<TKordoListItem>& sorted) {
    std::vector<TKordoListItem> items;
    items.reserve(sorted.size() + 1);
    auto at = std::lower_bound(sorted.begin(), sorted.end(), first, Sorts);
    items.insert(items.end(), sorted.begin(), at);
    items.push_back(first);
    items.insert(items.end(), at, sorted.end());
    control.ClearItems();
    control.Items = std::move(items);
}

// A stored date the calendar cannot show leaves the control "not set".
void SetDate(TKordoControl& control, TKordoGameDate date) {
    control.Date = GameDateToDateTime(date);
}

} // namespace

void StaffForm::Bind(TKordoPregameDatabase* database, const TKordoProgressEvent& progress) {
    Database = database;
    Current = nullptr;
    DetailsEnabled = false;

    std::vector<TKordoListItem> types;
    for (int32_t type = KordoStaffNonPlayer; type <= KordoStaffReferee; ++type)
        types.push_back({StaffTypeText(static_cast<uint8_t>(type)), type});
    Control("cmbStaffType").SetItems(std::move(types));
    Control("cmbNationJob").SetItems(JobItems(JobsOfType(KordoStaffNonPlayer)));
    std::vector<TKordoListItem> formations;
    for (int32_t code = 0; code <= UnknownFormation; ++code)
        formations.push_back({Formations[code], code});
    Control("cmbPreferredFormation").SetItems(std::move(formations));

    auto report = [&](int32_t count, int32_t row) {
        if (progress)
            progress(KordoPercentage(count, row));
    };
    std::vector<TKordoListItem> nations, clubs;
    if (database) {
        int32_t count = database->Nations.Count();
        nations.reserve(static_cast<size_t>(count));
        for (int32_t row = 0; row < count; ++row) {
            TKordoNation* nation = database->Nations.Item(row);
            nations.push_back({nation->NationName, -1, nation});
            report(count, row);
        }
        count = database->Clubs.Count();
        for (int32_t row = 0; row < count; ++row) {
            TKordoClub* club = database->Clubs.Item(row);
            // A club none of whose squads resolved has none to join.
            if (std::any_of(club->Squads.begin(), club->Squads.end(),
                            [](const TKordoSquad* squad) { return squad != nullptr; }))
                clubs.push_back({club->ClubName, -1, club});
            report(count, row);
        }
    }
    // Each list sorted once, however many lists show it.
    std::stable_sort(nations.begin(), nations.end(), Sorts);
    std::stable_sort(clubs.begin(), clubs.end(), Sorts);
    SetSortedItems(Control("cmbNation"), {u"<unspecified>"}, nations);
    SetSortedItems(Control("cmbSecondNation"), {u"<unspecified>"}, nations);
    SetSortedItems(Control("cmbNationContracted"), {u"<No National Team>"}, nations);
    SetSortedItems(Control("cmbClubContracted"), {u"<No Club>"}, clubs);

    for (const char* list : {"cmbJob", "cmbSquadContracted", "lboxFavouriteStaff", "lboxFavouriteClubs",
                             "lboxDislikedStaff", "lboxDislikedClubs"})
        Control(list).ClearItems();
}

void StaffForm::Focus(TKordoStaff* staff) {
    if (!staff) {
        DetailsEnabled = false;
        return;
    }
    Current = staff;
    const int32_t type = staff->StaffType();

    // Personal and nationality.
    Control("edPictureID").Text = Decimal(staff->PictureID());
    Control("edFirstName").Text = NameText(staff->FirstName);
    Control("edSecondName").Text = NameText(staff->SecondName);
    Control("edCommonName").Text = NameText(staff->CommonName);
    SetDate(Control("dtpDateOfBirth"), staff->DateOfBirth());
    Control("cmbStaffType").SelectCode(type);
    Control("cmbNation").SelectRecord(staff->Nation);
    Control("cmbSecondNation").SelectRecord(TKordoStaffWrapper(staff).GetSecondNation());

    // Club side. Without a contract block, expiry, wage and squad number keep what they showed.
    if (TKordoSquad* squad = staff->ClubSquad) {
        Control("cmbClubContracted").SelectRecord(squad->OwnerClub);
        FillJobList();
        Control("cmbJob").SelectCode(staff->ClubJob());
        FillSquadList();
        TKordoControl& squads = Control("cmbSquadContracted");
        if (squads.Items.size() > 1)
            squads.SelectRecord(squad);
        SetDate(Control("dtpDateJoined"), staff->DateJoined());
        if (staff->HasClubContract()) {
            SetDate(Control("dtpContractExpires"), staff->ClubContractExpires());
            Control("seEstimatedWage").Number = static_cast<int32_t>(staff->ClubEstimatedWage());
            // 255 is how the file says "no number".
            uint8_t number = staff->ClubSquadNumber();
            Control("seSquadNumber").Number = number == 255 ? -1 : number;
        }
    } else {
        Control("cmbClubContracted").SelectRecord(nullptr);
        FillJobList();
        FillSquadList();
    }

    // National side.
    if (TKordoSquad* squad = staff->NationSquad) {
        Control("cmbNationContracted").SelectRecord(squad->OwnerNation);
        Control("cmbNationJob").SelectCode(staff->NationJob());
        SetDate(Control("dtpDateJoinedNation"), staff->DateJoinedNation());
        if (staff->HasNationContract())
            SetDate(Control("dtpContractExpiresNation"), staff->NationContractExpires());
    } else {
        Control("cmbNationContracted").SelectRecord(nullptr);
    }

    // The numbers of the pages the type shows; the other pages keep their values.
    for (TKordoControl& control : Controls) {
        if (control.Field.Store == TKordoStore::None || !PageShownFor(control.Page, type))
            continue;
        const uint8_t* image = StoreImage(*staff, control.Field.Store);
        if (!image)
            continue;
        int32_t value = ReadField(image, control.Field);
        if (control.Kind == TKordoControlKind::IntegerList) {
            control.SelectCode(value);
            if (control.Selected < 0)
                control.SelectCode(UnknownFormation);
        } else {
            control.Number = value;
        }
    }

    if (type != KordoStaffReferee)
        RefreshPreferences();
    UpdateControlStates();
    DetailsEnabled = true;
    RememberValues();
}

void StaffForm::Cancel() {
    if (Current)
        Focus(Current);
}

void StaffForm::FillJobList() {
    TKordoControl& jobs = Control("cmbJob");
    const TKordoControl& type = Control("cmbStaffType");
    const TKordoControl& club = Control("cmbClubContracted");
    if (type.Selected < 0 || !club.SelectedRecord()) {
        jobs.ClearItems();
        return;
    }
    jobs.SetItems(JobItems(JobsOfType(type.SelectedCode())));
    if (Current && Current->ClubJob() > 0) {
        jobs.SelectCode(Current->ClubJob());
        if (jobs.Selected < 0)
            jobs.SelectIndex(0);
    } else {
        jobs.SelectIndex(0);
    }
}

void StaffForm::FillSquadList() {
    TKordoControl& squads = Control("cmbSquadContracted");
    TKordoClub* club = Control("cmbClubContracted").SelectedRecord().Get<TKordoClub>();
    const TKordoControl& job = Control("cmbJob");
    const std::vector<TKordoSquad*> clubSquads =
        club && job.Selected >= 0 && JobHasContract(static_cast<uint8_t>(job.SelectedCode()))
            ? KordoClubSquads(*club)
            : std::vector<TKordoSquad*>();
    if (clubSquads.size() <= 1) {
        squads.ClearItems();
        return;
    }
    std::vector<TKordoListItem> items;
    for (TKordoSquad* squad : clubSquads) {
        // A club's first team, reserves and so on are clubs of their own, found by the squad's club ID.
        TKordoClub* owner = Database ? Database->Clubs.FindClub(squad->OwnerClubID()) : nullptr;
        items.push_back({owner ? owner->ClubName : std::u16string(), -1, squad});
    }
    squads.SetItems(std::move(items));
    if (Current && Current->ClubSquad) {
        squads.SelectRecord(Current->ClubSquad);
        if (squads.Selected < 0)
            squads.SelectIndex(0);
    } else {
        squads.SelectIndex(0);
    }
}

void StaffForm::UpdateControlStates() {
    const int32_t type = Control("cmbStaffType").SelectedCode();
    for (TKordoFormPage& page : Pages)
        page.Visible = PageShownFor(page.Name, type);

    TKordoControl& squads = Control("cmbSquadContracted");
    TKordoControl& job = Control("cmbJob");
    TKordoControl& joined = Control("dtpDateJoined");
    squads.Enabled = !squads.Items.empty();
    job.Enabled = bool(Control("cmbClubContracted").SelectedRecord());
    joined.Enabled = job.Enabled;
    if (!joined.Enabled)
        joined.Date = ClearedDay;

    TKordoControl& expires = Control("dtpContractExpires");
    TKordoControl& wage = Control("seEstimatedWage");
    TKordoControl& number = Control("seSquadNumber");
    expires.Enabled =
        job.Enabled && job.Selected >= 0 && JobHasContract(static_cast<uint8_t>(job.SelectedCode()));
    wage.Enabled = expires.Enabled;
    number.Enabled = expires.Enabled && (type == KordoStaffPlayer || type == KordoStaffPlayerNonPlayer);
    if (!expires.Enabled) {
        expires.Date = ClearedDay;
        wage.Number = 0;
        number.Number = -1;
    }

    TKordoControl& nation = Control("cmbNationContracted");
    TKordoControl& nationJob = Control("cmbNationJob");
    TKordoControl& nationJoined = Control("dtpDateJoinedNation");
    TKordoControl& nationExpires = Control("dtpContractExpiresNation");
    nation.Enabled = type == KordoStaffNonPlayer || type == KordoStaffPlayerNonPlayer;
    nationJob.Enabled = nation.Enabled && bool(nation.SelectedRecord());
    if (!nationJob.Enabled)
        nationJob.Selected = -1;
    nationJoined.Enabled = nationJob.Enabled;
    nationExpires.Enabled = nationJob.Enabled && nationJob.Selected >= 0 &&
                            JobHasContract(static_cast<uint8_t>(nationJob.SelectedCode()));
    for (TKordoControl* date : {&nationJoined, &nationExpires})
        if (!date->Enabled)
            date->Date = ClearedDay;
}

void StaffForm::RefreshPreferences() {
    std::vector<TKordoListItem> favouriteStaff, favouriteClubs, dislikedStaff, dislikedClubs;
    if (Current) {
        for (const TKordoRelation& entry : Current->Relations) {
            std::vector<TKordoListItem>* list = nullptr;
            if (entry.Kind == KordoKindPerson && entry.Relation == KordoRelationFavouritePerson)
                list = &favouriteStaff;
            else if (entry.Kind == KordoKindPerson && entry.Relation == KordoRelationDislikedPerson)
                list = &dislikedStaff;
            else if (entry.Kind == KordoKindClub && entry.Relation == KordoRelationFavouriteClub)
                list = &favouriteClubs;
            else if (entry.Kind == KordoKindClub && entry.Relation == KordoRelationDislikedClub)
                list = &dislikedClubs;
            if (!list)
                continue; // the second nationality among them
            // A target that resolved to nothing keeps its line, so that it can be deleted.
            std::u16string text = KordoNoNameText;
            if (entry.Kind == KordoKindPerson && entry.TargetStaff())
                text = StaffDisplayName(*entry.TargetStaff());
            else if (entry.Kind == KordoKindClub && entry.TargetClub())
                text = entry.TargetClub()->ShortClubName;
            list->push_back({std::move(text), -1, entry.Target});
        }
    }
    Control("lboxFavouriteStaff").SetItems(std::move(favouriteStaff));
    Control("lboxFavouriteClubs").SetItems(std::move(favouriteClubs));
    Control("lboxDislikedStaff").SetItems(std::move(dislikedStaff));
    Control("lboxDislikedClubs").SetItems(std::move(dislikedClubs));
}

bool StaffForm::HeadingEnabled(std::u16string_view heading) const {
    return heading != u"National Team Contracted:" || Control("cmbNationContracted").Enabled;
}

void StaffForm::cmbStaffTypeChange() {
    // The pages still show the previous type's visibility.
    const int32_t type = Control("cmbStaffType").SelectedCode();
    auto hidden = [&](const char* page) { return !Page(page).Visible; };
    auto zeroPage = [&](const char* page) {
        for (TKordoControl& control : Controls)
            if (control.Page == page && control.Kind == TKordoControlKind::Spin)
                control.Number = 0;
    };
    if (hidden("tsContract") && type != KordoStaffReferee) {
        Control("cmbClubContracted").SelectRecord(nullptr);
        Control("cmbSquadContracted").Selected = -1;
        Control("dtpDateJoined").Date = ClearedDay;
        Control("dtpContractExpires").Date = ClearedDay;
        Control("seEstimatedWage").Number = 0;
        Control("seSquadNumber").Number = -1;
    }
    if (hidden("tsMental") && type != KordoStaffReferee)
        zeroPage("tsMental");
    for (const char* page : {"tsAbility", "tsTechnical", "tsMentalPhysical"})
        if (hidden(page) && type != KordoStaffReferee && type != KordoStaffNonPlayer)
            zeroPage(page);
    if (hidden("tsNonPlayer") && type != KordoStaffReferee && type != KordoStaffPlayer)
        zeroPage("tsNonPlayer");
    if (hidden("tsCoaching") && type != KordoStaffReferee && type != KordoStaffPlayer) {
        zeroPage("tsCoaching");
        Control("cmbPreferredFormation").SelectCode(0);
    }
    if (hidden("tsReferee") && type == KordoStaffReferee)
        zeroPage("tsReferee");
    FillJobList();
    FillSquadList();
    UpdateControlStates();
    if (type == KordoStaffReferee)
        Control("cmbClubContracted").SelectRecord(nullptr);
}

void StaffForm::cmbClubContractedChange() {
    FillJobList();
    TKordoControl& job = Control("cmbJob");
    if (job.SelectedCode() == 0)
        job.SelectIndex(1); // the first real job in sorted order
    FillSquadList();
    UpdateControlStates();
}

void StaffForm::cmbJobChange() {
    FillSquadList();
    UpdateControlStates();
}

void StaffForm::cmbNationContractedChange() {
    TKordoControl& job = Control("cmbNationJob");
    if (job.Selected < 0 || job.SelectedCode() == 0)
        job.SelectIndex(1); // "Assistant Manager" in sorted order
    UpdateControlStates();
}

void StaffForm::cmbPreferredFormationChange() {
    // A coach's formation has nothing to do with his national job.
    UpdateControlStates();
}

bool StaffForm::RunChangeHandler(std::string_view name) {
    if (name == "cmbStaffType")
        cmbStaffTypeChange();
    else if (name == "cmbClubContracted")
        cmbClubContractedChange();
    else if (name == "cmbJob")
        cmbJobChange();
    else if (name == "cmbNationContracted" || name == "cmbNationJob")
        cmbNationContractedChange();
    else if (name == "cmbPreferredFormation")
        cmbPreferredFormationChange();
    else
        return false;
    return true;
}
