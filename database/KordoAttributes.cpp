#include "KordoPregameData.h"

#include <algorithm>

template <class Record> void TKordoAttTable<Record>::Clear() {
    Atts.clear();
    Created.clear();
    Records.clear();
    Records.shrink_to_fit();
}

template <class Record> void TKordoAttTable<Record>::LoadFromStream(TKordoFileStream& stream) {
    Clear();
    stream.SetTable(TableName);
    int32_t count = stream.ReadValue<int32_t>();
    stream.CheckCount(count, Record::ImageSize, "record count");
    Records.clear();
    Records.resize(static_cast<size_t>(count));
    Atts.reserve(static_cast<size_t>(count));
    for (int32_t row = 0; row < count; ++row) {
        stream.SetRecord(row);
        Record& record = Records[static_cast<size_t>(row)];
        stream.Read(record.Image.data(), Record::ImageSize);
        Atts.push_back(&record);
        ReportProgress(count, row);
    }
}

template <class Record> void TKordoAttTable<Record>::SaveToStream(TKordoFileStream& stream) {
    stream.SetTable(TableName);
    stream.WriteValue<int32_t>(Count());
    for (int32_t row = 0; row < Count(); ++row) {
        stream.SetRecord(row);
        stream.Write(Atts[static_cast<size_t>(row)]->Image.data(), Record::ImageSize);
        ReportProgress(Count(), row);
    }
}

template <class Record> Record* TKordoAttTable<Record>::NewRecord() {
    auto created = std::make_unique<Record>();
    Record* record = created.get();
    Atts.push_back(record);
    Created.push_back(std::move(created));
    if (Journal)
        Journal->AttCreated(*this, record);
    return record;
}

template <class Record> void TKordoAttTable<Record>::GiveBack(Record* record) {
    int32_t row = Erase(record, -1);
    if (Journal && row >= 0)
        Journal->AttRemoved(*this, record, row);
}

template <class Record> int32_t TKordoAttTable<Record>::InsertAt(int32_t row, Record* record) {
    return KordoInsertAt(Atts, row, record);
}

template <class Record> int32_t TKordoAttTable<Record>::Erase(Record* record, int32_t row) {
    return KordoEraseFrom(Atts, record, row);
}

template <class Record> void TKordoAttTable<Record>::Renumber() {
    for (int32_t row = 0; row < Count(); ++row)
        Atts[static_cast<size_t>(row)]->template Put<int32_t>(Record::RowField, row);
}

template class TKordoAttTable<TKordoMentalAtt>;
template class TKordoAttTable<TKordoPlayerAtt>;
template class TKordoAttTable<TKordoNonPlayerAtt>;

const std::array<TKordoAttField, 8> KordoMentalAttFields{{
    {"Adaptability", 1},
    {"Ambition", 2},
    {"Loyalty", 3},
    {"Pressure", 4},
    {"Professionalism", 5},
    {"Sportsmanship", 6},
    {"Temperament", 7},
    {"Controversy", 8},
}};

const std::array<TKordoAttField, 65> KordoPlayerAttFields{{
    {"Goalkeeper", 1},        {"Sweeper", 2},
    {"Defender", 3},          {"DefensiveMidfielder", 4},
    {"Midfielder", 5},        {"AttackingMidfielder", 6},
    {"Attacker", 7},          {"WingBack", 8},
    {"FreeRole", 9},          {"RightSide", 10},
    {"LeftSide", 11},         {"Central", 12},
    {"Crossing", 13},         {"Dribbling", 14},
    {"Finishing", 15},        {"Heading", 16},
    {"LongShots", 17},        {"Marking", 18},
    {"OffTheBall", 19},       {"Passing", 20},
    {"PenaltyTaking", 21},    {"Tackling", 22},
    {"Creativity", 23},       {"Handling", 24},
    {"AerialAbility", 25},    {"CommandOfArea", 26},
    {"Communication", 27},    {"Kicking", 28},
    {"Throwing", 29},         {"Anticipation", 30},
    {"Decisions", 31},        {"OneOnOnes", 32},
    {"Positioning", 33},      {"Reflexes", 34},
    {"ThrowIns", 35},         {"FirstTouch", 36},
    {"Technique", 37},        {"LeftFoot", 38},
    {"RightFoot", 39},        {"Flair", 40},
    {"Corners", 41},          {"Teamwork", 42},
    {"WorkRate", 43},         {"LongThrows", 44},
    {"Eccentricity", 45},     {"RushingOut", 46},
    {"TendencyToPunch", 47},  {"Acceleration", 48},
    {"SetPieces", 49},        {"Strength", 50},
    {"Stamina", 51},          {"Pace", 52},
    {"Jumping", 53},          {"Influence", 54},
    {"Dirtiness", 55},        {"Balance", 56},
    {"Bravery", 57},          {"Consistency", 58},
    {"Aggression", 59},       {"Agility", 60},
    {"ImportantMatches", 61}, {"InjuryProneness", 62},
    {"Versatility", 63},      {"NaturalFitness", 64},
    {"Determination", 65},
}};

const std::array<TKordoAttField, 22> KordoNonPlayerAttFields{{
    {"Attacking", 1},
    {"Business", 2},
    {"CoachingTechnique", 3},
    {"Directness", 4},
    {"LevelOfDiscipline", 5},
    {"FreeRoles", 6},
    {"Interference", 7},
    {"NonPlayerMarking", 8},
    {"Offside", 9},
    {"Patience", 10},
    {"PreferredFormation", 11},
    {"Resources", 12},
    {"WorkingWithYoungsters", 13},
    {"NonPlayerDetermination", 14},
    {"CoachingOutfieldPlayers", 21},
    {"CoachingGoalkeepers", 22},
    {"JudgingPlayerAbility", 23},
    {"JudgingPlayerPotential", 24},
    {"ManManagement", 25},
    {"Motivating", 26},
    {"Physiotherapy", 27},
    {"TacticalKnowledge", 28},
}};
