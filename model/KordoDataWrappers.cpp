#include "KordoDataWrappers.h"

#include "KordoClubRelations.h"
#include "KordoFunctions.h"

#include <algorithm>

namespace {

template <class T> bool ListHas(const std::vector<T*>& list, const T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

template <class T> bool ListCanAdd(const std::vector<T*>& list, const T* item, size_t limit) {
    return ListHas(list, item) || list.size() < limit;
}

// Appends unless already listed; false when the list is full.
template <class T> bool ListAdd(std::vector<T*>& list, T* item, size_t limit) {
    if (ListHas(list, item))
        return true;
    if (list.size() >= limit)
        return false;
    list.push_back(item);
    return true;
}

// Takes out the first reference only.
template <class T> void ListRemove(std::vector<T*>& list, const T* item) {
    auto found = std::find(list.begin(), list.end(), item);
    if (found != list.end())
        list.erase(found);
}

constexpr TKordoGameDate ClearedDate{0, 1900};

} // namespace

// Squad ---------------------------------------------------------------------------------------------

void TKordoSquadWrapper::Touch(TKordoStaff* staff) {
    KordoTouch(Journal, Squad);
    KordoTouch(Journal, staff);
}

bool TKordoSquadWrapper::AddPlayer(TKordoStaff* staff) {
    Touch();
    return ListAdd(Squad->Players, staff, KordoMaxPlayers);
}
void TKordoSquadWrapper::RemovePlayer(TKordoStaff* staff) {
    Touch();
    ListRemove(Squad->Players, staff);
}
bool TKordoSquadWrapper::HasPlayer(const TKordoStaff* staff) const {
    return ListHas(Squad->Players, staff);
}
bool TKordoSquadWrapper::AddCoach(TKordoStaff* staff) {
    Touch();
    return ListAdd(Squad->Coaches, staff, KordoMaxShortList);
}
void TKordoSquadWrapper::RemoveCoach(TKordoStaff* staff) {
    Touch();
    ListRemove(Squad->Coaches, staff);
}
bool TKordoSquadWrapper::HasCoach(const TKordoStaff* staff) const {
    return ListHas(Squad->Coaches, staff);
}
bool TKordoSquadWrapper::AddPhysio(TKordoStaff* staff) {
    Touch();
    return ListAdd(Squad->Physios, staff, KordoMaxShortList);
}
void TKordoSquadWrapper::RemovePhysio(TKordoStaff* staff) {
    Touch();
    ListRemove(Squad->Physios, staff);
}
bool TKordoSquadWrapper::HasPhysio(const TKordoStaff* staff) const {
    return ListHas(Squad->Physios, staff);
}
bool TKordoSquadWrapper::CanAddPlayer(const TKordoStaff* staff) const {
    return ListCanAdd(Squad->Players, staff, KordoMaxPlayers);
}
bool TKordoSquadWrapper::CanAddCoach(const TKordoStaff* staff) const {
    return ListCanAdd(Squad->Coaches, staff, KordoMaxShortList);
}
bool TKordoSquadWrapper::CanAddPhysio(const TKordoStaff* staff) const {
    return ListCanAdd(Squad->Physios, staff, KordoMaxShortList);
}

void TKordoSquadWrapper::SetManager(TKordoStaff* staff) {
    Touch(Squad->Manager);
    // The person released is whoever held the post, also when it is the person being set.
    if (TKordoStaff* old = Squad->Manager) {
        old->ClubSquad = nullptr;
        old->SetClubJob(0);
        old->SetDateJoined(ClearedDate);
        old->SetHasClubContract(0);
    }
    Squad->Manager = staff;
}

void TKordoSquadWrapper::SetNationalManager(TKordoStaff* staff) {
    Touch(Squad->Manager);
    if (TKordoStaff* old = Squad->Manager) {
        old->NationSquad = nullptr;
        old->SetNationJob(0);
        old->SetDateJoinedNation(ClearedDate);
        old->SetHasNationContract(0);
    }
    Squad->Manager = staff;
}

void TKordoSquadWrapper::RemoveManager(TKordoStaff* staff) {
    Touch();
    if (Squad->Manager == staff)
        Squad->Manager = nullptr;
}

bool TKordoSquadWrapper::IsManager(const TKordoStaff* staff) const {
    return Squad->Manager == staff;
}

// Club ----------------------------------------------------------------------------------------------

void TKordoClubWrapper::Touch(TKordoStaff* staff) {
    KordoTouch(Journal, Club);
    KordoTouch(Journal, staff);
}

bool TKordoClubWrapper::AddBoardMember(TKordoStaff* staff) {
    Touch();
    return ListAdd(Club->BoardMembers, staff, KordoMaxShortList);
}
void TKordoClubWrapper::RemoveBoardMember(TKordoStaff* staff) {
    Touch();
    ListRemove(Club->BoardMembers, staff);
}
bool TKordoClubWrapper::HasBoardMember(const TKordoStaff* staff) const {
    return ListHas(Club->BoardMembers, staff);
}
bool TKordoClubWrapper::AddScout(TKordoStaff* staff) {
    Touch();
    return ListAdd(Club->Scouts, staff, KordoMaxShortList);
}
void TKordoClubWrapper::RemoveScout(TKordoStaff* staff) {
    Touch();
    ListRemove(Club->Scouts, staff);
}
bool TKordoClubWrapper::HasScout(const TKordoStaff* staff) const {
    return ListHas(Club->Scouts, staff);
}
bool TKordoClubWrapper::CanAddBoardMember(const TKordoStaff* staff) const {
    return ListCanAdd(Club->BoardMembers, staff, KordoMaxShortList);
}
bool TKordoClubWrapper::CanAddScout(const TKordoStaff* staff) const {
    return ListCanAdd(Club->Scouts, staff, KordoMaxShortList);
}

void TKordoClubWrapper::SetChairman(TKordoStaff* staff) {
    Touch(Club->Chairman);
    if (TKordoStaff* old = Club->Chairman) {
        old->ClubSquad = nullptr;
        old->SetClubJob(0);
        old->SetDateJoined(ClearedDate);
    }
    Club->Chairman = staff;
}

void TKordoClubWrapper::RemoveChairman(TKordoStaff* staff) {
    Touch();
    if (Club->Chairman == staff)
        Club->Chairman = nullptr;
}

bool TKordoClubWrapper::IsChairman(const TKordoStaff* staff) const {
    return Club->Chairman == staff;
}

TKordoRelation* TKordoClubWrapper::FindRival(TKordoClub* rival) {
    return KordoFindRelation(Club->Relations, KordoKindClub, rival);
}

bool TKordoClubWrapper::AddRival(TKordoClub* rival, uint16_t amount) {
    Touch();
    // A new rival takes two entries in the file: its copy in the leading block and itself.
    if (!FindRival(rival) && KordoSavedRelationCount(*Club) + 2 > KordoMaxRelations)
        return false;
    KordoSetRival(*Club, rival, amount);
    return true;
}

void TKordoClubWrapper::RemoveRival(TKordoClub* rival) {
    Touch();
    KordoRemoveRelation(Club->Relations, KordoKindClub, rival);
}

TKordoRelation* TKordoClubWrapper::FindStaffPreference(TKordoStaff* staff) {
    return KordoFindRelation(Club->Relations, KordoKindPerson, staff);
}

bool TKordoClubWrapper::AddStaffPreference(TKordoStaff* staff, bool favourite, uint16_t amount) {
    Touch();
    TKordoRelation* entry = FindStaffPreference(staff);
    if (!entry) {
        if (KordoSavedRelationCount(*Club) + 1 > KordoMaxRelations)
            return false;
        entry = &Club->Relations.emplace_back();
    }
    entry->Kind = KordoKindPerson;
    entry->Relation = favourite ? KordoRelationFavouritePerson : KordoRelationDislikedPerson;
    entry->Amount = amount;
    entry->Target = staff;
    return true;
}

void TKordoClubWrapper::RemoveStaffPreference(TKordoStaff* staff) {
    Touch();
    KordoRemoveRelation(Club->Relations, KordoKindPerson, staff);
}

void TKordoClubWrapper::SortPreferences() {
    KordoSortClubRelations(*Club);
}
void TKordoClubWrapper::CleanPreferences() {
    KordoCleanClubRelations(*Club);
}

// Staff ---------------------------------------------------------------------------------------------

void TKordoStaffWrapper::SetDateOfBirth(std::chrono::sys_days date) {
    Touch();
    Staff->SetDateOfBirth(DateTimeToGameDate(date));
}
void TKordoStaffWrapper::SetApps(int32_t apps) {
    Touch();
    Staff->SetApps(static_cast<uint8_t>(apps));
}
void TKordoStaffWrapper::SetGoals(int32_t goals) {
    Touch();
    Staff->SetGoals(static_cast<uint8_t>(goals));
}

void TKordoStaffWrapper::InitClubContract() {
    Touch();
    uint8_t* block = Staff->ClubContract();
    block[0] = 1;
    std::fill(block + 1, block + 28, 0); // bytes 1..26 and IsNationContract
    block[40] = 1;
    std::fill(block + 41, block + 51, 0);
    block[51] = 2;
    block[52] = 25;
    block[54] = block[55] = 0;
    Staff->SetHasClubContract(1);
}

void TKordoStaffWrapper::InitNationContract() {
    Touch();
    uint8_t* block = Staff->NationContract();
    block[0] = 1;
    std::fill(block + 1, block + 27, 0);
    block[KordoContractIsNation] = 1;
    std::fill(block + KordoContractWage, block + KordoContractWage + 4, 0);
    block[40] = 255;
    std::fill(block + 41, block + 51, 0);
    block[51] = 255;
    block[52] = 0;
    block[KordoContractSquadNumber] = 0;
    block[54] = block[55] = 0;
    Staff->SetHasNationContract(1);
}

void TKordoStaffWrapper::SetClubDateJoined(std::chrono::sys_days date) {
    Touch();
    Staff->SetDateJoined(DateTimeToGameDate(date));
}

void TKordoStaffWrapper::SetClubContractExpires(std::chrono::sys_days date) {
    Touch();
    if (Staff->HasClubContract())
        Staff->SetClubContractExpires(DateTimeToGameDate(date));
}

void TKordoStaffWrapper::SetClubWage(int32_t wage) {
    Touch();
    if (Staff->HasClubContract())
        Staff->SetClubEstimatedWage(static_cast<uint32_t>(wage));
}

void TKordoStaffWrapper::SetClubSquadNumber(int32_t number) {
    Touch();
    if (Staff->HasClubContract())
        Staff->SetClubSquadNumber(static_cast<uint8_t>(number));
}

void TKordoStaffWrapper::SetNationDateJoined(std::chrono::sys_days date) {
    Touch();
    Staff->SetDateJoinedNation(DateTimeToGameDate(date));
}

void TKordoStaffWrapper::SetNationContractExpires(std::chrono::sys_days date) {
    Touch();
    if (Staff->HasNationContract())
        Staff->SetNationContractExpires(DateTimeToGameDate(date));
}

bool TKordoStaffWrapper::IsListedForClubJob(uint8_t job) const {
    TKordoSquad* squad = Staff->ClubSquad;
    if (!squad)
        return false;
    TKordoSquadWrapper squadWrapper(squad, Journal);
    TKordoClub* club = squad->OwnerClub;
    switch (job) {
    case 0:
        return true;
    case 1:
        return squadWrapper.HasPlayer(Staff);
    case 2:
        return squadWrapper.HasCoach(Staff);
    case 3:
        return squadWrapper.HasPlayer(Staff) && squadWrapper.HasCoach(Staff);
    case 4:
        return club && club->Chairman == Staff;
    case 8:
    case 10:
    case 24:
        return club && TKordoClubWrapper(club, Journal).HasBoardMember(Staff);
    case 12:
        return squadWrapper.HasPhysio(Staff);
    case 14:
        return club && TKordoClubWrapper(club, Journal).HasScout(Staff);
    case 16:
        return squadWrapper.IsManager(Staff);
    case 17:
        return squadWrapper.HasPlayer(Staff) && squadWrapper.IsManager(Staff);
    case 20:
        return squadWrapper.HasAssistantManager(Staff);
    case 21:
        return squadWrapper.HasPlayer(Staff) && squadWrapper.HasAssistantManager(Staff);
    default:
        return false;
    }
}

void TKordoStaffWrapper::LeaveClubJob() {
    TKordoSquad* squad = Staff->ClubSquad;
    if (!squad)
        return;
    TKordoSquadWrapper squadWrapper(squad, Journal);
    TKordoClub* club = squad->OwnerClub;
    switch (Staff->ClubJob()) {
    case 1:
        squadWrapper.RemovePlayer(Staff);
        break;
    case 2:
        squadWrapper.RemoveCoach(Staff);
        break;
    case 3:
        squadWrapper.RemovePlayer(Staff);
        squadWrapper.RemoveCoach(Staff);
        break;
    case 4:
        if (club)
            TKordoClubWrapper(club, Journal).RemoveChairman(Staff);
        break;
    case 8:
    case 10:
    case 24:
        if (club)
            TKordoClubWrapper(club, Journal).RemoveBoardMember(Staff);
        break;
    case 12:
        squadWrapper.RemovePhysio(Staff);
        break;
    case 14:
        if (club)
            TKordoClubWrapper(club, Journal).RemoveScout(Staff);
        break;
    case 16:
        squadWrapper.RemoveManager(Staff);
        break;
    case 17:
        squadWrapper.RemovePlayer(Staff);
        squadWrapper.RemoveManager(Staff);
        break;
    case 20:
        squadWrapper.RemoveAssistantManager(Staff);
        break;
    case 21:
        squadWrapper.RemovePlayer(Staff);
        squadWrapper.RemoveAssistantManager(Staff);
        break;
    default:
        break;
    }
}

namespace {

bool IsPlayerJob(uint8_t job) {
    return job == 1 || job == 3 || job == 17 || job == 21;
}
bool IsCoachJob(uint8_t job) {
    return job == 2 || job == 3 || job == 20 || job == 21;
}
bool IsBoardJob(uint8_t job) {
    return job == 8 || job == 10 || job == 24;
}

// False, naming the list, when it has no room.
bool Room(bool room, const char* list, std::string* fullList) {
    if (!room && fullList)
        *fullList = list;
    return room;
}

} // namespace

bool TKordoStaffWrapper::CanJoinClubJob(TKordoSquad* squad, uint8_t job, std::string* fullList) const {
    if (!squad)
        return true;
    TKordoSquadWrapper squadWrapper(squad, Journal);
    TKordoClub* club = squad->OwnerClub;
    return Room(!IsPlayerJob(job) || squadWrapper.CanAddPlayer(Staff), "players", fullList) &&
           Room(!IsCoachJob(job) || squadWrapper.CanAddCoach(Staff), "coaches", fullList) &&
           Room(job != 12 || squadWrapper.CanAddPhysio(Staff), "physios", fullList) &&
           Room(!club || !IsBoardJob(job) || TKordoClubWrapper(club, Journal).CanAddBoardMember(Staff),
                "board members", fullList) &&
           Room(!club || job != 14 || TKordoClubWrapper(club, Journal).CanAddScout(Staff), "scouts",
                fullList);
}

bool TKordoStaffWrapper::CanJoinNationJob(TKordoSquad* squad, uint8_t job, std::string* fullList) const {
    if (!squad)
        return true;
    TKordoSquadWrapper squadWrapper(squad, Journal);
    return Room((job != 2 && job != 20) || squadWrapper.CanAddCoach(Staff), "coaches", fullList) &&
           Room(job != 12 || squadWrapper.CanAddPhysio(Staff), "physios", fullList);
}

bool TKordoStaffWrapper::JoinClubJob(TKordoSquad* squad, uint8_t job) {
    if (!squad)
        return true;
    // Refuse before anything changes when one of the lists is full.
    if (!CanJoinClubJob(squad, job))
        return false;
    TKordoSquadWrapper squadWrapper(squad, Journal);
    TKordoClub* club = squad->OwnerClub;
    bool player = IsPlayerJob(job);
    bool coach = IsCoachJob(job);
    bool board = IsBoardJob(job);
    if (player)
        squadWrapper.AddPlayer(Staff);
    if (coach)
        squadWrapper.AddCoach(Staff);
    if (job == 4 && club)
        TKordoClubWrapper(club, Journal).SetChairman(Staff);
    if (board && club)
        TKordoClubWrapper(club, Journal).AddBoardMember(Staff);
    if (job == 12)
        squadWrapper.AddPhysio(Staff);
    if (job == 14 && club)
        TKordoClubWrapper(club, Journal).AddScout(Staff);
    if (job == 16 || job == 17)
        squadWrapper.SetManager(Staff);
    return true;
}

void TKordoStaffWrapper::LeaveNationJob() {
    TKordoSquad* squad = Staff->NationSquad;
    if (!squad)
        return;
    TKordoSquadWrapper squadWrapper(squad, Journal);
    switch (Staff->NationJob()) {
    case 2:
        squadWrapper.RemoveCoach(Staff);
        break;
    case 12:
        squadWrapper.RemovePhysio(Staff);
        break;
    case 16:
        squadWrapper.RemoveManager(Staff);
        break;
    case 20:
        squadWrapper.RemoveAssistantManager(Staff);
        break;
    default:
        break;
    }
}

bool TKordoStaffWrapper::JoinNationJob(TKordoSquad* squad, uint8_t job) {
    if (!squad)
        return true;
    TKordoSquadWrapper squadWrapper(squad, Journal);
    switch (job) {
    case 2:
    case 20:
        return squadWrapper.AddCoach(Staff);
    case 12:
        return squadWrapper.AddPhysio(Staff);
    case 16:
        squadWrapper.SetNationalManager(Staff);
        return true;
    default:
        return true; // a national player is in no list of the national squad
    }
}

TKordoNation* TKordoStaffWrapper::GetSecondNation() const {
    for (const TKordoRelation& entry : Staff->Relations)
        if (entry.Kind == KordoKindNation)
            return entry.TargetNation();
    return nullptr;
}

bool TKordoStaffWrapper::SetSecondNation(TKordoNation* nation) {
    Touch();
    auto& relations = Staff->Relations;
    auto found = std::find_if(relations.begin(), relations.end(),
                              [](const TKordoRelation& e) { return e.Kind == KordoKindNation; });
    if (!nation) {
        if (found != relations.end())
            relations.erase(found);
        return true;
    }
    TKordoRelation* entry;
    if (found != relations.end()) {
        entry = &*found;
    } else {
        if (relations.size() >= KordoMaxRelations)
            return false;
        entry = &relations.emplace_back();
    }
    entry->Kind = KordoKindNation;
    entry->Relation = KordoRelationSecondNation;
    entry->Amount = 15;
    entry->Target = nation;
    return true;
}

bool TKordoStaffWrapper::SetPreference(uint8_t kind, TKordoRecordRef target, uint8_t relation,
                                       uint16_t amount) {
    Touch();
    TKordoRelation* entry = KordoFindRelation(Staff->Relations, kind, target);
    if (!entry) {
        if (Staff->Relations.size() >= KordoMaxRelations)
            return false;
        entry = &Staff->Relations.emplace_back();
    }
    entry->Kind = kind;
    entry->Relation = relation;
    entry->Amount = amount;
    entry->Target = target;
    return true;
}

TKordoRelation* TKordoStaffWrapper::FindClubPreference(TKordoClub* club) {
    return KordoFindRelation(Staff->Relations, KordoKindClub, club);
}

bool TKordoStaffWrapper::AddClubPreference(TKordoClub* club, bool favourite, uint16_t amount) {
    return SetPreference(KordoKindClub, club,
                         favourite ? KordoRelationFavouriteClub : KordoRelationDislikedClub, amount);
}

void TKordoStaffWrapper::RemoveClubPreference(TKordoClub* club) {
    Touch();
    KordoRemoveRelation(Staff->Relations, KordoKindClub, club);
}

TKordoRelation* TKordoStaffWrapper::FindStaffPreference(TKordoStaff* staff) {
    return KordoFindRelation(Staff->Relations, KordoKindPerson, staff);
}

bool TKordoStaffWrapper::AddStaffPreference(TKordoStaff* staff, bool favourite, uint16_t amount) {
    return SetPreference(KordoKindPerson, staff,
                         favourite ? KordoRelationFavouritePerson : KordoRelationDislikedPerson, amount);
}

void TKordoStaffWrapper::RemoveStaffPreference(TKordoStaff* staff) {
    Touch();
    KordoRemoveRelation(Staff->Relations, KordoKindPerson, staff);
}
