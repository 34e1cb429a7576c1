// The body of the forms fuzz target, in a header so that a test runs the same code on sound and
// damaged databases. On every input that loads, the editing session's forms show and confirm people
// and clubs unchanged (which records no command), then edit each one and undo the edit; the lists and
// the preference dialog read them, the tables are exported, and then the database must save exactly
// what a plain save of the same input writes.
#pragma once

#include "KordoFuzzTargets.h"

#include "KordoEditSession.h"
#include "KordoExport.h"
#include "KordoSearch.h"

#include <sstream>

// How many people and clubs one input drives through the forms, so that every input stays quick.
constexpr size_t KordoFuzzFormRecords = 200;

namespace KordoFuzzDetail {

// Both files of the input read into the database and linked; false when a reader refused them.
inline bool LoadInput(const TKordoFuzzBytes& server, const TKordoFuzzBytes& people,
                      TKordoPregameDatabase& database) {
    bool read = Accepts(server, TKordoPregameDatabase::ServerFileName,
                        [&](TKordoFileStream& s) { database.ReadServerFile(s); }) &&
                Accepts(people, TKordoPregameDatabase::PeopleFileName,
                        [&](TKordoFileStream& s) { database.ReadPeopleFile(s); });
    if (read)
        database.IndexAll();
    return read;
}

// What a save through memory writes: both files joined, or the error when the save refused.
inline std::string SavedBytes(TKordoPregameDatabase& database) {
    TSaveFolder& folder = SaveFolder();
    database.WrapDevice = [&folder](std::unique_ptr<TKordoByteDevice>, const std::filesystem::path& target) {
        return folder.Open(target);
    };
    if (!database.Save(folder.Folder))
        return "refused: " + database.LastError();
    return std::string(folder.Server.begin(), folder.Server.end()) + "|" +
           std::string(folder.People.begin(), folder.People.end());
}

// Every cell of a list of all records, in every order, filtered, searched and typed ahead in; the
// names are never empty.
inline void ReadLists(TKordoSearch& search) {
    auto readCells = [&] {
        for (int32_t row = 0; row < search.RowCount() && static_cast<size_t>(row) < KordoFuzzFormRecords;
             ++row) {
            Expect(!search.RowText(row).empty(), "a list row without text");
            for (int32_t column = 0; column < search.ColumnCount(); ++column)
                search.CellText(row, column);
        }
    };
    search.ShowAll();
    readCells();
    for (int32_t column = 0; column < search.ColumnCount(); ++column)
        for (bool descending : {false, true}) {
            search.SortBy(column, descending);
            readCells();
        }
    search.SortBy(0, false);
    TKordoPregameDatabase& database = search.SearchedDatabase();
    TKordoSearchFilter filter;
    filter.StaffType = KordoStaffPlayer;
    filter.Nation = database.Nations.Records.empty() ? nullptr : &database.Nations.Records[0];
    filter.Club = database.Clubs.Records.empty() ? nullptr : &database.Clubs.Records[0];
    filter.BornFrom = 1900;
    filter.BornTo = 2000;
    search.SetFilter(filter);
    search.Find(u"");
    search.Find(u"a");
    readCells();
    search.SetFilter({});
    for (const char16_t* text : {u"a", u"an", u"a n", u" ", u"\u00DF"}) {
        search.Search(text);
        readCells();
    }
    search.FindTypeAhead(u"b");
}

// Every person (up to the limit) gets a new second name and nation and one more app, every club one
// more point of training and another nation; then everything is undone, which must leave the
// database as it was.
inline void EditAndUndo(TKordoEditSession& session, const std::vector<TKordoStaff*>& people) {
    TKordoPregameDatabase& database = *session.Database();
    auto nationAt = [&](size_t i) {
        const auto& items = session.Staff.Control("cmbNation").Items;
        return items.empty() ? TKordoRecordRef() : items[i % items.size()].Record;
    };
    for (size_t i = 0; i < people.size() && i < KordoFuzzFormRecords; ++i) {
        StaffForm& form = session.Staff;
        form.Focus(people[i]);
        form.Control("edSecondName").Text = u"Fuzz" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
        form.Control("cmbNation").SelectRecord(nationAt(i));
        form.Control("seApps").Number = (form.Control("seApps").Number + 1) % 256;
        session.ConfirmStaff();
    }
    for (int32_t row = 0; row < database.Clubs.Count() && static_cast<size_t>(row) < KordoFuzzFormRecords;
         ++row) {
        ClubForm& form = session.Club;
        form.Focus(database.Clubs.Item(row));
        form.Control("seTraining").Number = (form.Control("seTraining").Number + 1) % 21;
        form.Control("cmbNation")
            .SelectIndex(row % static_cast<int32_t>(form.Control("cmbNation").Items.size()));
        session.ConfirmClub();
    }
    session.UndoAll();
    Expect(!database.Modified, "undoing every edit left the database modified");
}

} // namespace KordoFuzzDetail

// Returns whether the input loaded (and so went through the forms).
inline bool KordoFuzzForms(const uint8_t* data, size_t size) {
    using namespace KordoFuzzDetail;
    TKordoFuzzBytes serverBytes, peopleBytes;
    KordoFuzzSplitFiles(data, size, serverBytes, peopleBytes);
    TKordoPregameDatabase database, plain;
    if (!LoadInput(serverBytes, peopleBytes, database) || !LoadInput(serverBytes, peopleBytes, plain))
        return false;

    TKordoEditSession session;
    session.Bind(&database);
    TKordoPreferenceDialog dialog;
    const std::vector<TKordoStaff*> people = database.Staffs.List();
    for (size_t i = 0; i < people.size() && i < KordoFuzzFormRecords; ++i) {
        session.Staff.Focus(people[i]);
        std::string refusal;
        Expect(session.ConfirmStaff(&refusal), "an unchanged person was refused: " + refusal);
        dialog.OpenPreferenceDialog(true, true, true);
        dialog.Choose(people[i]);
    }
    for (int32_t row = 0; row < database.Clubs.Count() && static_cast<size_t>(row) < KordoFuzzFormRecords;
         ++row) {
        session.Club.Focus(database.Clubs.Item(row));
        Expect(session.ConfirmClub(), "an unchanged club was refused");
        dialog.OpenPreferenceDialog(false, false, true);
        dialog.Choose(database.Clubs.Item(row));
    }
    Expect(session.Count() == 0 && !database.Modified, "confirming unchanged forms recorded a command");
    EditAndUndo(session, people);

    TKordoStaffSearch staffSearch(database);
    ReadLists(staffSearch);
    TKordoClubSearch clubSearch(database);
    ReadLists(clubSearch);
    for (auto table : {TKordoExportTable::People, TKordoExportTable::Clubs, TKordoExportTable::Nations})
        for (auto format : {TKordoExportFormat::Csv, TKordoExportFormat::Json}) {
            std::ostringstream out;
            Expect(KordoExportTable(database, table, out, format), "an export to memory failed");
        }

    Expect(SavedBytes(database) == SavedBytes(plain), "the forms changed what a save writes");
    return true;
}
