// The file object: one C-runtime stream (CrtFile) and one directory search,
// behind the dual interface IKesFile. Strings arrive as BSTR and are handled
// in the ANSI code page, except counted strings, which stay UTF-16.
#pragma once

#include <windows.h>

#include "AutoObject.h"
#include "Kestrel_h.h"
#include "core/CrtFile.h"

class KesFile : public TAutoObject<IKesFile, &IID_IKesFile> {
public:
    KesFile() = default;
    ~KesFile() override;

    STDMETHODIMP Open(BSTR FileName, long Flags, long* Result) override;
    STDMETHODIMP Close() override;
    STDMETHODIMP WriteString(BSTR String, long* Result) override;
    STDMETHODIMP ReadString(BSTR* String) override;
    STDMETHODIMP PutBR(long* Result) override;
    STDMETHODIMP CheckExists(BSTR FileName, long* Result) override;
    STDMETHODIMP get_Position(long* pVal) override;
    STDMETHODIMP put_Position(long newVal) override;
    STDMETHODIMP FindFirst(BSTR Path, BSTR* Result) override;
    STDMETHODIMP FindNext(BSTR* Result) override;
    STDMETHODIMP PutString(BSTR String, long* Result) override;
    STDMETHODIMP GetString(BSTR* Result) override;

private:
    void EndSearch();

    CrtFile file_;
    HANDLE search_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA found_ = {};
};
