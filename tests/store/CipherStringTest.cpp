#include <gtest/gtest.h>

#include <random>

#include "store/StoredSecrets.h"
#include "store/CipherAndFiles.h"

namespace {

struct DecipherCase {
    const char* text;
    const char* key;
    std::string expected;
};

TEST(DecipherString, EdgeCases) {
    const DecipherCase cases[] = {
        // x equal to the previous enciphered byte gives 255 ('K' ^ 0x4B = 0).
        {"004B", "", "\xFF"},
        // x of 0 after a previous byte of 255 gives 0.
        {"FF4B", "", std::string(1, '\0')},
        // Five digits give one character: the trailing digit is ignored.
        {"004B1", "", "\xFF"},
        {"004b", "", "\xFF"},
        // A plain x above prev is x - prev.
        {"0143", "A", "\x01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ov::DecipherString(c.text, c.key), c.expected) << c.text << " key " << c.key;
}

TEST(DecipherString, EmptyKeyUsesOnlyTheDefaultKeysFirstCharacter) {
    const std::string text = "10" "4B" "4B" "4B" "4B";
    std::string withEmpty = ov::DecipherString(text, "");
    std::string withDefault = ov::DecipherString(text, ov::kDefaultCipherKey);
    EXPECT_EQ(withEmpty.size(), 4u);
    EXPECT_EQ(withEmpty[0], withDefault[0]);  // both start with 'K'
    EXPECT_NE(withEmpty, withDefault);
    // With an empty key every byte is deciphered with 'K': 0x4B after 0x4B gives
    // 0 + 255 - 0x4B each time.
    EXPECT_EQ(withEmpty.substr(1), "\xB4\xB4\xB4");
}

TEST(DecipherString, RejectsDigitsThatAreNotHexadecimal) {
    for (const char* text : {"00ZZ", "G011", "0011 2", "", "0"})
        EXPECT_THROW(ov::DecipherString(text, ""), ov::EConvertError) << text;
}

TEST(EncipherString, IsTheInverseForEveryKeyAndSeed) {
    std::mt19937 random(42);
    for (int round = 0; round < 300; ++round) {
        std::string key(random() % 12, ' ');
        for (char& c : key) c = static_cast<char>(1 + random() % 255);
        std::string plain(1 + random() % 40, ' ');
        for (char& c : plain) c = static_cast<char>(1 + random() % 255);
        auto seed = static_cast<uint8_t>(random());
        std::string hex = ov::EncipherString(plain, key, seed);
        ASSERT_EQ(hex.size(), 2 * (plain.size() + 1));
        EXPECT_EQ(hex.substr(0, 2), ov::EncipherString("a", key, seed).substr(0, 2));
        EXPECT_EQ(ov::DecipherString(hex, key), plain);
    }
}

TEST(EncipherString, ZeroByteOnlyAfterAnEncipheredByteOf255) {
    EXPECT_EQ(ov::EncipherString(std::string(1, '\0'), "", 255), "FF4B");
    EXPECT_THROW(ov::EncipherString(std::string(1, '\0'), "", 5), ov::EConvertError);
    EXPECT_THROW(ov::EncipherString("", "", 5), ov::EConvertError);
    // A zero later in the text needs the byte before it enciphered as 255,
    // which only some seeds allow.
    std::string plain("a\0b", 3);
    EXPECT_EQ(ov::DecipherString(ov::EncipherString(plain, "key", 0x33), "key"), plain);
    EXPECT_THROW(ov::EncipherString(plain, "key", 9), ov::EConvertError);
}

TEST(StoredSecrets, DecipherToTheInstallationsValues) {
    const std::string defaultKey(ov::kDefaultCipherKey);
    EXPECT_EQ(ov::DecipherString(ov::kClassPackageSuffix, defaultKey), ".ovpk");
    EXPECT_EQ(ov::DecipherString(ov::kWordDbFileName, defaultKey), "/words.db");
    EXPECT_EQ(ov::DecipherString(ov::kCatalogueDbPassword, "").size(), 10u);
    EXPECT_EQ(ov::DecipherString(ov::kWordDbPassword, defaultKey).size(), 16u);
    EXPECT_EQ(ov::kLessonPageKey, ov::kCatalogueDbPassword);
}

}  // namespace
