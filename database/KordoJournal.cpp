#include "KordoJournal.h"

#include "KordoPregameData.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The six name group fields of a nation (start and count of each name table). The name tables' list
// changes own them: a kept copy of the nation never brings them back.
constexpr size_t RangesOffset = 28;
constexpr size_t RangesSize = 24;

using TRanges = std::array<uint8_t, RangesSize>;

TRanges RangesOf(const TKordoNation& nation) {
    TRanges ranges;
    std::memcpy(ranges.data(), nation.Image.data() + RangesOffset, RangesSize);
    return ranges;
}

void SetRanges(TKordoNation& nation, const TRanges& ranges) {
    std::memcpy(nation.Image.data() + RangesOffset, ranges.data(), RangesSize);
}

// Whether a kept copy stands for the same state as the record.
template <class Record> bool SameState(const Record& record, const Record& copy) {
    return record == copy;
}
bool SameState(const TKordoNation& record, const TKordoNation& copy) {
    TKordoNation ranged = copy;
    SetRanges(ranged, RangesOf(record));
    return record == ranged;
}

// The heap memory behind a record's texts and lists.
size_t HeapOf(const std::u16string& text) {
    return text.capacity() > 7 ? (text.capacity() + 1) * sizeof(char16_t) : 0;
}
template <class T> size_t HeapOf(const std::vector<T>& list) {
    return list.capacity() * sizeof(T);
}
size_t HeapOf(const TKordoOpaqueList& list) {
    return HeapOf(list.Bytes);
}
size_t HeapOf(const TKordoStaff& staff) {
    return HeapOf(staff.Relations);
}
size_t HeapOf(const TKordoClub& club) {
    return HeapOf(club.Nickname1) + HeapOf(club.Nickname2) + HeapOf(club.ClubName) +
           HeapOf(club.ShortClubName) + HeapOf(club.StoredBoardMembers) + HeapOf(club.StoredScouts) +
           HeapOf(club.StoredSquads) + HeapOf(club.List57) + HeapOf(club.List94) + HeapOf(club.Relations) +
           HeapOf(club.BoardMembers) + HeapOf(club.Scouts) + HeapOf(club.Squads);
}
size_t HeapOf(const TKordoSquad& squad) {
    return HeapOf(squad.StoredPhysios) + HeapOf(squad.StoredPlayers) + HeapOf(squad.StoredCoaches) +
           HeapOf(squad.Physios) + HeapOf(squad.Players) + HeapOf(squad.Coaches);
}
size_t HeapOf(const TKordoNation& nation) {
    return HeapOf(nation.NationName) + HeapOf(nation.NationSecondName) + HeapOf(nation.List125) +
           HeapOf(nation.List141) + HeapOf(nation.List150);
}
size_t HeapOf(const TKordoName& name) {
    return HeapOf(name.Name);
}
template <size_t Size> size_t HeapOf(const TKordoImage<Size>&) {
    return 0;
}

} // namespace

TKordoChangeJournal::TKordoChangeJournal() = default;
TKordoChangeJournal::~TKordoChangeJournal() = default;
TKordoChangeJournal::TKordoChangeJournal(TKordoChangeJournal&&) noexcept = default;
TKordoChangeJournal& TKordoChangeJournal::operator=(TKordoChangeJournal&&) noexcept = default;

template <class Record> void TKordoChangeJournal::Touch(Record* record) {
    if (!Touched.insert(record).second)
        return;
    Entries.emplace_back(TTouched<Record>{record, std::make_unique<Record>(*record)});
}

template void TKordoChangeJournal::Touch(TKordoStaff*);
template void TKordoChangeJournal::Touch(TKordoClub*);
template void TKordoChangeJournal::Touch(TKordoSquad*);
template void TKordoChangeJournal::Touch(TKordoNation*);
template void TKordoChangeJournal::Touch(TKordoName*);
template void TKordoChangeJournal::Touch(TKordoMentalAtt*);
template void TKordoChangeJournal::Touch(TKordoPlayerAtt*);
template void TKordoChangeJournal::Touch(TKordoNonPlayerAtt*);

void TKordoChangeJournal::NameInserted(TKordoNames& table, TKordoName* name, TKordoNameChange change) {
    Entries.emplace_back(TNameEntry{&table, name, true, table.Generation(), std::move(change)});
}

void TKordoChangeJournal::NameRemoved(TKordoNames& table, TKordoName* name, TKordoNameChange change) {
    Entries.emplace_back(TNameEntry{&table, name, false, table.Generation(), std::move(change)});
}

void TKordoChangeJournal::StaffCreated(TKordoStaffs& table, TKordoStaff* staff, int32_t maxStaffID,
                                       int32_t maxPictureID, TKordoStaff* indexed) {
    Entries.emplace_back(TStaffEntry{&table, staff, true, table.Generation(), table.Count() - 1, true,
                                     maxStaffID, maxPictureID, indexed});
}

void TKordoChangeJournal::StaffRemoved(TKordoStaffs& table, TKordoStaff* staff, int32_t row) {
    Entries.emplace_back(TStaffEntry{&table, staff, false, table.Generation(), row});
}

template <class Record> void TKordoChangeJournal::AttCreated(TKordoAttTable<Record>& table, Record* record) {
    Entries.emplace_back(TAttEntry<Record>{&table, record, true, table.Count() - 1});
}

template <class Record>
void TKordoChangeJournal::AttRemoved(TKordoAttTable<Record>& table, Record* record, int32_t row) {
    Entries.emplace_back(TAttEntry<Record>{&table, record, false, row});
}

template void TKordoChangeJournal::AttCreated(TKordoAttTable<TKordoMentalAtt>&, TKordoMentalAtt*);
template void TKordoChangeJournal::AttCreated(TKordoAttTable<TKordoPlayerAtt>&, TKordoPlayerAtt*);
template void TKordoChangeJournal::AttCreated(TKordoAttTable<TKordoNonPlayerAtt>&, TKordoNonPlayerAtt*);
template void TKordoChangeJournal::AttRemoved(TKordoAttTable<TKordoMentalAtt>&, TKordoMentalAtt*, int32_t);
template void TKordoChangeJournal::AttRemoved(TKordoAttTable<TKordoPlayerAtt>&, TKordoPlayerAtt*, int32_t);
template void TKordoChangeJournal::AttRemoved(TKordoAttTable<TKordoNonPlayerAtt>&, TKordoNonPlayerAtt*,
                                              int32_t);

void TKordoChangeJournal::Finish() {
    // A record that ends as it began swaps with an equal copy: whatever else is played, it changes
    // nothing.
    std::erase_if(Entries, [](const TEntry& entry) {
        return std::visit(
            [](const auto& e) {
                if constexpr (requires { e.Copy; })
                    return SameState(*e.Target, *e.Copy);
                else
                    return false;
            },
            entry);
    });
    Entries.shrink_to_fit();
    Touched = {};
}

void TKordoChangeJournal::Undo() {
    for (auto entry = Entries.rbegin(); entry != Entries.rend(); ++entry)
        Play(*entry, false);
}

void TKordoChangeJournal::Redo() {
    for (TEntry& entry : Entries)
        Play(entry, true);
}

void TKordoChangeJournal::Play(TEntry& entry, bool forwards) {
    std::visit(
        [forwards](auto& e) {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, TNameEntry>)
                PlayName(e, forwards);
            else if constexpr (std::is_same_v<T, TStaffEntry>)
                PlayStaff(e, forwards);
            else if constexpr (requires { e.Copy; })
                Swap(e);
            else
                PlayAtt(e, forwards);
        },
        entry);
}

template <class Record> void TKordoChangeJournal::Swap(TTouched<Record>& touched) {
    if constexpr (std::is_same_v<Record, TKordoNation>) {
        const TRanges ranges = RangesOf(*touched.Target);
        std::swap(*touched.Target, *touched.Copy);
        SetRanges(*touched.Target, ranges);
    } else {
        std::swap(*touched.Target, *touched.Copy);
    }
}

void TKordoChangeJournal::PlayName(TNameEntry& entry, bool forwards) {
    TKordoNames& table = *entry.Table;
    const bool insert = entry.Inserted == forwards;
    const int32_t row = entry.Change.Row;
    const bool inPlace = entry.Generation == table.Generation() &&
                         (insert ? row >= 0 && row <= table.Count()
                                 : row >= 0 && row < table.Count() && table.Item(row) == entry.Name);
    if (inPlace) {
        if (insert)
            table.InsertNameAt(row, entry.Name);
        else
            table.EraseNameAt(row);
        table.SwapRanges(entry.Change.Ranges, !forwards);
        return;
    }
    // The names were reordered since: the name goes into or out of its nation's group where that now
    // lies. What was set is kept as the change to play the other way, in the order that undoes it.
    TKordoNameChange change = insert ? table.InsertName(entry.Name, row) : table.RemoveName(entry.Name);
    if (!forwards)
        std::reverse(change.Ranges.begin(), change.Ranges.end());
    if (change.Row >= 0)
        entry.Change = std::move(change);
    entry.Generation = table.Generation();
}

void TKordoChangeJournal::PlayStaff(TStaffEntry& entry, bool forwards) {
    TKordoStaffs& table = *entry.Table;
    const bool insert = entry.Inserted == forwards;
    // After a reordering a removed person goes back where his row now points, as near as the list
    // allows; the next save orders the people again.
    if (insert)
        entry.Row = table.InsertStaffAt(entry.Row, entry.Staff);
    else if (int32_t row =
                 table.EraseStaff(entry.Staff, entry.Generation == table.Generation() ? entry.Row : -1);
             row >= 0)
        entry.Row = row;
    entry.Generation = table.Generation();
    if (entry.Created) {
        std::swap(table.MaxStaffID, entry.MaxStaffID);
        std::swap(table.MaxPictureID, entry.MaxPictureID);
        entry.Indexed = table.IndexStaff(entry.Staff->ID(), entry.Indexed);
    }
}

template <class Record> void TKordoChangeJournal::PlayAtt(TAttEntry<Record>& entry, bool forwards) {
    // Attribute tables are never reordered: the row holds.
    if (entry.Inserted == forwards)
        entry.Row = entry.Table->InsertAt(entry.Row, entry.Target);
    else if (int32_t row = entry.Table->Erase(entry.Target, entry.Row); row >= 0)
        entry.Row = row;
}

size_t TKordoChangeJournal::Bytes() const {
    size_t bytes = sizeof(*this) + Entries.capacity() * sizeof(TEntry);
    for (const TEntry& entry : Entries)
        std::visit(
            [&bytes](const auto& e) {
                using T = std::decay_t<decltype(e)>;
                if constexpr (requires { e.Copy; })
                    bytes += sizeof(*e.Copy) + HeapOf(*e.Copy);
                else if constexpr (std::is_same_v<T, TNameEntry>)
                    bytes += HeapOf(e.Change.Ranges);
            },
            entry);
    return bytes;
}
