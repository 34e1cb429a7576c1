#include "ClubForm.h"

#include "KordoDataWrappers.h"
#include "KordoFunctions.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

// The layout ------------------------------------------------------------------------------------------

constexpr auto Spin = TKordoControlKind::Spin;
constexpr auto Edit = TKordoControlKind::Edit;
constexpr auto IntegerList = TKordoControlKind::IntegerList;
constexpr auto PointerList = TKordoControlKind::PointerList;
constexpr auto ListBox = TKordoControlKind::ListBox;

struct TSection {
    const char* Page;
    const char16_t* Caption; // the page's tab caption
    const char16_t* Heading; // nullptr: none
    std::vector<TKordoControl> Rows;
};

TKordoControl Row(const char16_t* label, const char* name, TKordoControlKind kind) {
    TKordoControl control;
    control.Name = name;
    control.Kind = kind;
    control.Label = label;
    return control;
}
TKordoControl Shown(const char16_t* label, const char* name) {
    TKordoControl control = Row(label, name, Edit);
    control.ReadOnly = true;
    return control;
}
TKordoControl Number(const char16_t* label, const char* name, int32_t minimum, int32_t maximum,
                     int32_t step = 1) {
    TKordoControl control = Row(label, name, Spin);
    control.Minimum = minimum;
    control.Maximum = maximum;
    control.Step = step;
    return control;
}
TKordoControl List(const char16_t* label, const char* name, TKordoControlKind kind, bool sorted = false) {
    TKordoControl control = Row(label, name, kind);
    control.Sorted = sorted;
    return control;
}
// List boxes of people are sorted by name; preference lists keep the order of the entries.
TKordoControl People(const char16_t* label, const char* name, bool sorted = true) {
    return List(label, name, ListBox, sorted);
}

// The check box "Public Limited Company:" is a number, 0 or 1 (checked).
const std::vector<TSection>& ClubLayout() {
    static const std::vector<TSection> sections{
        {"tsGeneral",
         u"&General",
         u"General:",
         {Shown(u"Club Name:", "edClubName"), Shown(u"Short Club Name:", "edShortClubName"),
          Shown(u"Nickname 1:", "edNickname1"), Shown(u"Nickname 2:", "edNickname2"),
          List(u"Nation:", "cmbNation", PointerList, true),
          List(u"Professional Status:", "cmbProfessionalStatus", IntegerList),
          Number(u"Minimum Attendance:", "seMinimumAttendance", 0, 200000),
          Number(u"Average Attendance:", "seAverageAttendance", 0, 200000),
          Number(u"Maximum Attendance:", "seMaximumAttendance", 0, 200000),
          Number(u"Training Facilities:", "seTraining", 0, 20),
          Number(u"Public Limited Company:", "cbPublicLimitedCompany", 0, 1),
          Number(u"Balance:", "seBalance", -200000000, 200000000)}},
        {"tsBoardScouts",
         u"&Board && Scouts",
         nullptr,
         {Shown(u"Chairman:", "edChairman"), People(u"Board Members:", "lboxBoardMembers"),
          People(u"Scouts:", "lboxScouts")}},
        {"tsPreferences",
         u"&Preferences",
         nullptr,
         {People(u"Rivals:", "lboxRivals", false), People(u"Favourite Staff:", "lboxFavouriteStaff", false),
          People(u"Disliked Staff:", "lboxDislikedStaff", false)}},
        // One squad form per squad page: ClubForm::Squads.
        {"tsSquads", u"S&quads", nullptr, {}},
    };
    return sections;
}

const std::vector<TSection>& SquadLayout() {
    static const std::vector<TSection> sections{
        {"tsGeneral",
         u"Ge&neral",
         u"General:",
         {Number(u"Reputation:", "seReputation", 0, 10000, 500),
          List(u"Home Match Day:", "cmbHomeMatchDay", IntegerList)}},
        {"tsStaff",
         u"S&taff",
         nullptr,
         {Shown(u"Manager:", "edManager"), People(u"Coaches:", "lboxCoaches"),
          People(u"Physios:", "lboxPhysios")}},
        {"tsPlayers", u"P&layers", nullptr, {People(u"", "lboxPlayers")}},
    };
    return sections;
}

// The plain numbers of the General page and the club fields they edit. A stored number the control
// cannot hold is shown as the nearest it can.
struct TClubNumber {
    const char* Name;
    int32_t (*Read)(const TKordoClub&);
    void (*Write)(TKordoClub&, int32_t);
};

int32_t Saturated(uint32_t value) {
    return static_cast<int32_t>(std::min<uint32_t>(value, std::numeric_limits<int32_t>::max()));
}

const TClubNumber ClubNumbers[] = {
    {"seMinimumAttendance", [](const TKordoClub& c) { return Saturated(c.MinimumAttendance()); },
     [](TKordoClub& c, int32_t v) { c.SetMinimumAttendance(static_cast<uint32_t>(v)); }},
    {"seAverageAttendance", [](const TKordoClub& c) { return Saturated(c.AverageAttendance()); },
     [](TKordoClub& c, int32_t v) { c.SetAverageAttendance(static_cast<uint32_t>(v)); }},
    {"seMaximumAttendance", [](const TKordoClub& c) { return Saturated(c.MaximumAttendance()); },
     [](TKordoClub& c, int32_t v) { c.SetMaximumAttendance(static_cast<uint32_t>(v)); }},
    {"seTraining", [](const TKordoClub& c) { return static_cast<int32_t>(c.Training()); },
     [](TKordoClub& c, int32_t v) { c.SetTraining(static_cast<uint8_t>(v)); }},
    {"cbPublicLimitedCompany", [](const TKordoClub& c) { return c.PublicLimitedCompany() != 0 ? 1 : 0; },
     [](TKordoClub& c, int32_t v) { c.SetPublicLimitedCompany(static_cast<uint8_t>(v)); }},
    {"seBalance", [](const TKordoClub& c) { return c.Balance(); },
     [](TKordoClub& c, int32_t v) { c.SetBalance(v); }},
};

// Builds a form's pages and controls from its table, through the form's own AddPage and Add.
template <class AddPage, class AddControl>
void BuildForm(const std::vector<TSection>& layout, AddPage addPage, AddControl addControl) {
    for (const TSection& section : layout) {
        addPage(section.Page, section.Caption);
        for (TKordoControl control : section.Rows) {
            control.Page = section.Page;
            control.Heading = section.Heading ? section.Heading : u"";
            addControl(std::move(control));
        }
    }
}

std::u16string PersonText(const TKordoStaff* staff) {
    return staff ? StaffDisplayName(*staff) : std::u16string();
}

// A list box of people; a reference that did not resolve on loading has no line.
std::vector<TKordoListItem> PeopleItems(const std::vector<TKordoStaff*>& people) {
    std::vector<TKordoListItem> items;
    items.reserve(people.size());
    for (TKordoStaff* staff : people)
        if (staff)
            items.push_back({StaffDisplayName(*staff), -1, staff});
    return items;
}

// What the user typed, kept within what the control offers.
int32_t Bounded(const TKordoControl& control) {
    return std::clamp(control.Number, control.Minimum, control.Maximum);
}

constexpr const char16_t* MatchDays[] = {u"Unset",     u"Sunday",   u"Monday", u"Tuesday",
                                         u"Wednesday", u"Thursday", u"Friday", u"Saturday"};

} // namespace

// Squad -------------------------------------------------------------------------------------------------

SquadForm::SquadForm() {
    BuildForm(
        SquadLayout(), [this](std::string name, std::u16string caption) { AddPage(name, caption); },
        [this](TKordoControl control) { Add(std::move(control)); });
    std::vector<TKordoListItem> days;
    for (int32_t day = 0; day < static_cast<int32_t>(std::size(MatchDays)); ++day)
        days.push_back({MatchDays[day], day});
    Control("cmbHomeMatchDay").SetItems(std::move(days));
}

void SquadForm::ShowSquad(TKordoPregameDatabase& database, TKordoSquad* squad) {
    Squad = squad;
    // A club's first team, reserves and so on are shown under the name of the club their ID names.
    const TKordoClub* owner = squad ? database.Clubs.FindClub(squad->OwnerClubID()) : nullptr;
    Caption = owner ? owner->ClubName : std::u16string();
    if (squad) {
        Control("seReputation").Number = squad->Reputation();
        Control("cmbHomeMatchDay").SelectCode(squad->HomeMatchDay());
        Control("edManager").Text = PersonText(squad->Manager);
        Control("lboxCoaches").SetItems(PeopleItems(squad->Coaches));
        Control("lboxPhysios").SetItems(PeopleItems(squad->Physios));
        Control("lboxPlayers").SetItems(PeopleItems(squad->Players));
    }
    RememberValues();
}

void SquadForm::seReputationExit() {
    // Only what the user typed is rounded: a stored reputation stays as it is until he changes it.
    if (!Changed("seReputation"))
        return;
    TKordoControl& reputation = Control("seReputation");
    reputation.Number = Bounded(reputation) / reputation.Step * reputation.Step;
}

void SquadForm::StoreSquad(TKordoChangeJournal* journal) {
    if (!Squad)
        return;
    KordoTouch(journal, Squad);
    if (Changed("seReputation"))
        Squad->SetReputation(static_cast<uint16_t>(Bounded(Control("seReputation"))));
    // A code missing from the list leaves nothing selected: the stored code stays.
    const int32_t day = Control("cmbHomeMatchDay").SelectedCode();
    if (Changed("cmbHomeMatchDay") && day >= 0)
        Squad->SetHomeMatchDay(static_cast<uint8_t>(day));
}

// Club --------------------------------------------------------------------------------------------------

ClubForm::ClubForm() {
    BuildForm(
        ClubLayout(), [this](std::string name, std::u16string caption) { AddPage(name, caption); },
        [this](TKordoControl control) { Add(std::move(control)); });
}

void ClubForm::Bind(TKordoPregameDatabase* database, const TKordoProgressEvent& progress) {
    Database = database;
    Current = nullptr;
    DetailsEnabled = false;
    Squads.clear();

    // The leading item goes first, so it stays before the nations that collate equal to it.
    std::vector<TKordoListItem> nations{{u"<unspecified>"}};
    if (database) {
        const int32_t count = database->Nations.Count();
        nations.reserve(static_cast<size_t>(count) + 1);
        for (int32_t row = 0; row < count; ++row) {
            TKordoNation* nation = database->Nations.Item(row);
            nations.push_back({nation->NationName, -1, nation});
            if (progress)
                progress(KordoPercentage(count, row));
        }
    }
    Control("cmbNation").SetItems(std::move(nations));
    Control("cmbProfessionalStatus")
        .SetItems({{u"Professional", 1}, {u"Semi Professional", 2}, {u"Amateur", 3}});
    for (TKordoControl& control : Controls)
        if (control.Kind == TKordoControlKind::ListBox)
            control.ClearItems();
}

void ClubForm::Focus(TKordoClub* club) {
    if (!club) {
        DetailsEnabled = false;
        return;
    }
    Current = club;
    FillGeneral();
    Control("edChairman").Text = PersonText(club->Chairman);
    Control("lboxBoardMembers").SetItems(PeopleItems(club->BoardMembers));
    Control("lboxScouts").SetItems(PeopleItems(club->Scouts));
    RefreshPreferences();
    RebuildSquadPages();
    DetailsEnabled = true;
    RememberValues();
}

void ClubForm::FillGeneral() {
    const TKordoClub& club = *Current;
    Control("edClubName").Text = club.ClubName;
    Control("edShortClubName").Text = club.ShortClubName;
    Control("edNickname1").Text = club.Nickname1;
    Control("edNickname2").Text = club.Nickname2;
    Control("cmbNation").SelectRecord(club.Nation);
    Control("cmbProfessionalStatus").SelectCode(club.ProfessionalStatus());
    for (const TClubNumber& number : ClubNumbers)
        Control(number.Name).Number = number.Read(club);
}

void ClubForm::RebuildSquadPages() {
    Squads.clear();
    if (!Database)
        return;
    for (TKordoSquad* squad : KordoClubSquads(*Current))
        Squads.emplace_back().ShowSquad(*Database, squad);
}

void ClubForm::Cancel() {
    if (Current)
        Focus(Current);
}

void ClubForm::RefreshPreferences() {
    std::vector<TKordoListItem> rivals, favourite, disliked;
    if (Current) {
        for (const TKordoRelation& entry : Current->Relations) {
            if (entry.Kind == KordoKindClub) {
                // A rival named twice is listed once.
                bool listed = std::any_of(rivals.begin(), rivals.end(), [&](const TKordoListItem& item) {
                    return item.Record == entry.Target;
                });
                // A target that resolved to nothing keeps its line, so that it can be deleted.
                if (!listed)
                    rivals.push_back({entry.TargetClub() ? entry.TargetClub()->ClubName : KordoNoNameText, -1,
                                      entry.Target});
            } else if (entry.Kind == KordoKindPerson) {
                auto& list = entry.Relation == KordoRelationFavouritePerson ? favourite : disliked;
                list.push_back(
                    {entry.TargetStaff() ? StaffDisplayName(*entry.TargetStaff()) : KordoNoNameText, -1,
                     entry.Target});
            }
        }
    }
    Control("lboxRivals").SetItems(std::move(rivals));
    Control("lboxFavouriteStaff").SetItems(std::move(favourite));
    Control("lboxDislikedStaff").SetItems(std::move(disliked));
}

bool ClubForm::Confirm(std::string* refusal) {
    if (!Current || !Database) {
        if (refusal)
            *refusal = "No club is shown.";
        return false;
    }
    TKordoClub& club = *Current;
    TKordoChangeJournal* journal = Database->Journal();
    KordoTouch(journal, &club);

    // The nation, moving one club from the old nation's count to the new one's; a damaged count
    // stays where it is rather than wrap round.
    TKordoNation* nation = Control("cmbNation").SelectedRecord().Get<TKordoNation>();
    if (Changed("cmbNation") && Control("cmbNation").Selected >= 0 && nation != club.Nation) {
        KordoTouch(journal, club.Nation);
        KordoTouch(journal, nation);
        if (club.Nation && club.Nation->ClubCount() > 0)
            club.Nation->SetClubCount(static_cast<uint16_t>(club.Nation->ClubCount() - 1));
        club.Nation = nation;
        if (nation && nation->ClubCount() < std::numeric_limits<uint16_t>::max())
            nation->SetClubCount(static_cast<uint16_t>(nation->ClubCount() + 1));
    }

    // The General values the user changed; the others keep what the club stores, in range or not.
    const int32_t status = Control("cmbProfessionalStatus").SelectedCode();
    if (Changed("cmbProfessionalStatus") && status >= 0)
        club.SetProfessionalStatus(static_cast<uint8_t>(status));
    for (const TClubNumber& number : ClubNumbers)
        if (Changed(number.Name))
            number.Write(club, Bounded(Control(number.Name)));

    for (SquadForm& squad : Squads)
        squad.StoreSquad(journal);

    // The pages show the club as it now stands, and that counts as unchanged; the squad pages stay.
    FillGeneral();
    RememberValues();
    for (SquadForm& squad : Squads)
        squad.ShowSquad(*Database, squad.Squad);
    return true;
}

TKordoStaff* ClubForm::Chairman() const {
    return Current ? Current->Chairman : nullptr;
}

TKordoStaff* ClubForm::PersonOnLine(std::string_view list, int32_t line) const {
    if (list != "lboxBoardMembers" && list != "lboxScouts" && list != "lboxFavouriteStaff" &&
        list != "lboxDislikedStaff")
        return nullptr;
    return KordoLineRecord(Control(list), line).value_or(nullptr).Get<TKordoStaff>();
}

// Preferences -------------------------------------------------------------------------------------------

bool ClubForm::AddPreference(std::string_view list, TKordoRecordRef target, int32_t amount,
                             std::string* refusal) {
    const TKordoPreferenceList kind = KordoPreferenceListOf(list);
    Control(list); // a list of this page
    if (!Current || !Database || !KordoListHolds(kind, target))
        return true;
    if (OwnRival(list, target, refusal))
        return false;
    TKordoClubWrapper wrapper(Current, Database->Journal());
    const uint16_t bounded = KordoPreferenceAmount(amount);
    auto add = [&] {
        if (!kind.StaffMode)
            return wrapper.AddRival(target.Get<TKordoClub>(), bounded);
        return wrapper.AddStaffPreference(target.Get<TKordoStaff>(), kind.Favourite, bounded);
    };
    if (!KordoEditRelations(add, refusal, Current->ClubName, true))
        return false;
    RefreshPreferences();
    return true;
}

void ClubForm::DeletePreference(std::string_view list, int32_t line) {
    if (!Current || !Database)
        return;
    KordoTouch(Database->Journal(), Current);
    KordoDeletePreference(Current->Relations, Control(list), line);
    RefreshPreferences();
}

bool ClubForm::OwnRival(std::string_view list, const TKordoRecordRef& target, std::string* refusal) const {
    if (list != "lboxRivals" || target != TKordoRecordRef(Current))
        return false;
    if (refusal)
        *refusal = "A club cannot be its own rival. Nothing was changed.";
    return true;
}

bool ClubForm::EditPreference(std::string_view list, int32_t line, TKordoRecordRef target, int32_t amount,
                              std::string* refusal) {
    if (!Current || !Database || OwnRival(list, target, refusal))
        return false;
    KordoTouch(Database->Journal(), Current);
    if (!KordoEditPreference(Current->Relations, Control(list), line, target, amount))
        return false;
    RefreshPreferences();
    return true;
}
