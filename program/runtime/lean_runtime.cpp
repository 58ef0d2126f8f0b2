// Linked into the release programs only (vorlix.exe), never into a test program.
//
// Our code throws nothing and catches nothing, so every exception the C++ library could
// raise (out of memory, a length beyond max_size(), an empty std::function called) would
// end the program through std::terminate and abort(). These replacements end it the
// same way, straight away, so that the library's exception objects, the unwinder, the
// exception tables and the verbose terminate handler with its name demangler (together
// more than half of the program) are never linked in.
//
// The library's own std::string members still carry unwinding entries: with nothing ever
// thrown, their personality routine, resume and catch calls are never reached, and the
// stand-ins below only keep the unwinder out of the link.
#include <bits/functexcept.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void OutOfLuck() {
    std::abort();
}

void* Allocate(std::size_t size) {
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) OutOfLuck();
    return block;
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace std {

void __throw_bad_alloc() { OutOfLuck(); }
void __throw_bad_array_new_length() { OutOfLuck(); }
void __throw_bad_function_call() { OutOfLuck(); }
void __throw_length_error(const char*) { OutOfLuck(); }
void __throw_logic_error(const char*) { OutOfLuck(); }
void __throw_out_of_range(const char*) { OutOfLuck(); }
void __throw_out_of_range_fmt(const char*, ...) { OutOfLuck(); }
void __throw_invalid_argument(const char*) { OutOfLuck(); }

}  // namespace std

// The 32-bit build's DWARF unwinder only: a 64-bit build (the test build) unwinds through
// SEH tables, whose runtime comes in with every program and is left alone.
#ifdef __i386__
extern "C" {

// Unwinding stand-ins, unreachable while nothing is thrown (see the top of the file).
[[noreturn]] void __gxx_personality_v0() { OutOfLuck(); }
[[noreturn]] void _Unwind_Resume(void*) { OutOfLuck(); }
[[noreturn]] void* __cxa_begin_catch(void*) noexcept { OutOfLuck(); }
[[noreturn]] void __cxa_end_catch() { OutOfLuck(); }
[[noreturn]] void __cxa_rethrow() { OutOfLuck(); }

}  // extern "C"
#endif
