// The check reports what would hurt the game or the editor; here the findings about texts, rivals and
// the Staff header's table sizes, on a generated database damaged on purpose.
#include "KordoCheck.h"
#include "KordoGenerator.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

bool Reports(const std::vector<std::string>& findings, const std::string& part) {
    for (const std::string& finding : findings)
        if (finding.find(part) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(Check, ControlCharactersLongTextsOwnRivalsAndStaffHeaderCountsAreReported) {
    TScratch scratch;
    std::string error;
    ASSERT_TRUE(KordoGenerateFiles(scratch.Root, {200, 4, false}, error)) << error;
    // The Staff header's count of mental attribute records, right after the people count.
    const fs::path people = KordoPeopleFile(scratch.Root);
    std::ifstream in(people, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    in.close();
    const size_t mentalCount = TKordoPregameDatabase::PeopleHeaderSize + 4;
    bytes[mentalCount] = static_cast<char>(bytes[mentalCount] + 1);
    std::ofstream(people, std::ios::binary) << bytes;

    TKordoPregameDatabase db;
    ASSERT_TRUE(db.Load(scratch.Root)) << db.LastError();
    std::vector<std::string> findings = KordoCheckDatabase(db);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_TRUE(Reports(findings, "people_db.dat: the Staff table's header counts " +
                                      std::to_string(db.MentalAtts.Count() + 1) +
                                      " Mental Attributes records"))
        << findings[0];

    db.FirstNames.Item(3)->Name = u"Tab\there";
    db.SecondNames.Item(0)->Name = std::u16string(u"nul\0", 4);
    db.CommonNames.Item(0)->Name = u"del\u007F";
    db.Nations.Records[1].NationName = std::u16string(256, u'x');
    db.Clubs.Records[2].ClubName = std::u16string(255, u'y'); // the most a text may hold
    TKordoClub& club = db.Clubs.Records[5];
    TKordoRelation self;
    self.Kind = KordoKindClub;
    self.Relation = KordoRelationRivalClub;
    self.Target = &club;
    club.Relations.push_back(self);
    findings = KordoCheckDatabase(db);
    EXPECT_EQ(findings.size(), 6u);
    EXPECT_TRUE(Reports(findings, "First Names row 3: Name \"Tab\\u0009here\" holds a control character"));
    EXPECT_TRUE(Reports(findings, "Second Names row 0: Name \"nul\\u0000\" holds a control character"));
    EXPECT_TRUE(Reports(findings, "Common Names row 0: Name \"del\\u007F\" holds a control character"));
    EXPECT_TRUE(Reports(findings, "Nations record 1: NationName is 256 characters long, more than 255"));
    EXPECT_TRUE(
        Reports(findings, "Clubs record 5 (" + KordoToUtf8(club.ClubName) + "): the club is its own rival"));
    EXPECT_FALSE(Reports(findings, "Clubs record 2"));
}
