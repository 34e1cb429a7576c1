// Saving replaces the pair of files as one: whatever file operation of a save fails, the folder is as
// it was; wherever a save (or the recovery after it) stops, the next load finds the old or the new
// pair, whole, with the backup pair that belongs to it; and one writer at a time.
#include "KordoCommit.h"
#include "KordoGenerator.h"
#include "KordoPregameDatabase.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// Every name in a folder with what it holds (a regular file's bytes, else its kind); the lock file,
// which loads and saves create and keep, is left out.
using TSnapshot = std::map<std::string, std::string>;

TSnapshot Snapshot(const fs::path& folder) {
    TSnapshot names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = KordoPathText(entry.path().filename());
        if (name == KordoLockFileName)
            continue;
        names[name] = KordoFileKindOf(entry.path()) == TKordoFileKind::Regular
                          ? FileContents(entry.path())
                          : "<" + KordoDescribeFileKind(entry.path(), false) + ">";
    }
    return names;
}

void Restore(const fs::path& folder, const TSnapshot& snapshot) {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != KordoLockFileName)
            fs::remove_all(entry.path());
    for (const auto& [name, bytes] : snapshot)
        Write(folder / name, bytes);
}

TSnapshot WithoutTemporaries(TSnapshot snapshot) {
    std::erase_if(snapshot, [](const auto& entry) { return KordoIsTemporaryName(entry.first); });
    return snapshot;
}

bool HasTemporaries(const fs::path& folder) {
    return WithoutTemporaries(Snapshot(folder)).size() != Snapshot(folder).size();
}

// The data pair or the backup pair of a snapshot.
std::pair<std::string, std::string> Pair(const TSnapshot& snapshot, const char* suffix = "") {
    auto get = [&](const char* name) {
        auto found = snapshot.find(std::string(name) + suffix);
        return found == snapshot.end() ? std::string("<missing>") : found->second;
    };
    return {get(TKordoPregameDatabase::ServerFileName), get(TKordoPregameDatabase::PeopleFileName)};
}

// Thrown by the file hook to stop a save where a crash would: not an std::exception, so no error
// handling of the program runs.
struct TSimulatedCrash {};

// Counts the file operations; fails the one numbered `FailAt` and stops at `CrashAt` (from 0).
struct TFileOperations {
    size_t Count = 0;
    size_t FailAt = SIZE_MAX, CrashAt = SIZE_MAX;
    TKordoFileOperation Failed{};
    TFileOperations() {
        KordoSetFileHook([this](TKordoFileOperation operation, const fs::path&, std::string& reason) {
            const size_t number = Count++;
            if (number == CrashAt)
                throw TSimulatedCrash();
            if (number == FailAt) {
                Failed = operation;
                reason = "simulated failure";
                return false;
            }
            return true;
        });
    }
    ~TFileOperations() { KordoSetFileHook(nullptr); }
    TFileOperations(const TFileOperations&) = delete;
    TFileOperations& operator=(const TFileOperations&) = delete;
};

// Hands the bytes on in pieces of 16 KiB, so that a small file takes several writes.
class TPieceDevice : public TKordoByteDevice {
public:
    explicit TPieceDevice(std::unique_ptr<TKordoByteDevice> inner) : Inner(std::move(inner)) {}
    void Write(const uint8_t* data, size_t n) override {
        for (size_t at = 0; at < n; at += Piece)
            Inner->Write(data + at, std::min(Piece, n - at));
    }
    void Sync() override { Inner->Sync(); }

private:
    static constexpr size_t Piece = 16 << 10;
    std::unique_ptr<TKordoByteDevice> Inner;
};

// Scratch folders in memory where the system has a memory file system: the walks below flush files
// to disk some thousand times.
struct TMemoryScratch : TScratch {
    TMemoryScratch() {
        std::error_code error;
        if (fs::is_directory("/dev/shm", error)) {
            fs::remove_all(Root, error);
            Root = fs::path("/dev/shm") / Root.filename();
            fs::create_directories(Root);
        }
    }
};

// A target folder holding an old pair and an old backup pair, and a database (from another folder)
// that a save puts there; New is what that save writes.
class SaveWorld : public ::testing::Test {
protected:
    void SetUp() override {
        In = Scratch.Folder("in");
        Target = Scratch.Folder("target");
        Generate(In, 60, 2);
        Generate(Target, 30, 5);
        Generate(Target, 20, 9); // the first pair becomes the backup pair
        Old = Snapshot(Target);
        ASSERT_EQ(Old.size(), 4u);
        fs::path expected = Scratch.Folder("expected");
        TKordoPregameDatabase db;
        ASSERT_TRUE(db.Load(In)) << db.LastError();
        ASSERT_TRUE(db.Save(expected)) << db.LastError();
        New = Pair(Snapshot(expected));
    }

    static void Generate(const fs::path& folder, int32_t people, uint64_t seed) {
        std::string error;
        ASSERT_TRUE(KordoGenerateFiles(folder, {people, seed, false}, error)) << error;
    }

    // A fresh editor session's save of the database in In into Target, each file written in pieces
    // as a large one is.
    bool SaveInto(std::string* error = nullptr, const fs::path& from = {}) {
        TKordoPregameDatabase db;
        EXPECT_TRUE(db.Load(from.empty() ? In : from)) << db.LastError();
        db.WrapDevice = [](std::unique_ptr<TKordoByteDevice> file, const fs::path&) {
            return std::make_unique<TPieceDevice>(std::move(file));
        };
        bool saved = db.Save(Target);
        if (error)
            *error = db.LastError();
        return saved;
    }

    // The number of file operations a save into the old folder makes.
    size_t SaveOperations() {
        Restore(Target, Old);
        TFileOperations operations;
        EXPECT_TRUE(SaveInto());
        return operations.Count;
    }

    // After a crash, a load alone finds the old or the new pair, each with its own backup pair; a save
    // from there works and leaves no temporary behind. Returns whether the new pair was found.
    bool ExpectOldOrNewPair() {
        TKordoPregameDatabase fresh;
        EXPECT_TRUE(fresh.Load(Target)) << fresh.LastError();
        TSnapshot now = Snapshot(Target);
        const bool isNew = Pair(now) == New;
        EXPECT_TRUE(isNew || Pair(now) == Pair(Old)) << "a mixed or damaged pair";
        EXPECT_TRUE(Pair(now, ".bak") == (isNew ? Pair(Old) : Pair(Old, ".bak")))
            << "the backups do not belong";
        EXPECT_FALSE(KordoCommitPending(Target));
        EXPECT_TRUE(SaveInto());
        now = Snapshot(Target);
        EXPECT_TRUE(Pair(now) == New);
        EXPECT_TRUE(Pair(now, ".bak") == (isNew ? New : Pair(Old)));
        EXPECT_EQ(now.size(), 4u) << "temporaries left behind";
        return isNew;
    }

    TMemoryScratch Scratch;
    fs::path In, Target;
    TSnapshot Old;
    std::pair<std::string, std::string> New;
};

} // namespace

TEST_F(SaveWorld, EveryFileOperationFailingLeavesTheFolderAsItWas) {
    const size_t operations = SaveOperations();
    ASSERT_GT(operations, 20u);
    for (size_t at = 0; at < operations; ++at) {
        SCOPED_TRACE("operation " + std::to_string(at) + " fails");
        Restore(Target, Old);
        std::string error;
        bool saved;
        TKordoFileOperation failed;
        {
            TFileOperations hook;
            hook.FailAt = at;
            saved = SaveInto(&error);
            failed = hook.Failed;
        }
        TSnapshot now = Snapshot(Target);
        if (saved) {
            // Only removing what a finished save no longer needs may fail without failing the save.
            EXPECT_EQ(failed, TKordoFileOperation::Remove);
            EXPECT_TRUE(Pair(now) == New);
            EXPECT_TRUE(Pair(now, ".bak") == Pair(Old));
        } else {
            EXPECT_NE(error.find("simulated failure"), std::string::npos) << error;
            EXPECT_TRUE(WithoutTemporaries(now) == Old);
            EXPECT_FALSE(KordoCommitPending(Target));
        }
        // A temporary stays only where removing it was the operation that failed.
        if (HasTemporaries(Target)) {
            EXPECT_EQ(failed, TKordoFileOperation::Remove);
        }
        ExpectOldOrNewPair();
    }
}

TEST_F(SaveWorld, ACrashAtEveryFileOperationLeavesTheOldOrTheNewPairForTheNextLoad) {
    const size_t operations = SaveOperations();
    size_t found[2] = {0, 0}, recoveries = 0;
    for (size_t at = 0; at < operations; ++at) {
        SCOPED_TRACE("crash at operation " + std::to_string(at));
        Restore(Target, Old);
        {
            TFileOperations hook;
            hook.CrashAt = at;
            EXPECT_THROW(SaveInto(), TSimulatedCrash);
        }
        // The load that finds a commit record may itself stop at any of its operations.
        const TSnapshot crashed = Snapshot(Target);
        if (KordoCommitPending(Target)) {
            size_t recovery;
            {
                TFileOperations hook;
                TKordoPregameDatabase db;
                EXPECT_TRUE(db.Load(Target)) << db.LastError();
                ASSERT_EQ(db.Notices().size(), 1u);
                recovery = hook.Count;
            }
            for (size_t inner = 0; inner < recovery; ++inner) {
                SCOPED_TRACE("and the load's recovery at operation " + std::to_string(inner));
                Restore(Target, crashed);
                {
                    TFileOperations hook;
                    hook.CrashAt = inner;
                    TKordoPregameDatabase db;
                    EXPECT_THROW(db.Load(Target), TSimulatedCrash);
                }
                ExpectOldOrNewPair();
                ++recoveries;
            }
            Restore(Target, crashed);
        }
        ++found[ExpectOldOrNewPair()];
    }
    // Both outcomes occur: the walk passed the point where a save becomes final.
    EXPECT_GT(found[0], 0u);
    EXPECT_GT(found[1], 0u);
    EXPECT_GT(recoveries, 0u);
    std::cout << "[ crash points ] " << operations << " in a save, " << recoveries
              << " more in the recoveries after them\n";
}

TEST_F(SaveWorld, ACrashWhileUndoingAFailedSaveStillLeavesOneWholePair) {
    const size_t operations = SaveOperations();
    size_t points = 0;
    for (size_t failAt = 0; failAt < operations; ++failAt) {
        Restore(Target, Old);
        size_t total;
        {
            TFileOperations hook;
            hook.FailAt = failAt;
            SaveInto();
            total = hook.Count;
        }
        for (size_t crashAt = failAt + 1; crashAt < total; ++crashAt) {
            SCOPED_TRACE("operation " + std::to_string(failAt) + " fails, crash at " +
                         std::to_string(crashAt));
            Restore(Target, Old);
            {
                TFileOperations hook;
                hook.FailAt = failAt;
                hook.CrashAt = crashAt;
                EXPECT_THROW(SaveInto(), TSimulatedCrash);
            }
            ExpectOldOrNewPair();
            ++points;
        }
    }
    EXPECT_GT(points, operations);
    std::cout << "[ crash points ] " << points << " while a failed save is undone\n";
}

TEST_F(SaveWorld, ARecoveryFinishesWholeNewFilesAndUndoesDamagedOnes) {
    // Stop a save right after its commit record is in place.
    size_t recordAt = SIZE_MAX, number = 0;
    Restore(Target, Old);
    KordoSetFileHook([&](TKordoFileOperation operation, const fs::path& path, std::string&) {
        if (operation == TKordoFileOperation::Rename && path.filename() == KordoCommitFileName)
            recordAt = number;
        ++number;
        return true;
    });
    const bool saved = SaveInto();
    KordoSetFileHook(nullptr);
    ASSERT_TRUE(saved);
    ASSERT_NE(recordAt, SIZE_MAX);
    // Stopped before any rename, and after server_db.dat was renamed (the record's folder flush, then
    // that rename, come first).
    size_t points = 0;
    for (auto [damage, stop] : {std::pair{false, 1}, {true, 1}, {false, 3}, {true, 3}}) {
        SCOPED_TRACE((damage ? "a new file damaged, " : "new files whole, ") + std::to_string(stop));
        Restore(Target, Old);
        {
            TFileOperations hook;
            hook.CrashAt = recordAt + static_cast<size_t>(stop);
            EXPECT_THROW(SaveInto(), TSimulatedCrash);
        }
        EXPECT_TRUE(Pair(Snapshot(Target)).first == (stop == 3 ? New.first : Pair(Old).first));
        if (damage) // what a disk that lost a write leaves: the right size, wrong bytes
            for (const auto& [name, bytes] : Snapshot(Target))
                if (KordoIsTemporaryName(name) && name.find("people_db.dat.") != std::string::npos &&
                    bytes == New.second) {
                    std::string changed = bytes;
                    changed[changed.size() / 2] ^= 1;
                    Write(Target / name, changed);
                }
        // The recovery itself stopped at each of its operations, then run again from the start.
        const TSnapshot crashed = Snapshot(Target);
        for (size_t inner = 0;; ++inner) {
            SCOPED_TRACE("the recovery stopped at operation " + std::to_string(inner));
            Restore(Target, crashed);
            bool stopped = false;
            {
                TFileOperations hook;
                hook.CrashAt = inner;
                TKordoPregameDatabase db;
                try {
                    EXPECT_TRUE(db.Load(Target)) << db.LastError();
                } catch (const TSimulatedCrash&) {
                    stopped = true;
                }
            }
            const bool pending = KordoCommitPending(Target);
            TKordoPregameDatabase db;
            std::vector<std::string> statuses;
            db.OnStatus = [&](const std::string& text) { statuses.push_back(text); };
            ASSERT_TRUE(db.Load(Target)) << db.LastError();
            if (!stopped)
                break;
            ++points;
            if (pending) {
                ASSERT_EQ(db.Notices().size(), 1u);
                EXPECT_NE(db.Notices()[0].find(damage ? "undone" : "finished"), std::string::npos)
                    << db.Notices()[0];
                EXPECT_EQ(statuses.front(), "Recovering Interrupted Save");
            }
            TSnapshot now = Snapshot(Target);
            EXPECT_TRUE(Pair(now) == (damage ? Pair(Old) : New));
            EXPECT_TRUE(Pair(now, ".bak") == Pair(Old, damage ? ".bak" : ""));
            EXPECT_FALSE(HasTemporaries(Target));
        }
    }
    std::cout << "[ crash points ] " << points << " in recoveries that finish or undo\n";
}

TEST_F(SaveWorld, ACommitRecordThatIsDamagedOrNamesOtherFilesIsNeverFollowed) {
    const fs::path record = Target / KordoCommitFileName;
    fs::path outside = Scratch.Folder("outside") / "victim";
    Write(outside, "untouched");
    std::vector<std::string> records = {
        "kordo-commit 1\nfile server_db.dat .server_db.dat.0123456789abcdef.kordo-tmp 1 0",
        // Well formed, with a valid end line, but renaming a file outside the folder.
        [&] {
            std::string text =
                "kordo-commit 1\nfile server_db.dat .server_db.dat.0123456789abcdef.kordo-tmp 9 "
                "0000000000000000\nfile people_db.dat .people_db.dat.0123456789abcdef.kordo-tmp "
                "9 0000000000000000\nstep " +
                outside.string() + " server_db.dat -\n";
            TKordoChecksum sum;
            sum.Add(reinterpret_cast<const uint8_t*>(text.data()), text.size());
            char end[32];
            std::snprintf(end, sizeof end, "end %016llx\n", static_cast<unsigned long long>(sum.Value()));
            return text + end;
        }(),
    };
    for (const std::string& text : records) {
        Restore(Target, Old);
        Write(record, text);
        TKordoPregameDatabase db;
        EXPECT_FALSE(db.Load(Target));
        EXPECT_NE(db.LastError().find(KordoCommitFileName), std::string::npos) << db.LastError();
        EXPECT_FALSE(SaveInto());
        EXPECT_EQ(WithoutTemporaries(Snapshot(Target)).size(), 5u);
        EXPECT_EQ(FileContents(outside), "untouched");
    }
}

TEST_F(SaveWorld, ASecondWriterFailsAtOnceAndALoadWaitsForTheSave) {
    using namespace std::chrono_literals;
    TKordoFolderLock other; // another program, saving
    std::string reason;
    ASSERT_EQ(other.LockForWriting(Target / KordoLockFileName, 0ms, 0ms, reason),
              TKordoFolderLock::TResult::Locked)
        << reason;
    TKordoPregameDatabase db;
    ASSERT_TRUE(db.Load(In));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(db.Save(Target));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_TRUE(db.FolderBusy());
    EXPECT_EQ(db.LastError(), TKordoPregameDatabase::FolderBusyText);
    EXPECT_TRUE(Snapshot(Target) == Old);

    TKordoPregameDatabase reader;
    reader.LockWait = 100ms;
    EXPECT_FALSE(reader.Load(Target));
    EXPECT_EQ(reader.LastError(), TKordoPregameDatabase::FolderBusyText);
    reader.LockWait = 10s;
    std::thread finish([&] {
        std::this_thread::sleep_for(100ms);
        other.Release();
    });
    EXPECT_TRUE(reader.Load(Target)) << reader.LastError();
    finish.join();
    EXPECT_TRUE(db.Save(Target)) << db.LastError();
}

TEST_F(SaveWorld, ASaveWaitsForLoadsToFinish) {
    using namespace std::chrono_literals;
    TKordoFolderLock reading;
    std::string reason;
    ASSERT_EQ(reading.LockForReading(Target / KordoLockFileName, 0ms, reason),
              TKordoFolderLock::TResult::Locked);
    TKordoPregameDatabase other; // loads go on side by side
    ASSERT_TRUE(other.Load(Target)) << other.LastError();
    TKordoPregameDatabase db;
    ASSERT_TRUE(db.Load(In));
    db.LockWait = 100ms;
    EXPECT_FALSE(db.Save(Target));
    EXPECT_EQ(db.LastError(), "the data folder is being read by another program");
    EXPECT_TRUE(Snapshot(Target) == Old);
    db.LockWait = 10s;
    std::thread finish([&] {
        std::this_thread::sleep_for(100ms);
        reading.Release();
    });
    EXPECT_TRUE(db.Save(Target)) << db.LastError();
    finish.join();
    EXPECT_TRUE(Pair(Snapshot(Target)) == New);
}

#ifndef _WIN32
TEST_F(SaveWorld, PlantedLinksFifosAndFoldersAreRefusedOrReplacedNeverFollowed) {
    const fs::path victim = Scratch.Folder("outside") / "victim";
    auto plant = [&](const std::string& name, const std::string& kind) {
        Restore(Target, Old);
        fs::remove(Target / KordoLockFileName);
        Write(victim, "untouched");
        const fs::path at = Target / name;
        fs::remove_all(at);
        if (kind == "fifo")
            ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0);
        else if (kind == "folder")
            fs::create_directory(at);
        else
            fs::create_symlink(victim, at);
    };
    struct TCase {
        std::string Name, Kind;
        bool Loads, Saves;
        std::string Error;
    };
    const std::string lock = KordoLockFileName, record = KordoCommitFileName;
    for (const TCase& c : std::vector<TCase>{
             {"people_db.dat", "fifo", false, false, "people_db.dat is a FIFO"},
             {"server_db.dat", "folder", false, false, "server_db.dat is a directory"},
             {"people_db.dat.bak", "folder", true, false, "people_db.dat.bak is a directory"},
             {"server_db.dat.bak", "fifo", true, false, "server_db.dat.bak is a FIFO"},
             {lock, "link", true, false, "symbolic link"},
             {lock, "fifo", true, false, "FIFO"},
             {record, "link", false, false, record + " is a symbolic link"},
             {"server_db.dat.bak", "link", true, true, ""},
             {"people_db.dat.saving", "link", true, true, ""},
             {".people_db.dat.0123456789abcdef.kordo-tmp", "link", true, true, ""},
         }) {
        SCOPED_TRACE(c.Kind + " as " + c.Name);
        plant(c.Name, c.Kind);
        const TSnapshot before = Snapshot(Target);
        TKordoPregameDatabase loaded;
        EXPECT_EQ(loaded.Load(Target), c.Loads) << loaded.LastError();
        std::string error;
        EXPECT_EQ(SaveInto(&error), c.Saves) << error;
        EXPECT_NE(error.find(c.Error), std::string::npos) << error;
        EXPECT_EQ(FileContents(victim), "untouched");
        if (!c.Saves) {
            EXPECT_TRUE(Snapshot(Target) == before);
            continue;
        }
        TSnapshot after = Snapshot(Target);
        EXPECT_TRUE(Pair(after) == New);
        EXPECT_TRUE(Pair(after, ".bak") == Pair(Old));
        EXPECT_FALSE(HasTemporaries(Target));
    }
}

TEST_F(SaveWorld, DataFilesThatAreLinksAreSavedThroughAndTheLinksStay) {
    const fs::path real = Scratch.Folder("real");
    for (const char* name : {TKordoPregameDatabase::ServerFileName, TKordoPregameDatabase::PeopleFileName}) {
        fs::rename(Target / name, real / name);
        fs::remove(Target / (std::string(name) + ".bak"));
        fs::create_symlink(real / name, Target / name);
    }
    ASSERT_TRUE(SaveInto());
    EXPECT_EQ(KordoFileKindOf(KordoServerFile(Target)), TKordoFileKind::SymbolicLink);
    EXPECT_EQ(KordoFileKindOf(KordoPeopleFile(Target)), TKordoFileKind::SymbolicLink);
    const TSnapshot saved = Snapshot(real);
    EXPECT_TRUE(Pair(saved) == New);
    EXPECT_TRUE(Pair(saved, ".bak") == Pair(Old));
    EXPECT_EQ(saved.size(), 4u);

    // A crash between the two renames of another save: the load finishes it in the other folder.
    const fs::path other = Scratch.Folder("other");
    Generate(other, 10, 4);
    KordoSetFileHook([](TKordoFileOperation operation, const fs::path& path, std::string&) {
        if (operation == TKordoFileOperation::Rename &&
            path.filename() == TKordoPregameDatabase::PeopleFileName)
            throw TSimulatedCrash();
        return true;
    });
    EXPECT_THROW(SaveInto(nullptr, other), TSimulatedCrash);
    KordoSetFileHook(nullptr);
    ASSERT_TRUE(KordoCommitPending(Target));
    TKordoPregameDatabase db;
    EXPECT_TRUE(db.Load(Target)) << db.LastError();
    EXPECT_EQ(db.Staffs.Count(), 10);
    EXPECT_TRUE(Pair(Snapshot(real), ".bak") == New);
    EXPECT_EQ(KordoFileKindOf(KordoServerFile(Target)), TKordoFileKind::SymbolicLink);

    // A link to nothing, and two names for one file, are refused.
    std::string error;
    fs::remove(KordoPeopleFile(Target));
    fs::create_symlink(real / "missing", KordoPeopleFile(Target));
    EXPECT_FALSE(SaveInto(&error));
    EXPECT_NE(error.find("which does not exist"), std::string::npos) << error;
    fs::remove(KordoPeopleFile(Target));
    fs::create_symlink(real / TKordoPregameDatabase::ServerFileName, KordoPeopleFile(Target));
    EXPECT_FALSE(SaveInto(&error));
    EXPECT_NE(error.find("are the same file"), std::string::npos) << error;
}
#endif

TEST(Checksum, DependsOnTheBytesOnlyNotOnHowTheyArrive) {
    std::mt19937_64 random(3);
    std::string bytes(1000, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    auto sum = [](const std::string& text, size_t piece) {
        TKordoChecksum checksum;
        for (size_t at = 0; at < text.size(); at += piece)
            checksum.Add(reinterpret_cast<const uint8_t*>(text.data()) + at,
                         std::min(piece, text.size() - at));
        return checksum.Value();
    };
    const uint64_t whole = sum(bytes, bytes.size());
    for (size_t piece : {1, 7, 31, 32, 33, 500})
        EXPECT_EQ(sum(bytes, piece), whole) << piece;
    std::string changed = bytes;
    changed[999] ^= 1;
    EXPECT_NE(sum(changed, 1000), whole);
    EXPECT_NE(sum(bytes.substr(0, 999), 999), whole);
    EXPECT_NE(sum(bytes + std::string(1, '\0'), 1001), whole);
}
