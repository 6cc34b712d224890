// libstdc++'s default terminate handler prints the demangled type of the
// exception, which links its demangler into the program (about 46 KB). This
// program never lets an exception escape, so a plain abort serves.
#if defined(__GNUC__) && !defined(__clang__)
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
