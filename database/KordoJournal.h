// What one edit changed in the database, kept so that the edit can be taken back and made again
// exactly. Before the edit first writes a record, a copy of the whole record is kept ("touched");
// the tables report every insertion into and removal from their lists with its row (and, for the name
// tables, every nation group range the change moved). Taking the edit back plays the journal
// backwards, swapping each kept copy with its record and reversing each list change; making it again
// plays the journal forwards. So the journal holds only what the edit touched, and after a round
// trip it describes the same edit again.
//
// Saving reorders the names and the people and renumbers records. A list change recorded before a
// save is taken back by the record it moved, not by its row: the name goes back into its nation's
// group and the person back into the list, wherever they now lie. A nation's name group ranges belong
// to the name tables' list changes and are never restored from a kept copy of the nation.
#pragma once

#include "KordoRecords.h"

#include <memory>
#include <unordered_set>
#include <variant>
#include <vector>

class TKordoNames;
class TKordoStaffs;
template <class Record> class TKordoAttTable;

// A nation's group in one name table, as it was before a list change set it.
struct TKordoNameRange {
    TKordoNation* Nation = nullptr;
    int32_t Start = 0;
    int32_t Count = 0;
};

// Where a name went into or came out of its table, and every group range the change set, in the order
// it set them, with the values they held before.
struct TKordoNameChange {
    int32_t Row = -1; // -1: the list did not change
    std::vector<TKordoNameRange> Ranges;
};

class TKordoChangeJournal {
public:
    TKordoChangeJournal();
    ~TKordoChangeJournal();
    TKordoChangeJournal(TKordoChangeJournal&&) noexcept;
    TKordoChangeJournal& operator=(TKordoChangeJournal&&) noexcept;

    // Keeps a copy of the record (a person, club, squad, nation, name or attribute record) before it is
    // first written; later calls for it change nothing.
    template <class Record> void Touch(Record* record);

    // The tables' reports of their list changes.
    void NameInserted(TKordoNames& table, TKordoName* name, TKordoNameChange change);
    void NameRemoved(TKordoNames& table, TKordoName* name, TKordoNameChange change);
    // A new person at the end of the list; the maxima and the index entry for his ID as they were.
    void StaffCreated(TKordoStaffs& table, TKordoStaff* staff, int32_t maxStaffID, int32_t maxPictureID,
                      TKordoStaff* indexed);
    void StaffRemoved(TKordoStaffs& table, TKordoStaff* staff, int32_t row);
    template <class Record> void AttCreated(TKordoAttTable<Record>& table, Record* record);
    template <class Record> void AttRemoved(TKordoAttTable<Record>& table, Record* record, int32_t row);

    // Ends the recording: copies of records that end as they began are dropped (the edit did not
    // change them), and so is the record of what was touched.
    void Finish();
    // Whether the edit changed anything (after Finish).
    bool Empty() const { return Entries.empty(); }
    // Takes the edit back: the database as it was before the edit. Then Redo makes it again.
    void Undo();
    void Redo();
    // The memory the journal holds, in bytes.
    size_t Bytes() const;

private:
    template <class Record> struct TTouched {
        Record* Target;
        std::unique_ptr<Record> Copy; // the record's other state: before the edit while it is done
    };
    struct TNameEntry {
        TKordoNames* Table;
        TKordoName* Name;
        bool Inserted; // what the edit did to the list
        uint32_t Generation;
        TKordoNameChange Change; // ranges: the other state, in the order the edit set them
    };
    struct TStaffEntry {
        TKordoStaffs* Table;
        TKordoStaff* Staff;
        bool Inserted;
        uint32_t Generation;
        int32_t Row;
        // A person the edit created: the other state of the maxima and of the index entry for his ID.
        bool Created = false;
        int32_t MaxStaffID = 0, MaxPictureID = 0;
        TKordoStaff* Indexed = nullptr;
    };
    template <class Record> struct TAttEntry {
        TKordoAttTable<Record>* Table;
        Record* Target;
        bool Inserted;
        int32_t Row;
    };
    using TEntry =
        std::variant<TTouched<TKordoStaff>, TTouched<TKordoClub>, TTouched<TKordoSquad>,
                     TTouched<TKordoNation>, TTouched<TKordoName>, TTouched<TKordoMentalAtt>,
                     TTouched<TKordoPlayerAtt>, TTouched<TKordoNonPlayerAtt>, TNameEntry, TStaffEntry,
                     TAttEntry<TKordoMentalAtt>, TAttEntry<TKordoPlayerAtt>, TAttEntry<TKordoNonPlayerAtt>>;

    // Plays one entry towards the state after the edit (forwards) or before it.
    void Play(TEntry& entry, bool forwards);
    template <class Record> static void Swap(TTouched<Record>& touched);
    static void PlayName(TNameEntry& entry, bool forwards);
    static void PlayStaff(TStaffEntry& entry, bool forwards);
    template <class Record> static void PlayAtt(TAttEntry<Record>& entry, bool forwards);

    std::vector<TEntry> Entries;
    std::unordered_set<const void*> Touched; // while recording
};

// Touches the record in the journal, when there is a journal and a record.
template <class Record> void KordoTouch(TKordoChangeJournal* journal, Record* record) {
    if (journal && record)
        journal->Touch(record);
}
