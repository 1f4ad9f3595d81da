// ProgramRun: one run of a real program as a child process, for program-level tests.
//
// The binary is VIEWERS_RUN_DIR/<name>. start() makes a fresh temporary working directory,
// writes the fixture files into it and starts the program there with stdin and stdout piped
// (stderr is kept for diagnostics); the environment is inherited, so DISPLAY and sanitizer
// settings pass through. A reader thread collects stdout line by line. Keys, mouse and
// screenshots go through xdotool and ImageMagick on the current X display. Every wait has a
// timeout; the destructor kills the program and removes the directory.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ScreenPixel {
    int r = 0, g = 0, b = 0;
};

// An RGB picture, row 0 at the top (as on screen).
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // width * height * 3 bytes

    bool empty() const { return width == 0 || height == 0; }
    ScreenPixel at(int x, int y) const;
    // Number of pixels for which keep(pixel) is true.
    int count(const std::function<bool(const ScreenPixel&)>& keep) const;
    // Number of pixels that differ from the same pixel of other (all of them when sizes differ).
    int differingPixels(const ScreenImage& other) const;
};

// Parses a binary PPM (P6, maxval 255); an empty image when the bytes are not one.
ScreenImage parsePpm(const std::string& bytes);

// True when an X display can be opened (DISPLAY set and answering).
bool displayAvailable();

// Runs argv (argv[0] looked up on PATH) with the given stdin text, collects its stdout, and
// kills it after timeoutSeconds. Returns the exit code, or -1 on timeout or failure to start.
int runCommand(const std::vector<std::string>& argv, double timeoutSeconds,
               std::string* output = nullptr, const std::string& input = "");

class ProgramRun {
public:
    std::string program;                        // file name inside VIEWERS_RUN_DIR, or an absolute path
    std::map<std::string, std::string> files;   // fixture files: name -> bytes
    std::vector<std::string> arguments;         // extra command-line arguments
    std::vector<std::string> environment;       // "NAME=value" entries added to the inherited ones
    std::string workDir;                        // set by start()
    pid_t pid = -1;
    std::string window;                         // X window id, set by findWindow()
    int pointerX = 400;                         // last window-relative pointer position we set
    int pointerY = 400;

    explicit ProgramRun(std::string programName);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Fixtures, before start(): a file with the given bytes, or a copy of a file in
    // VIEWERS_RUN_DIR (asName defaults to the same name). copyFromRunDir returns false when
    // the file cannot be read.
    void addFile(const std::string& name, const std::string& bytes);
    bool copyFromRunDir(const std::string& name, const std::string& asName = "");

    bool start();
    bool running();

    // Standard input.
    bool writeInput(const std::string& text);
    void closeInput();

    // Standard output. lines() holds the finished lines (without the '\n'); text() everything
    // read so far, the unfinished last line included.
    std::vector<std::string> lines() const;
    std::string text() const;
    std::string errorText() const;
    // Waits until a finished line satisfies match (or starts with prefix); the first such line
    // at index >= fromLine is returned through found. False on timeout or when the program ended
    // without such a line.
    bool waitForLine(const std::function<bool(const std::string&)>& match, double timeoutSeconds,
                     std::string* found = nullptr, size_t fromLine = 0);
    bool waitForLine(const std::string& prefix, double timeoutSeconds, std::string* found = nullptr,
                     size_t fromLine = 0);
    // Waits until the output (unfinished line included) contains needle.
    bool waitForText(const std::string& needle, double timeoutSeconds);
    // Waits until no new output has arrived for quietSeconds (at most timeoutSeconds in all).
    void waitForQuiet(double quietSeconds, double timeoutSeconds);
    size_t lineCount() const;

    // The program's visible window whose title matches the regular expression; "" on timeout.
    std::string findWindow(const std::string& titleRegex, double timeoutSeconds = 10.0);

    // Keyboard (xdotool key names: F1, Left, Up, ...). Keys go to the window under the pointer,
    // so each call first puts the pointer at (pointerX, pointerY) inside the window.
    bool keyDown(const std::string& key);
    bool keyUp(const std::string& key);
    bool holdKey(const std::string& key, double seconds);
    // Mouse, window-relative; buttons 1 left, 2 middle, 3 right.
    bool mouseMove(int x, int y);
    bool mouseDown(int button);
    bool mouseUp(int button);

    // Asks the window to close, as a window manager does when the user closes it
    // (a WM_DELETE_WINDOW message).
    bool closeWindow();

    // The window's current picture; empty on failure.
    ScreenImage screenshot();

    // SIGTERM, then wait (SIGKILL after timeoutSeconds). Returns the exit status: the exit code,
    // 128 + signal number when a signal ended it, -1 when it was not running.
    int stop(double timeoutSeconds = 5.0);
    // Waits for the program to end by itself; false on timeout. status as for stop().
    bool waitExit(double timeoutSeconds, int* status = nullptr);

private:
    int inputFd = -1;
    int outputFd = -1;
    int errorFd = -1;
    bool reaped = false;
    int exitStatus = -1;
    std::thread reader;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> finishedLines;
    std::string partial;
    std::string allOutput;
    std::string allErrors;
    bool outputClosed = false;
    double lastOutputTime = 0.0;

    void readLoop();
    bool reap(bool block);
    bool pointerIntoWindow();
    bool xdotool(const std::vector<std::string>& args);
};
