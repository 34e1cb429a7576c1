// The file layer on the system's own terms: folders named in any script, files that are replaced
// while they exist, and the flush to disk. The Windows build runs these under Wine.
#include "KordoPlatform.h"
#include "KordoGenerator.h"
#include "KordoPregameDatabase.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Latin, Greek and CJK letters and a character outside the Basic Multilingual Plane, which UTF-16
// stores as a surrogate pair.
const fs::path UnicodeName(u8"Kördo Ωmega 日本 \U0001F3C6");

std::string Utf8(const fs::path& path) {
    std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

fs::path Backup(const fs::path& file) {
    return fs::path(file) += ".bak";
}

void Generate(const fs::path& folder, int32_t people) {
    std::string error;
    ASSERT_TRUE(KordoGenerateFiles(folder, {people, 5, true}, error)) << error;
}

} // namespace

TEST(PlatformFiles, AFileInAFolderNamedInAnyScriptIsWrittenFlushedAndRead) {
    TScratch scratch;
    fs::path file = scratch.Root / UnicodeName / u8"ß.bin";
    std::string reason;
    TKordoFile out;
    EXPECT_FALSE(out.CreateNew(file, {}, reason)) << "the folder does not exist yet";
    EXPECT_FALSE(reason.empty());

    fs::create_directories(file.parent_path());
    reason.clear();
    ASSERT_TRUE(out.CreateNew(file, {}, reason)) << reason;
    EXPECT_TRUE(out.Write("kordo", 5, file, reason)) << reason;
    EXPECT_TRUE(out.Sync(file, reason)) << reason;
    out.Close();
    EXPECT_EQ(FileContents(file), "kordo");
    TKordoFile again;
    EXPECT_FALSE(again.CreateNew(file, {}, reason)) << "a file that exists is never created over";

    TKordoFile in;
    ASSERT_TRUE(in.OpenForReading(file, reason)) << reason;
    EXPECT_EQ(in.Size(reason), 5);
    char read[8] = {};
    EXPECT_EQ(in.Read(read, sizeof read, reason), 5);
    EXPECT_STREQ(read, "kordo");
}

TEST(PlatformFiles, ADatabaseInAFolderNamedInAnyScriptLoadsSavesAndNamesItInErrors) {
    TScratch scratch;
    fs::path folder = scratch.Root / UnicodeName / "data";
    Generate(folder, 30);
    const std::string server = FileContents(KordoServerFile(folder));
    TKordoPregameDatabase db;
    ASSERT_TRUE(db.Load(folder)) << db.LastError();
    EXPECT_EQ(db.Staffs.Count(), 30);
    ASSERT_TRUE(db.Save(folder)) << db.LastError();
    EXPECT_EQ(FileContents(Backup(KordoServerFile(folder))), server);
    EXPECT_EQ(FileContents(KordoServerFile(folder)), server) << "without ties the save gives the same file";
    ASSERT_TRUE(db.Load(folder)) << db.LastError();

    fs::remove(KordoPeopleFile(folder));
    EXPECT_FALSE(db.Load(folder));
    EXPECT_NE(db.LastError().find(Utf8(UnicodeName)), std::string::npos) << db.LastError();
}

// Each save moves the files in place over the backups of the save before: nothing of the pair it
// replaces is lost, and no earlier backup stands in the way.
TEST(PlatformFiles, EverySaveReplacesTheFilesAndTheBackupsThatExist) {
    TScratch scratch;
    fs::path target = scratch.Folder("target");
    std::string lastServer, lastPeople;
    for (int32_t people : {10, 20, 30, 40}) {
        SCOPED_TRACE(std::to_string(people) + " people");
        fs::path source = scratch.Folder("source" + std::to_string(people));
        Generate(source, people);
        TKordoPregameDatabase db;
        ASSERT_TRUE(db.Load(source)) << db.LastError();
        ASSERT_TRUE(db.Save(target)) << db.LastError();
        if (!lastServer.empty()) {
            EXPECT_EQ(FileContents(Backup(KordoServerFile(target))), lastServer);
            EXPECT_EQ(FileContents(Backup(KordoPeopleFile(target))), lastPeople);
        }
        lastServer = FileContents(KordoServerFile(target));
        lastPeople = FileContents(KordoPeopleFile(target));
        ASSERT_TRUE(db.Load(target)) << db.LastError();
        EXPECT_EQ(db.Staffs.Count(), people);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(target)) {
        const std::string name = Utf8(entry.path().filename());
        EXPECT_EQ(name.find(".kordo-tmp"), std::string::npos) << "a temporary file was left behind: " << name;
        EXPECT_NE(name, ".kordo-commit") << "the commit record was left behind";
    }
}
