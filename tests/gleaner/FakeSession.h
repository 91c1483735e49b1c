// An internet session for tests: serves documents from memory in pieces of
// a chosen size and records every address it was asked to open.
#pragma once

#include <cstdint>
#include <map>
#include <new>
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
        std::map<std::string, long> status;       // the reply's status (else -1: none)
        std::map<std::string, size_t> throwAt;    // a read past this many bytes throws std::bad_alloc
    };

    explicit FakeSession(std::shared_ptr<Shared> s) : s_(std::move(s)) {}

    std::unique_ptr<InternetConnection> OpenUrl(const std::string& address, unsigned long) override {
        s_->opened.push_back(address);
        auto it = s_->docs.find(address);
        if (it == s_->docs.end()) return nullptr;
        Conn* c = new Conn(it->second, s_->piece);
        auto st = s_->status.find(address);
        if (st != s_->status.end()) c->status = st->second;
        auto th = s_->throwAt.find(address);
        if (th != s_->throwAt.end()) c->throwAt = th->second;
        return std::unique_ptr<InternetConnection>(c);
    }

    static InternetSessionFactory Factory(std::shared_ptr<Shared> s) {
        return [s](const std::string&) { return std::unique_ptr<InternetSession>(new FakeSession(s)); };
    }

private:
    class Conn : public InternetConnection {
    public:
        Conn(std::string d, long piece) : d_(std::move(d)), piece_(piece) {}
        long Read(char* buffer, long size) override {
            if (at_ >= throwAt) throw std::bad_alloc();
            long n = static_cast<long>(d_.size() - at_);
            if (n > size) n = size;
            if (n > piece_) n = piece_;
            d_.copy(buffer, static_cast<size_t>(n), at_);
            at_ += static_cast<size_t>(n);
            return n;
        }

        long StatusCode() const override { return status; }
        long status = -1;
        size_t throwAt = SIZE_MAX;

    private:
        std::string d_;
        long piece_;
        size_t at_ = 0;
    };

    std::shared_ptr<Shared> s_;
};
