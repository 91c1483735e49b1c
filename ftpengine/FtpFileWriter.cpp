#include "FtpFileWriter.h"

TFtpFileWriter::TFtpFileWriter(std::unique_ptr<TStream> File, int BlockSize)
    : file_(std::move(File)), blockSize_(BlockSize) {}

TFtpFileWriter::~TFtpFileWriter() { Abandon(); }

char* TFtpFileWriter::Block() {
    std::unique_lock<std::mutex> lock(mu_);
    if (filling_ < 0) {
        if (free_.empty() && static_cast<int>(blocks_.size()) < BlockCount) {
            blocks_.emplace_back(new char[static_cast<size_t>(blockSize_)]);
            free_.push_back(static_cast<int>(blocks_.size()) - 1);
        }
        cv_.wait(lock, [this] { return !free_.empty(); });
        filling_ = free_.front();
        free_.pop_front();
    }
    return blocks_[static_cast<size_t>(filling_)].get();
}

void TFtpFileWriter::Commit(int Len) {
    std::unique_lock<std::mutex> lock(mu_);
    if (filling_ < 0 || Len <= 0) return;
    int block = filling_;
    filling_ = -1;
    if (failed_ || !file_) {
        free_.push_back(block);  // the file is short already: nothing more goes in
        return;
    }
    if (commits_++ == 0) {
        // The first block: a file that fits in one never needs the thread.
        lock.unlock();
        bool ok = WriteOut(blocks_[static_cast<size_t>(block)].get(), Len);
        lock.lock();
        if (!ok) failed_ = true;
        free_.push_back(block);
        return;
    }
    queued_.emplace_back(block, Len);
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    cv_.notify_all();
}

bool TFtpFileWriter::Failed() {
    std::lock_guard<std::mutex> lock(mu_);
    return failed_;
}

bool TFtpFileWriter::WriteOut(const char* Data, int Len) {
    try {
        return file_->Write(Data, Len) == Len;
    } catch (...) {
        return false;
    }
}

void TFtpFileWriter::Run() {
    std::unique_lock<std::mutex> lock(mu_);
    for (;;) {
        cv_.wait(lock, [this] { return stop_ || !queued_.empty(); });
        if (queued_.empty()) return;  // stopped with nothing left to write
        std::pair<int, int> job = queued_.front();
        queued_.pop_front();
        bool skip = failed_;
        // Taken under the lock: Block() may grow blocks_ while this one is written.
        const char* data = blocks_[static_cast<size_t>(job.first)].get();
        lock.unlock();
        bool ok = skip || WriteOut(data, job.second);
        lock.lock();
        if (!ok) failed_ = true;
        free_.push_back(job.first);
        cv_.notify_all();
    }
}

void TFtpFileWriter::Stop(bool Drain) {
    {
        std::lock_guard<std::mutex> lock(mu_);
        if (!Drain) {
            for (auto& job : queued_) free_.push_back(job.first);
            queued_.clear();
        }
        stop_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
    file_.reset();
}

bool TFtpFileWriter::Finish() {
    Stop(true);
    std::lock_guard<std::mutex> lock(mu_);
    return !failed_;
}

void TFtpFileWriter::Abandon() { Stop(false); }
