// An editor for drop tests: a string, a selection and recorded calls. The
// base is the seam it stands in for (the OLE tests extend it).
#pragma once

#include <string>
#include <vector>

#include "DropRules.h"

template <class Base = TDropEditor>
class TFakeDropEditorOf : public Base {
public:
    explicit TFakeDropEditorOf(const std::string& text) : text_(text) {}
    bool ReadOnly() override { return readOnly_; }
    void GetSelection(int32_t& s, int32_t& e) override {
        s = selStart_;
        e = selEnd_;
    }
    void SetSelection(int32_t s, int32_t e) override {
        selStart_ = s;
        selEnd_ = e;
    }
    void ReplaceRange(int32_t s, int32_t e, const std::string& t) override {
        text_.replace(static_cast<size_t>(s), static_cast<size_t>(e - s), t);
        edits_++;
    }
    void BeginUndoGroup(int g) override { groups_.push_back(g); depth_++; }
    void EndUndoGroup() override { depth_--; }
    void DataDrop(uint16_t& types) override {
        seenTypes_ = types;
        types = static_cast<uint16_t>((types & ~clearTypes_) | setTypes_);
    }
    bool FilesDropped(std::vector<std::string>& files) override {
        if (!filesHandler_) return false;
        filesSeen_ = files;
        files.push_back("added.txt");
        return true;
    }

    std::string text_;
    int32_t selStart_ = 0, selEnd_ = 0;
    bool readOnly_ = false;
    bool filesHandler_ = false;
    uint16_t clearTypes_ = 0, setTypes_ = 0, seenTypes_ = 0;
    int edits_ = 0, depth_ = 0;
    std::vector<int> groups_;
    std::vector<std::string> filesSeen_;
};

using TFakeDropEditor = TFakeDropEditorOf<>;
