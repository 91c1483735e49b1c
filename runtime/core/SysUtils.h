// Exceptions and string helpers shared by every deliverable. No platform headers.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    void SetMessage(std::string m) { message_ = std::move(m); }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Thrown by the text-to-number helpers.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Thrown by streams that cannot read, write, open or create.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::string Trim(const std::string& s);       // drops bytes <= ' ' at both ends
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
std::string UpperCase(const std::string& s);  // ASCII only
std::string LowerCase(const std::string& s);  // ASCII only
int CompareText(const std::string& a, const std::string& b);  // ASCII case-insensitive, <0 0 >0
bool SameText(const std::string& a, const std::string& b);

std::string IntToStr(int64_t v);
int StrToInt(const std::string& s);                       // EConvertError on bad text or overflow
int StrToIntDef(const std::string& s, int def);
bool TryStrToInt64(const std::string& s, int64_t& out);   // decimal, optional sign, blanks trimmed
