// The TV user interface process.
#include <cstdio>

int main() {
  std::puts("tvui: the host is not built yet");
  return 0;
}
