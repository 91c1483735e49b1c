// Helpers for tests: peer ports from the environment, scratch folders, file
// bytes and hashes, and (on Windows) pumping messages until something happens.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qftest {

// Value of an environment variable set by tests/support/peers.py; "" when unset.
std::string Env(const char* name);
// A port given by peers.py (for example "QF_SOCKS_PORT"); fails the test when missing.
int PeerPort(const char* var);

// A fresh folder under the system temp folder, removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const;  // path of a file inside

private:
    std::string path_;
};

// A path of the Linux host as the program under test sees it (Wine maps / to Z:).
std::string HostPath(const std::string& unixPath);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Deterministic pseudo-random bytes, so failures reproduce.
std::string PatternBytes(size_t n, uint32_t seed = 1);
// SHA-256 of the bytes, as lower-case hex.
std::string Sha256Hex(const std::string& bytes);

#if defined(_WIN32)
// Dispatches messages until pred() holds or ms pass; returns pred().
bool PumpUntil(const std::function<bool()>& pred, unsigned ms = 10000);
// Dispatches messages for ms milliseconds.
void PumpFor(unsigned ms);

// Every process on the desktop shares the activation, the focus and the cursor
// clip: one that shows a window meanwhile takes the first two from this
// thread (and Wine resets the clip on every change of foreground).

// Whether another process took the activation from a shown window of this
// thread while it lives. One at a time.
class ForeignActivation {
public:
    ForeignActivation();
    ~ForeignActivation();
    ForeignActivation(const ForeignActivation&) = delete;
    ForeignActivation& operator=(const ForeignActivation&) = delete;
    bool Taken() const;
};

// Runs attempt() up to `tries` times, again only while it fails and
// disturbed() says the desktop got in its way. The failures of the last run
// are reported; each run dropped leaves a "[ REPEAT   ]" line in the output.
void RetryWhileDisturbed(const std::function<void()>& attempt, const std::function<bool()>& disturbed,
                         int tries = 8);
// The same with disturbed() meaning another process took the activation
// during the attempt.
void RetryWhileActivationTaken(const std::function<void()>& attempt, int tries = 8);
#endif

}  // namespace qftest
