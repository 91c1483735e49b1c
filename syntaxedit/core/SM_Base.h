// Root of the editor's data objects: copies go through their own stream form.
#pragma once

#include <memory>
#include <string>

#include "Component.h"
#include "Stream.h"

// The class name of any object ("TObject" for a plain one), for messages.
std::string ClassNameOf(const TObject* o);

class TSM_Base : public TObject {
public:
    // A new object of this object's own class, loaded from this one's stream form.
    virtual std::unique_ptr<TSM_Base> Clone() const;
    // ESyntaxMemo "Cannot assign a %s to %s" unless source is a TSM_Base.
    virtual void Assign(const TObject* source);
    virtual void SaveToStream(TStream&) const {}
    virtual void LoadFromStream(TStream&) {}

protected:
    virtual std::unique_ptr<TSM_Base> NewInstance() const = 0;
    // Saves source to a memory stream and loads this object from it.
    void CopyThroughStream(const TSM_Base& source);
};
