#include "KordoExport.h"

#include "KordoDataWrappers.h"
#include "KordoFunctions.h"
#include "KordoGenerator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace {

using TRow = std::map<std::string, std::string>;

// Reads RFC 4180 text: quoted fields may hold commas, doubled quotes and line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.empty() && row.empty()) << "the last row must end with CRLF";
    return rows;
}

// The table as rows keyed by column, checking every row has the header's width.
std::vector<TRow> Rows(const std::string& csv) {
    auto lines = ParseCsv(csv);
    std::vector<TRow> rows;
    if (lines.empty())
        return rows;
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), lines[0].size()) << "row " << i;
        TRow row;
        for (size_t c = 0; c < lines[0].size() && c < lines[i].size(); ++c)
            row[lines[0][c]] = lines[i][c];
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string U8(std::u16string_view text) {
    std::string out;
    KordoAppendUtf8(out, text);
    return out;
}

std::string Export(TKordoPregameDatabase& database, TKordoExportTable table, TKordoExportFormat format) {
    std::ostringstream out;
    EXPECT_TRUE(KordoExportTable(database, table, out, format));
    return out.str();
}

class ExportTable : public ::testing::Test {
protected:
    void SetUp() override {
        KordoGenerate(Database, {400, 7, false});
        Database.IndexAll();
    }
    TKordoStaff* PersonOfType(uint8_t type) {
        for (TKordoStaff* staff : Database.Staffs.List())
            if (staff->StaffType() == type)
                return staff;
        return nullptr;
    }
    size_t RowOf(const TKordoStaff* staff) {
        const auto& list = Database.Staffs.List();
        return static_cast<size_t>(std::find(list.begin(), list.end(), staff) - list.begin());
    }
    TKordoPregameDatabase Database;
};

} // namespace

TEST(ExportUtf8, ConvertsPairsAndReplacesLoneSurrogates) {
    std::string out;
    KordoAppendUtf8(out, u"A\u00e9\u20ac\U0001F3C6");
    EXPECT_EQ(out, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8F\x86");
    out.clear();
    KordoAppendUtf8(out, std::u16string{u'x', char16_t(0xD83C), u'y', char16_t(0xDC00)});
    EXPECT_EQ(out, "x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

TEST_F(ExportTable, CsvQuotesCommasQuotesAndLineBreaksAndKeepsUnicode) {
    TKordoClub& club = *Database.Clubs.Item(0);
    club.ClubName = u"Red, \"White\"\r\nBlue";
    club.ShortClubName = u"Sp\u00e5rv\u00e4gen \U0001F3C6";
    club.Nickname1 = u"plain";
    const std::string csv = Export(Database, TKordoExportTable::Clubs, TKordoExportFormat::Csv);
    EXPECT_NE(csv.find("\"Red, \"\"White\"\"\r\nBlue\""), std::string::npos);
    EXPECT_NE(csv.find(",plain,"), std::string::npos); // plain texts are not quoted
    auto rows = Rows(csv);
    ASSERT_EQ(rows.size(), static_cast<size_t>(Database.Clubs.Count()));
    EXPECT_EQ(rows[0]["ClubName"], "Red, \"White\"\r\nBlue");
    EXPECT_EQ(rows[0]["ShortClubName"], "Sp\xC3\xA5rv\xC3\xA4gen \xF0\x9F\x8F\x86");
    EXPECT_EQ(rows[0]["Row"], "0");
    EXPECT_EQ(rows[0]["ClubID"], std::to_string(club.ClubID()));
}

// Each special character alone makes a text quoted: a lenient reader would take any of them unquoted.
TEST_F(ExportTable, CsvQuotesATextForAnyOneSpecialCharacter) {
    TKordoClub& club = *Database.Clubs.Item(0);
    club.ClubName = u"Line\nBreak";
    club.ShortClubName = u"Carriage\rReturn";
    club.Nickname1 = u"Say \"hi\"";
    club.Nickname2 = u"a,b";
    const std::string csv = Export(Database, TKordoExportTable::Clubs, TKordoExportFormat::Csv);
    const std::string row = csv.substr(csv.find("\r\n") + 2);
    EXPECT_TRUE(row.starts_with("0," + std::to_string(club.ClubID()) +
                                ",\"Line\nBreak\",\"Carriage\rReturn\",\"Say \"\"hi\"\"\",\"a,b\","))
        << row.substr(0, 80);
}

TEST_F(ExportTable, DatesTheCalendarCannotShowKeepTheirRawDayAndYear) {
    TKordoStaff* staff = Database.Staffs.Item(0);
    staff->SetDateOfBirth({12, 0});
    Database.Staffs.Item(1)->SetDateOfBirth({400, 10000});
    Database.Staffs.Item(2)->SetDateOfBirth({31, 1985}); // day 31 is 1 February
    auto rows = Rows(Export(Database, TKordoExportTable::People, TKordoExportFormat::Csv));
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0]["DateOfBirth"], "year 0 day 12");
    EXPECT_EQ(rows[1]["DateOfBirth"], "year 10000 day 400");
    EXPECT_EQ(rows[2]["DateOfBirth"], "1985-02-01");
}

TEST_F(ExportTable, EveryStaffTypeFillsOnlyItsOwnColumns) {
    auto rows = Rows(Export(Database, TKordoExportTable::People, TKordoExportFormat::Csv));
    ASSERT_EQ(rows.size(), static_cast<size_t>(Database.Staffs.Count()));
    struct TCase {
        uint8_t Type;
        const char* Text;
        bool Player, NonPlayer, Referee;
    };
    for (TCase c : {TCase{KordoStaffNonPlayer, "Non Player", false, true, false},
                    TCase{KordoStaffPlayer, "Player", true, false, false},
                    TCase{KordoStaffPlayerNonPlayer, "Player / Non Player", true, true, false},
                    TCase{KordoStaffReferee, "Referee", false, false, true}}) {
        SCOPED_TRACE(c.Text);
        TKordoStaff* staff = PersonOfType(c.Type);
        ASSERT_NE(staff, nullptr);
        TRow& row = rows[RowOf(staff)];
        EXPECT_EQ(row["ID"], std::to_string(staff->ID()));
        EXPECT_EQ(row["StaffType"], c.Text);
        auto shown = [&](const char* column, bool expected) {
            EXPECT_EQ(!row[column].empty(), expected) << column;
        };
        shown("CurrentAbility", c.Player);
        shown("WorldReputation", c.Player);
        shown("Crossing", c.Player);
        shown("Determination", c.Player);
        shown("NonPlayerCurrentAbility", c.NonPlayer);
        shown("NonPlayerMarking", c.NonPlayer);
        shown("PreferredFormation", c.NonPlayer);
        shown("Loyalty", !c.Referee);
        shown("RefereeReputation", c.Referee);
        shown("AllowingFlow", c.Referee);
        shown("Timekeeping", c.Referee);
        if (c.Player) {
            ASSERT_TRUE(staff->PlayerAtts);
            EXPECT_EQ(row["Crossing"], std::to_string(staff->PlayerAtts->Image[13]));
            EXPECT_EQ(row["CurrentAbility"], std::to_string(staff->CurrentAbility()));
        }
        if (c.NonPlayer) {
            ASSERT_TRUE(staff->NonPlayerAtts);
            EXPECT_EQ(row["NonPlayerMarking"], std::to_string(staff->NonPlayerAtts->Image[8]));
        }
        if (c.Referee)
            EXPECT_EQ(row["Timekeeping"], std::to_string(staff->Timekeeping()));
        else
            EXPECT_EQ(row["Loyalty"], std::to_string(staff->MentalAtts->Image[3]));
    }
}

TEST_F(ExportTable, ContractColumnsFollowTheClubAndTheContractBlock) {
    auto people = Database.Staffs.List();
    TKordoStaff* contracted = *std::find_if(people.begin(), people.end(), [](const TKordoStaff* s) {
        return s->ClubSquad && s->ClubSquad->OwnerClub && s->HasClubContract() && s->Nation;
    });
    contracted->SetClubSquadNumber(255);
    TKordoStaff* free = *std::find_if(people.begin(), people.end(), [](auto* s) { return !s->ClubSquad; });
    auto rows = Rows(Export(Database, TKordoExportTable::People, TKordoExportFormat::Csv));
    TRow& row = rows[RowOf(contracted)];
    EXPECT_EQ(row["Club"], U8(contracted->ClubSquad->OwnerClub->ClubName));
    EXPECT_EQ(row["Nation"], U8(contracted->Nation->NationName));
    EXPECT_EQ(row["EstimatedWage"], std::to_string(contracted->ClubEstimatedWage()));
    EXPECT_EQ(row["SquadNumber"], "-1"); // 255 stands for no number
    EXPECT_FALSE(row["Job"].empty());
    TRow& freeRow = rows[RowOf(free)];
    for (const char* column : {"Club", "Squad", "Job", "DateJoined", "ContractExpires", "EstimatedWage"})
        EXPECT_EQ(freeRow[column], "") << column;
}

TEST_F(ExportTable, JsonHoldsTheSameValuesWithNumbersAsNumbersAndNullForNone) {
    Database.Nations.Item(0)->NationName = u"C\u00f4te \"d\u2019Ivoire\"\n\\";
    for (auto [table, csvCount] : {std::pair{TKordoExportTable::People, Database.Staffs.Count()},
                                   {TKordoExportTable::Clubs, Database.Clubs.Count()},
                                   {TKordoExportTable::Nations, Database.Nations.Count()}}) {
        auto rows = Rows(Export(Database, table, TKordoExportFormat::Csv));
        const std::string json = Export(Database, table, TKordoExportFormat::Json);
        QJsonParseError error;
        QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        ASSERT_TRUE(document.isArray());
        QJsonArray array = document.array();
        ASSERT_EQ(array.size(), csvCount);
        ASSERT_EQ(rows.size(), static_cast<size_t>(csvCount));
        for (qsizetype i = 0; i < array.size(); ++i) {
            QJsonObject object = array[i].toObject();
            ASSERT_EQ(static_cast<size_t>(object.size()), rows[static_cast<size_t>(i)].size());
            for (const auto& [column, cell] : rows[static_cast<size_t>(i)]) {
                QJsonValue value = object.value(QString::fromStdString(column));
                if (value.isDouble())
                    EXPECT_EQ(std::to_string(value.toInteger()), cell) << column;
                else if (value.isNull())
                    EXPECT_EQ(cell, "") << column;
                else
                    EXPECT_EQ(value.toString().toStdString(), cell) << column;
            }
        }
    }
    auto nations =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(Export(Database, TKordoExportTable::Nations, TKordoExportFormat::Json)))
            .array();
    EXPECT_EQ(nations[0].toObject()["NationName"].toString(),
              QString::fromUtf16(u"C\u00f4te \"d\u2019Ivoire\"\n\\"));
    EXPECT_TRUE(nations[0].toObject()["StaffCount"].isDouble());
}

TEST_F(ExportTable, ClubsListEachRivalOnceAndNationsTheirSquadRow) {
    TKordoClub& club = *Database.Clubs.Item(0);
    TKordoClub* a = Database.Clubs.Item(1);
    TKordoClub* b = Database.Clubs.Item(2);
    a->ClubName = u"Alpha";
    b->ClubName = u"Beta";
    club.Relations.clear();
    TKordoClubWrapper(&club).AddRival(a, 50);
    TKordoClubWrapper(&club).AddRival(b, 20);
    // As a save leaves them: every rival written twice.
    club.Relations.push_back(club.Relations[0]);
    auto rows = Rows(Export(Database, TKordoExportTable::Clubs, TKordoExportFormat::Csv));
    EXPECT_EQ(rows[0]["Rivals"], "Alpha; Beta");

    TKordoNation* nation = nullptr;
    for (TKordoNation& n : Database.Nations.Records)
        if (n.NationalSquad && !nation)
            nation = &n;
    ASSERT_NE(nation, nullptr);
    auto nations = Rows(Export(Database, TKordoExportTable::Nations, TKordoExportFormat::Csv));
    TRow& row = nations[static_cast<size_t>(nation - Database.Nations.Records.data())];
    EXPECT_EQ(row["NationalSquad"], std::to_string(nation->NationalSquad - Database.Squads.Records.data()));
    EXPECT_EQ(row["SecondNameCount"], std::to_string(nation->SecondNameCount()));
}

TEST_F(ExportTable, AFailingStreamIsReported) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(KordoExportPeople(Database, out, TKordoExportFormat::Csv));
}
