// The editor's OLE drag and drop objects: the drop target, the drag source
// and the data object, over a seam the control implements.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

#include "core/DropRules.h"

// What the OLE objects need of the control beyond a drop.
class TOleDropEditor : public TDropEditor {
public:
    // Character offset under a screen point, or -1.
    virtual int32_t OffsetAtScreen(POINT pt) = 0;
    // Shows the drop position under a screen point; (-1, -1) hides it.
    virtual void TrackDrag(int x, int y) = 0;
    virtual void SetOleDrag(bool on) = 0;
    // The data object of a drag this control started, or null.
    virtual IDataObject* OwnDataObject() = 0;
    // The selected text, CR LF line ends; empty when nothing is selected.
    virtual std::string SelectedText() = 0;
};

// The registered "HTML Format" clipboard format.
UINT HtmlClipboardFormat();
// 8-bit text of a clipboard block: up to its first zero, never past its
// size; utf8 (the HTML format) is converted to the code page.
std::string ClipboardText(const char* p, size_t bytes, bool utf8);

class TSynMemoDropTarget : public IDropTarget {
public:
    explicit TSynMemoDropTarget(TOleDropEditor& editor) : editor_(editor) {}
    virtual ~TSynMemoDropTarget();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

    uint16_t SourceTypes() const { return types_; }
    bool Accepted() const { return accepted_; }

private:
    void Keep(IDataObject* data);
    uint16_t Offered(IDataObject* data);
    bool ReadFormat(IDataObject* data, uint16_t format, std::string& text, std::vector<std::string>& files);

    LONG refs_ = 1;
    TOleDropEditor& editor_;
    IDataObject* data_ = nullptr;
    uint16_t types_ = 0;
    bool accepted_ = false;
    int32_t dropPos_ = -1;
};

class TSynMemoDragSource : public IDropSource {
public:
    virtual ~TSynMemoDragSource() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

private:
    LONG refs_ = 1;
};

class TSynMemoDataObject : public IDataObject {
public:
    explicit TSynMemoDataObject(TOleDropEditor& editor) : editor_(editor) {}
    virtual ~TSynMemoDataObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* conn) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD conn) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) override;

private:
    LONG refs_ = 1;
    TOleDropEditor& editor_;
};
