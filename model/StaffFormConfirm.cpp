// The staff editor's confirm: the steps that write the form into the person and every record that
// hangs on him, and the preference lists written at once.
#include "StaffForm.h"

#include "KordoCheck.h"
#include "KordoDataWrappers.h"
#include "KordoFunctions.h"
#include "StaffFormFields.h"

#include <QString>

#include <algorithm>
#include <functional>

using namespace std::chrono;
using namespace StaffFormFields;

namespace {

// One confirm of the form into its current person. A control the user left as the focus filled it
// stands for what the record stores (its own bytes, not the control's display), so that confirming
// unchanged controls changes nothing; what the confirm itself creates (a squad joined, a contract
// block, an attribute record) is written from the controls.
class TStaffConfirm {
public:
    TStaffConfirm(StaffForm& form, TKordoPregameDatabase& database, TKordoStaff& staff)
        : Form(form), Database(database), Journal(database.Journal()), Staff(staff),
          Wrapper(&staff, Journal) {}

    // Works out what the controls ask for; false, with the reason, when a list the person would join
    // has no room.
    bool Plan(std::string& refusal);
    // Writes the plan, touching every record in the edit's journal before it is written.
    void Apply();

private:
    bool Changed(const char* name) const { return Form.Changed(name); }
    TKordoControl& Control(const char* name) { return Form.Control(name); }
    std::optional<sys_days> ChangedDate(const char* name, bool createdNow);
    void ApplyNames();
    void ApplyNationality();
    struct TSide;
    bool ApplyContract(const TSide& side, TKordoSquad* newSquad, uint8_t newJob, bool squadMoves);
    void ApplyClubContract();
    void ApplyStaffType();
    void ApplyNationalContract();
    void ApplyNumbers();
    std::u16string DisplayName() const;

    StaffForm& Form;
    TKordoPregameDatabase& Database;
    TKordoChangeJournal* Journal;
    TKordoStaff& Staff;
    TKordoStaffWrapper Wrapper;

    TKordoNation* NewNation = nullptr;
    bool SetSecondNation = false;
    TKordoNation* NewSecondNation = nullptr;
    TKordoSquad* NewSquad = nullptr;
    uint8_t NewJob = 0;
    bool SquadMoves = false;
    int32_t NewType = 0;
    bool TypeChanges = false;
    TKordoSquad* NewNationalSquad = nullptr;
    uint8_t NewNationJob = 0;
    bool NationalSquadMoves = false;
    // Pages whose store this confirm created or reset: their values are written whether changed or not.
    std::vector<std::string> FreshPages;
};

std::string Utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

std::u16string TStaffConfirm::DisplayName() const {
    std::u16string name = StaffDisplayName(Staff);
    return name.empty() ? u"this person" : name;
}

bool TStaffConfirm::Plan(std::string& refusal) {
    NewNation =
        Changed("cmbNation") ? Control("cmbNation").SelectedRecord().Get<TKordoNation>() : Staff.Nation;

    // The staff type; a type outside the list stays as it is.
    NewType = Changed("cmbStaffType") ? Control("cmbStaffType").SelectedCode() : Staff.StaffType();
    TypeChanges =
        NewType >= KordoStaffNonPlayer && NewType <= KordoStaffReferee && NewType != Staff.StaffType();
    const bool becomesReferee = TypeChanges && NewType == KordoStaffReferee;

    // A referee keeps no relation entries, so a second nation chosen on the way would go at once.
    NewSecondNation = Control("cmbSecondNation").SelectedRecord().Get<TKordoNation>();
    SetSecondNation =
        Changed("cmbSecondNation") && !becomesReferee && NewSecondNation != Wrapper.GetSecondNation();

    NewSquad = Staff.ClubSquad;
    if (Changed("cmbClubContracted") || Changed("cmbSquadContracted")) {
        const TKordoControl& squads = Control("cmbSquadContracted");
        TKordoClub* club = Control("cmbClubContracted").SelectedRecord().Get<TKordoClub>();
        if (!club)
            NewSquad = nullptr;
        else if (!squads.Items.empty())
            NewSquad = squads.SelectedRecord().Get<TKordoSquad>();
        else if (const std::vector<TKordoSquad*> clubSquads = KordoClubSquads(*club); !clubSquads.empty())
            NewSquad = clubSquads.front();
        else
            NewSquad = nullptr;
    }
    SquadMoves = NewSquad != Staff.ClubSquad;
    NewJob = Staff.ClubJob();
    if (Changed("cmbJob"))
        NewJob = static_cast<uint8_t>(std::max(0, Control("cmbJob").SelectedCode()));
    if (SquadMoves && !NewSquad)
        NewJob = 0; // no club, no job

    NewNationalSquad = Staff.NationSquad;
    if (Changed("cmbNationContracted")) {
        TKordoNation* nation = Control("cmbNationContracted").SelectedRecord().Get<TKordoNation>();
        NewNationalSquad = nation ? nation->NationalSquad : nullptr;
    }
    NationalSquadMoves = NewNationalSquad != Staff.NationSquad;
    NewNationJob = Staff.NationJob();
    if (Changed("cmbNationJob"))
        NewNationJob = static_cast<uint8_t>(std::max(0, Control("cmbNationJob").SelectedCode()));
    if (NationalSquadMoves && !NewNationalSquad)
        NewNationJob = 0;

    // Every list the person will join must have room, before anything changes. He joins lists at a
    // squad he moves to, or at his own squad when his job changes.
    auto joined = [](bool moves, TKordoSquad* to, bool jobChanges, TKordoSquad* stays) {
        return moves ? to : jobChanges ? stays : nullptr;
    };
    std::string list;
    TKordoSquad* clubSquad = joined(SquadMoves, NewSquad, NewJob != Staff.ClubJob(), Staff.ClubSquad);
    if (clubSquad && !Wrapper.CanJoinClubJob(clubSquad, NewJob, &list)) {
        std::u16string club = clubSquad->OwnerClub ? clubSquad->OwnerClub->ClubName : u"the club";
        refusal = "The list of " + list + " of " + Utf8(club) + " is full: " + Utf8(DisplayName()) +
                  " cannot join it. Nothing was changed.";
        return false;
    }
    TKordoSquad* nationalSquad =
        joined(NationalSquadMoves, NewNationalSquad, NewNationJob != Staff.NationJob(), Staff.NationSquad);
    if (nationalSquad && !Wrapper.CanJoinNationJob(nationalSquad, NewNationJob, &list)) {
        std::u16string nation =
            nationalSquad->OwnerNation ? nationalSquad->OwnerNation->NationName : u"the nation";
        refusal = "The list of " + list + " of the national team of " + Utf8(nation) +
                  " is full: " + Utf8(DisplayName()) + " cannot join it. Nothing was changed.";
        return false;
    }
    if (SetSecondNation && NewSecondNation && !Wrapper.GetSecondNation() &&
        Staff.Relations.size() >= KordoMaxRelations) {
        refusal = "The relation list of " + Utf8(DisplayName()) + " is full (" +
                  std::to_string(KordoMaxRelations) +
                  " entries): no second nation can be added. Nothing was changed.";
        return false;
    }
    return true;
}

void TStaffConfirm::Apply() {
    KordoTouch(Journal, &Staff);
    ApplyNames();
    ApplyNationality();
    if (SetSecondNation)
        Wrapper.SetSecondNation(NewSecondNation);
    if (auto date = ChangedDate("dtpDateOfBirth", false))
        Wrapper.SetDateOfBirth(*date);
    ApplyClubContract();
    ApplyNationalContract();
    ApplyNumbers();
}

// The date to write: the control's, when the user changed it or the confirm created what it belongs
// to; none when neither, or when the control shows no date.
std::optional<sys_days> TStaffConfirm::ChangedDate(const char* name, bool createdNow) {
    if (!createdNow && !Changed(name))
        return std::nullopt;
    return Control(name).Date;
}

void TStaffConfirm::ApplyNames() {
    struct TNameEdit {
        const char* Edit;
        TKordoNames& Table;
        TKordoName*& Name;
    };
    for (TNameEdit edit : {TNameEdit{"edFirstName", Database.FirstNames, Staff.FirstName},
                           TNameEdit{"edSecondName", Database.SecondNames, Staff.SecondName},
                           TNameEdit{"edCommonName", Database.CommonNames, Staff.CommonName}}) {
        if (!Changed(edit.Edit))
            continue;
        // Stored exactly as typed: every UTF-16 unit, whatever its script.
        const std::u16string& text = Control(edit.Edit).Text;
        TKordoName* old = edit.Name;
        if (old && old->Name == text)
            continue;
        TKordoName* name = nullptr;
        if (!text.empty()) {
            name = edit.Table.FindOrAdd(text, NewNation);
            edit.Table.AddUse(name);
        }
        if (old)
            edit.Table.Release(old);
        edit.Name = name;
    }
}

void TStaffConfirm::ApplyNationality() {
    if (NewNation == Staff.Nation)
        return;
    KordoTouch(Journal, Staff.Nation);
    KordoTouch(Journal, NewNation);
    // A damaged count of 0 stays 0 rather than wrap round.
    if (Staff.Nation && Staff.Nation->StaffCount() > 0)
        Staff.Nation->SetStaffCount(Staff.Nation->StaffCount() - 1);
    Staff.Nation = NewNation;
    if (NewNation)
        NewNation->SetStaffCount(NewNation->StaffCount() + 1);
    // Names belong to a nation: each moves to the same text in the new nation's group.
    for (auto [name, table] : {std::pair<TKordoName**, TKordoNames*>{&Staff.FirstName, &Database.FirstNames},
                               {&Staff.SecondName, &Database.SecondNames},
                               {&Staff.CommonName, &Database.CommonNames}}) {
        TKordoName* old = *name;
        if (!old || old->Nation == NewNation)
            continue;
        TKordoName* moved = table->FindOrAdd(old->Name, NewNation);
        table->AddUse(moved);
        table->Release(old);
        *name = moved;
    }
}

// A person's club side and national side follow the same steps, each with its own fields.
struct TStaffConfirm::TSide {
    TKordoSquad*& Squad;
    uint8_t (TKordoStaff::*Job)() const;
    void (TKordoStaff::*SetJob)(uint8_t);
    uint8_t (TKordoStaff::*HasContract)() const;
    void (TKordoStaff::*SetHasContract)(uint8_t);
    void (TKordoStaff::*SetDateJoined)(TKordoGameDate);
    TKordoGameDate LeftDate; // what the date joined becomes when the person leaves
    void (TKordoStaffWrapper::*InitContract)();
    void (TKordoStaffWrapper::*Leave)();
    bool (TKordoStaffWrapper::*Join)(TKordoSquad*, uint8_t);
    std::function<void(TKordoSquad*)> SetEmployer;
};

// The squad, then the job; true when a contract block was created.
bool TStaffConfirm::ApplyContract(const TSide& side, TKordoSquad* newSquad, uint8_t newJob, bool squadMoves) {
    bool created = false;
    if (squadMoves) {
        (Wrapper.*side.Leave)();
        (Wrapper.*side.Join)(newSquad, newJob);
        if (newSquad) {
            if (!side.Squad && JobHasContract(newJob)) {
                (Wrapper.*side.InitContract)();
                created = true;
            }
            if ((Staff.*side.HasContract)())
                side.SetEmployer(newSquad);
        } else {
            (Staff.*side.SetHasContract)(0);
            (Staff.*side.SetJob)(0);
            (Staff.*side.SetDateJoined)(side.LeftDate);
        }
        side.Squad = newSquad;
    }
    uint8_t oldJob = (Staff.*side.Job)();
    if (newJob == oldJob)
        return created;
    if (JobHasContract(oldJob) && !JobHasContract(newJob))
        (Staff.*side.SetHasContract)(0);
    if (!JobHasContract(oldJob) && JobHasContract(newJob)) {
        (Wrapper.*side.InitContract)();
        created = true;
        if (side.Squad)
            side.SetEmployer(side.Squad);
    }
    // The lists follow the job. A squad joined above was joined with the new job already: joining
    // again would, for a national manager, release the person himself.
    if (!squadMoves && side.Squad) {
        (Wrapper.*side.Leave)();
        (Wrapper.*side.Join)(side.Squad, newJob);
    }
    (Staff.*side.SetJob)(newJob);
    return created;
}

void TStaffConfirm::ApplyClubContract() {
    const bool contractCreated = ApplyContract(
        {Staff.ClubSquad, &TKordoStaff::ClubJob, &TKordoStaff::SetClubJob, &TKordoStaff::HasClubContract,
         &TKordoStaff::SetHasClubContract, &TKordoStaff::SetDateJoined, TKordoGameDate{0, 0},
         &TKordoStaffWrapper::InitClubContract, &TKordoStaffWrapper::LeaveClubJob,
         &TKordoStaffWrapper::JoinClubJob,
         [this](TKordoSquad* squad) { Staff.ClubContractEmployer = squad->OwnerClub; }},
        NewSquad, NewJob, SquadMoves);

    ApplyStaffType();

    if (!Staff.ClubSquad)
        return;
    if (auto date = ChangedDate("dtpDateJoined", SquadMoves))
        Wrapper.SetClubDateJoined(*date);
    if (!Staff.HasClubContract())
        return;
    if (auto date = ChangedDate("dtpContractExpires", contractCreated))
        Wrapper.SetClubContractExpires(*date);
    if (contractCreated || Changed("seEstimatedWage"))
        Wrapper.SetClubWage(Control("seEstimatedWage").Number);
    if (contractCreated || Changed("seSquadNumber")) {
        // A person who plays for no squad has no number.
        const TKordoControl& number = Control("seSquadNumber");
        Wrapper.SetClubSquadNumber(number.Enabled || !contractCreated ? number.Number : -1);
    }
}

void TStaffConfirm::ApplyStaffType() {
    if (!TypeChanges)
        return;
    const bool nonPlayer = NewType == KordoStaffNonPlayer || NewType == KordoStaffPlayerNonPlayer;
    const bool player = NewType == KordoStaffPlayer || NewType == KordoStaffPlayerNonPlayer;
    const bool mental = NewType != KordoStaffReferee;
    auto fill = [&](size_t from, size_t to, uint8_t value) {
        std::fill(Staff.Image.begin() + static_cast<ptrdiff_t>(from),
                  Staff.Image.begin() + static_cast<ptrdiff_t>(to) + 1, value);
    };
    if (nonPlayer && !Staff.NonPlayerAtts) {
        fill(5, 19, 0);
        Staff.NonPlayerAtts = Database.NonPlayerAtts.NewRecord();
        FreshPages.insert(FreshPages.end(), {"tsNonPlayer", "tsCoaching"});
    } else if (!nonPlayer && Staff.NonPlayerAtts) {
        Database.NonPlayerAtts.GiveBack(Staff.NonPlayerAtts);
        Staff.NonPlayerAtts = nullptr;
    }
    if (!player && Staff.PlayerAtts) {
        Database.PlayerAtts.GiveBack(Staff.PlayerAtts);
        Staff.PlayerAtts = nullptr;
    } else if (player && !Staff.PlayerAtts) {
        // The player part of the record starts as the game's own new players do.
        fill(20, 33, 0);
        Staff.Put<int32_t>(34, -1);
        fill(38, 43, 0);
        Staff.Put<int32_t>(44, 10000);
        Staff.Put<int32_t>(48, 10000);
        fill(52, 82, 0);
        Staff.Put<int32_t>(83, -1);
        fill(87, 117, 0);
        Staff.Put<int32_t>(118, -3);
        fill(122, 126, 0);
        Staff.PlayerAtts = Database.PlayerAtts.NewRecord();
        FreshPages.insert(FreshPages.end(), {"tsAbility", "tsTechnical", "tsMentalPhysical"});
    }
    if (mental && !Staff.MentalAtts) {
        Staff.MentalAtts = Database.MentalAtts.NewRecord();
        FreshPages.push_back("tsMental");
    } else if (!mental) {
        fill(127, 150, 0);
        Staff.Put<int32_t>(127, -1);
        if (Staff.MentalAtts)
            Database.MentalAtts.GiveBack(Staff.MentalAtts);
        Staff.MentalAtts = nullptr;
        // A referee has no favourites, dislikes or second nationality.
        Staff.Relations.clear();
        FreshPages.push_back("tsReferee");
    }
    Staff.SetStaffType(static_cast<uint8_t>(NewType));
}

void TStaffConfirm::ApplyNationalContract() {
    const bool contractCreated = ApplyContract(
        {Staff.NationSquad, &TKordoStaff::NationJob, &TKordoStaff::SetNationJob,
         &TKordoStaff::HasNationContract, &TKordoStaff::SetHasNationContract,
         &TKordoStaff::SetDateJoinedNation, TKordoGameDate{0, 1900}, &TKordoStaffWrapper::InitNationContract,
         &TKordoStaffWrapper::LeaveNationJob, &TKordoStaffWrapper::JoinNationJob,
         [this](TKordoSquad* squad) { Staff.NationContractEmployer = squad->OwnerNation; }},
        NewNationalSquad, NewNationJob, NationalSquadMoves);
    if (!Staff.NationSquad)
        return;
    if (auto date = ChangedDate("dtpDateJoinedNation", NationalSquadMoves))
        Wrapper.SetNationDateJoined(*date);
    if (Staff.HasNationContract())
        if (auto date = ChangedDate("dtpContractExpiresNation", contractCreated))
            Wrapper.SetNationContractExpires(*date);
}

// The plain numbers of the pages the stored type shows (the type may have just changed).
void TStaffConfirm::ApplyNumbers() {
    const int32_t type = Staff.StaffType();
    for (const TKordoControl& control : Form.Controls) {
        if (control.Field.Store == TKordoStore::None || !PageShownFor(control.Page, type))
            continue;
        bool fresh = std::find(FreshPages.begin(), FreshPages.end(), control.Page) != FreshPages.end();
        if (!fresh && !Form.Changed(control.Name))
            continue;
        uint8_t* image = StoreImage(Staff, control.Field.Store);
        if (!image)
            continue;
        TouchStore(Journal, Staff, control.Field.Store);
        int32_t value =
            control.Kind == TKordoControlKind::IntegerList ? control.SelectedCode() : control.Number;
        if (control.Kind == TKordoControlKind::IntegerList && value < 0)
            continue;
        WriteField(image, control.Field, value);
    }
}

} // namespace

bool StaffForm::Confirm(std::string* refusal) {
    std::string reason;
    if (!Current || !Database) {
        if (refusal)
            *refusal = "Nobody is shown.";
        return false;
    }
    // The game cannot show a control character (a tab, a line break, NUL) in a name; a name that
    // already holds one is kept as long as it is not edited.
    for (const char* name : {"edFirstName", "edSecondName", "edCommonName"})
        if (Changed(name) && KordoHasControlCharacter(Control(name).Text)) {
            if (refusal)
                *refusal =
                    "A name cannot hold a control character (a tab, a line break or the like). Nothing "
                    "was changed.";
            return false;
        }
    TStaffConfirm confirm(*this, *Database, *Current);
    if (!confirm.Plan(reason)) {
        if (refusal)
            *refusal = reason;
        return false;
    }
    confirm.Apply();
    // The form shows the record as it now is, and remembers that as unchanged.
    Focus(Current);
    return true;
}

// Preferences -------------------------------------------------------------------------------------------

bool StaffForm::AddPreference(std::string_view list, TKordoRecordRef target, int32_t amount,
                              std::string* refusal) {
    const TKordoPreferenceList kind = KordoPreferenceListOf(list);
    Control(list); // a list of this page
    if (!Current || !Database || !KordoListHolds(kind, target))
        return true;
    // A referee keeps no relation entries: a confirm that makes a person a referee clears them.
    if (Current->StaffType() == KordoStaffReferee) {
        if (refusal)
            *refusal = "A referee has no preferences. Nothing was changed.";
        return false;
    }
    TKordoStaffWrapper wrapper(Current, Database->Journal());
    const uint16_t bounded = KordoPreferenceAmount(amount);
    auto add = [&] {
        if (kind.StaffMode)
            return wrapper.AddStaffPreference(target.Get<TKordoStaff>(), kind.Favourite, bounded);
        return wrapper.AddClubPreference(target.Get<TKordoClub>(), kind.Favourite, bounded);
    };
    if (!KordoEditRelations(add, refusal, StaffDisplayName(*Current)))
        return false;
    RefreshPreferences();
    return true;
}

void StaffForm::DeletePreference(std::string_view list, int32_t line) {
    if (!Current || !Database)
        return;
    KordoTouch(Database->Journal(), Current);
    KordoDeletePreference(Current->Relations, Control(list), line);
    RefreshPreferences();
}

bool StaffForm::EditPreference(std::string_view list, int32_t line, TKordoRecordRef target, int32_t amount) {
    if (!Current || !Database)
        return false;
    KordoTouch(Database->Journal(), Current);
    if (!KordoEditPreference(Current->Relations, Control(list), line, target, amount))
        return false;
    RefreshPreferences();
    return true;
}
