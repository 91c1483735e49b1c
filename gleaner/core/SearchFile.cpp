#include "SearchFile.h"

#include <cstring>

#include <sys/stat.h>
#include <sys/types.h>

namespace {

// Buffers writes into large blocks; remembers the first failure.
class Writer {
public:
    explicit Writer(FILE* f) : f_(f) { buf_.reserve(kBlock + 256); }
    explicit Writer(std::string* out) : out_(out) {}

    void U32(uint32_t v) {
        char b[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char((v >> 24) & 0xff)};
        Put(b, 4);
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Str(const BStr& s) {
        if (!s) {
            U32(0);
            return;
        }
        U32(static_cast<uint32_t>(s->size()));
        for (char16_t c : *s) {
            char b[2] = {char(c & 0xff), char((c >> 8) & 0xff)};
            Put(b, 2);
        }
    }
    bool Finish() {
        Flush();
        return ok_;
    }

private:
    static const size_t kBlock = 1 << 16;
    void Put(const char* p, size_t n) {
        std::string& b = out_ ? *out_ : buf_;
        b.append(p, n);
        if (!out_ && buf_.size() >= kBlock) Flush();
    }
    void Flush() {
        if (out_ || buf_.empty()) return;
        if (ok_ && fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) ok_ = false;
        buf_.clear();
    }

    FILE* f_ = nullptr;
    std::string* out_ = nullptr;
    std::string buf_;
    bool ok_ = true;
};

void WriteAll(Writer& w, const BStr& userData, const RecordList& records) {
    w.Str(userData);
    w.U32(static_cast<uint32_t>(records.size()));
    for (const auto& rp : records) {
        const InfoRecord& r = *rp;
        w.I32(r.Key);
        w.I32(r.Source);
        w.I32(r.Level);
        w.I32(r.Status);
        w.I32(r.Reserved1);
        w.I32(r.Reserved2);
        w.Str(r.Value);
        w.Str(r.Parent);
        w.Str(r.Reserved3);
        w.U32(static_cast<uint32_t>(r.Properties.size()));
        for (const InfoProperty& p : r.Properties) {
            w.I32(p.PropertyType);
            w.I32(p.Flags);
            w.Str(p.Name);
            w.Str(p.DependName);
            w.U32(static_cast<uint32_t>(p.Values.size()));
            for (const InfoValue& v : p.Values) {
                w.I32(v.ValueID);
                w.I32(v.DependID);
                w.Str(v.Value);
            }
        }
    }
}

// Reads from a byte range; every read and every count is checked against what is left.
class Reader {
public:
    Reader(const uint8_t* p, size_t n) : p_(p), end_(p + n) {}

    size_t Left() const { return static_cast<size_t>(end_ - p_); }
    bool U32(uint32_t& v) {
        if (Left() < 4) return false;
        v = uint32_t(p_[0]) | (uint32_t(p_[1]) << 8) | (uint32_t(p_[2]) << 16) | (uint32_t(p_[3]) << 24);
        p_ += 4;
        return true;
    }
    bool I32(int32_t& v) {
        uint32_t u;
        if (!U32(u)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool Str(std::u16string& s) {
        uint32_t n;
        if (!U32(n) || n > Left() / 2) return false;
        s.resize(n);
        for (uint32_t i = 0; i < n; ++i) s[i] = static_cast<char16_t>(p_[2 * i] | (p_[2 * i + 1] << 8));
        p_ += 2 * size_t(n);
        return true;
    }
    bool Str(BStr& s) {
        std::u16string t;
        if (!Str(t)) return false;
        s = std::move(t);
        return true;
    }
    // A count of items that each take at least minSize bytes.
    bool Count(uint32_t& n, size_t minSize) { return U32(n) && n <= Left() / minSize; }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

const size_t kMinValue = 4 + 4 + 4;
const size_t kMinProperty = 4 + 4 + 4 + 4 + 4;
const size_t kMinRecord = 6 * 4 + 3 * 4 + 4;

}  // namespace

#if !defined(_WIN32)
// A file name as UTF-8, as the C runtime of this platform takes it.
static std::string NarrowPath(const std::u16string& path) {
    std::string u;
    for (size_t i = 0; i < path.size(); ++i) {
        uint32_t c = path[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (path[++i] - 0xDC00);
        if (c < 0x80) {
            u += char(c);
        } else if (c < 0x800) {
            u += char(0xC0 | (c >> 6));
            u += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            u += char(0xE0 | (c >> 12));
            u += char(0x80 | ((c >> 6) & 0x3F));
            u += char(0x80 | (c & 0x3F));
        } else {
            u += char(0xF0 | (c >> 18));
            u += char(0x80 | ((c >> 12) & 0x3F));
            u += char(0x80 | ((c >> 6) & 0x3F));
            u += char(0x80 | (c & 0x3F));
        }
    }
    return u;
}
#endif

FILE* OpenFileU16(const std::u16string& path, const char* mode) {
#if defined(_WIN32)
    std::wstring w(path.begin(), path.end());
    std::wstring m(mode, mode + strlen(mode));
    return _wfopen(w.c_str(), m.c_str());
#else
    return fopen(NarrowPath(path).c_str(), mode);
#endif
}

#if defined(_WIN32)
// The one call of the platform the search file needs; declared here so that
// the core includes no platform headers.
extern "C" __declspec(dllimport) int __stdcall MoveFileExW(const wchar_t* from, const wchar_t* to, unsigned long flags);
#endif

bool ReplaceFileU16(const std::u16string& from, const std::u16string& to) {
#if defined(_WIN32)
    const unsigned long kReplaceExisting = 0x1, kWriteThrough = 0x8;
    std::wstring f(from.begin(), from.end()), t(to.begin(), to.end());
    return MoveFileExW(f.c_str(), t.c_str(), kReplaceExisting | kWriteThrough) != 0;
#else
    return rename(NarrowPath(from).c_str(), NarrowPath(to).c_str()) == 0;
#endif
}

bool ExistsNotPlainFile(const std::u16string& path) {
#if defined(_WIN32)
    std::wstring w(path.begin(), path.end());
    struct _stat st;
    return _wstat(w.c_str(), &st) == 0 && (st.st_mode & _S_IFMT) != _S_IFREG;
#else
    struct stat st;
    return stat(NarrowPath(path).c_str(), &st) == 0 && !S_ISREG(st.st_mode);
#endif
}

void RemoveFileU16(const std::u16string& path) {
#if defined(_WIN32)
    std::wstring w(path.begin(), path.end());
    _wremove(w.c_str());
#else
    remove(NarrowPath(path).c_str());
#endif
}

std::string SearchFile::Serialize(const BStr& userData, const RecordList& records) {
    std::string out;
    Writer w(&out);
    WriteAll(w, userData, records);
    w.Finish();
    return out;
}

// The whole file goes to a temporary file beside the target first, which
// replaces the target only once it is complete: a save that fails part-way
// (a full disk) leaves the previous file as it was.
// Something other than a plain file (a device) is written in place.
bool SearchFile::Save(const std::u16string& path, const BStr& userData, const RecordList& records) {
    const bool inPlace = ExistsNotPlainFile(path);
    std::u16string temp = inPlace ? path : path + u".saving";
    FILE* f = OpenFileU16(temp, "wb");
    if (!f) return false;
    Writer w(f);
    WriteAll(w, userData, records);
    bool ok = w.Finish();
    if (fflush(f) != 0) ok = false;
    if (fclose(f) != 0) ok = false;
    if (inPlace) return ok;
    if (ok) ok = ReplaceFileU16(temp, path);
    if (!ok) RemoveFileU16(temp);
    return ok;
}

bool SearchFile::Parse(const uint8_t* data, size_t size, std::u16string& userData, RecordList& records,
                       std::string& error) {
    Reader r(data, size);
    RecordList out;
    uint32_t count = 0;
    if (!r.Str(userData)) {
        error = "user data runs past the end of the file";
        return false;
    }
    if (!r.Count(count, kMinRecord)) {
        error = "record count runs past the end of the file";
        return false;
    }
    out.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<InfoRecord> rec(new InfoRecord);
        uint32_t props = 0;
        if (!r.I32(rec->Key) || !r.I32(rec->Source) || !r.I32(rec->Level) || !r.I32(rec->Status) ||
            !r.I32(rec->Reserved1) || !r.I32(rec->Reserved2) || !r.Str(rec->Value) || !r.Str(rec->Parent) ||
            !r.Str(rec->Reserved3) || !r.Count(props, kMinProperty)) {
            error = "record " + std::to_string(i) + " runs past the end of the file";
            return false;
        }
        rec->Properties.resize(props);
        for (InfoProperty& p : rec->Properties) {
            uint32_t values = 0;
            if (!r.I32(p.PropertyType) || !r.I32(p.Flags) || !r.Str(p.Name) || !r.Str(p.DependName) ||
                !r.Count(values, kMinValue)) {
                error = "property of record " + std::to_string(i) + " runs past the end of the file";
                return false;
            }
            p.Values.resize(values);
            for (InfoValue& v : p.Values) {
                if (!r.I32(v.ValueID) || !r.I32(v.DependID) || !r.Str(v.Value)) {
                    error = "value of record " + std::to_string(i) + " runs past the end of the file";
                    return false;
                }
            }
        }
        out.push_back(std::move(rec));
    }
    records = std::move(out);
    return true;
}

bool SearchFile::Load(const std::u16string& path, std::u16string& userData, RecordList& records,
                      std::string& error) {
    FILE* f = OpenFileU16(path, "rb");
    if (!f) {
        error = "cannot open the file";
        return false;
    }
    std::string bytes;
    char buf[1 << 16];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    bool readError = ferror(f) != 0;
    if (fclose(f) != 0 || readError) {
        error = "cannot read the file";
        return false;
    }
    return Parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), userData, records, error);
}
