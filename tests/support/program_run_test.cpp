// The process helper itself, with ordinary system programs instead of the viewers.
#include "tests/support/program_run.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(ProgramRun, PassesInputAndCollectsLines) {
    ProgramRun run("/bin/cat");
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.writeInput("first\nsecond\nunfinished"));
    ASSERT_TRUE(run.waitForLine("sec", 5.0));
    EXPECT_TRUE(run.waitForText("unfinished", 5.0));
    run.closeInput();
    int status = -1;
    ASSERT_TRUE(run.waitExit(5.0, &status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(run.lines(), (std::vector<std::string>{"first", "second"}));
}

TEST(ProgramRun, RunsInItsOwnDirectoryWithFixturesAndReportsStatus) {
    ProgramRun run("/bin/sh");
    run.arguments = {"-c", "cat data.txt; echo \"$EXTRA\"; echo problem >&2; exit 3"};
    run.environment = {"EXTRA=from the test"};
    run.addFile("data.txt", "fixture line\n");
    ASSERT_TRUE(run.start());
    int status = -1;
    ASSERT_TRUE(run.waitExit(5.0, &status));
    EXPECT_EQ(status, 3);
    EXPECT_TRUE(run.waitForLine("fixture line", 5.0));
    EXPECT_TRUE(run.waitForLine("from the test", 5.0));
    run.stop();
    EXPECT_EQ(run.errorText(), "problem\n");
}

TEST(ProgramRun, StopEndsARunningProgramAndWaitsTimeOut) {
    ProgramRun run("/bin/sleep");
    run.arguments = {"30"};
    ASSERT_TRUE(run.start());
    auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(run.waitForLine("anything", 0.3));
    EXPECT_FALSE(run.waitExit(0.2));
    EXPECT_EQ(run.stop(), 128 + 15);  // SIGTERM
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
}

TEST(ProgramRun, WaitForLineGivesUpWhenTheProgramEnds) {
    ProgramRun run("/bin/echo");
    run.arguments = {"only"};
    ASSERT_TRUE(run.start());
    auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(run.waitForLine("missing", 30.0));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
}

TEST(ProgramRun, MissingProgramDoesNotStart) {
    ProgramRun run("no-such-program");
    EXPECT_FALSE(run.start());
    EXPECT_EQ(run.stop(), -1);
}

TEST(ParsePpm, ReadsPixelsAndRejectsBrokenHeaders) {
    std::string good = std::string("P6\n# comment\n2 1\n255\n") + std::string("\x01\x02\x03\xff\x00\x80", 6);
    ScreenImage image = parsePpm(good);
    ASSERT_EQ(image.width, 2);
    ASSERT_EQ(image.height, 1);
    EXPECT_EQ(image.at(1, 0).r, 255);
    EXPECT_EQ(image.at(1, 0).g, 0);
    EXPECT_EQ(image.at(1, 0).b, 128);
    EXPECT_EQ(image.at(5, 5).r, 0);  // outside: a black pixel, no read past the data

    const std::string broken[] = {
        "",
        "P3\n2 1\n255\n123456",                            // text PPM
        "P6\n2 1\n65535\n" + std::string(12, '\0'),        // 16-bit samples
        "P6\n2 1\n255\n" + std::string(5, '\0'),           // truncated pixels
        "P6\n2\n",                                         // truncated header
        "P6\n99999999 99999999\n255\n",                    // absurd size
    };
    for (const std::string& bytes : broken) {
        EXPECT_TRUE(parsePpm(bytes).empty()) << bytes.substr(0, 12);
    }
}
