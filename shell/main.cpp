#include "shell/TamberApp.h"

using namespace tamber::shell;

int main() { return TamberMain(); }
