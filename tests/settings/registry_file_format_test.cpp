#include "settings/registry_file_format.h"

#include <gtest/gtest.h>

namespace {

constexpr auto kHklm = RegistryRoot::LocalMachine;
constexpr auto kHkcu = RegistryRoot::CurrentUser;

// Texts a careless format would bend: spaces at the ends, digits then letters, quotes,
// backslashes, control bytes, zero bytes, Korean, and bytes that are not UTF-8.
const std::vector<std::string> kHostileTexts = {
    "",
    "  16000",
    "16000  ",
    "250ms",
    "\"quoted\"",
    "\"",
    "\\",
    "C:\\Program Files\\x41\\\"",
    "\\x41",
    "a=b ; c # d [e]",
    std::string("nul\0inside", 10),
    std::string("\0", 1),
    "line\nbreak\r\n\ttab\x7f",
    "\x01\x1f",
    "사운드 설정",
    "\xff\xfe\x80 broken \xc3",
    "\xed\xa0\x80 surrogate",
    "\xc0\xaf overlong",
};

std::string AllBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
    return s;
}

RegistryDocument RoundTrip(const RegistryDocument& document) {
    const std::string text = FormatRegistryFile(document);
    const RegistryFileParse parsed = ParseRegistryFile(text);
    EXPECT_TRUE(parsed.document) << parsed.error << "\n" << text;
    return parsed.document.value_or(RegistryDocument{});
}

TEST(RegistryFileFormatTest, EveryByteOfNamesAndTextsRoundTrips) {
    RegistryDocument document;
    ASSERT_TRUE(document.CreateKey(kHklm, "SOFTWARE\\Corvell"));
    ASSERT_TRUE(document.CreateKey(kHklm, "SOFTWARE\\Corvell\\Drovane"));
    int i = 0;
    for (const std::string& text : kHostileTexts) {
        ASSERT_TRUE(document.WriteValue(kHklm, "SOFTWARE\\Corvell\\Drovane",
                                        std::to_string(i++) + "v", text));
        ASSERT_TRUE(document.WriteValue(kHklm, "SOFTWARE\\Corvell", text, "as a name"));
    }
    ASSERT_TRUE(document.WriteValue(kHklm, "SOFTWARE\\Corvell\\Drovane", "all bytes", AllBytes()));
    ASSERT_TRUE(document.CreateKey(kHkcu, "Software\\키 [with] \"odd\" ] names "));
    ASSERT_TRUE(
        document.WriteValue(kHkcu, "Software\\키 [with] \"odd\" ] names ", "", "default value"));

    const RegistryDocument back = RoundTrip(document);
    EXPECT_EQ(back, document);
    const std::string text = FormatRegistryFile(document);
    EXPECT_EQ(FormatRegistryFile(back), text) << "formatting is stable";
    EXPECT_EQ(back.ReadValue(kHklm, "SOFTWARE\\Corvell\\Drovane", "all bytes"), AllBytes());
}

TEST(RegistryFileFormatTest, FileIsReadableText) {
    RegistryDocument document;
    ASSERT_TRUE(document.CreateKey(kHklm, "SOFTWARE\\Corvell"));
    ASSERT_TRUE(document.CreateKey(kHklm, "SOFTWARE\\Corvell\\Drovane"));
    ASSERT_TRUE(document.WriteValue(kHklm, "SOFTWARE\\Corvell\\Drovane", "Frequency1", "16000"));
    ASSERT_TRUE(document.WriteValue(kHklm, "SOFTWARE\\Corvell\\Drovane", "Path",
                                    "C:\\a \"b\"\n사운드\xff"));
    const std::string text = FormatRegistryFile(document);
    EXPECT_NE(text.find("\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvell]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvell\\Drovane]\n"
                        "\"Frequency1\"=\"16000\"\n"
                        "\"Path\"=\"C:\\\\a \\\"b\\\"\\x0A사운드\\xFF\"\n"),
              std::string::npos)
        << text;
}

TEST(RegistryFileFormatTest, AcceptsWhatAPersonWouldWrite) {
    const RegistryFileParse parsed = ParseRegistryFile(
        "\xEF\xBB\xBF; comment\r\n"
        "# another\n"
        "\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvell\\Drovane]\r\n"
        "  \"Frequency1\" = \"12000\"  \r\n"
        "\t\"Step\"=\"\\x35\"\n"
        "\"Hex\"=\"\\x4a\\x4F\\x7a\\x7B\\x2f\"\n"
        "[HKEY_CURRENT_USER\\Software\\X]");
    ASSERT_TRUE(parsed.document) << parsed.error;
    EXPECT_EQ(parsed.document->ReadValue(kHklm, "SOFTWARE\\Corvell\\Drovane", "Frequency1"),
              "12000");
    EXPECT_EQ(parsed.document->ReadValue(kHklm, "software\\corvell\\DROVANE", "step"), "5")
        << "names match without regard to case";
    EXPECT_EQ(parsed.document->ReadValue(kHklm, "SOFTWARE\\Corvell\\Drovane", "Hex"), "JOz{/")
        << "hex digits in either case";
    EXPECT_TRUE(parsed.document->HasKey(kHkcu, "Software\\X"));
    EXPECT_FALSE(parsed.document->HasKey(kHklm, "Software\\X")) << "hives are separate";
}

TEST(RegistryFileFormatTest, RejectsAnythingUnclearWithTheLine) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\K]\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"\"a\"=\"b\"\n", "line 1: a value must follow a [key] line"},
        {"[HKEY_LOCAL_MACHINE\\K\n", "line 1: a key line must end with ]"},
        {"[HKEY_CLASSES_ROOT\\K]\n",
         "line 1: a key must start with HKEY_LOCAL_MACHINE\\ or HKEY_CURRENT_USER\\"},
        {"[HKEY_LOCAL_MACHINE]\n",
         "line 1: a key must start with HKEY_LOCAL_MACHINE\\ or HKEY_CURRENT_USER\\"},
        {"[HKEY_LOCAL_MACHINE\\a\\\\b]\n", "line 1: the key path is not valid"},
        {"[HKEY_LOCAL_MACHINE\\a\\]\n", "line 1: the key path is not valid"},
        {"[HKEY_LOCAL_MACHINE\\a\x01]\n", "line 1: the key path is not valid"},
        {key + "[HKEY_LOCAL_MACHINE\\k]\n", "line 2: the key appears twice"},
        {key + "\"a\"=\"1\"\n\"A\"=\"2\"\n", "line 3: the value appears twice in its key"},
        {key + "\"z\"=\"1\"\n\"Z\"=\"2\"\n", "line 3: the value appears twice in its key"},
        {key + "a=\"1\"\n", "line 2: a text in double quotes is expected"},
        {key + "\"a\"\"1\"\n", "line 2: = is expected after the name"},
        {key + "\"a\"=1\n", "line 2: a text in double quotes is expected"},
        {key + "\"a\"=\"1\n", "line 2: the closing double quote is missing"},
        {key + "\"a\"=\"1\" x\n", "line 2: nothing may follow the value's text"},
        {key + "\"a\"=\"\\n\"\n", "line 2: a backslash must be followed by \\, \" or xHH"},
        {key + "\"a\"=\"\\x4\"\n", "line 2: a backslash must be followed by \\, \" or xHH"},
        {key + "\"a\"=\"\\xg1\"\n", "line 2: a backslash must be followed by \\, \" or xHH"},
        {key + "\"a\"=\"\t\"\n", "line 2: a control character must be written as \\xHH"},
        {key + "\"a\"=\"caf\xe9\"\n", "the file is not UTF-8 text"},
        {std::string("\xff\xfe[\0H\0", 6), "the file is not UTF-8 text"},
    };
    for (const auto& c : cases) {
        const RegistryFileParse parsed = ParseRegistryFile(c.text);
        EXPECT_FALSE(parsed.document) << c.text;
        EXPECT_EQ(parsed.error, c.error) << c.text;
    }
}

// 100,000 values, near the size cap: all of them, in order; a name may be used again in another
// key, never twice in one, however far apart.
TEST(RegistryFileFormatTest, AFileNearTheSizeCapLoadsWhole) {
    std::string text = "[HKEY_LOCAL_MACHINE\\A]\n";
    for (int i = 0; i < 100000; ++i) text += "\"v" + std::to_string(i) + "\"=\"1\"\n";
    text += "[HKEY_LOCAL_MACHINE\\B]\n\"V0\"=\"2\"\n";
    const RegistryFileParse parsed = ParseRegistryFile(text);
    ASSERT_TRUE(parsed.document) << parsed.error;
    ASSERT_EQ(parsed.document->Keys().size(), 2u);
    const auto& values = parsed.document->Keys()[0].values;
    ASSERT_EQ(values.size(), 100000u);
    EXPECT_EQ(values.front().name + " " + values.back().name, "v0 v99999");
    EXPECT_EQ(parsed.document->ReadValue(kHklm, "B", "v0"), "2");
    EXPECT_EQ(ParseRegistryFile(text + "\"v0\"=\"3\"\n").error,
              "line 100004: the value appears twice in its key");
}

TEST(RegistryFileFormatTest, TruncatedFileNeverInventsValues) {
    RegistryDocument document;
    ASSERT_TRUE(document.CreateKey(kHklm, "SOFTWARE\\Corvell\\Drovane"));
    for (const std::string name : {"Frequency1", "Frequency2", "Delay", "Step"}) {
        ASSERT_TRUE(document.WriteValue(kHklm, "SOFTWARE\\Corvell\\Drovane", name, "1234" + name));
    }
    const std::string text = FormatRegistryFile(document);
    int rejected = 0;
    for (std::size_t cut = 0; cut < text.size(); ++cut) {
        const RegistryFileParse parsed = ParseRegistryFile(text.substr(0, cut));
        if (!parsed.document) {
            ++rejected;
            continue;
        }
        // A cut at a line's end leaves fewer values; every value left is whole.
        for (const auto& key : parsed.document->Keys()) {
            for (const auto& value : key.values) {
                EXPECT_EQ(document.ReadValue(key.root, key.path, value.name), value.data)
                    << "cut at " << cut;
            }
        }
    }
    EXPECT_GT(rejected, static_cast<int>(text.size()) / 3);
}

TEST(RegistryDocumentTest, KeysMustExistAndKeepTheirFirstSpelling) {
    RegistryDocument document;
    EXPECT_FALSE(document.WriteValue(kHklm, "SOFTWARE\\Z", "v", "1"))
        << "keys are not created by writes";
    EXPECT_FALSE(RegistryDocument::IsValidKeyPath("\\SOFTWARE"));
    EXPECT_FALSE(RegistryDocument::IsValidKeyPath("SOFTWARE\x7F")) << "a control character";
    EXPECT_TRUE(document.CreateKey(kHklm, "SOFTWARE\\Z"));
    const std::size_t empty = document.FileBytes();
    EXPECT_FALSE(document.CreateKey(kHklm, "software\\z")) << "already there";
    EXPECT_FALSE(document.HasKey(kHklm, "SOFTWARE")) << "a key is created alone";
    EXPECT_TRUE(document.WriteValue(kHklm, "software\\z", "Value", "1"));
    EXPECT_TRUE(document.WriteValue(kHklm, "SOFTWARE\\Z", "VALUE", "2"));
    ASSERT_EQ(document.Keys().size(), 1u);
    EXPECT_EQ(document.Keys()[0].path, "SOFTWARE\\Z");
    ASSERT_EQ(document.Keys()[0].values.size(), 1u);
    EXPECT_EQ(document.Keys()[0].values[0].name, "Value");
    EXPECT_EQ(document.Keys()[0].values[0].data, "2");
    EXPECT_FALSE(document.DeleteValue(kHklm, "SOFTWARE\\Z", "other"));
    EXPECT_FALSE(document.DeleteValue(kHklm, "SOFTWARE\\Y", "value")) << "no such key";
    EXPECT_FALSE(
        document.WriteValue(kHklm, "SOFTWARE\\Z", "big", std::string(kMaxRegistryFileBytes, 'x')))
        << "past the size cap";
    EXPECT_TRUE(document.DeleteValue(kHklm, "SOFTWARE\\Z", "value"));
    EXPECT_EQ(document.FileBytes(), empty) << "the file's size follows every change";
    EXPECT_EQ(document.ReadValue(kHklm, "SOFTWARE\\Z", "Value"), std::nullopt);
}

}  // namespace
