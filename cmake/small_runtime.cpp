// Linked into ZEFTA.EXE and KESTRUM.DLL only: the parts of the static C++
// runtime they call, without what comes along with them.
//
// The runtime keeps all fifteen std::__throw_* helpers in one object. The
// code here reaches a few of them (through std::string, std::vector and
// operator new), and linking that object pulls in every standard exception
// class, the reference-counted strings they carry, and through those most of
// the old string ABI and std::random_device: about 90 KB of each binary that
// nothing runs. The helpers below replace that object whole, so it is never
// linked; should a later runtime move a helper elsewhere, the link fails on
// the double definition instead of growing silently.
//
// The exceptions without a message are thrown as themselves. Those that
// carry one (length_error, out_of_range, ...) are thrown as one small class
// with the same what() text: the code catches with catch (...) only, and
// a catch clause naming one of those types would not match it.
// The runtime's own declarations: a definition below whose signature drifted
// from them fails to compile.
#include <bits/functexcept.h>
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class RuntimeFailure final : public std::exception {
 public:
  explicit RuntimeFailure(const char* what) noexcept : what_(what ? what : "runtime failure") {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;  // the runtime's messages are string literals
};

}  // namespace

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* what) { throw RuntimeFailure(what); }
void __throw_domain_error(const char* what) { throw RuntimeFailure(what); }
void __throw_invalid_argument(const char* what) { throw RuntimeFailure(what); }
void __throw_length_error(const char* what) { throw RuntimeFailure(what); }
void __throw_out_of_range(const char* what) { throw RuntimeFailure(what); }
// The message stays unformatted: formatting it is what needs printf.
void __throw_out_of_range_fmt(const char* format, ...) { throw RuntimeFailure(format); }
void __throw_runtime_error(const char* what) { throw RuntimeFailure(what); }
void __throw_range_error(const char* what) { throw RuntimeFailure(what); }
void __throw_overflow_error(const char* what) { throw RuntimeFailure(what); }
void __throw_underflow_error(const char* what) { throw RuntimeFailure(what); }

}  // namespace std

// std::terminate's default handler names the uncaught exception's type on
// stderr, which needs the runtime's demangler and printf (about 80 KB). These
// are window programs without a console: it ends the process as the default
// handler does after its message.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
