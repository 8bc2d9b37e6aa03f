#pragma once

#include <cassert>
#include <utility>

namespace swf
{

// Base of every shared player object (definitions, characters, instances, fonts).
// The count starts at 0; the object deletes itself when the count falls below 1.
class RefCounted
{
  public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;
    virtual ~RefCounted() = default;

    void addRef() const { ++count; }
    void dropRef() const
    {
        assert(count > 0);
        if (--count < 1)
            delete this;
    }
    int refCount() const { return count; }

  private:
    mutable int count = 0;
};

// Intrusive handle: holding a Ref holds one reference.
template <class T> class Ref
{
  public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(T* object) : ptr(object)
    {
        if (ptr)
            ptr->addRef();
    }
    Ref(const Ref& other) : Ref(other.ptr) {}
    template <class U> Ref(const Ref<U>& other) : Ref(other.get()) {}
    Ref(Ref&& other) noexcept : ptr(std::exchange(other.ptr, nullptr)) {}
    ~Ref()
    {
        if (ptr)
            ptr->dropRef();
    }
    Ref& operator=(Ref other) noexcept
    {
        std::swap(ptr, other.ptr);
        return *this;
    }

    T* get() const { return ptr; }
    T* operator->() const { return ptr; }
    T& operator*() const { return *ptr; }
    explicit operator bool() const { return ptr != nullptr; }
    void reset() { *this = Ref(); }

    friend bool operator==(const Ref& a, const Ref& b) { return a.ptr == b.ptr; }
    friend bool operator!=(const Ref& a, const Ref& b) { return a.ptr != b.ptr; }

  private:
    T* ptr = nullptr;
};

template <class T, class... Args> Ref<T> makeRef(Args&&... args)
{
    return Ref<T>(new T(std::forward<Args>(args)...));
}

} // namespace swf
