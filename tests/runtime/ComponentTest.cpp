#include <gtest/gtest.h>

#include <vector>

#include "Component.h"

namespace {
struct Probe : TComponent {
    Probe(TComponent* owner, std::vector<std::string>* log, std::string name)
        : TComponent(owner), log_(log) {
        SetName(std::move(name));
    }
    ~Probe() override { log_->push_back("free " + Name()); }
    void Notification(TComponent* c, TOperation op) override {
        if (op == opRemove) log_->push_back(Name() + " told of " + c->Name());
    }
    std::vector<std::string>* log_;
};
}  // namespace

TEST(Component, OwnerFreesOwnedAndFreeNotificationTells) {
    std::vector<std::string> log;
    auto* root = new Probe(nullptr, &log, "root");
    auto* a = new Probe(root, &log, "a");
    auto* watcher = new Probe(nullptr, &log, "w");
    watcher->FreeNotification(a);
    EXPECT_EQ(root->ComponentCount(), 1);
    delete root;
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "free root");
    EXPECT_EQ(log[1], "free a");  // derived destructors run before the base tells
    EXPECT_EQ(log[2], "w told of a");
    log.clear();
    delete watcher;  // a is gone: nothing left to tell
    EXPECT_EQ(log, std::vector<std::string>{"free w"});
}

TEST(Component, RemovedFreeNotificationIsSilent) {
    std::vector<std::string> log;
    auto* a = new Probe(nullptr, &log, "a");
    auto* b = new Probe(nullptr, &log, "b");
    b->FreeNotification(a);
    b->RemoveFreeNotification(a);
    delete a;
    delete b;
    EXPECT_EQ(log, (std::vector<std::string>{"free a", "free b"}));
}
