#include "InfoMetaprocessor.h"

#include "InfoAddress.h"
#include "InfoDownloader.h"

namespace {

// Splits table text into tokens: separators are space, tab, line feed and
// zero; a backslash takes the next character literally.
std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    bool have = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\') {
            if (i + 1 >= text.size()) break;
            cur += text[++i];
            have = true;
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\0') {
            if (have) out.push_back(cur);
            cur.clear();
            have = false;
        } else {
            cur += c;
            have = true;
        }
    }
    if (have) out.push_back(cur);
    return out;
}

}  // namespace

bool InfoMetaprocessor::NameEquals(const std::string& a, const std::string& b) const {
    if (a.size() != b.size()) return false;
    if (CaseSensitiveNames) return a == b;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperChar(a[i]) != UpperChar(b[i])) return false;
    return true;
}

long InfoMetaprocessor::ParseMetaprocessorTable(const std::string& address, InfoDownloader& downloader) {
    if (address.empty()) {
        EmptyTables();
        return 1;
    }
    InfoAddress a(address, downloader.Protocols());
    if (!downloader.OpenAddress(a)) return 0;
    std::string text;
    while (downloader.ReadPortion(text) > 0) {
    }
    downloader.Close();
    return ParseTableText(text);
}

long InfoMetaprocessor::ParseTableText(const std::string& text) {
    std::vector<std::string> t = Tokens(text);
    std::lock_guard<std::mutex> l(m_);
    int state = 0;
    std::string name;
    bool pending = false;
    size_t i = 0;
    long result = 1;
    while (i < t.size()) {
        const std::string& tok = t[i++];
        if (state == 0) {
            if (tok != "BEGIN") {
                result = 0;
                break;
            }
            if (i >= t.size()) break;
            const std::string& kind = t[i++];
            state = kind == "FORMAT" ? 1 : kind == "ENCODING" ? 2 : 0;
            if (i >= t.size()) break;
            name = t[i++];
            pending = true;
        } else if (tok == "END") {
            state = 0;
        } else if (state == 1) {
            if (pending) {
                formats_.push_back(Format());
                formats_.back().Name = name;
                pending = false;
            }
            if (i >= t.size()) {
                state = 0;
                break;
            }
            const std::string& value = t[i++];
            Format& f = formats_.back();
            if (tok == "TEST_REGISTER") {
                f.TestRegister = value == "TRUE" ? 1 : 0;
            } else if (tok == "DEFAULT") {
                if (value == "TRUE") defaultFormat_ = f.Name;
            } else {
                f.Sources.push_back(tok);
                f.Targets.push_back(value);
            }
        } else {
            if (i >= t.size()) break;
            encodings_.push_back(Encoding{tok, t[i++]});
        }
    }
    Prepare();
    return result;
}

void InfoMetaprocessor::EmptyTables() {
    std::lock_guard<std::mutex> l(m_);
    formats_.clear();
    encodings_.clear();
    format_ = -1;
    encoding_ = -1;
    Prepare();
}

// The first entry named name, else the first named the default, else -1.
template <class List>
long InfoMetaprocessor::Pick(const List& list, const std::string& name, const std::string& fallback) const {
    for (const std::string* want : {&name, &fallback})
        for (size_t k = 0; k < list.size(); ++k)
            if (NameEquals(list[k].Name, *want)) return static_cast<long>(k);
    return -1;
}

void InfoMetaprocessor::SelectFormat(const std::string& name) {
    std::lock_guard<std::mutex> l(m_);
    format_ = Pick(formats_, name, defaultFormat_);
    Prepare();
}

void InfoMetaprocessor::SelectEncoding(const std::string& name) {
    std::lock_guard<std::mutex> l(m_);
    encoding_ = Pick(encodings_, name, defaultEncoding_);
    Prepare();
}

void InfoMetaprocessor::Prepare() {
    for (auto& v : byFirst_) v.clear();
    if (format_ >= 0 && format_ < static_cast<long>(formats_.size())) {
        const Format& f = formats_[format_];
        for (size_t k = 0; k < f.Sources.size(); ++k)
            if (!f.Sources[k].empty())
                byFirst_[static_cast<unsigned char>(f.Sources[k][0])].push_back(static_cast<unsigned>(k));
    }
    for (size_t c = 0; c < 256; ++c) map_[c] = static_cast<unsigned char>(c);
    mapped_ = false;
    if (encoding_ >= 0 && encoding_ < static_cast<long>(encodings_.size())) {
        const std::string& m = encodings_[encoding_].Mapping;
        bool seen[256] = {};
        // An unpaired last character maps to nothing.
        for (size_t k = 0; k + 1 < m.size(); k += 2) {
            unsigned char from = static_cast<unsigned char>(m[k]);
            if (seen[from]) continue;
            seen[from] = true;
            map_[from] = static_cast<unsigned char>(m[k + 1]);
            mapped_ = true;
        }
    }
}

std::string InfoMetaprocessor::Convert(const std::string& text) const {
    std::lock_guard<std::mutex> l(m_);
    std::string out;
    if (format_ < 0) {
        out = text;
    } else {
        const Format& f = formats_[format_];
        out.reserve(text.size());
        size_t i = 0;
        while (i < text.size()) {
            const std::vector<unsigned>& cands = byFirst_[static_cast<unsigned char>(text[i])];
            bool replaced = false;
            for (unsigned k : cands) {
                const std::string& s = f.Sources[k];
                if (s.size() > text.size() - i) continue;
                bool eq = true;
                for (size_t j = 1; j < s.size() && eq; ++j)
                    eq = f.TestRegister ? s[j] == text[i + j] : UpperChar(s[j]) == UpperChar(text[i + j]);
                if (!eq) continue;
                out += f.Targets[k];
                i += s.size();
                replaced = true;
                break;
            }
            if (!replaced) out += text[i++];
        }
    }
    if (mapped_)
        for (char& c : out) c = static_cast<char>(map_[static_cast<unsigned char>(c)]);
    return out;
}

void InfoMetaprocessor::SetDefaultFormatName(const std::string& name) {
    std::lock_guard<std::mutex> l(m_);
    defaultFormat_ = name;
}

void InfoMetaprocessor::SetDefaultEncodingName(const std::string& name) {
    std::lock_guard<std::mutex> l(m_);
    defaultEncoding_ = name;
}

std::string InfoMetaprocessor::DefaultFormatName() const {
    std::lock_guard<std::mutex> l(m_);
    return defaultFormat_;
}

std::string InfoMetaprocessor::DefaultEncodingName() const {
    std::lock_guard<std::mutex> l(m_);
    return defaultEncoding_;
}

long InfoMetaprocessor::SelectedFormat() const {
    std::lock_guard<std::mutex> l(m_);
    return format_;
}

long InfoMetaprocessor::SelectedEncoding() const {
    std::lock_guard<std::mutex> l(m_);
    return encoding_;
}

std::vector<InfoMetaprocessor::Format> InfoMetaprocessor::Formats() const {
    std::lock_guard<std::mutex> l(m_);
    return formats_;
}

std::vector<InfoMetaprocessor::Encoding> InfoMetaprocessor::Encodings() const {
    std::lock_guard<std::mutex> l(m_);
    return encodings_;
}
