#pragma once
// A file read block after block by a thread of its own while the blocks before are worked
// on: copying a block out of the page cache costs about as much as a quick look at each of
// its bytes, and on a machine of two cores the two run side by side.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace marvolt {

class ReadAhead {
  public:
    // Reads the open file `fd` (owned by the caller, read from where it stands) in blocks of
    // `blockSize` bytes, each with room for `blockSize` bytes kept from the block before
    // it and for `padding` bytes after it. A thread of its own reads ahead when
    // `inThread`, and can be started; otherwise each block is read when it is asked for.
    ReadAhead(int fd, std::size_t blockSize, std::size_t padding, bool inThread);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    struct Block {
        char* data = nullptr;  // the bytes kept, then the block's own
        std::size_t size = 0;  // of both; `padding` more bytes may be written after them
        bool last = false;     // the file has nothing after them
    };
    // The next block, with the `keptSize` bytes at `kept` (in the block handed out before,
    // at most blockSize of them) put before its own; the block before is given back. Fails
    // with the texts of line reading when reading failed.
    Block next(const char* kept, std::size_t keptSize);

  private:
    struct Slot {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;  // read into it, after the room for kept bytes
        bool last = false;
        int error = 0;  // errno of a read that failed
    };
    // Fills the slot with the next block, as far as the file goes.
    void read(Slot& slot);
    // The thread's work: fills the free slots in turn until the file ends or it is stopped.
    void readAhead();

    int fd_;
    std::size_t blockSize_;
    std::vector<Slot> slots_;
    std::size_t current_ = 0;  // the slot handed out last
    bool started_ = false;
    bool ended_ = false;  // the last block is handed out

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::size_t> filled_;  // in file order
    std::deque<std::size_t> free_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace marvolt
