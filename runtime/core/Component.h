// Component base: an owner frees what it owns; components told of each
// other's end through free notification. No platform headers.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

// Event properties are closures; by-reference arguments let a handler answer back.
using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TOperation { opInsert, opRemove };

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    ~TComponent() override;

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& n) { name_ = n; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int i) const { return components_.at(static_cast<size_t>(i)); }

    // True once the destructor has started; events are not raised then.
    bool Destroying() const { return destroying_; }

    // Ask to be told (Notification(this, opRemove)) when AComponent goes.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Marks the component as being destroyed before a derived destructor runs.
    void BeginDestroy() { destroying_ = true; }

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> notify_;  // components to tell when this one goes
    bool destroying_ = false;
};
