#pragma once
// Objects that code outside C++ calls by plain addresses. Such an object
// starts with the address of its method table, an array of routines of our
// own (not a compiler's virtual table). Every method takes the object
// reference first: the address of a variable that holds the object's address.
namespace quorvane::toolkit {

using MethodAddress = const void*;

struct MethodTableObject {
    const MethodAddress* methodTable = nullptr;
};

using ObjectReference = MethodTableObject* const*;

// The object an object reference stands for, as its own type.
template <class Object>
Object& objectOf(ObjectReference self) {
    return *static_cast<Object*>(*self);
}

}  // namespace quorvane::toolkit
