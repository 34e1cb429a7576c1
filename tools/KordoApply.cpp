#include "KordoApply.h"

#include "KordoExport.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace {

using namespace std::chrono;

std::string Text(const QString& text) {
    return text.toStdString();
}

// A whole number of the script; JSON numbers are doubles, so only those that are exactly whole and
// within what a double holds exactly count.
std::optional<int64_t> Whole(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    constexpr double Exact = 9007199254740992.0; // 2^53
    if (!std::isfinite(number) || number != std::floor(number) || std::fabs(number) > Exact)
        return std::nullopt;
    return static_cast<int64_t>(number);
}

std::optional<int32_t> Whole32(const QJsonValue& value) {
    auto number = Whole(value);
    if (!number || *number < std::numeric_limits<int32_t>::min() ||
        *number > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(*number);
}

// "YYYY-MM-DD", a day the date pickers can show (they keep 1 January 100 for "not set").
std::optional<sys_days> ParseDate(const QString& text) {
    const std::string s = Text(text);
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return std::nullopt;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
    const year_month_day day{year(std::stoi(s.substr(0, 4))),
                             month(static_cast<unsigned>(std::stoi(s.substr(5, 2)))),
                             std::chrono::day(static_cast<unsigned>(std::stoi(s.substr(8, 2))))};
    if (!day.ok() || day <= year_month_day{year(100), January, std::chrono::day(1)})
        return std::nullopt;
    return sys_days(day);
}

// Checks that an object has only the keys an operation knows.
std::string UnknownKey(const QJsonObject& object, std::initializer_list<const char*> known) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string key = Text(it.key());
        if (std::none_of(known.begin(), known.end(), [&](const char* k) { return key == k; }))
            return "unknown key \"" + key + "\"";
    }
    return {};
}

// The one key of a reference object ({"staff": ID}, {"club": ROW}, ...), or empty.
std::string SoleKey(const QJsonValue& value) {
    if (!value.isObject() || value.toObject().size() != 1)
        return {};
    return Text(value.toObject().begin().key());
}

const std::set<std::string, std::less<>> StaffPreferenceLists{"lboxFavouriteStaff", "lboxDislikedStaff",
                                                              "lboxFavouriteClubs", "lboxDislikedClubs"};
const std::set<std::string, std::less<>> ClubPreferenceLists{"lboxRivals", "lboxFavouriteStaff",
                                                             "lboxDislikedStaff"};

// A whole number in a sheet's cell, spaces around it allowed.
std::optional<int64_t> ParseInteger64(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    int64_t value = 0;
    auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool IsCheckBox(const TKordoControl& control) {
    return control.Kind == TKordoControlKind::Spin && control.Name.starts_with("cb");
}

} // namespace

TKordoApplier::TKordoApplier(TKordoPregameDatabase& database) : Database(database) {
    Session.Bind(&database);
}

bool TKordoApplier::Run(std::string_view scriptText) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(scriptText.data(), static_cast<qsizetype>(scriptText.size())), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        Message =
            "script: " + Text(parseError.errorString()) + " at byte " + std::to_string(parseError.offset);
        return false;
    }
    if (!document.isObject()) {
        Message = "script: not a JSON object with \"ops\"";
        return false;
    }
    return Run(document.object());
}

bool TKordoApplier::Run(const QJsonObject& script) {
    Message.clear();
    if (std::string unknown = UnknownKey(script, {"ops"}); !unknown.empty()) {
        Message = "script: " + unknown;
        return false;
    }
    if (!script.value("ops").isArray()) {
        Message = "script: \"ops\" must be an array of operations";
        return false;
    }
    const QJsonArray ops = script.value("ops").toArray();
    for (qsizetype i = 0; i < ops.size(); ++i) {
        std::string reason =
            ops[i].isObject() ? RunOperation(ops[i].toObject()) : "an operation must be an object";
        if (!reason.empty()) {
            Message = OperationWord + " " + std::to_string(i + 1) + ": " + reason;
            return false;
        }
    }
    return true;
}

std::string TKordoApplier::RunOperation(const QJsonObject& op) {
    if (!op.value("op").isString())
        return "\"op\" must name the operation";
    const std::string kind = Text(op.value("op").toString());
    if (kind == "add_staff")
        return AddStaff(op);
    if (kind == "edit_staff")
        return EditStaff(op);
    if (kind == "delete_staff")
        return DeleteStaff(op);
    if (kind == "edit_club")
        return EditClub(op);
    if (kind == "add_preference" || kind == "edit_preference" || kind == "delete_preference")
        return Preference(op, kind);
    if (kind == "undo" || kind == "redo" || kind == "undo_all" || kind == "redo_all")
        return UndoRedo(op, kind.starts_with("undo"), kind.ends_with("_all"));
    return "unknown operation \"" + kind + "\"";
}

bool TKordoApplier::Listed(const TKordoStaff* staff) {
    if (!InList) {
        const auto& people = Database.Staffs.List();
        InList = std::make_unique<std::unordered_set<const TKordoStaff*>>(people.begin(), people.end());
    }
    return InList->count(staff) != 0;
}

std::string TKordoApplier::Person(const QJsonValue& id, TKordoStaff*& staff) {
    staff = nullptr;
    if (id.isString() && id.toString() == "last_added") {
        if (!LastAdded)
            return LastAddedDeleted ? "the person last added was deleted"
                                    : "no person was added before \"last_added\"";
        staff = LastAdded;
    } else {
        auto number = Whole32(id);
        if (!number)
            return "a person's ID must be a whole number";
        staff = Database.Staffs.FindStaff(*number);
        if (!staff)
            return "no person has ID " + std::to_string(*number);
    }
    if (!Listed(staff))
        return "person " + std::to_string(staff->ID()) + " is no longer in the staff list";
    return {};
}

std::string TKordoApplier::ClubAt(const QJsonValue& row, TKordoClub*& club) {
    club = nullptr;
    auto number = Whole32(row);
    if (!number)
        return "a club's row must be a whole number";
    if (*number < 0 || *number >= Database.Clubs.Count())
        return "no club on row " + std::to_string(*number);
    club = Database.Clubs.Item(*number);
    return {};
}

std::string TKordoApplier::SetControl(TKordoForm& form, std::string_view name, const QJsonValue& value) {
    const std::string quoted(name);
    TKordoControl* control = form.FindControl(name);
    if (!control)
        return "unknown control " + quoted;
    if (control->ReadOnly)
        return quoted + " is read-only";
    if (control->Kind == TKordoControlKind::ListBox)
        return quoted + " is a list box; its lines change through the preference operations";
    if (!form.Visible(*control))
        return quoted + " is on a hidden page";
    if (!control->Enabled)
        return quoted + " is disabled";

    switch (control->Kind) {
    case TKordoControlKind::Edit:
        if (!value.isString())
            return quoted + " takes a string";
        control->Text = value.toString().toStdU16String();
        return {};
    case TKordoControlKind::Date: {
        if (!value.isString())
            return quoted + " takes a date \"YYYY-MM-DD\"";
        auto date = ParseDate(value.toString());
        if (!date)
            return quoted + ": \"" + Text(value.toString()) + "\" is no date the calendar shows (YYYY-MM-DD)";
        control->Date = date;
        return {};
    }
    case TKordoControlKind::Spin: {
        int64_t number;
        if (IsCheckBox(*control)) {
            if (!value.isBool())
                return quoted + " takes true or false";
            number = value.toBool() ? 1 : 0;
        } else {
            auto whole = Whole(value);
            if (!whole)
                return quoted + " takes a whole number";
            number = *whole;
        }
        // As when the box loses the focus: the value is pulled into its range.
        control->Number =
            static_cast<int32_t>(std::clamp<int64_t>(number, control->Minimum, control->Maximum));
        return {};
    }
    case TKordoControlKind::IntegerList: {
        auto code = Whole32(value);
        if (!code)
            return quoted + " takes the whole-number code of an item";
        const auto& items = control->Items;
        auto item = std::find_if(items.begin(), items.end(), [&](const auto& i) { return i.Code == *code; });
        if (item == items.end())
            return "no item of " + quoted + " carries " + std::to_string(*code);
        control->SelectIndex(static_cast<int32_t>(item - items.begin()));
        return {};
    }
    case TKordoControlKind::PointerList: {
        TKordoRecordRef record;
        std::string what = "null";
        if (!value.isNull()) {
            const std::string key = SoleKey(value);
            auto row = key.empty() ? std::nullopt : Whole32(value.toObject().begin().value());
            if (!row || (key != "nation" && key != "club" && key != "squad"))
                return quoted + " takes {\"nation\": ROW}, {\"club\": ROW}, {\"squad\": ROW} or null";
            const int32_t count = key == "nation" ? Database.Nations.Count()
                                  : key == "club" ? Database.Clubs.Count()
                                                  : Database.Squads.Count();
            if (*row < 0 || *row >= count)
                return "no " + key + " on row " + std::to_string(*row);
            record = key == "nation" ? TKordoRecordRef(Database.Nations.Item(*row))
                     : key == "club" ? TKordoRecordRef(Database.Clubs.Item(*row))
                                     : TKordoRecordRef(Database.Squads.Item(*row));
            what = key + " row " + std::to_string(*row);
        }
        const auto& items = control->Items;
        auto item =
            std::find_if(items.begin(), items.end(), [&](const auto& i) { return i.Record == record; });
        if (item == items.end())
            return "no item of " + quoted + " carries " + what;
        control->SelectIndex(static_cast<int32_t>(item - items.begin()));
        return {};
    }
    case TKordoControlKind::ListBox:
        break;
    }
    return quoted + " cannot be set";
}

std::string TKordoApplier::AddStaff(const QJsonObject& op) {
    if (std::string unknown = UnknownKey(op, {"op"}); !unknown.empty())
        return unknown;
    // The menu's Add > Staff: the new person gets a row of his own and the focus.
    TKordoStaff* staff = Session.AddStaff();
    if (InList)
        InList->insert(staff);
    LastAdded = staff;
    LastAddedDeleted = false;
    Session.Staff.Focus(staff);
    return {};
}

std::string TKordoApplier::EditStaff(const QJsonObject& op) {
    if (std::string unknown = UnknownKey(op, {"op", "id", "set"}); !unknown.empty())
        return unknown;
    TKordoStaff* staff;
    if (std::string reason = Person(op.value("id"), staff); !reason.empty())
        return reason;
    if (!op.value("set").isArray() && !op.value("set").isUndefined())
        return "\"set\" must be a list of [CONTROL, VALUE] pairs";
    StaffForm& form = Session.Staff;
    form.Focus(staff);
    for (const QJsonValue& pair : op.value("set").toArray()) {
        const QJsonArray setting = pair.toArray();
        if (!pair.isArray() || setting.size() != 2 || !setting[0].isString())
            return "each entry of \"set\" must be a [CONTROL, VALUE] pair";
        const std::string name = Text(setting[0].toString());
        if (std::string reason = SetControl(form, name, setting[1]); !reason.empty())
            return reason;
        form.RunChangeHandler(name);
    }
    std::string refusal;
    if (!Session.ConfirmStaff(&refusal))
        return "Confirm Changes refused: " + refusal;
    return {};
}

std::string TKordoApplier::DeleteStaff(const QJsonObject& op) {
    if (std::string unknown = UnknownKey(op, {"op", "id"}); !unknown.empty())
        return unknown;
    TKordoStaff* staff;
    if (std::string reason = Person(op.value("id"), staff); !reason.empty())
        return reason;
    Session.Staff.Focus(staff);
    // With his row gone nobody is focused, and the form lets go of him before he goes.
    Session.DeleteStaff(staff);
    InList->erase(staff);
    if (LastAdded == staff) {
        LastAdded = nullptr;
        LastAddedDeleted = true;
    }
    return {};
}

std::string TKordoApplier::EditClub(const QJsonObject& op) {
    if (std::string unknown = UnknownKey(op, {"op", "row", "set", "squads"}); !unknown.empty())
        return unknown;
    TKordoClub* club;
    if (std::string reason = ClubAt(op.value("row"), club); !reason.empty())
        return reason;
    const QJsonValue set = op.value("set"), squads = op.value("squads");
    if (!set.isArray() && !set.isUndefined())
        return "\"set\" must be a list of [CONTROL, VALUE] pairs";
    if (!squads.isArray() && !squads.isUndefined())
        return "\"squads\" must be a list of lists of [CONTROL, VALUE] pairs, one per squad page";
    ClubForm& form = Session.Club;
    form.Focus(club);
    auto setAll = [this](TKordoForm& page, const QJsonValue& list, SquadForm* squad) -> std::string {
        if (!list.isArray())
            return "a squad page's settings must be a list of [CONTROL, VALUE] pairs";
        for (const QJsonValue& pair : list.toArray()) {
            const QJsonArray setting = pair.toArray();
            if (!pair.isArray() || setting.size() != 2 || !setting[0].isString())
                return "each setting must be a [CONTROL, VALUE] pair";
            const std::string name = Text(setting[0].toString());
            if (std::string reason = SetControl(page, name, setting[1]); !reason.empty())
                return squad ? "squad page: " + reason : reason;
            // The reputation box rounds what it was given when it loses the focus.
            if (squad && name == "seReputation")
                squad->seReputationExit();
        }
        return {};
    };
    if (!set.isUndefined())
        if (std::string reason = setAll(form, set, nullptr); !reason.empty())
            return reason;
    const QJsonArray pages = squads.toArray();
    if (static_cast<size_t>(pages.size()) > form.Squads.size())
        return "the club has " + std::to_string(form.Squads.size()) + " squad pages, not " +
               std::to_string(pages.size());
    for (qsizetype page = 0; page < pages.size(); ++page) {
        SquadForm& squad = form.Squads[static_cast<size_t>(page)];
        if (std::string reason = setAll(squad, pages[page], &squad); !reason.empty())
            return "squads[" + std::to_string(page) + "]: " + reason;
    }
    std::string refusal;
    if (!Session.ConfirmClub(&refusal))
        return "Confirm Changes refused: " + refusal;
    return {};
}

std::string TKordoApplier::Preference(const QJsonObject& op, const std::string& kind) {
    const bool adding = kind == "add_preference", deleting = kind == "delete_preference";
    std::string unknown = adding     ? UnknownKey(op, {"op", "owner", "list", "target", "amount"})
                          : deleting ? UnknownKey(op, {"op", "owner", "list", "line"})
                                     : UnknownKey(op, {"op", "owner", "list", "line", "target", "amount"});
    if (!unknown.empty())
        return unknown;

    // The owner, focused in his editor.
    const QJsonValue owner = op.value("owner");
    const std::string ownerKey = SoleKey(owner);
    if (ownerKey != "staff" && ownerKey != "club")
        return "\"owner\" must be {\"staff\": ID} or {\"club\": ROW}";
    const bool staffOwner = ownerKey == "staff";
    if (!op.value("list").isString())
        return "\"list\" must name a preference list";
    const std::string list = Text(op.value("list").toString());
    const auto& lists = staffOwner ? StaffPreferenceLists : ClubPreferenceLists;
    if (!lists.count(list))
        return "unknown preference list " + list + (staffOwner ? " of a person" : " of a club");
    TKordoForm* form;
    if (staffOwner) {
        TKordoStaff* staff;
        if (std::string reason = Person(owner.toObject().value("staff"), staff); !reason.empty())
            return reason;
        Session.Staff.Focus(staff);
        if (!Session.Staff.Page("tsPreferences").Visible)
            return "person " + std::to_string(staff->ID()) + " is a referee and has no preferences";
        form = &Session.Staff;
    } else {
        TKordoClub* club;
        if (std::string reason = ClubAt(owner.toObject().value("club"), club); !reason.empty())
            return reason;
        Session.Club.Focus(club);
        form = &Session.Club;
    }

    int32_t line = -1;
    if (!adding) {
        auto number = Whole32(op.value("line"));
        if (!number)
            return "\"line\" must be a whole number";
        line = *number;
        if (!KordoLineRecord(form->Control(list), line))
            return list + " has no line " + std::to_string(line);
        form->Control(list).Selected = line;
    }
    const TKordoEditor editor = staffOwner ? TKordoEditor::Staff : TKordoEditor::Club;
    if (deleting) {
        Session.DeletePreference(editor, list, line);
        return {};
    }

    // The dialog: the target chosen in its list, the amount typed and the box left.
    const TKordoPreferenceList mode = KordoPreferenceListOf(list);
    const QJsonValue target = op.value("target");
    const std::string targetKey = SoleKey(target);
    TKordoRecordRef chosen;
    if (mode.StaffMode) {
        if (targetKey != "staff")
            return list + " takes a target {\"staff\": ID}";
        TKordoStaff* staff;
        if (std::string reason = Person(target.toObject().value("staff"), staff); !reason.empty())
            return "target: " + reason;
        chosen = staff;
    } else {
        if (targetKey != "club")
            return list + " takes a target {\"club\": ROW}";
        TKordoClub* club;
        if (std::string reason = ClubAt(target.toObject().value("club"), club); !reason.empty())
            return "target: " + reason;
        chosen = club;
    }
    auto amount = Whole(op.value("amount"));
    if (!amount)
        return "\"amount\" must be a whole number";
    TKordoPreferenceDialog dialog;
    dialog.OpenPreferenceDialog(mode.StaffMode, mode.Favourite, adding);
    dialog.Choose(chosen);
    dialog.Amount = static_cast<int32_t>(std::clamp<int64_t>(*amount, 5, 100));
    dialog.seAmountExit();

    std::string refusal;
    if (adding) {
        if (!Session.AddPreference(editor, list, dialog.Chosen(), dialog.Amount, &refusal))
            return "the addition was refused: " + refusal;
        return {};
    }
    if (!Session.EditPreference(editor, list, line, dialog.Chosen(), dialog.Amount, &refusal))
        return refusal.empty() ? list + " has no entry on line " + std::to_string(line) + " to edit"
                               : "the edit was refused: " + refusal;
    return {};
}

std::string TKordoApplier::UndoRedo(const QJsonObject& op, bool undo, bool all) {
    if (std::string unknown = UnknownKey(op, {"op"}); !unknown.empty())
        return unknown;
    if (!all && !(undo ? Session.CanUndo() : Session.CanRedo()))
        return undo ? "nothing to undo" : "nothing to redo";
    do
        Played(undo ? Session.Undo() : Session.Redo());
    while (all && (undo ? Session.CanUndo() : Session.CanRedo()));
    return {};
}

void TKordoApplier::Played(const TKordoEditTarget& target) {
    if (!target.Staff || !InList)
        return;
    if (target.Listed)
        InList->insert(target.Staff);
    else
        InList->erase(target.Staff);
}

namespace {

// RFC 4180 records: fields separated by commas, quoted fields may hold commas, quotes ("") and line
// breaks; lines end in CRLF or LF.
bool ParseCsv(std::string_view text, std::vector<std::vector<std::string>>& rows, std::string& error) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<std::string> row;
    std::string field;
    size_t i = 0, line = 1;
    bool any = false;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && field.empty()) {
            ++i;
            for (;;) {
                if (i >= text.size()) {
                    error = "line " + std::to_string(line) + ": a quoted field is not closed";
                    return false;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\n')
                    ++line;
                field += text[i++];
            }
            if (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
                error = "line " + std::to_string(line) + ": text after a closing quote";
                return false;
            }
            any = true;
            continue;
        }
        if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
            any = true;
            ++i;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++i;
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            any = false;
            ++line;
        } else {
            field += c;
            any = true;
            ++i;
        }
    }
    if (any) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return true;
}

} // namespace

namespace {

// What a cell held before a spreadsheet saw it: the export puts an apostrophe before a text a
// spreadsheet would take for a formula (and before one that begins with an apostrophe); exactly that
// one is removed.
std::string Unescaped(std::string cell) {
    if (cell.size() >= 2 && cell[0] == '\'' && KordoCsvNeedsApostrophe(std::string_view(cell).substr(1)))
        cell.erase(0, 1);
    return cell;
}

// The staff editor's control a column of the sheet edits: a control's own name, or a column of the
// people export that an editor control shows. Empty for an export column no control edits (the
// display name, the type, nations, club, jobs), which the sheet ignores.
std::string ControlOfColumn(const StaffForm& form, const std::string& column,
                            const std::vector<std::string>& exportColumns) {
    auto control = [&](const std::string& name) { return const_cast<StaffForm&>(form).FindControl(name); };
    if (control(column))
        return column;
    if (std::find(exportColumns.begin(), exportColumns.end(), column) == exportColumns.end())
        return column; // unknown: the run names it
    static const std::map<std::string, std::string, std::less<>> Named{
        {"FirstName", "edFirstName"},         {"SecondName", "edSecondName"},
        {"CommonName", "edCommonName"},       {"DateOfBirth", "dtpDateOfBirth"},
        {"DateJoined", "dtpDateJoined"},      {"ContractExpires", "dtpContractExpires"},
        {"RefereeReputation", "seReputation"}};
    if (auto named = Named.find(column); named != Named.end())
        return named->second;
    // An attribute: the rating control of the same record and byte.
    auto rating = [&](const auto& fields, TKordoStore store) -> std::string {
        for (const TKordoAttField& field : fields)
            if (column == field.Name)
                for (const TKordoControl& c : form.Controls)
                    if (c.Field.Store == store && c.Field.Offset == field.Offset)
                        return c.Name;
        return {};
    };
    for (std::string name : {rating(KordoMentalAttFields, TKordoStore::Mental),
                             rating(KordoPlayerAttFields, TKordoStore::Player),
                             rating(KordoNonPlayerAttFields, TKordoStore::NonPlayer)})
        if (!name.empty())
            return name;
    const TKordoControl* spin = control("se" + column);
    return spin && spin->Kind == TKordoControlKind::Spin ? spin->Name : std::string();
}

} // namespace

bool KordoSheetToScript(std::string_view csv, QJsonObject& script, std::string& error,
                        TKordoPregameDatabase* unchangedFrom) {
    std::vector<std::vector<std::string>> rows;
    if (!ParseCsv(csv, rows, error))
        return false;
    // Blank lines carry no edit.
    std::erase_if(rows, [](const auto& row) { return row.size() == 1 && row[0].empty(); });
    if (rows.empty() || rows[0].empty() || rows[0][0] != "ID") {
        error = "the first column of the header must be ID";
        return false;
    }
    const std::vector<std::string>& header = rows[0];
    // Only the kinds of the controls are needed, which every staff form knows without a database.
    StaffForm kinds;
    const std::vector<std::string> exportColumns = KordoPeopleColumns();
    std::vector<std::string> controls;
    for (const std::string& column : header)
        controls.push_back(ControlOfColumn(kinds, column, exportColumns));
    QJsonArray ops;
    for (size_t r = 1; r < rows.size(); ++r) {
        std::vector<std::string>& row = rows[r];
        const std::string where = "row " + std::to_string(r);
        if (row.size() > header.size()) {
            error = where + ": more cells than the header has columns";
            return false;
        }
        for (std::string& cell : row)
            cell = Unescaped(std::move(cell));
        auto id = ParseInteger64(row[0]);
        if (!id || *id < std::numeric_limits<int32_t>::min() || *id > std::numeric_limits<int32_t>::max()) {
            error = where + ": the ID \"" + row[0] + "\" is no whole number";
            return false;
        }
        // A cell that holds what the export writes for the person now is no edit, so that a whole
        // export applied unchanged changes nothing.
        std::map<std::string, std::string, std::less<>> now;
        if (TKordoStaff* staff =
                unchangedFrom ? unchangedFrom->Staffs.FindStaff(static_cast<int32_t>(*id)) : nullptr) {
            std::vector<std::vector<std::string>> exported;
            std::string ignored;
            ParseCsv(KordoExportPerson(*unchangedFrom, *staff), exported, ignored);
            for (size_t c = 0; exported.size() == 2 && c < exported[0].size() && c < exported[1].size(); ++c)
                now[exported[0][c]] = Unescaped(exported[1][c]);
        }
        QJsonArray set;
        for (size_t c = 1; c < row.size(); ++c) {
            const std::string& cell = row[c];
            const std::string& name = controls[c];
            auto current = now.find(header[c]);
            if (cell.empty() || name.empty() || (current != now.end() && current->second == cell))
                continue;
            QJsonValue value = QString::fromStdString(cell);
            const TKordoControl* control = kinds.FindControl(name);
            if (control && IsCheckBox(*control) &&
                (cell == "true" || cell == "false" || cell == "0" || cell == "1")) {
                value = cell == "true" || cell == "1";
            } else if (control && (control->Kind == TKordoControlKind::Spin ||
                                   control->Kind == TKordoControlKind::IntegerList)) {
                auto number = ParseInteger64(cell);
                if (!number) {
                    error = where + ", column " + header[c] + ": \"" + cell + "\" is no whole number";
                    return false;
                }
                value = static_cast<double>(*number);
            }
            set.append(QJsonArray{QString::fromStdString(name), value});
        }
        ops.append(QJsonObject{{"op", "edit_staff"}, {"id", static_cast<double>(*id)}, {"set", set}});
    }
    script = QJsonObject{{"ops", ops}};
    return true;
}
