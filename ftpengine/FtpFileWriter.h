// The local file of a download, written on a thread of its own: the socket is
// read again while the disk takes the block before. Blocks go round between
// the socket side (the engine's thread) and the writer; the engine's thread
// waits only when every block is still queued for the disk. A small file is
// written in place and never starts the thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/Stream.h"

class TFtpFileWriter {
public:
    // Blocks in use at once: one filling from the socket, the others queued or being written.
    static constexpr int BlockCount = 3;

    TFtpFileWriter(std::unique_ptr<TStream> File, int BlockSize);
    ~TFtpFileWriter();
    TFtpFileWriter(const TFtpFileWriter&) = delete;
    TFtpFileWriter& operator=(const TFtpFileWriter&) = delete;

    int BlockSize() const { return blockSize_; }
    // The block to receive into next; waits while all of them are queued.
    char* Block();
    // The block from Block() holds Len bytes: they go to the file, in order.
    void Commit(int Len);
    // A write failed or fell short: the file on disk lacks bytes.
    bool Failed();
    // Waits until everything committed is on its way to the disk, then closes
    // the file; false when any write failed.
    bool Finish();
    // Drops what is still queued, waits for the write under way, closes the file.
    void Abandon();

private:
    void Run();
    bool WriteOut(const char* Data, int Len);
    void Stop(bool Drain);

    std::unique_ptr<TStream> file_;
    const int blockSize_;
    std::vector<std::unique_ptr<char[]>> blocks_;  // made as they are first needed
    std::mutex mu_;
    std::condition_variable cv_;
    std::deque<int> free_;    // blocks the socket side may fill
    int filling_ = -1;        // the block Block() gave out
    std::deque<std::pair<int, int>> queued_;  // block and length, oldest first
    bool stop_ = false;
    bool failed_ = false;
    int commits_ = 0;
    std::thread thread_;
};
