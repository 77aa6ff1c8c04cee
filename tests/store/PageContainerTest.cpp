#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/CipherAndFiles.h"
#include "support/TestFiles.h"

namespace {

std::string LengthField(uint64_t length) {
    std::string field(8, '\0');
    for (int i = 0; i < 8; ++i) field[i] = static_cast<char>(length >> (8 * i));
    return field;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

TEST(DecryptFile, DecryptsTheFips197ExampleBlock) {
    ovtest::TempDir dir;
    const std::string ciphertext = Bytes({0x69, 0xc4, 0xe0, 0xd8, 0x6a, 0x7b, 0x04, 0x30,
                                          0xd8, 0xcd, 0xb7, 0x80, 0x70, 0xb4, 0xc5, 0x5a});
    ovtest::WriteFile(dir / "page.ov", LengthField(16) + ciphertext);
    std::string key;
    for (int i = 0; i < 16; ++i) key += static_cast<char>(i);
    ov::DecryptFile(dir / "page.ov", dir / "page.ovb", key, 0);
    EXPECT_EQ(ovtest::ReadFile(dir / "page.ovb"),
              Bytes({0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff}));
}

TEST(DecryptFile, RoundTripsEveryKeyTypeAndDropsTheFill) {
    ovtest::TempDir dir;
    std::mt19937 random(7);
    for (size_t size : {size_t{0}, size_t{1}, size_t{16}, size_t{20}, size_t{65536 * 3 + 5}}) {
        std::string plain(size, ' ');
        for (char& c : plain) c = static_cast<char>(random());
        ovtest::WriteFile(dir / "plain", plain);
        for (int keyType : {0, 1, 2}) {
            ov::EncryptFile(dir / "plain", dir / "page.ov", "a key longer than any AES key size!", keyType);
            const auto container = ovtest::ReadFile(dir / "page.ov");
            EXPECT_EQ(container.substr(0, 8), LengthField(size));
            EXPECT_EQ((container.size() - 8) % 16, 0u);
            EXPECT_GE(container.size(), 24u);
            ov::DecryptFile(dir / "page.ov", dir / "page.ovb", "a key longer than any AES key size!", keyType);
            EXPECT_EQ(ovtest::ReadFile(dir / "page.ovb"), plain) << size << " bytes, key type " << keyType;
        }
    }
}

TEST(EncryptBuffer, WritesTheSameContainerAsEncryptFile) {
    ovtest::TempDir dir;
    for (const std::string& plain : {std::string(), std::string("lesson"), std::string(70000, 'w')}) {
        ovtest::WriteFile(dir / "plain", plain);
        ov::EncryptFile(dir / "plain", dir / "page.ov", "k", 1);
        const std::string container = ov::EncryptBuffer(plain, "k", 1);
        EXPECT_EQ(container, ovtest::ReadFile(dir / "page.ov"));
        EXPECT_EQ(ov::DecryptBuffer(container, "k", 1), plain);
    }
}

TEST(DecryptFile, StoredLengthCutsTheLastBlock) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "plain", std::string(32, 'x'));
    ov::EncryptFile(dir / "plain", dir / "page.ov", "k", 0);
    std::string container = ovtest::ReadFile(dir / "page.ov");
    container.replace(0, 8, LengthField(20));
    ovtest::WriteFile(dir / "page.ov", container);
    ov::DecryptFile(dir / "page.ov", dir / "page.ovb", "k", 0);
    EXPECT_EQ(ovtest::ReadFile(dir / "page.ovb"), std::string(20, 'x'));
}

TEST(DecryptFile, AWrongKeyIsNoError) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "plain", "<Lesson/>");
    ov::EncryptFile(dir / "plain", dir / "page.ov", "right", 0);
    ov::DecryptFile(dir / "page.ov", dir / "page.ovb", "wrong", 0);
    EXPECT_NE(ovtest::ReadFile(dir / "page.ovb"), "<Lesson/>");
}

std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A failed decryption must not cost the page that was there, nor leave a part of the new one.
TEST(DecryptFile, BadPayloadSizesLeaveTheDestinationAsItWas) {
    ovtest::TempDir dir;
    const std::string cases[] = {
        LengthField(0),                            // exactly the length field
        LengthField(10) + std::string(17, 'a'),   // not whole blocks
        LengthField(33) + std::string(32, 'a'),   // a length beyond the payload
        LengthField(~0ULL) + std::string(16, 'a'),
    };
    for (const auto& container : cases) {
        ovtest::WriteFile(dir / "page.ov", container);
        ovtest::WriteFile(dir / "page.ovb", "old content");
        try {
            ov::DecryptFile(dir / "page.ov", dir / "page.ovb", "k", 0);
            ADD_FAILURE() << "accepted a container of " << container.size() << " bytes";
        } catch (const ov::ECipherError& e) {
            EXPECT_STREQ(e.what(), "Invalid buffer size for decryption");
        }
        EXPECT_EQ(ovtest::ReadFile(dir / "page.ovb"), "old content");
        EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"page.ov", "page.ovb"}));
    }
}

TEST(DecryptFile, UnreadableSourceLeavesTheDestinationUntouched) {
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "short.ov", "1234567");
    ovtest::WriteFile(dir / "page.ovb", "old content");
    EXPECT_THROW(ov::DecryptFile(dir / "short.ov", dir / "page.ovb", "k", 0), ov::EStreamError);
    EXPECT_THROW(ov::DecryptFile(dir / "missing.ov", dir / "page.ovb", "k", 0), ov::EStreamError);
    EXPECT_EQ(ovtest::ReadFile(dir / "page.ovb"), "old content");
    EXPECT_THROW(ov::DecryptFile(dir / "missing.ov", dir / "new.ovb", "k", 0), ov::EStreamError);
    EXPECT_FALSE(std::filesystem::exists(dir / "new.ovb"));
}

}  // namespace
