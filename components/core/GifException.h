// Exceptions of the GIF reader and its byte arrays. No platform headers.
#pragma once

#include "runtime/core/SysUtils.h"

// Bad version, extension, colour count or LZW data.
class EGifException : public Exception {
public:
    using Exception::Exception;
};

// A pixel matrix whose memory cannot be had.
class ENotEnoughMemory : public Exception {
public:
    using Exception::Exception;
};

// A matrix index outside its bounds.
class EIndexOutOfBounds : public Exception {
public:
    using Exception::Exception;
};
