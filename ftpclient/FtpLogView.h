// The FTP log: a read-only list of lines, each with its own text and
// background colour. The main window sees only TLogMemo, the members it uses
// of the editor control that will take this one's place.
#pragma once

#include <string>
#include <vector>

#include "ui/Control.h"

class TLogMemo {
public:
    class TLines {
    public:
        virtual ~TLines() = default;
        virtual void Add(const std::string& Line) = 0;
        virtual int Count() const = 0;
        virtual void Clear() = 0;
        virtual std::string Strings(int i) const = 0;
    };
    virtual ~TLogMemo() = default;
    virtual TLines& Lines() = 0;
    // Line n counted from 1; a number past the end addresses the last line.
    virtual void SetLineTextColor(int n, TColor Color) = 0;
    virtual void SetLineTextBack(int n, TColor Color) = 0;
    virtual TColor def_BackColor() const = 0;
    virtual void Repaint() = 0;
};

// Our stand-in: an owner-drawn list of coloured lines that keeps the last
// line in view.
class TColorLogView : public TWinControl, public TLogMemo, private TLogMemo::TLines {
public:
    explicit TColorLogView(TWinControl* parent);

    TLogMemo::TLines& Lines() override { return *this; }
    void SetLineTextColor(int n, TColor Color) override;
    void SetLineTextBack(int n, TColor Color) override;
    TColor def_BackColor() const override { return clWindow; }
    void Repaint() override { TWinControl::Repaint(); }

    TColor LineTextColor(int i) const { return lines_.at(static_cast<size_t>(i)).text; }
    TColor LineBackColor(int i) const { return lines_.at(static_cast<size_t>(i)).back; }

    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    bool Scroll(int bar, int code, int pos) override;
    bool MouseWheel(int delta, TShiftState shift, int x, int y) override;
    void Resized() override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    void Add(const std::string& Line) override;
    int Count() const override { return static_cast<int>(lines_.size()); }
    void Clear() override;
    std::string Strings(int i) const override { return lines_.at(static_cast<size_t>(i)).text_; }
    int LineAt(int n) const;
    int LineHeight();
    int VisibleLines();
    void UpdateScroll(bool toEnd);

    struct LogEntry {
        std::string text_;
        TColor text = clWindowText;
        TColor back = clWindow;
    };
    std::vector<LogEntry> lines_;
    int top_ = 0;
    int lineHeight_ = 0;
};

class TSyntaxMemo;

// The FTP log as the program shows it: the editor control, read-only, in
// 13-pixel Courier New, each line in its own colours.
class TMemoLog : public TLogMemo, private TLogMemo::TLines {
public:
    explicit TMemoLog(TWinControl* parent);

    TSyntaxMemo* Memo() const { return memo_; }
    TLogMemo::TLines& Lines() override { return *this; }
    void SetLineTextColor(int n, TColor Color) override;
    void SetLineTextBack(int n, TColor Color) override;
    TColor def_BackColor() const override;
    void Repaint() override;

    // The colours line i (from 0) is drawn in; -1 when it has none.
    TColor LineTextColor(int i) const;
    TColor LineBackColor(int i) const;

private:
    void Add(const std::string& Line) override;
    int Count() const override;
    void Clear() override;
    std::string Strings(int i) const override;

    TSyntaxMemo* memo_;
};
