#include "KordoPregameData.h"

#include <algorithm>

namespace {

constexpr int64_t MinNameSize = 19; // byte 0, an empty text, bytes 5..18

int32_t NationKey(const TKordoNation* nation) {
    return nation ? nation->NationIndex() : -1;
}

} // namespace

TKordoNames::TKordoNames(uint8_t kind) : Kind(kind) {
    static const char* const names[] = {"First Names", "Second Names", "Common Names"};
    TableName = kind >= 1 && kind <= 3 ? names[kind - 1] : "Names";
}

void TKordoNames::Clear() {
    Names.clear();
    Records.clear();
    Records.shrink_to_fit();
    Created.clear();
}

void TKordoNames::LoadFromStream(TKordoFileStream& stream) {
    Clear();
    stream.SetTable(TableName);
    int32_t count = stream.ReadValue<int32_t>();
    stream.CheckCount(count, MinNameSize, "record count");
    Records.clear();
    Records.resize(static_cast<size_t>(count));
    Names.reserve(static_cast<size_t>(count));
    for (int32_t row = 0; row < count; ++row) {
        stream.SetRecord(row);
        TKordoName& name = Records[static_cast<size_t>(row)];
        stream.Read(name.Image.data(), 1);
        stream.ReadWideString(name.Name);
        stream.Read(name.Image.data() + 5, 14);
        Names.push_back(&name);
        ReportProgress(count, row);
    }
}

void TKordoNames::SaveToStream(TKordoFileStream& stream) {
    stream.SetTable(TableName);
    stream.WriteValue<int32_t>(Count());
    for (int32_t row = 0; row < Count(); ++row) {
        stream.SetRecord(row);
        const TKordoName& name = *Names[static_cast<size_t>(row)];
        stream.Write(name.Image.data(), 1);
        stream.WriteWideString(name.Name);
        stream.Write(name.Image.data() + 5, 14);
        ReportProgress(Count(), row);
    }
}

std::pair<int32_t, int32_t> TKordoNames::RangeOf(const TKordoNation* nation) const {
    if (nation)
        return {nation->NameStart(Kind), nation->NameCount(Kind)};
    int32_t count = 0;
    while (count < Count() && Names[static_cast<size_t>(count)]->Nation == nullptr)
        ++count;
    return {0, count};
}

void TKordoNames::SetRange(TKordoNation* nation, int32_t start, int32_t count) {
    if (!nation)
        return;
    if (Capture)
        Capture->push_back({nation, nation->NameStart(Kind), nation->NameCount(Kind)});
    nation->SetNameRange(Kind, start, count);
}

void TKordoNames::ShiftFollowingGroups(int64_t row) {
    // Walk the groups that follow, one at a time, setting each group's start to where it now lies.
    // A group whose stored length is not positive (ranges that disagree with the order) still moves
    // the walk on by one name, so a damaged file cannot make it loop for ever. The walk counts in 64
    // bits: a damaged length near 2^31 ends it instead of overflowing.
    while (row >= 0 && row < Count()) {
        TKordoNation* nation = Names[static_cast<size_t>(row)]->Nation;
        int32_t count = RangeOf(nation).second;
        SetRange(nation, static_cast<int32_t>(row), count);
        row += std::max(count, 1);
    }
}

namespace {

// A nation whose group is missing, emptied or lies outside the table has no place of its own any more:
// later insertions elsewhere do not keep an empty group's start up to date, so inserting there could
// land inside another nation's group.
bool HasGroup(int32_t start, int32_t count, int32_t names) {
    return start >= 0 && count > 0 && start <= names && count <= names - start;
}

} // namespace

TKordoName* TKordoNames::FindOrAdd(const std::u16string& text, TKordoNation* nation) {
    auto [start, count] = RangeOf(nation);
    if (!nation || HasGroup(start, count, Count()))
        for (int32_t row = start; row < start + count; ++row)
            if (Names[static_cast<size_t>(row)]->Name == text)
                return Names[static_cast<size_t>(row)];
    auto created = std::make_unique<TKordoName>();
    created->Name = text;
    created->Nation = nation;
    created->SetNameID(-1);
    TKordoName* name = created.get();
    Created.push_back(std::move(created));
    TKordoNameChange change = InsertName(name, start);
    if (Journal)
        Journal->NameInserted(*this, name, std::move(change));
    return name;
}

TKordoNameChange TKordoNames::InsertName(TKordoName* name, int32_t row) {
    TKordoNameChange change;
    Capture = &change.Ranges;
    TKordoNation* nation = name->Nation;
    auto [start, count] = RangeOf(nation);
    if (nation && !HasGroup(start, count, Count())) {
        // Such a nation opens a new group at the end.
        start = Count();
        count = 0;
        SetRange(nation, start, count);
    }
    change.Row = row >= start && row - start <= count ? row : start;
    Names.insert(Names.begin() + change.Row, name);
    ++count;
    SetRange(nation, start, count);
    ShiftFollowingGroups(start + count);
    Capture = nullptr;
    return change;
}

void TKordoNames::AddUse(TKordoName* name) {
    KordoTouch(Journal, name);
    name->SetUseCount(static_cast<uint16_t>(name->UseCount() + 1));
}

void TKordoNames::Release(TKordoName* name) {
    KordoTouch(Journal, name);
    name->SetUseCount(static_cast<uint16_t>(name->UseCount() - 1));
    if (name->UseCount() != 0)
        return;
    TKordoNameChange change = RemoveName(name);
    if (Journal && change.Row >= 0)
        Journal->NameRemoved(*this, name, std::move(change));
}

TKordoNameChange TKordoNames::RemoveName(TKordoName* name) {
    TKordoNameChange change;
    auto found = std::find(Names.begin(), Names.end(), name);
    if (found == Names.end())
        return change;
    Capture = &change.Ranges;
    change.Row = static_cast<int32_t>(found - Names.begin());
    auto [start, count] = RangeOf(name->Nation);
    // The stored range of a damaged file may hold any numbers: the length wraps at 32 bits as the
    // file's field does, and the end of the group is taken in 64 bits, rather than overflow.
    count = static_cast<int32_t>(static_cast<uint32_t>(count) - 1u);
    Names.erase(found);
    SetRange(name->Nation, start, count);
    ShiftFollowingGroups(static_cast<int64_t>(start) + count);
    Capture = nullptr;
    return change;
}

void TKordoNames::InsertNameAt(int32_t row, TKordoName* name) {
    KordoInsertAt(Names, row, name);
}

void TKordoNames::EraseNameAt(int32_t row) {
    Names.erase(Names.begin() + row);
}

void TKordoNames::SwapRanges(std::vector<TKordoNameRange>& ranges, bool backwards) {
    auto swap = [this](TKordoNameRange& range) {
        TKordoNameRange now{range.Nation, range.Nation->NameStart(Kind), range.Nation->NameCount(Kind)};
        range.Nation->SetNameRange(Kind, range.Start, range.Count);
        range = now;
    };
    if (backwards)
        std::for_each(ranges.rbegin(), ranges.rend(), swap);
    else
        std::for_each(ranges.begin(), ranges.end(), swap);
}

void TKordoNames::SortNames() {
    ++Sorts;
    KordoListSort(Names, [](const TKordoName* a, const TKordoName* b) {
        int32_t keyA = NationKey(a->Nation), keyB = NationKey(b->Nation);
        if (keyA != keyB)
            return keyA < keyB ? -1 : 1;
        if (a->UseCount() != b->UseCount())
            return a->UseCount() > b->UseCount() ? -1 : 1;
        return 0;
    });
    for (int32_t row = 0; row < Count(); ++row) {
        Names[static_cast<size_t>(row)]->SetNameID(row);
        ReportProgress(Count(), row);
    }
    // The sort moves a group opened at the end of the table to its nation's place without updating
    // the ranges of the groups it passes; the ranges are taken again from the sorted order, so that
    // what is written agrees with the names. Nations without names keep their stored range.
    for (int32_t row = 0; row < Count();) {
        TKordoNation* nation = Names[static_cast<size_t>(row)]->Nation;
        int32_t end = row + 1;
        while (end < Count() && Names[static_cast<size_t>(end)]->Nation == nation)
            ++end;
        SetRange(nation, row, end - row);
        row = end;
    }
}
