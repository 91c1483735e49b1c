// The local file of a download or listing, made only once the server has
// accepted the transfer: a refused RETR (550, 425) neither creates a file
// nor cuts an existing one. A resumed download opens its file at once, since
// that changes nothing in it.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "core/Stream.h"

class TFtpReceiveFile {
public:
    TFtpReceiveFile(std::string Name, int64_t ResumeAt, uint16_t ShareFlags);

    // Before the command goes out: false when the file could not be written
    // at all (no such folder, a file that cannot be opened for writing).
    bool Check();
    // The server accepted: the file is created, or cut, now (once; later
    // calls only report how that went).
    bool Open();
    // The stream the transfer writes through; its first write opens the
    // file too (the data may come before the server's 150 is read).
    static std::unique_ptr<TStream> Stream(const std::shared_ptr<TFtpReceiveFile>& File);

private:
    friend class TFtpReceiveStream;
    bool OpenLocked();
    int32_t Write(const void* Buffer, int32_t Count);
    int64_t Seek(int64_t Offset, TSeekOrigin Origin);
    void Release();  // the transfer is done with it: the file closes

    std::mutex lock_;
    std::string name_;
    int64_t resumeAt_;
    uint16_t shareFlags_;
    std::unique_ptr<TFileStream> file_;
    bool tried_ = false, made_ = false, released_ = false;
};
