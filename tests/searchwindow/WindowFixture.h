// What the window tests share: the loopback site's address and a crawl from
// the window run to its end.
#pragma once

#include <gtest/gtest.h>

#include "ComTest.h"
#include "TestSupport.h"
#include "searchwindow/SearchWindow.h"

inline std::string Base() { return "http://127.0.0.1:" + std::to_string(qftest::PeerPort("QF_HTTP_PORT")); }

class SearchWindowFixture : public ComTest {
protected:
    void Crawl(TSearchWindow& w, const std::string& address) {
        w.StartAddressCombo()->SetText(address);
        w.StartClick(false);
        ASSERT_TRUE(qftest::PumpUntil([&] { return w.Session()->RunState == SearchRunState::Idle; }, 30000));
    }
};
