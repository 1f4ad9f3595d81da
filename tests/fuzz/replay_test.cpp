// Replays the inputs that once made a fuzz harness fail. The harness (linked in) does the checks
// of a fuzz run; here each input must simply come through, and in the sanitizer build without
// a report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::string> keptInputs() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(REGRESSION_DIR, error)) {
        if (entry.is_regular_file()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class KeptInput : public ::testing::TestWithParam<std::string> {};

TEST_P(KeptInput, RunsThroughTheHarness) {
    std::ifstream in(std::string(REGRESSION_DIR) + "/" + GetParam(), std::ios::binary);
    ASSERT_TRUE(in.good()) << GetParam();
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Regressions, KeptInput, ::testing::ValuesIn(keptInputs()), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(KeptInput);

}  // namespace
