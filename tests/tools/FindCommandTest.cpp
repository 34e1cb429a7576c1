// kordo-db find as a user runs it, over the world of the shared find cases.
#include "KordoFindCases.h"
#include "TestFolders.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cstdio>
#include <gtest/gtest.h>

namespace {

struct TRun {
    int ExitCode = -1;
    std::string Out;
};

std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted.append("'\\''");
        else
            quoted.push_back(c);
    }
    quoted.push_back('\'');
    return quoted;
}

TRun RunFind(const std::vector<std::string>& args) {
    std::string command = Quoted(KORDO_DB_PROGRAM) + " find";
    for (const std::string& arg : args)
        command.append(1, ' ').append(Quoted(arg));
    command += " 2>/dev/null";
    TRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.Out.append(buffer, read);
    int status = pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

class FindCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Scratch = new TScratch;
        std::string error;
        ASSERT_TRUE(WriteFindDatabase(Data(), error)) << error;
    }
    static void TearDownTestSuite() {
        delete Scratch;
        Scratch = nullptr;
    }
    static std::filesystem::path Data() { return Scratch->Root / "data"; }
    static QJsonArray Found(const std::u16string& text, bool people, bool* ok = nullptr) {
        TRun run = RunFind({Data().string(), Utf8(text), people ? "--people" : "--clubs", "--json"});
        QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(run.Out));
        if (ok)
            *ok = run.ExitCode == 0 && document.isArray();
        return document.array();
    }
    static TScratch* Scratch;
};

TScratch* FindCommand::Scratch = nullptr;

} // namespace

TEST_F(FindCommand, PrintsWhatTheListShowsForEveryCase) {
    for (const TFindCase& found : FindCases()) {
        bool ok = false;
        QJsonArray rows = Found(found.Text, found.People, &ok);
        ASSERT_TRUE(ok) << Utf8(found.Text);
        std::vector<TFindRow> printed;
        for (const QJsonValue& row : rows) {
            QJsonObject cells = row.toObject();
            printed.push_back({cells[found.People ? "Name" : "Short Name"].toString().toStdU16String(),
                               cells["Matched Name"].toString().toStdU16String()});
        }
        EXPECT_EQ(printed, found.Rows) << Utf8(found.Text);
    }
}

TEST_F(FindCommand, PrintsTheListsColumns) {
    QJsonArray rows = Found(u"pele", true);
    ASSERT_EQ(rows.size(), 1);
    QJsonObject pele = rows[0].toObject();
    EXPECT_EQ(pele.keys().size(), 8);
    EXPECT_EQ(pele["Club"].toString(), "Hartmoor");
    EXPECT_EQ(pele["Born"].toString(), "1940-03-04");
    EXPECT_EQ(pele["Type"].toString(), "Player");
    EXPECT_TRUE(pele["Ability"].isDouble());
    EXPECT_TRUE(pele["Matched Name"].isNull());
    // A person without a club has empty club cells.
    QJsonObject karl = Found(u"karl", true)[0].toObject();
    EXPECT_TRUE(karl["Club"].isNull() && karl["Job"].isNull());
    QJsonObject club = Found(u"hartmoor", false)[0].toObject();
    EXPECT_EQ(club["Full Name"].toString(), "Hartmoor Rovers");
    EXPECT_TRUE(club["Squads"].isDouble() && club["Squads"].toInt() > 0);

    // CSV by default: a header row, then the rows; a name with a comma quoted.
    TRun csv = RunFind({Data().string(), "smith"});
    EXPECT_EQ(csv.ExitCode, 0);
    EXPECT_EQ(csv.Out.rfind("Name,Club,Nation,Born,Type,Job,Ability,Matched Name\r\n", 0), 0u);
    EXPECT_NE(csv.Out.find("\r\n\"Smith, John\","), std::string::npos);
}

TEST_F(FindCommand, RefusesWhatItCannotDo) {
    EXPECT_EQ(RunFind({"--help"}).ExitCode, 0);
    EXPECT_NE(RunFind({"--help"}).Out.find("kordo-db find DATA_DIR TEXT"), std::string::npos);
    EXPECT_EQ(RunFind({Data().string(), "a", "--people", "--clubs"}).ExitCode, 2);
    EXPECT_EQ(RunFind({Data().string()}).ExitCode, 2);
    EXPECT_EQ(RunFind({(Scratch->Root / "nothing").string(), "a"}).ExitCode, 2);
}
