#include "KordoPregameData.h"
#include "KordoRecordIO.h"

#include <algorithm>

namespace {

constexpr int64_t MinStaffSize = 77; // ID and type, 58 bytes, no contracts, no relations, 11 bytes

// Steps 1 to 5 of a person's layout: only the blocks of his type are stored, the player block
// before the non-player block although it follows it in the image.
template <class IO, class Staff> void StaffHead(IO& io, Staff& staff) {
    io.Bytes(staff, 0, 4);
    uint8_t type = staff.StaffType();
    if (type == KordoStaffPlayer || type == KordoStaffPlayerNonPlayer) {
        io.Bytes(staff, 20, 66);
        if (staff.PlayerExtraFlag() != 0)
            io.Bytes(staff, 67, 82);
        io.Bytes(staff, 83, 126);
    }
    if (type == KordoStaffNonPlayer || type == KordoStaffPlayerNonPlayer)
        io.Bytes(staff, 5, 19);
    if (type == KordoStaffReferee)
        io.Bytes(staff, 127, 150);
    io.Bytes(staff, 151, 208);
}

void ReadStaff(TKordoReader& reader, TKordoStaff& staff) {
    TKordoFileStream& stream = reader.Stream;
    StaffHead(reader, staff);
    staff.SetHasClubContract(0);
    staff.SetHasNationContract(0);
    uint16_t blocks = stream.ReadValue<uint16_t>();
    stream.CheckCount(blocks, KordoContractSize, "contract block count");
    for (uint16_t i = 0; i < blocks; ++i) {
        uint8_t block[KordoContractSize];
        stream.Read(block, KordoContractSize);
        // The block's own flag decides its slot; a later block for a slot replaces an earlier one.
        if (block[KordoContractIsNation] != 0) {
            std::memcpy(staff.NationContract(), block, KordoContractSize);
            staff.SetHasNationContract(1);
        } else {
            std::memcpy(staff.ClubContract(), block, KordoContractSize);
            staff.SetHasClubContract(1);
        }
    }
    uint8_t present = stream.ReadValue<uint8_t>();
    if (present == 1)
        reader.Relations(staff.Relations, "Relations");
    reader.Bytes(staff, 327, 337);
}

void WriteStaff(TKordoWriter& writer, const TKordoStaff& staff) {
    TKordoFileStream& stream = writer.Stream;
    StaffHead(writer, staff);
    bool club = staff.HasClubContract() != 0, nation = staff.HasNationContract() != 0;
    stream.WriteValue<uint16_t>(static_cast<uint16_t>(club + nation));
    if (club)
        stream.Write(staff.Image.data() + KordoClubContract, KordoContractSize);
    if (nation)
        stream.Write(staff.Image.data() + KordoNationContract, KordoContractSize);
    stream.WriteValue<uint8_t>(staff.Relations.empty() ? 0 : 1);
    if (!staff.Relations.empty())
        writer.Relations(staff.Relations, "Relations");
    writer.Bytes(staff, 327, 337);
}

} // namespace

void TKordoStaffs::Clear() {
    Created.clear();
    Index.reset();
    Staff.clear();
    Records.clear();
    Records.shrink_to_fit();
}

void TKordoStaffs::LoadFromStream(TKordoFileStream& stream) {
    Clear();
    stream.SetTable(TableName);
    int32_t count = stream.ReadValue<int32_t>();
    // The three attribute counts that follow are rewritten on every save; they are kept only so that
    // a check can compare them with the tables.
    for (int32_t& stored : StoredAttCounts)
        stored = stream.ReadValue<int32_t>();
    stream.CheckCount(count, MinStaffSize, "record count");
    Records.clear();
    Records.resize(static_cast<size_t>(count));
    Index = std::make_unique<THashtable>(count);
    Staff.reserve(static_cast<size_t>(count));
    TKordoReader reader(stream);
    for (int32_t row = 0; row < count; ++row) {
        stream.SetRecord(row);
        TKordoStaff& staff = Records[static_cast<size_t>(row)];
        ReadStaff(reader, staff);
        Staff.push_back(&staff);
        MaxStaffID = std::max(MaxStaffID, staff.ID());
        MaxPictureID = std::max(MaxPictureID, staff.PictureID());
        ReportProgress(count, row);
    }
    // Indexed after reading, in file order (a later duplicate ID still wins), a few keys ahead.
    constexpr size_t Ahead = 8;
    for (size_t i = 0; i < Staff.size(); ++i) {
        if (i + Ahead < Staff.size())
            Index->Prefetch(Staff[i + Ahead]->ID());
        Index->Put(Staff[i]->ID(), Staff[i]);
    }
}

void TKordoStaffs::SaveToStream(TKordoFileStream& stream, int32_t mentalCount, int32_t playerCount,
                                int32_t nonPlayerCount) {
    stream.SetTable(TableName);
    stream.WriteValue<int32_t>(Count());
    StoredAttCounts = {mentalCount, playerCount, nonPlayerCount};
    for (int32_t stored : StoredAttCounts)
        stream.WriteValue<int32_t>(stored);
    TKordoWriter writer(stream);
    for (int32_t row = 0; row < Count(); ++row) {
        stream.SetRecord(row);
        WriteStaff(writer, *Staff[static_cast<size_t>(row)]);
        ReportProgress(Count(), row);
    }
}

TKordoStaff* TKordoStaffs::FindStaff(int32_t id) const {
    return Index ? static_cast<TKordoStaff*>(Index->Get(id)) : nullptr;
}

TKordoStaff* TKordoStaffs::NewStaff() {
    auto created = std::make_unique<TKordoStaff>();
    TKordoStaff* staff = created.get();
    Staff.push_back(staff);
    Created.push_back(std::move(created));
    const int32_t maxStaffID = MaxStaffID, maxPictureID = MaxPictureID;
    // Identifiers and picture numbers wrap at 32 bits rather than overflow.
    MaxStaffID = static_cast<int32_t>(static_cast<uint32_t>(MaxStaffID) + 1u);
    staff->SetID(MaxStaffID);
    staff->SetStaffType(KordoStaffReferee);
    staff->Put<int32_t>(127, -1);
    staff->Put<int32_t>(205, -1);
    staff->SetDateOfBirth(TKordoGameDate{});
    staff->SetDateJoinedNation(TKordoGameDate{});
    staff->SetDateJoined(TKordoGameDate{});
    staff->Put<int32_t>(330, staff->ID());
    MaxPictureID = static_cast<int32_t>(static_cast<uint32_t>(MaxPictureID) + 1u);
    staff->SetPictureID(MaxPictureID);
    TKordoStaff* indexed = IndexStaff(staff->ID(), staff);
    if (Journal)
        Journal->StaffCreated(*this, staff, maxStaffID, maxPictureID, indexed);
    return staff;
}

void TKordoStaffs::RemoveStaff(TKordoStaff* staff) {
    int32_t row = EraseStaff(staff, -1);
    if (Journal && row >= 0)
        Journal->StaffRemoved(*this, staff, row);
}

int32_t TKordoStaffs::InsertStaffAt(int32_t row, TKordoStaff* staff) {
    return KordoInsertAt(Staff, row, staff);
}

int32_t TKordoStaffs::EraseStaff(TKordoStaff* staff, int32_t row) {
    return KordoEraseFrom(Staff, staff, row);
}

TKordoStaff* TKordoStaffs::IndexStaff(int32_t id, TKordoStaff* staff) {
    if (!Index)
        Index = std::make_unique<THashtable>(0);
    return static_cast<TKordoStaff*>(staff ? Index->Put(id, staff) : Index->Remove(id));
}

void TKordoStaffs::SortStaff() {
    ++Sorts;
    KordoListSort(Staff, [](const TKordoStaff* a, const TKordoStaff* b) {
        int32_t keyA = a->Nation ? a->Nation->NationIndex() : -1;
        int32_t keyB = b->Nation ? b->Nation->NationIndex() : -1;
        return keyA < keyB ? -1 : keyA > keyB ? 1 : 0;
    });
}
