// Records the GL calls of a real program run with apitrace, for tests of call order. The program
// runs in a fresh folder with the given fixture files, draws for a moment and is ended with End.
#pragma once

#include <unistd.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

inline const char* apitraceBinary() { return "/usr/bin/apitrace"; }
inline bool apitraceAvailable() { return access(apitraceBinary(), X_OK) == 0; }

// One text per GL call as apitrace dumps it ("glClear(mask = ...)"), without the window-system
// calls other than the swap (glX*) and the viewport and scissor that GLUT sets. Empty when the
// run failed.
inline std::vector<std::string> traceGlCalls(const std::string& program,
                                             const std::map<std::string, std::string>& files,
                                             double drawSeconds) {
    ProgramRun run(apitraceBinary());
    run.files = files;
    run.arguments = {"trace", "--api", "gl", "-o", "calls.trace",
                     std::string(VIEWERS_RUN_DIR) + "/" + program};
    if (!run.start()) return {};
    // The traced program is a child of apitrace: find its window by title alone.
    std::string id;
    for (int i = 0; i < 20 && id.empty(); ++i) {
        runCommand({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^camera class.s $"},
                   2.0, &id);
        id = id.substr(0, id.find('\n'));
    }
    if (id.empty()) return {};
    run.window = id;
    run.mouseMove(400, 400);
    usleep(static_cast<useconds_t>(drawSeconds * 1e6));
    run.keyDown("End");
    run.waitExit(20.0);
    runCommand({"xdotool", "keyup", "End"}, 5.0);

    std::string dump;
    if (runCommand({apitraceBinary(), "dump", "--color=never", "--call-nos=no",
                    run.workDir + "/calls.trace"},
                   60.0, &dump) != 0) {
        return {};
    }
    std::vector<std::string> calls;
    std::istringstream lines(dump);
    std::string line;
    while (std::getline(lines, line)) {
        bool swap = line.compare(0, 14, "glXSwapBuffers") == 0;
        if (line.compare(0, 2, "gl") != 0 || (line.compare(0, 3, "glX") == 0 && !swap) ||
            line.compare(0, 10, "glViewport") == 0 || line.compare(0, 9, "glScissor") == 0) {
            continue;
        }
        calls.push_back(line);
    }
    return calls;
}

// The calls before the first swap (start-up and the first display pass), then those between
// each two swaps. The calls after the last swap are dropped.
inline std::vector<std::vector<std::string>> splitAtSwaps(const std::vector<std::string>& calls) {
    std::vector<std::vector<std::string>> frames(1);
    for (const std::string& call : calls) {
        if (call.compare(0, 7, "glFlush") == 0) continue;  // part of the swap
        if (call.compare(0, 14, "glXSwapBuffers") == 0) {
            frames.emplace_back();
        } else {
            frames.back().push_back(call);
        }
    }
    frames.pop_back();
    return frames;
}

inline bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}
