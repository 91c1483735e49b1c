// Mask files and reports through Kestrel's file object, bound early by its
// vtable as the window binds it. Text crosses as BSTR in the ANSI code page.
#pragma once

#include <windows.h>

#include "Kestrel_h.h"
#include "masks/core/TextFile.h"

class KesTextFile : public TextFile {
public:
    // A new KesFile object; EOleSysError when Kestrel is not registered.
    KesTextFile();
    // Holds a reference of its own to file.
    explicit KesTextFile(IKesFile* file);
    ~KesTextFile() override;
    KesTextFile(const KesTextFile&) = delete;
    KesTextFile& operator=(const KesTextFile&) = delete;

    bool Open(const std::string& fileName, long flags) override;
    void Close() override;
    bool CheckExists(const std::string& fileName) override;
    bool WriteString(const std::string& text) override;
    bool PutBR() override;
    // ReadString gives "" both for an empty line and at the end; the end is
    // where the position no longer moves.
    bool ReadString(std::string& line) override;

private:
    IKesFile* file_ = nullptr;
};
