#include "KordoPregameDatabase.h"
#include "TestBytes.h"

namespace {

// A server file whose second table (Cities) holds a city, Unknown 2 (the 14th) the count 5 and Stages
// (the 17th) a stage; the other 25 tables are empty.
TByteVector ServerFile(const TByteVector& trailer) {
    TBytes b;
    b.Pattern(27, 0x40).Int(0).Add(Table({TBytes().Pattern(19, 0).Text(u"Bergen").Pattern(11, 0).Data}));
    b.Pattern(11 * 4, 0, 0).Int(5).Int(0).Int(0);
    b.Add(Table({TBytes().U8(1).Text(u"Final").U8(2).Text(u"").U8(3).Text(u"").Pattern(9, 0).Data}));
    return b.Pattern(11 * 4, 0, 0).Add(trailer).Data;
}

TEST(PregameDatabase, ServerFileKeepsItsHeaderAndTrailingBytes) {
    for (const TByteVector& trailer : {TByteVector{}, TByteVector{1, 2, 3}}) {
        TKordoPregameDatabase database;
        std::vector<std::string> statuses;
        database.OnStatus = [&](const std::string& text) { statuses.push_back(text); };
        TByteVector bytes = ServerFile(trailer);
        EXPECT_EQ(LoadFrom(bytes, [&](TKordoFileStream& s) { database.ReadServerFile(s); }), "");
        EXPECT_EQ(database.Cities.Item(0)->Texts[0] + database.Stages.Records.at(0).Texts[0], u"BergenFinal");
        EXPECT_EQ(database.Unknowns.Count(2), 5);
        EXPECT_EQ(database.ServerTrailer, trailer);
        ASSERT_EQ(statuses.size(), 28u);
        EXPECT_EQ(statuses[22], "Loading Unknown7");
        EXPECT_EQ(Saved([&](TKordoFileStream& s) { database.WriteServerFile(s); }), bytes);
    }
}

} // namespace
