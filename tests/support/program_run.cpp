#include "tests/support/program_run.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#ifndef VIEWERS_RUN_DIR
#error "VIEWERS_RUN_DIR must name the folder that holds the programs"
#endif

namespace {

double now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// exit code, or 128 + signal, from a waitpid status
int decodeStatus(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return -1;
}

std::vector<char*> argvPointers(std::vector<std::string>& args) {
    std::vector<char*> pointers;
    for (std::string& a : args) {
        pointers.push_back(&a[0]);
    }
    pointers.push_back(nullptr);
    return pointers;
}

void ignoreSigpipe() {
    static bool done = false;
    if (!done) {
        signal(SIGPIPE, SIG_IGN);
        done = true;
    }
}

}  // namespace

ScreenPixel ScreenImage::at(int x, int y) const {
    ScreenPixel p;
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return p;
    }
    size_t i = (static_cast<size_t>(y) * width + x) * 3;
    p.r = rgb[i];
    p.g = rgb[i + 1];
    p.b = rgb[i + 2];
    return p;
}

int ScreenImage::count(const std::function<bool(const ScreenPixel&)>& keep) const {
    int n = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (keep(at(x, y))) {
                ++n;
            }
        }
    }
    return n;
}

int ScreenImage::differingPixels(const ScreenImage& other) const {
    if (width != other.width || height != other.height) {
        return std::max(width * height, other.width * other.height);
    }
    int n = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        if (rgb[i] != other.rgb[i] || rgb[i + 1] != other.rgb[i + 1] || rgb[i + 2] != other.rgb[i + 2]) {
            ++n;
        }
    }
    return n;
}

ScreenImage parsePpm(const std::string& bytes) {
    ScreenImage image;
    size_t pos = 0;
    // Header: "P6", width, height, maxval, separated by white space (comments allowed), then
    // exactly one white-space byte before the pixels.
    auto skipSpaceAndComments = [&] {
        while (pos < bytes.size()) {
            if (bytes[pos] == '#') {
                while (pos < bytes.size() && bytes[pos] != '\n') {
                    ++pos;
                }
            } else if (std::isspace(static_cast<unsigned char>(bytes[pos]))) {
                ++pos;
            } else {
                break;
            }
        }
    };
    auto readNumber = [&](int& out) {
        skipSpaceAndComments();
        if (pos >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[pos]))) {
            return false;
        }
        long value = 0;
        while (pos < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[pos]))) {
            value = value * 10 + (bytes[pos] - '0');
            if (value > 100000) {
                return false;
            }
            ++pos;
        }
        out = static_cast<int>(value);
        return true;
    };
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') {
        return image;
    }
    pos = 2;
    int w = 0, h = 0, maxval = 0;
    if (!readNumber(w) || !readNumber(h) || !readNumber(maxval) || maxval != 255) {
        return image;
    }
    if (pos >= bytes.size() || !std::isspace(static_cast<unsigned char>(bytes[pos]))) {
        return image;
    }
    ++pos;
    size_t needed = static_cast<size_t>(w) * h * 3;
    if (bytes.size() - pos < needed) {
        return image;
    }
    image.width = w;
    image.height = h;
    image.rgb.assign(bytes.begin() + pos, bytes.begin() + pos + needed);
    return image;
}

bool displayAvailable() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') {
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

int runCommand(const std::vector<std::string>& argv, double timeoutSeconds, std::string* output,
               const std::string& input) {
    ignoreSigpipe();
    std::vector<std::string> args = argv;
    std::vector<char*> pointers = argvPointers(args);
    int out[2], in[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        return -1;
    }
    if (pipe2(in, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return -1;
    }
    pid_t child = fork();
    if (child < 0) {
        close(out[0]);
        close(out[1]);
        close(in[0]);
        close(in[1]);
        return -1;
    }
    if (child == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        execvp(pointers[0], pointers.data());
        _exit(127);
    }
    close(out[1]);
    close(in[0]);
    if (!input.empty()) {
        ssize_t unused = write(in[1], input.data(), input.size());
        (void)unused;
    }
    close(in[1]);
    double deadline = now() + timeoutSeconds;
    std::string collected;
    bool timedOut = false;
    for (;;) {
        double left = deadline - now();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{out[0], POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(left * 1000) + 1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            continue;
        }
        char buffer[65536];
        ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        collected.append(buffer, static_cast<size_t>(n));
    }
    close(out[0]);
    int status = 0;
    if (timedOut) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return -1;
    }
    // Output closed: the command is ending; give it a moment, then insist.
    double waitDeadline = now() + timeoutSeconds;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (now() > waitDeadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        usleep(2000);
    }
    if (output != nullptr) {
        *output = collected;
    }
    return decodeStatus(status);
}

ProgramRun::ProgramRun(std::string programName) : program(std::move(programName)) {}

ProgramRun::~ProgramRun() {
    if (pid > 0 && !reaped) {
        kill(pid, SIGKILL);
        reap(true);
    }
    if (inputFd >= 0) {
        close(inputFd);
    }
    if (reader.joinable()) {
        reader.join();
    }
    if (outputFd >= 0) {
        close(outputFd);
    }
    if (errorFd >= 0) {
        close(errorFd);
    }
    if (!workDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(workDir, ignored);
    }
}

void ProgramRun::addFile(const std::string& name, const std::string& bytes) { files[name] = bytes; }

bool ProgramRun::copyFromRunDir(const std::string& name, const std::string& asName) {
    std::ifstream in(std::string(VIEWERS_RUN_DIR) + "/" + name, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    files[asName.empty() ? name : asName] = bytes;
    return true;
}

bool ProgramRun::start() {
    if (pid > 0) {
        return false;
    }
    ignoreSigpipe();
    std::string binary = program[0] == '/' ? program : std::string(VIEWERS_RUN_DIR) + "/" + program;
    if (access(binary.c_str(), X_OK) != 0) {
        return false;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/programrun-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        return false;
    }
    workDir = pattern;
    for (const auto& file : files) {
        std::ofstream out(workDir + "/" + file.first, std::ios::binary);
        out << file.second;
        if (!out) {
            return false;
        }
    }

    std::vector<std::string> args{binary};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers = argvPointers(args);
    // The inherited environment, with the entries of `environment` replacing those of the same name.
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry = *e;
        std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& extra : environment) {
            replaced = replaced || extra.substr(0, extra.find('=')) == name;
        }
        if (!replaced) {
            env.push_back(entry);
        }
    }
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char*> envPointers = argvPointers(env);
    std::string dir = workDir;
    pid_t parent = getpid();

    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0) {
        return false;
    }
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return false;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        close(out[0]);
        close(out[1]);
        return false;
    }
    pid_t child = fork();
    if (child < 0) {
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
            close(fd);
        }
        return false;
    }
    if (child == 0) {
        // Only async-signal-safe calls between fork and exec.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(126);
        }
        if (chdir(dir.c_str()) != 0) {
            _exit(126);
        }
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        execve(pointers[0], pointers.data(), envPointers.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    pid = child;
    inputFd = in[1];
    outputFd = out[0];
    errorFd = err[0];
    lastOutputTime = now();
    reader = std::thread([this] { readLoop(); });
    return true;
}

void ProgramRun::readLoop() {
    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        pollfd fds[2] = {{outOpen ? outputFd : -1, POLLIN, 0}, {errOpen ? errorFd : -1, POLLIN, 0}};
        int ready = poll(fds, 2, 200);
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready <= 0) {
            continue;
        }
        char buffer[8192];
        if (outOpen && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            ssize_t n = read(outputFd, buffer, sizeof buffer);
            std::lock_guard<std::mutex> lock(mutex);
            if (n <= 0) {
                outOpen = false;
                outputClosed = true;
            } else {
                allOutput.append(buffer, static_cast<size_t>(n));
                for (ssize_t i = 0; i < n; ++i) {
                    if (buffer[i] == '\n') {
                        finishedLines.push_back(partial);
                        partial.clear();
                    } else {
                        partial += buffer[i];
                    }
                }
                lastOutputTime = now();
            }
            changed.notify_all();
        }
        if (errOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            ssize_t n = read(errorFd, buffer, sizeof buffer);
            std::lock_guard<std::mutex> lock(mutex);
            if (n <= 0) {
                errOpen = false;
            } else {
                allErrors.append(buffer, static_cast<size_t>(n));
            }
        }
    }
    std::lock_guard<std::mutex> lock(mutex);
    outputClosed = true;
    changed.notify_all();
}

bool ProgramRun::reap(bool block) {
    if (pid <= 0) {
        return false;
    }
    if (reaped) {
        return true;
    }
    int status = 0;
    pid_t r = waitpid(pid, &status, block ? 0 : WNOHANG);
    if (r == pid) {
        reaped = true;
        exitStatus = decodeStatus(status);
        return true;
    }
    return false;
}

bool ProgramRun::running() { return pid > 0 && !reap(false); }

bool ProgramRun::writeInput(const std::string& text) {
    if (inputFd < 0) {
        return false;
    }
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(inputFd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

void ProgramRun::closeInput() {
    if (inputFd >= 0) {
        close(inputFd);
        inputFd = -1;
    }
}

std::vector<std::string> ProgramRun::lines() const {
    std::lock_guard<std::mutex> lock(mutex);
    return finishedLines;
}

size_t ProgramRun::lineCount() const {
    std::lock_guard<std::mutex> lock(mutex);
    return finishedLines.size();
}

std::string ProgramRun::text() const {
    std::lock_guard<std::mutex> lock(mutex);
    return allOutput;
}

std::string ProgramRun::errorText() const {
    std::lock_guard<std::mutex> lock(mutex);
    return allErrors;
}

bool ProgramRun::waitForLine(const std::function<bool(const std::string&)>& match, double timeoutSeconds,
                             std::string* found, size_t fromLine) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    std::unique_lock<std::mutex> lock(mutex);
    size_t next = fromLine;
    for (;;) {
        for (; next < finishedLines.size(); ++next) {
            if (match(finishedLines[next])) {
                if (found != nullptr) {
                    *found = finishedLines[next];
                }
                return true;
            }
        }
        if (outputClosed) {
            return false;
        }
        if (changed.wait_until(lock, deadline) == std::cv_status::timeout) {
            // one last look at lines that arrived with the timeout
            for (; next < finishedLines.size(); ++next) {
                if (match(finishedLines[next])) {
                    if (found != nullptr) {
                        *found = finishedLines[next];
                    }
                    return true;
                }
            }
            return false;
        }
    }
}

bool ProgramRun::waitForLine(const std::string& prefix, double timeoutSeconds, std::string* found,
                             size_t fromLine) {
    return waitForLine([&](const std::string& line) { return line.compare(0, prefix.size(), prefix) == 0; },
                       timeoutSeconds, found, fromLine);
}

bool ProgramRun::waitForText(const std::string& needle, double timeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        if (allOutput.find(needle) != std::string::npos) {
            return true;
        }
        if (outputClosed) {
            return false;
        }
        if (changed.wait_until(lock, deadline) == std::cv_status::timeout) {
            return allOutput.find(needle) != std::string::npos;
        }
    }
}

void ProgramRun::waitForQuiet(double quietSeconds, double timeoutSeconds) {
    double deadline = now() + timeoutSeconds;
    for (;;) {
        double last;
        {
            std::lock_guard<std::mutex> lock(mutex);
            last = lastOutputTime;
        }
        double t = now();
        if (t - last >= quietSeconds || t >= deadline) {
            return;
        }
        usleep(20000);
    }
}

std::string ProgramRun::findWindow(const std::string& titleRegex, double timeoutSeconds) {
    if (pid <= 0) {
        return "";
    }
    double deadline = now() + timeoutSeconds;
    // --sync waits for the window itself; runCommand's timeout bounds the wait.
    while (now() < deadline) {
        std::string out;
        double left = deadline - now();
        int status = runCommand({"xdotool", "search", "--sync", "--onlyvisible", "--pid", std::to_string(pid),
                                 "--name", titleRegex},
                                std::min(left, 2.0), &out);
        if (status == 0) {
            std::istringstream lines(out);
            std::string id;
            if (std::getline(lines, id) && !id.empty()) {
                window = id;
                return window;
            }
        }
        if (!running()) {
            return "";
        }
    }
    return "";
}

bool ProgramRun::xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return runCommand(argv, 10.0) == 0;
}

bool ProgramRun::pointerIntoWindow() {
    if (window.empty()) {
        return false;
    }
    return xdotool({"mousemove", "--window", window, std::to_string(pointerX), std::to_string(pointerY)});
}

bool ProgramRun::keyDown(const std::string& key) { return pointerIntoWindow() && xdotool({"keydown", key}); }

bool ProgramRun::keyUp(const std::string& key) { return pointerIntoWindow() && xdotool({"keyup", key}); }

bool ProgramRun::holdKey(const std::string& key, double seconds) {
    if (!keyDown(key)) {
        return false;
    }
    usleep(static_cast<useconds_t>(seconds * 1e6));
    return keyUp(key);
}

bool ProgramRun::mouseMove(int x, int y) {
    pointerX = x;
    pointerY = y;
    return pointerIntoWindow();
}

bool ProgramRun::mouseDown(int button) {
    return pointerIntoWindow() && xdotool({"mousedown", std::to_string(button)});
}

bool ProgramRun::mouseUp(int button) { return pointerIntoWindow() && xdotool({"mouseup", std::to_string(button)}); }

bool ProgramRun::closeWindow() {
    if (window.empty()) {
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(std::stoul(window));
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0;
}

ScreenImage ProgramRun::screenshot() {
    if (window.empty()) {
        return ScreenImage();
    }
    std::string bytes;
    if (runCommand({"import", "-window", window, "-depth", "8", "ppm:-"}, 15.0, &bytes) != 0) {
        return ScreenImage();
    }
    return parsePpm(bytes);
}

bool ProgramRun::waitExit(double timeoutSeconds, int* status) {
    if (pid <= 0) {
        return false;
    }
    double deadline = now() + timeoutSeconds;
    while (!reap(false)) {
        if (now() >= deadline) {
            return false;
        }
        usleep(5000);
    }
    if (status != nullptr) {
        *status = exitStatus;
    }
    return true;
}

int ProgramRun::stop(double timeoutSeconds) {
    if (pid <= 0) {
        return -1;
    }
    if (!reaped) {
        kill(pid, SIGTERM);
        if (!waitExit(timeoutSeconds)) {
            kill(pid, SIGKILL);
            reap(true);
        }
    }
    closeInput();
    if (reader.joinable()) {
        reader.join();
    }
    return exitStatus;
}
