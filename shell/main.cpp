#include "shell/TamberApp.h"

int main() { return TamberMain(); }
