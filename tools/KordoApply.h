// Batch edits: a script of editor actions read and run through an editing session, exactly as the
// editor runs them when a user clicks, types and confirms.
//
// The script is JSON: {"ops": [OP, ...]} with OP one of add_staff, edit_staff, delete_staff,
// edit_club, add_preference, edit_preference, delete_preference, undo, redo, undo_all, redo_all. The
// first operation that cannot be run stops the script with its number (from 1) and the reason; what
// ran before stays in memory, so the caller saves nothing unless the whole script ran.
#pragma once

#include "KordoEditSession.h"
#include "KordoPregameDatabase.h"

#include <QJsonObject>
#include <QJsonValue>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

class TKordoApplier {
public:
    // Binds the session, and so both forms, to the database (as the editor does after a load).
    explicit TKordoApplier(TKordoPregameDatabase& database);

    // Parses and runs the script. False on the first error, described by Error().
    bool Run(std::string_view scriptText);
    bool Run(const QJsonObject& script);
    // "operation 3: unknown control seFoo"; empty after a run without errors.
    const std::string& Error() const { return Message; }
    // What an operation is called in the error ("operation", or "row" for a sheet's edits).
    std::string OperationWord = "operation";

    TKordoEditSession Session;

private:
    // Each returns an empty string on success, else the reason.
    std::string RunOperation(const QJsonObject& op);
    std::string AddStaff(const QJsonObject& op);
    std::string EditStaff(const QJsonObject& op);
    std::string DeleteStaff(const QJsonObject& op);
    std::string EditClub(const QJsonObject& op);
    std::string Preference(const QJsonObject& op, const std::string& kind);
    std::string UndoRedo(const QJsonObject& op, bool undo, bool all);
    // Keeps the list of people in step with what an undo or redo did.
    void Played(const TKordoEditTarget& target);

    std::string Person(const QJsonValue& id, TKordoStaff*& staff);
    std::string ClubAt(const QJsonValue& row, TKordoClub*& club);
    std::string SetControl(TKordoForm& form, std::string_view name, const QJsonValue& value);
    bool Listed(const TKordoStaff* staff);

    TKordoPregameDatabase& Database;
    TKordoStaff* LastAdded = nullptr;
    bool LastAddedDeleted = false;
    // The people in the staff list, gathered at the first look-up: a removed person is still found
    // by his ID but is no longer there.
    std::unique_ptr<std::unordered_set<const TKordoStaff*>> InList;
    std::string Message;
};

// Turns a sheet of edits into a script: the first column is "ID", every other column a control of
// the staff editor, by its name (seCrossing) or by the people export's column it shows (Crossing,
// FirstName, Apps); export columns no control edits (DisplayName, Nation, Club, ...) are ignored.
// Each row becomes one edit_staff with its non-empty cells in column order. Spin edits and integer
// lists take whole numbers, the check boxes 0/1 or true/false, every other control the cell's text.
// UTF-8, RFC 4180 quoting; the apostrophe the export puts before a text a spreadsheet would run as a
// formula is removed. With `unchangedFrom`, a cell that holds what the export writes for that person
// in that database is no edit, so that an unchanged export applies as no change at all. False with
// the reason (and its row) on a malformed sheet.
bool KordoSheetToScript(std::string_view csv, QJsonObject& script, std::string& error,
                        TKordoPregameDatabase* unchangedFrom = nullptr);
