#include <cstdio>
int main() { std::puts("sorvanta-calc"); return 0; }
