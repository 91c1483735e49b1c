#include "TestSupport.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#if defined(_WIN32)
#include <windows.h>
#else
#include <ftw.h>
#include <unistd.h>
#endif

namespace qftest {

std::string Env(const char* name) {
    const char* v = getenv(name);
    return v ? std::string(v) : std::string();
}

int PeerPort(const char* var) {
    std::string v = Env(var);
    if (v.empty()) {
        ADD_FAILURE() << var << " is not set: run this test through CTest (it starts the peer)";
        return 0;
    }
    return atoi(v.c_str());
}

#if defined(_WIN32)
static void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string n = fd.cFileName;
            if (n == "." || n == "..") continue;
            std::string p = dir + "\\" + n;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
            else {
                SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(p.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

TempDir::TempDir() {
    static std::atomic<int> seq{0};
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (;;) {
        std::ostringstream os;
        os << base << "qft-" << GetCurrentProcessId() << "-" << GetTickCount() << "-" << seq++;
        if (CreateDirectoryA(os.str().c_str(), nullptr)) {
            path_ = os.str();
            break;
        }
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

std::string TempDir::File(const std::string& name) const { return path_ + "\\" + name; }
#else
TempDir::TempDir() {
    const char* t = getenv("TMPDIR");
    std::string tmpl = std::string(t && *t ? t : "/tmp") + "/qft-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    path_ = mkdtemp(buf.data());
}

TempDir::~TempDir() {
    nftw(
        path_.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

std::string TempDir::File(const std::string& name) const { return path_ + "/" + name; }
#endif

std::string HostPath(const std::string& unixPath) {
#if defined(_WIN32)
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
#else
    return unixPath;
#endif
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream os;
    os << f.rdbuf();
    return os.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string PatternBytes(size_t n, uint32_t seed) {
    std::string s(n, '\0');
    uint32_t x = seed ? seed : 1;
    for (size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        s[i] = static_cast<char>(x & 0xFF);
    }
    return s;
}

// Compact SHA-256 (FIPS 180-4), enough to compare transferred files.
std::string Sha256Hex(const std::string& bytes) {
    static const uint32_t k[64] = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
        0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
        0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
        0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
        0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
        0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
        0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};
    uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::string m = bytes;
    uint64_t bits = static_cast<uint64_t>(bytes.size()) * 8;
    m += static_cast<char>(0x80);
    while (m.size() % 64 != 56) m += '\0';
    for (int i = 7; i >= 0; --i) m += static_cast<char>((bits >> (i * 8)) & 0xFF);
    auto rotr = [](uint32_t x, int n) { return (x >> n) | (x << (32 - n)); };
    for (size_t off = 0; off < m.size(); off += 64) {
        uint32_t w[64];
        for (int i = 0; i < 16; ++i) {
            const unsigned char* p = reinterpret_cast<const unsigned char*>(m.data() + off + i * 4);
            w[i] = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
        }
        for (int i = 16; i < 64; ++i) {
            uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];
        for (int i = 0; i < 64; ++i) {
            uint32_t S1 = rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25);
            uint32_t ch = (e & f) ^ (~e & g);
            uint32_t t1 = hh + S1 + ch + k[i] + w[i];
            uint32_t S0 = rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22);
            uint32_t mj = (a & b) ^ (a & c) ^ (b & c);
            uint32_t t2 = S0 + mj;
            hh = g; g = f; f = e; e = d + t1; d = c; c = b; b = a; a = t1 + t2;
        }
        h[0] += a; h[1] += b; h[2] += c; h[3] += d; h[4] += e; h[5] += f; h[6] += g; h[7] += hh;
    }
    char out[65];
    for (int i = 0; i < 8; ++i) snprintf(out + i * 8, 9, "%08x", h[i]);
    return std::string(out, 64);
}

#if defined(_WIN32)
bool PumpUntil(const std::function<bool()>& pred, unsigned ms) {
    DWORD start = GetTickCount();
    while (!pred()) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return pred();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;  // a stray quit must not end a test's wait
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (pred()) return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(unsigned ms) {
    PumpUntil([] { return false; }, ms);
}

namespace {
HHOOK activationHook = nullptr;
bool activationTaken = false;

LRESULT CALLBACK WatchActivation(int code, WPARAM wp, LPARAM lp) {
    const CWPSTRUCT& m = *reinterpret_cast<const CWPSTRUCT*>(lp);
    // A window that goes hides first: only a shown one losing to a stranger counts.
    if (code == HC_ACTION && m.message == WM_ACTIVATE && LOWORD(m.wParam) == WA_INACTIVE && IsWindowVisible(m.hwnd)) {
        DWORD pid = 0;
        const HWND to = reinterpret_cast<HWND>(m.lParam);
        if (!to || (GetWindowThreadProcessId(to, &pid) && pid != GetCurrentProcessId())) activationTaken = true;
    }
    return CallNextHookEx(activationHook, code, wp, lp);
}
}  // namespace

ForeignActivation::ForeignActivation() {
    activationTaken = false;
    activationHook = SetWindowsHookExA(WH_CALLWNDPROC, WatchActivation, nullptr, GetCurrentThreadId());
}

ForeignActivation::~ForeignActivation() {
    UnhookWindowsHookEx(activationHook);
    activationHook = nullptr;
}

bool ForeignActivation::Taken() const { return activationTaken; }

void RetryWhileDisturbed(const std::function<void()>& attempt, const std::function<bool()>& disturbed, int tries) {
    for (int run = 1;; ++run) {
        ::testing::TestPartResultArray failures;
        bool wasDisturbed = false;
        {
            ::testing::ScopedFakeTestPartResultReporter catcher(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
            attempt();
            wasDisturbed = disturbed();
        }
        bool failed = false;
        for (int i = 0; i < failures.size(); ++i) failed |= failures.GetTestPartResult(i).failed();
        if (failed && wasDisturbed && run < tries) {
            printf("[ REPEAT   ] run %d failed, disturbed by the desktop\n", run);
            continue;
        }
        for (int i = 0; i < failures.size(); ++i) {
            const ::testing::TestPartResult& r = failures.GetTestPartResult(i);
            if (!r.failed()) continue;
            const std::string note = wasDisturbed ? " (run " + std::to_string(run) + ", disturbed on every run)" : "";
            GTEST_MESSAGE_AT_(r.file_name(), r.line_number(), (r.message() + note).c_str(), r.type());
        }
        return;
    }
}

void RetryWhileActivationTaken(const std::function<void()>& attempt, int tries) {
    std::optional<ForeignActivation> watch;
    RetryWhileDisturbed(
        [&] {
            watch.reset();
            watch.emplace();
            attempt();
        },
        [&] { return watch->Taken(); }, tries);
}
#endif

}  // namespace qftest
