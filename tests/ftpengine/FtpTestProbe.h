// Records what an FTP engine reports, for tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "FtpClient.h"
#include "TestSupport.h"

struct FtpProbe {
    std::vector<std::pair<TFtpRequest, uint16_t>> done;  // OnRequestDone calls
    std::vector<int> states;                             // OnStateChange, in order
    std::vector<std::string> display;
    std::vector<std::string> fileLines;
    int sessionConnected = 0;
    int sessionClosed = 0;
    bool insideCall = false;        // set by the test around an operation
    bool doneInsideCall = false;    // OnRequestDone came while insideCall

    explicit FtpProbe(TFtpClient& c) {
        c.OnRequestDone = [this](TObject*, TFtpRequest rq, uint16_t e) {
            if (insideCall) doneInsideCall = true;
            done.emplace_back(rq, e);
        };
        c.OnStateChange = [this, &c](TObject*) { states.push_back(c.State()); };
        c.OnDisplay = [this](TObject*, std::string& m) { display.push_back(m); };
        c.OnDisplayFile = [this](TObject*, std::string& m) { fileLines.push_back(m); };
        c.OnSessionConnected = [this](TObject*, uint16_t) { ++sessionConnected; };
        c.OnSessionClosed = [this](TObject*, uint16_t) { ++sessionClosed; };
    }

    // Pumps until n requests have reported (and a little longer, to catch a second report).
    bool WaitDone(size_t n = 1) {
        bool ok = qftest::PumpUntil([&] { return done.size() >= n; }, 10000);
        qftest::PumpFor(30);
        return ok;
    }

    // How many display notes are exactly Line.
    int DisplayedLines(const std::string& line) const {
        int n = 0;
        for (auto& d : display) n += d == line ? 1 : 0;
        return n;
    }

    bool Displayed(const std::string& part) const {
        for (auto& d : display)
            if (d.find(part) != std::string::npos) return true;
        return false;
    }
};

// A blocking call run so the probe knows whether OnRequestDone came inside it.
template <class F>
bool RunWatched(FtpProbe& p, F&& f) {
    p.insideCall = true;
    bool r = f();
    p.insideCall = false;
    return r;
}
