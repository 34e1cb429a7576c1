// Inputs that once made a fuzz target fail, run again through the very code the fuzzer runs. A load
// may refuse them; it must neither crash nor trip the targets' own checks.
#include "../../fuzz/KordoFuzzTargets.h"

#include "KordoGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

fs::path RegressionFolder(const char* target) {
    return fs::path(KORDO_SOURCE_DIR) / "fuzz" / "regressions" / target;
}

std::vector<fs::path> InputsOf(const char* target) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(RegressionFolder(target), error))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TKordoFuzzBytes ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return TKordoFuzzBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs one input; a finding of the targets' checks or any other exception fails the test.
template <class Run> void ExpectNoFault(const Run& run) {
    try {
        run();
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
}

template <class Target> void RunEach(const char* target, Target run) {
    for (const fs::path& file : InputsOf(target)) {
        SCOPED_TRACE(file.filename().string());
        TKordoFuzzBytes bytes = ReadBytes(file);
        ExpectNoFault([&] { run(bytes.data(), bytes.size()); });
    }
}

TEST(KordoFuzzRegressionTest, SavedDatabaseInputsRunWithoutFault) {
    ASSERT_FALSE(InputsOf("database").empty()) << "no inputs in " << RegressionFolder("database");
    RunEach("database", KordoFuzzDatabase);
}

TEST(KordoFuzzRegressionTest, SavedReaderInputsRunWithoutFault) {
    RunEach("readers", KordoFuzzReaders);
}

// A sound database goes all the way through the database target, its checks included, so a finding
// always points at damaged input handled wrongly rather than at the checks.
TEST(KordoFuzzRegressionTest, GeneratedDatabaseIsSavedAndLoadedAgain) {
    for (bool noTies : {false, true}) {
        SCOPED_TRACE(noTies ? "without ties" : "with ties");
        TKordoPregameDatabase database;
        TKordoGeneratorOptions options;
        options.People = 40;
        options.NoTies = noTies;
        KordoGenerate(database, options);
        auto written = [](const std::function<void(TKordoFileStream&)>& write) {
            TKordoFuzzBytes out;
            TKordoFileStream stream(std::make_unique<TKordoMemoryDevice>(out), "test");
            write(stream);
            stream.Flush();
            return out;
        };
        TKordoFuzzBytes input =
            KordoFuzzJoinFiles(written([&](TKordoFileStream& s) { database.WriteServerFile(s); }),
                               written([&](TKordoFileStream& s) { database.WritePeopleFile(s); }));
        TKordoFuzzReached reached = TKordoFuzzReached::Refused;
        ExpectNoFault([&] { reached = KordoFuzzDatabase(input.data(), input.size()); });
        EXPECT_EQ(reached, TKordoFuzzReached::Saved);
    }
}

} // namespace
