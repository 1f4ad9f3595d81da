// Preloaded into a program under test: stops the process (SIGSTOP) right after the buffer swaps
// listed in VIEWERS_PAUSE_AFTER_SWAPS (comma-separated swap numbers counted from 1), once the
// swapped picture has reached the X server. The test takes its screenshot of exactly that frame
// and lets the program go on with SIGCONT.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <signal.h>

#include <cstdlib>

namespace {

long swaps = 0;

bool listed(long number) {
    const char* list = std::getenv("VIEWERS_PAUSE_AFTER_SWAPS");
    if (list == nullptr) {
        return false;
    }
    while (*list != '\0') {
        char* end = nullptr;
        long value = std::strtol(list, &end, 10);
        if (end == list) {
            return false;
        }
        if (value == number) {
            return true;
        }
        list = *end == ',' ? end + 1 : end;
    }
    return false;
}

}  // namespace

extern "C" void glutSwapBuffers() {
    using Swap = void (*)();
    static Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
    real();
    ++swaps;
    if (listed(swaps)) {
        if (Display* display = glXGetCurrentDisplay()) {
            XSync(display, False);
        }
        raise(SIGSTOP);
    }
}
