// Move-only ownership of operating-system handles.
#pragma once

#include <cstdint>
#include <utility>

namespace platform {

// Opaque handle value as the operating system hands it out (HANDLE, HKEY, a
// shell item list pointer...). The simulated backend uses the same shape.
using Handle = void*;

inline Handle invalidHandleValue() noexcept {
    return reinterpret_cast<Handle>(static_cast<std::intptr_t>(-1));
}

// One owner type per handle kind. Traits name the value that means "empty"
// (null or INVALID_HANDLE_VALUE) and how the handle is released.
template <typename Traits>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    [[nodiscard]] Handle get() const noexcept { return h_; }
    [[nodiscard]] bool valid() const noexcept { return h_ != Traits::empty(); }
    explicit operator bool() const noexcept { return valid(); }

    [[nodiscard]] Handle release() noexcept { return std::exchange(h_, Traits::empty()); }
    void reset(Handle h = Traits::empty()) noexcept {
        Handle old = std::exchange(h_, h);
        if (old != Traits::empty()) Traits::close(old);
    }

private:
    Handle h_ = Traits::empty();
};

// Traits for the kinds whose empty value is null.
struct NullIsEmpty {
    static Handle empty() noexcept { return nullptr; }
};
// Traits for the kinds whose empty value is INVALID_HANDLE_VALUE.
struct InvalidIsEmpty {
    static Handle empty() noexcept { return invalidHandleValue(); }
};

}  // namespace platform
