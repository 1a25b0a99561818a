#include "settings/Settings.h"
#include "settings/SettingsFormat.h"

#include "FakeControls.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

using namespace modOmbrix;
using ombrix::test::DefaultLines;
using ombrix::test::DefaultLinesWith;
using ombrix::test::FakeControls;
using ombrix::test::Join;
using ombrix::test::kDefaultFile;

TEST(SettingsFormat, WritesIntegersAndBooleansAsTheFileHoldsThem)
{
    EXPECT_EQ(FormatInteger(0), " 0 ");
    EXPECT_EQ(FormatInteger(16), " 16 ");
    EXPECT_EQ(FormatInteger(-5), "-5 ");
    EXPECT_EQ(FormatInteger(std::numeric_limits<std::int32_t>::min()), "-2147483648 ");
    EXPECT_EQ(FormatInteger(std::numeric_limits<std::int32_t>::max()), " 2147483647 ");
    EXPECT_EQ(FormatBoolean(true), "True");
    EXPECT_EQ(FormatBoolean(false), "False");
}

TEST(SettingsFormat, TheDesignValuesGiveTheDefaultFileOf128Bytes)
{
    const std::string text = FormatSettings(FakeControls());
    EXPECT_EQ(text, kDefaultFile);
    EXPECT_EQ(text.size(), 128u);
}

TEST(SettingsFormat, LineOneIsEmptyWithoutASelectedButtonAndOneWhenBothAre)
{
    FakeControls controls;
    controls.state.send = {false, false};
    EXPECT_EQ(GetSendMode(controls), std::nullopt);
    EXPECT_EQ(FormatSettings(controls), Join(DefaultLinesWith(1, "")));
    controls.state.send = {true, true};
    EXPECT_EQ(GetSendMode(controls), 1);
    controls.state.send = {false, true};
    EXPECT_EQ(FormatSettings(controls), Join(DefaultLinesWith(1, " 1 ")));
}

TEST(SettingsFormat, OnlyTheCaptionFourIsCollapsed)
{
    for (const auto& [caption, line] : std::vector<std::pair<std::u16string, std::string>>{
             {u"4", "True"}, {u"3", "False"}, {u"", "False"}, {u"44", "False"}, {u" 4", "False"}}) {
        FakeControls controls;
        controls.state.caption = caption;
        EXPECT_EQ(FormatSettings(controls), Join(DefaultLinesWith(21, line)));
    }
}

namespace {

// Every field of text with the line it begins on, then the reason the next read fails.
std::pair<std::vector<std::pair<int, std::string>>, std::string> AllFields(std::string_view text)
{
    FieldReader reader(text);
    std::vector<std::pair<int, std::string>> fields;
    for (;;) {
        try {
            const std::string_view field = reader.Next();
            fields.emplace_back(reader.Line(), std::string(field));
        } catch (const FieldError& e) {
            return {fields, "line " + std::to_string(reader.Line()) + ": " + e.what()};
        }
    }
}

} // namespace

TEST(FieldReader, SplitsAtCommasAndEveryKindOfLineEnd)
{
    using Fields = std::vector<std::pair<int, std::string>>;
    const std::string end = "the file ends before this value";
    const struct {
        std::string text;
        Fields fields;
        std::string failure;
    } cases[] = {
        {"", {}, "line 1: " + end},
        {" 5 \r\n", {{1, "5"}}, "line 2: " + end},
        {"a\nb\rc\r\nd", {{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}}, "line 4: " + end},
        {"\r\n\r\n", {{1, ""}, {2, ""}}, "line 3: " + end},
        {"\n\r", {{1, ""}, {2, ""}}, "line 3: " + end}, // LF then a lone CR: two line ends
        {" 1, 2 \r\n3", {{1, "1"}, {1, "2"}, {2, "3"}}, "line 2: " + end},
        {"1,\r\n", {{1, "1"}, {1, ""}}, "line 2: " + end},
        {",,", {{1, ""}, {1, ""}}, "line 1: " + end},
        {"\t x y \t\r\n", {{1, "x y"}}, "line 2: " + end},
        {"ok\r\nb\x01"
         "d\r\n",
         {{1, "ok"}},
         "line 2: byte 0x01 is not allowed in a value"},
        {"\x7F", {}, "line 1: byte 0x7F is not allowed in a value"},
        {"a\xC3\xA9", {}, "line 1: byte 0xC3 is not allowed in a value"},
        {std::string("\0", 1), {}, "line 1: byte 0x00 is not allowed in a value"},
    };
    for (const auto& c : cases) {
        const auto [fields, failure] = AllFields(c.text);
        EXPECT_EQ(fields, c.fields) << c.text;
        EXPECT_EQ(failure, c.failure) << c.text;
    }
}

TEST(FieldReader, TakesFieldsOfUpTo4096BytesSpacesIncluded)
{
    const std::string longest = std::string(4095, ' ') + "7";
    const std::string text = longest + "\r\n" + std::string(4097, ' ') + "\r\n";
    FieldReader reader(text);
    EXPECT_EQ(reader.Next(), "7");
    try {
        (void)reader.Next();
        FAIL() << "a field of 4097 bytes was read";
    } catch (const FieldError& e) {
        EXPECT_STREQ(e.what(), "value longer than 4096 bytes");
        EXPECT_EQ(reader.Line(), 2);
    }
}

TEST(FieldConversion, ReadsDecimalNumbersRoundingTiesToEven)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"0", 0},
        {"5", 5},
        {"+7", 7},
        {"-5", -5},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"-3.5", -4},
        {"-0.4", 0},
        {"0.5", 0},
        {"1.5", 2},
        {"2.51", 3},
        {"2.4999", 2},
        {"2.50000001", 3},
        {"16.", 16},
        {".6", 1},
        {"007", 7},
        {"-0", 0},
        {"32767", 32767},
        {"32767.4", 32767},
        {"-32768", -32768},
        {"-32768.5", -32768},
        {"00000000000000000000000000000012", 12},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ToInt16(text), value) << text;
        EXPECT_EQ(ToInt32(text), value) << text;
    }
    EXPECT_EQ(ToInt32("2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ToInt32("-2147483648.5"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToInt32("40000"), 40000);
}

TEST(FieldConversion, RefusesOtherTextTheWordsTrueAndFalseAndValuesOutOfRange)
{
    for (const char* text : {"True", "False", "true", "abc", "1e3", "0x10", "&H10", ".", "+", "-", "1.2.3", "1 2",
                             "- 1", "1-", "\"5\"", "5a", "#TRUE#"}) {
        EXPECT_THROW((void)ToInt16(text), FieldError) << text;
        EXPECT_THROW((void)ToInt32(text), FieldError) << text;
    }
    for (const char* text : {"32768", "32767.5", "-32769", "-32768.6", "99999999999999999999999"})
        EXPECT_THROW((void)ToInt16(text), FieldError) << text;
    for (const char* text : {"2147483648", "2147483647.5", "-2147483649", "99999999999999999999999"})
        EXPECT_THROW((void)ToInt32(text), FieldError) << text;
    const auto reason = [](const char* text) -> std::string {
        try {
            (void)ToInt16(text);
        } catch (const FieldError& e) {
            return e.what();
        }
        return "no failure";
    };
    EXPECT_EQ(reason("True"), "'True' is not a number");
    EXPECT_EQ(reason("70000"), "'70000' is outside -32768..32767");
}

TEST(FieldConversion, ReadsBooleansFromWordsAndNumbers)
{
    for (const char* text : {"True", "1", "-1", "0.4", "2.5", "+3", "99999999999999999999"})
        EXPECT_TRUE(ToBoolean(text)) << text;
    for (const char* text : {"False", "", "0", "-0", "0.0", "+0.000"})
        EXPECT_FALSE(ToBoolean(text)) << text;
    for (const char* text : {"true", "FALSE", "yes", "#TRUE#", "1e1", "."})
        EXPECT_THROW((void)ToBoolean(text), FieldError) << text;
}

TEST(ApplySettingsText, NamesTheLineOfTheFailingValue)
{
    const struct {
        std::string text;
        std::string failure;
    } cases[] = {
        {Join(DefaultLinesWith(5, " 17 ")), "line 5: level 17 is outside 0..16"},
        {Join(DefaultLinesWith(1, " 2 ")), "line 1: no send-mode button 2"},
        {Join(DefaultLinesWith(2, " 7 ")), "line 2: number of colours 7 is outside 1..6"},
        {Join(DefaultLinesWith(2, " 0 ")), "line 2: number of colours 0 is outside 1..6"},
        {Join(DefaultLinesWith(24, " 3 ")), "line 24: check box value 3 is outside 0..2"},
        {Join(DefaultLinesWith(23, "True")), "line 23: 'True' is not a number"},
        {Join(DefaultLinesWith(21, "yes")), "line 21: 'yes' is not True, False or a number"},
        // The comma makes one more field; "False" then lands in the first check box.
        {Join(DefaultLinesWith(3, " 16, 0 ")), "line 21: 'False' is not a number"},
        {Join({" 0 ", " 6 ", " 1 "}), "line 4: the file ends before this value"},
    };
    for (const auto& c : cases) {
        FakeControls controls;
        try {
            ApplySettingsText(controls, c.text);
            ADD_FAILURE() << "no failure for " << c.failure;
        } catch (const SettingsLineError& e) {
            EXPECT_EQ(std::string(e.what()), c.failure);
        }
    }
}

TEST(ApplySettingsText, AssignsInFileOrderAndRunsEachHandlerBeforeTheNextRead)
{
    std::vector<std::string> lines = DefaultLines();
    lines[0] = " 1 ";
    lines[1] = " 2 ";
    lines[3] = " 1 ";   // slot 0 green changes: its preview is refreshed
    lines[20] = "True"; // collapsed: the button is pressed
    lines[21] = " 1 ";  // chkFontTags on: chkFinalFontTag is disabled
    FakeControls controls;
    ApplySettingsText(controls, Join(lines));
    const std::vector<std::string> expected = {
        "send 1",    "count 2",   "apply count", "R0 16",     "G0 1",
        "preview 0", "B0 0",      "R1 16",       "G1 8",      "B1 0",
        "R2 15",     "G2 15",     "B2 0",        "R3 0",      "G3 15",
        "B3 0",      "R4 0",      "G4 0",        "B4 16",     "R5 8",
        "G5 0",      "B5 8",      "press",       "check 0 1", "final tag disabled",
        "check 1 0", "check 2 1",
    };
    EXPECT_EQ(controls.events, expected);
    EXPECT_EQ(controls.state.caption, u"4");
}
