// Damaged database files: every load fails with an error that says where the damage lies (file,
// table, record, byte offset), never crashes, never sizes anything from a bad count, and never
// writes to the files it reads.
#include "KordoCheck.h"
#include "KordoCommit.h"
#include "KordoGenerator.h"
#include "KordoPregameDatabase.h"
#include "TestBytes.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <type_traits>

namespace fs = std::filesystem;

namespace {

constexpr size_t ServerFile = 0, PeopleFile = 1;
const std::array<std::string, 2> FileNames{TKordoPregameDatabase::ServerFileName,
                                           TKordoPregameDatabase::PeopleFileName};

// Both files of a data folder; a missing file has no value.
using TFiles = std::array<std::optional<TByteVector>, 2>;

TByteVector ReadBytes(const fs::path& file) {
    TByteVector bytes(fs::file_size(file));
    std::ifstream in(file, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void WriteBytes(const fs::path& file, const TByteVector& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Put32(TByteVector& bytes, size_t offset, int32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

// Where a table lies in its file: the offset of its count, of its first record, and of the end of
// every record (taken from the progress the table reports after each one).
struct TTableSpan {
    size_t File;
    std::string Name;
    size_t Start, FirstRecord;
    std::vector<size_t> RecordEnds;
};

// A small generated database, read back table by table to map where each table and record lies.
struct TGood {
    TFiles Files;
    TKordoPregameDatabase Db;
    std::vector<TTableSpan> Spans;

    TGood() {
        TScratch scratch;
        std::string error;
        if (!KordoGenerateFiles(scratch.Root, {40, 7, false}, error))
            throw std::runtime_error(error);
        Files = {ReadBytes(KordoServerFile(scratch.Root)), ReadBytes(KordoPeopleFile(scratch.Root))};
        Map(ServerFile, TKordoPregameDatabase::ServerHeaderSize, Db.Awards, Db.Cities, Db.Clubs,
            Db.ClubCompetitions, Db.Continents, Db.Injuries, Db.Medias, Db.Languages, Db.Nations,
            Db.FirstNames, Db.SecondNames, Db.CommonNames, 1, 2, Db.Stadiums, 3, Db.Stages, Db.Squads,
            Db.Weathers, 4, 5, 6, 7, 8, 9, 10, 11, 12);
        Map(PeopleFile, TKordoPregameDatabase::PeopleHeaderSize, Db.Staffs, Db.MentalAtts, Db.PlayerAtts,
            Db.NonPlayerAtts, 13);
    }

    // Reads the tables in file order; a number stands for that opaque table.
    void Map(size_t file, size_t headerSize, auto&&... tables) {
        TKordoFileStream stream(*Files[file], FileNames[file]);
        stream.SeekFromBeginning(static_cast<int64_t>(headerSize));
        auto read = [&](auto&& table) {
            size_t start = static_cast<size_t>(stream.Position());
            TTableSpan span{file, "", start, start, {}};
            auto recordEnd = [&](int32_t) {
                span.RecordEnds.push_back(static_cast<size_t>(stream.Position()));
            };
            if constexpr (std::is_integral_v<std::remove_cvref_t<decltype(table)>>) {
                span.Name = TKordoUnknowns::TableName(table);
                Db.Unknowns.OnProgress = recordEnd;
                Db.Unknowns.LoadTable(stream, table);
                Db.Unknowns.OnProgress = nullptr;
            } else {
                span.Name = table.TableName;
                table.OnProgress = recordEnd;
                table.LoadFromStream(stream);
                table.OnProgress = nullptr;
            }
            // The staff table's count is followed by the three attribute table counts.
            span.FirstRecord = start + (span.Name == "Staff" ? 16 : 4);
            Spans.push_back(std::move(span));
        };
        (read(tables), ...);
    }

    const TTableSpan& Span(const std::string& name) const {
        for (const TTableSpan& span : Spans)
            if (span.Name == name)
                return span;
        throw std::runtime_error("no table " + name);
    }
};

const TGood& Good() {
    static const TGood good;
    return good;
}

struct TLoadResult {
    bool Loaded;
    std::string Error;
};

// Puts the files into the folder (a missing one is removed), loads it and checks that the load
// changed no file and created none.
TLoadResult LoadFiles(TKordoPregameDatabase& db, const fs::path& folder, const TFiles& files) {
    for (size_t f : {ServerFile, PeopleFile}) {
        fs::remove(folder / FileNames[f]);
        if (files[f])
            WriteBytes(folder / FileNames[f], *files[f]);
    }
    TLoadResult result{db.Load(folder), db.LastError()};
    std::ptrdiff_t present = 0;
    for (size_t f : {ServerFile, PeopleFile}) {
        EXPECT_EQ(fs::exists(folder / FileNames[f]), files[f].has_value()) << FileNames[f];
        if (files[f]) {
            EXPECT_TRUE(ReadBytes(folder / FileNames[f]) == *files[f]) << "the load changed " << FileNames[f];
            ++present;
        }
    }
    // The lock file is the one name a load may add.
    std::ptrdiff_t names = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names += entry.path().filename() != KordoLockFileName;
    EXPECT_EQ(names, present) << "the load created a file";
    return result;
}

std::string ExpectLoadFails(const fs::path& folder, const TFiles& files,
                            std::initializer_list<std::string> parts) {
    TKordoPregameDatabase db;
    TLoadResult result = LoadFiles(db, folder, files);
    EXPECT_FALSE(result.Loaded);
    ExpectMentions(result.Error, parts);
    return result.Error;
}

// The good files with one of them cut to `size` bytes.
TFiles Cut(size_t file, size_t size) {
    TFiles files = Good().Files;
    files[file]->resize(size);
    return files;
}

// Writes through to the file but skips the flush to disk, which would cost a save here far more than
// the save itself.
class TUnsyncedDevice : public TKordoByteDevice {
public:
    explicit TUnsyncedDevice(std::unique_ptr<TKordoByteDevice> file) : Inner(std::move(file)) {}
    void Write(const uint8_t* data, size_t n) override { Inner->Write(data, n); }

private:
    std::unique_ptr<TKordoByteDevice> Inner;
};

std::string Offset(size_t offset) {
    return "byte offset " + std::to_string(offset);
}

} // namespace

TEST(MalformedFiles, AFileEndingAtOrWithinATableCountNamesThatTable) {
    TScratch scratch;
    ASSERT_EQ(Good().Spans.size(), 33u);
    for (const TTableSpan& span : Good().Spans) {
        for (size_t cut : {span.Start, span.Start + 2}) {
            SCOPED_TRACE(span.Name + ", cut to " + std::to_string(cut));
            ExpectLoadFails(
                scratch.Root, Cut(span.File, cut),
                {FileNames[span.File], "table " + span.Name, Offset(span.Start), "unexpected end"});
        }
    }
}

TEST(MalformedFiles, AFileEndingWithinATableNamesTheRecordOrTheCountItCannotHold) {
    // A count that needs more bytes than are left fails before any record is read; a cut past that
    // check names the record it falls in, which for the last record of a table whose records vary in
    // size is always the case.
    TScratch scratch;
    for (std::string name : {"Staff", "Clubs", "Nations", "First Names", "Common Names", "Squads", "Cities",
                             "Mental Attributes", "Unknown 1"}) {
        bool variableSize = name != "Mental Attributes" && name != "Unknown 1";
        const TTableSpan& span = Good().Span(name);
        const std::vector<size_t>& ends = span.RecordEnds;
        ASSERT_GE(ends.size(), 2u) << name;
        for (size_t record : {size_t{0}, ends.size() - 1}) {
            size_t begin = record == 0 ? span.FirstRecord : ends[record - 1], end = ends[record];
            for (size_t cut : {begin + 1, (begin + end) / 2, end - 1}) {
                SCOPED_TRACE(name + ", cut to " + std::to_string(cut));
                std::string error =
                    ExpectLoadFails(scratch.Root, Cut(span.File, cut),
                                    {FileNames[span.File], "table " + span.Name, "byte offset"});
                bool namesRecord = error.find(", record ") != std::string::npos;
                if (namesRecord)
                    ExpectMentions(error, {", record " + std::to_string(record) + ","});
                else
                    ExpectMentions(error, {"record count", "needs at least"});
                if (variableSize && record > 0) {
                    EXPECT_TRUE(namesRecord) << error;
                }
            }
        }
    }
}

TEST(MalformedFiles, ANegativeOrHugeTableCountFailsBeforeAnythingIsSized) {
    TScratch scratch;
    for (const TTableSpan& span : Good().Spans) {
        for (int32_t count : {-1, INT32_MIN, INT32_MAX}) {
            SCOPED_TRACE(span.Name + ", count " + std::to_string(count));
            bool recordless = span.Name == "Unknown 2" || span.Name == "Unknown 13";
            if (count == INT32_MAX && recordless)
                continue; // a valid file: see the next test
            TFiles files = Good().Files;
            Put32(*files[span.File], span.Start, count);
            ExpectLoadFails(scratch.Root, files,
                            {FileNames[span.File], "table " + span.Name, "byte offset",
                             count < 0 ? "negative record count" : "record count 2147483647 needs at least"});
        }
    }
}

TEST(MalformedFiles, AHugeCountOfRecordsWithoutBytesIsValidAndSavedBack) {
    // Their records take no room in the file, so no count is too large for what follows it.
    TScratch scratch;
    for (int table : {2, 13}) {
        SCOPED_TRACE(table);
        TFiles files = Good().Files;
        const TTableSpan& span = Good().Span(TKordoUnknowns::TableName(table));
        Put32(*files[span.File], span.Start, INT32_MAX);
        TKordoPregameDatabase db;
        TLoadResult result = LoadFiles(db, scratch.Folder("in"), files);
        ASSERT_TRUE(result.Loaded) << result.Error;
        EXPECT_EQ(db.Unknowns.Count(table), INT32_MAX);
        ASSERT_TRUE(db.Save(scratch.Folder("out"))) << db.LastError();
        TKordoPregameDatabase again;
        ASSERT_TRUE(again.Load(scratch.Folder("out"))) << again.LastError();
        EXPECT_EQ(again.Unknowns.Count(table), INT32_MAX);
    }
}

TEST(MalformedFiles, AStringLengthOrListCountPastTheEndFails) {
    // Lengths and counts are written over the good files, which are cut right after them when the
    // rest of the file would still hold what they announce.
    const TGood& good = Good();
    TScratch scratch;
    auto expectFails = [&](const std::string& what, size_t file, size_t offset, const TByteVector& bytes,
                           bool cutAfter, std::initializer_list<std::string> parts) {
        SCOPED_TRACE(what);
        TFiles files = good.Files;
        std::copy(bytes.begin(), bytes.end(), files[file]->begin() + static_cast<std::ptrdiff_t>(offset));
        if (cutAfter)
            files[file]->resize(offset + bytes.size());
        std::string error = ExpectLoadFails(scratch.Root, files, parts);
        ExpectMentions(error, {FileNames[file], Offset(offset + bytes.size())});
    };
    auto startOf = [](const TTableSpan& span, size_t record) {
        return record == 0 ? span.FirstRecord : span.RecordEnds[record - 1];
    };
    auto textSize = [](const std::u16string& text) { return 4 + (text.empty() ? 0 : 2 * text.size() + 2); };

    size_t firstClub = good.Span("Clubs").FirstRecord;
    expectFails("club nickname", ServerFile, firstClub + 6, TBytes().Int(0x40000000).Data, false,
                {"table Clubs", ", record 0,", "string length 1073741824 needs at least 2147483648 bytes"});
    expectFails("club nickname, largest length", ServerFile, firstClub + 6, TBytes().Int(INT32_MAX).Data,
                false,
                {"table Clubs", ", record 0,", "string length 2147483647 needs at least 4294967294 bytes"});

    size_t lastName = static_cast<size_t>(good.Db.FirstNames.Count() - 1);
    expectFails("name text", ServerFile, startOf(good.Span("First Names"), lastName) + 1,
                TBytes().Int(30000).Data, true,
                {"table First Names", ", record " + std::to_string(lastName) + ",", "string length 30000"});

    size_t lastClub = good.Db.Clubs.Records.size() - 1;
    const TKordoClub& club = good.Db.Clubs.Records[lastClub];
    size_t boardMembers = startOf(good.Span("Clubs"), lastClub) + 6 + textSize(club.Nickname1) + 1 +
                          textSize(club.Nickname2) + 23;
    expectFails("club board members", ServerFile, boardMembers, {255}, true,
                {"table Clubs", ", record " + std::to_string(lastClub) + ",",
                 "sub-list count 255 needs at least 1020 bytes, but only 0 are left"});

    // The last person with relations; his record ends with their count, the entries and 11 bytes.
    int32_t person = good.Db.Staffs.Count() - 1;
    while (good.Db.Staffs.Item(person)->Relations.empty())
        --person;
    size_t relations = good.Span("Staff").RecordEnds[static_cast<size_t>(person)] - 11 -
                       8 * good.Db.Staffs.Item(person)->Relations.size() - 1;
    expectFails(
        "staff relations", PeopleFile, relations, {255}, true,
        {"table Staff", ", record " + std::to_string(person) + ",", "relation count 255 needs at least"});
}

TEST(MalformedFiles, MissingEmptyAndHeaderOnlyFilesAreNamed) {
    const TFiles& good = Good().Files;
    auto header = [&](size_t file, size_t size) {
        return TByteVector(good[file]->begin(), good[file]->begin() + static_cast<std::ptrdiff_t>(size));
    };
    const TByteVector empty;
    struct TCase {
        std::string Name;
        TFiles Files;
        std::vector<std::string> Parts;
    };
    const std::vector<TCase> cases{
        {"no people file", {good[ServerFile], std::nullopt}, {"cannot open", FileNames[PeopleFile]}},
        {"no server file", {std::nullopt, good[PeopleFile]}, {"cannot open", FileNames[ServerFile]}},
        {"no files", {std::nullopt, std::nullopt}, {"cannot open", FileNames[ServerFile]}},
        {"both empty", {empty, empty}, {FileNames[ServerFile], "table header", Offset(0)}},
        {"people file empty", {good[ServerFile], empty}, {FileNames[PeopleFile], "table header", Offset(0)}},
        {"server header cut short",
         {header(ServerFile, 26), good[PeopleFile]},
         {FileNames[ServerFile], "table header", Offset(0)}},
        {"server header only",
         {header(ServerFile, 27), good[PeopleFile]},
         {FileNames[ServerFile], "table Awards", Offset(27)}},
        {"people header only",
         {good[ServerFile], header(PeopleFile, 12)},
         {FileNames[PeopleFile], "table Staff", Offset(12)}},
        {"both headers only",
         {header(ServerFile, 27), header(PeopleFile, 12)},
         {FileNames[ServerFile], "table Awards", Offset(27)}},
    };
    TScratch scratch;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TKordoPregameDatabase db;
        TLoadResult result = LoadFiles(db, scratch.Root, c.Files);
        EXPECT_FALSE(result.Loaded);
        for (const std::string& part : c.Parts)
            ExpectMentions(result.Error, {part});
    }
}

TEST(MalformedFiles, AFailedLoadLeavesAnEmptyDatabaseThatLoadsAgain) {
    TScratch scratch;
    TKordoPregameDatabase db;
    ASSERT_TRUE(LoadFiles(db, scratch.Root, Good().Files).Loaded) << db.LastError();
    const TTableSpan& names = Good().Span("Second Names");
    EXPECT_FALSE(LoadFiles(db, scratch.Root, Cut(names.File, names.RecordEnds[3] - 1)).Loaded);
    EXPECT_EQ(db.Clubs.Count(), 0);
    EXPECT_EQ(db.FirstNames.Count(), 0);
    EXPECT_EQ(db.Staffs.Count(), 0);
    EXPECT_EQ(db.Unknowns.Count(1), 0);
    TLoadResult again = LoadFiles(db, scratch.Root, Good().Files);
    ASSERT_TRUE(again.Loaded) << again.Error;
    EXPECT_EQ(db.Staffs.Count(), Good().Db.Staffs.Count());
    EXPECT_EQ(KordoCheckDatabase(db), std::vector<std::string>{});
}

TEST(MalformedFiles, RandomByteFlipsNeverCrashAndEveryFailureNamesAFile) {
    TScratch scratch;
    fs::path in = scratch.Folder("in"), out = scratch.Folder("out");
    int loaded = 0;
    for (uint64_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937_64 random(seed);
        TFiles files = Good().Files;
        for (int flips = 1 + static_cast<int>(random() % 8); flips > 0; --flips) {
            TByteVector& bytes = *files[random() % 2];
            bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1 + random() % 255);
        }
        TKordoPregameDatabase db;
        db.WrapDevice = [](std::unique_ptr<TKordoByteDevice> file, const fs::path&) {
            return std::make_unique<TUnsyncedDevice>(std::move(file));
        };
        TLoadResult result = LoadFiles(db, in, files);
        if (!result.Loaded) {
            EXPECT_TRUE(result.Error.find(FileNames[ServerFile]) != std::string::npos ||
                        result.Error.find(FileNames[PeopleFile]) != std::string::npos)
                << result.Error;
            continue;
        }
        ++loaded;
        // A damaged but readable database may hold what cannot be written (a list too long for its
        // count); the save then refuses with a reason.
        if (!db.Save(out)) {
            EXPECT_FALSE(db.LastError().empty());
        }
    }
    // Both outcomes occur, so both paths were walked.
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 200);
}
