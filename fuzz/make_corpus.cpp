// Writes the seed corpora of the fuzz targets: small generated databases for fuzz_database, for
// fuzz_readers one valid input per reader, cut from a generated database, and for fuzz_forms a
// generated database and, for each damage the tests build, the same database damaged so.
//
// make_corpus DATABASE_CORPUS_DIR READERS_CORPUS_DIR FORMS_CORPUS_DIR
#include "../tests/TestDamagedDatabases.h"
#include "KordoFuzzTargets.h"
#include "KordoGenerator.h"

#include <fstream>
#include <iostream>

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& file, const TKordoFuzzBytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

TKordoFuzzBytes Saved(const std::function<void(TKordoFileStream&)>& save) {
    TKordoFuzzBytes out;
    TKordoFileStream stream(std::make_unique<TKordoMemoryDevice>(out), "seed");
    save(stream);
    stream.Flush();
    return out;
}

void GenerateDatabase(TKordoPregameDatabase& database, int32_t people, uint64_t seed, bool noTies) {
    TKordoGeneratorOptions options;
    options.People = people;
    options.Seed = seed;
    options.NoTies = noTies;
    KordoGenerate(database, options);
}

void WriteDatabaseSeeds(const fs::path& folder) {
    struct TSeed {
        int32_t People;
        uint64_t Seed;
        bool NoTies;
    };
    for (const TSeed& seed :
         {TSeed{0, 1, false}, TSeed{3, 2, false}, TSeed{3, 3, true}, TSeed{20, 4, false}}) {
        TKordoPregameDatabase database;
        GenerateDatabase(database, seed.People, seed.Seed, seed.NoTies);
        TKordoFuzzBytes server = Saved([&](TKordoFileStream& s) { database.WriteServerFile(s); });
        TKordoFuzzBytes people = Saved([&](TKordoFileStream& s) { database.WritePeopleFile(s); });
        WriteFile(folder / ("people-" + std::to_string(seed.People) + "-seed-" + std::to_string(seed.Seed)),
                  KordoFuzzJoinFiles(server, people));
    }
}

TKordoFuzzBytes DatabaseInput(TKordoPregameDatabase& database) {
    return KordoFuzzJoinFiles(Saved([&](TKordoFileStream& s) { database.WriteServerFile(s); }),
                              Saved([&](TKordoFileStream& s) { database.WritePeopleFile(s); }));
}

void WriteFormSeeds(const fs::path& folder) {
    TKordoPregameDatabase sound;
    GenerateDatabase(sound, 60, 6, false);
    const TKordoFuzzBytes input = DatabaseInput(sound);
    WriteFile(folder / "people-60-seed-6", input);

    // The same files read as they are, unlinked, and damaged the way the tests damage them: one
    // seed per damage, so that no damage hides another.
    TKordoFuzzBytes server, people;
    KordoFuzzSplitFiles(input.data(), input.size(), server, people);
    const std::vector<TDamage>& damages = DamagedDatabases();
    for (size_t i = 0; i < damages.size(); ++i) {
        TKordoPregameDatabase raw;
        TKordoFileStream serverStream(server, "seed"), peopleStream(people, "seed");
        raw.ReadServerFile(serverStream);
        raw.ReadPeopleFile(peopleStream);
        TDamaged damaged = damages[i].Apply(raw);
        if (damaged.StaffID < 0 && damaged.ClubRow < 0) {
            std::cerr << "make_corpus: no seed for " << damages[i].Name
                      << ": nothing fits in the seed database\n";
            continue;
        }
        WriteFile(folder / ("people-60-seed-6-damage-" + std::to_string(i)), DatabaseInput(raw));
    }
}

// A few records are enough to reach every branch of a table's reader.
template <class List> void KeepFirst(List& records, size_t count) {
    if (records.size() > count)
        records.resize(count);
}

void WriteReaderSeeds(const fs::path& folder) {
    TKordoPregameDatabase database;
    GenerateDatabase(database, 3, 5, false);
    using R = TKordoFuzzReader;
    auto seed = [&](R reader, const TKordoFuzzBytes& body, const std::string& suffix = "") {
        TKordoFuzzBytes input{static_cast<uint8_t>(reader)};
        input.insert(input.end(), body.begin(), body.end());
        WriteFile(folder / ("reader-" + std::to_string(static_cast<int>(reader)) + suffix), input);
    };
    auto table = [&](R reader, auto& t) {
        seed(reader, Saved([&](TKordoFileStream& s) { t.SaveToStream(s); }));
    };

    seed(R::WideString, Saved([&](TKordoFileStream& s) {
             for (size_t i = 0; i < 3 && i < database.Clubs.Records.size(); ++i)
                 s.WriteWideString(database.Clubs.Records[i].ClubName);
             s.WriteWideString(u"");
         }));
    const TKordoClub& club = database.Clubs.Records.at(0);
    seed(R::Opaque, Saved([&](TKordoFileStream& s) {
             s.WriteValue<uint8_t>(11 - 1);
             TKordoWriter(s).Opaque(club.List57, 11, "seed");
         }));
    seed(R::Numbers1,
         Saved([&](TKordoFileStream& s) { TKordoWriter(s).Numbers(club.StoredSquads, 1, "seed"); }));
    seed(R::Numbers2, Saved([&](TKordoFileStream& s) { TKordoWriter(s).Numbers({1, 2, 3}, 2, "seed"); }));
    seed(R::Relations,
         Saved([&](TKordoFileStream& s) { TKordoWriter(s).Relations(club.Relations, "seed"); }));

    KeepFirst(database.Clubs.Records, 2);
    KeepFirst(database.Nations.Records, 2);
    KeepFirst(database.Squads.Records, 4);
    KeepFirst(database.Cities.Records, 2);
    KeepFirst(database.Stages.Records, 2);
    KeepFirst(database.Medias.Records, 2);
    KeepFirst(database.Injuries.Records, 2);
    KeepFirst(database.Languages.Records, 2);
    KeepFirst(database.Weathers.Records, 2);
    table(R::Awards, database.Awards);
    table(R::Cities, database.Cities);
    table(R::Clubs, database.Clubs);
    table(R::ClubCompetitions, database.ClubCompetitions);
    table(R::Continents, database.Continents);
    table(R::Injuries, database.Injuries);
    table(R::Medias, database.Medias);
    table(R::Languages, database.Languages);
    table(R::Nations, database.Nations);
    table(R::FirstNames, database.FirstNames);
    table(R::SecondNames, database.SecondNames);
    table(R::CommonNames, database.CommonNames);
    table(R::Stadiums, database.Stadiums);
    table(R::Stages, database.Stages);
    table(R::Squads, database.Squads);
    table(R::Weathers, database.Weathers);
    seed(R::Staffs, Saved([&](TKordoFileStream& s) { database.Staffs.SaveToStream(s, 0, 0, 0); }));
    table(R::MentalAtts, database.MentalAtts);
    table(R::PlayerAtts, database.PlayerAtts);
    table(R::NonPlayerAtts, database.NonPlayerAtts);
    for (int n = 1; n <= TKordoUnknowns::TableCount; ++n)
        seed(static_cast<R>(static_cast<int>(R::Unknown1) + n - 1),
             Saved([&](TKordoFileStream& s) { database.Unknowns.SaveTable(s, n); }));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_corpus DATABASE_CORPUS_DIR READERS_CORPUS_DIR FORMS_CORPUS_DIR\n";
        return 2;
    }
    try {
        fs::create_directories(argv[1]);
        fs::create_directories(argv[2]);
        fs::create_directories(argv[3]);
        WriteDatabaseSeeds(argv[1]);
        WriteReaderSeeds(argv[2]);
        WriteFormSeeds(argv[3]);
    } catch (const std::exception& e) {
        std::cerr << "make_corpus: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
