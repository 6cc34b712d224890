// Stand-ins for two pieces of libstdc++ that would each pull a large part of
// it into this small program. They are objects of the program itself, so the
// linker takes them before the library's.
#if defined(__GNUC__) && !defined(__clang__)
#include <cstdlib>
#include <new>

// The default terminate handler prints the demangled type of the exception,
// which links the demangler (about 46 KB). This program never lets an
// exception escape, so a plain abort serves.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The library's error throwers build std::logic_error and its kin, which
// link the reference-counted string and its helpers (about 50 KB). Here a
// size that cannot be allocated is an allocation failure, which the program
// handles where it allocates large buffers; the others are programming
// errors that nothing catches, so they end the program as before.
namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_length_error(const char*) { throw std::bad_alloc(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_bad_exception() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }
}  // namespace std
#endif
