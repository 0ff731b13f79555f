#pragma once
// Counts the OpenGL calls the program makes, through the linker's symbol wrapping:
// each function listed in GLCallCounter.cpp is linked to a stub that counts the call
// and jumps on to the real entry point. The CMake file reads the same list.
#include <cstdint>

namespace tamber::bench {

struct GLCallCounts {
    uint64_t all = 0;
    uint64_t draws = 0;      // glBegin, glDrawArrays, glClear
    uint64_t queries = 0;    // glGet..., glIsEnabled: round trips to the renderer
    uint64_t pushes = 0;     // glPushAttrib, glPushClientAttrib
    uint64_t immediate = 0;  // glVertex..., glTexCoord..., glColor...: one call per vertex or colour

    GLCallCounts operator-(const GLCallCounts& o) const {
        return {all - o.all, draws - o.draws, queries - o.queries, pushes - o.pushes, immediate - o.immediate};
    }
    GLCallCounts& operator+=(const GLCallCounts& o) {
        all += o.all, draws += o.draws, queries += o.queries, pushes += o.pushes, immediate += o.immediate;
        return *this;
    }
};

// False where the stubs are not built (they are written for x86-64).
bool GLCallsCounted();
// The calls made since the program started.
GLCallCounts CountGLCalls();

}  // namespace tamber::bench
