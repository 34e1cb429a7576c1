// The body of the forms fuzz target, in a header so that a test runs the same code on sound and
// damaged databases. On every input that loads, the editors' forms show and confirm people and clubs
// unchanged, the lists and the preference dialog read them, the tables are exported, and then the
// database must save exactly what a plain save of the same input writes.
#pragma once

#include "KordoFuzzTargets.h"

#include "ClubForm.h"
#include "KordoExport.h"
#include "KordoSearch.h"
#include "StaffForm.h"

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

// Every row's text of a list of all records, a search and a type-ahead; the texts are never empty.
inline void ReadLists(TKordoSearch& search) {
    search.ShowAll();
    for (int32_t row = 0; row < search.RowCount() && static_cast<size_t>(row) < KordoFuzzFormRecords; ++row)
        Expect(!search.RowText(row).empty(), "a list row without text");
    search.Search(u"a");
    search.FindTypeAhead(u"b");
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

    StaffForm staffForm;
    staffForm.Bind(&database);
    ClubForm clubForm;
    clubForm.Bind(&database);
    TKordoPreferenceDialog dialog;
    const std::vector<TKordoStaff*> people = database.Staffs.List();
    for (size_t i = 0; i < people.size() && i < KordoFuzzFormRecords; ++i) {
        staffForm.Focus(people[i]);
        std::string refusal;
        Expect(staffForm.Confirm(&refusal), "an unchanged person was refused: " + refusal);
        dialog.OpenPreferenceDialog(true, true, true);
        dialog.Choose(people[i]);
    }
    for (int32_t row = 0; row < database.Clubs.Count() && static_cast<size_t>(row) < KordoFuzzFormRecords;
         ++row) {
        clubForm.Focus(database.Clubs.Item(row));
        Expect(clubForm.Confirm(), "an unchanged club was refused");
        dialog.OpenPreferenceDialog(false, false, true);
        dialog.Choose(database.Clubs.Item(row));
    }
    Expect(!database.Modified, "confirming unchanged forms set Modified");

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
