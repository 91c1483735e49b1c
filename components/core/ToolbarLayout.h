// The toolbar layout store: per tool window of a form, its visibility, its
// dock or floating place, its row and position, read and written through
// four procedures of a store (the registry-backed one on Windows). The rules
// of what is written and what a load applies live here; the windows carry
// them out. No platform headers.
#pragma once

#include <string>
#include <vector>

#include "components/core/DockLayout.h"

using TReadIntProc = int (*)(const std::string& Section, const std::string& Ident, int Default, void* Data);
using TReadStringProc = std::string (*)(const std::string& Section, const std::string& Ident,
                                        const std::string& Default, void* Data);
using TWriteIntProc = void (*)(const std::string& Section, const std::string& Ident, int Value, void* Data);
using TWriteStringProc = void (*)(const std::string& Section, const std::string& Ident, const std::string& Value,
                                  void* Data);

// A dock of the form.
class TLayoutDock {
public:
    virtual ~TLayoutDock() = default;
    virtual std::string Name() const = 0;
    virtual bool AllowDrag() const = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

// A tool window of the form.
class TLayoutToolWindow {
public:
    virtual ~TLayoutToolWindow() = default;
    virtual std::string Name() const = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool Value) = 0;
    virtual TLayoutDock* DockedTo() const = 0;  // none when floating
    virtual int DockRow() const = 0;
    virtual void SetDockRow(int Value) = 0;  // re-arranges the current dock
    virtual int DockPos() const = 0;
    virtual void SetDockPos(int Value) = 0;
    virtual int FloatLeft() const = 0;
    virtual int FloatTop() const = 0;
    // Docks into Dock, or floats on the form at (Left, Top) with its size
    // when Dock is none; then sizes and arranges itself for its dock kind.
    virtual void PlaceLayout(TLayoutDock* Dock, int Left, int Top) = 0;
    // Screen bounds, the work area of the nearest monitor, and a move.
    virtual TBarBounds ScreenBounds() const = 0;
    virtual TBarBounds WorkArea() const = 0;
    virtual void MoveTo(int Left, int Top) = 0;

    virtual void LoadExtraLayout(TReadIntProc, TReadStringProc, void*) {}
    virtual void AfterLoadLayout(TReadIntProc, TReadStringProc, void*) {}
    virtual void SaveExtraLayout(TWriteIntProc, TWriteStringProc, void*) {}
};

// The docks and tool windows a form owns, in component order.
struct TLayoutForm {
    std::vector<TLayoutDock*> Docks;
    std::vector<TLayoutToolWindow*> ToolWindows;
};

// Exception "Cannot save tool window's position because Name property is
// not set" for a window without a name; earlier windows stay applied.
void LoadLayoutFrom(const TLayoutForm& Form, TReadIntProc ReadInt, TReadStringProc ReadString, void* Data);
// The same for a nameless window, and "Cannot save tool window's position
// because DockedTo's Name property not set" for a nameless dock that allows dragging.
void SaveLayoutTo(const TLayoutForm& Form, TWriteIntProc WriteInt, TWriteStringProc WriteString, void* Data);

// Window moved into the work area when it lies wholly outside it; unchanged otherwise.
TBarBounds MoveOnScreen(const TBarBounds& Window, const TBarBounds& WorkArea);

// A stored integer: decimal, or hexadecimal after "0x"; Default for anything else.
int ParseLayoutInteger(const std::string& Text, int Default);
