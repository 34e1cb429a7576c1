#include "StaffForm.h"

#include "KordoCheck.h"
#include "KordoDataWrappers.h"
#include "KordoFunctions.h"
#include "KordoSearch.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

using namespace std::chrono;

namespace {

// The layout ------------------------------------------------------------------------------------------

// One control of a page: its label, its name, what kind it is, its range and, for a plain number, the
// record and field it edits. The same rows build the pages and drive filling and confirming.
struct TDescriptor {
    const char16_t* Label;
    const char* Name;
    TKordoControlKind Kind = TKordoControlKind::Spin;
    TKordoStore Store = TKordoStore::None;
    const char* Field = nullptr; // nullptr: the name without its "se"
    int32_t Minimum = 0;
    int32_t Maximum = 20;
    bool Sorted = false;
};

struct TSection {
    const char* Page;
    const char16_t* Heading; // nullptr: none
    std::vector<TDescriptor> Rows;
};

constexpr auto Spin = TKordoControlKind::Spin;
constexpr auto Edit = TKordoControlKind::Edit;
constexpr auto Date = TKordoControlKind::Date;
constexpr auto IntegerList = TKordoControlKind::IntegerList;
constexpr auto PointerList = TKordoControlKind::PointerList;
constexpr auto ListBox = TKordoControlKind::ListBox;
constexpr auto Staff = TKordoStore::Staff;
constexpr auto Mental = TKordoStore::Mental;
constexpr auto Player = TKordoStore::Player;
constexpr auto NonPlayer = TKordoStore::NonPlayer;
constexpr auto None = TKordoStore::None;

// A rating of 0..20 in an attribute record.
TDescriptor Rating(const char16_t* label, const char* name, TKordoStore store, const char* field = nullptr) {
    return {label, name, Spin, store, field, 0, 20, false};
}
// A number of the staff record itself.
TDescriptor Number(const char16_t* label, const char* name, const char* field, int32_t minimum,
                   int32_t maximum) {
    return {label, name, Spin, Staff, field, minimum, maximum, false};
}
TDescriptor Other(const char16_t* label, const char* name, TKordoControlKind kind, bool sorted = false) {
    return {label, name, kind, None, nullptr, 0, 0, sorted};
}

const std::vector<TSection>& Layout() {
    static const std::vector<TSection> sections{
        {"tsGeneral",
         u"Personal:",
         {Other(u"Picture ID:", "edPictureID", Edit), Other(u"First Name:", "edFirstName", Edit),
          Other(u"Second Name:", "edSecondName", Edit), Other(u"Common Name:", "edCommonName", Edit),
          Other(u"Date Of Birth:", "dtpDateOfBirth", Date),
          Other(u"Staff Type:", "cmbStaffType", IntegerList)}},
        {"tsGeneral",
         u"Nationality:",
         {Other(u"Nation:", "cmbNation", PointerList, true),
          Other(u"Second Nation:", "cmbSecondNation", PointerList, true),
          Number(u"Apps:", "seApps", "Apps", 0, 255), Number(u"Goals", "seGoals", "Goals", 0, 255)}},
        {"tsContract",
         u"Club Contracted:",
         {Other(u"Club Contracted:", "cmbClubContracted", PointerList, true),
          Other(u"Squad Contracted:", "cmbSquadContracted", PointerList, true),
          Other(u"Job:", "cmbJob", IntegerList, true),
          Other(u"Date Joined:", "dtpDateJoined", Date),
          Other(u"Contract Expires:", "dtpContractExpires", Date),
          {u"Estimated Wage:", "seEstimatedWage", Spin, None, nullptr, 0, 200000000},
          {u"Squad Number:", "seSquadNumber", Spin, None, nullptr, -1, 99}}},
        {"tsContract",
         u"National Team Contracted:",
         {Other(u"Nation Contracted:", "cmbNationContracted", PointerList, true),
          Other(u"Job:", "cmbNationJob", IntegerList, true),
          Other(u"Date Joined:", "dtpDateJoinedNation", Date),
          Other(u"Contract Expires:", "dtpContractExpiresNation", Date)}},
        {"tsMental",
         u"Mental:",
         {Rating(u"Adaptability:", "seAdaptability", Mental), Rating(u"Ambition:", "seAmbition", Mental),
          Rating(u"Controversy:", "seControversy", Mental),
          Rating(u"Loyality:", "seLoyality", Mental, "Loyalty"), Rating(u"Pressure:", "sePressure", Mental),
          Rating(u"Professionalism:", "seProfessionalism", Mental),
          Rating(u"Sportsmanship:", "seSportsmanship", Mental),
          Rating(u"Temperament:", "seTemperament", Mental)}},
        {"tsAbility",
         u"Playing Ability:",
         {Number(u"Current Ability:", "seCurrentAbility", "CurrentAbility", -2, 200),
          Number(u"Potential Ability:", "sePotentialAbility", "PotentialAbility", -2, 200),
          Number(u"Home Reputation:", "seHomeReputation", "HomeReputation", -2, 200),
          Number(u"Current Reputation:", "seCurrentReputation", "CurrentReputation", -2, 200),
          Number(u"World Reputation:", "seWorldReputation", "WorldReputation", -2, 200)}},
        {"tsAbility",
         u"Sides:",
         {Rating(u"Right Side:", "seRightSide", Player), Rating(u"Left Side:", "seLeftSide", Player),
          Rating(u"Central:", "seCentral", Player)}},
        {"tsAbility",
         u"Positions:",
         {Rating(u"Goalkeeper:", "seGoalkeeper", Player), Rating(u"Sweeper:", "seSweeper", Player),
          Rating(u"Defender:", "seDefender", Player),
          Rating(u"Defensive Midfielder:", "seDefensiveMidfielder", Player),
          Rating(u"Midfielder:", "seMidfielder", Player),
          Rating(u"Attacking Midfielder:", "seAttackingMidfielder", Player),
          Rating(u"Attacker:", "seAttacker", Player), Rating(u"Wing Back:", "seWingBack", Player),
          Rating(u"Free Role:", "seFreeRole", Player)}},
        {"tsTechnical",
         u"Technical:",
         {Rating(u"Corners:", "seCorners", Player), Rating(u"Crossing:", "seCrossing", Player),
          Rating(u"Dribbling:", "seDribbling", Player), Rating(u"Finishing:", "seFinishing", Player),
          Rating(u"First Touch:", "seFirstTouch", Player), Rating(u"Heading:", "seHeading", Player),
          Rating(u"Long Shots:", "seLongShots", Player), Rating(u"Long Throws:", "seLongThrows", Player),
          Rating(u"Marking:", "seMarking", Player), Rating(u"Passing:", "sePassing", Player),
          Rating(u"Penalty Taking:", "sePenaltyTaking", Player),
          Rating(u"Set Pieces:", "seSetPieces", Player), Rating(u"Tackling:", "seTackling", Player),
          Rating(u"Technique:", "seTechnique", Player), Rating(u"Throw Ins:", "seThrowIns", Player)}},
        {"tsTechnical",
         u"Goalkeeping:",
         {Rating(u"Aerial Ability:", "seAerialAbility", Player),
          Rating(u"Command Of Area:", "seCommandOfArea", Player),
          Rating(u"Communication:", "seCommunication", Player),
          Rating(u"Eccentricity:", "seEccentricity", Player), Rating(u"Handling:", "seHandling", Player),
          Rating(u"Kicking:", "seKicking", Player), Rating(u"One On Ones:", "seOneOnOnes", Player),
          Rating(u"Reflexes:", "seReflexes", Player), Rating(u"Rushing Out:", "seRushingOut", Player),
          Rating(u"Tendency To Punch:", "seTendencyToPunch", Player),
          Rating(u"Throwing:", "seThrowing", Player)}},
        {"tsMentalPhysical",
         u"Mental:",
         {Rating(u"Aggression:", "seAggression", Player), Rating(u"Anticipation:", "seAnticipation", Player),
          Rating(u"Bravery:", "seBravery", Player), Rating(u"Consistency:", "seConsistency", Player),
          Rating(u"Creativity:", "seCreativity", Player), Rating(u"Decisions:", "seDecisions", Player),
          Rating(u"Determination:", "seDetermination", Player), Rating(u"Dirtiness:", "seDirtiness", Player),
          Rating(u"Flair:", "seFlair", Player), Rating(u"Important Matches:", "seImportantMatches", Player),
          Rating(u"Influence:", "seInfluence", Player), Rating(u"Off The Ball:", "seOffTheBall", Player),
          Rating(u"Positioning:", "sePositioning", Player), Rating(u"Teamwork:", "seTeamwork", Player),
          Rating(u"Work Rate:", "seWorkRate", Player)}},
        {"tsMentalPhysical",
         u"Physical:",
         {Rating(u"Acceleration:", "seAcceleration", Player), Rating(u"Agility:", "seAgility", Player),
          Rating(u"Balance:", "seBalance", Player), Rating(u"Injury Proneness:", "seInjuryProneness", Player),
          Rating(u"Jumping:", "seJumping", Player), Rating(u"Natural Fitness:", "seNaturalFitness", Player),
          Rating(u"Pace:", "sePace", Player), Rating(u"Stamina:", "seStamina", Player),
          Rating(u"Strength:", "seStrength", Player), Rating(u"Versatility:", "seVersatility", Player),
          Rating(u"Left Foot:", "seLeftFoot", Player), Rating(u"Right Foot:", "seRightFoot", Player)}},
        {"tsNonPlayer",
         u"Non Player Ability:",
         {Number(u"Current Ability:", "seNonPlayerCurrentAbility", "NonPlayerCurrentAbility", -2, 200),
          Number(u"Potential Ability:", "seNonPlayerPotentialAbility", "NonPlayerPotentialAbility", -2, 200),
          Number(u"Home Reputation:", "seNonPlayerHomeReputation", "NonPlayerHomeReputation", -2, 200),
          Number(u"Current Reputation:", "seNonPlayerCurrentReputation", "NonPlayerCurrentReputation", -2,
                 200),
          Number(u"World Reputation:", "seNonPlayerWorldReputation", "NonPlayerWorldReputation", -2, 200)}},
        {"tsNonPlayer",
         u"Mental:",
         {Rating(u"Determination:", "seNonPlayerDetermination", NonPlayer),
          Rating(u"Judging Player Ability:", "seJudgingPlayerAbility", NonPlayer),
          Rating(u"Judging Player Potential:", "seJudgingPlayerPotential", NonPlayer),
          Rating(u"Level Of Discipline:", "seLevelOfDiscipline", NonPlayer),
          Rating(u"Motivating:", "seMotivating", NonPlayer)}},
        {"tsNonPlayer",
         u"Chairman:",
         {Rating(u"Business:", "seBusiness", NonPlayer),
          Rating(u"Interference:", "seInterference", NonPlayer),
          Rating(u"Patience:", "sePatience", NonPlayer), Rating(u"Resources:", "seResources", NonPlayer)}},
        {"tsCoaching",
         u"Coaching:",
         {Rating(u"Attacking:", "seAttacking", NonPlayer),
          Rating(u"Coaching Goalkeepers:", "seCoachingGoalkeepers", NonPlayer),
          Rating(u"Coaching Outfield Players:", "seCoachingOutfieldPlayers", NonPlayer),
          Rating(u"Coaching Technique:", "seCoachingTechnique", NonPlayer),
          Rating(u"Directness:", "seDirectness", NonPlayer),
          Rating(u"Free Roles:", "seFreeRoles", NonPlayer),
          Rating(u"Man Management:", "seManManagement", NonPlayer),
          Rating(u"Marking:", "seNonPlayerMarking", NonPlayer),
          Rating(u"Offside:", "seOffside", NonPlayer),
          Rating(u"Physiotherapy:", "sePhysiotherapy", NonPlayer),
          Rating(u"Tactical Knowledge:", "seTacticalKnowledge", NonPlayer),
          Rating(u"Working With Youngsters:", "seWorkingWithYoungsters", NonPlayer),
          {u"Preferred Formation:", "cmbPreferredFormation", IntegerList, NonPlayer, "PreferredFormation", 0,
           0, true}}},
        {"tsReferee",
         u"Ability:",
         {Number(u"Current Ability:", "seRefereeCurrentAbility", "RefereeCurrentAbility", 0, 200),
          Number(u"Potential Ability:", "seRefereePotentialAbility", "RefereePotentialAbility", 0, 200),
          Number(u"Reputation:", "seReputation", "RefereeReputation", 0, 200)}},
        {"tsReferee",
         u"Attributes:",
         {Number(u"Allowing Flow:", "seAllowingFlow", "AllowingFlow", 0, 20),
          Number(u"Discipline:", "seDiscipline", "Discipline", 0, 20),
          Number(u"Important Matches:", "seRefereeImportantMatches", "RefereeImportantMatches", 0, 20),
          Number(u"Pressure:", "seRefereePressure", "RefereePressure", 0, 20),
          Number(u"Refereeing:", "seRefereeing", "Refereeing", 0, 20),
          Number(u"Running Line:", "seRunningLine", "RunningLine", 0, 20),
          Number(u"Timekeeping:", "seTimekeeping", "Timekeeping", 0, 20)}},
        {"tsPreferences",
         nullptr,
         {Other(u"Favourite Staff:", "lboxFavouriteStaff", ListBox),
          Other(u"Favourite Clubs:", "lboxFavouriteClubs", ListBox),
          Other(u"Disliked Staff:", "lboxDislikedStaff", ListBox),
          Other(u"Disliked Clubs:", "lboxDislikedClubs", ListBox)}},
    };
    return sections;
}

struct TPageCaption {
    const char* Name;
    const char16_t* Caption;
};
constexpr TPageCaption PageCaptions[] = {
    {"tsGeneral", u"&General"},      {"tsContract", u"&Contract"},
    {"tsMental", u"&Mental"},        {"tsAbility", u"&Ability"},
    {"tsTechnical", u"&Technical"},  {"tsMentalPhysical", u"Mental && &Physical"},
    {"tsNonPlayer", u"&Non Player"}, {"tsCoaching", u"&Coaching"},
    {"tsReferee", u"&Referee"},      {"tsPreferences", u"P&references"},
};

// The place of a field of the staff record, taken from its setter: the bytes a value with every bit
// set lands in.
template <class T> TKordoFieldRef StaffField(void (TKordoStaff::*set)(T)) {
    TKordoStaff probe;
    (probe.*set)(static_cast<T>(~T{}));
    auto first = std::find_if(probe.Image.begin(), probe.Image.end(), [](uint8_t b) { return b != 0; });
    return {TKordoStore::Staff, static_cast<uint16_t>(first - probe.Image.begin()),
            static_cast<uint8_t>(sizeof(T))};
}

struct TStaffNumber {
    const char* Name;
    TKordoFieldRef Field;
};

const std::vector<TStaffNumber>& StaffNumbers() {
    static const std::vector<TStaffNumber> numbers{
        {"Apps", StaffField(&TKordoStaff::SetApps)},
        {"Goals", StaffField(&TKordoStaff::SetGoals)},
        {"NonPlayerHomeReputation", StaffField(&TKordoStaff::SetNonPlayerHomeReputation)},
        {"NonPlayerCurrentReputation", StaffField(&TKordoStaff::SetNonPlayerCurrentReputation)},
        {"NonPlayerWorldReputation", StaffField(&TKordoStaff::SetNonPlayerWorldReputation)},
        {"NonPlayerCurrentAbility", StaffField(&TKordoStaff::SetNonPlayerCurrentAbility)},
        {"NonPlayerPotentialAbility", StaffField(&TKordoStaff::SetNonPlayerPotentialAbility)},
        {"HomeReputation", StaffField(&TKordoStaff::SetHomeReputation)},
        {"CurrentReputation", StaffField(&TKordoStaff::SetCurrentReputation)},
        {"WorldReputation", StaffField(&TKordoStaff::SetWorldReputation)},
        {"CurrentAbility", StaffField(&TKordoStaff::SetCurrentAbility)},
        {"PotentialAbility", StaffField(&TKordoStaff::SetPotentialAbility)},
        {"RefereeCurrentAbility", StaffField(&TKordoStaff::SetRefereeCurrentAbility)},
        {"RefereePotentialAbility", StaffField(&TKordoStaff::SetRefereePotentialAbility)},
        {"RefereeReputation", StaffField(&TKordoStaff::SetRefereeReputation)},
        {"AllowingFlow", StaffField(&TKordoStaff::SetAllowingFlow)},
        {"Discipline", StaffField(&TKordoStaff::SetDiscipline)},
        {"RefereeImportantMatches", StaffField(&TKordoStaff::SetRefereeImportantMatches)},
        {"RefereePressure", StaffField(&TKordoStaff::SetRefereePressure)},
        {"Refereeing", StaffField(&TKordoStaff::SetRefereeing)},
        {"RunningLine", StaffField(&TKordoStaff::SetRunningLine)},
        {"Timekeeping", StaffField(&TKordoStaff::SetTimekeeping)},
    };
    return numbers;
}

template <size_t N>
const TKordoAttField* FindAttField(const std::array<TKordoAttField, N>& fields, std::string_view name) {
    for (const TKordoAttField& field : fields)
        if (name == field.Name)
            return &field;
    return nullptr;
}

// Where a row's value lives.
TKordoFieldRef ResolveField(const TDescriptor& row) {
    if (row.Store == TKordoStore::None)
        return {};
    std::string_view name = row.Field ? std::string_view(row.Field) : std::string_view(row.Name).substr(2);
    const TKordoAttField* field = nullptr;
    switch (row.Store) {
    case TKordoStore::Staff:
        for (const TStaffNumber& number : StaffNumbers())
            if (name == number.Name)
                return number.Field;
        break;
    case TKordoStore::Mental:
        field = FindAttField(KordoMentalAttFields, name);
        break;
    case TKordoStore::Player:
        field = FindAttField(KordoPlayerAttFields, name);
        break;
    case TKordoStore::NonPlayer:
        // The formation is a code, not a rating, and so not among the ratings.
        if (name == "PreferredFormation")
            return {TKordoStore::NonPlayer, KordoPreferredFormationOffset, 1};
        field = FindAttField(KordoNonPlayerAttFields, name);
        break;
    case TKordoStore::None:
        break;
    }
    if (!field)
        throw std::logic_error("no field " + std::string(name) + " for " + row.Name);
    return {row.Store, field->Offset, 1};
}

} // namespace

StaffForm::StaffForm() {
    for (const TPageCaption& page : PageCaptions)
        AddPage(page.Name, page.Caption);
    for (const TSection& section : Layout()) {
        for (const TDescriptor& row : section.Rows) {
            TKordoControl control;
            control.Name = row.Name;
            control.Kind = row.Kind;
            control.Page = section.Page;
            control.Heading = section.Heading ? section.Heading : u"";
            control.Label = row.Label;
            control.Minimum = row.Minimum;
            control.Maximum = row.Maximum;
            control.ReadOnly = control.Name == "edPictureID";
            control.Sorted = row.Sorted;
            control.Field = ResolveField(row);
            if (row.Kind == TKordoControlKind::Date)
                control.Date = sys_days(1900y / January / 1);
            if (control.Name == "seSquadNumber")
                control.Number = -1;
            Add(std::move(control));
        }
    }
}

namespace {

const sys_days ClearedDay = sys_days(1900y / January / 1);

// Which pages a staff type shows, and so which stored values the pages hold.
bool PageShownFor(std::string_view page, int32_t type) {
    if (page == "tsContract" || page == "tsMental" || page == "tsPreferences")
        return type != KordoStaffReferee;
    if (page == "tsAbility" || page == "tsTechnical" || page == "tsMentalPhysical")
        return type == KordoStaffPlayer || type == KordoStaffPlayerNonPlayer;
    if (page == "tsNonPlayer" || page == "tsCoaching")
        return type == KordoStaffNonPlayer || type == KordoStaffPlayerNonPlayer;
    if (page == "tsReferee")
        return type == KordoStaffReferee;
    return true;
}

// The image a plain number lives in, or nullptr when the person has no such record.
uint8_t* StoreImage(TKordoStaff& staff, TKordoStore store) {
    switch (store) {
    case TKordoStore::Staff:
        return staff.Image.data();
    case TKordoStore::Mental:
        return staff.MentalAtts ? staff.MentalAtts->Image.data() : nullptr;
    case TKordoStore::Player:
        return staff.PlayerAtts ? staff.PlayerAtts->Image.data() : nullptr;
    case TKordoStore::NonPlayer:
        return staff.NonPlayerAtts ? staff.NonPlayerAtts->Image.data() : nullptr;
    case TKordoStore::None:
        break;
    }
    return nullptr;
}

int32_t ReadField(const uint8_t* image, const TKordoFieldRef& field) {
    if (field.Width == 2) {
        int16_t value;
        std::memcpy(&value, image + field.Offset, sizeof value);
        return value;
    }
    return image[field.Offset];
}

// The value is stored with the field's width: its low 8 or 16 bits.
void WriteField(uint8_t* image, const TKordoFieldRef& field, int32_t value) {
    if (field.Width == 2) {
        auto narrow = static_cast<int16_t>(value);
        std::memcpy(image + field.Offset, &narrow, sizeof narrow);
    } else {
        image[field.Offset] = static_cast<uint8_t>(value);
    }
}

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
    jobs.ClearItems();
    const TKordoControl& type = Control("cmbStaffType");
    const TKordoControl& club = Control("cmbClubContracted");
    if (type.Selected < 0 || !club.SelectedRecord())
        return;
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
    squads.ClearItems();
    auto* club = static_cast<TKordoClub*>(Control("cmbClubContracted").SelectedRecord());
    const TKordoControl& job = Control("cmbJob");
    if (!club || job.Selected < 0 || !JobHasContract(static_cast<uint8_t>(job.SelectedCode())))
        return;
    const std::vector<TKordoSquad*> clubSquads = KordoClubSquads(*club);
    if (clubSquads.size() <= 1)
        return;
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
    job.Enabled = Control("cmbClubContracted").SelectedRecord() != nullptr;
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
    nationJob.Enabled = nation.Enabled && nation.SelectedRecord();
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

// Confirm -----------------------------------------------------------------------------------------------

namespace {

// One confirm of the form into its current person. A control the user left as the focus filled it
// stands for what the record stores (its own bytes, not the control's display), so that confirming
// unchanged controls changes nothing; what the confirm itself creates (a squad joined, a contract
// block, an attribute record) is written from the controls.
class TStaffConfirm {
public:
    TStaffConfirm(StaffForm& form, TKordoPregameDatabase& database, TKordoStaff& staff)
        : Form(form), Database(database), Staff(staff), Wrapper(&staff) {}

    // Works out what the controls ask for; false, with the reason, when a list the person would join
    // has no room.
    bool Plan(std::string& refusal);
    // Writes the plan; true when anything was written.
    bool Apply();

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
    TKordoStaff& Staff;
    TKordoStaffWrapper Wrapper;
    bool Wrote = false;

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
    NewNation = Changed("cmbNation") ? static_cast<TKordoNation*>(Control("cmbNation").SelectedRecord())
                                     : Staff.Nation;

    // The staff type; a type outside the list stays as it is.
    NewType = Changed("cmbStaffType") ? Control("cmbStaffType").SelectedCode() : Staff.StaffType();
    TypeChanges =
        NewType >= KordoStaffNonPlayer && NewType <= KordoStaffReferee && NewType != Staff.StaffType();
    const bool becomesReferee = TypeChanges && NewType == KordoStaffReferee;

    // A referee keeps no relation entries, so a second nation chosen on the way would go at once.
    NewSecondNation = static_cast<TKordoNation*>(Control("cmbSecondNation").SelectedRecord());
    SetSecondNation =
        Changed("cmbSecondNation") && !becomesReferee && NewSecondNation != Wrapper.GetSecondNation();

    NewSquad = Staff.ClubSquad;
    if (Changed("cmbClubContracted") || Changed("cmbSquadContracted")) {
        const TKordoControl& squads = Control("cmbSquadContracted");
        auto* club = static_cast<TKordoClub*>(Control("cmbClubContracted").SelectedRecord());
        if (!club)
            NewSquad = nullptr;
        else if (!squads.Items.empty())
            NewSquad = static_cast<TKordoSquad*>(squads.SelectedRecord());
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
        auto* nation = static_cast<TKordoNation*>(Control("cmbNationContracted").SelectedRecord());
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

bool TStaffConfirm::Apply() {
    ApplyNames();
    ApplyNationality();
    if (SetSecondNation) {
        Wrapper.SetSecondNation(NewSecondNation);
        Wrote = true;
    }
    if (auto date = ChangedDate("dtpDateOfBirth", false)) {
        Wrapper.SetDateOfBirth(*date);
        Wrote = true;
    }
    ApplyClubContract();
    ApplyNationalContract();
    ApplyNumbers();
    return Wrote;
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
        Wrote = true;
    }
}

void TStaffConfirm::ApplyNationality() {
    if (NewNation == Staff.Nation)
        return;
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
    Wrote = true;
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
        Wrote = true;
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
    Wrote = true;
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
    if (auto date = ChangedDate("dtpDateJoined", SquadMoves)) {
        Wrapper.SetClubDateJoined(*date);
        Wrote = true;
    }
    if (!Staff.HasClubContract())
        return;
    if (auto date = ChangedDate("dtpContractExpires", contractCreated)) {
        Wrapper.SetClubContractExpires(*date);
        Wrote = true;
    }
    if (contractCreated || Changed("seEstimatedWage")) {
        Wrapper.SetClubWage(Control("seEstimatedWage").Number);
        Wrote = true;
    }
    if (contractCreated || Changed("seSquadNumber")) {
        // A person who plays for no squad has no number.
        const TKordoControl& number = Control("seSquadNumber");
        Wrapper.SetClubSquadNumber(number.Enabled || !contractCreated ? number.Number : -1);
        Wrote = true;
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
    Wrote = true;
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
    if (auto date = ChangedDate("dtpDateJoinedNation", NationalSquadMoves)) {
        Wrapper.SetNationDateJoined(*date);
        Wrote = true;
    }
    if (Staff.HasNationContract())
        if (auto date = ChangedDate("dtpContractExpiresNation", contractCreated)) {
            Wrapper.SetNationContractExpires(*date);
            Wrote = true;
        }
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
        int32_t value =
            control.Kind == TKordoControlKind::IntegerList ? control.SelectedCode() : control.Number;
        if (control.Kind == TKordoControlKind::IntegerList && value < 0)
            continue;
        WriteField(image, control.Field, value);
        Wrote = true;
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
    if (confirm.Apply())
        Database->Modified = true;
    // The form shows the record as it now is, and remembers that as unchanged.
    Focus(Current);
    return true;
}

// Preferences -------------------------------------------------------------------------------------------

bool StaffForm::AddPreference(std::string_view list, void* target, int32_t amount, std::string* refusal) {
    const TKordoPreferenceList kind = KordoPreferenceListOf(list);
    Control(list); // a list of this page
    if (!Current || !Database || !target)
        return true;
    // A referee keeps no relation entries: a confirm that makes a person a referee clears them.
    if (Current->StaffType() == KordoStaffReferee) {
        if (refusal)
            *refusal = "A referee has no preferences. Nothing was changed.";
        return false;
    }
    TKordoStaffWrapper wrapper(Current);
    const uint16_t bounded = KordoPreferenceAmount(amount);
    auto add = [&] {
        if (kind.StaffMode)
            return wrapper.AddStaffPreference(static_cast<TKordoStaff*>(target), kind.Favourite, bounded);
        return wrapper.AddClubPreference(static_cast<TKordoClub*>(target), kind.Favourite, bounded);
    };
    if (!KordoEditRelations(*Database, Current->Relations, add, refusal, StaffDisplayName(*Current)))
        return false;
    RefreshPreferences();
    return true;
}

void StaffForm::DeletePreference(std::string_view list, int32_t line) {
    if (!Current || !Database)
        return;
    KordoDeletePreference(*Database, Current->Relations, Control(list), line);
    RefreshPreferences();
}

bool StaffForm::EditPreference(std::string_view list, int32_t line, void* target, int32_t amount) {
    if (!Current || !Database ||
        !KordoEditPreference(*Database, Current->Relations, Control(list), line, target, amount))
        return false;
    RefreshPreferences();
    return true;
}
