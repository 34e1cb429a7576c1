#include "KordoPregameData.h"
#include "KordoRecordIO.h"

namespace {

constexpr int64_t MinNationSize = 153; // two empty texts and three empty sub-lists

template <class IO, class Nation> void NationLayout(IO& io, Nation& nation) {
    io.Bytes(nation, 0, 124);
    io.Opaque(nation.List125, 4, "the sub-list at 125");
    io.Bytes(nation, 129, 132);
    io.Text(nation.NationName);
    io.Text(nation.NationSecondName);
    io.Opaque(nation.List141, 6, "the sub-list at 141");
    io.Bytes(nation, 145, 149);
    io.Opaque(nation.List150, 8, "the sub-list at 150");
    io.Bytes(nation, 154, 161);
}

} // namespace

void TKordoNations::Clear() {
    Records.clear();
    Records.shrink_to_fit();
}

void TKordoNations::LoadFromStream(TKordoFileStream& stream) {
    stream.SetTable(TableName);
    int32_t count = stream.ReadValue<int32_t>();
    stream.CheckCount(count, MinNationSize, "record count");
    Records.clear();
    Records.resize(static_cast<size_t>(count));
    TKordoReader reader(stream);
    for (int32_t row = 0; row < count; ++row) {
        stream.SetRecord(row);
        NationLayout(reader, Records[static_cast<size_t>(row)]);
        ReportProgress(count, row);
    }
}

void TKordoNations::SaveToStream(TKordoFileStream& stream) {
    stream.SetTable(TableName);
    stream.WriteValue<int32_t>(Count());
    TKordoWriter writer(stream);
    for (int32_t row = 0; row < Count(); ++row) {
        stream.SetRecord(row);
        NationLayout(writer, std::as_const(Records[static_cast<size_t>(row)]));
        ReportProgress(Count(), row);
    }
}
