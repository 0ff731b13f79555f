#include "bench/widgets/GLCallCounter.h"

#include <cstring>

// The wrapped functions, one per line: CMakeLists.txt passes --wrap for each.
#define TAMBER_COUNTED_GL(X) \
    X(glBegin)               \
    X(glEnd)                 \
    X(glDrawArrays)          \
    X(glInterleavedArrays)   \
    X(glClear)               \
    X(glClearColor)          \
    X(glVertex2f)            \
    X(glVertex2i)            \
    X(glTexCoord2f)          \
    X(glColor4f)             \
    X(glColor4fv)            \
    X(glColor4ub)            \
    X(glGetFloatv)           \
    X(glGetIntegerv)         \
    X(glGetString)           \
    X(glIsEnabled)           \
    X(glPushAttrib)          \
    X(glPopAttrib)           \
    X(glPushClientAttrib)    \
    X(glPopClientAttrib)     \
    X(glEnable)              \
    X(glDisable)             \
    X(glBindTexture)         \
    X(glBlendFunc)           \
    X(glDepthMask)           \
    X(glCullFace)            \
    X(glFrontFace)           \
    X(glMatrixMode)          \
    X(glPushMatrix)          \
    X(glPopMatrix)           \
    X(glLoadIdentity)        \
    X(glOrtho)               \
    X(glViewport)            \
    X(glScissor)             \
    X(glDrawBuffer)          \
    X(glReadBuffer)          \
    X(glReadPixels)          \
    X(glPixelStorei)         \
    X(glGenTextures)         \
    X(glDeleteTextures)      \
    X(glTexImage2D)          \
    X(glTexParameteri)

#define TAMBER_DECLARE_COUNT(name) uint64_t tamberGLCalls_##name;
extern "C" {
TAMBER_COUNTED_GL(TAMBER_DECLARE_COUNT)
}

#if defined(__x86_64__) && defined(__ELF__)
// Counts and tail-calls the real function, leaving the arguments in their registers.
#define TAMBER_COUNTING_STUB(name)                                              \
    asm(".text\n"                                                               \
        ".globl __wrap_" #name "\n"                                             \
        ".type __wrap_" #name ", @function\n"                                   \
        "__wrap_" #name ":\n"                                                   \
        "    incq tamberGLCalls_" #name "(%rip)\n"                              \
        "    jmp __real_" #name "@PLT\n"                                        \
        ".size __wrap_" #name ", . - __wrap_" #name "\n");
TAMBER_COUNTED_GL(TAMBER_COUNTING_STUB)
#endif

namespace tamber::bench {

namespace {

bool StartsWith(const char* name, const char* prefix) { return std::strncmp(name, prefix, std::strlen(prefix)) == 0; }

}  // namespace

bool GLCallsCounted() {
#if defined(__x86_64__) && defined(__ELF__)
    return true;
#else
    return false;
#endif
}

GLCallCounts CountGLCalls() {
    GLCallCounts counts;
    auto add = [&](const char* name, uint64_t calls) {
        counts.all += calls;
        if (!std::strcmp(name, "glBegin") || !std::strcmp(name, "glDrawArrays") || !std::strcmp(name, "glClear"))
            counts.draws += calls;
        else if (StartsWith(name, "glGet") || StartsWith(name, "glIs"))
            counts.queries += calls;
        else if (StartsWith(name, "glPush") && std::strstr(name, "Attrib"))
            counts.pushes += calls;
        else if (StartsWith(name, "glVertex") || StartsWith(name, "glTexCoord") || StartsWith(name, "glColor"))
            counts.immediate += calls;
    };
#define TAMBER_ADD_COUNT(name) add(#name, tamberGLCalls_##name);
    TAMBER_COUNTED_GL(TAMBER_ADD_COUNT)
    return counts;
}

}  // namespace tamber::bench
