// An internet session for tests: serves documents from memory in pieces of
// a chosen size and records every address it was asked to open.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "InternetSession.h"

class FakeSession : public InternetSession {
public:
    struct Shared {
        std::map<std::string, std::string> docs;  // address -> content; others fail to open
        std::vector<std::string> opened;          // every address asked for
        long piece = 7;                           // bytes per read at most
    };

    explicit FakeSession(std::shared_ptr<Shared> s) : s_(std::move(s)) {}

    std::unique_ptr<InternetConnection> OpenUrl(const std::string& address, unsigned long) override {
        s_->opened.push_back(address);
        auto it = s_->docs.find(address);
        if (it == s_->docs.end()) return nullptr;
        return std::unique_ptr<InternetConnection>(new Conn(it->second, s_->piece));
    }

    static InternetSessionFactory Factory(std::shared_ptr<Shared> s) {
        return [s](const std::string&) { return std::unique_ptr<InternetSession>(new FakeSession(s)); };
    }

private:
    class Conn : public InternetConnection {
    public:
        Conn(std::string d, long piece) : d_(std::move(d)), piece_(piece) {}
        long Read(char* buffer, long size) override {
            long n = static_cast<long>(d_.size() - at_);
            if (n > size) n = size;
            if (n > piece_) n = piece_;
            d_.copy(buffer, static_cast<size_t>(n), at_);
            at_ += static_cast<size_t>(n);
            return n;
        }

    private:
        std::string d_;
        long piece_;
        size_t at_ = 0;
    };

    std::shared_ptr<Shared> s_;
};
