// A fresh directory for the files one test writes; removed with everything in it at the end.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "assets-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
        }
    }
    ~ScratchDir() {
        if (!path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Writes bytes to a file of this name and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::string full = path + "/" + name;
        std::ofstream out(full, std::ios::binary);
        out << bytes;
        EXPECT_TRUE(out.good()) << full;
        return full;
    }

    std::string path;
};
