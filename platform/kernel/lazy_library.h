#pragma once
// A shared library opened when first needed rather than linked: loading a library and those it
// needs costs every start of every program, even one that never calls it. The loader opens the
// library and looks up the functions a caller keeps in a table of its own.

#include <string>

namespace vel::platform {

class LazyLibrary {
 public:
  /// Opens `soname` (found as the dynamic linker finds libraries).
  explicit LazyLibrary(const char* soname);
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;

  /// Looks `symbol` up into `target`, which stays null when the library has no such function.
  template <typename Function>
  void Resolve(const char* symbol, Function& target) {
    target = reinterpret_cast<Function>(Lookup(symbol));
  }

  /// True when the library opened and had every function asked for; it then stays loaded for
  /// the rest of the process (callers keep its functions). Otherwise it is closed again and
  /// `whyNot` says what was missing (the first function missing, or the loader's message).
  bool Complete(std::string& whyNot);

 private:
  void* Lookup(const char* symbol);

  void* m_handle = nullptr;
  std::string m_problem;
};

}  // namespace vel::platform
