// The clipboard object through its vtable, by name and by dispatch id.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "Bindings.h"
#include "ComTest.h"

namespace {
const char* const kMask = "Search Mask";

// Raw clipboard access, to see what the object put there and to put there
// what it must cope with.
std::string RawGet(const char* format) {
    std::string s = "<none>";
    if (!OpenClipboard(nullptr)) return "<not open>";
    HANDLE h = GetClipboardData(RegisterClipboardFormatA(format));
    if (h) {
        const char* p = static_cast<const char*>(GlobalLock(h));
        s.assign(p, GlobalSize(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return s;
}

bool RawPut(const char* format, const std::string& bytes) {
    if (!OpenClipboard(nullptr)) return false;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    bool ok = SetClipboardData(RegisterClipboardFormatA(format), h) != nullptr;
    if (!ok) GlobalFree(h);
    CloseClipboard();
    return ok;
}

void EmptyIt() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

// Private memory committed in the process.
SIZE_T Committed() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    const char* p = nullptr;
    while (VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
        const char* next = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= p) break;
        p = next;
    }
    return total;
}

class KesClipboardTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        EmptyIt();
    }
    template <class F>
    void ForEachBinding(F body) {
        for (Binding b : AllBindings()) {
            SCOPED_TRACE(BindingName(b));
            EmptyIt();
            std::unique_ptr<ClipboardApi> c = ClipboardApi::Make(b);
            body(*c);
        }
    }
};
}  // namespace

TEST_F(KesClipboardTest, PutThenGetUnderTheSameName) {
    ForEachBinding([](ClipboardApi& c) {
        const std::wstring mask = L"Title\r\nValues:\r\n<title>\u00E9";
        c.Put(kMask, mask);
        EXPECT_EQ(mask, c.Get(kMask).ToWide());
        // Stored as ANSI text with its terminating 0.
        EXPECT_EQ("Title\r\nValues:\r\n<title>\xE9" + std::string(1, '\0'), RawGet(kMask));
        // A name that was never put gives an empty string.
        WideString none = c.Get("Never Put Here");
        EXPECT_FALSE(none.IsNull());
        EXPECT_EQ(0u, none.Length());
    });
}

TEST_F(KesClipboardTest, PutKeepsOtherFormats) {
    ForEachBinding([](ClipboardApi& c) {
        ASSERT_TRUE(RawPut("Qf Other", std::string("other\0", 6)));
        c.Put(kMask, L"mask one");
        c.Put("Qf Second", L"second");
        EXPECT_EQ(L"mask one", c.Get(kMask).ToWide());
        EXPECT_EQ(L"second", c.Get("Qf Second").ToWide());
        EXPECT_EQ(L"other", c.Get("Qf Other").ToWide());
        c.Put(kMask, L"mask two");  // replaces only its own format
        EXPECT_EQ(L"mask two", c.Get(kMask).ToWide());
        EXPECT_EQ(L"second", c.Get("Qf Second").ToWide());
    });
}

// Data without a terminating 0 is read up to the end of its block, no further.
TEST_F(KesClipboardTest, GetStopsAtTheEndOfTheBlock) {
    ForEachBinding([](ClipboardApi& c) {
        ASSERT_TRUE(RawPut(kMask, std::string(37, 'm')));
        EXPECT_EQ(std::wstring(37, L'm'), c.Get(kMask).ToWide());
        ASSERT_TRUE(RawPut(kMask, std::string("ab\0cd", 5)));
        EXPECT_EQ(L"ab", c.Get(kMask).ToWide());
    });
}

// When the system refuses the data (here: a name no format can have), the
// block is freed, not left behind.
TEST_F(KesClipboardTest, RefusedDataIsFreed) {
    ForEachBinding([](ClipboardApi& c) {
        const WideString big(std::wstring(1 << 20, L'x'));
        c.Put("", big);  // warm-up: conversion buffers and the like
        SIZE_T before = Committed();
        for (int i = 0; i < 48; ++i) c.Put("", big);
        SIZE_T after = Committed();
        EXPECT_LT(after, before + (16u << 20)) << "grew by " << (after - before) / 1024 << " KB";
        EXPECT_EQ(0u, c.Get("").Length());
    });
}

// While another window (of another thread) holds the clipboard open, get
// gives an empty string and put changes nothing.
TEST_F(KesClipboardTest, HeldClipboardGivesNothing) {
    ForEachBinding([](ClipboardApi& c) {
        c.Put(kMask, L"before");
        HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::thread holder([&] {
            HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
            BOOL ok = OpenClipboard(w);
            SetEvent(opened);
            WaitForSingleObject(release, 10000);
            if (ok) CloseClipboard();
            DestroyWindow(w);
        });
        WaitForSingleObject(opened, 10000);
        WideString got = c.Get(kMask);
        EXPECT_FALSE(got.IsNull());
        EXPECT_EQ(0u, got.Length());
        c.Put(kMask, L"while held");
        SetEvent(release);
        holder.join();
        CloseHandle(opened);
        CloseHandle(release);
        EXPECT_EQ(L"before", c.Get(kMask).ToWide());
    });
}
