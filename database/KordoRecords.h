// The records of the interpreted tables. Each keeps its packed image (every byte the file stores for
// it, interpreted or not), its texts and sub-lists, and, for every reference, both forms: the stored
// number (in the image or a Stored... list) as read from or written to the file, and a typed pointer
// to the target record (nullptr for none) that indexing fills in after a load.
#pragma once

#include "KordoContainer.h"
#include "KordoLookupTables.h"

#include <variant>

struct TKordoClub;
struct TKordoNation;
struct TKordoName;
struct TKordoSquad;
struct TKordoStaff;
struct TKordoMentalAtt;
struct TKordoPlayerAtt;
struct TKordoNonPlayerAtt;

// A reference to a club, a nation, a squad or a person, typed: what a relation entry names in memory
// and what a line of an editor's list carries. It names one record, or nothing.
class TKordoRecordRef {
public:
    TKordoRecordRef() = default;
    TKordoRecordRef(std::nullptr_t) {}
    TKordoRecordRef(TKordoClub* club) { Set(club); }
    TKordoRecordRef(TKordoNation* nation) { Set(nation); }
    TKordoRecordRef(TKordoSquad* squad) { Set(squad); }
    TKordoRecordRef(TKordoStaff* staff) { Set(staff); }

    // The record when it is one of type T, else nullptr.
    template <class T> T* Get() const {
        T* const* record = std::get_if<T*>(&Ref);
        return record ? *record : nullptr;
    }
    explicit operator bool() const { return Ref.index() != 0; }
    bool operator==(const TKordoRecordRef&) const = default;

private:
    template <class T> void Set(T* record) {
        if (record)
            Ref = record;
    }
    std::variant<std::monostate, TKordoClub*, TKordoNation*, TKordoSquad*, TKordoStaff*> Ref;
};

// Relation kinds and codes of a person's and a club's relation entries.
enum : uint8_t { KordoKindClub = 1, KordoKindNation = 2, KordoKindPerson = 3 };
enum : uint8_t {
    KordoRelationFavouritePerson = 1,
    KordoRelationDislikedPerson = 2,
    KordoRelationFavouriteClub = 3,
    KordoRelationDislikedClub = 4,
    KordoRelationRivalClub = 5,
    KordoRelationSecondNation = 9,
};

// One 8-byte relation entry: a preference, a rivalry or a second nationality.
struct TKordoRelation {
    uint8_t Kind = 0;
    uint8_t Relation = 0;
    uint16_t Amount = 0;
    uint32_t StoredTarget = 0; // file form: a club or nation row, or a person's ID
    TKordoRecordRef Target;    // memory form: the record the Kind names

    TKordoClub* TargetClub() const { return Target.Get<TKordoClub>(); }
    TKordoNation* TargetNation() const { return Target.Get<TKordoNation>(); }
    TKordoStaff* TargetStaff() const { return Target.Get<TKordoStaff>(); }
    bool operator==(const TKordoRelation&) const = default;
};

struct TKordoClub : TKordoImage<114> {
    KORDO_FIELD(uint32_t, StoredNation, 1)
    KORDO_FIELD(uint8_t, ProfessionalStatus, 17)
    KORDO_FIELD(uint32_t, AverageAttendance, 18)
    KORDO_FIELD(uint32_t, MinimumAttendance, 22)
    KORDO_FIELD(uint32_t, MaximumAttendance, 26)
    KORDO_FIELD(uint8_t, Training, 30)
    KORDO_FIELD(uint8_t, PublicLimitedCompany, 31)
    KORDO_FIELD(uint32_t, StoredChairman, 32)
    KORDO_FIELD(int32_t, Balance, 47)
    KORDO_FIELD(int32_t, ClubIndex, 106)
    KORDO_FIELD(int32_t, ClubID, 110)

    std::u16string Nickname1, Nickname2, ClubName, ShortClubName;
    std::vector<uint32_t> StoredBoardMembers, StoredScouts, StoredSquads;
    TKordoOpaqueList List57; // 11-byte entries, not interpreted
    TKordoOpaqueList List94; // 6-byte entries, not interpreted
    std::vector<TKordoRelation> Relations;

    TKordoNation* Nation = nullptr;
    TKordoStaff* Chairman = nullptr;
    std::vector<TKordoStaff*> BoardMembers, Scouts;
    std::vector<TKordoSquad*> Squads;
    bool operator==(const TKordoClub&) const = default;
};

struct TKordoNation : TKordoImage<162> {
    KORDO_FIELD(uint16_t, ClubCount, 1)
    KORDO_FIELD(uint32_t, StaffCount, 3)
    KORDO_FIELD(int32_t, FirstNameStart, 28)
    KORDO_FIELD(int32_t, SecondNameStart, 32)
    KORDO_FIELD(int32_t, CommonNameStart, 36)
    KORDO_FIELD(int32_t, FirstNameCount, 40)
    KORDO_FIELD(int32_t, SecondNameCount, 44)
    KORDO_FIELD(int32_t, CommonNameCount, 48)
    KORDO_FIELD(uint32_t, StoredNationalSquad, 146)
    KORDO_FIELD(int32_t, NationIndex, 154)

    // The nation's group in name table `kind` (1 first, 2 second, 3 common names).
    int32_t NameStart(uint8_t kind) const { return Get<int32_t>(28 + 4 * (kind - 1u)); }
    int32_t NameCount(uint8_t kind) const { return Get<int32_t>(40 + 4 * (kind - 1u)); }
    void SetNameRange(uint8_t kind, int32_t start, int32_t count) {
        Put<int32_t>(28 + 4 * (kind - 1u), start);
        Put<int32_t>(40 + 4 * (kind - 1u), count);
    }

    std::u16string NationName, NationSecondName;
    TKordoOpaqueList List125; // 4-byte entries, not interpreted
    TKordoOpaqueList List141; // 6-byte entries, not interpreted
    TKordoOpaqueList List150; // 8-byte entries, not interpreted

    TKordoSquad* NationalSquad = nullptr;
    bool operator==(const TKordoNation&) const = default;
};

struct TKordoName : TKordoImage<19> {
    KORDO_FIELD(uint16_t, UseCount, 5)
    KORDO_FIELD(uint32_t, StoredNation, 7)
    KORDO_FIELD(int32_t, NameID, 11)

    std::u16string Name;
    TKordoNation* Nation = nullptr;
    bool operator==(const TKordoName&) const = default;
};

enum : uint8_t { KordoClubSquad = 10, KordoNationalSquad = 11 };

struct TKordoSquad : TKordoImage<87> {
    KORDO_FIELD(uint8_t, SquadKind, 0)
    KORDO_FIELD(uint16_t, Reputation, 15)
    KORDO_FIELD(uint32_t, StoredManager, 29)
    KORDO_FIELD(uint8_t, HomeMatchDay, 38)
    KORDO_FIELD(uint32_t, StoredOwner, 75)
    KORDO_FIELD(int32_t, SquadIndex, 79)
    KORDO_FIELD(int32_t, OwnerClubID, 83)

    std::vector<uint32_t> StoredPhysios, StoredPlayers, StoredCoaches;

    TKordoStaff* Manager = nullptr;
    std::vector<TKordoStaff*> Physios, Players, Coaches;
    TKordoClub* OwnerClub = nullptr;     // the Owner of a club squad (kind 10)
    TKordoNation* OwnerNation = nullptr; // the Owner of a national squad (kind 11)
    bool operator==(const TKordoSquad&) const = default;
};

enum : uint8_t {
    KordoStaffNonPlayer = 1,
    KordoStaffPlayer = 2,
    KordoStaffPlayerNonPlayer = 3,
    KordoStaffReferee = 4,
};

// Offsets of the two embedded 56-byte contract blocks and of the fields inside a block.
constexpr size_t KordoClubContract = 210;
constexpr size_t KordoNationContract = 267;
constexpr size_t KordoContractSize = 56;
constexpr size_t KordoContractIsNation = 27;
constexpr size_t KordoContractEmployer = 28;
constexpr size_t KordoContractWage = 32;
constexpr size_t KordoContractExpires = 36;
constexpr size_t KordoContractSquadNumber = 53;

struct TKordoStaff : TKordoImage<338> {
    KORDO_FIELD(int32_t, ID, 0)
    KORDO_FIELD(uint8_t, StaffType, 4)
    KORDO_FIELD(int16_t, NonPlayerHomeReputation, 5)
    KORDO_FIELD(int16_t, NonPlayerCurrentReputation, 7)
    KORDO_FIELD(int16_t, NonPlayerWorldReputation, 9)
    KORDO_FIELD(int16_t, NonPlayerCurrentAbility, 11)
    KORDO_FIELD(int16_t, NonPlayerPotentialAbility, 13)
    KORDO_FIELD(uint32_t, StoredNonPlayerAtts, 16)
    KORDO_FIELD(int16_t, HomeReputation, 20)
    KORDO_FIELD(int16_t, CurrentReputation, 22)
    KORDO_FIELD(int16_t, WorldReputation, 24)
    KORDO_FIELD(int16_t, CurrentAbility, 26)
    KORDO_FIELD(int16_t, PotentialAbility, 28)
    KORDO_FIELD(uint32_t, StoredPlayerAtts, 30)
    KORDO_FIELD(uint8_t, PlayerExtraFlag, 66)
    KORDO_FIELD(int16_t, RefereeCurrentAbility, 131)
    KORDO_FIELD(int16_t, RefereePotentialAbility, 133)
    KORDO_FIELD(int16_t, RefereeReputation, 135)
    KORDO_FIELD(uint8_t, AllowingFlow, 137)
    KORDO_FIELD(uint8_t, Discipline, 138)
    KORDO_FIELD(uint8_t, RefereeImportantMatches, 139)
    KORDO_FIELD(uint8_t, RefereePressure, 140)
    KORDO_FIELD(uint8_t, Refereeing, 141)
    KORDO_FIELD(uint8_t, RunningLine, 142)
    KORDO_FIELD(uint8_t, Timekeeping, 143)
    KORDO_FIELD(uint32_t, StoredFirstName, 151)
    KORDO_FIELD(uint32_t, StoredSecondName, 155)
    KORDO_FIELD(uint32_t, StoredCommonName, 159)
    KORDO_FIELD(TKordoGameDate, DateOfBirth, 163)
    KORDO_FIELD(uint32_t, StoredNation, 167)
    KORDO_FIELD(uint8_t, Apps, 171)
    KORDO_FIELD(uint8_t, Goals, 172)
    KORDO_FIELD(uint32_t, StoredNationSquad, 173)
    KORDO_FIELD(uint8_t, NationJob, 177)
    KORDO_FIELD(TKordoGameDate, DateJoinedNation, 178)
    KORDO_FIELD(uint32_t, StoredClubSquad, 182)
    KORDO_FIELD(uint8_t, ClubJob, 186)
    KORDO_FIELD(TKordoGameDate, DateJoined, 187)
    KORDO_FIELD(uint32_t, StoredMentalAtts, 192)
    KORDO_FIELD(uint32_t, StoredCity, 196)
    KORDO_FIELD(uint8_t, HasClubContract, 209)
    KORDO_FIELD(uint32_t, StoredClubEmployer, KordoClubContract + KordoContractEmployer)
    KORDO_FIELD(uint32_t, ClubEstimatedWage, KordoClubContract + KordoContractWage)
    KORDO_FIELD(TKordoGameDate, ClubContractExpires, KordoClubContract + KordoContractExpires)
    KORDO_FIELD(uint8_t, ClubSquadNumber, KordoClubContract + KordoContractSquadNumber)
    KORDO_FIELD(uint8_t, HasNationContract, 266)
    KORDO_FIELD(uint32_t, StoredNationEmployer, KordoNationContract + KordoContractEmployer)
    KORDO_FIELD(uint32_t, NationEstimatedWage, KordoNationContract + KordoContractWage)
    KORDO_FIELD(TKordoGameDate, NationContractExpires, KordoNationContract + KordoContractExpires)
    KORDO_FIELD(uint8_t, NationSquadNumber, KordoNationContract + KordoContractSquadNumber)
    KORDO_FIELD(int32_t, PictureID, 334)

    uint8_t* ClubContract() { return Image.data() + KordoClubContract; }
    uint8_t* NationContract() { return Image.data() + KordoNationContract; }

    std::vector<TKordoRelation> Relations;

    TKordoName* FirstName = nullptr;
    TKordoName* SecondName = nullptr;
    TKordoName* CommonName = nullptr;
    TKordoNation* Nation = nullptr;
    TKordoSquad* NationSquad = nullptr;
    TKordoSquad* ClubSquad = nullptr;
    TKordoClub* ClubContractEmployer = nullptr;     // Employer of ClubContract
    TKordoNation* NationContractEmployer = nullptr; // Employer of NationContract
    TKordoPlayerAtt* PlayerAtts = nullptr;
    TKordoNonPlayerAtt* NonPlayerAtts = nullptr;
    TKordoMentalAtt* MentalAtts = nullptr;
    TKordoCity* City = nullptr;
    bool operator==(const TKordoStaff&) const = default;
};

// Attribute records: one unsigned byte per rating, and the record's own row 8 bytes before its end.
struct TKordoMentalAtt : TKordoImage<17> {
    static constexpr size_t RowField = 9;
    KORDO_FIELD(int32_t, MentalAttID, 9)
    bool operator==(const TKordoMentalAtt&) const = default;
};
struct TKordoPlayerAtt : TKordoImage<74> {
    static constexpr size_t RowField = 66;
    KORDO_FIELD(int32_t, PlayerAttID, 66)
    bool operator==(const TKordoPlayerAtt&) const = default;
};
struct TKordoNonPlayerAtt : TKordoImage<37> {
    static constexpr size_t RowField = 29;
    KORDO_FIELD(int32_t, NonPlayerAttID, 29)
    bool operator==(const TKordoNonPlayerAtt&) const = default;
};

// A named rating of an attribute record: its field name and its byte in the image.
struct TKordoAttField {
    const char* Name;
    uint8_t Offset;
};
extern const std::array<TKordoAttField, 8> KordoMentalAttFields;
extern const std::array<TKordoAttField, 65> KordoPlayerAttFields;
extern const std::array<TKordoAttField, 22> KordoNonPlayerAttFields;
// PreferredFormation is a code, not a rating.
constexpr uint8_t KordoPreferredFormationOffset = 11;
