// cable_bench: times ReadCableListFile and WriteCableListFile on a large cable list beside
// `grep -c -E 'CableName|Velocity|CableLoss|Frequency'` on the same file, and measures the peak
// resident memory of a read.
//
//   cable_bench [--rows N] [--runs R] [--dir D]
//
// N rows (default 1,000,000, about 100 MB), R timed runs of each (default 5, the median is shown),
// files in D (default a new temporary folder, removed at the end). The file is made and the peak
// memory measured in child processes, so that neither the rows the parent holds for the timed
// writes nor anything before counts towards the read's peak.

#include "bench/BenchSupport.h"
#include "cable/CableListFile.h"
#include "cable/CableTable.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <langinfo.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr std::string_view kGrepPattern = "CableName|Velocity|CableLoss|Frequency";

struct CRowCells {
    std::string name, velocity, cableLoss, frequency;
};

// A well-mixed number for row, so that any row's cells can be made again without the others.
std::uint64_t Mix(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Cells as a user keeps them: a cable type and a stock number, a velocity factor, a loss in dB
// per 100 m and a frequency in MHz.
CRowCells MakeRowCells(int row)
{
    static constexpr std::array<std::string_view, 10> kTypes = {
        "RG58/U", "RG213/U", "RG174/U", "RG8X", "RG6/U", "RG59/U", "RG316", "LMR-400", "LMR-240",
        "H-155"};
    static constexpr std::array<std::string_view, 7> kVelocities = {
        "0.66", "0.78", "0.8", "0.82", "0.84", "0.85", "0.87"};
    static constexpr std::array<std::string_view, 9> kFrequencies = {
        "10", "50", "100", "145", "435", "1296", "2400", "5800", "10000"};
    std::uint64_t bits = Mix(static_cast<std::uint64_t>(row));
    const auto pick = [&bits](std::size_t count) {
        const std::size_t index = static_cast<std::size_t>(bits % count);
        bits /= count;
        return index;
    };
    CRowCells cells;
    cells.name = std::string(kTypes[pick(kTypes.size())]) + "-" + std::to_string(1000 + pick(9000));
    cells.velocity = kVelocities[pick(kVelocities.size())];
    const std::size_t tenths = 1 + pick(400);
    cells.cableLoss = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    cells.frequency = kFrequencies[pick(kFrequencies.size())];
    return cells;
}

void FillBenchTable(CCableTable& table, int rows)
{
    table.ReserveRows(rows);
    for (int row = 0; row < rows; ++row) {
        const CRowCells cells = MakeRowCells(row);
        table.AppendRow(cells.name, cells.velocity, cells.cableLoss, cells.frequency);
    }
}

// Whether table holds exactly the rows FillBenchTable makes.
bool HoldsBenchRows(const CCableTable& table, int rows)
{
    if (table.GetItemCount() != rows) {
        return false;
    }
    for (int row = 0; row < rows; ++row) {
        const CRowCells cells = MakeRowCells(row);
        if (table.GetCellTextView(row, 0) != cells.name ||
            table.GetCellTextView(row, 1) != cells.velocity ||
            table.GetCellTextView(row, 2) != cells.cableLoss ||
            table.GetCellTextView(row, 3) != cells.frequency) {
            return false;
        }
    }
    return true;
}

double SecondsOf(const std::function<void()>& step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs work in a child process and waits for it; fills usage with the child's resource use. The
// child's exit status is work's result (0 for success); an exception in work is a failure.
int RunInChild(const std::function<int()>& work, rusage& usage)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        Fail(std::string("fork: ") + std::strerror(errno));
    }
    if (child == 0) {
        int status = 1;
        try {
            status = work();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "cable_bench (child): %s\n", error.what());
        }
        std::fflush(nullptr);
        _exit(status);
    }
    int status = 0;
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            Fail(std::string("wait4: ") + std::strerror(errno));
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void MakeListFile(const std::string& path, int rows)
{
    rusage usage{};
    const int status = RunInChild([&] {
        CCableTable table;
        FillBenchTable(table, rows);
        WriteCableListFile(path, table);
        return 0;
    }, usage);
    if (status != 0) {
        Fail("could not make " + path);
    }
}

// The peak resident memory of a process that reads the file at path, in bytes. The parent is
// small when it forks, so the peak is the read's own plus the program's bare footprint.
long long ReadPeakBytes(const std::string& path, int rows)
{
    rusage usage{};
    const int status = RunInChild([&] {
        CCableTable table;
        return ReadCableListFile(path, table) == rows ? 0 : 1;
    }, usage);
    if (status != 0) {
        Fail("reading " + path + " in a child process failed");
    }
    return static_cast<long long>(usage.ru_maxrss) * 1024;   // ru_maxrss is in KiB on Linux
}

// Runs grep -c over the file and returns the number of lines it counted.
long long GrepCount(const std::string& path)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        Fail(std::string("pipe: ") + std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    const std::string pattern(kGrepPattern);
    char* const argv[] = {const_cast<char*>("grep"), const_cast<char*>("-c"),
                          const_cast<char*>("-E"), const_cast<char*>(pattern.c_str()),
                          const_cast<char*>(path.c_str()), nullptr};
    pid_t child = 0;
    const int spawnError = posix_spawnp(&child, "grep", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawnError != 0) {
        close(pipeEnds[0]);
        Fail(std::string("cannot run grep: ") + std::strerror(spawnError));
    }
    const std::string output = ReadAll(pipeEnds[0]);
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // grep exits with 1 when it counted no line at all.
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        Fail("grep failed on " + path);
    }
    return std::atoll(output.c_str());
}

std::string ListFilePath(const std::string& dir)
{
    return (std::filesystem::path(dir) / "CableList.ini").string();
}

struct CBenchFigures {
    long long fileBytes = 0;
    double grepSeconds = 0;
    double readSeconds = 0;
    double writeSeconds = 0;
    long long readPeakBytes = 0;
};

// Each run times grep, a read into an empty table and a write of the rows read, in that order, so
// that all three meet the file in the same state of the page cache.
CBenchFigures TimeRuns(const std::string& path, const SBenchOptions& options)
{
    const long long expectedLines = 4LL * options.rows;
    if (GrepCount(path) != expectedLines) {   // also brings the file into the page cache
        Fail("grep counted an unexpected number of lines in " + path);
    }
    std::vector<double> grepTimes, readTimes, writeTimes;
    CCableTable rowsRead;
    for (int run = 0; run < options.runs; ++run) {
        long long grepLines = 0;
        grepTimes.push_back(SecondsOf([&] { grepLines = GrepCount(path); }));
        CCableTable table;
        int rowCount = 0;
        readTimes.push_back(SecondsOf([&] { rowCount = ReadCableListFile(path, table); }));
        if (grepLines != expectedLines || rowCount != options.rows) {
            Fail("run " + std::to_string(run + 1) + " found the wrong number of rows");
        }
        rowsRead = std::move(table);
        writeTimes.push_back(SecondsOf([&] { WriteCableListFile(path, rowsRead); }));
    }
    if (!HoldsBenchRows(rowsRead, options.rows)) {
        Fail("the rows read differ from the rows written");
    }
    CBenchFigures figures;
    figures.fileBytes = static_cast<long long>(std::filesystem::file_size(path));
    figures.grepSeconds = Median(grepTimes);
    figures.readSeconds = Median(readTimes);
    figures.writeSeconds = Median(writeTimes);
    return figures;
}

double Megabytes(long long bytes)
{
    return static_cast<double>(bytes) / 1e6;
}

const char* Verdict(double ratio, double target)
{
    return ratio <= target ? "met" : "MISSED";
}

// One timed step; its ratio to grep's time as well unless grepSeconds is 0.
void PrintTimeLine(const char* what, double seconds, long long bytes, double grepSeconds)
{
    std::printf("%-22s %10.3f %10.1f", what, seconds, Megabytes(bytes) / seconds);
    if (grepSeconds > 0) {
        std::printf("   %5.2fx grep (target <= 2: %s)", seconds / grepSeconds,
                    Verdict(seconds / grepSeconds, 2.0));
    }
    std::printf("\n");
}

void PrintFigures(const std::string& path, const SBenchOptions& options, const CBenchFigures& f)
{
    std::printf("cable_bench: %d rows, %.1f MB (%s), %d run%s, median of each; LC_CTYPE %s\n",
                options.rows, Megabytes(f.fileBytes), path.c_str(), options.runs,
                options.runs == 1 ? "" : "s", nl_langinfo(CODESET));
    std::printf("%-22s %10s %10s\n", "", "seconds", "MB/s");
    PrintTimeLine("grep -c -E (yardstick)", f.grepSeconds, f.fileBytes, 0);
    PrintTimeLine("ReadCableListFile", f.readSeconds, f.fileBytes, f.grepSeconds);
    PrintTimeLine("WriteCableListFile", f.writeSeconds, f.fileBytes, f.grepSeconds);
    const double peakRatio = static_cast<double>(f.readPeakBytes) / static_cast<double>(f.fileBytes);
    std::printf("%-22s %10.1f MB     %5.2fx file size (target <= 3: %s)\n", "read peak RSS",
                Megabytes(f.readPeakBytes), peakRatio, Verdict(peakRatio, 3.0));
}

void RunBench(const SBenchOptions& options)
{
    const std::string path = ListFilePath(options.dir);
    MakeListFile(path, options.rows);
    const long long peak = ReadPeakBytes(path, options.rows);
    CBenchFigures figures = TimeRuns(path, options);
    figures.readPeakBytes = peak;
    PrintFigures(path, options, figures);
}

}  // namespace

int main(int argc, char** argv)
{
    // The program reads lists in the user's character set; so does the bench.
    std::setlocale(LC_ALL, "");
    return RunBenchMain(argc, argv, "cable_bench", [](const SBenchOptions& options) {
        RunBench(options);
        std::filesystem::remove(ListFilePath(options.dir));
    });
}
