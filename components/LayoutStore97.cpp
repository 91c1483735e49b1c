#include "components/LayoutStore97.h"

#include <memory>
#include <vector>

#include "components/ToolWindow97.h"
#include "components/core/ToolbarLayout.h"

namespace {

// The registry-backed INI-style store: section = subkey, value = REG_SZ.
class TRegLayoutStore {
public:
    explicit TRegLayoutStore(const std::string& key) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &root_,
                            nullptr) != ERROR_SUCCESS)
            root_ = nullptr;
    }
    ~TRegLayoutStore() {
        if (root_) RegCloseKey(root_);
    }
    TRegLayoutStore(const TRegLayoutStore&) = delete;
    TRegLayoutStore& operator=(const TRegLayoutStore&) = delete;

    bool ReadString(const std::string& section, const std::string& ident, std::string& value) const {
        HKEY sub = nullptr;
        if (!root_ || RegOpenKeyExA(root_, section.c_str(), 0, KEY_READ, &sub) != ERROR_SUCCESS) return false;
        char buf[1024];
        DWORD type = 0, size = sizeof buf - 1;
        LONG rc = RegQueryValueExA(sub, ident.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
        RegCloseKey(sub);
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
        buf[size] = '\0';
        value = buf;  // up to the terminator, whether stored or not
        return true;
    }
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) {
        if (!root_) throw Exception("Cannot write the toolbar layout to the registry");
        HKEY sub = nullptr;
        if (RegCreateKeyExA(root_, section.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &sub, nullptr) != ERROR_SUCCESS)
            throw Exception("Cannot write the toolbar layout to the registry");
        RegSetValueExA(sub, ident.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(sub);
    }

private:
    HKEY root_ = nullptr;
};

int ReadInt(const std::string& section, const std::string& ident, int def, void* data) {
    std::string text;
    if (!static_cast<TRegLayoutStore*>(data)->ReadString(section, ident, text)) return def;
    return ParseLayoutInteger(text, def);
}
std::string ReadString(const std::string& section, const std::string& ident, const std::string& def, void* data) {
    std::string text;
    return static_cast<TRegLayoutStore*>(data)->ReadString(section, ident, text) ? text : def;
}
void WriteInt(const std::string& section, const std::string& ident, int value, void* data) {
    static_cast<TRegLayoutStore*>(data)->WriteString(section, ident, std::to_string(value));
}
void WriteString(const std::string& section, const std::string& ident, const std::string& value, void* data) {
    static_cast<TRegLayoutStore*>(data)->WriteString(section, ident, value);
}

class TDockAdapter : public TLayoutDock {
public:
    explicit TDockAdapter(TDock97* dock) : dock_(dock) {}
    std::string Name() const override { return dock_->Name(); }
    bool AllowDrag() const override { return dock_->AllowDrag; }
    void BeginUpdate() override { dock_->BeginUpdate(); }
    void EndUpdate() override { dock_->EndUpdate(); }
    TDock97* dock_;
};

class TToolWindowAdapter : public TLayoutToolWindow {
public:
    TToolWindowAdapter(TCustomToolWindow97* w, const std::vector<std::unique_ptr<TDockAdapter>>& docks)
        : w_(w), docks_(docks) {}
    std::string Name() const override { return w_->Name(); }
    bool Visible() const override { return w_->Visible(); }
    void SetVisible(bool v) override { w_->SetVisible(v); }
    TLayoutDock* DockedTo() const override {
        for (auto& d : docks_)
            if (d->dock_ == w_->DockedTo()) return d.get();
        return w_->DockedTo() ? &foreign_ : nullptr;
    }
    int DockRow() const override { return w_->DockRow; }
    void SetDockRow(int v) override { w_->SetDockRow(v); }
    int DockPos() const override { return w_->DockPos; }
    void SetDockPos(int v) override { w_->SetDockPos(v); }
    int FloatLeft() const override { return w_->FloatLeft; }
    int FloatTop() const override { return w_->FloatTop; }
    void PlaceLayout(TLayoutDock* dock, int left, int top) override {
        if (dock) {
            w_->SetDockedTo(static_cast<TDockAdapter*>(dock)->dock_);
        } else {
            w_->PlaceFloating(left, top);
        }
    }
    TBarBounds ScreenBounds() const override {
        RECT r;
        GetWindowRect(w_->Handle(), &r);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    TBarBounds WorkArea() const override {
        RECT r;
        GetWindowRect(w_->Handle(), &r);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        RECT a{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) a = mi.rcWork;
        return {a.left, a.top, a.right - a.left, a.bottom - a.top};
    }
    void MoveTo(int left, int top) override { w_->PlaceFloating(left, top); }

private:
    // A dock outside the form: saved by its own name like any other.
    class TForeign : public TLayoutDock {
    public:
        explicit TForeign(const TCustomToolWindow97* w) : w_(w) {}
        std::string Name() const override { return w_->DockedTo()->Name(); }
        bool AllowDrag() const override { return w_->DockedTo()->AllowDrag; }
        void BeginUpdate() override {}
        void EndUpdate() override {}
        const TCustomToolWindow97* w_;
    };
    TCustomToolWindow97* w_;
    const std::vector<std::unique_ptr<TDockAdapter>>& docks_;
    mutable TForeign foreign_{w_};
};

struct TFormLayout {
    explicit TFormLayout(TForm& form) {
        for (int i = 0; i < form.ComponentCount(); ++i)
            if (auto* d = dynamic_cast<TDock97*>(form.Components(i))) docks.push_back(std::make_unique<TDockAdapter>(d));
        for (int i = 0; i < form.ComponentCount(); ++i)
            if (auto* w = dynamic_cast<TCustomToolWindow97*>(form.Components(i)))
                windows.push_back(std::make_unique<TToolWindowAdapter>(w, docks));
        for (auto& d : docks) layout.Docks.push_back(d.get());
        for (auto& w : windows) layout.ToolWindows.push_back(w.get());
    }
    std::vector<std::unique_ptr<TDockAdapter>> docks;
    std::vector<std::unique_ptr<TToolWindowAdapter>> windows;
    TLayoutForm layout;
};

}  // namespace

void LoadToolbarLayout(TForm& form, const std::string& key) {
    TFormLayout f(form);
    TRegLayoutStore store(key);
    LoadLayoutFrom(f.layout, ReadInt, ReadString, &store);
}

void SaveToolbarLayout(TForm& form, const std::string& key) {
    TFormLayout f(form);
    TRegLayoutStore store(key);
    SaveLayoutTo(f.layout, WriteInt, WriteString, &store);
}
