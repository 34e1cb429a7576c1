#include "KordoPregameData.h"

std::string TKordoUnknowns::TableName(int table) {
    return "Unknown " + std::to_string(table);
}

void TKordoUnknowns::ClearAll() {
    for (auto& table : Tables) {
        table.clear();
        table.shrink_to_fit();
    }
    Counts.fill(0);
}

void TKordoUnknowns::ReportRecordlessProgress(int32_t count) const {
    if (!OnProgress)
        return;
    // Records without bytes: a small count reports after every record as any table does; a huge one
    // reports each percentage once (every one from 0 to 100 is passed), so a count in the billions
    // costs nothing.
    if (count <= 100000) {
        for (int32_t row = 0; row < count; ++row)
            OnProgress(KordoPercentage(count, row));
        return;
    }
    for (int32_t percent = 0; percent <= 100; ++percent)
        OnProgress(percent);
}

int32_t TKordoUnknowns::Count(int table) const {
    return table >= 1 && table <= TableCount ? Counts[static_cast<size_t>(table - 1)] : 0;
}

void TKordoUnknowns::LoadTable(TKordoFileStream& stream, int table) {
    stream.SetTable(TableName(table));
    int32_t count = stream.ReadValue<int32_t>();
    if (table < 1 || table > TableCount)
        return;
    size_t n = static_cast<size_t>(table - 1);
    int32_t size = RecordSizes[n];
    stream.CheckCount(count, size, "record count");
    Counts[n] = count;
    Tables[n].resize(static_cast<size_t>(count) * static_cast<size_t>(size));
    if (size == 0) {
        ReportRecordlessProgress(count);
        return;
    }
    for (int32_t row = 0; row < count; ++row) {
        stream.SetRecord(row);
        stream.Read(Tables[n].data() + static_cast<size_t>(row) * static_cast<size_t>(size),
                    static_cast<size_t>(size));
        if (OnProgress)
            OnProgress(KordoPercentage(count, row));
    }
}

void TKordoUnknowns::SaveTable(TKordoFileStream& stream, int table) const {
    if (table < 1 || table > TableCount)
        return;
    stream.SetTable(TableName(table));
    size_t n = static_cast<size_t>(table - 1);
    int32_t count = Counts[n];
    size_t size = static_cast<size_t>(RecordSizes[n]);
    stream.WriteValue<int32_t>(count);
    if (size == 0) {
        ReportRecordlessProgress(count);
        return;
    }
    for (int32_t row = 0; row < count; ++row) {
        stream.SetRecord(row);
        stream.Write(Tables[n].data() + static_cast<size_t>(row) * size, size);
        if (OnProgress)
            OnProgress(KordoPercentage(count, row));
    }
}
