// Benchmarks of loading and saving at scale, each against the physical floor of moving the files'
// bytes, plus the lookups, name insertion and sort the editor leans on.
//
//   kordo-bench [--people-sizes 20000,250000] [google benchmark flags]
//
// Databases are generated once per run into a temporary folder.
#include "KordoApply.h"
#include "KordoEditSession.h"
#include "KordoExport.h"
#include "KordoGenerator.h"
#include "KordoPlatform.h"
#include "KordoPregameDatabase.h"
#include "KordoSearch.h"
#include "StaffForm.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using TClock = std::chrono::steady_clock;

fs::path Root;
std::vector<int32_t> Sizes{20000, 250000};

fs::path DataFolder(int32_t people) {
    return Root / ("people-" + std::to_string(people));
}

void EnsureGenerated(int32_t people) {
    fs::path folder = DataFolder(people);
    if (fs::exists(KordoPeopleFile(folder)))
        return;
    std::string error;
    if (!KordoGenerateFiles(folder, {people, 1, false}, error)) {
        std::fprintf(stderr, "kordo-bench: cannot generate: %s\n", error.c_str());
        std::exit(2);
    }
}

// Reads a file whole into memory from the large-array allocator the tables use (huge pages where the
// system has them): the physical limit of a load.
size_t ReadAllLarge(const fs::path& file) {
    std::FILE* f = std::fopen(file.string().c_str(), "rb");
    if (!f)
        std::exit(2);
    std::fseek(f, 0, SEEK_END);
    size_t size = static_cast<size_t>(std::ftell(f));
    std::fseek(f, 0, SEEK_SET);
    void* memory = KordoAllocateLarge(size);
    if (std::fread(memory, 1, size, f) != size)
        std::exit(2);
    std::fclose(f);
    benchmark::DoNotOptimize(memory);
    KordoFreeLarge(memory, size);
    return size;
}

std::vector<char> ReadAll(const fs::path& file) {
    std::FILE* f = std::fopen(file.string().c_str(), "rb");
    if (!f)
        std::exit(2);
    std::fseek(f, 0, SEEK_END);
    std::vector<char> bytes(static_cast<size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
        std::exit(2);
    std::fclose(f);
    return bytes;
}

void WriteAll(const fs::path& file, const std::vector<char>& bytes, bool sync) {
    std::FILE* f = std::fopen(file.string().c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        std::exit(2);
    if (sync && (std::fflush(f) != 0 || ::fsync(fileno(f)) != 0))
        std::exit(2);
    std::fclose(f);
}

double Seconds(TClock::time_point start) {
    return std::chrono::duration<double>(TClock::now() - start).count();
}

// The floors, measured as medians of several runs and kept per size for the ratios.
struct TFloor {
    double Read = 0, ReadPlain = 0, Write = 0, WriteSync = 0;
};
std::map<int32_t, TFloor> Floors;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

const TFloor& FloorOf(int32_t people) {
    auto found = Floors.find(people);
    if (found != Floors.end())
        return found->second;
    fs::path folder = DataFolder(people), copy = Root / "floor-copy";
    fs::create_directories(copy);
    std::vector<double> reads, plainReads, writes, syncs;
    for (int run = 0; run < 7; ++run) {
        auto start = TClock::now();
        ReadAllLarge(KordoServerFile(folder));
        ReadAllLarge(KordoPeopleFile(folder));
        reads.push_back(Seconds(start));
        start = TClock::now();
        std::vector<char> server = ReadAll(KordoServerFile(folder)),
                          peopleBytes = ReadAll(KordoPeopleFile(folder));
        plainReads.push_back(Seconds(start));
        start = TClock::now();
        WriteAll(KordoServerFile(copy), server, false);
        WriteAll(KordoPeopleFile(copy), peopleBytes, false);
        writes.push_back(Seconds(start));
        start = TClock::now();
        WriteAll(KordoServerFile(copy), server, true);
        WriteAll(KordoPeopleFile(copy), peopleBytes, true);
        syncs.push_back(Seconds(start));
    }
    return Floors[people] = TFloor{Median(reads), Median(plainReads), Median(writes), Median(syncs)};
}

void ReportRatio(benchmark::State& state, const std::vector<double>& times, double floor, const char* name) {
    state.counters[name] = Median(times) / floor;
    state.counters["floor_ms"] = floor * 1000.0;
}

void BM_ReadFloor(benchmark::State& state) {
    int32_t people = static_cast<int32_t>(state.range(0));
    fs::path folder = DataFolder(people);
    for (auto _ : state) {
        ReadAllLarge(KordoServerFile(folder));
        ReadAllLarge(KordoPeopleFile(folder));
    }
}

// The same into ordinary memory, touched a small page at a time.
void BM_ReadFloorPlain(benchmark::State& state) {
    int32_t people = static_cast<int32_t>(state.range(0));
    fs::path folder = DataFolder(people);
    for (auto _ : state) {
        std::vector<char> server = ReadAll(KordoServerFile(folder)),
                          peopleBytes = ReadAll(KordoPeopleFile(folder));
        benchmark::DoNotOptimize(server.data());
        benchmark::DoNotOptimize(peopleBytes.data());
    }
}

void BM_WriteFloor(benchmark::State& state) {
    int32_t people = static_cast<int32_t>(state.range(0));
    bool sync = state.range(1) != 0;
    fs::path folder = DataFolder(people), copy = Root / "floor-copy";
    fs::create_directories(copy);
    std::vector<char> server = ReadAll(KordoServerFile(folder)),
                      peopleBytes = ReadAll(KordoPeopleFile(folder));
    for (auto _ : state) {
        WriteAll(KordoServerFile(copy), server, sync);
        WriteAll(KordoPeopleFile(copy), peopleBytes, sync);
    }
}

void BM_Load(benchmark::State& state) {
    int32_t people = static_cast<int32_t>(state.range(0));
    const TFloor& floor = FloorOf(people);
    std::vector<double> times;
    for (auto _ : state) {
        auto start = TClock::now();
        auto database = std::make_unique<TKordoPregameDatabase>();
        if (!database->Load(DataFolder(people)))
            state.SkipWithError(database->LastError().c_str());
        times.push_back(Seconds(start));
        state.PauseTiming(); // the destruction of the database is not part of a load
        database.reset();
        state.ResumeTiming();
    }
    ReportRatio(state, times, floor.Read, "x_read_floor");
    state.counters["x_plain_read_floor"] = Median(times) / floor.ReadPlain;
}

void BM_Save(benchmark::State& state) {
    int32_t people = static_cast<int32_t>(state.range(0));
    const TFloor& floor = FloorOf(people);
    TKordoPregameDatabase database;
    if (!database.Load(DataFolder(people)))
        state.SkipWithError(database.LastError().c_str());
    fs::path target = Root / "save-target";
    fs::create_directories(target);
    std::vector<double> times;
    for (auto _ : state) {
        auto start = TClock::now();
        if (!database.Save(target))
            state.SkipWithError(database.LastError().c_str());
        times.push_back(Seconds(start));
    }
    // A save writes, flushes to disk and renames; the floor that compares is a write plus the flush.
    ReportRatio(state, times, floor.WriteSync, "x_write_flush_floor");
    state.counters["x_write_floor"] = Median(times) / floor.Write;
}

// One loaded database per size for the lookups.
TKordoPregameDatabase& Loaded(int32_t people) {
    static std::map<int32_t, std::unique_ptr<TKordoPregameDatabase>> databases;
    auto& database = databases[people];
    if (!database) {
        database = std::make_unique<TKordoPregameDatabase>();
        if (!database->Load(DataFolder(people)))
            std::exit(2);
    }
    return *database;
}

void BM_FindStaff(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    std::vector<int32_t> ids;
    for (const TKordoStaff* staff : database.Staffs.List())
        ids.push_back(staff->ID());
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(database.Staffs.FindStaff(ids[i]));
        i = (i + 7919) % ids.size();
    }
}

void BM_FindClub(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    std::vector<int32_t> ids;
    for (const TKordoClub& club : database.Clubs.Records)
        ids.push_back(club.ClubID());
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(database.Clubs.FindClub(ids[i]));
        i = (i + 13) % ids.size();
    }
}

// A new name in the largest nation group of the second-name table, released again after each round.
void BM_FindOrAddNewName(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    TKordoNation* largest = &database.Nations.Records[0];
    for (TKordoNation& nation : database.Nations.Records)
        if (nation.SecondNameCount() > largest->SecondNameCount())
            largest = &nation;
    state.counters["group"] = largest->SecondNameCount();
    state.counters["table"] = database.SecondNames.Count();
    for (auto _ : state) {
        TKordoName* name = database.SecondNames.FindOrAdd(u"Zzyzx-Benchmark", largest);
        database.SecondNames.AddUse(name);
        state.PauseTiming();
        database.SecondNames.Release(name);
        state.ResumeTiming();
    }
}

void BM_SortStaff(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    for (auto _ : state)
        database.Staffs.SortStaff();
}

// The staff editor's form over the whole database: filling every page from a focused person, of
// every staff type in turn.
void BM_StaffFocus(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    StaffForm form;
    form.Bind(&database);
    const auto& people = database.Staffs.List();
    size_t i = 0;
    for (auto _ : state) {
        form.Focus(people[i]);
        i = (i + 7919) % people.size();
    }
}

// Confirm: without an edit, and with a new second name in the largest nation group (the name is
// added to the group and the old one released; the next round swaps them back).
void BM_StaffConfirm(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    TKordoNation* largest = &database.Nations.Records[0];
    for (TKordoNation& nation : database.Nations.Records)
        if (nation.SecondNameCount() > largest->SecondNameCount())
            largest = &nation;
    const auto& people = database.Staffs.List();
    TKordoStaff* staff = *std::find_if(people.begin(), people.end(), [&](const TKordoStaff* s) {
        return s->Nation == largest && s->SecondName && !s->CommonName;
    });
    TKordoEditSession session;
    session.Bind(&database);
    StaffForm& form = session.Staff;
    bool rename = state.range(1) != 0;
    std::u16string names[] = {staff->SecondName->Name, u"Zzyzx-Benchmark"};
    size_t round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.Focus(staff);
        if (rename)
            form.Control("edSecondName").Text = names[++round % 2];
        state.ResumeTiming();
        session.ConfirmStaff();
        if (rename && staff->SecondName->Name != names[round % 2])
            state.SkipWithError("the name did not change");
    }
    state.counters["group"] = largest->SecondNameCount();
}

// The people list as the staff editor first fills it: a new search object, as on binding a database,
// and every person sorted by display name. warm_ms: a second ShowAll on the same object.
void BM_ShowAllPeople(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    std::vector<double> warm;
    for (auto _ : state) {
        auto search = std::make_unique<TKordoStaffSearch>(database);
        search->ShowAll();
        state.PauseTiming();
        auto start = TClock::now();
        search->ShowAll();
        warm.push_back(Seconds(start));
        search.reset();
        state.ResumeTiming();
    }
    state.counters["warm_ms"] = Median(warm) * 1000.0;
}

// A search for part of a name, progress reported, on the search object the editor keeps per
// database. cold_ms: the first search of a new object, which upper-cases every name once;
// prepare_ms: Prepare on a new object, as the editor calls it when it binds a database;
// prepared_ms: the first search after it.
void BM_SearchPeople(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    {
        TKordoStaffSearch prepared(database);
        auto start = TClock::now();
        prepared.Prepare();
        state.counters["prepare_ms"] = Seconds(start) * 1000.0;
        start = TClock::now();
        prepared.Search(u"an");
        state.counters["prepared_ms"] = Seconds(start) * 1000.0;
    }
    TKordoStaffSearch search(database);
    int32_t percent = 0;
    search.OnProgress = [&](int32_t value) { percent = value; };
    auto start = TClock::now();
    search.Search(u"smi");
    state.counters["cold_ms"] = Seconds(start) * 1000.0;
    // Each text alternates with one that neither contains nor is contained in it, so that every search
    // reads the whole table rather than narrowing the previous result.
    const std::u16string texts[] = {u"smi", u"jon"};
    size_t round = 0;
    for (auto _ : state)
        search.Search(texts[round++ % 2]);
    search.Search(u"smi");
    state.counters["found"] = search.Count();
    benchmark::DoNotOptimize(percent);
}

// A text typed one key at a time, each key searching again (narrowing what the previous key found),
// from the full list. key1_ms ... key4_ms: each key's median; prepare_ms: Prepare of a new search.
void BM_SearchAsYouType(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    TKordoStaffSearch search(database);
    auto start = TClock::now();
    search.Prepare();
    state.counters["prepare_ms"] = Seconds(start) * 1000.0;
    const std::u16string words[] = {u"smit", u"anna", u"ette", u"ouch"};
    std::vector<std::vector<double>> keys(4);
    size_t word = 0;
    for (auto _ : state) {
        state.PauseTiming();
        search.ShowAll();
        state.ResumeTiming();
        for (size_t key = 0; key < 4; ++key) {
            auto typed = TClock::now();
            search.Search(words[word].substr(0, key + 1));
            keys[key].push_back(Seconds(typed) * 1000.0);
        }
        word = (word + 1) % std::size(words);
    }
    for (size_t key = 0; key < 4; ++key)
        state.counters["key" + std::to_string(key + 1) + "_ms"] = Median(keys[key]);
}

// The full list of people sorted by club, then by date of birth, from name order; median of each.
void BM_SortPeopleByColumn(benchmark::State& state) {
    TKordoStaffSearch search(Loaded(static_cast<int32_t>(state.range(0))));
    search.ShowAll();
    std::vector<double> club, born;
    for (auto _ : state) {
        for (auto [column, times] : {std::pair{1, &club}, std::pair{3, &born}}) {
            state.PauseTiming();
            search.SortBy(0, false);
            state.ResumeTiming();
            auto start = TClock::now();
            search.SortBy(column, false);
            times->push_back(Seconds(start) * 1000.0);
        }
    }
    state.counters["club_ms"] = Median(club);
    state.counters["born_ms"] = Median(born);
}

// A batch of 10000 edit_staff operations, spread over the whole staff list: each focuses a person,
// sets a name and a number, and confirms. Timed from the script's text to the last confirm, with the
// forms bound as part of it; every iteration works on a freshly loaded database.
void BM_Apply10000EditStaff(benchmark::State& state) {
    const int32_t people = static_cast<int32_t>(state.range(0));
    std::unique_ptr<TKordoPregameDatabase> database;
    for (auto _ : state) {
        state.PauseTiming();
        database = std::make_unique<TKordoPregameDatabase>();
        if (!database->Load(DataFolder(people))) {
            state.SkipWithError(database->LastError().c_str());
            break;
        }
        const auto& list = database->Staffs.List();
        const size_t step = std::max<size_t>(1, list.size() / 10000);
        std::string script = "{\"ops\": [";
        for (size_t i = 0; i < 10000; ++i)
            script +=
                std::string(i ? "," : "") +
                "{\"op\": \"edit_staff\", \"id\": " + std::to_string(list[(i * step) % list.size()]->ID()) +
                ", \"set\": [[\"edFirstName\", \"Batch\"], [\"seApps\", " + std::to_string(i % 50) + "]]}";
        script += "]}";
        state.ResumeTiming();
        TKordoApplier applier(*database);
        if (!applier.Run(script)) {
            state.SkipWithError(applier.Error().c_str());
            break;
        }
    }
}

// What 10000 confirmed edits add to the memory of the editing session's undo stack, on a freshly
// loaded database: each edit a person of its own, spread over the whole list, with a new second name
// (a name created in its nation's group and the old one released), a new nation, a new club, or a
// changed rating and apps in turn. heap_MiB: what the heap grew by; stack_MiB: what the stack counts
// itself; bytes_per_edit: the heap's growth per edit.
void BM_SessionMemory10000Confirms(benchmark::State& state) {
    const int32_t people = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TKordoPregameDatabase database;
        if (!database.Load(DataFolder(people))) {
            state.SkipWithError(database.LastError().c_str());
            break;
        }
        TKordoEditSession session;
        session.Bind(&database);
        StaffForm& form = session.Staff;
        const std::vector<TKordoStaff*> list = database.Staffs.List();
        const size_t step = std::max<size_t>(1, list.size() / 10000);
        // The forms' own buffers reach their size on the first person shown.
        form.Focus(list[0]);
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        for (size_t i = 0; i < 10000; ++i) {
            form.Focus(list[(i * step + 1) % list.size()]);
            switch (i % 4) {
            case 0:
                form.Control("edSecondName").Text =
                    u"Bench" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                    std::u16string(1, static_cast<char16_t>(u'a' + i / 26 % 26));
                break;
            case 1: {
                TKordoControl& nations = form.Control("cmbNation");
                nations.SelectIndex(static_cast<int32_t>(1 + i % (nations.Items.size() - 1)));
                break;
            }
            case 2: {
                TKordoControl& clubs = form.Control("cmbClubContracted");
                if (form.Visible(clubs) && clubs.Enabled) {
                    clubs.SelectIndex(static_cast<int32_t>(1 + i % (clubs.Items.size() - 1)));
                    form.RunChangeHandler("cmbClubContracted");
                }
                break;
            }
            default:
                form.Control("seApps").Number = static_cast<int32_t>(i % 200);
                for (TKordoControl& control : form.Controls)
                    if (control.Field.Store != TKordoStore::None &&
                        control.Field.Store != TKordoStore::Staff && form.Visible(control) &&
                        control.Kind == TKordoControlKind::Spin) {
                        control.Number = static_cast<int32_t>(i % 21);
                        break;
                    }
                break;
            }
            session.ConfirmStaff();
        }
        state.PauseTiming();
        const size_t after = mallinfo2().uordblks;
        const double added = static_cast<double>(after > before ? after - before : 0);
        state.counters["commands"] = static_cast<double>(session.Count());
        state.counters["heap_MiB"] = added / 1048576.0;
        state.counters["stack_MiB"] = static_cast<double>(session.Bytes()) / 1048576.0;
        state.counters["bytes_per_edit"] = added / 10000.0;
        state.ResumeTiming();
    }
}

// Type-ahead in the sorted list of every person, with texts found early, late, far into a name and
// nowhere. worst_ms: the slowest single answer.
void BM_TypeAhead(benchmark::State& state) {
    TKordoStaffSearch search(Loaded(static_cast<int32_t>(state.range(0))));
    search.ShowAll();
    const std::u16string typed[] = {u"b", u"sm", u"zia", u"qqq", u"Schmidt-Meyer, Jo"};
    double worst = 0;
    size_t i = 0;
    for (auto _ : state) {
        auto start = TClock::now();
        benchmark::DoNotOptimize(search.FindTypeAhead(typed[i]));
        worst = std::max(worst, Seconds(start));
        i = (i + 1) % std::size(typed);
    }
    state.counters["worst_ms"] = worst * 1000.0;
}

// The people table to a CSV file, as `kordo-db export --people` writes it.
void BM_ExportPeopleCsv(benchmark::State& state) {
    TKordoPregameDatabase& database = Loaded(static_cast<int32_t>(state.range(0)));
    const fs::path file = fs::temp_directory_path() / "kordo-bench-export.csv";
    for (auto _ : state) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (!KordoExportPeople(database, out, TKordoExportFormat::Csv))
            state.SkipWithError("export failed");
    }
    std::error_code ignored;
    state.counters["MB"] = static_cast<double>(fs::file_size(file, ignored)) / 1e6;
    fs::remove(file, ignored);
}

// Peak resident memory of a process that only loads the database, against the files' size. Run in
// a child process so that generation and the other benchmarks do not count.
long PeakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

void ReportPeakMemory(const char* self) {
    for (int32_t people : Sizes) {
        std::string command = std::string(self) + " --peak-memory-of " + DataFolder(people).string();
        std::FILE* pipe = popen(command.c_str(), "r");
        char line[256] = {};
        if (!pipe || !std::fgets(line, sizeof line, pipe))
            continue;
        pclose(pipe);
        double peak = std::atof(line) * 1024.0;
        double files = static_cast<double>(fs::file_size(KordoServerFile(DataFolder(people))) +
                                           fs::file_size(KordoPeopleFile(DataFolder(people))));
        std::printf("Peak memory after loading %d people: %.1f MiB; files %.1f MiB; ratio %.2f\n", people,
                    peak / 1048576.0, files / 1048576.0, peak / files);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--peak-memory-of") == 0) {
        TKordoPregameDatabase database;
        if (!database.Load(argv[2]))
            return 2;
        std::printf("%ld\n", PeakKilobytes());
        return 0;
    }
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--people-sizes") == 0 && i + 1 < argc) {
            Sizes.clear();
            for (const char* p = argv[++i]; *p;) {
                Sizes.push_back(std::atoi(p));
                p = std::strchr(p, ',') ? std::strchr(p, ',') + 1 : p + std::strlen(p);
            }
        } else {
            rest.push_back(argv[i]);
        }
    }
    Root = fs::temp_directory_path() / "kordo-bench";
    fs::create_directories(Root);
    for (int32_t people : Sizes)
        EnsureGenerated(people);

    for (int32_t people : Sizes) {
        benchmark::RegisterBenchmark("ReadFloor", BM_ReadFloor)->Arg(people)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("ReadFloorPlain", BM_ReadFloorPlain)
            ->Arg(people)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("WriteFloor", BM_WriteFloor)
            ->Args({people, 0})
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("WriteFloorFlush", BM_WriteFloor)
            ->Args({people, 1})
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("Load", BM_Load)
            ->Arg(people)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(2.0);
        benchmark::RegisterBenchmark("Save", BM_Save)
            ->Arg(people)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(2.0);
        benchmark::RegisterBenchmark("FindStaff", BM_FindStaff)->Arg(people);
        benchmark::RegisterBenchmark("FindClub", BM_FindClub)->Arg(people);
        benchmark::RegisterBenchmark("FindOrAddNewName", BM_FindOrAddNewName)->Arg(people);
        benchmark::RegisterBenchmark("StaffFocus", BM_StaffFocus)->Arg(people)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("StaffConfirm", BM_StaffConfirm)
            ->Args({people, 0})
            ->Args({people, 1})
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("SortStaff", BM_SortStaff)->Arg(people)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("ShowAllPeople", BM_ShowAllPeople)
            ->Arg(people)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("SearchPeople", BM_SearchPeople)
            ->Arg(people)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("TypeAhead", BM_TypeAhead)->Arg(people)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("SearchAsYouType", BM_SearchAsYouType)
            ->Arg(people)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(8);
        benchmark::RegisterBenchmark("SortPeopleByColumn", BM_SortPeopleByColumn)
            ->Arg(people)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark("SessionMemory10000Confirms", BM_SessionMemory10000Confirms)
            ->Arg(people)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("Apply10000EditStaff", BM_Apply10000EditStaff)
            ->Arg(people)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("ExportPeopleCsv", BM_ExportPeopleCsv)
            ->Arg(people)
            ->Unit(benchmark::kMillisecond);
    }
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReportPeakMemory(argv[0]);
    return 0;
}
