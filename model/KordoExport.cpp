#include "KordoExport.h"

#include "KordoDataWrappers.h"
#include "KordoFunctions.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <functional>
#include <sstream>
#include <string_view>
#include <vector>

using namespace std::chrono;

void KordoAppendUtf8(std::string& out, std::u16string_view text) {
    const size_t size = text.size();
    for (size_t i = 0; i < size; ++i) {
        uint32_t c = text[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            const bool paired = c <= 0xDBFF && i + 1 < size && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            if (paired) {
                c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
                ++i;
            } else {
                c = 0xFFFD;
            }
        }
        if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        }
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool KordoCsvNeedsApostrophe(std::string_view text) {
    return !text.empty() && std::string_view("=+-@\t\r'").find(text.front()) != std::string_view::npos;
}

namespace {

constexpr size_t FlushSize = 1 << 20;

// Writes rows cell by cell into one buffer that goes to the stream in large pieces. Texts are built
// in a reused scratch string, so a row costs no allocation once the buffers have grown.
class TTableWriter {
public:
    // `rows`: about how many rows follow, for the buffer's first size.
    TTableWriter(std::ostream& out, TKordoExportFormat format, std::vector<std::string> columns,
                 size_t rows = 0)
        : Out(out), Json(format == TKordoExportFormat::Json), Columns(std::move(columns)) {
        Buffer.reserve(rows == 1 ? 4096 : FlushSize + 64 * 1024);
        if (Json) {
            // Keys are written the same way every row: escape them once.
            for (const std::string& column : Columns) {
                std::string key = "\"";
                AppendJsonEscaped(key, column);
                key += "\":";
                Keys.push_back(std::move(key));
            }
            Buffer += '[';
        } else {
            for (const std::string& column : Columns) {
                if (!Buffer.empty())
                    Buffer += ',';
                AppendCsvField(Buffer, column);
            }
            Buffer += "\r\n";
        }
    }

    void BeginRow() {
        Cell = 0;
        if (Json)
            Buffer += Rows == 0 ? "\n{" : ",\n{";
    }
    void EndRow() {
        assert(Cell == Columns.size());
        Buffer += Json ? "}" : "\r\n";
        ++Rows;
        if (Buffer.size() >= FlushSize)
            Flush();
    }

    void Empty() {
        Separate();
        if (Json)
            Buffer += "null";
    }
    void Number(int64_t value) {
        Separate();
        char digits[24];
        auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        Buffer.append(digits, end);
    }
    void Text(std::u16string_view text) {
        ScratchText.clear();
        KordoAppendUtf8(ScratchText, text);
        Utf8(ScratchText);
    }
    void Utf8(std::string_view text) {
        Separate();
        if (Json) {
            Buffer += '"';
            AppendJsonEscaped(Buffer, text);
            Buffer += '"';
        } else {
            AppendCsvText(Buffer, text);
        }
    }
    // A text cell built by the caller in Scratch.
    std::string& Scratch() { return ScratchText; }
    void ScratchCell() { Utf8(ScratchText); }

    // A game date as YYYY-MM-DD, or "year Y day D" when the calendar cannot hold it.
    void Date(TKordoGameDate date) { Utf8(KordoDateText(date)); }

    bool Finish() {
        Buffer += Json ? (Rows == 0 ? "]\n" : "\n]\n") : "";
        Flush();
        Out.flush();
        return static_cast<bool>(Out);
    }

private:
    void Separate() {
        if (Json) {
            if (Cell != 0)
                Buffer += ',';
            Buffer += Keys[Cell];
        } else if (Cell != 0) {
            Buffer += ',';
        }
        ++Cell;
    }
    void Flush() {
        Out.write(Buffer.data(), static_cast<std::streamsize>(Buffer.size()));
        Buffer.clear();
    }
    // A spreadsheet takes a cell that begins with = + - @ (or a tab or CR before them) for a formula;
    // such a text gets a leading apostrophe, which spreadsheets show as "this is text", and so does
    // one that begins with an apostrophe itself, so that reading the sheet back can remove exactly one.
    static void AppendCsvText(std::string& out, std::string_view text) {
        if (KordoCsvNeedsApostrophe(text)) {
            std::string escaped = "'";
            escaped += text;
            AppendCsvField(out, escaped);
        } else {
            AppendCsvField(out, text);
        }
    }
    static void AppendCsvField(std::string& out, std::string_view text) {
        if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
            out += text;
            return;
        }
        out += '"';
        for (char c : text) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    static void AppendJsonEscaped(std::string& out, std::string_view text) {
        static const char Hex[] = "0123456789abcdef";
        for (char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (byte < 0x20) {
                switch (c) {
                case '\n':
                    out += "\\n";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                case '\t':
                    out += "\\t";
                    break;
                default:
                    out += "\\u00";
                    out += Hex[byte >> 4];
                    out += Hex[byte & 15];
                }
            } else {
                out += c;
            }
        }
    }

    std::ostream& Out;
    bool Json;
    std::vector<std::string> Columns;
    std::vector<std::string> Keys;
    std::string Buffer;
    std::string ScratchText;
    size_t Cell = 0;
    int64_t Rows = 0;
};

void NameCell(TTableWriter& writer, const TKordoName* name) {
    if (name)
        writer.Text(name->Name);
    else
        writer.Utf8({});
}

void NationCell(TTableWriter& writer, const TKordoNation* nation) {
    if (nation)
        writer.Text(nation->NationName);
    else
        writer.Empty();
}

void JobCell(TTableWriter& writer, uint8_t job) {
    // The texts in UTF-8, made once per code.
    static const std::array<std::string, 256> Texts = [] {
        std::array<std::string, 256> texts;
        for (int code = 0; code < 256; ++code)
            KordoAppendUtf8(texts[static_cast<size_t>(code)], JobText(static_cast<uint8_t>(code)));
        return texts;
    }();
    if (Texts[job].empty())
        writer.Number(job); // a code without a name: keep the stored number
    else
        writer.Utf8(Texts[job]);
}

// The staff-record numbers shown per type, in column order, each read through its getter.
struct TStaffNumber {
    const char* Name;
    int64_t (*Read)(const TKordoStaff&);
};
template <auto Getter> int64_t ReadStaff(const TKordoStaff& staff) {
    return (staff.*Getter)();
}
// clang-format off
#define KORDO_STAFF_NUMBER(Field) TStaffNumber{#Field, &ReadStaff<&TKordoStaff::Field>}
// clang-format on

constexpr TStaffNumber PlayerNumbers[] = {
    KORDO_STAFF_NUMBER(CurrentAbility),  KORDO_STAFF_NUMBER(PotentialAbility),
    KORDO_STAFF_NUMBER(HomeReputation),  KORDO_STAFF_NUMBER(CurrentReputation),
    KORDO_STAFF_NUMBER(WorldReputation),
};
constexpr TStaffNumber NonPlayerNumbers[] = {
    KORDO_STAFF_NUMBER(NonPlayerCurrentAbility),  KORDO_STAFF_NUMBER(NonPlayerPotentialAbility),
    KORDO_STAFF_NUMBER(NonPlayerHomeReputation),  KORDO_STAFF_NUMBER(NonPlayerCurrentReputation),
    KORDO_STAFF_NUMBER(NonPlayerWorldReputation),
};
constexpr TStaffNumber RefereeNumbers[] = {
    KORDO_STAFF_NUMBER(RefereeCurrentAbility),
    KORDO_STAFF_NUMBER(RefereePotentialAbility),
    KORDO_STAFF_NUMBER(RefereeReputation),
};
constexpr TStaffNumber RefereeAttributes[] = {
    KORDO_STAFF_NUMBER(AllowingFlow),
    KORDO_STAFF_NUMBER(Discipline),
    KORDO_STAFF_NUMBER(RefereeImportantMatches),
    KORDO_STAFF_NUMBER(RefereePressure),
    KORDO_STAFF_NUMBER(Refereeing),
    KORDO_STAFF_NUMBER(RunningLine),
    KORDO_STAFF_NUMBER(Timekeeping),
};
#undef KORDO_STAFF_NUMBER

template <size_t N> void AddNames(std::vector<std::string>& columns, const TStaffNumber (&numbers)[N]) {
    for (const TStaffNumber& number : numbers)
        columns.emplace_back(number.Name);
}
template <size_t N>
void AddNames(std::vector<std::string>& columns, const std::array<TKordoAttField, N>& fields) {
    for (const TKordoAttField& field : fields)
        columns.emplace_back(field.Name);
}

template <size_t N>
void StaffNumbers(TTableWriter& writer, const TKordoStaff& staff, const TStaffNumber (&numbers)[N],
                  bool shown) {
    for (const TStaffNumber& number : numbers) {
        if (shown)
            writer.Number(number.Read(staff));
        else
            writer.Empty();
    }
}

template <class Record, size_t N>
void Ratings(TTableWriter& writer, const Record* record, const std::array<TKordoAttField, N>& fields,
             bool shown) {
    for (const TKordoAttField& field : fields) {
        if (shown && record)
            writer.Number(record->Image[field.Offset]);
        else
            writer.Empty();
    }
}

} // namespace

std::vector<std::string> KordoPeopleColumns() {
    std::vector<std::string> columns{"ID",
                                     "DisplayName",
                                     "FirstName",
                                     "SecondName",
                                     "CommonName",
                                     "DateOfBirth",
                                     "StaffType",
                                     "Nation",
                                     "SecondNation",
                                     "Club",
                                     "Squad",
                                     "Job",
                                     "DateJoined",
                                     "ContractExpires",
                                     "EstimatedWage",
                                     "SquadNumber",
                                     "NationalTeam",
                                     "NationalJob",
                                     "Apps",
                                     "Goals"};
    AddNames(columns, PlayerNumbers);
    AddNames(columns, NonPlayerNumbers);
    AddNames(columns, RefereeNumbers);
    AddNames(columns, KordoMentalAttFields);
    AddNames(columns, KordoPlayerAttFields);
    AddNames(columns, KordoNonPlayerAttFields);
    AddNames(columns, RefereeAttributes);
    return columns;
}

namespace {

void PersonRow(TTableWriter& writer, TKordoPregameDatabase& database, TKordoStaff& staff) {
    writer.BeginRow();
    writer.Number(staff.ID());

    // The staff list's name, composed in place rather than through a temporary.
    std::string& display = writer.Scratch();
    display.clear();
    if (staff.CommonName) {
        KordoAppendUtf8(display, staff.CommonName->Name);
    } else {
        if (staff.SecondName)
            KordoAppendUtf8(display, staff.SecondName->Name);
        if (staff.FirstName) {
            if (!display.empty())
                display += ", ";
            KordoAppendUtf8(display, staff.FirstName->Name);
        }
    }
    writer.ScratchCell();
    NameCell(writer, staff.FirstName);
    NameCell(writer, staff.SecondName);
    NameCell(writer, staff.CommonName);
    writer.Date(staff.DateOfBirth());

    const uint8_t type = staff.StaffType();
    static const std::array<std::string, 5> TypeTexts = [] {
        std::array<std::string, 5> texts;
        for (uint8_t code = 0; code < 5; ++code)
            KordoAppendUtf8(texts[code], StaffTypeText(code));
        return texts;
    }();
    if (type < TypeTexts.size() && !TypeTexts[type].empty())
        writer.Utf8(TypeTexts[type]);
    else
        writer.Number(type);

    NationCell(writer, staff.Nation);
    NationCell(writer, TKordoStaffWrapper(&staff).GetSecondNation());

    if (const TKordoSquad* squad = staff.ClubSquad) {
        if (squad->OwnerClub)
            writer.Text(squad->OwnerClub->ClubName);
        else
            writer.Empty();
        // A club's first team, reserves and so on are clubs of their own, found by the squad's club ID.
        if (const TKordoClub* owner = database.Clubs.FindClub(squad->OwnerClubID()))
            writer.Text(owner->ClubName);
        else
            writer.Empty();
        JobCell(writer, staff.ClubJob());
        writer.Date(staff.DateJoined());
        if (staff.HasClubContract()) {
            writer.Date(staff.ClubContractExpires());
            writer.Number(staff.ClubEstimatedWage());
            // 255 is how the file says "no number".
            const uint8_t number = staff.ClubSquadNumber();
            writer.Number(number == 255 ? -1 : number);
        } else {
            writer.Empty();
            writer.Empty();
            writer.Empty();
        }
    } else {
        for (int i = 0; i < 7; ++i)
            writer.Empty();
    }

    if (const TKordoSquad* squad = staff.NationSquad) {
        NationCell(writer, squad->OwnerNation);
        JobCell(writer, staff.NationJob());
    } else {
        writer.Empty();
        writer.Empty();
    }
    writer.Number(staff.Apps());
    writer.Number(staff.Goals());

    const bool player = type == KordoStaffPlayer || type == KordoStaffPlayerNonPlayer;
    const bool nonPlayer = type == KordoStaffNonPlayer || type == KordoStaffPlayerNonPlayer;
    const bool referee = type == KordoStaffReferee;
    StaffNumbers(writer, staff, PlayerNumbers, player);
    StaffNumbers(writer, staff, NonPlayerNumbers, nonPlayer);
    StaffNumbers(writer, staff, RefereeNumbers, referee);
    Ratings(writer, staff.MentalAtts, KordoMentalAttFields, player || nonPlayer);
    Ratings(writer, staff.PlayerAtts, KordoPlayerAttFields, player);
    Ratings(writer, staff.NonPlayerAtts, KordoNonPlayerAttFields, nonPlayer);
    StaffNumbers(writer, staff, RefereeAttributes, referee);
    writer.EndRow();
}

template <class Record, class Array> int64_t RowOf(const Record* record, const Array& records) {
    if (!record || records.empty())
        return -1;
    const Record* first = records.data();
    const Record* end = first + records.size();
    if (std::less<const Record*>()(record, first) || !std::less<const Record*>()(record, end))
        return -1;
    return record - first;
}

} // namespace

bool KordoExportPeople(TKordoPregameDatabase& database, std::ostream& out, TKordoExportFormat format) {
    TTableWriter writer(out, format, KordoPeopleColumns());
    for (TKordoStaff* staff : database.Staffs.List())
        PersonRow(writer, database, *staff);
    return writer.Finish();
}

std::string KordoExportPerson(TKordoPregameDatabase& database, TKordoStaff& staff) {
    std::ostringstream out;
    TTableWriter writer(out, TKordoExportFormat::Csv, KordoPeopleColumns(), 1);
    PersonRow(writer, database, staff);
    writer.Finish();
    return out.str();
}

bool KordoExportClubs(TKordoPregameDatabase& database, std::ostream& out, TKordoExportFormat format) {
    TTableWriter writer(out, format,
                        {"Row", "ClubID", "ClubName", "ShortClubName", "Nickname1", "Nickname2", "Nation",
                         "ProfessionalStatus", "MinimumAttendance", "AverageAttendance", "MaximumAttendance",
                         "Training", "PublicLimitedCompany", "Balance", "Chairman", "BoardMembers", "Scouts",
                         "Squads", "Rivals"});
    std::vector<const TKordoClub*> rivals;
    for (int32_t row = 0; row < database.Clubs.Count(); ++row) {
        const TKordoClub& club = *database.Clubs.Item(row);
        writer.BeginRow();
        writer.Number(row);
        writer.Number(club.ClubID());
        writer.Text(club.ClubName);
        writer.Text(club.ShortClubName);
        writer.Text(club.Nickname1);
        writer.Text(club.Nickname2);
        NationCell(writer, club.Nation);
        switch (club.ProfessionalStatus()) {
        case 1:
            writer.Utf8("Professional");
            break;
        case 2:
            writer.Utf8("Semi Professional");
            break;
        case 3:
            writer.Utf8("Amateur");
            break;
        default:
            writer.Number(club.ProfessionalStatus());
        }
        writer.Number(club.MinimumAttendance());
        writer.Number(club.AverageAttendance());
        writer.Number(club.MaximumAttendance());
        writer.Number(club.Training());
        writer.Number(club.PublicLimitedCompany());
        writer.Number(club.Balance());
        if (club.Chairman)
            writer.Text(StaffDisplayName(*club.Chairman));
        else
            writer.Empty();
        writer.Number(static_cast<int64_t>(club.BoardMembers.size()));
        writer.Number(static_cast<int64_t>(club.Scouts.size()));
        writer.Number(static_cast<int64_t>(club.Squads.size()));

        // A saved file holds every rival twice; list each club once, in the order first met.
        rivals.clear();
        for (const TKordoRelation& relation : club.Relations)
            if (relation.Kind == KordoKindClub && relation.Relation == KordoRelationRivalClub &&
                relation.Target &&
                std::find(rivals.begin(), rivals.end(), relation.TargetClub()) == rivals.end())
                rivals.push_back(relation.TargetClub());
        std::string& names = writer.Scratch();
        names.clear();
        for (const TKordoClub* rival : rivals) {
            if (!names.empty())
                names += "; ";
            KordoAppendUtf8(names, rival->ClubName);
        }
        writer.ScratchCell();
        writer.EndRow();
    }
    return writer.Finish();
}

bool KordoExportNations(TKordoPregameDatabase& database, std::ostream& out, TKordoExportFormat format) {
    TTableWriter writer(out, format,
                        {"Row", "NationIndex", "NationName", "NationSecondName", "ClubCount", "StaffCount",
                         "FirstNameStart", "FirstNameCount", "SecondNameStart", "SecondNameCount",
                         "CommonNameStart", "CommonNameCount", "NationalSquad"});
    for (int32_t row = 0; row < database.Nations.Count(); ++row) {
        const TKordoNation& nation = *database.Nations.Item(row);
        writer.BeginRow();
        writer.Number(row);
        writer.Number(nation.NationIndex());
        writer.Text(nation.NationName);
        writer.Text(nation.NationSecondName);
        writer.Number(nation.ClubCount());
        writer.Number(nation.StaffCount());
        for (uint8_t kind = 1; kind <= 3; ++kind) {
            writer.Number(nation.NameStart(kind));
            writer.Number(nation.NameCount(kind));
        }
        const int64_t squad = RowOf(nation.NationalSquad, database.Squads.Records);
        if (squad >= 0)
            writer.Number(squad);
        else
            writer.Empty();
        writer.EndRow();
    }
    return writer.Finish();
}

bool KordoExportTable(TKordoPregameDatabase& database, TKordoExportTable table, std::ostream& out,
                      TKordoExportFormat format) {
    switch (table) {
    case TKordoExportTable::People:
        return KordoExportPeople(database, out, format);
    case TKordoExportTable::Clubs:
        return KordoExportClubs(database, out, format);
    case TKordoExportTable::Nations:
        return KordoExportNations(database, out, format);
    }
    return false;
}

bool KordoExportSearch(const TKordoSearch& search, std::ostream& out, TKordoExportFormat format) {
    std::vector<std::string> columns;
    for (int32_t column = 0; column < search.ColumnCount(); ++column) {
        columns.emplace_back();
        KordoAppendUtf8(columns.back(), search.Column(column).Title);
    }
    TTableWriter writer(out, format, std::move(columns));
    for (int32_t row = 0; row < search.RowCount(); ++row) {
        writer.BeginRow();
        for (int32_t column = 0; column < search.ColumnCount(); ++column) {
            const std::u16string cell = search.CellText(row, column);
            int64_t number = 0;
            std::string digits(cell.begin(), cell.end());
            const char* end = digits.data() + digits.size();
            if (cell.empty())
                writer.Empty();
            else if (search.Column(column).Numeric && std::from_chars(digits.data(), end, number).ptr == end)
                writer.Number(number);
            else
                writer.Text(cell); // a date, though it sorts as a number
        }
        writer.EndRow();
    }
    return writer.Finish();
}
