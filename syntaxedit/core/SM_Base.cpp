#include "SM_Base.h"

#include <cstdlib>
#include <typeinfo>
#if defined(__GNUC__) || defined(__clang__)
#include <cxxabi.h>
#endif

#include "SyntaxMemoErrors.h"

std::string ClassNameOf(const TObject* o) {
    if (!o) return "nil";
    const char* raw = typeid(*o).name();
    std::string name = raw;
#if defined(__GNUC__) || defined(__clang__)
    int status = 0;
    char* plain = abi::__cxa_demangle(raw, nullptr, nullptr, &status);
    if (status == 0 && plain) name = plain;
    free(plain);
#endif
    size_t colon = name.rfind("::");
    if (colon != std::string::npos) name = name.substr(colon + 2);
    return name;
}

std::unique_ptr<TSM_Base> TSM_Base::Clone() const {
    std::unique_ptr<TSM_Base> copy = NewInstance();
    copy->CopyThroughStream(*this);
    return copy;
}

void TSM_Base::Assign(const TObject* source) {
    const TSM_Base* src = dynamic_cast<const TSM_Base*>(source);
    if (!src)
        throw ESyntaxMemo(Format("Cannot assign a %s to %s", ClassNameOf(source).c_str(), ClassNameOf(this).c_str()));
    CopyThroughStream(*src);
}

void TSM_Base::CopyThroughStream(const TSM_Base& source) {
    TMemoryStream m;
    source.SaveToStream(m);
    m.SetPosition(0);
    LoadFromStream(m);
}
