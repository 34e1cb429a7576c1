// Wrappers present a person, a squad or a club as an object with the operations whose rules go beyond
// storing a value: keeping staff lists in step with jobs, releasing a displaced manager or chairman,
// and the relation lists. A wrapper only holds a reference; create one per action. Given the journal of
// the edit under way, a wrapper touches every record there before it writes it.
//
// No list grows past what the file can store: an operation that would append to a full list
// changes nothing and returns false (for a club's relation list, each rival counts twice, as saving
// writes it twice). Adding someone who is already listed, or changing an existing entry, succeeds.
#pragma once

#include "KordoJournal.h"
#include "KordoRecords.h"

#include <chrono>
#include <string>

constexpr size_t KordoMaxShortList = 255; // lists with a one-byte count
constexpr size_t KordoMaxPlayers = 65535; // a squad's Players, with a two-byte count
constexpr size_t KordoMaxRelations = 255; // a person's or a club's relation entries

class TKordoSquadWrapper {
public:
    explicit TKordoSquadWrapper(TKordoSquad* squad, TKordoChangeJournal* journal = nullptr)
        : Squad(squad), Journal(journal) {}

    bool AddPlayer(TKordoStaff* staff);
    void RemovePlayer(TKordoStaff* staff);
    bool HasPlayer(const TKordoStaff* staff) const;
    bool AddCoach(TKordoStaff* staff);
    void RemoveCoach(TKordoStaff* staff);
    bool HasCoach(const TKordoStaff* staff) const;
    // Assistant managers have no list of their own: they are kept in Coaches.
    bool AddAssistantManager(TKordoStaff* staff) { return AddCoach(staff); }
    void RemoveAssistantManager(TKordoStaff* staff) { RemoveCoach(staff); }
    bool HasAssistantManager(const TKordoStaff* staff) const { return HasCoach(staff); }
    bool AddPhysio(TKordoStaff* staff);
    void RemovePhysio(TKordoStaff* staff);
    bool HasPhysio(const TKordoStaff* staff) const;

    // Releases the current manager from his club contract, then makes the person manager.
    void SetManager(TKordoStaff* staff);
    // Releases the current manager from his national contract, then makes the person manager.
    void SetNationalManager(TKordoStaff* staff);
    void RemoveManager(TKordoStaff* staff);
    bool IsManager(const TKordoStaff* staff) const;

    bool CanAddPlayer(const TKordoStaff* staff) const;
    bool CanAddCoach(const TKordoStaff* staff) const;
    bool CanAddPhysio(const TKordoStaff* staff) const;

private:
    // Before the squad (or the person) is written.
    void Touch(TKordoStaff* staff = nullptr);
    TKordoSquad* Squad;
    TKordoChangeJournal* Journal;
};

class TKordoClubWrapper {
public:
    explicit TKordoClubWrapper(TKordoClub* club, TKordoChangeJournal* journal = nullptr)
        : Club(club), Journal(journal) {}

    bool AddBoardMember(TKordoStaff* staff);
    void RemoveBoardMember(TKordoStaff* staff);
    bool HasBoardMember(const TKordoStaff* staff) const;
    bool AddScout(TKordoStaff* staff);
    void RemoveScout(TKordoStaff* staff);
    bool HasScout(const TKordoStaff* staff) const;
    bool CanAddBoardMember(const TKordoStaff* staff) const;
    bool CanAddScout(const TKordoStaff* staff) const;

    // Releases the current chairman from his club job (his contract stays), then sets the person.
    void SetChairman(TKordoStaff* staff);
    void RemoveChairman(TKordoStaff* staff);
    bool IsChairman(const TKordoStaff* staff) const;

    TKordoRelation* FindRival(TKordoClub* rival);
    bool AddRival(TKordoClub* rival, uint16_t amount);
    void RemoveRival(TKordoClub* rival);
    TKordoRelation* FindStaffPreference(TKordoStaff* staff);
    bool AddStaffPreference(TKordoStaff* staff, bool favourite, uint16_t amount);
    void RemoveStaffPreference(TKordoStaff* staff);

    // Before saving: sorted, with a leading copy of every rival. After loading: copies folded.
    void SortPreferences();
    void CleanPreferences();

private:
    // Before the club (or the person) is written.
    void Touch(TKordoStaff* staff = nullptr);
    TKordoClub* Club;
    TKordoChangeJournal* Journal;
};

class TKordoStaffWrapper {
public:
    explicit TKordoStaffWrapper(TKordoStaff* staff, TKordoChangeJournal* journal = nullptr)
        : Staff(staff), Journal(journal) {}

    void SetDateOfBirth(std::chrono::sys_days date);
    void SetApps(int32_t apps);
    void SetGoals(int32_t goals);

    // Create the contract blocks with their fixed contents and set their presence flags.
    void InitClubContract();
    void InitNationContract();
    void SetClubDateJoined(std::chrono::sys_days date);
    // The club contract setters act only while the club contract block is present.
    void SetClubContractExpires(std::chrono::sys_days date);
    void SetClubWage(int32_t wage);
    void SetClubSquadNumber(int32_t number); // -1 is stored as 255
    void SetNationDateJoined(std::chrono::sys_days date);
    void SetNationContractExpires(std::chrono::sys_days date);

    // Whether the person is already in every list the job names for his current club squad.
    bool IsListedForClubJob(uint8_t job) const;
    // Leave the lists of the current squad and job (the caller then sets the squad and job fields).
    void LeaveClubJob();
    void LeaveNationJob();
    // Join the lists the job names for the squad. False, with nothing changed, when a list is full.
    bool JoinClubJob(TKordoSquad* squad, uint8_t job);
    bool JoinNationJob(TKordoSquad* squad, uint8_t job);
    // Whether the Join operations would find room in every list the job names (a list the person is
    // already in has room for him). When not, `fullList` names the first full list: "players",
    // "coaches", "physios", "board members" or "scouts".
    bool CanJoinClubJob(TKordoSquad* squad, uint8_t job, std::string* fullList = nullptr) const;
    bool CanJoinNationJob(TKordoSquad* squad, uint8_t job, std::string* fullList = nullptr) const;

    TKordoNation* GetSecondNation() const;
    // Sets, or with nullptr removes, the second-nationality entry. False when the list is full.
    bool SetSecondNation(TKordoNation* nation);

    TKordoRelation* FindClubPreference(TKordoClub* club);
    bool AddClubPreference(TKordoClub* club, bool favourite, uint16_t amount);
    void RemoveClubPreference(TKordoClub* club);
    TKordoRelation* FindStaffPreference(TKordoStaff* staff);
    bool AddStaffPreference(TKordoStaff* staff, bool favourite, uint16_t amount);
    void RemoveStaffPreference(TKordoStaff* staff);

private:
    bool SetPreference(uint8_t kind, TKordoRecordRef target, uint8_t relation, uint16_t amount);
    // Before the person is written.
    void Touch() { KordoTouch(Journal, Staff); }
    TKordoStaff* Staff;
    TKordoChangeJournal* Journal;
};
