// vomcom-register [--unregister] MODULE.so | --typelib MODULE.so
#include <cstdio>

int main(int, char**) {
  std::fprintf(stderr, "vomcom-register: not yet available\n");
  return 2;
}
