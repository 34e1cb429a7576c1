// The staff editor's control table: every page and control with its label, kind, range and, for a
// plain number, the record field it edits.
#include "StaffForm.h"

#include <algorithm>
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
    {"tsGeneral", u"&General"},      {"tsContract", u"C&ontract"},
    {"tsMental", u"&Mental"},        {"tsAbility", u"A&bility"},
    {"tsTechnical", u"&Technical"},  {"tsMentalPhysical", u"Mental && Ph&ysical"},
    {"tsNonPlayer", u"&Non Player"}, {"tsCoaching", u"Coach&ing"},
    {"tsReferee", u"&Referee"},      {"tsPreferences", u"&Preferences"},
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
