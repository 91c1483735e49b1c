#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <map>
#include <string>

#include "FakeDropEditor.h"
#include "SynMemoOle.h"
#include "TestDataObject.h"

namespace {

// The control's side for the OLE objects, over the fake drop editor.
class TFakeOleEditor : public TFakeDropEditorOf<TOleDropEditor> {
public:
    using TFakeDropEditorOf::TFakeDropEditorOf;
    int32_t OffsetAtScreen(POINT pt) override { return pt.x; }
    void TrackDrag(int x, int) override { tracked_ = x; }
    void SetOleDrag(bool on) override { oleDrag_ = on; }
    IDataObject* OwnDataObject() override { return own_; }
    std::string SelectedText() override {
        int32_t s = selStart_, e = selEnd_;
        if (s > e) std::swap(s, e);
        return text_.substr(static_cast<size_t>(s), static_cast<size_t>(e - s));
    }
    int tracked_ = 0;
    bool oleDrag_ = false;
    IDataObject* own_ = nullptr;
};

const std::string kHtml = "Version:0.9\r\n<html><!--StartFragment-->caf\xC3\xA9<!--EndFragment--></html>";

TEST(SynMemoOle, DropTableOfFormatsAndOptionBits) {
    CLIPFORMAT html = static_cast<CLIPFORMAT>(HtmlClipboardFormat());
    struct Row {
        const char* name;
        std::map<CLIPFORMAT, std::string> blocks;
        uint16_t clear, set;
        std::string expected;
    } rows[] = {
        {"text", {{CF_TEXT, Bytes("plain")}}, 0, 0, "plain"},
        {"unicode", {{CF_UNICODETEXT, Wide(L"wide")}}, 0, 0, "wide"},
        {"text preferred to unicode", {{CF_TEXT, Bytes("t")}, {CF_UNICODETEXT, Wide(L"u")}}, 0, 0, "t"},
        {"html as is, UTF-8 read", {{html, Bytes(kHtml)}}, 0, 0,
         "Version:0.9\r\n<html><!--StartFragment-->caf\xE9<!--EndFragment--></html>"},
        {"html fragment", {{html, Bytes(kHtml)}, {CF_TEXT, Bytes("t")}}, dstInsertAsIs, dstHtmlFragment, "caf\xE9"},
        {"html from tag", {{html, Bytes(kHtml)}}, dstInsertAsIs, dstHtmlFromTag,
         "<html><!--StartFragment-->caf\xE9<!--EndFragment--></html>"},
        {"not processed", {{CF_TEXT, Bytes("plain")}}, 0, dstDontProcess, ""},
        {"formats cleared", {{CF_TEXT, Bytes("plain")}}, dstFormatMask, 0, ""},
        {"files as lines", {{CF_HDROP, FileList(std::wstring(L"C:\\a.txt\0C:\\b.txt\0\0", 19))}}, 0, 0,
         "C:\\a.txt\r\nC:\\b.txt"},
    };
    for (Row& r : rows) {
        TFakeOleEditor ed("");
        ed.clearTypes_ = r.clear;
        ed.setTypes_ = r.set;
        TTestDataObject data;
        data.blocks = r.blocks;
        auto* target = new TSynMemoDropTarget(ed);
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(target->DragEnter(&data, 0, POINTL{0, 0}, &effect), S_OK) << r.name;
        EXPECT_TRUE(target->Accepted()) << r.name;
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(target->Drop(&data, 0, POINTL{0, 0}, &effect), S_OK) << r.name;
        EXPECT_EQ(ed.text_, r.expected) << r.name;
        EXPECT_EQ(ed.seenTypes_ & dstOptionMask, dstInsertAsIs | dstProcessFiles) << r.name;
        EXPECT_EQ(data.refs, 1u) << r.name;
        target->Release();
    }
}

TEST(SynMemoOle, UnsupportedFormatShowsNoDrop) {
    TFakeOleEditor ed("");
    TTestDataObject data;
    data.blocks[CF_BITMAP] = "x";
    TSynMemoDropTarget target(ed);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target.DragEnter(&data, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(target.Accepted());
    target.DragLeave();
    EXPECT_EQ(target.Drop(nullptr, 0, POINTL{0, 0}, &effect), E_FAIL);
}

TEST(SynMemoOle, FilesGoToOnFilesDropped) {
    TFakeOleEditor ed("");
    ed.filesHandler_ = true;
    TTestDataObject data;
    data.blocks[CF_HDROP] = FileList(std::wstring(L"C:\\x.txt\0\0", 10));
    TSynMemoDropTarget target(ed);
    DWORD effect = DROPEFFECT_COPY;
    target.Drop(&data, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(ed.filesSeen_, std::vector<std::string>{"C:\\x.txt"});
    EXPECT_EQ(ed.text_, "C:\\x.txt\r\nadded.txt");
}

TEST(SynMemoOle, ReadOnlyLogSourceGivesCopyWithoutCtrl) {
    TFakeOleEditor log("log line");
    log.SetSelection(0, 3);
    TFakeOleEditor ed("");
    auto* source = new TSynMemoDataObject(log);
    TSynMemoDropTarget target(ed);
    DWORD effect = DROPEFFECT_COPY;  // what the read-only log allows
    target.DragEnter(source, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY;
    target.Drop(source, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ed.text_, "log");
    EXPECT_EQ(log.text_, "log line");
    source->Release();
}

TEST(SynMemoOle, DragWithinOneControlMovesTheTextOnce) {
    TFakeOleEditor ed("one two three");
    ed.SetSelection(4, 8);
    auto* source = new TSynMemoDataObject(ed);
    ed.own_ = source;
    TSynMemoDropTarget target(ed);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target.DragEnter(source, 0, POINTL{13, 0}, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target.Drop(source, 0, POINTL{13, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(ed.text_, "one threetwo ");
    source->Release();
}

TEST(SynMemoOle, DataObjectServesOnlyWhatItOffers) {
    TFakeOleEditor ed("abc");
    TSynMemoDataObject data(ed);
    FORMATETC text = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    FORMATETC wide = {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM m = {};
    // Empty selection: nothing.
    EXPECT_EQ(data.GetData(&text, &m), DV_E_FORMATETC);
    EXPECT_EQ(data.QueryGetData(&text), DV_E_FORMATETC);
    ed.SetSelection(0, 2);
    EXPECT_EQ(data.GetData(&wide, &m), DV_E_FORMATETC);
    EXPECT_EQ(data.QueryGetData(&wide), DV_E_FORMATETC);
    FORMATETC badIndex = text;
    badIndex.lindex = 0;
    EXPECT_EQ(data.GetData(&badIndex, &m), DV_E_LINDEX);
    FORMATETC badMedium = text;
    badMedium.tymed = TYMED_ISTREAM;
    EXPECT_EQ(data.GetData(&badMedium, &m), DV_E_TYMED);
    ASSERT_EQ(data.GetData(&text, &m), S_OK);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(m.hGlobal)), "ab");
    GlobalUnlock(m.hGlobal);
    ReleaseStgMedium(&m);
    TSynMemoDragSource src;
    EXPECT_EQ(src.QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(src.QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(src.QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
}

}  // namespace
