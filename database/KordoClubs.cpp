#include "KordoClubRelations.h"
#include "KordoPregameData.h"
#include "KordoRecordIO.h"

namespace {

constexpr int64_t MinClubSize = 96; // four empty texts and six empty sub-lists

template <class IO, class Club> void ClubLayout(IO& io, Club& club) {
    io.Bytes(club, 0, 5);
    io.Text(club.Nickname1);
    io.Bytes(club, 10, 10);
    io.Text(club.Nickname2);
    io.Bytes(club, 15, 37);
    io.Numbers(club.StoredBoardMembers, 1, "BoardMembers");
    io.Numbers(club.StoredScouts, 1, "Scouts");
    io.Bytes(club, 46, 56);
    io.Opaque(club.List57, 11, "the sub-list at 57");
    io.Bytes(club, 61, 85);
    io.Text(club.ClubName);
    io.Text(club.ShortClubName);
    io.Opaque(club.List94, 6, "the sub-list at 94");
    io.Numbers(club.StoredSquads, 1, "Squads");
    io.Relations(club.Relations, "Relations");
    io.Bytes(club, 106, 113);
}

} // namespace

void TKordoClubs::Clear() {
    Index.reset();
    Records.clear();
    Records.shrink_to_fit();
}

void TKordoClubs::LoadFromStream(TKordoFileStream& stream) {
    stream.SetTable(TableName);
    int32_t count = stream.ReadValue<int32_t>();
    stream.CheckCount(count, MinClubSize, "record count");
    Records.clear();
    Records.resize(static_cast<size_t>(count));
    Index = std::make_unique<THashtable>(count);
    TKordoReader reader(stream);
    for (int32_t row = 0; row < count; ++row) {
        stream.SetRecord(row);
        TKordoClub& club = Records[static_cast<size_t>(row)];
        ClubLayout(reader, club);
        Index->Put(club.ClubID(), &club);
        ReportProgress(count, row);
    }
}

void TKordoClubs::SaveToStream(TKordoFileStream& stream) {
    stream.SetTable(TableName);
    stream.WriteValue<int32_t>(Count());
    TKordoWriter writer(stream);
    for (int32_t row = 0; row < Count(); ++row) {
        stream.SetRecord(row);
        ClubLayout(writer, std::as_const(Records[static_cast<size_t>(row)]));
        ReportProgress(Count(), row);
    }
}

TKordoClub* TKordoClubs::FindClub(int32_t clubID) const {
    return Index ? static_cast<TKordoClub*>(Index->Get(clubID)) : nullptr;
}

void TKordoClubs::SortClubPreferences() {
    for (int32_t row = 0; row < Count(); ++row) {
        KordoSortClubRelations(Records[static_cast<size_t>(row)]);
        ReportProgress(Count(), row);
    }
}

void TKordoClubs::CleanClubPreferences() {
    for (int32_t row = 0; row < Count(); ++row) {
        KordoCleanClubRelations(Records[static_cast<size_t>(row)]);
        ReportProgress(Count(), row);
    }
}
