#include "KordoGenerator.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Generated files are in saved form: reading and writing every table back gives the same bytes.
TEST(Generator, GeneratedFilesReadAndWriteBackByteForByte) {
    auto root = std::filesystem::temp_directory_path() /
                ("kordo-generator-" + std::to_string(std::random_device{}()));
    for (TKordoGeneratorOptions options :
         {TKordoGeneratorOptions{2000, 1, false}, {2000, 7, true}, {0, 3, false}}) {
        SCOPED_TRACE(std::to_string(options.People) + " people, seed " + std::to_string(options.Seed));
        std::string error;
        ASSERT_TRUE(KordoGenerateFiles(root / "generated", options, error)) << error;
        TKordoPregameDatabase database;
        ASSERT_TRUE(database.ReadFiles(root / "generated")) << database.LastError();
        EXPECT_EQ(database.Staffs.Count(), options.People);
        std::filesystem::create_directories(root / "written");
        ASSERT_TRUE(database.WriteFiles(root / "written")) << database.LastError();
        for (auto file : {KordoServerFile, KordoPeopleFile}) {
            std::string generated = FileContents(file(root / "generated"));
            EXPECT_GT(generated.size(), 12u);
            EXPECT_TRUE(generated == FileContents(file(root / "written")));
        }
    }
    std::filesystem::remove_all(root);
}

} // namespace
