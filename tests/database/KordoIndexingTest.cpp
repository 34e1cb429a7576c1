// Loading links the records; saving sorts, renumbers, writes both files safely and links them again.
#include "KordoCheck.h"
#include "KordoGenerator.h"
#include "KordoPlatform.h"
#include "KordoPregameDatabase.h"
#include "TestFailingDevice.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>

namespace fs = std::filesystem;

namespace {

void Generate(const fs::path& folder, int32_t people, uint64_t seed, bool noTies) {
    std::string error;
    ASSERT_TRUE(KordoGenerateFiles(folder, {people, seed, noTies}, error)) << error;
}

bool SameFiles(const fs::path& a, const fs::path& b) {
    return FileContents(KordoServerFile(a)) == FileContents(KordoServerFile(b)) &&
           FileContents(KordoPeopleFile(a)) == FileContents(KordoPeopleFile(b));
}

void LoadOrFail(TKordoPregameDatabase& db, const fs::path& folder) {
    ASSERT_TRUE(db.Load(folder)) << db.LastError();
}

std::vector<int32_t> IdsInOrder(const TKordoPregameDatabase& db) {
    std::vector<int32_t> ids;
    for (const TKordoStaff* staff : db.Staffs.List())
        ids.push_back(staff->ID());
    return ids;
}

} // namespace

TEST(DatabaseRoundTrip, ASecondSaveGivesBackTheGeneratedFiles) {
    // The unstable sort exchanges equal elements on every save; on lists already in saved order
    // a second save puts them back.
    TScratch scratch;
    for (int32_t people : {0, 1, 700}) {
        for (uint64_t seed : {1u, 2u}) {
            SCOPED_TRACE("people " + std::to_string(people) + ", seed " + std::to_string(seed));
            fs::path in = scratch.Folder("in"), once = scratch.Folder("once"),
                     twice = scratch.Folder("twice");
            Generate(in, people, seed, false);
            TKordoPregameDatabase db;
            LoadOrFail(db, in);
            ASSERT_TRUE(db.Save(once)) << db.LastError();
            TKordoPregameDatabase again;
            LoadOrFail(again, once);
            ASSERT_TRUE(again.Save(twice)) << again.LastError();
            EXPECT_TRUE(SameFiles(in, twice));
            EXPECT_EQ(KordoCheckDatabase(again), std::vector<std::string>{});
        }
    }
}

TEST(DatabaseRoundTrip, WithoutTiesTheServerFileComesBackAtOnce) {
    TScratch scratch;
    fs::path in = scratch.Folder("in"), out = scratch.Folder("out");
    Generate(in, 1500, 5, true);
    TKordoPregameDatabase db;
    LoadOrFail(db, in);
    std::vector<int32_t> before = IdsInOrder(db);
    ASSERT_TRUE(db.Save(out)) << db.LastError();
    EXPECT_EQ(FileContents(KordoServerFile(in)), FileContents(KordoServerFile(out)));
    EXPECT_EQ(FileContents(KordoPeopleFile(in)).size(), FileContents(KordoPeopleFile(out)).size());
    std::vector<int32_t> after = IdsInOrder(db);
    EXPECT_NE(before, after); // people of one nation change places
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(before, after);
}

TEST(DatabaseSave, PeopleOfOneNationAreWrittenInTheOrderTheListSortLeaves) {
    // Five people of one nation, a b c d e: the list sort leaves d e c a b, and applying it again
    // restores a b c d e. A stable sort would leave them in place.
    TScratch scratch;
    fs::path in = scratch.Folder("in");
    Generate(in, 0, 3, false);
    TKordoPregameDatabase db;
    LoadOrFail(db, in);
    TKordoNation* nation = db.Nations.Item(4);
    std::vector<int32_t> ids;
    for (int i = 0; i < 5; ++i) {
        TKordoStaff* staff = db.Staffs.NewStaff();
        staff->Nation = nation;
        ids.push_back(staff->ID());
    }
    ASSERT_TRUE(db.Save(scratch.Folder("once"))) << db.LastError();
    EXPECT_EQ(IdsInOrder(db), (std::vector<int32_t>{ids[3], ids[4], ids[2], ids[0], ids[1]}));
    ASSERT_TRUE(db.Save(scratch.Folder("twice"))) << db.LastError();
    EXPECT_EQ(IdsInOrder(db), ids);
}

TEST(DatabaseSave, RawFilesAreNormalisedOnceAndThenStable) {
    // A database as another tool may leave it: people out of nation order, single rival entries,
    // stale attribute numbers, references to nothing, a non-zero string terminator.
    TScratch scratch;
    fs::path generated = scratch.Folder("generated"), raw = scratch.Folder("raw");
    Generate(generated, 400, 9, false);
    TKordoPregameDatabase file;
    ASSERT_TRUE(file.ReadFiles(generated)) << file.LastError();
    for (TKordoClub& club : file.Clubs.Records) { // drop the leading rival copies
        size_t rivals = 0;
        for (const TKordoRelation& entry : club.Relations)
            rivals += entry.Kind == KordoKindClub;
        club.Relations.erase(club.Relations.begin(), club.Relations.begin() + static_cast<long>(rivals / 2));
    }
    TKordoStaff* first = file.Staffs.Item(0);
    first->SetStoredCity(999999);                // resolves to nothing
    file.MentalAtts.Item(0)->SetMentalAttID(77); // stale own number
    file.Staffs.SortStaff();                     // no nations linked: all equal, order shuffled
    ASSERT_TRUE(file.WriteFiles(raw)) << file.LastError();
    std::string server = FileContents(KordoServerFile(raw));
    size_t cityText = 27 + 4 + 43 * file.Awards.Records.size() + 4 + 19;
    ASSERT_GT(file.Cities.Records[0].Texts[0].size(), 0u);
    server[cityText + 4 + 2 * file.Cities.Records[0].Texts[0].size()] = 'x';
    std::ofstream(KordoServerFile(raw), std::ios::binary) << server;

    TKordoPregameDatabase db;
    LoadOrFail(db, raw);
    EXPECT_EQ(db.Staffs.FindStaff(first->ID())->City, nullptr);
    fs::path once = scratch.Folder("once"), twice = scratch.Folder("twice");
    ASSERT_TRUE(db.Save(once)) << db.LastError();
    EXPECT_EQ(db.Staffs.FindStaff(first->ID())->StoredCity(), 0xFFFFFFFFu);
    EXPECT_EQ(db.MentalAtts.Item(0)->MentalAttID(), 0);
    TKordoPregameDatabase again;
    LoadOrFail(again, once);
    EXPECT_EQ(KordoCheckDatabase(again), std::vector<std::string>{});
    ASSERT_TRUE(again.Save(twice)) << again.LastError();
    TKordoPregameDatabase third;
    LoadOrFail(third, twice);
    fs::path thrice = scratch.Folder("thrice");
    ASSERT_TRUE(third.Save(thrice));
    EXPECT_TRUE(SameFiles(once, thrice)); // the sort's exchanges undo themselves every second save
}

TEST(DatabaseLoad, ReportsEveryStepInOrder) {
    TScratch scratch;
    fs::path in = scratch.Folder("in");
    Generate(in, 30, 1, false);
    TKordoPregameDatabase db;
    std::vector<std::string> statuses;
    std::vector<int32_t> progress;
    std::map<std::string, int32_t> lastPercent; // of each status
    db.OnStatus = [&](const std::string& text) { statuses.push_back(text); };
    db.OnProgress = [&](int32_t percent) {
        progress.push_back(percent);
        lastPercent[statuses.back()] = percent;
    };
    LoadOrFail(db, in);
    ASSERT_EQ(statuses.size(), 33u + 8u);
    // The people tables, read on a second thread, still end at 100 under their own status.
    for (const char* table : {"Staff", "Mental Attributes", "Player Attributes", "Non Player Attributes"})
        EXPECT_EQ(lastPercent[std::string("Loading ") + table], 100) << table;
    EXPECT_EQ(statuses[0], "Loading Awards");
    EXPECT_EQ(statuses[22], "Loading Unknown7");
    EXPECT_EQ(statuses[28], "Loading Staff");
    EXPECT_EQ(statuses[32], "Loading Unknown 13");
    EXPECT_EQ(std::vector<std::string>(statuses.end() - 8, statuses.end()),
              (std::vector<std::string>{"Indexing First Names", "Indexing Second Names",
                                        "Indexing Common Names", "Indexing Staff", "Indexing Squads",
                                        "Indexing Clubs", "Cleaning Club Preferences", "Indexing Nations"}));
    EXPECT_EQ(progress.back(), 100);

    statuses.clear();
    ASSERT_TRUE(db.Save(scratch.Folder("out")));
    std::vector<std::string> head(statuses.begin(), statuses.begin() + 15);
    EXPECT_EQ(head, (std::vector<std::string>{
                        "Sorting Mental Attributes", "Sorting Non Player Attributes",
                        "Sorting Player Attributes", "Sorting Common Names", "Sorting Second Names",
                        "Sorting First Names", "Sorting Club Preferences", "Sorting Staff",
                        "Reindexing Nations", "Reindexing Clubs", "Reindexing Squads", "Reindexing Staff",
                        "Reindexing Common Names", "Reindexing Second Names", "Reindexing First Names"}));
    EXPECT_EQ(statuses[15], "Saving Awards");
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Saving Unknown7"), statuses.end());
    EXPECT_EQ(statuses.back(), "Indexing Nations");
}

TEST(DatabaseLoad, ResolvesReferencesByRowAndByIdentifier) {
    TScratch scratch;
    fs::path in = scratch.Folder("in");
    Generate(in, 300, 4, false);
    TKordoPregameDatabase db;
    LoadOrFail(db, in);
    for (const TKordoStaff* staff : db.Staffs.List()) {
        if (staff->StaffType() == KordoStaffReferee) {
            EXPECT_EQ(staff->PlayerAtts, nullptr);
            EXPECT_EQ(staff->NonPlayerAtts, nullptr);
        }
        if (staff->ClubSquad && staff->ClubJob() == 1) {
            EXPECT_NE(std::find(staff->ClubSquad->Players.begin(), staff->ClubSquad->Players.end(), staff),
                      staff->ClubSquad->Players.end());
        }
    }
    for (const TKordoClub& club : db.Clubs.Records) {
        for (const TKordoSquad* squad : club.Squads)
            EXPECT_EQ(squad->OwnerClub, &club);
        if (club.Chairman) {
            EXPECT_EQ(club.Chairman->ClubJob(), 4);
        }
    }
    // Loading twice gives the same state as loading once.
    std::vector<int32_t> ids = IdsInOrder(db);
    LoadOrFail(db, in);
    EXPECT_EQ(IdsInOrder(db), ids);
    EXPECT_EQ(KordoCheckDatabase(db), std::vector<std::string>{});
}

TEST(DatabaseLoad, ALargeStaffTableIsLinkedWhole) {
    // A table this large is linked in two halves at once: every person of both is linked, and the
    // progress still climbs to the end.
    TScratch scratch;
    fs::path in = scratch.Folder("in");
    const auto people = static_cast<int32_t>(KordoParallelIndexFrom) + 101;
    Generate(in, people, 6, false);
    TKordoPregameDatabase db;
    std::vector<int32_t> progress; // while the staff table is linked
    bool linking = false;
    db.OnStatus = [&](const std::string& text) { linking = text == "Indexing Staff"; };
    db.OnProgress = [&](int32_t percent) {
        if (linking)
            progress.push_back(percent);
    };
    LoadOrFail(db, in);
    ASSERT_EQ(db.Staffs.Count(), people);
    EXPECT_EQ(progress.size(), static_cast<size_t>(people));
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);
    auto at = [](auto& table, uint32_t stored) -> decltype(table.Item(0)) {
        auto row = static_cast<int32_t>(stored);
        return row >= 0 && row < table.Count() ? table.Item(row) : nullptr;
    };
    size_t unlinked = 0;
    for (TKordoStaff* staff : db.Staffs.List()) {
        bool linked = staff->FirstName == at(db.FirstNames, staff->StoredFirstName()) &&
                      staff->CommonName == at(db.CommonNames, staff->StoredCommonName()) &&
                      staff->Nation == at(db.Nations, staff->StoredNation()) &&
                      staff->MentalAtts == at(db.MentalAtts, staff->StoredMentalAtts());
        unlinked += linked ? 0 : 1;
    }
    EXPECT_EQ(unlinked, 0u);
    EXPECT_EQ(KordoCheckDatabase(db), std::vector<std::string>{});
}

TEST(DatabaseSave, DeletedPeopleAreDroppedButStillNamedByID) {
    TScratch scratch;
    fs::path in = scratch.Folder("in"), out = scratch.Folder("out");
    Generate(in, 200, 6, false);
    TKordoPregameDatabase db;
    LoadOrFail(db, in);
    TKordoSquad* squad = nullptr;
    for (TKordoSquad& s : db.Squads.Records)
        if (!s.Players.empty())
            squad = &s;
    ASSERT_NE(squad, nullptr);
    TKordoStaff* gone = squad->Players.front();
    int32_t count = db.Staffs.Count();
    db.Staffs.RemoveStaff(gone);
    ASSERT_TRUE(db.Save(out)) << db.LastError();
    TKordoPregameDatabase again;
    LoadOrFail(again, out);
    EXPECT_EQ(again.Staffs.Count(), count - 1);
    EXPECT_EQ(again.Staffs.FindStaff(gone->ID()), nullptr);
    EXPECT_EQ(again.Squads.Records[static_cast<size_t>(squad->SquadIndex())].StoredPlayers.front(),
              static_cast<uint32_t>(gone->ID()));
}

// Saving writes every reference from the record it points at now, not from the number it was loaded
// with: each is moved to another record (or to none) and must come back so from the saved files.
TEST(DatabaseSave, EveryReferenceIsWrittenFromWhatItNowPointsAt) {
    TScratch scratch;
    fs::path in = scratch.Folder("in"), out = scratch.Folder("out");
    Generate(in, 300, 12, false);
    TKordoPregameDatabase db;
    LoadOrFail(db, in);
    auto nation = [&](int32_t row) { return db.Nations.Item(row); };
    auto club = [&](int32_t row) { return db.Clubs.Item(row); };
    TKordoSquad *clubSquad = nullptr, *nationalSquad = nullptr;
    for (TKordoSquad& squad : db.Squads.Records)
        (squad.SquadKind() == KordoNationalSquad ? nationalSquad : clubSquad) = &squad;
    ASSERT_TRUE(clubSquad && nationalSquad);
    TKordoStaff* person = nullptr;
    for (TKordoStaff* staff : db.Staffs.List())
        if (staff->HasClubContract() && staff->HasNationContract() && !staff->Relations.empty())
            person = staff;
    ASSERT_NE(person, nullptr);
    TKordoStaff* other = db.Staffs.Item(0);

    nation(0)->NationalSquad = nationalSquad;
    nation(1)->NationalSquad = nullptr;
    club(0)->Nation = nation(2);
    club(0)->Chairman = other;
    club(0)->Squads.push_back(clubSquad);
    clubSquad->OwnerClub = club(5);
    clubSquad->Manager = person;
    nationalSquad->OwnerNation = nation(3);
    person->ClubSquad = clubSquad;
    person->NationSquad = nationalSquad;
    person->ClubContractEmployer = club(6);
    person->NationContractEmployer = nation(4);
    person->City = &db.Cities.Records[1];
    person->Relations.front().Kind = KordoKindClub;
    person->Relations.front().Target = club(7);
    ASSERT_TRUE(db.Save(out)) << db.LastError();

    TKordoPregameDatabase again;
    LoadOrFail(again, out);
    auto squadRow = [](const TKordoPregameDatabase& d, const TKordoSquad* squad) {
        return squad ? squad - d.Squads.Records.data() : -1;
    };
    auto clubRow = [](const TKordoPregameDatabase& d, const TKordoClub* c) {
        return c ? c - d.Clubs.Records.data() : -1;
    };
    auto nationRow = [](const TKordoPregameDatabase& d, const TKordoNation* n) {
        return n ? n - d.Nations.Records.data() : -1;
    };
    const TKordoStaff* saved = again.Staffs.FindStaff(person->ID());
    EXPECT_EQ(squadRow(again, again.Nations.Item(0)->NationalSquad), squadRow(db, nationalSquad));
    EXPECT_EQ(again.Nations.Item(1)->NationalSquad, nullptr);
    EXPECT_EQ(nationRow(again, again.Clubs.Item(0)->Nation), 2);
    EXPECT_EQ(again.Clubs.Item(0)->Chairman->ID(), other->ID());
    EXPECT_EQ(squadRow(again, again.Clubs.Item(0)->Squads.back()), squadRow(db, clubSquad));
    const TKordoSquad& squad = again.Squads.Records[static_cast<size_t>(squadRow(db, clubSquad))];
    EXPECT_EQ(clubRow(again, squad.OwnerClub), 5);
    EXPECT_EQ(squad.Manager, saved);
    EXPECT_EQ(
        nationRow(again, again.Squads.Records[static_cast<size_t>(squadRow(db, nationalSquad))].OwnerNation),
        3);
    EXPECT_EQ(squadRow(again, saved->ClubSquad), squadRow(db, clubSquad));
    EXPECT_EQ(squadRow(again, saved->NationSquad), squadRow(db, nationalSquad));
    EXPECT_EQ(clubRow(again, saved->ClubContractEmployer), 6);
    EXPECT_EQ(nationRow(again, saved->NationContractEmployer), 4);
    EXPECT_EQ(saved->City, &again.Cities.Records[1]);
    EXPECT_EQ(saved->Relations.front().TargetClub(),
              again.Clubs.Item(7)); // a person's entries keep their order
}

// A person made by NewStaff is saved with his ID in both places the record keeps it, and found by it.
TEST(DatabaseSave, ANewPersonIsFoundByHisIDBeforeAndAfterSaving) {
    TScratch scratch;
    fs::path in = scratch.Folder("in"), out = scratch.Folder("out");
    Generate(in, 50, 3, false);
    TKordoPregameDatabase db;
    LoadOrFail(db, in);
    TKordoStaff* added = db.Staffs.NewStaff();
    EXPECT_EQ(db.Staffs.FindStaff(added->ID()), added);
    ASSERT_TRUE(db.Save(out)) << db.LastError();
    TKordoPregameDatabase again;
    LoadOrFail(again, out);
    const TKordoStaff* saved = again.Staffs.FindStaff(added->ID());
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->Get<int32_t>(330), added->ID());
    EXPECT_EQ(saved->ID(), db.Staffs.MaxStaffID);
}

TEST(SafeSave, AFailedWriteAnywhereLeavesTheFilesAndTheEditableDatabase) {
    TScratch scratch;
    fs::path in = scratch.Folder("in"), target = scratch.Folder("target");
    Generate(in, 60, 2, false);
    Generate(target, 40, 8, false);
    const std::string server = FileContents(KordoServerFile(target)),
                      people = FileContents(KordoPeopleFile(target));
    uint64_t total = FileContents(KordoServerFile(in)).size() + FileContents(KordoPeopleFile(in)).size();

    // The same edits saved without a failure, for comparison.
    TKordoPregameDatabase reference;
    LoadOrFail(reference, in);
    ASSERT_TRUE(reference.Save(scratch.Folder("scratch")));
    fs::path expected = scratch.Folder("expected");
    ASSERT_TRUE(reference.Save(expected));

    for (uint64_t budget :
         {uint64_t{0}, uint64_t{1}, uint64_t{26}, uint64_t{27}, total / 3, total / 2, total - 1}) {
        SCOPED_TRACE("failing after " + std::to_string(budget) + " bytes");
        TKordoPregameDatabase db;
        LoadOrFail(db, in);
        auto left = std::make_shared<uint64_t>(budget); // shared by both files
        db.WrapDevice = [left](std::unique_ptr<TKordoByteDevice> file,
                               const fs::path&) -> std::unique_ptr<TKordoByteDevice> {
            return std::make_unique<TFailingDevice>(std::move(file), left);
        };
        EXPECT_FALSE(db.Save(target));
        EXPECT_NE(db.LastError(), "");
        EXPECT_EQ(FileContents(KordoServerFile(target)), server);
        EXPECT_EQ(FileContents(KordoPeopleFile(target)), people);
        EXPECT_FALSE(fs::exists(KordoServerFile(target).string() + ".saving"));
        EXPECT_FALSE(fs::exists(KordoServerFile(target).string() + ".bak"));
        db.WrapDevice = nullptr;
        fs::path retry = scratch.Folder("retry");
        ASSERT_TRUE(db.Save(retry)) << db.LastError();
        EXPECT_TRUE(SameFiles(retry, expected));
    }
}

TEST(SafeSave, ReplacedFilesAreKeptAsBackupsAndReadOnlyTargetsRefuse) {
    TScratch scratch;
    fs::path in = scratch.Folder("in"), target = scratch.Folder("target");
    Generate(in, 50, 1, false);
    Generate(target, 20, 2, false);
    const std::string oldServer = FileContents(KordoServerFile(target)),
                      oldPeople = FileContents(KordoPeopleFile(target));
    TKordoPregameDatabase db;
    LoadOrFail(db, in);

    std::string reason;
    ASSERT_TRUE(KordoSetReadOnly(KordoServerFile(target), true, reason)) << reason;
    EXPECT_FALSE(db.Save(target));
    EXPECT_NE(db.LastError().find("read-only"), std::string::npos);
    EXPECT_EQ(FileContents(KordoServerFile(target)), oldServer);
    EXPECT_EQ(FileContents(KordoPeopleFile(target)), oldPeople);
    EXPECT_TRUE(KordoIsReadOnly(KordoServerFile(target)));

    ASSERT_TRUE(KordoSetReadOnly(KordoServerFile(target), false, reason)) << reason;
    ASSERT_TRUE(db.Save(target)) << db.LastError();
    EXPECT_EQ(FileContents(KordoServerFile(target).string() + ".bak"), oldServer);
    EXPECT_EQ(FileContents(KordoPeopleFile(target).string() + ".bak"), oldPeople);
    EXPECT_FALSE(db.Save(scratch.Root / "missing"));
}

TEST(SafeSave, AListOverItsLimitFailsTheSaveBeforeAnythingIsWritten) {
    TScratch scratch;
    fs::path in = scratch.Folder("in"), out = scratch.Folder("out");
    Generate(in, 30, 1, false);
    TKordoPregameDatabase db;
    LoadOrFail(db, in);
    TKordoClub& club = db.Clubs.Records[0];
    club.Relations.clear();
    for (int i = 0; i < 128; ++i) { // 128 rivals are written as 256 entries
        TKordoRelation rival;
        rival.Kind = KordoKindClub;
        rival.Relation = KordoRelationRivalClub;
        rival.Target = &db.Clubs.Records[static_cast<size_t>(i % db.Clubs.Count())];
        club.Relations.push_back(rival);
    }
    EXPECT_FALSE(db.Save(out));
    EXPECT_NE(db.LastError().find("Clubs, record 0"), std::string::npos) << db.LastError();
    EXPECT_FALSE(fs::exists(KordoServerFile(out)));
    EXPECT_EQ(club.Relations.size(), 128u); // the rivals were not doubled
}
