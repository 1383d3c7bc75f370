#include <cstdio>

int main() {
  std::puts("kavel: no commands yet");
  return 0;
}
