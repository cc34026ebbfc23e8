#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

// A broken invariant ends the run at once with what broke and where; libFuzzer then keeps
// the input that led there (crash-*) as a reproducer.
#define FUZZ_CHECK(condition, ...)                                                             \
  do {                                                                                         \
    if (!(condition)) {                                                                        \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n  ", __FILE__, __LINE__, #condition); \
      std::fprintf(stderr, __VA_ARGS__);                                                       \
      std::fprintf(stderr, "\n");                                                              \
      std::abort();                                                                            \
    }                                                                                          \
  } while (0)


namespace onefortwo {

// Whether the text in `size` bytes at `text` ends within them.
inline bool Terminated(const char* text, size_t size) {
  return std::memchr(text, '\0', size) != nullptr;
}

}  // namespace onefortwo
