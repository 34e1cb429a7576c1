#include "TestBytes.h"
#include "TestFailingDevice.h"

namespace {

std::u16string ReadText(TKordoFileStream& stream) {
    std::u16string text = u"stale";
    stream.ReadWideString(text);
    return text;
}

TByteVector Written(const std::u16string& text) {
    return Saved([&](TKordoFileStream& s) { s.WriteWideString(text); });
}

TEST(WideString, IsACountOfUtf16UnitsWithATerminatorOnlyWhenNotEmpty) {
    EXPECT_EQ(Written(u""), TBytes().Int(0).Data);
    TByteVector clef = TBytes().Int(2).U16(0xD834).U16(0xDD1E).U16(0).Data; // one character, two units
    EXPECT_EQ(Written(u"\U0001D11E"), clef);
    EXPECT_EQ(LoadFrom(clef, [](TKordoFileStream& s) { EXPECT_EQ(ReadText(s), u"\U0001D11E"); }), "");
}

TEST(WideString, CountBelowOneIsEmptyAndTheTerminatorIsSkippedUnchecked) {
    TKordoFileStream stream(TBytes().Int(-3).Int(0).Text(u"ab", 0xBEEF).Int(9).Data, TestFileName);
    EXPECT_EQ(ReadText(stream), u"");
    EXPECT_EQ(ReadText(stream), u"");
    std::u16string text = ReadText(stream);
    EXPECT_EQ(stream.ReadValue<int32_t>(), 9);
    EXPECT_EQ(Written(text), TBytes().Text(u"ab").Data); // the terminator is written as zero
}

TEST(WideString, LengthPastTheEndFailsBeforeAllocating) {
    for (int32_t length : {3, 0x7fffffff})
        ExpectMentions(LoadFrom(TBytes().Int(length).U16('a').Data, ReadText),
                       {"string length", "byte offset 4"});
    ExpectMentions(LoadFrom(TBytes().Int(1).U16('a').Data, ReadText), {"end of file"}); // no terminator
}

TEST(FileStream, WriteToAFailingDeviceThrowsAndStaysFailed) {
    TByteVector reached;
    auto device = std::make_unique<TFailingDevice>(std::make_unique<TKordoMemoryDevice>(reached), 5);
    TKordoFileStream stream(std::move(device), TestFileName);
    stream.SetTable("Nations");
    stream.Write(TByteVector(8, 1).data(), 8);
    ExpectMentions(ErrorOf([&] { stream.Flush(); }),
                   {TestFileName, "table Nations", "byte offset", "device full"});
    EXPECT_EQ(reached.size(), 5u);
    ExpectMentions(ErrorOf([&] { stream.Flush(); }), {"earlier write failed"}); // not sent twice
    ExpectMentions(ErrorOf([&] { stream.WriteValue<uint8_t>(0); }), {"earlier write failed"});
    EXPECT_EQ(reached.size(), 5u);
}

} // namespace
