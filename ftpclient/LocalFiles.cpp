#include "LocalFiles.h"

#include <windows.h>
#include <shellapi.h>

#include "AppTitle.h"
#include "ui/core/Prompter.h"

const char* const RecycleFailedText = "could not be moved to the Recycle Bin. Delete it for good ?";

namespace {
void ClearReadOnly(const std::string& p, DWORD attr) {
    if (attr & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(p.c_str(), attr & ~FILE_ATTRIBUTE_READONLY);
}

bool RemoveEntry(const std::string& p, DWORD attr) {
    ClearReadOnly(p, attr);
    if (attr & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryA(p.c_str()) != FALSE;
    return DeleteFileA(p.c_str()) != FALSE;
}
}  // namespace

bool DeleteFolderTree(const std::string& Path) {
    if (Path.empty()) return false;
    DWORD attr = GetFileAttributesA(Path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return false;
    if (!(attr & FILE_ATTRIBUTE_DIRECTORY) || (attr & FILE_ATTRIBUTE_REPARSE_POINT)) return RemoveEntry(Path, attr);
    bool ok = true;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((IncludeTrailingBackslash(Path) + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string n = fd.cFileName;
            if (n == "." || n == "..") continue;
            std::string child = IncludeTrailingBackslash(Path) + n;
            DWORD a = fd.dwFileAttributes;
            if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT))
                ok = DeleteFolderTree(child) && ok;
            else
                ok = RemoveEntry(child, a) && ok;
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    return RemoveEntry(Path, attr) && ok;
}

bool CreateFolder(const std::string& Path) { return CreateDirectoryA(Path.c_str(), nullptr) != FALSE; }

bool CreateEmptyFile(const std::string& Path) {
    HANDLE h = CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

bool FileExistsAt(const std::string& Path) {
    DWORD a = GetFileAttributesA(Path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExistsAt(const std::string& Path) {
    DWORD a = GetFileAttributesA(Path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

int64_t GetFileSizeOf(const std::string& Path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &d)) return -1;
    return (static_cast<int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

std::string IncludeTrailingBackslash(const std::string& Path) {
    if (!Path.empty() && (Path.back() == '\\' || Path.back() == '/')) return Path;
    return Path + "\\";
}

std::string ProgramFolder() {
    char buf[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string p = buf;
    size_t k = p.find_last_of("\\/");
    return k == std::string::npos ? std::string() : p.substr(0, k + 1);
}

bool SendToRecycleBin(const std::string& Path) {
    std::string from = Path;
    from.push_back('\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted &&
           GetFileAttributesA(Path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

TRecycler& Recycler() {
    static TRecycler r = SendToRecycleBin;
    return r;
}

bool RecycleOrDelete(const std::string& Path, bool Folder) {
    if (Recycler()(Path)) return true;
    std::string q = "\"" + Path + "\"\r\n" + RecycleFailedText;
    if (Prompter().ShowMessageBox(q, AppTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
    if (Folder) return DeleteFolderTree(Path);
    DWORD a = GetFileAttributesA(Path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && RemoveEntry(Path, a);
}

double NowDateTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    uint64_t t = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<double>(t) / 864000000000.0 - 109205.0;
}

TNumberFormat UserNumberFormat() {
    TNumberFormat f;
    char buf[8] = {0};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buf, sizeof buf) > 0) f.Thousand = buf;
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof buf) > 0 && buf[0]) f.Decimal = buf;
    return f;
}
