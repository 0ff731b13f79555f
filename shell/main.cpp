#include <cstdio>

#include "shell/RunFolder.h"
#include "shell/TamberApp.h"

using namespace tamber::shell;

int main() {
    if (Status entered = EnterRunFolder(); !entered) std::fprintf(stderr, "tamber: %s\n", entered.error().c_str());
    return TamberMain();
}
