// The clipboard object: text under a clipboard format chosen by name,
// behind the dual interface IKesClipboard.
#pragma once

#include <windows.h>

#include "AutoObject.h"
#include "Kestrel_h.h"

class KesClipboard : public TAutoObject<IKesClipboard, &IID_IKesClipboard> {
public:
    STDMETHODIMP get_Data(BSTR Format, BSTR* pVal) override;
    STDMETHODIMP put_Data(BSTR Format, BSTR newVal) override;
};
