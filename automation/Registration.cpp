#include "Registration.h"

#include <oleauto.h>

#include <cstdio>

#include "ComModule.h"

namespace {
// Creates the key and sets a string value (Name null: the default value).
HRESULT SetKeyValue(const std::string& key, const char* name, const std::string& value) {
    HKEY h;
    LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    rc = RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT CreateKey(const std::string& key) {
    HKEY h;
    LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    RegCloseKey(h);
    return S_OK;
}

// Deletes a key with all its subkeys. S_OK also when it does not exist.
HRESULT DeleteRegistryTree(HKEY Root, const std::string& SubKey) {
    if (SubKey.empty()) return E_INVALIDARG;  // never the root itself
    HKEY h;
    LONG rc = RegOpenKeyExA(Root, SubKey.c_str(), 0, KEY_READ | KEY_WRITE, &h);
    if (rc == ERROR_FILE_NOT_FOUND) return S_OK;
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    for (;;) {
        char name[256];
        DWORD len = sizeof name;
        // Always the first child: the list shrinks as we delete.
        if (RegEnumKeyExA(h, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HRESULT hr = DeleteRegistryTree(h, name);
        if (FAILED(hr)) {
            RegCloseKey(h);
            return hr;
        }
    }
    RegCloseKey(h);
    rc = RegDeleteKeyA(Root, SubKey.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT WriteProgID(const std::string& progId, const TClassRegistration& c, const std::string& clsid,
                    const std::string& curVer) {
    HRESULT hr = SetKeyValue(progId, nullptr, c.Description);
    if (SUCCEEDED(hr)) hr = SetKeyValue(progId + "\\CLSID", nullptr, clsid);
    if (SUCCEEDED(hr) && !curVer.empty()) hr = SetKeyValue(progId + "\\CurVer", nullptr, curVer);
    return hr;
}
}  // namespace

std::string TClassRegistration::VersionedProgID() const { return ProgID + "." + std::to_string(Version); }

std::string GuidToString(const GUID& g) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
                  g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

HRESULT RegisterComClass(const TClassRegistration& c, const std::string& ModulePath) {
    if (!c.Clsid || c.ProgID.empty()) return E_INVALIDARG;
    const std::string clsid = GuidToString(*c.Clsid);
    const std::string key = "CLSID\\" + clsid;
    const std::string versioned = c.VersionedProgID();

    HRESULT hr = WriteProgID(versioned, c, clsid, std::string());
    if (SUCCEEDED(hr)) hr = WriteProgID(c.ProgID, c, clsid, versioned);
    if (FAILED(hr)) return hr;

    // Replaced whole, so nothing of an older registration stays behind.
    hr = DeleteRegistryTree(HKEY_CLASSES_ROOT, key);
    if (SUCCEEDED(hr)) hr = SetKeyValue(key, nullptr, c.Description);
    if (SUCCEEDED(hr)) hr = SetKeyValue(key + "\\ProgID", nullptr, versioned);
    if (SUCCEEDED(hr)) hr = SetKeyValue(key + "\\VersionIndependentProgID", nullptr, c.ProgID);
    if (SUCCEEDED(hr)) hr = CreateKey(key + "\\Programmable");
    if (SUCCEEDED(hr)) {
        if (c.LocalServer) {
            std::string path = ModulePath.find(' ') != std::string::npos ? "\"" + ModulePath + "\"" : ModulePath;
            hr = SetKeyValue(key + "\\LocalServer32", nullptr, path);
        } else {
            hr = SetKeyValue(key + "\\InprocServer32", nullptr, ModulePath);
        }
    }
    if (SUCCEEDED(hr) && c.LibId) hr = SetKeyValue(key + "\\TypeLib", nullptr, GuidToString(*c.LibId));
    if (SUCCEEDED(hr) && c.AppId) hr = SetKeyValue(key, "AppID", GuidToString(*c.AppId));
    return hr;
}

HRESULT UnregisterComClass(const TClassRegistration& c) {
    if (!c.Clsid || c.ProgID.empty()) return E_INVALIDARG;
    HRESULT hr = DeleteRegistryTree(HKEY_CLASSES_ROOT, c.VersionedProgID());
    HRESULT hr2 = DeleteRegistryTree(HKEY_CLASSES_ROOT, c.ProgID);
    HRESULT hr3 = DeleteRegistryTree(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(*c.Clsid));
    return FAILED(hr) ? hr : FAILED(hr2) ? hr2 : hr3;
}

HRESULT RegisterAppId(const GUID& AppId, const std::string& Name, const std::string& ExeName) {
    const std::string id = GuidToString(AppId);
    HRESULT hr = SetKeyValue("AppID\\" + id, nullptr, Name);
    if (SUCCEEDED(hr) && !ExeName.empty()) hr = SetKeyValue("AppID\\" + ExeName, "AppID", id);
    return hr;
}

HRESULT UnregisterAppId(const GUID& AppId, const std::string& ExeName) {
    HRESULT hr = DeleteRegistryTree(HKEY_CLASSES_ROOT, "AppID\\" + GuidToString(AppId));
    HRESULT hr2 = ExeName.empty() ? S_OK : DeleteRegistryTree(HKEY_CLASSES_ROOT, "AppID\\" + ExeName);
    return FAILED(hr) ? hr : hr2;
}

HRESULT RegisterModuleTypeLib() {
    ITypeLib* lib = nullptr;
    HRESULT hr = ComModule.GetTypeLib(&lib);
    if (FAILED(hr)) return hr;
    std::wstring path = ComModule.TypeLibPath();
    hr = RegisterTypeLib(lib, &path[0], nullptr);
    lib->Release();
    return hr;
}

HRESULT UnregisterModuleTypeLib() {
    ITypeLib* lib = nullptr;
    HRESULT hr = ComModule.GetTypeLib(&lib);
    if (FAILED(hr)) return hr;
    TLIBATTR* attr = nullptr;
    hr = lib->GetLibAttr(&attr);
    if (SUCCEEDED(hr)) {
        hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
        lib->ReleaseTLibAttr(attr);
    }
    lib->Release();
    return hr;
}
