// The synthetic world: nations, cities, clubs with their squads, people with their jobs, contracts,
// names, attributes and preferences, and the tables the program carries without reading them.
//
// Everything comes from one seed through our own random number generator and integer arithmetic
// only, so a seed gives the same files with every compiler and standard library. The tables that
// keep their records private (names, staff, attributes, the opaque tables) are built as the bytes of
// their file layout and read back; the whole server file then makes one round trip through the
// database's own writer and reader, so that the database ends exactly as a load of the generated
// files leaves it (with its club index built and every reference pointer still empty).
#include "KordoGenerator.h"

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <string_view>
#include <system_error>
#include <unordered_set>

namespace {

constexpr uint32_t None = 0xFFFFFFFF; // a stored reference to nothing (-1)
constexpr int32_t NationCount = 60;
constexpr uint32_t MaxUseCount = 65535; // a name's use count is 16 bits wide
constexpr size_t MaxNationalPlayers = 23;

// xoshiro256**, seeded through splitmix64. Each part of the world draws from its own stream, so a
// change in how one part uses its numbers does not reshuffle the others.
class TRandom {
public:
    TRandom(uint64_t seed, uint64_t stream) {
        uint64_t x = seed ^ (stream * 0xD1B54A32D192ED03ull);
        for (uint64_t& word : State)
            word = SplitMix(x);
    }

    uint64_t Next() {
        uint64_t result = Rotate(State[1] * 5, 7) * 9;
        uint64_t t = State[1] << 17;
        State[2] ^= State[0];
        State[3] ^= State[1];
        State[1] ^= State[2];
        State[0] ^= State[3];
        State[2] ^= t;
        State[3] = Rotate(State[3], 45);
        return result;
    }

    // A number in 0..n-1 (n > 0); numbers that would favour the low end are drawn again.
    uint64_t Below(uint64_t n) {
        uint64_t threshold = (0 - n) % n;
        for (;;) {
            uint64_t x = Next();
            if (x >= threshold)
                return x % n;
        }
    }
    size_t Index(size_t n) { return static_cast<size_t>(Below(n)); }
    // A number in low..high.
    int32_t Between(int32_t low, int32_t high) {
        uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(high) - low) + 1;
        return static_cast<int32_t>(low + static_cast<int64_t>(Below(span)));
    }
    bool Chance(uint32_t percent) { return Below(100) < percent; }

    void Fill(uint8_t* bytes, size_t n) {
        while (n > 0) {
            uint64_t x = Next();
            for (int i = 0; i < 8 && n > 0; ++i, --n, x >>= 8)
                *bytes++ = static_cast<uint8_t>(x);
        }
    }
    template <size_t N> void Fill(TKordoImage<N>& record) { Fill(record.Image.data(), N); }

    template <class T> void Shuffle(std::vector<T>& list) {
        for (size_t i = list.size(); i > 1; --i)
            std::swap(list[i - 1], list[Index(i)]);
    }
    template <class T, size_t N> const T& Pick(const T (&list)[N]) { return list[Index(N)]; }
    template <class T> const T& Pick(const std::vector<T>& list) { return list[Index(list.size())]; }

private:
    static uint64_t Rotate(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static uint64_t SplitMix(uint64_t& x) {
        uint64_t z = (x += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::array<uint64_t, 4> State{};
};

// The bytes of a table in file form.
class TBytes {
public:
    void Raw(const void* data, size_t n) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        Data.insert(Data.end(), bytes, bytes + n);
    }
    template <class T> void Value(T value) { Raw(&value, sizeof(T)); }
    // Image bytes first..last, inclusive.
    template <size_t N> void Image(const TKordoImage<N>& record, size_t first, size_t last) {
        Raw(record.Image.data() + first, last - first + 1);
    }
    void Text(const std::u16string& text) {
        Value<int32_t>(static_cast<int32_t>(text.size()));
        if (!text.empty()) {
            Raw(text.data(), text.size() * 2);
            Value<uint16_t>(0);
        }
    }
    void RandomBytes(TRandom& random, size_t n) {
        size_t start = Data.size();
        Data.resize(start + n);
        random.Fill(Data.data() + start, n);
    }
    std::vector<uint8_t> Data;
};

// ---------------------------------------------------------------------------------------------
// Texts

// Sounds of the generated names, in lower case. Each nation draws its own few from these, so the
// names of one nation sound alike.
constexpr std::u16string_view PlainOnsets[] = {u"b", u"br", u"c",  u"ch", u"d", u"dr", u"f", u"g", u"gr",
                                               u"h", u"j",  u"k",  u"kr", u"l", u"m",  u"n", u"p", u"pr",
                                               u"r", u"s",  u"sh", u"st", u"t", u"tr", u"v", u"w", u"z"};
constexpr std::u16string_view RareOnsets[] = {u"\u017e", u"\u0161", u"\u0142", u"\u00e7",
                                              u"\u00f1", u"sz",     u"cz",     u"th",
                                              u"gh",     u"kv",     u"bj",     u"\u0111"};
constexpr std::u16string_view PlainVowels[] = {u"a", u"e", u"i", u"o", u"u", u"ai", u"ei", u"ou", u"ia"};
constexpr std::u16string_view RareVowels[] = {u"\u00e9", u"\u00fc", u"\u00f8", u"\u00f6",
                                              u"\u00e5", u"\u00e1", u"\u00ed", u"\u00f3",
                                              u"\u00e3", u"\u0151", u"\u00ea", u"\u0119"};
constexpr std::u16string_view Codas[] = {u"n",  u"r",  u"s",  u"l",  u"m",  u"t", u"k",      u"nd",
                                         u"rt", u"st", u"ck", u"ng", u"sz", u"x", u"\u0142", u"\u0161"};
constexpr std::u16string_view SurnameEnds[] = {u"sen",     u"son", u"i\u0107", u"ov",   u"ski",  u"ez",
                                               u"es",      u"ini", u"ou",      u"escu", u"berg", u"man",
                                               u"\u00e1s", u"ard", u"elli",    u"oglu", u"ens",  u"enko"};
constexpr std::u16string_view FirstNameEnds[] = {u"o", u"a", u"us", u"an", u"el", u"io", u"e", u"ar"};
constexpr std::u16string_view CommonNameEnds[] = {u"inho", u"ito", u"o", u"y", u"\u00e3o", u"i", u"ao"};
constexpr std::u16string_view CityEnds[] = {u"burg",  u"ton",  u"ville", u"grad",
                                            u"polis", u"stad", u"ford",  u"ia"};
constexpr std::u16string_view NationEnds[] = {u"ia",   u"land", u"stan", u"ora",
                                              u"ania", u"ay",   u"ica",  u"eth"};
constexpr std::u16string_view NationalityEnds[] = {u"ian", u"ish", u"ese", u"ic", u"i", u"an"};
constexpr std::u16string_view SurnamePrefixes[] = {u"de ", u"van ", u"da ", u"al-", u"O'", u"Mac"};
// Characters outside the Basic Multilingual Plane: each takes two UTF-16 code units.
constexpr char32_t AstralCharacters[] = {0x20BB7, 0x1D400, 0x1F31F, 0x2A6B2, 0x1F600};

char16_t UpperCase(char16_t c) {
    if (c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<char16_t>(c - 0x20);
    // Latin Extended-A puts each capital just before its small letter, at an even code point, except
    // in two runs where the capitals lie at odd ones.
    bool oddCapital = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddCapital && c % 2 == 0)
        return static_cast<char16_t>(c - 1);
    bool evenCapital = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    if (evenCapital && c % 2 == 1)
        return static_cast<char16_t>(c - 1);
    return c;
}

std::u16string Capitalised(std::u16string text) {
    if (!text.empty())
        text[0] = UpperCase(text[0]);
    return text;
}

void AppendCodePoint(std::u16string& text, char32_t c) {
    if (c < 0x10000) {
        text += static_cast<char16_t>(c);
        return;
    }
    c -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (c >> 10));
    text += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

std::u16string Ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

// The sounds of one nation's names; its rare sounds (accented letters among them) come up now and then.
struct TFlavour {
    std::vector<std::u16string_view> Onsets, RareOnsets, Vowels, RareVowels, Codas;
    std::u16string_view SurnameEnd, FirstNameEnd, CommonNameEnd, CityEnd;
};

template <class T, size_t N> std::vector<T> PickSome(TRandom& random, const T (&list)[N], size_t count) {
    std::vector<T> all(std::begin(list), std::end(list));
    random.Shuffle(all);
    all.resize(std::min(count, N));
    return all;
}

TFlavour MakeFlavour(TRandom& random) {
    TFlavour flavour;
    flavour.Onsets = PickSome(random, PlainOnsets, 8);
    flavour.RareOnsets = PickSome(random, RareOnsets, random.Index(3));
    flavour.Vowels = PickSome(random, PlainVowels, 4);
    flavour.RareVowels = PickSome(random, RareVowels, random.Index(3));
    flavour.Codas = PickSome(random, Codas, 5);
    flavour.SurnameEnd = random.Pick(SurnameEnds);
    flavour.FirstNameEnd = random.Pick(FirstNameEnds);
    flavour.CommonNameEnd = random.Pick(CommonNameEnds);
    flavour.CityEnd = random.Pick(CityEnds);
    return flavour;
}

std::u16string Word(TRandom& random, const TFlavour& flavour, int syllables) {
    auto sound = [&](const std::vector<std::u16string_view>& plain,
                     const std::vector<std::u16string_view>& rare) {
        return !rare.empty() && random.Chance(12) ? random.Pick(rare) : random.Pick(plain);
    };
    std::u16string word;
    for (int i = 0; i < syllables; ++i) {
        if (i > 0 || !random.Chance(15))
            word += sound(flavour.Onsets, flavour.RareOnsets);
        word += sound(flavour.Vowels, flavour.RareVowels);
        if (random.Chance(35))
            word += random.Pick(flavour.Codas);
    }
    return word;
}

// A text not yet in `used`, made by `make` with ever more syllables until one is free.
template <class Make> std::u16string UniqueText(std::unordered_set<std::u16string>& used, Make make) {
    for (int attempt = 0;; ++attempt) {
        std::u16string text = make(attempt / 8);
        if (used.insert(text).second)
            return text;
    }
}

// ---------------------------------------------------------------------------------------------
// Counts

uint64_t IntegerSquareRoot(uint64_t n) {
    uint64_t low = 0, high = std::min<uint64_t>(n, 0xFFFFFFFFull) + 1;
    while (high - low > 1) {
        uint64_t mid = (low + high) / 2;
        if (mid * mid <= n)
            low = mid;
        else
            high = mid;
    }
    return low;
}

// How many people use each name of a group of n users, most used first. Without ties the counts
// all differ: k, k-1, ..., 1 as a base and the rest spread with falling shares (evenly when the
// first name would pass the 16-bit use count).
std::vector<uint32_t> NameUseCounts(TRandom& random, uint32_t users, uint32_t wanted, bool noTies) {
    if (users == 0)
        return {};
    uint32_t names = std::clamp<uint32_t>(wanted, 1, users);
    std::vector<uint32_t> counts;
    if (noTies) {
        uint32_t most = static_cast<uint32_t>((IntegerSquareRoot(8ull * users + 1) - 1) / 2);
        names = std::min(names, most);
        uint64_t extra = users - static_cast<uint64_t>(names) * (names + 1) / 2;
        std::vector<uint64_t> shares(names);
        uint64_t total = 0;
        for (uint32_t i = 0; i < names; ++i)
            total += shares[i] = 1000000 / (i + 1);
        counts.resize(names);
        uint64_t given = 0;
        for (uint32_t i = 0; i < names; ++i) {
            uint64_t share = extra * shares[i] / total;
            counts[i] = static_cast<uint32_t>(names - i + share);
            given += share;
        }
        counts[0] += static_cast<uint32_t>(extra - given);
        if (counts[0] > MaxUseCount) {
            names = most;
            extra = users - static_cast<uint64_t>(names) * (names + 1) / 2;
            counts.resize(names);
            for (uint32_t i = 0; i < names; ++i)
                counts[i] = static_cast<uint32_t>(names - i + extra / names + (i < extra % names ? 1 : 0));
        }
        return counts;
    }
    names = std::max(names, users / (MaxUseCount - 1) + 1);
    counts.assign(names, 1);
    // The product of two uniform draws favours the first names: a few common names, a long tail.
    for (uint32_t left = users - names; left > 0; --left) {
        uint64_t first = random.Below(names);
        uint64_t pick = first * random.Below(names) / names;
        while (counts[pick] >= MaxUseCount)
            pick = (pick + 1) % names;
        ++counts[pick];
    }
    std::stable_sort(counts.begin(), counts.end(), std::greater<>());
    return counts;
}

// ---------------------------------------------------------------------------------------------
// The plan of the world, before it is written into records

struct TNationPlan {
    std::u16string Name, Nationality;
    TFlavour Flavour;
    uint32_t Weight = 0; // share of the people; 0: a nation nobody belongs to
    bool HasClubs = false;
    std::vector<int32_t> Cities, Clubs;
    int32_t Squad = -1;
    uint32_t People = 0;
    // (start, count) of the nation's group in the first, second and common name tables.
    std::array<std::pair<int32_t, int32_t>, 3> NameRanges{{{-1, 0}, {-1, 0}, {-1, 0}}};
};

struct TSquadPlan {
    uint8_t Kind = KordoClubSquad;
    int32_t Owner = -1; // club row or nation row
    int32_t Level = 10; // 1..20: how good its people are
    uint32_t Manager = None;
    std::vector<uint32_t> Players, Coaches, Physios;
    int32_t NextShirt = 1;
};

struct TClubPlan {
    int32_t Nation = -1;
    int32_t City = -1;
    int32_t Level = 10;
    std::vector<int32_t> Squads;
    uint32_t Chairman = None;
    std::vector<uint32_t> BoardMembers, Scouts;
};

// What is known of a person besides his record.
struct TPersonPlan {
    int32_t Quality = 5; // 1..20
    int32_t Club = -1;
    int32_t Nation = -1;
    bool HasCommonName = false;
};

enum class TJob : uint8_t { Chairman, Manager, Coach, AssistantManager, Physio, Scout, BoardMember };
struct TOpening {
    TJob Job;
    int32_t Club;
    int32_t Squad;
};

bool JobHasContract(uint8_t job) {
    return job != 0 && job != 4 && job != 8 && job != 10 && job != 24;
}
bool IsPlayer(uint8_t type) {
    return type == KordoStaffPlayer || type == KordoStaffPlayerNonPlayer;
}
bool IsNonPlayer(uint8_t type) {
    return type == KordoStaffNonPlayer || type == KordoStaffPlayerNonPlayer;
}

TKordoGameDate Date(TRandom& random, int32_t firstYear, int32_t lastYear) {
    uint16_t day = static_cast<uint16_t>(random.Below(365));
    return {day, static_cast<uint16_t>(random.Between(firstYear, std::max(firstYear, lastYear)))};
}
uint8_t Rating(TRandom& random, int32_t quality) {
    return static_cast<uint8_t>(std::clamp(quality + random.Between(-4, 4), 1, 20));
}
uint16_t Amount(TRandom& random) {
    return static_cast<uint16_t>(5 * random.Between(1, 20));
}

// The order a save leaves a club's entries in: rivals first, the strongest first, then the rest.
int CompareClubEntries(const TKordoRelation& a, const TKordoRelation& b) {
    bool rivalA = a.Kind == KordoKindClub, rivalB = b.Kind == KordoKindClub;
    if (rivalA && rivalB)
        return a.Amount > b.Amount ? -1 : a.Amount < b.Amount ? 1 : 0;
    return rivalA ? -1 : rivalB ? 1 : 0;
}

// One person in file form: the blocks of his type only, the player block first.
void AppendStaff(TBytes& out, const TKordoStaff& staff) {
    out.Image(staff, 0, 4);
    uint8_t type = staff.StaffType();
    if (IsPlayer(type)) {
        out.Image(staff, 20, 66);
        if (staff.PlayerExtraFlag() != 0)
            out.Image(staff, 67, 82);
        out.Image(staff, 83, 126);
    }
    if (IsNonPlayer(type))
        out.Image(staff, 5, 19);
    if (type == KordoStaffReferee)
        out.Image(staff, 127, 150);
    out.Image(staff, 151, 208);
    out.Value<uint16_t>(static_cast<uint16_t>(staff.HasClubContract() + staff.HasNationContract()));
    if (staff.HasClubContract())
        out.Image(staff, KordoClubContract, KordoClubContract + KordoContractSize - 1);
    if (staff.HasNationContract())
        out.Image(staff, KordoNationContract, KordoNationContract + KordoContractSize - 1);
    out.Value<uint8_t>(staff.Relations.empty() ? 0 : 1);
    if (!staff.Relations.empty()) {
        out.Value<uint8_t>(static_cast<uint8_t>(staff.Relations.size()));
        for (const TKordoRelation& entry : staff.Relations) {
            out.Value(entry.Kind);
            out.Value(entry.Relation);
            out.Value(entry.Amount);
            out.Value(entry.StoredTarget);
        }
    }
    out.Image(staff, 327, 337);
}

std::vector<uint8_t> OpaqueEntries(TRandom& random, int32_t most, size_t entrySize) {
    std::vector<uint8_t> bytes(static_cast<size_t>(random.Between(0, most)) * entrySize);
    random.Fill(bytes.data(), bytes.size());
    return bytes;
}

// The database's status and progress callbacks are silent while the generated files are read in.
class TQuietDatabase {
public:
    explicit TQuietDatabase(TKordoPregameDatabase& database)
        : Db(database), Status(std::move(database.OnStatus)), Progress(std::move(database.OnProgress)) {
        Db.OnStatus = nullptr;
        Db.OnProgress = nullptr;
    }
    ~TQuietDatabase() {
        Db.OnStatus = std::move(Status);
        Db.OnProgress = std::move(Progress);
    }
    TQuietDatabase(const TQuietDatabase&) = delete;
    TQuietDatabase& operator=(const TQuietDatabase&) = delete;

private:
    TKordoPregameDatabase& Db;
    TKordoStatusEvent Status;
    TKordoProgressEvent Progress;
};

class TGenerator {
public:
    TGenerator(TKordoPregameDatabase& database, const TKordoGeneratorOptions& options)
        : Db(database), Seed(options.Seed), NoTies(options.NoTies), PeopleCount(std::max(options.People, 0)) {
    }

    void Run() {
        PlanNations();
        PlanCities();
        PlanClubs();
        MakePeople();
        AssignClubJobs();
        AssignNations();
        MakeAbilitiesAndAttributes();
        AssignNationalTeams();
        MakeNames();
        MakePersonRelations();
        TQuietDatabase quiet(Db);
        WriteServerFile();
        WritePeopleFile();
    }

private:
    // Each part of the world draws from a stream of its own.
    TRandom Stream(uint64_t part) const { return TRandom(Seed, part); }
    uint32_t IdOf(size_t person) const { return static_cast<uint32_t>(People[person].ID()); }
    int32_t WeightedNation(TRandom& random) const {
        uint32_t pick = static_cast<uint32_t>(random.Below(NationWeightSums.back()));
        return static_cast<int32_t>(std::upper_bound(NationWeightSums.begin(), NationWeightSums.end(), pick) -
                                    NationWeightSums.begin());
    }

    void PlanNations();
    void PlanCities();
    void PlanClubs();
    void MakePeople();
    void AssignClubJobs();
    void JoinClub(TRandom& random, size_t person, int32_t squad, uint8_t job);
    void AssignNations();
    void MakeAbilitiesAndAttributes();
    void AssignNationalTeams();
    void JoinNationalTeam(TRandom& random, size_t person, int32_t nation, uint8_t job, uint8_t shirt);
    void MakeNames();
    void MakePersonRelations();
    std::vector<TKordoRelation> ClubRelations(TRandom& random, int32_t club);
    void WriteServerFile();
    void WriteLookupTables();
    void WriteNations();
    void WriteClubs();
    void WriteSquads();
    void WriteNames(TKordoNames& table, const std::vector<TKordoName>& names);
    void WriteUnknowns();
    void WritePeopleFile();

    TKordoPregameDatabase& Db;
    uint64_t Seed;
    bool NoTies;
    int32_t PeopleCount;

    std::vector<TNationPlan> Nations;
    std::vector<uint32_t> NationWeightSums; // running sums of the nations' weights
    std::vector<std::u16string> CityNames;
    std::vector<TClubPlan> Clubs;
    std::vector<TSquadPlan> Squads;
    std::vector<TKordoStaff> People; // in the order they were made, not yet sorted by nation
    std::vector<TPersonPlan> Plans;
    std::array<std::vector<TKordoName>, 3> Names; // first, second and common names in file order
    TBytes MentalBytes, PlayerBytes, NonPlayerBytes;
    int32_t MentalRows = 0, PlayerRows = 0, NonPlayerRows = 0;
};

void TGenerator::PlanNations() {
    TRandom random = Stream(1);
    TFlavour shared = MakeFlavour(random);
    std::unordered_set<std::u16string> used;
    Nations.resize(NationCount);
    for (TNationPlan& nation : Nations) {
        nation.Name = UniqueText(used, [&](int more) {
            std::u16string name = Word(random, shared, 2 + more);
            return Capitalised(name + std::u16string(random.Pick(NationEnds)));
        });
        nation.Nationality = nation.Name.substr(0, std::max<size_t>(3, nation.Name.size() - 2)) +
                             std::u16string(random.Pick(NationalityEnds));
        nation.Flavour = MakeFlavour(random);
    }
    // A few big football nations, many small ones, some without a league of their own, and two that
    // nobody in the database belongs to.
    std::vector<size_t> order(Nations.size());
    std::iota(order.begin(), order.end(), size_t{0});
    random.Shuffle(order);
    for (size_t i = 2; i < order.size(); ++i) {
        TNationPlan& nation = Nations[order[i]];
        nation.HasClubs = i >= 10;
        nation.Weight =
            static_cast<uint32_t>(i >= 10 && i < 18 ? random.Between(20, 40) : random.Between(1, 8));
    }
    uint32_t sum = 0;
    for (const TNationPlan& nation : Nations)
        NationWeightSums.push_back(sum += nation.Weight);
}

void TGenerator::PlanCities() {
    TRandom random = Stream(2);
    size_t count = std::min<size_t>(800, 250 + static_cast<size_t>(PeopleCount) / 250);
    std::vector<std::unordered_set<std::u16string>> used(Nations.size());
    for (size_t row = 0; row < count; ++row) {
        // Every nation has a city; the others lie where the people are.
        size_t nation = row < Nations.size() ? row : static_cast<size_t>(WeightedNation(random));
        TNationPlan& plan = Nations[nation];
        CityNames.push_back(UniqueText(used[nation], [&](int more) {
            std::u16string name = Capitalised(Word(random, plan.Flavour, 2 + more));
            if (random.Chance(30))
                name += plan.Flavour.CityEnd;
            return name;
        }));
        plan.Cities.push_back(static_cast<int32_t>(row));
    }
}

void TGenerator::PlanClubs() {
    TRandom random = Stream(3);
    size_t clubCount = std::max<size_t>(5, static_cast<size_t>(PeopleCount) / 25);
    // One club for every nation with a league first, the others by the nations' shares.
    std::vector<int32_t> nations;
    for (size_t n = 0; n < Nations.size(); ++n)
        if (Nations[n].HasClubs)
            nations.push_back(static_cast<int32_t>(n));
    random.Shuffle(nations);
    nations.resize(std::min(nations.size(), clubCount));
    while (nations.size() < clubCount) {
        int32_t nation = WeightedNation(random);
        if (Nations[static_cast<size_t>(nation)].HasClubs)
            nations.push_back(nation);
    }
    random.Shuffle(nations);
    Clubs.resize(clubCount);
    for (size_t row = 0; row < clubCount; ++row) {
        TClubPlan& club = Clubs[row];
        club.Nation = nations[row];
        TNationPlan& nation = Nations[static_cast<size_t>(club.Nation)];
        nation.Clubs.push_back(static_cast<int32_t>(row));
        club.City = random.Pick(nation.Cities);
        // The mean of three draws: most clubs are middling, few are very good or very bad.
        int32_t level = 1;
        for (int draw = 0; draw < 3; ++draw)
            level += random.Between(1, 20);
        club.Level = std::clamp(level / 3, 1, 20);
        int32_t squads = random.Chance(45) ? 2 : 1;
        squads += random.Chance(20) ? 1 : 0;
        for (int32_t i = 0; i < squads; ++i) {
            club.Squads.push_back(static_cast<int32_t>(Squads.size()));
            TSquadPlan& squad = Squads.emplace_back();
            squad.Owner = static_cast<int32_t>(row);
            squad.Level = std::max(1, club.Level - 3 * i);
        }
    }
    for (size_t n = 0; n < Nations.size(); ++n) {
        Nations[n].Squad = static_cast<int32_t>(Squads.size());
        TSquadPlan& squad = Squads.emplace_back();
        squad.Kind = KordoNationalSquad;
        squad.Owner = static_cast<int32_t>(n);
        squad.Level = 12;
    }
}

void TGenerator::MakePeople() {
    TRandom random = Stream(4);
    size_t count = static_cast<size_t>(PeopleCount);
    People.resize(count);
    Plans.resize(count);
    // Unique IDs that have nothing to do with the rows: above every row, spaced out, then dealt out
    // at random.
    std::vector<int32_t> ids(count);
    for (size_t i = 0; i < count; ++i)
        ids[i] = static_cast<int32_t>(count + 5000 + 3 * i) + random.Between(0, 2);
    random.Shuffle(ids);
    for (size_t i = 0; i < count; ++i) {
        TKordoStaff& staff = People[i];
        random.Fill(staff);
        int32_t kind = random.Between(0, 99);
        uint8_t type = kind < 3    ? KordoStaffReferee
                       : kind < 7  ? KordoStaffPlayerNonPlayer
                       : kind < 27 ? KordoStaffNonPlayer
                                   : KordoStaffPlayer;
        staff.SetID(ids[i]);
        staff.SetStaffType(type);
        // Bytes that no block of the person's type stores are not in the file; they stay zero, as
        // a load leaves them.
        if (!IsNonPlayer(type))
            std::fill(staff.Image.begin() + 5, staff.Image.begin() + 20, uint8_t{0});
        if (!IsPlayer(type))
            std::fill(staff.Image.begin() + 20, staff.Image.begin() + 127, uint8_t{0});
        else if (random.Chance(88))
            std::fill(staff.Image.begin() + 66, staff.Image.begin() + 83, uint8_t{0});
        else if (staff.PlayerExtraFlag() == 0)
            staff.SetPlayerExtraFlag(1);
        if (type != KordoStaffReferee)
            std::fill(staff.Image.begin() + 127, staff.Image.begin() + 151, uint8_t{0});
        std::fill(staff.Image.begin() + 209, staff.Image.begin() + 327, uint8_t{0});

        staff.SetPictureID(random.Chance(90) ? random.Between(0, 2 * PeopleCount + 1000) : -1);
        if (random.Chance(80))
            staff.Put<int32_t>(330, staff.ID());
        TKordoGameDate born = type == KordoStaffPlayer && random.Chance(5) ? Date(random, 1994, 2008)
                              : type == KordoStaffPlayer                   ? Date(random, 1970, 1993)
                              : type == KordoStaffPlayerNonPlayer          ? Date(random, 1966, 1985)
                                                                           : Date(random, 1960, 1982);
        staff.SetDateOfBirth(born);
        staff.SetStoredFirstName(None);
        staff.SetStoredSecondName(None);
        staff.SetStoredCommonName(None);
        staff.SetStoredClubSquad(None);
        staff.SetClubJob(0);
        staff.SetDateJoined(TKordoGameDate{});
        staff.SetStoredNationSquad(None);
        staff.SetNationJob(0);
        staff.SetDateJoinedNation(TKordoGameDate{});
        staff.SetApps(0);
        staff.SetGoals(0);
        Plans[i].Quality = random.Between(1, 14);
        Plans[i].Quality = (Plans[i].Quality + random.Between(1, 14)) / 2;
        Plans[i].HasCommonName = random.Chance(10);
    }
}

void TGenerator::JoinClub(TRandom& random, size_t person, int32_t squadRow, uint8_t job) {
    TKordoStaff& staff = People[person];
    const TSquadPlan& squad = Squads[static_cast<size_t>(squadRow)];
    TPersonPlan& plan = Plans[person];
    plan.Club = squad.Owner;
    plan.Quality = std::clamp(squad.Level + random.Between(-3, 3), 1, 20);
    staff.SetStoredClubSquad(static_cast<uint32_t>(squadRow));
    staff.SetClubJob(job);
    staff.SetDateJoined(Date(random, std::max(1995, staff.DateOfBirth().Year + 16), 2008));
    if (!JobHasContract(job))
        return;
    uint8_t* block = staff.ClubContract();
    random.Fill(block, KordoContractSize);
    block[KordoContractIsNation] = 0;
    staff.SetHasClubContract(1);
    staff.SetStoredClubEmployer(static_cast<uint32_t>(squad.Owner));
    int32_t quality = plan.Quality;
    staff.SetClubEstimatedWage(
        static_cast<uint32_t>(quality * quality * 60 + random.Between(0, 200 * quality)));
    staff.SetClubContractExpires(Date(random, 2009, 2013));
    staff.SetClubSquadNumber(255);
}

void TGenerator::AssignClubJobs() {
    TRandom random = Stream(5);
    // The openings of every club, tier by tier: each club gets its chairman and first-team manager
    // before any club gets a scout, however few non-players there are.
    std::vector<TOpening> openings;
    std::vector<int32_t> order(Clubs.size());
    std::iota(order.begin(), order.end(), 0);
    for (int tier = 1; tier <= 4; ++tier) {
        random.Shuffle(order);
        for (int32_t row : order) {
            const std::vector<int32_t>& squads = Clubs[static_cast<size_t>(row)].Squads;
            auto open = [&](TJob job, int32_t squad) { openings.push_back({job, row, squad}); };
            if (tier == 1) {
                open(TJob::Chairman, squads[0]);
                open(TJob::Manager, squads[0]);
            } else if (tier == 2) {
                open(TJob::Coach, squads[0]);
                open(TJob::Physio, squads[0]);
            } else if (tier == 3) {
                for (size_t s = 1; s < squads.size(); ++s)
                    open(TJob::Manager, squads[s]);
                open(TJob::Scout, squads[0]);
                open(TJob::BoardMember, squads[0]);
                open(TJob::AssistantManager, squads[0]);
            } else {
                for (size_t s = 1; s < squads.size(); ++s) {
                    open(TJob::Coach, squads[s]);
                    open(TJob::Physio, squads[s]);
                }
                open(TJob::Scout, squads[0]);
                open(TJob::BoardMember, squads[0]);
                open(TJob::Coach, squads[0]);
            }
        }
    }
    size_t next = 0;
    for (size_t person = 0; person < People.size() && next < openings.size(); ++person) {
        if (People[person].StaffType() != KordoStaffNonPlayer || random.Chance(8))
            continue;
        const TOpening& opening = openings[next++];
        TClubPlan& club = Clubs[static_cast<size_t>(opening.Club)];
        TSquadPlan& squad = Squads[static_cast<size_t>(opening.Squad)];
        uint32_t id = IdOf(person);
        switch (opening.Job) {
        case TJob::Chairman:
            club.Chairman = id;
            JoinClub(random, person, opening.Squad, 4);
            break;
        case TJob::BoardMember:
            club.BoardMembers.push_back(id);
            JoinClub(random, person, opening.Squad, static_cast<uint8_t>(random.Pick({8, 10, 24})));
            break;
        case TJob::Scout:
            club.Scouts.push_back(id);
            JoinClub(random, person, opening.Squad, 14);
            break;
        case TJob::Manager:
            squad.Manager = id;
            JoinClub(random, person, opening.Squad, 16);
            break;
        case TJob::Coach:
        case TJob::AssistantManager:
            squad.Coaches.push_back(id);
            JoinClub(random, person, opening.Squad, opening.Job == TJob::Coach ? 2 : 20);
            break;
        case TJob::Physio:
            squad.Physios.push_back(id);
            JoinClub(random, person, opening.Squad, 12);
            break;
        }
    }
    // Players: most of them at a club, most of those in a first team.
    for (size_t person = 0; person < People.size(); ++person) {
        uint8_t type = People[person].StaffType();
        if (!IsPlayer(type) || random.Chance(10))
            continue;
        const TClubPlan& club = Clubs[random.Index(Clubs.size())];
        int32_t pick = random.Between(0, 99);
        size_t index = pick < 60 ? 0 : pick < 88 ? 1 : 2;
        int32_t squadRow = club.Squads[index < club.Squads.size() ? index : 0];
        TSquadPlan& squad = Squads[static_cast<size_t>(squadRow)];
        uint32_t id = IdOf(person);
        uint8_t job = 1;
        if (type == KordoStaffPlayerNonPlayer) {
            int32_t role = random.Between(0, 99);
            job = squad.Manager == None && role < 30 ? 17 : role < 55 ? 3 : role < 80 ? 21 : 1;
        }
        squad.Players.push_back(id);
        if (job == 3 || job == 21)
            squad.Coaches.push_back(id);
        if (job == 17)
            squad.Manager = id;
        JoinClub(random, person, squadRow, job);
        int32_t shirt = squad.NextShirt < 100 && random.Chance(92) ? squad.NextShirt++ : 255;
        People[person].SetClubSquadNumber(static_cast<uint8_t>(shirt));
    }
}

void TGenerator::AssignNations() {
    TRandom random = Stream(6);
    bool anyNationless = false;
    for (size_t person = 0; person < People.size(); ++person) {
        TPersonPlan& plan = Plans[person];
        if (random.Below(300) == 0) {
            anyNationless = true;
            continue;
        }
        plan.Nation = plan.Club >= 0 && random.Chance(70) ? Clubs[static_cast<size_t>(plan.Club)].Nation
                                                          : WeightedNation(random);
    }
    if (!anyNationless && !People.empty())
        Plans[random.Index(People.size())].Nation = -1;
    for (size_t person = 0; person < People.size(); ++person) {
        int32_t nation = Plans[person].Nation;
        People[person].SetStoredNation(nation < 0 ? None : static_cast<uint32_t>(nation));
        if (nation >= 0)
            ++Nations[static_cast<size_t>(nation)].People;
        // Most people live in a city of their own nation.
        uint32_t city = None;
        if (nation >= 0 && random.Chance(80))
            city = static_cast<uint32_t>(random.Pick(Nations[static_cast<size_t>(nation)].Cities));
        else if (random.Chance(50))
            city = static_cast<uint32_t>(random.Index(CityNames.size()));
        People[person].SetStoredCity(city);
    }
}

void TGenerator::MakeAbilitiesAndAttributes() {
    TRandom random = Stream(7);
    static constexpr std::array<uint8_t, 9> Goalkeeping{24, 25, 26, 28, 29, 32, 34, 46, 47};
    static constexpr std::array<uint8_t, 9> Outfield{13, 14, 15, 16, 17, 18, 19, 20, 22};
    MentalBytes.Data.reserve(People.size() * TKordoMentalAtt::ImageSize);
    PlayerBytes.Data.reserve(People.size() * TKordoPlayerAtt::ImageSize);
    NonPlayerBytes.Data.reserve(People.size() / 2 * TKordoNonPlayerAtt::ImageSize);
    for (size_t person = 0; person < People.size(); ++person) {
        TKordoStaff& staff = People[person];
        uint8_t type = staff.StaffType();
        int32_t quality = Plans[person].Quality;
        auto ability = [&] {
            return static_cast<int16_t>(std::clamp(quality * 10 + random.Between(-8, 8), 1, 200));
        };
        auto potential = [&](int16_t current, int32_t room) {
            return static_cast<int16_t>(std::min(200, current + random.Between(0, room)));
        };
        auto reputation = [&](int32_t scale) {
            return static_cast<int16_t>(std::clamp(quality * scale + random.Between(0, 900), 0, 10000));
        };
        if (type == KordoStaffReferee) {
            staff.SetRefereeCurrentAbility(ability());
            staff.SetRefereePotentialAbility(potential(staff.RefereeCurrentAbility(), 30));
            staff.SetRefereeReputation(reputation(450));
            for (size_t offset = 137; offset <= 143; ++offset)
                staff.Image[offset] = Rating(random, quality);
            staff.SetStoredMentalAtts(None);
        } else {
            TKordoMentalAtt mental;
            random.Fill(mental);
            for (const TKordoAttField& field : KordoMentalAttFields)
                mental.Image[field.Offset] = Rating(random, random.Between(5, 15));
            mental.SetMentalAttID(MentalRows);
            staff.SetStoredMentalAtts(static_cast<uint32_t>(MentalRows++));
            MentalBytes.Raw(mental.Image.data(), mental.Image.size());
        }
        if (IsPlayer(type)) {
            staff.SetCurrentAbility(ability());
            staff.SetPotentialAbility(potential(staff.CurrentAbility(), 50));
            staff.SetHomeReputation(reputation(480));
            staff.SetCurrentReputation(reputation(450));
            staff.SetWorldReputation(reputation(300));
            TKordoPlayerAtt att;
            random.Fill(att);
            for (const TKordoAttField& field : KordoPlayerAttFields)
                att.Image[field.Offset] = Rating(random, quality);
            // One position, one side and one foot he is at home on, a second position he can
            // play, and a goalkeeper is no outfield player nor the other way round.
            int32_t pick = random.Between(0, 99);
            uint8_t position = pick < 10   ? 1
                               : pick < 40 ? 3
                               : pick < 65 ? 5
                               : pick < 75 ? 6
                               : pick < 95 ? 7
                                           : 8;
            for (size_t offset = 1; offset <= 9; ++offset)
                att.Image[offset] = static_cast<uint8_t>(random.Between(1, 5));
            att.Image[static_cast<size_t>(random.Between(2, 9))] =
                static_cast<uint8_t>(random.Between(8, 16));
            att.Image[position] = 20;
            for (size_t offset = 10; offset <= 12; ++offset)
                att.Image[offset] = static_cast<uint8_t>(random.Between(1, 15));
            att.Image[static_cast<size_t>(random.Between(10, 12))] = 20;
            bool rightFooted = random.Chance(75);
            uint8_t weakFoot = static_cast<uint8_t>(random.Between(1, 15));
            att.Image[38] = rightFooted ? weakFoot : 20;
            att.Image[39] = rightFooted ? 20 : weakFoot;
            for (uint8_t offset : position == 1 ? Outfield : Goalkeeping)
                att.Image[offset] = static_cast<uint8_t>(random.Between(1, 6));
            att.SetPlayerAttID(PlayerRows);
            staff.SetStoredPlayerAtts(static_cast<uint32_t>(PlayerRows++));
            PlayerBytes.Raw(att.Image.data(), att.Image.size());
            if (random.Chance(20)) {
                int32_t apps = random.Between(0, 30);
                staff.SetApps(static_cast<uint8_t>(apps));
                staff.SetGoals(static_cast<uint8_t>(random.Between(0, apps / 3)));
            }
        }
        if (IsNonPlayer(type)) {
            staff.SetNonPlayerCurrentAbility(ability());
            staff.SetNonPlayerPotentialAbility(potential(staff.NonPlayerCurrentAbility(), 30));
            staff.SetNonPlayerHomeReputation(reputation(480));
            staff.SetNonPlayerCurrentReputation(reputation(450));
            staff.SetNonPlayerWorldReputation(reputation(300));
            TKordoNonPlayerAtt att;
            random.Fill(att);
            for (const TKordoAttField& field : KordoNonPlayerAttFields)
                att.Image[field.Offset] = Rating(random, quality);
            att.Image[KordoPreferredFormationOffset] = static_cast<uint8_t>(random.Between(0, 12));
            att.SetNonPlayerAttID(NonPlayerRows);
            staff.SetStoredNonPlayerAtts(static_cast<uint32_t>(NonPlayerRows++));
            NonPlayerBytes.Raw(att.Image.data(), att.Image.size());
        }
    }
}

void TGenerator::JoinNationalTeam(TRandom& random, size_t person, int32_t nation, uint8_t job,
                                  uint8_t shirt) {
    TKordoStaff& staff = People[person];
    staff.SetStoredNationSquad(static_cast<uint32_t>(Nations[static_cast<size_t>(nation)].Squad));
    staff.SetNationJob(job);
    staff.SetDateJoinedNation(Date(random, std::max(1998, staff.DateOfBirth().Year + 17), 2008));
    uint8_t* block = staff.NationContract();
    random.Fill(block, KordoContractSize);
    block[KordoContractIsNation] = 1;
    staff.SetHasNationContract(1);
    staff.SetStoredNationEmployer(static_cast<uint32_t>(nation));
    staff.SetNationEstimatedWage(0);
    staff.SetNationContractExpires(Date(random, 2009, 2012));
    staff.SetNationSquadNumber(shirt);
}

void TGenerator::AssignNationalTeams() {
    TRandom random = Stream(8);
    std::vector<std::vector<size_t>> players(Nations.size()), staff(Nations.size());
    for (size_t person = 0; person < People.size(); ++person) {
        int32_t nation = Plans[person].Nation;
        if (nation < 0)
            continue;
        uint8_t type = People[person].StaffType();
        uint8_t clubJob = People[person].ClubJob();
        if (IsPlayer(type))
            players[static_cast<size_t>(nation)].push_back(person);
        // Chairmen and directors do not coach national teams.
        else if (type == KordoStaffNonPlayer && (clubJob == 0 || JobHasContract(clubJob)))
            staff[static_cast<size_t>(nation)].push_back(person);
    }
    for (size_t n = 0; n < Nations.size(); ++n) {
        int32_t nation = static_cast<int32_t>(n);
        // The best third of the nation's players, at most 23; they are in no list of the squad.
        std::vector<size_t>& called = players[n];
        std::stable_sort(called.begin(), called.end(), [&](size_t a, size_t b) {
            return People[a].CurrentAbility() > People[b].CurrentAbility();
        });
        called.resize(std::min(MaxNationalPlayers, (called.size() + 2) / 3));
        for (size_t i = 0; i < called.size(); ++i) {
            JoinNationalTeam(random, called[i], nation, 1, static_cast<uint8_t>(i + 1));
            int32_t apps = random.Between(1, 120);
            People[called[i]].SetApps(static_cast<uint8_t>(apps));
            People[called[i]].SetGoals(static_cast<uint8_t>(random.Between(0, apps / 2)));
        }
        // The staff come from the nation's non-players, those without a club first.
        std::vector<size_t>& candidates = staff[n];
        std::stable_partition(candidates.begin(), candidates.end(),
                              [&](size_t person) { return People[person].ClubJob() == 0; });
        TSquadPlan& squad = Squads[static_cast<size_t>(Nations[n].Squad)];
        size_t next = 0;
        if (next < candidates.size()) {
            squad.Manager = IdOf(candidates[next]);
            JoinNationalTeam(random, candidates[next++], nation, 16, 0);
        }
        for (int32_t coaches = random.Between(1, 2); coaches > 0 && next < candidates.size(); --coaches) {
            squad.Coaches.push_back(IdOf(candidates[next]));
            JoinNationalTeam(random, candidates[next++], nation, random.Chance(50) ? 2 : 20, 0);
        }
        if (next < candidates.size() && random.Chance(70)) {
            squad.Physios.push_back(IdOf(candidates[next]));
            JoinNationalTeam(random, candidates[next++], nation, 12, 0);
        }
    }
}

void TGenerator::MakeNames() {
    TRandom random = Stream(9);
    // The people of each group: nationless first, then nation by nation, as the tables are grouped.
    std::vector<std::vector<size_t>> groups(Nations.size() + 1);
    for (size_t person = 0; person < People.size(); ++person)
        groups[static_cast<size_t>(Plans[person].Nation + 1)].push_back(person);
    TFlavour nationless = MakeFlavour(random);
    uint32_t namesMade = 0;
    for (uint8_t kind = 1; kind <= 3; ++kind) {
        std::vector<TKordoName>& table = Names[kind - 1];
        for (size_t group = 0; group < groups.size(); ++group) {
            const TFlavour& flavour = group == 0 ? nationless : Nations[group - 1].Flavour;
            // Everybody has a second name and nearly everybody a first name; one in ten is known
            // by a common name, and a few of those have no first or no second name.
            std::vector<size_t> users;
            for (size_t person : groups[group]) {
                bool common = Plans[person].HasCommonName;
                bool lacking = common && IdOf(person) % 10 == (kind == 1 ? 3u : 7u);
                if (kind == 3 ? common : !lacking)
                    users.push_back(person);
            }
            uint32_t userCount = static_cast<uint32_t>(users.size());
            uint32_t wanted = kind == 1   ? 4 + 6 * static_cast<uint32_t>(IntegerSquareRoot(userCount))
                              : kind == 2 ? 2 + userCount / 2
                                          : 1 + userCount * 3 / 4;
            std::vector<uint32_t> counts = NameUseCounts(random, userCount, wanted, NoTies);
            uint32_t start = static_cast<uint32_t>(table.size());
            std::unordered_set<std::u16string> used;
            for (uint32_t count : counts) {
                TKordoName& name = table.emplace_back();
                random.Fill(name);
                char32_t astral = namesMade++ % 149 == 74 ? random.Pick(AstralCharacters) : 0;
                name.Name = UniqueText(used, [&](int more) {
                    std::u16string text;
                    if (kind == 1) {
                        text = Capitalised(Word(random, flavour, (random.Chance(75) ? 2 : 3) + more));
                        if (random.Chance(40))
                            text += flavour.FirstNameEnd;
                    } else if (kind == 2) {
                        text = Capitalised(Word(random, flavour, random.Between(2, 3) + more));
                        if (random.Chance(50))
                            text += flavour.SurnameEnd;
                        if (random.Chance(4))
                            text = std::u16string(random.Pick(SurnamePrefixes)) + text;
                    } else {
                        text = Capitalised(Word(random, flavour, random.Between(1, 2) + more)) +
                               std::u16string(flavour.CommonNameEnd);
                    }
                    if (astral != 0)
                        AppendCodePoint(text, astral);
                    return text;
                });
                name.SetUseCount(static_cast<uint16_t>(count));
                name.SetStoredNation(group == 0 ? None : static_cast<uint32_t>(group - 1));
                name.SetNameID(static_cast<int32_t>(table.size() - 1));
            }
            if (group > 0 && !counts.empty())
                Nations[group - 1].NameRanges[kind - 1] = {static_cast<int32_t>(start),
                                                           static_cast<int32_t>(counts.size())};
            // Every use of every name, dealt out to the group's people at random.
            std::vector<uint32_t> uses;
            uses.reserve(userCount);
            for (size_t i = 0; i < counts.size(); ++i)
                uses.insert(uses.end(), counts[i], start + static_cast<uint32_t>(i));
            random.Shuffle(uses);
            for (size_t i = 0; i < users.size(); ++i) {
                TKordoStaff& staff = People[users[i]];
                if (kind == 1)
                    staff.SetStoredFirstName(uses[i]);
                else if (kind == 2)
                    staff.SetStoredSecondName(uses[i]);
                else
                    staff.SetStoredCommonName(uses[i]);
            }
        }
    }
}

void TGenerator::MakePersonRelations() {
    TRandom random = Stream(10);
    for (size_t person = 0; person < People.size(); ++person) {
        if (!random.Chance(25))
            continue;
        std::vector<TKordoRelation>& relations = People[person].Relations;
        auto has = [&](uint8_t kind, uint32_t target) {
            return std::any_of(relations.begin(), relations.end(), [&](const TKordoRelation& entry) {
                return entry.Kind == kind && (kind == KordoKindNation || entry.StoredTarget == target);
            });
        };
        for (int32_t entries = random.Between(1, 3); entries > 0; --entries) {
            int32_t pick = random.Between(0, 99);
            TKordoRelation entry;
            if (pick < 35) {
                size_t other = random.Index(People.size());
                entry = {KordoKindPerson,
                         random.Chance(60) ? KordoRelationFavouritePerson : KordoRelationDislikedPerson,
                         Amount(random), IdOf(other), nullptr};
                if (other == person)
                    continue;
            } else if (pick < 70) {
                entry = {KordoKindClub,
                         random.Chance(60) ? KordoRelationFavouriteClub : KordoRelationDislikedClub,
                         Amount(random), static_cast<uint32_t>(random.Index(Clubs.size())), nullptr};
            } else {
                int32_t nation = static_cast<int32_t>(random.Index(Nations.size()));
                entry = {KordoKindNation, KordoRelationSecondNation, 15, static_cast<uint32_t>(nation),
                         nullptr};
                if (nation == Plans[person].Nation)
                    continue;
            }
            if (!has(entry.Kind, entry.StoredTarget))
                relations.push_back(entry);
        }
    }
}

// A club's rivals and its favourite or disliked people, as a save writes them.
std::vector<TKordoRelation> TGenerator::ClubRelations(TRandom& random, int32_t club) {
    std::vector<TKordoRelation> entries;
    auto has = [&](uint8_t kind, uint32_t target) {
        return std::any_of(entries.begin(), entries.end(), [&](const TKordoRelation& entry) {
            return entry.Kind == kind && entry.StoredTarget == target;
        });
    };
    // Rivals, mostly from the same nation; without ties no two share an amount.
    std::vector<uint16_t> amounts;
    for (uint16_t amount = 5; amount <= 100; amount = static_cast<uint16_t>(amount + 5))
        amounts.push_back(amount);
    random.Shuffle(amounts);
    const std::vector<int32_t>& neighbours =
        Nations[static_cast<size_t>(Clubs[static_cast<size_t>(club)].Nation)].Clubs;
    int32_t pick = random.Between(0, 99);
    int32_t rivals = pick < 20 ? 0 : pick < 50 ? 1 : pick < 80 ? 2 : pick < 95 ? 3 : 4;
    for (int32_t i = 0; i < rivals; ++i) {
        int32_t rival =
            random.Chance(80) ? random.Pick(neighbours) : static_cast<int32_t>(random.Index(Clubs.size()));
        uint32_t target = static_cast<uint32_t>(rival);
        if (rival == club || has(KordoKindClub, target))
            continue;
        uint16_t amount = NoTies ? amounts[static_cast<size_t>(i)] : Amount(random);
        entries.push_back({KordoKindClub, KordoRelationRivalClub, amount, target, nullptr});
    }
    int32_t people = People.empty() || !random.Chance(35) ? 0 : NoTies ? 1 : random.Between(1, 2);
    for (int32_t i = 0; i < people; ++i) {
        uint32_t target = IdOf(random.Index(People.size()));
        if (!has(KordoKindPerson, target))
            entries.push_back({KordoKindPerson,
                               random.Chance(60) ? KordoRelationFavouritePerson : KordoRelationDislikedPerson,
                               Amount(random), target, nullptr});
    }
    random.Shuffle(entries);
    // Sorted with the list sort every save uses, then a copy of each rival with Amount 100 in front.
    KordoListSort(entries, CompareClubEntries);
    std::vector<TKordoRelation> saved;
    for (const TKordoRelation& entry : entries)
        if (entry.Kind == KordoKindClub)
            saved.push_back({KordoKindClub, KordoRelationRivalClub, 100, entry.StoredTarget, nullptr});
    saved.insert(saved.end(), entries.begin(), entries.end());
    return saved;
}

void TGenerator::WriteLookupTables() {
    TRandom random = Stream(11);
    auto fill = [&](auto& table, size_t count, auto texts) {
        table.Records.resize(count);
        for (size_t row = 0; row < count; ++row) {
            random.Fill(table.Records[row]);
            texts(table.Records[row], row);
        }
    };
    auto none = [](auto&, size_t) {};
    auto between = [&](int32_t low, int32_t high) { return static_cast<size_t>(random.Between(low, high)); };

    fill(Db.Awards, between(30, 50), none);
    fill(Db.Cities, CityNames.size(), [&](TKordoCity& city, size_t row) {
        city.Texts[0] = CityNames[row];
        city.SetCityIndex(static_cast<int32_t>(row));
    });
    fill(Db.ClubCompetitions, between(40, 80), none);
    fill(Db.Continents, 6, none);

    static constexpr std::string_view Conditions[] = {"Broken",   "Torn",      "Twisted",    "Bruised",
                                                      "Strained", "Fractured", "Dislocated", "Pulled"};
    static constexpr std::string_view BodyParts[] = {"Ankle",    "Knee",   "Hamstring", "Groin", "Calf",
                                                     "Shoulder", "Wrist",  "Rib",       "Thigh", "Back",
                                                     "Toe",      "Finger", "Cheekbone"};
    std::vector<std::string> injuries;
    for (std::string_view condition : Conditions)
        for (std::string_view part : BodyParts)
            injuries.push_back(std::string(condition) + " " + std::string(part));
    random.Shuffle(injuries);
    fill(Db.Injuries, between(40, 70), [&](TKordoInjury& injury, size_t row) {
        injury.Texts[0] = Ascii(injuries[row]);
        std::string lower = injuries[row];
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        injury.Texts[1] = Ascii("a " + lower);
    });

    static constexpr std::string_view Papers[] = {" Herald", " Times", " Post", " Gazette", " Courier"};
    static constexpr std::string_view Stations[] = {" Radio", " Sport TV", " FM", " Sports Online"};
    fill(Db.Medias, between(60, 100), [&](TKordoMedia& media, size_t) {
        const std::u16string& city = random.Pick(CityNames);
        bool paper = random.Chance(60);
        media.Texts[0] =
            (paper ? u"The " : u"") + city + Ascii(paper ? random.Pick(Papers) : random.Pick(Stations));
        media.Texts[1] = random.Chance(50) ? city : std::u16string();
    });
    fill(Db.Languages, between(30, 50), [&](TKordoLanguage& language, size_t row) {
        language.Texts[0] = Nations[row % Nations.size()].Nationality;
    });
    fill(Db.Stadiums, 10 + Clubs.size() * 3 / 4, none);

    std::vector<std::array<std::u16string, 3>> stages;
    for (char group = 'A'; group <= 'H'; ++group)
        stages.push_back(
            {Ascii("Group ") + char16_t(group), Ascii("Grp ") + char16_t(group), u"Group Stage"});
    for (int round = 1; round <= 6; ++round)
        stages.push_back(
            {Ascii("Round " + std::to_string(round)), Ascii("R" + std::to_string(round)), u"Rounds"});
    static constexpr std::array<std::string_view, 3> Rounds[] = {
        {"Preliminary Round", "Prelim", "Preliminary Rounds"},
        {"Qualifying Round", "Qual", "Qualifying Rounds"},
        {"Play-Off", "PO", "Play-Offs"},
        {"Quarter-Final", "QF", "Quarter-Finals"},
        {"Semi-Final", "SF", "Semi-Finals"},
        {"Final", "F", "Finals"}};
    for (const auto& [name, shortName, plural] : Rounds)
        stages.push_back({Ascii(name), Ascii(shortName), Ascii(plural)});
    fill(Db.Stages, stages.size(), [&](TKordoStage& stage, size_t row) { stage.Texts = stages[row]; });
    static constexpr std::string_view Weathers[] = {
        "Sunny", "Clear", "Cloudy", "Overcast", "Light Rain", "Heavy Rain",   "Drizzle", "Snow",
        "Sleet", "Hail",  "Fog",    "Windy",    "Humid",      "Thunderstorm", "Frost"};
    fill(Db.Weathers, std::size(Weathers),
         [&](TKordoWeather& weather, size_t row) { weather.Texts[0] = Ascii(Weathers[row]); });
}

void TGenerator::WriteNations() {
    TRandom random = Stream(12);
    Db.Nations.Records.resize(Nations.size());
    for (size_t row = 0; row < Nations.size(); ++row) {
        const TNationPlan& plan = Nations[row];
        TKordoNation& nation = Db.Nations.Records[row];
        random.Fill(nation);
        nation.SetClubCount(static_cast<uint16_t>(plan.Clubs.size()));
        nation.SetStaffCount(plan.People);
        for (uint8_t kind = 1; kind <= 3; ++kind)
            nation.SetNameRange(kind, plan.NameRanges[kind - 1].first, plan.NameRanges[kind - 1].second);
        nation.SetStoredNationalSquad(static_cast<uint32_t>(plan.Squad));
        nation.SetNationIndex(static_cast<int32_t>(row));
        nation.NationName = plan.Name;
        nation.NationSecondName = plan.Nationality;
        nation.List125.Bytes = OpaqueEntries(random, 5, 4);
        nation.List141.Bytes = OpaqueEntries(random, 3, 6);
        nation.List150.Bytes = OpaqueEntries(random, 4, 8);
    }
}

void TGenerator::WriteClubs() {
    TRandom random = Stream(13);
    static constexpr std::string_view Suffixes[] = {" United",    " City", " Athletic", " Rovers",
                                                    " Wanderers", " Town", " Albion",   " Olympic"};
    static constexpr std::string_view Prefixes[] = {"FC ",     "Sporting ", "Dynamo ",
                                                    "Racing ", "Inter ",    "Union "};
    static constexpr std::string_view Colours[] = {"Reds",   "Blues", "Whites",   "Greens",
                                                   "Blacks", "Golds", "Sky Blues"};
    static constexpr std::string_view Animals[] = {"Eagles", "Lions", "Wolves", "Foxes",
                                                   "Bears",  "Hawks", "Sharks"};
    std::unordered_set<std::u16string> used;
    Db.Clubs.Records.resize(Clubs.size());
    for (size_t row = 0; row < Clubs.size(); ++row) {
        const TClubPlan& plan = Clubs[row];
        TKordoClub& club = Db.Clubs.Records[row];
        random.Fill(club);
        const std::u16string& city = CityNames[static_cast<size_t>(plan.City)];
        club.ClubName = UniqueText(used, [&](int more) {
            std::u16string name =
                random.Chance(60) ? city + Ascii(random.Pick(Suffixes)) : Ascii(random.Pick(Prefixes)) + city;
            for (int i = 0; i < more; ++i)
                name += Ascii(random.Pick(Suffixes));
            return name;
        });
        club.ShortClubName = city;
        club.Nickname1 = u"The " + Ascii(random.Chance(50) ? random.Pick(Colours) : random.Pick(Animals));
        club.Nickname2 = random.Chance(50) ? u"The " + Ascii(random.Pick(Animals)) : std::u16string();
        int32_t level = plan.Level;
        club.SetStoredNation(static_cast<uint32_t>(plan.Nation));
        club.SetProfessionalStatus(level >= 9 ? 1 : level >= 5 ? 2 : 3);
        int32_t average = level * level * 120 + random.Between(100, 2000);
        club.SetAverageAttendance(static_cast<uint32_t>(average));
        club.SetMinimumAttendance(static_cast<uint32_t>(average * random.Between(30, 80) / 100));
        club.SetMaximumAttendance(static_cast<uint32_t>(average * random.Between(110, 200) / 100));
        club.SetTraining(static_cast<uint8_t>(std::clamp(level + random.Between(-3, 3), 0, 20)));
        club.SetPublicLimitedCompany(level >= 14 && random.Chance(40) ? 1 : 0);
        club.SetStoredChairman(plan.Chairman);
        club.SetBalance(level * level * 20000 + random.Between(-2000000, 2000000));
        club.SetClubIndex(static_cast<int32_t>(row));
        club.SetClubID(static_cast<int32_t>(1000 + 7 * row));
        club.StoredBoardMembers = plan.BoardMembers;
        club.StoredScouts = plan.Scouts;
        club.StoredSquads.assign(plan.Squads.begin(), plan.Squads.end());
        club.List57.Bytes = OpaqueEntries(random, 3, 11);
        club.List94.Bytes = OpaqueEntries(random, 3, 6);
        club.Relations = ClubRelations(random, static_cast<int32_t>(row));
    }
}

void TGenerator::WriteSquads() {
    TRandom random = Stream(14);
    Db.Squads.Records.resize(Squads.size());
    for (size_t row = 0; row < Squads.size(); ++row) {
        const TSquadPlan& plan = Squads[row];
        TKordoSquad& squad = Db.Squads.Records[row];
        random.Fill(squad);
        squad.SetSquadKind(plan.Kind);
        if (plan.Kind == KordoNationalSquad) {
            squad.Put(1, Date(random, 1990, 2008));
            squad.Put(5, Date(random, 1990, 2008));
            squad.SetReputation(static_cast<uint16_t>(random.Between(1500, 9500)));
            squad.SetHomeMatchDay(0);
            squad.SetOwnerClubID(-1);
        } else {
            // A club squad does not store bytes 1..13; a load sets them to these values.
            squad.Put(1, TKordoGameDate{});
            squad.Put(5, TKordoGameDate{});
            squad.Put<uint8_t>(9, 26);
            squad.Put<uint32_t>(10, 0);
            squad.SetReputation(
                static_cast<uint16_t>(std::min(10000, plan.Level * 450 + random.Between(0, 900))));
            squad.SetHomeMatchDay(
                static_cast<uint8_t>(random.Chance(70) ? random.Pick({1, 7}) : random.Between(0, 7)));
            squad.SetOwnerClubID(static_cast<int32_t>(1000 + 7 * plan.Owner));
        }
        squad.SetStoredManager(plan.Manager);
        squad.SetStoredOwner(static_cast<uint32_t>(plan.Owner));
        squad.SetSquadIndex(static_cast<int32_t>(row));
        squad.StoredPlayers = plan.Players;
        squad.StoredCoaches = plan.Coaches;
        squad.StoredPhysios = plan.Physios;
    }
}

void TGenerator::WriteNames(TKordoNames& table, const std::vector<TKordoName>& names) {
    TBytes bytes;
    bytes.Value<int32_t>(static_cast<int32_t>(names.size()));
    for (const TKordoName& name : names) {
        bytes.Image(name, 0, 0);
        bytes.Text(name.Name);
        bytes.Image(name, 5, 18);
    }
    TKordoFileStream stream(std::move(bytes.Data), TKordoPregameDatabase::ServerFileName);
    table.Clear();
    table.LoadFromStream(stream);
}

void TGenerator::WriteUnknowns() {
    TRandom random = Stream(15);
    TBytes bytes;
    for (int table = 1; table <= 12; ++table) {
        int32_t size = TKordoUnknowns::RecordSizes[static_cast<size_t>(table - 1)];
        int32_t count = size == 0 ? random.Between(0, 400) : random.Between(10, 60);
        bytes.Value(count);
        bytes.RandomBytes(random, static_cast<size_t>(count) * static_cast<size_t>(size));
    }
    TKordoFileStream stream(std::move(bytes.Data), TKordoPregameDatabase::ServerFileName);
    Db.Unknowns.ClearAll();
    for (int table = 1; table <= 12; ++table)
        Db.Unknowns.LoadTable(stream, table);
}

void TGenerator::WriteServerFile() {
    TRandom random = Stream(16);
    random.Fill(Db.ServerHeader.data(), Db.ServerHeader.size());
    WriteLookupTables();
    WriteNations();
    WriteClubs();
    WriteSquads();
    WriteNames(Db.FirstNames, Names[0]);
    WriteNames(Db.SecondNames, Names[1]);
    WriteNames(Db.CommonNames, Names[2]);
    WriteUnknowns();
    // One trip through the database's own writer and reader leaves every table as a load of the
    // generated file would: the club index built, the defaults of club squads set.
    std::vector<uint8_t> server;
    {
        TKordoFileStream out(std::make_unique<TKordoMemoryDevice>(server),
                             TKordoPregameDatabase::ServerFileName);
        Db.ServerTrailer.clear();
        Db.WriteServerFile(out);
        out.Flush();
    }
    TKordoFileStream in(std::move(server), TKordoPregameDatabase::ServerFileName);
    Db.ReadServerFile(in);
}

void TGenerator::WritePeopleFile() {
    TRandom random = Stream(17);
    TBytes bytes;
    bytes.Data.reserve(People.size() * 320 + MentalBytes.Data.size() + PlayerBytes.Data.size() +
                       NonPlayerBytes.Data.size() + 64);
    bytes.RandomBytes(random, TKordoPregameDatabase::PeopleHeaderSize);
    // People in saved order: by their nation's row, the nationless first.
    std::vector<size_t> start(Nations.size() + 2, 0);
    for (const TPersonPlan& plan : Plans)
        ++start[static_cast<size_t>(plan.Nation + 2)];
    for (size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<size_t> order(People.size());
    for (size_t person = 0; person < People.size(); ++person)
        order[start[static_cast<size_t>(Plans[person].Nation + 1)]++] = person;

    bytes.Value<int32_t>(static_cast<int32_t>(People.size()));
    bytes.Value<int32_t>(MentalRows);
    bytes.Value<int32_t>(PlayerRows);
    bytes.Value<int32_t>(NonPlayerRows);
    for (size_t person : order)
        AppendStaff(bytes, People[person]);
    People.clear();
    People.shrink_to_fit();
    bytes.Value<int32_t>(MentalRows);
    bytes.Raw(MentalBytes.Data.data(), MentalBytes.Data.size());
    MentalBytes = TBytes();
    bytes.Value<int32_t>(PlayerRows);
    bytes.Raw(PlayerBytes.Data.data(), PlayerBytes.Data.size());
    PlayerBytes = TBytes();
    bytes.Value<int32_t>(NonPlayerRows);
    bytes.Raw(NonPlayerBytes.Data.data(), NonPlayerBytes.Data.size());
    NonPlayerBytes = TBytes();
    bytes.Value<int32_t>(random.Between(0, 400)); // Unknown 13: a count without records
    TKordoFileStream stream(std::move(bytes.Data), TKordoPregameDatabase::PeopleFileName);
    Db.ReadPeopleFile(stream);
}

} // namespace

void KordoGenerate(TKordoPregameDatabase& database, const TKordoGeneratorOptions& options) {
    TGenerator(database, options).Run();
}

bool KordoGenerateFiles(const std::filesystem::path& folder, const TKordoGeneratorOptions& options,
                        std::string& error) {
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) {
        error = "cannot create " + folder.string() + ": " + failure.message();
        return false;
    }
    TKordoPregameDatabase database;
    try {
        KordoGenerate(database, options);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to generate the database";
        return false;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (!database.WriteFiles(folder)) {
        error = database.LastError();
        return false;
    }
    return true;
}
