#include "components/core/ToolbarLayout.h"

#include <cerrno>
#include <cstdlib>
#include <cctype>
#include <climits>

#include "runtime/core/SysUtils.h"

namespace {

const char kNoName[] = "Cannot save tool window's position because Name property is not set";
const char kNoDockName[] = "Cannot save tool window's position because DockedTo's Name property not set";
const int kRevision = 2;

// Suspends arranging in every dock and resumes in reverse order on every path.
class DockUpdates {
public:
    explicit DockUpdates(const std::vector<TLayoutDock*>& docks) : docks_(docks) {
        for (TLayoutDock* d : docks_) d->BeginUpdate();
    }
    ~DockUpdates() {
        for (auto it = docks_.rbegin(); it != docks_.rend(); ++it) (*it)->EndUpdate();
    }

private:
    const std::vector<TLayoutDock*>& docks_;
};

TLayoutDock* FindDock(const TLayoutForm& form, const std::string& name) {
    for (TLayoutDock* d : form.Docks)
        if (d->Name() == name) return d;
    return nullptr;
}

void Apply(TLayoutToolWindow& w, TLayoutDock* dock, TReadIntProc readInt, TReadStringProc readString, void* data) {
    const std::string section = w.Name();
    w.SetDockRow(readInt(section, "DockRow", w.DockRow(), data));
    w.SetDockPos(readInt(section, "DockPos", w.DockPos(), data));
    int left = readInt(section, "FloatLeft", 0, data);
    int top = readInt(section, "FloatTop", 0, data);
    w.LoadExtraLayout(readInt, readString, data);
    w.PlaceLayout(dock, left, top);
    w.AfterLoadLayout(readInt, readString, data);
}

}  // namespace

TBarBounds MoveOnScreen(const TBarBounds& Window, const TBarBounds& WorkArea) {
    const long long wr = static_cast<long long>(Window.Left) + Window.Width;
    const long long wb = static_cast<long long>(Window.Top) + Window.Height;
    const long long ar = static_cast<long long>(WorkArea.Left) + WorkArea.Width;
    const long long ab = static_cast<long long>(WorkArea.Top) + WorkArea.Height;
    bool intersects = Window.Left < ar && wr > WorkArea.Left && Window.Top < ab && wb > WorkArea.Top;
    if (intersects) return Window;
    long long left = Window.Left, top = Window.Top;
    if (wr > ar) left -= wr - ar;
    if (wb > ab) top -= wb - ab;
    if (left < WorkArea.Left) left = WorkArea.Left;
    if (top < WorkArea.Top) top = WorkArea.Top;
    TBarBounds r = Window;
    r.Left = static_cast<int>(left);
    r.Top = static_cast<int>(top);
    return r;
}

int ParseLayoutInteger(const std::string& Text, int Default) {
    std::string t = Trim(Text);
    if (t.empty()) return Default;
    bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
    const char* start = t.c_str() + (hex ? 2 : 0);
    if (hex && !std::isxdigit(static_cast<unsigned char>(*start))) return Default;
    char* end = nullptr;
    errno = 0;
    long long v = hex ? static_cast<long long>(std::strtoull(start, &end, 16)) : std::strtoll(start, &end, 10);
    if (errno != 0 || *end != '\0' || end == start) return Default;
    if (hex && v >= 0 && v <= 0xFFFFFFFFLL) return static_cast<int>(static_cast<unsigned>(v));
    if (v < INT_MIN || v > INT_MAX) return Default;
    return static_cast<int>(v);
}

void LoadLayoutFrom(const TLayoutForm& Form, TReadIntProc ReadInt, TReadStringProc ReadString, void* Data) {
    DockUpdates updates(Form.Docks);
    for (TLayoutToolWindow* w : Form.ToolWindows) {
        const std::string section = w->Name();
        if (section.empty()) throw Exception(kNoName);
        if (ReadInt(section, "Rev", 0, Data) != kRevision) continue;
        w->SetVisible(ReadInt(section, "Visible", w->Visible() ? 1 : 0, Data) != 0);
        std::string dockedTo = ReadString(section, "DockedTo", "", Data);
        if (dockedTo.empty()) continue;
        if (dockedTo != "+") {
            TLayoutDock* dock = FindDock(Form, dockedTo);
            if (dock && dock->AllowDrag()) Apply(*w, dock, ReadInt, ReadString, Data);
            continue;
        }
        Apply(*w, nullptr, ReadInt, ReadString, Data);
        TBarBounds now = w->ScreenBounds();
        TBarBounds moved = MoveOnScreen(now, w->WorkArea());
        if (!(moved == now)) w->MoveTo(moved.Left, moved.Top);
    }
}

void SaveLayoutTo(const TLayoutForm& Form, TWriteIntProc WriteInt, TWriteStringProc WriteString, void* Data) {
    for (TLayoutToolWindow* w : Form.ToolWindows) {
        const std::string section = w->Name();
        if (section.empty()) throw Exception(kNoName);
        std::string dockedTo;
        if (TLayoutDock* dock = w->DockedTo()) {
            if (dock->AllowDrag()) {
                dockedTo = dock->Name();
                if (dockedTo.empty()) throw Exception(kNoDockName);
            }
        } else {
            dockedTo = "+";
        }
        WriteInt(section, "Rev", kRevision, Data);
        WriteInt(section, "Visible", w->Visible() ? 1 : 0, Data);
        WriteString(section, "DockedTo", dockedTo, Data);
        WriteInt(section, "DockRow", w->DockRow(), Data);
        WriteInt(section, "DockPos", w->DockPos(), Data);
        WriteInt(section, "FloatLeft", w->FloatLeft(), Data);
        WriteInt(section, "FloatTop", w->FloatTop(), Data);
        w->SaveExtraLayout(WriteInt, WriteString, Data);
    }
}
