// Damaged data files given to the real programs. Every run must print the loader's message (or a
// line of ours), go on drawing frames, end cleanly when told, and leave no sanitizer report: the
// sanitizer build runs this same table. The program's other files are the intact generated ones.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

enum class Program { Gridroute, Tilewalk, Streamview };

enum class Defect {
    Missing,
    Empty,
    Directory,         // a directory of that name (gridroute only: it reads its files after the dialogue)
    CutInHeader,       // the first 10 bytes
    CutAtThird,
    CutAtTwoThirds,
    CutBeforeEnd,      // all but the last 2 bytes
    HugeCoordinates,   // a triangle 2e7 units across
    NegativeCoordinates,
    ManyWideFaces,     // 3000 triangles each across a 510-unit board
    IndexOutOfRange,   // the intact maze plus faces past the end of every array
    NegativeIndex,     // ... plus faces with negative (relative) indices
    BareIndices,       // ... plus a face line "f 1 2 3"
    Garbage,           // 64 KiB of random bytes
    MegabyteLine,      // OBJ: the intact maze plus a vertex line with a 1 MB number; TGA: a 1 MB text line
    HundredMegabytes,  // 100 MB of vertex lines
    HugeSize,          // a TGA header claiming 32767 x 32767 pixels, and no pixel data
    NegativeSize,      // a TGA header claiming -2 x -3 pixels
};

const char* defectName(Defect d) {
    switch (d) {
    case Defect::Missing: return "Missing";
    case Defect::Empty: return "Empty";
    case Defect::Directory: return "Directory";
    case Defect::CutInHeader: return "CutInHeader";
    case Defect::CutAtThird: return "CutAtThird";
    case Defect::CutAtTwoThirds: return "CutAtTwoThirds";
    case Defect::CutBeforeEnd: return "CutBeforeEnd";
    case Defect::HugeCoordinates: return "HugeCoordinates";
    case Defect::NegativeCoordinates: return "NegativeCoordinates";
    case Defect::ManyWideFaces: return "ManyWideFaces";
    case Defect::IndexOutOfRange: return "IndexOutOfRange";
    case Defect::NegativeIndex: return "NegativeIndex";
    case Defect::BareIndices: return "BareIndices";
    case Defect::Garbage: return "Garbage";
    case Defect::MegabyteLine: return "MegabyteLine";
    case Defect::HundredMegabytes: return "HundredMegabytes";
    case Defect::HugeSize: return "HugeSize";
    case Defect::NegativeSize: return "NegativeSize";
    }
    return "?";
}

// The grid line of each program's intact maze: gridroute loads maze3 at 0.5, tilewalk maze1 at 0.3.
const char* const kIntactGrid = "<intact grid>";

struct BadInput {
    Program program;
    const char* file;      // the damaged file
    Defect defect;
    std::string expected;  // a console line; one ending in "..." is matched by its start
};

void PrintTo(const BadInput& c, std::ostream* out) { *out << c.file << " " << defectName(c.defect); }

std::string programName(Program p) {
    switch (p) {
    case Program::Gridroute: return "gridroute";
    case Program::Tilewalk: return "tilewalk";
    case Program::Streamview: return "streamview";
    }
    return "";
}

std::vector<std::string> programFiles(Program p) {
    switch (p) {
    case Program::Gridroute: return {"maze3.obj", "file.tga"};
    case Program::Tilewalk: return {"maze1.obj", "file.tga"};
    case Program::Streamview: return {"32_sample4.tga"};
    }
    return {};
}

std::string intactGridLine(Program p) {
    return p == Program::Gridroute ? "grid size::3364" : "grid size::11881";
}

std::string readRunFile(const std::string& name) {
    std::ifstream in(std::string(VIEWERS_RUN_DIR) + "/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string tgaHeader(int width, int height, int bits) {
    std::string h(18, '\0');
    h[2] = 2;
    h[12] = char(width & 255);
    h[13] = char((width >> 8) & 255);
    h[14] = char(height & 255);
    h[15] = char((height >> 8) & 255);
    h[16] = char(bits);
    return h;
}

// One triangle with a corner at (c, 0, c) and one at (-c, 0, -c), in the maze files' form.
std::string farTriangle(const char* c) {
    std::ostringstream out;
    out << "vt 0 0\nvn 0 1 0\nv " << c << " 0 " << c << "\nv -" << c << " 0 -" << c
        << "\nv 0 1 0\nf 1/1/1 2/1/1 3/1/1\n";
    return out.str();
}

// Built once per test process: vertex lines up to 100 MB.
const std::string& hundredMegabytesOfVertices() {
    static const std::string text = [] {
        const std::string line = "v 1.5 -2.25 3.125\n";
        std::string out;
        out.reserve(100u << 20);
        while (out.size() + line.size() <= (100u << 20)) {
            out += line;
        }
        return out;
    }();
    return text;
}

std::string damaged(Defect d, const std::string& intact, bool obj) {
    switch (d) {
    case Defect::Missing:
    case Defect::Directory:
        return "";
    case Defect::Empty: return "";
    case Defect::CutInHeader: return intact.substr(0, 10);
    case Defect::CutAtThird: return intact.substr(0, intact.size() / 3);
    case Defect::CutAtTwoThirds: return intact.substr(0, intact.size() * 2 / 3);
    case Defect::CutBeforeEnd: return intact.substr(0, intact.size() - 2);
    case Defect::HugeCoordinates: return farTriangle("1e7");
    case Defect::NegativeCoordinates: return farTriangle("-1e30");
    case Defect::ManyWideFaces: {
        std::string out = farTriangle("255");
        for (int i = 0; i < 2999; ++i) {
            out += "f 1/1/1 2/1/1 3/1/1\n";
        }
        return out;
    }
    case Defect::IndexOutOfRange:
        return intact + "f 999999/1/1 2/1/1 3/1/1\nf 1/1/1 2/99999/1 3/1/77777\nf 2147483647/1/1 1/1/1 1/1/1\n";
    case Defect::NegativeIndex:
        return intact + "f -1/-1/-1 -2/-2/-2 -3/-3/-3\nf 1/1/1 2/1/1 -2147483647/1/1\n";
    case Defect::BareIndices: return intact + "f 1 2 3\n";
    case Defect::Garbage: {
        std::mt19937 random(20261211);
        std::string out(64 * 1024, '\0');
        for (char& c : out) {
            c = char(random() & 255);
        }
        return out;
    }
    case Defect::MegabyteLine:
        return obj ? intact + "v " + std::string(1 << 20, '7') + " 0 0\n" : std::string(1 << 20, 'x') + "\n";
    case Defect::HundredMegabytes: return hundredMegabytesOfVertices();
    case Defect::HugeSize: return tgaHeader(32767, 32767, 24);
    case Defect::NegativeSize: return tgaHeader(-2, -3, 24) + std::string(18, '\x40');
    }
    return intact;
}

bool matches(const std::string& line, const std::string& expected) {
    const std::string dots = "...";
    if (expected.size() > dots.size() && expected.compare(expected.size() - 3, 3, dots) == 0) {
        return line.compare(0, expected.size() - 3, expected, 0, expected.size() - 3) == 0;
    }
    // gridroute's first loader message shares the line of the dialogue's last prompt.
    return line.size() >= expected.size() &&
           line.compare(line.size() - expected.size(), expected.size(), expected) == 0;
}

class BadInputs : public ::testing::TestWithParam<BadInput> {
protected:
    void SetUp() override {
        if (!displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }
};

TEST_P(BadInputs, ReportsKeepsDrawingAndEndsCleanly) {
    const BadInput& c = GetParam();
    ProgramRun run(programName(c.program));
    for (const std::string& name : programFiles(c.program)) {
        if (name != c.file) {
            ASSERT_TRUE(run.copyFromRunDir(name)) << name;
        } else if (c.defect != Defect::Missing && c.defect != Defect::Directory) {
            bool obj = name.size() > 4 && name.compare(name.size() - 4, 4, ".obj") == 0;
            run.addFile(name, damaged(c.defect, readRunFile(name), obj));
        }
    }
    ASSERT_TRUE(run.start());
    if (c.program == Program::Gridroute) {
        if (c.defect == Defect::Directory) {
            ASSERT_EQ(mkdir((run.workDir + "/" + c.file).c_str(), 0755), 0);
        }
        ASSERT_TRUE(run.writeInput("3\n0.5\n"));
    }

    // The big file takes a while to read, the more so in the sanitizer build.
    double loadSeconds = c.defect == Defect::HundredMegabytes ? 240.0 : 60.0;
    std::string expected = c.expected == kIntactGrid ? intactGridLine(c.program) : c.expected;
    EXPECT_TRUE(run.waitForLine([&](const std::string& l) { return matches(l, expected); }, loadSeconds))
        << "expected: " << expected << "\n" << run.text() << run.errorText();

    // The window is mapped once the start-up is over and the main loop runs.
    const char* title = c.program == Program::Gridroute ? "^VoveZuradoz $" : "^camera class.s $";
    ASSERT_FALSE(run.findWindow(title, loadSeconds).empty()) << run.text() << run.errorText();
    run.mouseMove(400, 400);

    int status = -1;
    switch (c.program) {
    case Program::Gridroute: {
        // Each F12 press is answered by the next display pass.
        size_t before = run.lineCount();
        ASSERT_TRUE(run.holdKey("F12", 0.2));
        EXPECT_TRUE(run.waitForLine([](const std::string& l) { return l == "got key"; }, 20.0, nullptr, before))
            << run.text() << run.errorText();
        status = run.stop(20.0);
        EXPECT_EQ(status, 128 + SIGTERM);
        break;
    }
    case Program::Tilewalk:
        // End is read by the camera in the display pass: the program ends with status 0 only
        // when frames are being drawn.
        {
            bool pressed = run.keyDown("End");
            bool ended = run.waitExit(30.0, &status);
            // The server keeps End down until it is released; the next run would see no press.
            runCommand({"xdotool", "keyup", "End"}, 5.0);
            ASSERT_TRUE(pressed);
            EXPECT_TRUE(ended) << run.text() << run.errorText();
            EXPECT_EQ(status, 0);
        }
        break;
    case Program::Streamview:
        usleep(500000);
        EXPECT_TRUE(run.running());
        EXPECT_FALSE(run.screenshot().empty());
        status = run.stop(20.0);
        EXPECT_EQ(status, 128 + SIGTERM);
        break;
    }
    EXPECT_EQ(run.text().find("caught something"), std::string::npos) << run.text();
    for (const char* report : {"AddressSanitizer", "LeakSanitizer", "runtime error"}) {
        EXPECT_EQ(run.errorText().find(report), std::string::npos) << run.errorText();
    }
}

std::vector<BadInput> table() {
    const char* const missingObj = "error objLoader.import() no file of that name!";
    const char* const refusedBoard = "tile board: the grid would have more than 4194304 tiles; the board stays empty";
    std::vector<BadInput> cases;
    for (Program p : {Program::Gridroute, Program::Tilewalk}) {
        const char* maze = p == Program::Gridroute ? "maze3.obj" : "maze1.obj";
        std::vector<std::pair<Defect, const char*>> objCases = {
            {Defect::Missing, missingObj},
            {Defect::Empty, "total faces:0"},
            {Defect::CutAtThird, "total faces:..."},
            {Defect::CutAtTwoThirds, "total faces:..."},
            {Defect::CutBeforeEnd, "total faces:..."},
            {Defect::HugeCoordinates, refusedBoard},
            {Defect::NegativeCoordinates, refusedBoard},
            {Defect::IndexOutOfRange, kIntactGrid},
            {Defect::NegativeIndex, kIntactGrid},
            {Defect::BareIndices, kIntactGrid},
            {Defect::Garbage, "total faces:..."},
            {Defect::MegabyteLine, kIntactGrid},
            {Defect::HundredMegabytes, "grid size::4"},
        };
        if (p == Program::Gridroute) {
            objCases.push_back({Defect::Directory, "total faces:0"});
            // (510.001 / 0.5 + 2) squared tiles, each triangle covering all of them
            objCases.push_back({Defect::ManyWideFaces, "grid size::1044484"});
        }
        for (const auto& oc : objCases) {
            cases.push_back({p, maze, oc.first, oc.second});
        }
    }
    for (Program p : {Program::Gridroute, Program::Tilewalk, Program::Streamview}) {
        bool flow = p == Program::Streamview;
        const char* image = flow ? "32_sample4.tga" : "file.tga";
        std::string loading = std::string("loading ") + image + "   ";
        std::vector<std::pair<Defect, std::string>> tgaCases = {
            {Defect::Missing, loading + "file not found"},
            {Defect::Empty, loading + "not bit support for file"},
            {Defect::CutInHeader, loading + "not bit support for file"},
            {Defect::CutAtThird, loading + "complete"},
            {Defect::CutBeforeEnd, loading + "complete"},
            {Defect::HugeSize, flow ? std::string("flow field: the image has more than 1048576 pixels, "
                                                  "no arrows and no particles")
                                    : loading + "complete"},
            {Defect::NegativeSize, flow ? std::string("flow field: the image has no 24-bit pixel data, "
                                                      "no arrows and no particles")
                                        : loading + "complete"},
            {Defect::Garbage, loading + "..."},
            {Defect::MegabyteLine, loading + "not bit support for file"},
            {Defect::HundredMegabytes, loading + "not bit support for file"},
        };
        if (p == Program::Gridroute) {
            tgaCases.push_back({Defect::Directory, loading + "not bit support for file"});
        }
        for (const auto& tc : tgaCases) {
            cases.push_back({p, image, tc.first, tc.second});
        }
    }
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<BadInput>& info) {
    std::string name = programName(info.param.program) + "_" + info.param.file + "_" + defectName(info.param.defect);
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) {
            ch = '_';
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputs, ::testing::ValuesIn(table()), caseName);

}  // namespace
