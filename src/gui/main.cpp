#include <cstdio>

int main() {
  std::puts("kavelide: the program window arrives with a later version; use build/bin/kavel for now.");
  return 0;
}
