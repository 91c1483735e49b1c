#include "masks/KesTextFile.h"

#include "OleSysError.h"
#include "WideString.h"

KesTextFile::KesTextFile() {
    OleCheck(CoCreateInstance(CLSID_KesFile, nullptr, CLSCTX_INPROC_SERVER, IID_IKesFile,
                              reinterpret_cast<void**>(&file_)),
             "KesFile");
}

KesTextFile::KesTextFile(IKesFile* file) : file_(file) {
    if (file_) file_->AddRef();
}

KesTextFile::~KesTextFile() {
    if (file_) file_->Release();
}

bool KesTextFile::Open(const std::string& fileName, long flags) {
    long result = 0;
    return SUCCEEDED(file_->Open(WideString::FromAnsi(fileName).c_bstr(), flags, &result)) && result != 0;
}

void KesTextFile::Close() { file_->Close(); }

bool KesTextFile::CheckExists(const std::string& fileName) {
    long result = 0;
    return SUCCEEDED(file_->CheckExists(WideString::FromAnsi(fileName).c_bstr(), &result)) && result != 0;
}

bool KesTextFile::WriteString(const std::string& text) {
    long result = 0;
    return SUCCEEDED(file_->WriteString(WideString::FromAnsi(text).c_bstr(), &result)) && result != 0;
}

bool KesTextFile::PutBR() {
    long result = 0;
    return SUCCEEDED(file_->PutBR(&result)) && result != 0;
}

bool KesTextFile::ReadString(std::string& line) {
    line.clear();
    long before = 0, after = 0;
    WideString s;
    if (FAILED(file_->get_Position(&before)) || FAILED(file_->ReadString(s.Receive())) ||
        FAILED(file_->get_Position(&after)))
        return false;
    line = s.ToAnsi();
    return !line.empty() || after != before;
}
