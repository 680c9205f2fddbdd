#include "resolve/UnescapeUrl.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tollivex {
namespace {

std::string ToHex(const std::string& bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 0x0F];
    }
    return out;
}

std::string FromHex(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// Inputs rich in escapes, near-escapes, '+' and bytes of every kind, some of
// them long enough to cross the 1023-byte limit after decoding.
std::vector<std::string> RandomInputs(size_t count)
{
    std::mt19937 random(20240611);
    const std::vector<std::string> pieces = {"%",   "%2",  "%41", "%4a", "%4A", "%zz", "%%",  "%0",       "%0D", "%0a",
                                             "%00", "%7F", "%7f", "%20", "%25", "%C3", "%ff", "+",        "a",   "Z",
                                             "9",   "/",   "?",   "&",   "=",   "#",   " ",   "\xc3\xa9", "g",   "F"};
    std::vector<std::string> inputs;
    for (size_t i = 0; i < count; ++i) {
        // Every tenth input is long and free of control bytes, so that only
        // the limit decides.
        const bool longInput = i % 10 == 0;
        const size_t length = longInput ? 1300 + random() % 1200 : random() % 40;
        std::string s;
        while (s.size() < length) {
            if (longInput)
                s += (random() % 4 == 0) ? "%41" : "b";
            else if (random() % 8 == 0)
                s += static_cast<char>(random() % 256);
            else
                s += pieces[random() % pieces.size()];
        }
        inputs.push_back(s);
    }
    return inputs;
}

TEST(UnescapeUrl, AgreesWithTheReferenceDecoderWithinTheLimit)
{
    const std::vector<std::string> inputs = RandomInputs(2000);
    const test::TempFolder folder;
    std::string in;
    for (const std::string& s : inputs)
        in += ToHex(s) + "\n";
    const std::string inPath = folder.Write("in.txt", in);
    const std::string outPath = folder.File("out.txt");
    const std::string script = folder.Write(
        "reference.py",
        "import sys, urllib.parse\n"
        "with open(sys.argv[1]) as src, open(sys.argv[2], 'w') as dst:\n"
        "    for line in src:\n"
        "        dst.write(urllib.parse.unquote_to_bytes(bytes.fromhex(line.strip())).hex() + '\\n')\n");
    const std::string command = "python3 \"" + script + "\" \"" + inPath + "\" \"" + outPath + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::ifstream out(outPath);
    std::string line;
    size_t index = 0, decodedCount = 0, overLimit = 0;
    while (std::getline(out, line)) {
        ASSERT_LT(index, inputs.size());
        const std::string reference = FromHex(line);
        bool control = false;
        for (const unsigned char c : reference)
            control = control || c < 0x20 || c == 0x7F;
        std::string expected = reference;
        if (control || reference.size() > kMaxUnescapedLength)
            expected.clear();
        overLimit += reference.size() > kMaxUnescapedLength;
        decodedCount += !expected.empty();
        EXPECT_EQ(UnescapeUrl(inputs[index]), expected) << "input #" << index << ": " << ToHex(inputs[index]);
        ++index;
    }
    EXPECT_EQ(index, inputs.size());
    // The inputs reach every outcome.
    EXPECT_GT(decodedCount, 200u);
    EXPECT_GT(overLimit, 10u);
}

TEST(UnescapeUrl, LimitEmptyAndUnsafeBytes)
{
    EXPECT_EQ(UnescapeUrl(""), "");
    EXPECT_EQ(UnescapeUrl(std::string(1023, 'a')), std::string(1023, 'a'));
    EXPECT_EQ(UnescapeUrl(std::string(1024, 'a')), "");
    std::string escaped;
    for (int i = 0; i < 1023; ++i)
        escaped += "%41";
    EXPECT_EQ(UnescapeUrl(escaped), std::string(1023, 'A')) << "the limit counts decoded bytes";
    EXPECT_EQ(UnescapeUrl(escaped + "%41"), "");
    EXPECT_EQ(UnescapeUrl("http://a/b?q=x%20y#f%2Fg"), "http://a/b?q=x y#f/g");
    EXPECT_EQ(UnescapeUrl("a+b%2"), "a+b%2");
    EXPECT_EQ(UnescapeUrl("%zz%"), "%zz%");
    EXPECT_EQ(UnescapeUrl("%2541"), "%41") << "decoded once";
    EXPECT_EQ(UnescapeUrl("a%0D%0Ab"), "");
    EXPECT_EQ(UnescapeUrl("a%00b"), "");
    EXPECT_EQ(UnescapeUrl(std::string("a\tb")), "");
    EXPECT_EQ(UnescapeUrl("%C3%A9"), "\xc3\xa9");
}

} // namespace
} // namespace tollivex
