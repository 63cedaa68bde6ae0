#include <cstdio>
int main() {
    std::puts("mirrorlake-tool");
    return 0;
}
