// An object reference: owns its object, and using it while it is not set is a run-time error.
#pragma once

#include <memory>

#include "runtime/errors.h"

namespace rt {

template <class T>
class ObjectRef {
public:
    ObjectRef() = default;
    ObjectRef& operator=(std::unique_ptr<T> object) {
        object_ = std::move(object);
        return *this;
    }
    T* operator->() const {
        if (!object_) raiseObjectNotSet();
        return object_.get();
    }
    T& operator*() const { return *operator->(); }
    bool isSet() const { return object_ != nullptr; }

private:
    std::unique_ptr<T> object_;
};

}  // namespace rt
