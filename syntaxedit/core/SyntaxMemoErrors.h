// Exceptions of the editor's data objects. No platform headers.
#pragma once

#include "SysUtils.h"

class ESyntaxMemo : public Exception {
public:
    using Exception::Exception;
};

// Keyword tables and key tables of the highlighter settings.
class EKeywords : public ESyntaxMemo {
public:
    using ESyntaxMemo::ESyntaxMemo;
};

class EKeyControllerException : public ESyntaxMemo {
public:
    using ESyntaxMemo::ESyntaxMemo;
};

// Two bindings for one key sequence.
class EAmbigiousKeyPair : public EKeyControllerException {
public:
    using EKeyControllerException::EKeyControllerException;
};
