#include "KordoPregameData.h"
#include "KordoRecordIO.h"

namespace {

constexpr int64_t MinSquadSize = 66; // a club squad with empty lists

template <class IO, class Squad> void SquadLayout(IO& io, Squad& squad) {
    io.Bytes(squad, 0, 0);
    // Bytes 1..13 are stored only for national squads.
    if (squad.SquadKind() == KordoNationalSquad) {
        io.Bytes(squad, 1, 51);
    } else {
        if constexpr (IO::Reading) {
            squad.template Put<uint16_t>(1, 0);
            squad.template Put<uint16_t>(3, 1900);
            squad.template Put<uint16_t>(5, 0);
            squad.template Put<uint16_t>(7, 1900);
            squad.template Put<uint8_t>(9, 26);
            squad.template Put<uint32_t>(10, 0);
        }
        io.Bytes(squad, 14, 51);
    }
    io.Numbers(squad.StoredPhysios, 1, "Physios");
    io.Numbers(squad.StoredPlayers, 2, "Players");
    io.Numbers(squad.StoredCoaches, 1, "Coaches");
    io.Bytes(squad, 64, 86);
}

} // namespace

void TKordoSquads::Clear() {
    Records.clear();
    Records.shrink_to_fit();
}

void TKordoSquads::LoadFromStream(TKordoFileStream& stream) {
    stream.SetTable(TableName);
    int32_t count = stream.ReadValue<int32_t>();
    stream.CheckCount(count, MinSquadSize, "record count");
    Records.clear();
    Records.resize(static_cast<size_t>(count));
    TKordoReader reader(stream);
    for (int32_t row = 0; row < count; ++row) {
        stream.SetRecord(row);
        SquadLayout(reader, Records[static_cast<size_t>(row)]);
        ReportProgress(count, row);
    }
}

void TKordoSquads::SaveToStream(TKordoFileStream& stream) {
    stream.SetTable(TableName);
    stream.WriteValue<int32_t>(Count());
    TKordoWriter writer(stream);
    for (int32_t row = 0; row < Count(); ++row) {
        stream.SetRecord(row);
        SquadLayout(writer, std::as_const(Records[static_cast<size_t>(row)]));
        ReportProgress(Count(), row);
    }
}
