#include "components/RegistryEnhanced.h"

#include <vector>

HKEY RootKeyHandle(TRootKey k) {
    static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER,
                                 HKEY_DYN_DATA,     HKEY_LOCAL_MACHINE,  HKEY_USERS};
    return roots[k];
}

REGSAM AccessMask(TAccess a) {
    static const REGSAM masks[] = {KEY_READ, KEY_WRITE, KEY_EXECUTE, KEY_ALL_ACCESS};
    return masks[a];
}

TRegistryEnhanced::TRegistryEnhanced(TComponent* AOwner) : TComponent(AOwner), splitter_(new TBrkApart(this)) {
    splitter_->BreakString = "\\";
}

void TRegistryEnhanced::WriteValue(const std::string& Name, const TRegVariant& Value) {
    if (Key.empty()) return;
    const TRegValuePath path = MakeRegValuePath(Key, Name);
    HKEY key = nullptr;
    if (RegCreateKeyExA(RootKeyHandle(RootKey), path.KeyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    const TRegEncoded enc = EncodeRegValue(Value);
    if (!enc.Supported) {
        RegCloseKey(key);
        return;
    }
    const LONG set = RegSetValueExA(key, path.ValueName.c_str(), 0, enc.RegType, enc.Bytes.data(),
                                    static_cast<DWORD>(enc.Bytes.size()));
    RegCloseKey(key);
    if (set != ERROR_SUCCESS) throw ERegistryException("Failed to set data for '" + path.ValueName + "'");
}

TRegVariant TRegistryEnhanced::ReadValue(const std::string& Name, const TRegVariant& Default) {
    if (Key.empty()) return Default;
    const TRegValuePath path = MakeRegValuePath(Key, Name);
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootKeyHandle(RootKey), path.KeyPath.c_str(), 0, AccessMask(Access), &key) != ERROR_SUCCESS)
        return Default;
    TRegVariant result = Default;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, path.ValueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        size <= (1u << 20)) {
        std::vector<uint8_t> bytes(size);
        if (RegQueryValueExA(key, path.ValueName.c_str(), nullptr, &type, bytes.empty() ? nullptr : bytes.data(),
                             &size) == ERROR_SUCCESS) {
            bytes.resize(size);
            TRegVariant v;
            if (DecodeRegValue(type, bytes, v)) result = v;
        }
    }
    RegCloseKey(key);
    return result;
}
