#include "bench/BenchSupport.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace {

int ParsePositive(std::string_view option, const char* text) {
    int value = 0;
    const std::string_view digits(text);
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() || value <= 0) {
        Fail(std::string(option) + " needs a positive number, not \"" + text + "\"");
    }
    return value;
}

SBenchOptions ParseOptions(int argc, char** argv) {
    SBenchOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option(argv[i]);
        if (option == "--huge") {
            options.huge = true;
            continue;
        }
        if (i + 1 >= argc) Fail("usage: [--rows N] [--runs R] [--dir D] [--huge]");
        const char* value = argv[++i];
        if (option == "--rows") {
            options.rows = ParsePositive(option, value);
        } else if (option == "--runs") {
            options.runs = ParsePositive(option, value);
        } else if (option == "--dir") {
            options.dir = value;
        } else {
            Fail("unknown option " + std::string(option));
        }
    }
    return options;
}

// A new folder under TMPDIR or /tmp, named after the program.
std::string MakeTemporaryDir(const char* program) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(program) + ".XXXXXX")).string();
    if (!mkdtemp(pattern.data())) Fail(std::string("cannot make a temporary folder: ") + std::strerror(errno));
    return pattern;
}

}  // namespace

void Fail(const std::string& message) { throw std::runtime_error(message); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[256];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count > 0) {
            text.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            return text;
        }
    }
}

int RunBenchMain(int argc, char** argv, const char* program, const std::function<void(const SBenchOptions&)>& bench) {
    std::string madeDir;
    int status = 0;
    try {
        SBenchOptions options = ParseOptions(argc, argv);
        if (options.dir.empty()) options.dir = madeDir = MakeTemporaryDir(program);
        bench(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", program, error.what());
        status = 1;
    }
    if (!madeDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(madeDir, ignored);
    }
    return status;
}
