// The table classes of both database files.
#pragma once

#include "Hashtable.h"
#include "KordoContainer.h"
#include "KordoJournal.h"
#include "KordoLookupTables.h"
#include "KordoRecords.h"

#include <array>
#include <memory>

class TKordoClubs : public TKordoContainer {
public:
    TKordoClubs() { TableName = "Clubs"; }
    ~TKordoClubs() override { Clear(); }
    void Clear() override;
    int32_t Count() const { return static_cast<int32_t>(Records.size()); }
    TKordoClub* Item(int32_t row) { return &Records[static_cast<size_t>(row)]; }
    void LoadFromStream(TKordoFileStream& stream);
    void SaveToStream(TKordoFileStream& stream);
    // The club with this ClubID; with two clubs sharing one, the later one.
    TKordoClub* FindClub(int32_t clubID) const;
    // Before saving: every club's relations sorted and its rivals doubled. After loading or saving:
    // the rival copies folded again. Both report progress after each club.
    void SortClubPreferences();
    void CleanClubPreferences();

    TKordoRecordArray<TKordoClub> Records;

private:
    std::unique_ptr<THashtable> Index;
};

class TKordoNations : public TKordoContainer {
public:
    TKordoNations() { TableName = "Nations"; }
    ~TKordoNations() override { Clear(); }
    void Clear() override;
    int32_t Count() const { return static_cast<int32_t>(Records.size()); }
    TKordoNation* Item(int32_t row) { return &Records[static_cast<size_t>(row)]; }
    void LoadFromStream(TKordoFileStream& stream);
    void SaveToStream(TKordoFileStream& stream);

    TKordoRecordArray<TKordoNation> Records;
};

// One of the three name tables. Names are kept grouped by nation (nationless names first), and each
// nation stores where its group starts and how long it is.
class TKordoNames : public TKordoContainer {
public:
    explicit TKordoNames(uint8_t kind);
    ~TKordoNames() override { Clear(); }
    void Clear() override;
    int32_t Count() const { return static_cast<int32_t>(Names.size()); }
    // Throws std::out_of_range for a row outside 0..Count-1.
    TKordoName* Item(int32_t row) const { return Names.at(static_cast<size_t>(row)); }
    const std::vector<TKordoName*>& List() const { return Names; }
    uint8_t NameKind() const { return Kind; }

    void LoadFromStream(TKordoFileStream& stream);
    void SaveToStream(TKordoFileStream& stream);

    // The name with exactly this text in the nation's group, created at the front of the group when
    // absent. Does not change UseCount.
    TKordoName* FindOrAdd(const std::u16string& text, TKordoNation* nation);
    void AddUse(TKordoName* name);
    // One use fewer; at 0 the name leaves the table (it stays allocated until Clear).
    void Release(TKordoName* name);
    // Orders the names for saving (nation index, then most used first) and numbers them by row.
    void SortNames();

    // The list changes behind FindOrAdd and Release, also used to take edits back. InsertName puts the
    // name into its nation's group at the row when the row lies in the group, else at the group's
    // start (a nation without a group of its own opens one at the end); RemoveName takes it out. The
    // groups that follow move. Both return the row and the ranges they set.
    TKordoNameChange InsertName(TKordoName* name, int32_t row);
    TKordoNameChange RemoveName(TKordoName* name);
    // The list alone: the name put in at the row, or taken out of it.
    void InsertNameAt(int32_t row, TKordoName* name);
    void EraseNameAt(int32_t row);
    // Sets every range to the values kept for it and keeps the values it held instead, in the order
    // given or the reverse.
    void SwapRanges(std::vector<TKordoNameRange>& ranges, bool backwards);
    // Moves on whenever the names are reordered wholesale (sorting for a save).
    uint32_t Generation() const { return Sorts; }

    // The (start, count) of a nation's group; for no nation, (0, number of leading nationless names).
    std::pair<int32_t, int32_t> RangeOf(const TKordoNation* nation) const;

private:
    void SetRange(TKordoNation* nation, int32_t start, int32_t count);
    void ShiftFollowingGroups(int64_t row);

    uint8_t Kind;
    uint32_t Sorts = 0;
    std::vector<TKordoNameRange>* Capture = nullptr; // where SetRange keeps the ranges it replaces
    TKordoRecordArray<TKordoName> Records;
    std::vector<std::unique_ptr<TKordoName>> Created;
    std::vector<TKordoName*> Names;
};

class TKordoSquads : public TKordoContainer {
public:
    TKordoSquads() { TableName = "Squads"; }
    ~TKordoSquads() override { Clear(); }
    void Clear() override;
    int32_t Count() const { return static_cast<int32_t>(Records.size()); }
    TKordoSquad* Item(int32_t row) { return &Records[static_cast<size_t>(row)]; }
    void LoadFromStream(TKordoFileStream& stream);
    void SaveToStream(TKordoFileStream& stream);

    TKordoRecordArray<TKordoSquad> Records;
};

class TKordoStaffs : public TKordoContainer {
public:
    TKordoStaffs() { TableName = "Staff"; }
    ~TKordoStaffs() override { Clear(); }
    void Clear() override;
    int32_t Count() const { return static_cast<int32_t>(Staff.size()); }
    // Throws std::out_of_range for a row outside 0..Count-1.
    TKordoStaff* Item(int32_t row) const { return Staff.at(static_cast<size_t>(row)); }
    const std::vector<TKordoStaff*>& List() const { return Staff; }

    void LoadFromStream(TKordoFileStream& stream);
    // The three counts are those of the mental, player and non-player attribute tables.
    void SaveToStream(TKordoFileStream& stream, int32_t mentalCount, int32_t playerCount,
                      int32_t nonPlayerCount);

    // The person with this ID, also after he was removed; with two sharing one ID, the later one.
    TKordoStaff* FindStaff(int32_t id) const;
    void PrefetchStaff(int32_t id) const {
        if (Index)
            Index->Prefetch(id);
    }
    // A blank referee with the next ID and picture number.
    TKordoStaff* NewStaff();
    // Takes the person out of the list; his record stays allocated and findable until Clear.
    void RemoveStaff(TKordoStaff* staff);
    // Orders the people by their nation's index (no nation first) for saving.
    void SortStaff();

    // The list changes behind NewStaff and RemoveStaff, also used to take edits back: the person put
    // in at the row (at the end when the row lies beyond it), or taken out from the row when he is
    // there, else from wherever he is. Both return the row, EraseStaff -1 when he was not listed.
    int32_t InsertStaffAt(int32_t row, TKordoStaff* staff);
    int32_t EraseStaff(TKordoStaff* staff, int32_t row);
    // Puts the person under the ID in the index, or with nullptr takes the ID out; returns whom the
    // index held under it.
    TKordoStaff* IndexStaff(int32_t id, TKordoStaff* staff);
    // Moves on whenever the people are reordered wholesale (sorting for a save).
    uint32_t Generation() const { return Sorts; }

    int32_t MaxStaffID = -1;
    int32_t MaxPictureID = -1;
    // The counts of the mental, player and non-player attribute tables that the file's Staff table
    // header holds (as read, or as last written).
    std::array<int32_t, 3> StoredAttCounts{};

private:
    uint32_t Sorts = 0;
    TKordoRecordArray<TKordoStaff> Records;
    std::unique_ptr<THashtable> Index;
    std::vector<TKordoStaff*> Staff;
    std::vector<std::unique_ptr<TKordoStaff>> Created;
};

// The three attribute tables differ only in record size and the place of the row number.
template <class Record> class TKordoAttTable : public TKordoContainer {
public:
    ~TKordoAttTable() override { Clear(); }
    void Clear() override;
    int32_t Count() const { return static_cast<int32_t>(Atts.size()); }
    // Throws std::out_of_range for a row outside 0..Count-1.
    Record* Item(int32_t row) const { return Atts.at(static_cast<size_t>(row)); }
    const std::vector<Record*>& List() const { return Atts; }

    void LoadFromStream(TKordoFileStream& stream);
    void SaveToStream(TKordoFileStream& stream);
    // A new all-zero record at the end of the table.
    Record* NewRecord();
    // Takes the record out of the table; it is no longer counted or saved.
    void GiveBack(Record* record);
    // The list changes behind them, also used to take edits back: the record put in at the row (at the
    // end when the row lies beyond it), or taken out from the row when it is there, else from wherever
    // it is. Both return the row, Erase -1 when it was not listed.
    int32_t InsertAt(int32_t row, Record* record);
    int32_t Erase(Record* record, int32_t row);
    // Sets every record's row number to its row.
    void Renumber();

private:
    TKordoRecordArray<Record> Records;
    std::vector<Record*> Atts;
    std::vector<std::unique_ptr<Record>> Created;
};

class TKordoMentalAtts : public TKordoAttTable<TKordoMentalAtt> {
public:
    TKordoMentalAtts() { TableName = "Mental Attributes"; }
};
class TKordoPlayerAtts : public TKordoAttTable<TKordoPlayerAtt> {
public:
    TKordoPlayerAtts() { TableName = "Player Attributes"; }
};
class TKordoNonPlayerAtts : public TKordoAttTable<TKordoNonPlayerAtt> {
public:
    TKordoNonPlayerAtts() { TableName = "Non Player Attributes"; }
};

// The thirteen tables carried without interpretation, read and written by number (1 to 13).
class TKordoUnknowns {
public:
    static constexpr int TableCount = 13;
    // Record size of each table in the file; tables 2 and 13 store their count only.
    static constexpr std::array<int32_t, TableCount> RecordSizes{9,  0,  38, 10, 30, 31, 25,
                                                                 28, 17, 30, 24, 9,  0};
    static std::string TableName(int table);

    TKordoUnknowns() = default;
    TKordoUnknowns(const TKordoUnknowns&) = delete;
    TKordoUnknowns& operator=(const TKordoUnknowns&) = delete;
    ~TKordoUnknowns() { ClearAll(); }
    void ClearAll();
    void LoadTable(TKordoFileStream& stream, int table);
    void SaveTable(TKordoFileStream& stream, int table) const;
    int32_t Count(int table) const;

    TKordoProgressEvent OnProgress;

private:
    void ReportRecordlessProgress(int32_t count) const;
    // Records of table n as one block of bytes. A table whose records have no bytes keeps only its
    // count, so no count, however large, allocates anything.
    std::array<std::vector<uint8_t>, TableCount> Tables;
    std::array<int32_t, TableCount> Counts{};
};
