// The bodies of the fuzz targets. They live in a header so that the regression test runs every saved
// crash input through exactly the code the fuzzer ran.
//
// A TKordoError is the expected answer to a damaged file and is caught. Anything else escapes: a
// sanitizer report, an exception of another type, or a TKordoFuzzFinding, thrown when the readers and
// writers disagree about a file they both accepted.
#pragma once

#include "KordoCheck.h"
#include "KordoPregameDatabase.h"
#include "KordoRecordIO.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

using TKordoFuzzBytes = std::vector<uint8_t>;

class TKordoFuzzFinding : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// A database input holds both files: the length of server_db.dat as a little-endian 32-bit number,
// server_db.dat, then people_db.dat. A length beyond the input takes everything that is left.
inline TKordoFuzzBytes KordoFuzzJoinFiles(const TKordoFuzzBytes& server, const TKordoFuzzBytes& people) {
    TKordoFuzzBytes input(4 + server.size() + people.size());
    uint32_t length = static_cast<uint32_t>(server.size());
    std::memcpy(input.data(), &length, 4);
    auto serverEnd = std::copy(server.begin(), server.end(), input.begin() + 4);
    std::copy(people.begin(), people.end(), serverEnd);
    return input;
}

inline void KordoFuzzSplitFiles(const uint8_t* data, size_t size, TKordoFuzzBytes& server,
                                TKordoFuzzBytes& people) {
    uint32_t length = 0;
    if (size >= 4)
        std::memcpy(&length, data, 4);
    size_t rest = size >= 4 ? size - 4 : 0;
    size_t serverSize = std::min<size_t>(length, rest);
    const uint8_t* begin = data + (size - rest);
    server.assign(begin, begin + serverSize);
    people.assign(begin + serverSize, data + size);
}

// The readers' input: one selector byte, then the bytes the chosen reader reads.
enum class TKordoFuzzReader : uint8_t {
    WideString,
    Opaque,
    Numbers1,
    Numbers2,
    Relations,
    Awards,
    Cities,
    Clubs,
    ClubCompetitions,
    Continents,
    Injuries,
    Medias,
    Languages,
    Nations,
    FirstNames,
    SecondNames,
    CommonNames,
    Stadiums,
    Stages,
    Squads,
    Weathers,
    Staffs,
    MentalAtts,
    PlayerAtts,
    NonPlayerAtts,
    Unknown1, // Unknown1 + n - 1 is table n
    ReaderCount = Unknown1 + TKordoUnknowns::TableCount,
};

namespace KordoFuzzDetail {

inline void Expect(bool condition, const std::string& what) {
    if (!condition)
        throw TKordoFuzzFinding(what);
}

// Runs a reader over the bytes; false when it rejected them with a TKordoError.
inline bool Accepts(const TKordoFuzzBytes& bytes, const char* name,
                    const std::function<void(TKordoFileStream&)>& read) {
    try {
        TKordoFileStream stream(bytes, name);
        read(stream);
        return true;
    } catch (const TKordoError&) {
        return false;
    }
}

// What a writer produces. A writer must take whatever a reader accepted, so its errors are findings.
inline TKordoFuzzBytes Written(const char* name, const std::function<void(TKordoFileStream&)>& write) {
    TKordoFuzzBytes out;
    try {
        TKordoFileStream stream(std::make_unique<TKordoMemoryDevice>(out), name);
        write(stream);
        stream.Flush();
    } catch (const TKordoError& e) {
        throw TKordoFuzzFinding(std::string("writing what was read failed: ") + e.what());
    }
    return out;
}

// A file written from what a reader accepted is read again and written again: the second file must
// equal the first. The first write may differ from the input (a file may hold more contract blocks
// than a person keeps), but from then on reader and writer must agree byte for byte.
template <class Owner>
void ExpectStableRoundTrip(const TKordoFuzzBytes& written, const char* name,
                           const std::function<void(Owner&, TKordoFileStream&)>& read,
                           const std::function<void(Owner&, TKordoFileStream&)>& write) {
    Owner again;
    try {
        TKordoFileStream stream(written, name);
        read(again, stream);
        Expect(stream.Remaining() == 0, std::string(name) + ": written bytes were left unread");
    } catch (const TKordoError& e) {
        throw TKordoFuzzFinding(std::string("reading what was written failed: ") + e.what());
    }
    Expect(Written(name, [&](TKordoFileStream& s) { write(again, s); }) == written,
           std::string(name) + ": a second round trip changed the bytes");
}

// Where Save writes: the bytes go to memory, and an empty file stands at each temporary path so that
// putting the files in place runs as it does on disk.
class TSaveFolder {
public:
    TSaveFolder() {
        std::filesystem::path base = "/dev/shm";
        std::error_code error;
        if (!std::filesystem::is_directory(base, error))
            base = std::filesystem::temp_directory_path();
#ifndef _WIN32
        Folder = base / ("kordo-fuzz-" + std::to_string(::getpid()));
#else
        Folder = base / "kordo-fuzz";
#endif
        std::filesystem::create_directories(Folder);
    }
    ~TSaveFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
    TSaveFolder(const TSaveFolder&) = delete;
    TSaveFolder& operator=(const TSaveFolder&) = delete;

    // The save's own file stays empty; its bytes go to memory.
    std::unique_ptr<TKordoByteDevice> Open(const std::filesystem::path& path) {
        bool server = path.filename() == TKordoPregameDatabase::ServerFileName;
        TKordoFuzzBytes& target = server ? Server : People;
        target.clear();
        return std::make_unique<TKordoMemoryDevice>(target);
    }

    std::filesystem::path Folder;
    TKordoFuzzBytes Server, People;
};

inline TSaveFolder& SaveFolder() {
    static TSaveFolder folder;
    return folder;
}

inline void ReadServer(TKordoPregameDatabase& database, TKordoFileStream& stream) {
    database.ReadServerFile(stream);
}
inline void ReadPeople(TKordoPregameDatabase& database, TKordoFileStream& stream) {
    database.ReadPeopleFile(stream);
}
inline void WriteServer(TKordoPregameDatabase& database, TKordoFileStream& stream) {
    database.WriteServerFile(stream);
}
inline void WritePeople(TKordoPregameDatabase& database, TKordoFileStream& stream) {
    database.WritePeopleFile(stream);
}

// A table is read, what was read is written, and a second round trip must change nothing.
template <class Table>
void RoundTripTable(const TKordoFuzzBytes& bytes, const std::function<void(Table&, TKordoFileStream&)>& read,
                    const std::function<void(Table&, TKordoFileStream&)>& write) {
    Table table;
    if (!Accepts(bytes, "table", [&](TKordoFileStream& s) { read(table, s); }))
        return;
    TKordoFuzzBytes written = Written("table", [&](TKordoFileStream& s) { write(table, s); });
    ExpectStableRoundTrip<Table>(written, "table", read, write);
}

template <class Table> void RoundTripTable(const TKordoFuzzBytes& bytes) {
    RoundTripTable<Table>(
        bytes, [](Table& t, TKordoFileStream& s) { t.LoadFromStream(s); },
        [](Table& t, TKordoFileStream& s) { t.SaveToStream(s); });
}

struct TNamesOf1 : TKordoNames {
    TNamesOf1() : TKordoNames(1) {}
};
struct TNamesOf2 : TKordoNames {
    TNamesOf2() : TKordoNames(2) {}
};
struct TNamesOf3 : TKordoNames {
    TNamesOf3() : TKordoNames(3) {}
};

// A sub-list read straight from the bytes must write back as exactly the bytes it consumed.
template <class List>
void RoundTripList(const TKordoFuzzBytes& bytes, const std::function<void(TKordoReader&, List&)>& read,
                   const std::function<void(TKordoWriter&, const List&)>& write) {
    List list{};
    int64_t consumed = 0;
    if (!Accepts(bytes, "list", [&](TKordoFileStream& s) {
            TKordoReader reader(s);
            read(reader, list);
            consumed = s.Position();
        }))
        return;
    TKordoFuzzBytes written = Written("list", [&](TKordoFileStream& s) {
        TKordoWriter writer(s);
        write(writer, list);
    });
    Expect(written == TKordoFuzzBytes(bytes.begin(), bytes.begin() + consumed),
           "a sub-list was not written back as it was read");
}

inline void FuzzWideStrings(const TKordoFuzzBytes& bytes) {
    // Strings one after another until the bytes run out or one is refused.
    std::vector<std::u16string> texts;
    Accepts(bytes, "strings", [&](TKordoFileStream& s) {
        while (s.Remaining() > 0) {
            std::u16string text;
            s.ReadWideString(text);
            texts.push_back(std::move(text));
        }
    });
    TKordoFuzzBytes written = Written("strings", [&](TKordoFileStream& s) {
        for (const std::u16string& text : texts)
            s.WriteWideString(text);
    });
    std::vector<std::u16string> again;
    Expect(Accepts(written, "strings",
                   [&](TKordoFileStream& s) {
                       while (s.Remaining() > 0) {
                           std::u16string text;
                           s.ReadWideString(text);
                           again.push_back(std::move(text));
                       }
                   }),
           "written strings could not be read again");
    Expect(again == texts, "strings changed on a round trip");
}

// The staff editor's rename: the new name is found or created in the person's nation's group and
// gains a use, then the old one loses one and leaves the table when no one uses it any more.
inline void Rename(TKordoNames& names, TKordoName*& slot, TKordoNation* nation, const std::u16string& text) {
    TKordoName* name = names.FindOrAdd(text, nation);
    names.AddUse(name);
    if (slot)
        names.Release(slot);
    slot = name;
}

// The first people get one new name of each kind, the same for all of them, so that the first
// rename creates the name and the later ones may find it.
inline void RenameFirstPeople(TKordoPregameDatabase& database) {
    const auto& people = database.Staffs.List();
    for (size_t i = 0; i < people.size() && i < 3; ++i) {
        TKordoStaff& staff = *people[i];
        Rename(database.FirstNames, staff.FirstName, staff.Nation, u"Fuzz");
        Rename(database.SecondNames, staff.SecondName, staff.Nation, u"Fuzz");
        Rename(database.CommonNames, staff.CommonName, staff.Nation, u"Fuzz");
    }
}

} // namespace KordoFuzzDetail

// How far an input of the database target got.
enum class TKordoFuzzReached { Refused, Linked, Saved };

// Reads both files, writes them back, links the records, checks them, renames a few people and saves
// the result.
inline TKordoFuzzReached KordoFuzzDatabase(const uint8_t* data, size_t size) {
    using namespace KordoFuzzDetail;
    TKordoFuzzBytes serverBytes, peopleBytes;
    KordoFuzzSplitFiles(data, size, serverBytes, peopleBytes);

    TKordoPregameDatabase database;
    database.OnStatus = [](const std::string&) {};
    database.OnProgress = [](int32_t percent) {
        Expect(percent >= 0 && percent <= 100, "progress outside 0..100: " + std::to_string(percent));
    };
    const char* server = TKordoPregameDatabase::ServerFileName;
    const char* people = TKordoPregameDatabase::PeopleFileName;
    bool serverRead = Accepts(serverBytes, server, [&](TKordoFileStream& s) { database.ReadServerFile(s); });
    bool peopleRead = Accepts(peopleBytes, people, [&](TKordoFileStream& s) { database.ReadPeopleFile(s); });
    if (serverRead) {
        TKordoFuzzBytes written = Written(server, [&](TKordoFileStream& s) { database.WriteServerFile(s); });
        ExpectStableRoundTrip<TKordoPregameDatabase>(written, server, ReadServer, WriteServer);
    }
    if (peopleRead) {
        TKordoFuzzBytes written = Written(people, [&](TKordoFileStream& s) { database.WritePeopleFile(s); });
        ExpectStableRoundTrip<TKordoPregameDatabase>(written, people, ReadPeople, WritePeople);
    }
    if (!serverRead || !peopleRead)
        return TKordoFuzzReached::Refused;

    database.IndexAll();
    KordoCheckDatabase(database);
    RenameFirstPeople(database);

    // Saving sorts, renumbers, writes and links again. It may refuse (a list too long once rivals are
    // doubled), but what it writes must load.
    TSaveFolder& folder = SaveFolder();
    database.WrapDevice = [&folder](std::unique_ptr<TKordoByteDevice>, const std::filesystem::path& target) {
        return folder.Open(target);
    };
    if (!database.Save(folder.Folder)) {
        Expect(database.LastError().find("the file can store at most") != std::string::npos,
               "save failed: " + database.LastError());
        return TKordoFuzzReached::Linked;
    }
    TKordoPregameDatabase saved;
    Expect(Accepts(folder.Server, server, [&](TKordoFileStream& s) { saved.ReadServerFile(s); }) &&
               Accepts(folder.People, people, [&](TKordoFileStream& s) { saved.ReadPeopleFile(s); }),
           "a saved database does not load");
    saved.IndexAll();
    return TKordoFuzzReached::Saved;
}

// One reader, chosen by the first byte, over the rest of the input: the wide string, a sub-list or a
// whole table, each read, written back and checked as above.
inline void KordoFuzzReaders(const uint8_t* data, size_t size) {
    using namespace KordoFuzzDetail;
    if (size == 0)
        return;
    auto reader = static_cast<uint8_t>(data[0] % static_cast<uint8_t>(TKordoFuzzReader::ReaderCount));
    TKordoFuzzBytes bytes(data + 1, data + size);
    using R = TKordoFuzzReader;
    switch (static_cast<R>(reader)) {
    case R::WideString:
        FuzzWideStrings(bytes);
        break;
    case R::Opaque: {
        // The entry size comes first; the lists store entries of 4 to 11 bytes.
        if (bytes.empty())
            return;
        size_t entrySize = bytes[0] % 16 + 1;
        bytes.erase(bytes.begin());
        RoundTripList<TKordoOpaqueList>(
            bytes, [&](TKordoReader& r, TKordoOpaqueList& l) { r.Opaque(l, entrySize, "opaque"); },
            [&](TKordoWriter& w, const TKordoOpaqueList& l) { w.Opaque(l, entrySize, "opaque"); });
        break;
    }
    case R::Numbers1:
    case R::Numbers2: {
        int countBytes = reader == static_cast<uint8_t>(R::Numbers1) ? 1 : 2;
        RoundTripList<std::vector<uint32_t>>(
            bytes, [&](TKordoReader& r, std::vector<uint32_t>& l) { r.Numbers(l, countBytes, "numbers"); },
            [&](TKordoWriter& w, const std::vector<uint32_t>& l) { w.Numbers(l, countBytes, "numbers"); });
        break;
    }
    case R::Relations:
        RoundTripList<std::vector<TKordoRelation>>(
            bytes, [](TKordoReader& r, std::vector<TKordoRelation>& l) { r.Relations(l, "relations"); },
            [](TKordoWriter& w, const std::vector<TKordoRelation>& l) { w.Relations(l, "relations"); });
        break;
    case R::Awards:
        RoundTripTable<TKordoAwards>(bytes);
        break;
    case R::Cities:
        RoundTripTable<TKordoCities>(bytes);
        break;
    case R::Clubs:
        RoundTripTable<TKordoClubs>(bytes);
        break;
    case R::ClubCompetitions:
        RoundTripTable<TKordoClubCompetitions>(bytes);
        break;
    case R::Continents:
        RoundTripTable<TKordoContinents>(bytes);
        break;
    case R::Injuries:
        RoundTripTable<TKordoInjuries>(bytes);
        break;
    case R::Medias:
        RoundTripTable<TKordoMedias>(bytes);
        break;
    case R::Languages:
        RoundTripTable<TKordoLanguages>(bytes);
        break;
    case R::Nations:
        RoundTripTable<TKordoNations>(bytes);
        break;
    case R::FirstNames:
        RoundTripTable<TNamesOf1>(bytes);
        break;
    case R::SecondNames:
        RoundTripTable<TNamesOf2>(bytes);
        break;
    case R::CommonNames:
        RoundTripTable<TNamesOf3>(bytes);
        break;
    case R::Stadiums:
        RoundTripTable<TKordoStadiums>(bytes);
        break;
    case R::Stages:
        RoundTripTable<TKordoStages>(bytes);
        break;
    case R::Squads:
        RoundTripTable<TKordoSquads>(bytes);
        break;
    case R::Weathers:
        RoundTripTable<TKordoWeathers>(bytes);
        break;
    case R::Staffs:
        // The attribute counts after the people's count are rewritten from the tables; the ones
        // written here are those of empty tables, so the round trip starts from the first write.
        RoundTripTable<TKordoStaffs>(
            bytes, [](TKordoStaffs& t, TKordoFileStream& s) { t.LoadFromStream(s); },
            [](TKordoStaffs& t, TKordoFileStream& s) { t.SaveToStream(s, 0, 0, 0); });
        break;
    case R::MentalAtts:
        RoundTripTable<TKordoMentalAtts>(bytes);
        break;
    case R::PlayerAtts:
        RoundTripTable<TKordoPlayerAtts>(bytes);
        break;
    case R::NonPlayerAtts:
        RoundTripTable<TKordoNonPlayerAtts>(bytes);
        break;
    default: {
        int table = reader - static_cast<uint8_t>(R::Unknown1) + 1;
        RoundTripTable<TKordoUnknowns>(
            bytes, [table](TKordoUnknowns& t, TKordoFileStream& s) { t.LoadTable(s, table); },
            [table](TKordoUnknowns& t, TKordoFileStream& s) { t.SaveTable(s, table); });
        break;
    }
    }
}
