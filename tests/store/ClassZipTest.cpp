#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <new>
#include <set>
#include <stop_token>
#include <thread>

#include "ClassZipTestPackage.h"
#include "store/ClassPackageFile.h"
#include "support/TestFiles.h"

// The largest single allocation, to show that a hostile index is turned away
// before anything of its stated size is claimed.
namespace {
std::atomic<size_t> gLargestAllocation{0};
}  // namespace

// The pair hands memory to malloc and back to free, which GCC cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
    size_t seen = gLargestAllocation.load();
    while (size > seen && !gLargestAllocation.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

namespace fs = std::filesystem;
using ovtest::RawMember;
using ovtest::RawPackage;
using ovtest::RecordingBar;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// A package file, a destination and a neighbour folder the package must never reach.
class ClassZipTest : public ::testing::Test {
protected:
    void SetUp() override { ovtest::WriteFile(root_ / "outside/keep.txt", "keep"); }

    bool Unpack(const std::string& bytes, RecordingBar* bar = nullptr) {
        ovtest::WriteFile(package_, bytes);
        return UnpackFile(package_, bar);
    }
    bool UnpackFile(const fs::path& package, RecordingBar* bar) {
        ov::TClassZip zip;
        return zip.Unpack(package.string(), dest_.string(), bar);
    }
    // Every file below the test folder, except the package and the neighbour's own file.
    std::set<std::string> FilesWritten() const {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(root_.path()))
            if (entry.is_symlink() || !entry.is_directory()) files.insert(entry.path().lexically_relative(root_.path()).generic_string());
        files.erase("package.ovpk");
        EXPECT_EQ(files.erase("outside/keep.txt"), 1U);
        EXPECT_EQ(ovtest::ReadFile(root_ / "outside/keep.txt"), "keep");
        return files;
    }
    std::string Read(const std::string& relative) const { return ovtest::ReadFile(dest_ / "OV" / relative); }

    ovtest::TempDir root_;
    fs::path package_ = root_ / "package.ovpk";
    fs::path dest_ = root_ / "dest";
};

TEST_F(ClassZipTest, EmptyPackageRunsTheBarThroughItsStepsAndWritesNothing) {
    RecordingBar bar;
    EXPECT_TRUE(Unpack(RawPackage{}.Bytes(), &bar));
    EXPECT_THAT(bar.calls, ElementsAre("min 0", "pos 0", "pos 1", "pos 2", "pos 3", "pos 4", "pos 5", "pos 6",
                                       "max 6", "pos 6", "pos 0"));
    EXPECT_TRUE(FilesWritten().empty());
    EXPECT_FALSE(fs::exists(dest_));
}

TEST_F(ClassZipTest, BlankPackageNameFinishesWithoutReadingAnything) {
    RecordingBar bar;
    bar.maximum = 40;
    ov::TClassZip zip;
    EXPECT_TRUE(zip.Unpack("  ", dest_.string(), &bar));
    EXPECT_THAT(bar.calls, ElementsAre("min 0", "pos 0", "pos 1", "pos 40", "pos 0"));
}

TEST_F(ClassZipTest, MembersLandBelowOvWithTheirFoldersAndTheBarMovesPerMember) {
    dest_ = root_ / "dest/letter";
    RecordingBar bar;
    const std::string picture(70000, 'p');
    EXPECT_TRUE(Unpack(RawPackage{{RawMember::Of("Class\\Pic\\a.jpg", picture), RawMember::Of("words.db", "")}}.Bytes(),
                       &bar));
    EXPECT_THAT(bar.calls, ElementsAre("min 0", "pos 0", "pos 1", "pos 2", "pos 3", "pos 4", "pos 5", "pos 6",
                                       "max 8", "pos 7", "pos 8", "pos 8", "pos 0"));
    EXPECT_EQ(FilesWritten(), (std::set<std::string>{"dest/letter/OV/Class/Pic/a.jpg", "dest/letter/OV/words.db"}));
    EXPECT_EQ(Read("Class/Pic/a.jpg"), picture);
    EXPECT_EQ(Read("words.db"), "");
}

TEST_F(ClassZipTest, NameLinesMayEndWithAnyLineBreak) {
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        RawPackage package{{RawMember::Of("Class\\a.txt", "A"), RawMember::Of("Class\\b.txt", "B")}};
        package.lineEnd = lineEnd;
        EXPECT_TRUE(Unpack(package.Bytes()));
        EXPECT_EQ(Read("Class/a.txt") + Read("Class/b.txt"), "AB");
        fs::remove_all(dest_);
    }
}

TEST_F(ClassZipTest, UnpackingAgainReplacesFilesAndALaterDuplicateWins) {
    EXPECT_TRUE(Unpack(RawPackage{{RawMember::Of("Class\\a.txt", "a longer first text")}}.Bytes()));
    EXPECT_TRUE(Unpack(RawPackage{{RawMember::Of("Class\\a.txt", "one"), RawMember::Of("Class\\b.txt", "b"),
                                   RawMember::Of("Class/a.txt", "two")}}
                           .Bytes()));
    EXPECT_EQ(Read("Class/a.txt"), "two");
}

TEST_F(ClassZipTest, ManyMembersReportInMemberOrder) {
    RawPackage package;
    std::vector<std::string> expected{"min 0", "pos 0", "pos 1", "pos 2", "pos 3", "pos 4", "pos 5", "pos 6", "max 306"};
    for (int i = 0; i < 300; ++i) {
        package.members.push_back(RawMember::Of("Class\\m" + std::to_string(i), std::string(i * 97, char('a' + i % 26))));
        expected.push_back("pos " + std::to_string(7 + i));
    }
    expected.insert(expected.end(), {"pos 306", "pos 0"});
    RecordingBar bar;
    EXPECT_TRUE(Unpack(package.Bytes(), &bar));
    EXPECT_THAT(bar.calls, ElementsAreArray(expected));
    EXPECT_EQ(Read("Class/m299"), std::string(299 * 97, char('a' + 299 % 26)));
}

// Members above the in-memory budget are inflated in slices; they must come out
// whole and be held to their stated size like any other member.
TEST_F(ClassZipTest, VeryLargeMembersAreInflatedInSlices) {
    std::string big(64 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>("lesson audio "[i % 13] + (i >> 20));
    const RawMember whole = RawMember::Of("Class\\Video\\big.avi", big);
    EXPECT_TRUE(Unpack(RawPackage{{whole, RawMember::Of("Class\\after.txt", "after")}}.Bytes()));
    EXPECT_TRUE(ovtest::ReadFile(dest_ / "OV/Class/Video/big.avi") == big);
    EXPECT_EQ(Read("Class/after.txt"), "after");

    RawMember truncated = whole;
    truncated.packed.resize(truncated.packed.size() / 2);
    RawMember understated = whole;
    understated.unpacked -= 1;
    for (const auto& bad : {truncated, understated})
        EXPECT_FALSE(Unpack(RawPackage{{bad}}.Bytes()));
}

// A member of a gigabyte takes long to write: the bar moves while it is
// written, one step for each 64 MiB, before it stands on the member's end.
TEST_F(ClassZipTest, LargeMembersMoveTheBarWhileTheyAreWritten) {
    RecordingBar bar;
    const std::string big(130 << 20, '\0');
    EXPECT_TRUE(Unpack(RawPackage{{RawMember::Of("Class\\big.avi", big), RawMember::Of("Class\\a.txt", "a")}}.Bytes(),
                       &bar));
    const auto max = std::find(bar.calls.begin(), bar.calls.end(), "max 10");
    ASSERT_NE(max, bar.calls.end());
    std::vector<int> positions;
    for (auto call = max + 1; call != bar.calls.end(); ++call) positions.push_back(std::stoi(call->substr(4)));
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    ASSERT_GE(positions.size(), 4u);
    EXPECT_THAT(std::vector<int>(positions.end() - 3, positions.end()), ElementsAre(9, 10, 0));
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end() - 1));
    EXPECT_TRUE(std::count(positions.begin(), positions.end(), 7) || std::count(positions.begin(), positions.end(), 8))
        << "no step inside the large member";
    EXPECT_EQ(fs::file_size(dest_ / "OV/Class/big.avi"), big.size());
}

// Unpacking never takes the last of the disk: a package that would leave
// less than the room kept free is refused before anything is written.
TEST_F(ClassZipTest, PackagesThatWouldFillTheDiskAreRefusedBeforeWriting) {
    const std::string package = RawPackage{{RawMember::Of("Class\\a.txt", std::string(3 << 20, 'a'))}}.Bytes();
    ovtest::WriteFile(package_, package);
    RecordingBar bar;
    ov::TClassZip zip;
    zip.KeepFreeBytes = INT64_MAX / 2;
    std::string error;
    EXPECT_FALSE(zip.Unpack(package_.string(), dest_.string(), &bar, &error));
    EXPECT_THAT(error, ::testing::HasSubstr("not enough free space"));
    EXPECT_EQ(bar.position, 6);
    EXPECT_TRUE(FilesWritten().empty());
    EXPECT_FALSE(fs::exists(dest_));
    zip.KeepFreeBytes = 0;
    EXPECT_TRUE(zip.Unpack(package_.string(), dest_.string(), &bar));
}

// The same on a real small file system, where this test may mount one.
TEST_F(ClassZipTest, ASmallFileSystemRefusesWhatDoesNotFit) {
    const fs::path small = root_ / "small";
    fs::create_directories(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=16m") != 0) GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        fs::path path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{small};
    dest_ = small / "A";
    ov::TClassZip zip;
    EXPECT_FALSE(Unpack(RawPackage{{RawMember::Of("Class\\a.txt", "a")}}.Bytes())) << "512 MiB must stay free";
    zip.KeepFreeBytes = 0;
    ovtest::WriteFile(package_, RawPackage{{RawMember::Of("Class\\big.avi", std::string(20 << 20, '\0'))}}.Bytes());
    EXPECT_FALSE(zip.Unpack(package_.string(), dest_.string(), nullptr));
    EXPECT_FALSE(fs::exists(dest_));
    ovtest::WriteFile(package_, RawPackage{{RawMember::Of("Class\\small.txt", std::string(1 << 20, 's'))}}.Bytes());
    EXPECT_TRUE(zip.Unpack(package_.string(), dest_.string(), nullptr));
}

// Each case spoils member 1 of three or the package as a whole.
struct Spoiled {
    const char* what;
    std::function<std::string(const fs::path& root)> bytes;
    std::set<std::string> written;
    int lastPosition;
};

RawPackage ThreeMembers(RawMember middle) {
    return RawPackage{{RawMember::Of("Class\\first.txt", "first"), std::move(middle), RawMember::Of("Class\\third.txt", "third")}};
}

std::string WithMiddle(RawMember middle) { return ThreeMembers(std::move(middle)).Bytes(); }

std::string WithName(std::string name) { return WithMiddle(RawMember::Of(std::move(name), "evil")); }

RawMember Stated(std::string_view content, int32_t unpacked) {
    RawMember m = RawMember::Of("Class\\bad.txt", content);
    m.unpacked = unpacked;
    return m;
}

const std::set<std::string> kFirstOnly{"dest/OV/Class/first.txt"};

const Spoiled kSpoiled[] = {
    {"parent folder name", [](auto&) { return WithName("..\\..\\evil.txt"); }, kFirstOnly, 8},
    {"parent folder inside the name", [](auto&) { return WithName("Class\\..\\..\\..\\outside\\evil.txt"); }, kFirstOnly, 8},
    {"absolute name", [](auto& root) { return WithName((root / "outside/evil.txt").string()); }, kFirstOnly, 8},
    {"name from the root folder", [](auto&) { return WithName("\\evil.txt"); }, kFirstOnly, 8},
    {"drive name", [](auto&) { return WithName("C:\\evil.txt"); }, kFirstOnly, 8},
    {"empty name", [](auto&) { return WithName(""); }, kFirstOnly, 8},
    {"inflates short", [](auto&) { return WithMiddle(Stated("12345", 10)); }, kFirstOnly, 8},
    {"inflates long", [](auto&) { return WithMiddle(Stated("12345", 3)); }, kFirstOnly, 8},
    {"not zlib data",
     [](auto&) {
         RawMember m = Stated("", 5);
         m.packed = "not zlib data";
         return WithMiddle(m);
     },
     kFirstOnly, 8},
    {"absurd unpacked size",
     [](auto&) {
         RawMember m = Stated("", INT32_MAX);
         m.packed = "0123456789";
         return WithMiddle(m);
     },
     kFirstOnly, 8},
    {"negative unpacked size", [](auto&) { return WithMiddle(Stated("12345", -1)); }, kFirstOnly, 8},
    {"data past the data block",
     [](auto&) {
         RawMember m = Stated("12345", 5);
         m.offset = 1 << 20;
         return WithMiddle(m);
     },
     kFirstOnly, 8},
    {"negative offset",
     [](auto&) {
         RawMember m = Stated("12345", 5);
         m.offset = -8;
         return WithMiddle(m);
     },
     kFirstOnly, 8},
    {"size table shorter than the count",
     [](auto&) {
         RawPackage p = ThreeMembers(Stated("x", 1));
         p.cut[0] = 4;
         return p.Bytes();
     },
     kFirstOnly, 8},
    {"fewer name lines than members",
     [](auto&) {
         RawPackage p = ThreeMembers(Stated("x", 1));
         p.cut[1] = 17;  // "Class\first.txt\r\n"
         return p.Bytes();
     },
     kFirstOnly, 8},
    {"count far beyond the tables",
     [](auto&) {
         RawPackage p = ThreeMembers(Stated("x", 1));
         p.count = INT32_MAX;
         return p.Bytes();
     },
     {"dest/OV/Class/first.txt", "dest/OV/Class/bad.txt", "dest/OV/Class/third.txt"}, 10},
    {"negative count",
     [](auto&) {
         RawPackage p = ThreeMembers(Stated("x", 1));
         p.count = -3;
         return p.Bytes();
     },
     {}, 4},
    {"negative block size",
     [](auto&) {
         RawPackage p = ThreeMembers(Stated("x", 1));
         p.blockSizes[2] = -12;
         return p.Bytes();
     },
     {}, 5},
    {"block past the end of the file",
     [](auto&) {
         RawPackage p = ThreeMembers(Stated("x", 1));
         p.blockSizes[4] = INT32_MAX;
         return p.Bytes();
     },
     {}, 6},
    {"truncated file",
     [](auto&) {
         std::string bytes = ThreeMembers(Stated("x", 1)).Bytes();
         return bytes.substr(0, bytes.size() - 5);
     },
     {}, 6},
    {"shorter than the header", [](auto&) { return std::string(100, 'O'); }, {}, 3},
    {"empty file", [](auto&) { return std::string(); }, {}, 3},
};

TEST_F(ClassZipTest, SpoiledPackagesStopAtTheBadMemberAndStayInsideTheDestination) {
    for (const auto& c : kSpoiled) {
        SCOPED_TRACE(c.what);
        RecordingBar bar;
        gLargestAllocation = 0;
        EXPECT_FALSE(Unpack(c.bytes(root_.path()), &bar));
        EXPECT_LT(gLargestAllocation.load(), size_t{1} << 20);
        EXPECT_EQ(FilesWritten(), c.written);
        EXPECT_EQ(bar.position, c.lastPosition);
        fs::remove_all(dest_);
    }
}

TEST_F(ClassZipTest, MissingPackageFailsAfterTryingToOpenIt) {
    RecordingBar bar;
    EXPECT_FALSE(UnpackFile(root_ / "missing.ovpk", &bar));
    EXPECT_EQ(bar.position, 2);
    EXPECT_TRUE(FilesWritten().empty());
}

// Members are copied out of the file rather than read through the mapping of
// the index, so a package cut short while it is open fails the read where a
// mapped page would have brought the program down.
TEST_F(ClassZipTest, APackageCutShortAfterOpeningFailsItsReads) {
    ovtest::WriteFile(package_, RawPackage{{RawMember::Of("Class\\a.txt", std::string(100000, 'a'))}}.Bytes());
    ov::ClassPackageFile file;
    ASSERT_TRUE(file.Open(package_.string()));
    const auto bytes = file.Bytes();
    std::vector<std::byte> copy(bytes.size());
    ASSERT_TRUE(file.Read(bytes, copy.data()));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), copy.begin()));

    fs::resize_file(package_, bytes.size() / 2);
    EXPECT_TRUE(file.Read(bytes.first(bytes.size() / 2), copy.data()));
    EXPECT_FALSE(file.Read(bytes.subspan(bytes.size() / 4), copy.data()));
    EXPECT_EQ(errno, 0) << "a file cut short is no error of the system";
}

// Should the unpacker open a FIFO planted as a member's file, its worker
// blocks until a reader comes: this reader comes after a while, so that the
// test fails instead of hanging.
class FifoUnjammer {
public:
    explicit FifoUnjammer(fs::path fifo)
        : thread_([this, fifo = std::move(fifo)](std::stop_token stop) {
              std::mutex mutex;
              std::unique_lock lock(mutex);
              std::condition_variable_any().wait_for(lock, stop, std::chrono::seconds(5), [] { return false; });
              struct stat status {};
              if (!stop.stop_requested() && ::lstat(fifo.c_str(), &status) == 0 && S_ISFIFO(status.st_mode))
                  reader_ = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
          }) {}
    ~FifoUnjammer() {
        Finish();
        if (reader_ >= 0) ::close(reader_);
    }
    // True when a writer had to be woken.
    bool Finish() {
        thread_.request_stop();
        if (thread_.joinable()) thread_.join();
        return reader_ >= 0;
    }

private:
    int reader_ = -1;
    std::jthread thread_;
};

// Entries found where a member goes: links, special files and folders an
// attacker or an earlier unpacking left there.
struct Planted {
    const char* what;
    std::function<void(const fs::path& dest, const fs::path& outside)> plant;
    std::string member;
    const char* error;  // empty when the member replaces the entry
    std::set<std::string> written;
};

// `relative` below the destination, its folders made.
fs::path Spot(const fs::path& dest, const char* relative) {
    fs::create_directories((dest / relative).parent_path());
    return dest / relative;
}

const Planted kPlanted[] = {
    {"link as OV", [](auto& dest, auto& outside) { fs::create_symlink(outside, Spot(dest, "OV")); }, "keep.txt",
     "a symbolic link stands in the way", {"dest/OV"}},
    {"link as a folder", [](auto& dest, auto& outside) { fs::create_symlink(outside, Spot(dest, "OV/Class")); },
     "Class\\keep.txt", "a symbolic link stands in the way", {"dest/OV/Class"}},
    {"link as the file",
     [](auto& dest, auto& outside) { fs::create_symlink(outside / "keep.txt", Spot(dest, "OV/Class/a.txt")); },
     "Class\\a.txt", "a symbolic link stands in the way", {"dest/OV/Class/a.txt"}},
    {"hard link as the file",
     [](auto& dest, auto& outside) { fs::create_hard_link(outside / "keep.txt", Spot(dest, "OV/Class/a.txt")); },
     "Class\\a.txt", "", {"dest/OV/Class/a.txt"}},
    {"FIFO as the file", [](auto& dest, auto&) { ASSERT_EQ(::mkfifo(Spot(dest, "OV/Class/a.txt").c_str(), 0666), 0); },
     "Class\\a.txt", "a special file stands in the way", {"dest/OV/Class/a.txt"}},
    {"folder as the file", [](auto& dest, auto&) { fs::create_directories(Spot(dest, "OV/Class/a.txt")); },
     "Class\\a.txt", "a folder stands where a file goes", {}},
    {"file as a folder", [](auto& dest, auto&) { ovtest::WriteFile(Spot(dest, "OV/Class"), "file"); }, "Class\\a.txt",
     "a file stands where a folder goes", {"dest/OV/Class"}},
    {"name too long", [](auto&, auto&) {}, "Class\\" + std::string(300, 'n'), "name too long", {}},
};

TEST_F(ClassZipTest, EntriesPlantedBelowTheDestinationAreNeverWrittenThrough) {
    for (const auto& c : kPlanted) {
        SCOPED_TRACE(c.what);
        c.plant(dest_, root_ / "outside");
        const std::string& member = c.member;
        std::string error;
        ov::TClassZip zip;
        ovtest::WriteFile(package_, RawPackage{{RawMember::Of(member, "overwritten")}}.Bytes());
        FifoUnjammer unjammer(dest_ / "OV/Class/a.txt");
        const bool unpacked = zip.Unpack(package_.string(), dest_.string(), nullptr, &error);
        EXPECT_FALSE(unjammer.Finish()) << "the unpacking opened the FIFO";
        EXPECT_EQ(FilesWritten(), c.written);
        if (*c.error == '\0') {
            EXPECT_TRUE(unpacked) << error;
            EXPECT_EQ(Read("Class/a.txt"), "overwritten");
        } else {
            EXPECT_FALSE(unpacked);
            EXPECT_EQ(error, "member 0 (" + member + "): " + c.error);
        }
        fs::remove_all(dest_);
    }
}

TEST_F(ClassZipTest, TheDestinationItselfMayBeReachedThroughALink) {
    fs::create_directories(root_ / "real");
    fs::create_symlink(root_ / "real", dest_);
    EXPECT_TRUE(Unpack(RawPackage{{RawMember::Of("Class\\a.txt", "A")}}.Bytes()));
    EXPECT_EQ(ovtest::ReadFile(root_ / "real/OV/Class/a.txt"), "A");
}

}  // namespace
