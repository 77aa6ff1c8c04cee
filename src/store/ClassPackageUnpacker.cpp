#include "store/ClassPackageUnpacker.h"

#include <fcntl.h>
#include <libdeflate.h>
#include <sys/mman.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "core/GbkText.h"
#include "core/UniqueFd.h"
#include "store/SafeFolders.h"

namespace ov {
namespace {

constexpr int kWorkers = 2;
// Members are in flight together only while their buffers fit in this budget.
constexpr int64_t kMemoryBudget = int64_t{48} << 20;
// Members above the budget are inflated in slices of this size instead of
// whole: holding both the input and the output of a very large member would
// cost twice its size.
constexpr size_t kSlice = size_t{1} << 20;
// Workers that have not moved on for this long are left behind: a write into a
// hung file system must not freeze the caller, which is the player's window.
constexpr std::chrono::seconds kStallLimit{60};

bool Streamed(const ClassMember& member) {
    return member.unpackedSize > kMemoryBudget || member.compressedSize > kMemoryBudget;
}

// The memory a member holds while it is unpacked: its input and its output.
int64_t Footprint(const ClassMember& member) {
    return Streamed(member) ? 2 * static_cast<int64_t>(kSlice) : member.compressedSize + member.unpackedSize;
}

enum class State : uint8_t { Pending, Done, Failed };

struct Decompressor {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    ~Decompressor() { libdeflate_free_decompressor(d); }
};

// Memory a worker keeps from member to member, one for the input and one for
// the output. Fresh memory of a few megabytes comes from the kernel page by
// page, and those page faults cost as much as the inflating; kept memory
// faults once. It grows at least twofold, and to kKeptLimit at once for a
// member of kLargeMember or more, so that members of rising sizes do not each
// bring fresh memory. Memory above kKeptLimit is handed back after its
// member, so the budget still holds.
class KeptBuffer {
public:
    std::byte* Get(size_t size) {
        if (size > capacity_) {
            memory_.reset();
            start_ = nullptr;
            const size_t grown = size >= kLargeMember ? kKeptLimit : std::min(2 * capacity_, kKeptLimit);
            capacity_ = 0;  // until the new memory is there: allocating may throw
            const size_t capacity = std::max(size, grown);
            start_ = Allocate(capacity);
            capacity_ = capacity;
        }
        return start_;
    }

    void Done() {
        if (capacity_ <= kKeptLimit) return;
        memory_.reset();
        start_ = nullptr;
        capacity_ = 0;
    }

private:
    static constexpr size_t kKeptLimit = size_t{8} << 20;
    static constexpr size_t kLargeMember = size_t{1} << 20;
    static constexpr size_t kHugePage = size_t{2} << 20;

    // Megabytes go on huge pages where the system offers them, which takes a
    // few faults for the whole buffer instead of one for every 4 KiB. The
    // memory is asked for with room to align its start, which costs address
    // space only.
    std::byte* Allocate(size_t size) {
        if (size < kLargeMember) {
            memory_ = std::make_unique_for_overwrite<std::byte[]>(size);
            return memory_.get();
        }
        const size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
        memory_ = std::make_unique_for_overwrite<std::byte[]>(rounded + kHugePage);
        const auto at = reinterpret_cast<uintptr_t>(memory_.get());
        auto* start = reinterpret_cast<std::byte*>((at + kHugePage - 1) / kHugePage * kHugePage);
        ::madvise(start, rounded, MADV_HUGEPAGE);
        return start;
    }

    std::unique_ptr<std::byte[]> memory_;
    std::byte* start_ = nullptr;
    size_t capacity_ = 0;
};

std::string JoinedPath(const ClassMember& member) {
    std::string joined;
    for (const auto& part : member.path) joined += part + '/';
    return joined;
}

// A member whose file a later member replaces need not be written at all;
// skipping it keeps the later one on disk whichever worker finishes first.
std::vector<bool> ReplacedMembers(std::span<const ClassMember> members) {
    std::unordered_map<std::string, size_t> last;
    for (size_t i = 0; i < members.size(); ++i) last[JoinedPath(members[i])] = i;
    std::vector<bool> replaced(members.size());
    for (size_t i = 0; i < members.size(); ++i) replaced[i] = last[JoinedPath(members[i])] != i;
    return replaced;
}

std::string MemberName(size_t index, const ClassMember& member) {
    return "member " + std::to_string(index) + " (" + GbkToUtf8(member.name) + ")";
}

// A worker may outlive the call that started it (see kStallLimit), so the job
// owns everything a worker touches: the mapping, the member list and its own
// descriptor of the destination.
class Job {
public:
    Job(std::shared_ptr<const ClassPackageFile> file, std::span<const std::byte> data,
        std::span<const ClassMember> members, int rootFd)
        : file_(std::move(file)), data_(data), members_(members.begin(), members.end()),
          rootFd_(::fcntl(rootFd, F_DUPFD_CLOEXEC, 0)), replaced_(ReplacedMembers(members)),
          states_(members.size(), State::Pending), errors_(members.size()), written_(members.size()) {
    }

    void Work() {
        Decompressor inflater;
        KeptBuffer input;
        KeptBuffer output;
        // A member once taken is always finished: the reporter waits for every
        // member before the first failure.
        while (!stop_.load()) {
            const size_t i = next_.fetch_add(1);
            if (i >= members_.size()) break;
            const int64_t size = Footprint(members_[i]);
            Acquire(size);
            std::string error = "not enough memory";
            if (inflater.d) {
                try {
                    error = replaced_[i] ? std::string() : Unpack(inflater.d, input, output, i);
                } catch (const std::bad_alloc&) {
                }
                input.Done();
                output.Done();
            }
            Finish(i, size, std::move(error));
        }
        std::lock_guard lock(mutex_);
        --running_;
        changed_.notify_all();
    }

    void Started() {
        std::lock_guard lock(mutex_);
        ++running_;
    }

    // The number of members written before the first failure, and why that one failed.
    UnpackResult Report(const std::function<void(size_t)>& finished,
                        const std::function<void(size_t, int64_t)>& writing) {
        for (size_t i = 0; i < members_.size(); ++i) {
            std::unique_lock lock(mutex_);
            for (int64_t shown = 0;;) {
                if (!WaitWhileMoving(lock, [&] { return states_[i] != State::Pending || written_[i] != shown; }))
                    return {i, MemberName(i, members_[i]) + ": its file stopped being written"};
                if (states_[i] != State::Pending) break;
                shown = written_[i];
                lock.unlock();
                writing(i, shown);
                lock.lock();
            }
            const bool ok = states_[i] == State::Done;
            lock.unlock();
            if (!ok) return {i, MemberName(i, members_[i]) + ": " + errors_[i]};
            finished(i);
        }
        return {members_.size(), {}};
    }

    // Stops handing out members; true once every worker has left, false when
    // one stopped moving and must be left behind.
    bool Stop() {
        stop_.store(true);
        std::unique_lock lock(mutex_);
        return WaitWhileMoving(lock, [&] { return running_ == 0; });
    }

private:
    // Waits for `done`, for as long as the workers keep making progress.
    template <typename Done>
    bool WaitWhileMoving(std::unique_lock<std::mutex>& lock, Done done) {
        for (uint64_t seen = progress_.load(); !changed_.wait_for(lock, kStallLimit, done); seen = progress_.load())
            if (progress_.load() == seen) return false;
        return true;
    }

    // Empty when the member was written, else why not.
    std::string Unpack(libdeflate_decompressor* inflater, KeptBuffer& input, KeptBuffer& output, size_t index) {
        const ClassMember& member = members_[index];
        const auto size = static_cast<size_t>(member.unpackedSize);
        const auto packed = data_.subspan(static_cast<size_t>(member.offset), static_cast<size_t>(member.compressedSize));
        if (Streamed(member)) {
            UniqueFd out = CreateMemberFile(member);
            if (!out) return WhyNotCreated(errno);
            return InflateInSlices(packed, size, out.get(), index);
        }
        std::byte* in = input.Get(packed.size());
        if (!file_->Read(packed, in)) return NotRead();
        std::byte* buffer = nullptr;
        if (size > 0) {
            buffer = output.Get(size);
            size_t actualIn = 0;
            size_t actualOut = 0;
            const auto result =
                libdeflate_zlib_decompress_ex(inflater, in, packed.size(), buffer, size, &actualIn, &actualOut);
            if (result != LIBDEFLATE_SUCCESS || actualOut != size) return kDamaged;
        } else if (!packed.empty() && !InflatesToNothing(inflater, {in, packed.size()})) {
            return kDamaged;
        }
        UniqueFd out = CreateMemberFile(member);
        if (!out) return WhyNotCreated(errno);
        if (WriteFull(out.get(), buffer, size) != size) return NotWritten();
        return {};
    }

    static constexpr const char* kDamaged = "its compressed data is damaged";

    static std::string NotRead() {
        return std::string("its compressed data could not be read: ") +
               (errno ? std::strerror(errno) : "the package has become shorter");
    }

    static std::string NotWritten() { return std::string("its file could not be written: ") + std::strerror(errno); }

    UniqueFd CreateMemberFile(const ClassMember& member) const {
        std::vector<std::string> path{"OV"};
        path.insert(path.end(), member.path.begin(), member.path.end());
        return CreateFileBelow(rootFd_.get(), path);
    }

    // zlib's streaming inflate, reading and writing a slice at a time, so
    // neither side of the member piles up.
    std::string InflateInSlices(std::span<const std::byte> packed, size_t size, int fd, size_t index) {
        z_stream z{};
        if (inflateInit(&z) != Z_OK) return "not enough memory";
        auto input = std::make_unique_for_overwrite<std::byte[]>(kSlice);
        auto slice = std::make_unique_for_overwrite<Bytef[]>(kSlice);
        size_t fed = 0;
        size_t written = 0;
        int rc = Z_OK;
        bool readFailed = false;
        bool writeFailed = false;
        while (rc == Z_OK) {
            if (z.avail_in == 0 && fed < packed.size()) {
                const size_t n = std::min(kSlice, packed.size() - fed);
                readFailed = !file_->Read(packed.subspan(fed, n), input.get());
                if (readFailed) break;
                z.next_in = reinterpret_cast<Bytef*>(input.get());
                z.avail_in = static_cast<uInt>(n);
                fed += n;
            }
            z.next_out = slice.get();
            z.avail_out = static_cast<uInt>(kSlice);
            rc = inflate(&z, Z_NO_FLUSH);
            const size_t produced = kSlice - z.avail_out;
            if ((rc != Z_OK && rc != Z_STREAM_END) || written + produced > size) break;
            writeFailed = WriteFull(fd, slice.get(), produced) != produced;
            if (writeFailed) break;
            written += produced;
            ++progress_;
            {
                std::lock_guard lock(mutex_);
                written_[index] = static_cast<int64_t>(written);
            }
            changed_.notify_all();
        }
        inflateEnd(&z);
        if (readFailed) return NotRead();
        if (writeFailed) return NotWritten();
        return rc == Z_STREAM_END && written == size ? std::string() : kDamaged;
    }

    static bool InflatesToNothing(libdeflate_decompressor* inflater, std::span<const std::byte> packed) {
        std::byte spare;
        size_t actualIn = 0;
        size_t actualOut = 0;
        return libdeflate_zlib_decompress_ex(inflater, packed.data(), packed.size(), &spare, 0, &actualIn,
                                             &actualOut) == LIBDEFLATE_SUCCESS;
    }

    void Acquire(int64_t size) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return inFlight_ == 0 || inFlight_ + size <= kMemoryBudget; });
        inFlight_ += size;
    }

    void Finish(size_t i, int64_t size, std::string error) {
        const bool ok = error.empty();
        if (!ok) stop_.store(true);
        {
            std::lock_guard lock(mutex_);
            inFlight_ -= size;
            states_[i] = ok ? State::Done : State::Failed;
            errors_[i] = std::move(error);
        }
        ++progress_;
        changed_.notify_all();
    }

    std::shared_ptr<const ClassPackageFile> file_;
    std::span<const std::byte> data_;
    std::vector<ClassMember> members_;
    UniqueFd rootFd_;
    std::vector<bool> replaced_;
    std::atomic<size_t> next_{0};
    std::atomic<bool> stop_{false};
    // Slices and members done, so that a long member is not taken for a stall.
    std::atomic<uint64_t> progress_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    int64_t inFlight_ = 0;
    int running_ = 0;
    std::vector<State> states_;
    std::vector<std::string> errors_;
    // Bytes of each member written so far, for members written in slices.
    std::vector<int64_t> written_;
};

}  // namespace

UnpackResult UnpackMembers(std::shared_ptr<const ClassPackageFile> file, std::span<const std::byte> data,
                           std::span<const ClassMember> members, int rootFd,
                           const std::function<void(size_t)>& finished,
                           const std::function<void(size_t, int64_t)>& writing) {
    if (members.empty()) return {};
    auto job = std::make_shared<Job>(std::move(file), data, members, rootFd);
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        job->Started();
        workers.emplace_back([job] { job->Work(); });
    }
    UnpackResult result = job->Report(finished, writing);
    const bool left = job->Stop();
    for (auto& worker : workers) left ? worker.join() : worker.detach();
    return result;
}

}  // namespace ov
