#include "Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Tell everyone that asked; they may remove themselves from our list meanwhile.
    while (!notify_.empty()) {
        TComponent* other = notify_.back();
        notify_.pop_back();
        auto& back = other->notify_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, opRemove);
    }
    while (!components_.empty()) {
        TComponent* child = components_.back();
        RemoveComponent(child);
        delete child;
    }
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* c) {
    c->owner_ = this;
    components_.push_back(c);
}

void TComponent::RemoveComponent(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
    c->owner_ = nullptr;
    if (!destroying_) Notification(c, opRemove);
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    if (std::find(AComponent->notify_.begin(), AComponent->notify_.end(), this) == AComponent->notify_.end())
        AComponent->notify_.push_back(this);
    if (std::find(notify_.begin(), notify_.end(), AComponent) == notify_.end())
        notify_.push_back(AComponent);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    auto drop = [](std::vector<TComponent*>& v, TComponent* c) {
        v.erase(std::remove(v.begin(), v.end(), c), v.end());
    };
    drop(AComponent->notify_, this);
    drop(notify_, AComponent);
}

void TComponent::Notification(TComponent*, TOperation) {}
