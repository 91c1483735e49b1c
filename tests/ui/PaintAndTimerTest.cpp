// A paint that raises ends its paint all the same, and a timer's handler is
// never entered again while it runs: an error box is shown once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "TestSupport.h"
#include "runtime/Application.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

namespace {

// What the failing controls raise while Failure is set (a paint goes well without it).
std::string g_failure;

template <class Base>
class TFailingPaint : public Base {
public:
    explicit TFailingPaint(TWinControl* parent) : Base(parent) {}
    void Paint(TCanvas& canvas) override {
        ++Paints;
        Base::Paint(canvas);
        if (!g_failure.empty()) throw Exception(g_failure);
    }
    int Paints = 0;
};

// Dispatches at most `most` waiting messages; returns how many there were.
int Drain(int most) {
    int n = 0;
    MSG m;
    while (n < most && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
        ++n;
    }
    return n;
}

// Counts the reports that reach the application while it lives.
struct TReports {
    int Count = 0;
    std::string Last;
    std::function<void(TObject*, const std::exception&)> saved = Application->OnException;
    TReports() {
        Application->OnException = [this](TObject*, const std::exception& e) {
            ++Count;
            Last = e.what();
        };
    }
    ~TReports() { Application->OnException = saved; }
};

}  // namespace

TEST(SafePaint, AControlWhosePaintRaisesIsReportedOnceAndItsPaintEndsAsATable) {
    struct Case {
        const char* what;
        // Makes the failing control on the form; paints: where it counts its paints.
        std::function<TWinControl*(TForm&, int*&)> make;
    } cases[] = {
        {"a panel",
         [](TForm& f, int*& paints) {
             auto* c = new TFailingPaint<TPanel>(&f);
             paints = &c->Paints;
             return c;
         }},
        {"a label",
         [](TForm& f, int*& paints) {
             auto* c = new TFailingPaint<TLabel>(&f);
             c->SetCaption("Label");
             paints = &c->Paints;
             return c;
         }},
        {"a group box",
         [](TForm& f, int*& paints) {
             auto* c = new TFailingPaint<TGroupBox>(&f);
             paints = &c->Paints;
             return c;
         }},
        {"a form's OnPaint",
         [](TForm& f, int*& paints) {
             static int count;
             count = 0;
             paints = &count;
             f.OnPaint = [](TObject*, TCanvas&) {
                 ++count;
                 if (!g_failure.empty()) throw Exception(g_failure);
             };
             return &f;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TReports reports;
        g_failure = "cannot paint";
        TForm f;
        f.SetBounds(40, 40, 300, 200);
        int* paints = nullptr;
        TWinControl* failing = c.make(f, paints);
        if (failing != &f) failing->SetBounds(10, 10, 120, 60);
        f.Show();
        // Without the paint ending, its WM_PAINT would come again without end.
        EXPECT_LT(Drain(500), 500) << "the paint kept coming back";
        EXPECT_EQ(*paints, 1);
        EXPECT_EQ(reports.Count, 1);
        EXPECT_EQ(reports.Last, "cannot paint");
        EXPECT_FALSE(GetUpdateRect(failing->Handle(), nullptr, FALSE)) << "the region was validated";
        // Uncovered again (as by the report's box closing), it paints and fails
        // once more, but the same error is not reported again.
        failing->Invalidate();
        Drain(500);
        EXPECT_EQ(*paints, 2);
        EXPECT_EQ(reports.Count, 1);
        // Another error is; and once a paint went well, the first one is news again.
        g_failure = "out of images";
        failing->Invalidate();
        Drain(500);
        EXPECT_EQ(reports.Count, 2);
        EXPECT_EQ(reports.Last, "out of images");
        g_failure.clear();
        failing->Invalidate();
        Drain(500);
        g_failure = "out of images";
        failing->Invalidate();
        Drain(500);
        EXPECT_EQ(*paints, 5);
        EXPECT_EQ(reports.Count, 3);
        f.OnPaint = nullptr;
    }
    g_failure.clear();
}

namespace {
// A clock for nested loops: counts ticks of its own while it lives.
struct TClock {
    TTimer timer;
    int Ticks = 0;
    TClock() {
        timer.SetInterval(10);
        timer.OnTimer = [this](TObject*) { ++Ticks; };
    }
};
}  // namespace

TEST(Timer, AHandlerThatShowsAModalFormIsNotEnteredAgainMeanwhile) {
    TTimer t;
    t.SetInterval(10);
    int calls = 0, depth = 0, deepest = 0;
    TForm box;
    box.SetBounds(50, 50, 200, 100);
    t.OnTimer = [&](TObject*) {
        ++calls;
        deepest = std::max(deepest, ++depth);
        if (calls == 1) {
            // The real modal loop, closed once many intervals of the timer have passed.
            TClock clock;
            clock.timer.OnTimer = [&](TObject*) {
                if (++clock.Ticks == 10) box.SetModalResult(mrOk);
            };
            box.ShowModal();
        }
        --depth;
    };
    ASSERT_TRUE(qftest::PumpUntil([&] { return calls >= 2; }, 10000)) << "the timer stopped";
    EXPECT_EQ(deepest, 1) << "entered again while its modal form was up";
}

TEST(Timer, AHandlerThatRaisesIsNotEnteredWhileTheErrorIsReportedAndTheTimerGoesOn) {
    TTimer t;
    t.SetInterval(10);
    int calls = 0, callsDuringReport = 0;
    bool reporting = false;
    auto saved = Application->OnException;
    // The report's box: a loop of its own, open for many intervals of the timer.
    Application->OnException = [&](TObject* sender, const std::exception&) {
        EXPECT_EQ(sender, &t);
        reporting = true;
        TClock clock;
        qftest::PumpUntil([&] { return clock.Ticks >= 10; }, 10000);
        reporting = false;
    };
    t.OnTimer = [&](TObject*) {
        ++calls;
        if (reporting) ++callsDuringReport;
        if (calls == 1) throw Exception("engine gone");
    };
    const bool again = qftest::PumpUntil([&] { return calls >= 3; }, 10000);
    Application->OnException = saved;
    EXPECT_EQ(callsDuringReport, 0);
    // A handler that raised once keeps its timer: the next tick may well succeed.
    EXPECT_TRUE(again) << "the timer stopped after the error";
    EXPECT_TRUE(t.Enabled());
}

TEST(Timer, AHandlerMayFreeItsOwnTimer) {
    auto* t = new TTimer();
    t->SetInterval(10);
    int calls = 0;
    t->OnTimer = [&](TObject*) {
        ++calls;
        delete t;
        t = nullptr;
    };
    ASSERT_TRUE(qftest::PumpUntil([&] { return t == nullptr; }, 5000));
    TClock later;
    qftest::PumpUntil([&] { return later.Ticks >= 3; }, 5000);
    EXPECT_EQ(calls, 1);
}
