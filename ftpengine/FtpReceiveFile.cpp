#include "FtpReceiveFile.h"

#include <windows.h>

class TFtpReceiveStream : public TStream {
public:
    explicit TFtpReceiveStream(std::shared_ptr<TFtpReceiveFile> File) : file_(std::move(File)) {}
    ~TFtpReceiveStream() override { file_->Release(); }
    int32_t Read(void*, int32_t) override { return 0; }
    int32_t Write(const void* Buffer, int32_t Count) override { return file_->Write(Buffer, Count); }
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override { return file_->Seek(Offset, Origin); }

private:
    std::shared_ptr<TFtpReceiveFile> file_;
};

TFtpReceiveFile::TFtpReceiveFile(std::string Name, int64_t ResumeAt, uint16_t ShareFlags)
    : name_(std::move(Name)), resumeAt_(ResumeAt), shareFlags_(ShareFlags) {}

bool TFtpReceiveFile::Check() {
    std::lock_guard<std::mutex> hold(lock_);
    if (resumeAt_ > 0) return OpenLocked();
    // A pipe or device is opened once only, when the data comes.
    if (name_.rfind("\\\\.\\", 0) == 0) return true;
    const DWORD attributes = GetFileAttributesA(name_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
        // Opened to write without cutting it: it is cut once the server agrees.
        try {
            TFileStream probe(name_, fmOpenWrite | shareFlags_);
        } catch (const std::exception&) {
            return false;
        }
        return true;
    }
    const size_t cut = name_.find_last_of("\\/");
    if (cut == std::string::npos || cut == 0) return true;
    std::string folder = name_.substr(0, cut);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    const DWORD f = GetFileAttributesA(folder.c_str());
    return f != INVALID_FILE_ATTRIBUTES && (f & FILE_ATTRIBUTE_DIRECTORY);
}

bool TFtpReceiveFile::Open() {
    std::lock_guard<std::mutex> hold(lock_);
    return OpenLocked();
}

bool TFtpReceiveFile::OpenLocked() {
    if (tried_) return made_;
    tried_ = true;
    try {
        if (resumeAt_ > 0) {
            file_ = std::make_unique<TFileStream>(name_, fmOpenWrite | shareFlags_);
            file_->Seek(resumeAt_, soBeginning);
        } else {
            file_ = std::make_unique<TFileStream>(name_, fmCreate);
            if (shareFlags_ != 0) {
                file_.reset();
                file_ = std::make_unique<TFileStream>(name_, fmOpenWrite | shareFlags_);
            }
        }
        made_ = true;
    } catch (const std::exception&) {
        file_.reset();
        made_ = false;
    }
    // An empty file accepted after its data connection closed: made, and done.
    if (released_) file_.reset();
    return made_;
}

int32_t TFtpReceiveFile::Write(const void* Buffer, int32_t Count) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!OpenLocked() || !file_) return 0;
    return file_->Write(Buffer, Count);
}

int64_t TFtpReceiveFile::Seek(int64_t Offset, TSeekOrigin Origin) {
    std::lock_guard<std::mutex> hold(lock_);
    // Asking where it stands does not make the file.
    if (!made_ || !file_) return 0;
    return file_->Seek(Offset, Origin);
}

void TFtpReceiveFile::Release() {
    std::lock_guard<std::mutex> hold(lock_);
    released_ = true;
    file_.reset();
}

std::unique_ptr<TStream> TFtpReceiveFile::Stream(const std::shared_ptr<TFtpReceiveFile>& File) {
    return std::make_unique<TFtpReceiveStream>(File);
}
