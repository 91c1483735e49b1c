// OLE drag and drop and paste on the real control: its registered drop
// target fed with test data objects at screen points, drags this control
// starts (the platform's drag loop itself is not run: it needs a real mouse),
// and "HTML Format" on the clipboard.
#include <gtest/gtest.h>

#include "MemoWindow.h"
#include "SyntaxMemoOleLink.h"
#include "TestDataObject.h"

namespace {

const std::string kHtml = "Version:0.9\r\n<html><!--StartFragment-->caf\xC3\xA9<!--EndFragment--></html>";

struct OleForm : MemoWindow {
    using MemoWindow::MemoWindow;
    // The screen point in the middle of the cell left of offset.
    POINTL At(int32_t offset) {
        POINT p{};
        memo->Perform(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), offset);
        p.x += 1;
        p.y += memo->Core().LineHeight() / 2;
        ClientToScreen(memo->Handle(), &p);
        return POINTL{p.x, p.y};
    }
    // A whole drag over this control ending in a drop at offset; the effect the drop gave.
    DWORD DropAt(IDataObject* data, int32_t offset, DWORD keyState, DWORD allowed) {
        IDropTarget* t = memo->Ole().Target();
        DWORD effect = allowed;
        t->DragEnter(data, keyState, At(offset), &effect);
        effect = allowed;
        t->DragOver(keyState, At(offset), &effect);
        effect = allowed;
        t->Drop(data, keyState, At(offset), &effect);
        return effect;
    }
};

const DWORD kBoth = DROPEFFECT_COPY | DROPEFFECT_MOVE;
using Pair = std::pair<int32_t, int32_t>;

}  // namespace

TEST(SyntaxMemoOle, TargetIsRegisteredForTheWindow) {
    OleForm f("text");
    EXPECT_TRUE(f.memo->Ole().Registered());
    auto* other = f.memo->Ole().Target();
    EXPECT_EQ(RegisterDragDrop(f.memo->Handle(), other), DRAGDROP_E_ALREADYREGISTERED);
}

TEST(SyntaxMemoOle, DropsThroughTheWindowByFormatAndOption) {
    CLIPFORMAT html = static_cast<CLIPFORMAT>(HtmlClipboardFormat());
    struct Row {
        const char* name;
        std::map<CLIPFORMAT, std::string> blocks;
        uint16_t clear, set;
        DWORD keys;
        std::string after;
        DWORD effect;
    } const rows[] = {
        {"text moves by default", {{CF_TEXT, Bytes("XY")}}, 0, 0, 0, "abXYcd", DROPEFFECT_MOVE},
        {"ctrl copies", {{CF_TEXT, Bytes("XY")}}, 0, 0, MK_CONTROL, "abXYcd", DROPEFFECT_COPY},
        {"unicode", {{CF_UNICODETEXT, Wide(L"w\u00e9")}}, 0, 0, 0, "abw\xE9" "cd", DROPEFFECT_MOVE},
        {"html whole, UTF-8 converted", {{html, Bytes(kHtml)}}, 0, 0, 0,
         "ab" "Version:0.9\r\n<html><!--StartFragment-->caf\xE9<!--EndFragment--></html>" "cd", DROPEFFECT_MOVE},
        {"html fragment", {{html, Bytes(kHtml)}}, dstInsertAsIs, dstHtmlFragment, 0, "abcaf\xE9" "cd",
         DROPEFFECT_MOVE},
        {"html from the tag", {{html, Bytes(kHtml)}}, dstInsertAsIs, dstHtmlFromTag, 0,
         "ab<html><!--StartFragment-->caf\xE9<!--EndFragment--></html>cd", DROPEFFECT_MOVE},
        {"vetoed", {{CF_TEXT, Bytes("XY")}}, 0, dstDontProcess, 0, "abcd", DROPEFFECT_NONE},
        {"formats cleared", {{CF_TEXT, Bytes("XY")}}, dstFormatMask, 0, 0, "abcd", DROPEFFECT_NONE},
        {"unsupported format", {{CF_BITMAP, Bytes("x")}}, 0, 0, 0, "abcd", DROPEFFECT_NONE},
    };
    for (const Row& r : rows) {
        OleForm f("abcd");
        uint16_t seen = 0;
        f.memo->OnDataDrop = [&](TObject*, uint16_t& types) {
            seen = types;
            types = static_cast<uint16_t>((types & ~r.clear) | r.set);
        };
        TTestDataObject data;
        data.blocks = r.blocks;
        EXPECT_EQ(f.DropAt(&data, 2, r.keys, kBoth), r.effect) << r.name;
        EXPECT_EQ(f.Text(), r.after) << r.name;
        if (r.effect != DROPEFFECT_NONE) {
            EXPECT_EQ(seen & dstOptionMask, dstInsertAsIs | dstProcessFiles) << r.name;
            EXPECT_EQ(f.Sel().first, 2) << r.name;  // the dropped text is selected
            f.Undo();
            EXPECT_EQ(f.Text(), "abcd") << r.name;
        }
        EXPECT_EQ(data.refs, 1u) << r.name;
    }
}

TEST(SyntaxMemoOle, FilesGoToOnFilesDropped) {
    OleForm f("ab");
    f.memo->SetOptions(f.memo->Options() | smoProcessDroppedFiles);
    std::vector<std::string> got;
    f.memo->OnFilesDropped = [&](TObject*, const std::vector<std::string>& files, POINT) { got = files; };
    TTestDataObject data;
    data.blocks = {{CF_HDROP, FileList(std::wstring(L"C:\\a.txt\0C:\\b.txt\0\0", 19))}};
    f.DropAt(&data, 2, 0, kBoth);
    EXPECT_EQ(got, (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
    // With the default options the names also go in as lines.
    EXPECT_EQ(f.Text(), "abC:\\a.txt\r\nC:\\b.txt");
    // Without 0x0400 the handler gets them and nothing is inserted.
    f.memo->OnDataDrop = [](TObject*, uint16_t& types) { types &= ~dstInsertAsIs; };
    f.SetText("ab");
    got.clear();
    f.DropAt(&data, 2, 0, kBoth);
    EXPECT_EQ(got.size(), 2u);
    EXPECT_EQ(f.Text(), "ab");
}

TEST(SyntaxMemoOle, OnFilesDroppedMayReshapeTheList) {
    OleForm f("ab");
    f.memo->SetOptions(f.memo->Options() | smoProcessDroppedFiles);
    f.memo->OnFilesDropped = [](TObject*, std::vector<std::string>& files, POINT) {
        files.erase(files.begin());
        files.push_back("<end>");
    };
    TTestDataObject data;
    data.blocks = {{CF_HDROP, FileList(std::wstring(L"C:\\a.txt\0C:\\b.txt\0\0", 19))}};
    f.DropAt(&data, 2, 0, kBoth);
    EXPECT_EQ(f.Text(), "abC:\\b.txt\r\n<end>");
    // A handler that empties the list leaves the text alone.
    f.memo->OnFilesDropped = [](TObject*, std::vector<std::string>& files, POINT) { files.clear(); };
    f.SetText("ab");
    f.DropAt(&data, 2, 0, kBoth);
    EXPECT_EQ(f.Text(), "ab");
}

// The caret the thread shows: its window and top-left point, or null.
std::pair<HWND, POINT> ShownCaret() {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof(gti);
    GetGUIThreadInfo(GetCurrentThreadId(), &gti);
    return {gti.hwndCaret, POINT{gti.rcCaret.left, gti.rcCaret.top}};
}

TEST(SyntaxMemoOle, DropCaretFollowsTheDragAndGoes) {
    for (bool focused : {false, true}) {
        OleForm f("one two three");
        HWND h = f.memo->Handle();
        if (focused) {
            SetFocus(h);
            ASSERT_EQ(GetFocus(), h);
            f.memo->Perform(EM_SETSEL, 1, 1);
        }
        auto where = [&](int32_t offset) {
            POINT p{};
            f.memo->Perform(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), offset);
            return std::make_pair(p.x, p.y);
        };
        auto caret = [&] {
            auto c = ShownCaret();
            return c.first == h ? std::make_pair(c.second.x, c.second.y) : std::make_pair(-1L, -1L);
        };
        TTestDataObject data;
        data.blocks = {{CF_TEXT, Bytes("XY")}};
        IDropTarget* t = f.memo->Ole().Target();
        DWORD effect = kBoth;
        t->DragEnter(&data, 0, f.At(4), &effect);
        EXPECT_EQ(f.memo->Ole().DropPosition(), 4) << focused;
        EXPECT_EQ(caret(), where(4)) << focused;
        for (int32_t at : {8, 2, 13}) {
            effect = kBoth;
            t->DragOver(0, f.At(at), &effect);
            EXPECT_EQ(f.memo->Ole().DropPosition(), at) << focused;
            EXPECT_EQ(caret(), where(at)) << focused;
        }
        // Leaving: the drop caret goes; a focused control shows its own caret again.
        t->DragLeave();
        EXPECT_EQ(f.memo->Ole().DropPosition(), -1);
        if (focused) EXPECT_EQ(caret(), where(1));
        else EXPECT_EQ(ShownCaret().first, nullptr);
        // Dropping: likewise, and the text lands where the caret showed.
        effect = kBoth;
        t->DragEnter(&data, 0, f.At(8), &effect);
        effect = kBoth;
        t->Drop(&data, 0, f.At(8), &effect);
        EXPECT_EQ(f.Text(), "one two XYthree");
        EXPECT_EQ(f.memo->Ole().DropPosition(), -1);
        if (focused) EXPECT_EQ(caret(), where(f.Sel().second));
        else EXPECT_EQ(ShownCaret().first, nullptr);
    }
}

TEST(SyntaxMemoOle, DragWithinOneControlMovesTheTextOnce) {
    OleForm f("one two three");
    TSyntaxMemoOle& ole = f.memo->Ole();
    f.memo->Perform(EM_SETSEL, 4, 8);  // "two "
    auto* data = new TSynMemoDataObject(ole);
    ole.BeginOwnDrag(data);
    DWORD effect = f.DropAt(data, 13, 0, ole.AllowedEffects());
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    ole.EndOwnDrag(DRAGDROP_S_DROP, effect);
    EXPECT_EQ(f.Text(), "one threetwo ");
    EXPECT_EQ(f.Sel(), Pair(9, 13));
    f.Undo();
    EXPECT_EQ(f.Text(), "one two three");
    // Into its own selection: nothing moves.
    f.memo->Perform(EM_SETSEL, 4, 8);
    ole.BeginOwnDrag(data);
    effect = f.DropAt(data, 6, 0, ole.AllowedEffects());
    ole.EndOwnDrag(DRAGDROP_S_DROP, effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(f.Text(), "one two three");
    data->Release();
}

TEST(SyntaxMemoOle, MoveToAnotherControlAndCopyOnlyFromTheReadOnlyLog) {
    for (bool readOnly : {false, true}) {
        OleForm a("hello world"), b("", 300);
        a.memo->SetReadOnly(readOnly);
        a.memo->Perform(EM_SETSEL, 0, 5);
        TSyntaxMemoOle& ole = a.memo->Ole();
        EXPECT_EQ(ole.AllowedEffects(), readOnly ? DWORD(DROPEFFECT_COPY) : kBoth);
        auto* data = new TSynMemoDataObject(ole);
        ole.BeginOwnDrag(data);
        // No Ctrl held: a move where the source allows it, else a copy.
        DWORD effect = b.DropAt(data, 0, 0, ole.AllowedEffects());
        ole.EndOwnDrag(DRAGDROP_S_DROP, effect);
        data->Release();
        EXPECT_EQ(effect, readOnly ? DWORD(DROPEFFECT_COPY) : DWORD(DROPEFFECT_MOVE)) << readOnly;
        EXPECT_EQ(b.Text(), "hello") << readOnly;
        EXPECT_EQ(a.Text(), readOnly ? "hello world" : " world") << readOnly;
    }
}

TEST(SyntaxMemoOle, PressInTheSelectionThenReleasePlacesTheCaret) {
    OleForm f("one two three");
    f.memo->Perform(EM_SETSEL, 4, 7);
    POINT p{};
    f.memo->Perform(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), 5);
    LPARAM at = MAKELPARAM(p.x + 1, p.y + 2);
    SendMessageA(f.memo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(f.Sel(), Pair(4, 7));  // a drag is pending: the selection stays
    SendMessageA(f.memo->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(f.Sel(), Pair(5, 5));
}

namespace {
void PutOnClipboard(UINT format, const std::string& bytes) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(format, Block(bytes.data(), bytes.size()));
    CloseClipboard();
}
}  // namespace

TEST(SyntaxMemoOle, PasteTakesHtmlAsUtf8) {
    OleForm f("ab");
    PutOnClipboard(HtmlClipboardFormat(), Bytes(kHtml));
    f.memo->Perform(EM_SETSEL, 1, 1);
    f.memo->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(f.Text(), "a" "Version:0.9\r\n<html><!--StartFragment-->caf\xE9<!--EndFragment--></html>" "b");
    f.Undo();
    EXPECT_EQ(f.Text(), "ab");
    // The handler asks for the fragment only.
    uint16_t seen = 0;
    f.memo->OnDataDrop = [&](TObject*, uint16_t& types) {
        seen = types;
        types |= dstHtmlFragment;
    };
    f.memo->Perform(EM_SETSEL, 1, 1);
    f.memo->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(seen, dstPaste | dstHtml);
    EXPECT_EQ(f.Text(), "acaf\xE9" "b");
    // Plain text when there is no HTML; nothing on a read-only control.
    f.memo->OnDataDrop = nullptr;
    PutOnClipboard(CF_TEXT, Bytes("T"));
    f.memo->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(f.Text(), "acaf\xE9T" "b");
    f.memo->SetReadOnly(true);
    f.memo->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(f.Text(), "acaf\xE9T" "b");
}
