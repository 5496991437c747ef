// cable_bench: times ReadCableListFile and WriteCableListFile on large cable lists beside
// `grep -c -E 'CableName|Velocity|CableLoss|Frequency'` on the same file in the same locale,
// measures the peak resident memory of a read, and times single-row changes of a large table.
//
//   cable_bench [--rows N] [--runs R] [--dir D] [--huge]
//
// Lists of 100,000 and 1,000,000 rows (about 10 and 100 MB), in a UTF-8 locale and in a GBK
// locale (made with localedef in the scratch folder), with names that hold a word of that
// character set. --huge adds 10,000,000 rows (about 1 GB, minutes); --rows N measures N rows only.
// R timed runs of each (default 5), medians shown; files in D (default a new temporary folder,
// removed at the end). The peak memory of a read is that of a fresh process that only reads.

#include "bench/BenchSupport.h"
#include "cable/CableListFile.h"
#include "cable/CableListText.h"
#include "cable/CableTable.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace {

constexpr std::string_view kGrepPattern = "CableName|Velocity|CableLoss|Frequency";
constexpr std::string_view kReadPeakChild = "--read-peak-child";

// A character set the bench runs in, and the word for "cable" in it that some names hold.
struct SCharset {
    const char* name;
    const char* locale;
    const char* charmap;  // for localedef, or nullptr for a locale that every system has
    std::string_view cableWord;
};

constexpr SCharset kUtf8{"UTF-8", "C.UTF-8", nullptr, "\xE7\x94\xB5\xE7\xBC\x86"};
constexpr SCharset kGbk{"GBK", "zh_CN.GBK", "GBK", "\xB5\xE7\xC0\xC2"};

struct SRowCells {
    std::string name, velocity, cableLoss, frequency;
};

// A well-mixed number for row, so that any row's cells can be made again without the others.
std::uint64_t Mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Cells as a user keeps them: a cable type and a stock number (every other one with the word
// "cable"), a velocity factor, a loss in dB per 100 m and a frequency in MHz.
SRowCells MakeRowCells(int row, std::string_view cableWord) {
    static constexpr std::array<std::string_view, 10> kTypes = {"RG58/U", "RG213/U", "RG174/U", "RG8X",    "RG6/U",
                                                                "RG59/U", "RG316",   "LMR-400", "LMR-240", "H-155"};
    static constexpr std::array<std::string_view, 7> kVelocities = {"0.66", "0.78", "0.8", "0.82",
                                                                    "0.84", "0.85", "0.87"};
    static constexpr std::array<std::string_view, 9> kFrequencies = {"10",   "50",   "100",  "145",  "435",
                                                                     "1296", "2400", "5800", "10000"};
    std::uint64_t bits = Mix(static_cast<std::uint64_t>(row));
    const auto pick = [&bits](std::size_t count) {
        const std::size_t index = static_cast<std::size_t>(bits % count);
        bits /= count;
        return index;
    };
    SRowCells cells;
    cells.name = std::string(kTypes[pick(kTypes.size())]) + "-" + std::to_string(1000 + pick(9000));
    if (pick(2) == 0) {
        cells.name += " ";
        cells.name += cableWord;
    }
    cells.velocity = kVelocities[pick(kVelocities.size())];
    const std::size_t tenths = 1 + pick(400);
    cells.cableLoss = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    cells.frequency = kFrequencies[pick(kFrequencies.size())];
    return cells;
}

// Whether table holds exactly the rows that MakeListFile writes.
bool HoldsBenchRows(const CCableTable& table, int rows, std::string_view cableWord) {
    if (table.GetItemCount() != rows) {
        return false;
    }
    for (int row = 0; row < rows; ++row) {
        const SRowCells cells = MakeRowCells(row, cableWord);
        const std::array<std::string_view, 4> read = table.GetRowTextViews(row);
        if (read[0] != cells.name || read[1] != cells.velocity || read[2] != cells.cableLoss ||
            read[3] != cells.frequency) {
            return false;
        }
    }
    return true;
}

double SecondsOf(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs program with arguments and waits for it. Returns its output; fails unless it exits with
// status 0 (or 1 when oneIsSuccess).
std::string Run(const std::vector<std::string>& arguments, bool oneIsSuccess = false) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        Fail(std::string("pipe: ") + std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawnError = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawnError != 0) {
        close(pipeEnds[0]);
        Fail("cannot run " + arguments[0] + ": " + std::strerror(spawnError));
    }
    const std::string output = ReadAll(pipeEnds[0]);
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            Fail(std::string("waitpid: ") + std::strerror(errno));
        }
    }
    if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && !(oneIsSuccess && WEXITSTATUS(status) == 1))) {
        Fail(arguments[0] + " failed");
    }
    return output;
}

// Runs grep -c over the file and returns the number of lines it counted.
long long GrepCount(const std::string& path) {
    // grep exits with 1 when it counted no line at all.
    return std::atoll(Run({"grep", "-c", "-E", std::string(kGrepPattern), path}, true).c_str());
}

// Puts the charset's locale in force here and for the programs started from here, made with
// localedef in dir first when the system does not have it. Returns false when it cannot be had.
bool UseCharset(const SCharset& charset, const std::string& dir) {
    if (charset.charmap != nullptr) {
        const std::filesystem::path locales = std::filesystem::path(dir) / "locales";
        if (!std::filesystem::exists(locales / charset.locale / "LC_CTYPE")) {
            std::filesystem::create_directories(locales);
            const std::string language(charset.locale, std::strchr(charset.locale, '.'));
            const std::string command = "localedef -i " + language + " -f " + charset.charmap + " '" +
                                        (locales / charset.locale).string() + "' >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0 && !std::filesystem::exists(locales / charset.locale / "LC_CTYPE")) {
                return false;
            }
        }
        setenv("LOCPATH", locales.c_str(), 1);
    }
    setenv("LC_ALL", charset.locale, 1);
    return std::setlocale(LC_ALL, charset.locale) != nullptr;
}

void MakeListFile(const std::string& path, int rows, std::string_view cableWord) {
    CCableTable table;
    table.ReserveRows(rows);
    for (int row = 0; row < rows; ++row) {
        const SRowCells cells = MakeRowCells(row, cableWord);
        table.AppendRow(cells.name, cells.velocity, cells.cableLoss, cells.frequency);
    }
    WriteCableListFile(path, table);
}

// The peak resident memory, in bytes, of a fresh process of this program that reads the file.
long long ReadPeakBytes(const std::string& path, int rows) {
    const std::string peak = Run({"/proc/self/exe", std::string(kReadPeakChild), path, std::to_string(rows)});
    return std::atoll(peak.c_str());
}

// The other side of ReadPeakBytes: reads the file as the program does (nothing for rows 0), and
// prints its own peak resident memory in bytes. Its own: a process started by another counts the
// starter's memory until it runs a program of its own, so the figure is taken from the system's
// account of this program alone. Succeeds when the file held the rows.
int RunReadPeakChild(const char* path, const char* rows) {
    std::setlocale(LC_CTYPE, "");
    CCableTable table;
    if (std::atoi(rows) > 0 && ReadCableListFile(path, table) != std::atoi(rows)) {
        return 1;
    }
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return 1;
    }
    char line[256];
    long long kibibytes = -1;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            kibibytes = std::atoll(line + 6);
        }
    }
    std::fclose(status);
    std::printf("%lld\n", kibibytes * 1024);
    return kibibytes < 0 ? 1 : 0;
}

struct SFigures {
    const SCharset* charset = nullptr;
    int rows = 0;
    long long fileBytes = 0;
    double grepSeconds = 0;
    double readSeconds = 0;
    double writeSeconds = 0;
    double copySeconds = 0;  // cp of the same file beside it, the write's yardstick
    long long readPeakBytes = 0;
    double formatSeconds = 0;      // the writer's own work, into no file
    double plainWriteSeconds = 0;  // the same bytes written and flushed by plain system calls
};

// The time that write(2) and fsync(2) of bytes take on a new file at path, which is removed again.
double PlainWriteSeconds(const std::string& path, const std::string& bytes) {
    const std::string plain = path + ".plain";
    const double seconds = SecondsOf([&] {
        const int fd = open(plain.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            Fail("cannot create " + plain);
        }
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t count = write(fd, bytes.data() + done, std::min<std::size_t>(bytes.size() - done, 1 << 20));
            if (count <= 0) {
                Fail("cannot write " + plain);
            }
            done += static_cast<std::size_t>(count);
        }
        if (fsync(fd) != 0 || close(fd) != 0) {
            Fail("cannot flush " + plain);
        }
    });
    std::filesystem::remove(plain);
    return seconds;
}

// Where the time of a write goes: the writer's own work (checking and formatting the rows into no
// file), and plain system calls writing and flushing the same bytes. Medians of runs.
void TimeWriteParts(const std::string& path, const CCableTable& rows, int runs, SFigures& figures) {
    std::vector<double> format, plain;
    for (int run = 0; run < runs; ++run) {
        std::size_t bytes = 0;
        format.push_back(SecondsOf([&] {
            CheckCableListCells(rows, path);
            WriteCableListText(rows, [&bytes](std::string_view piece) { bytes += piece.size(); });
        }));
        if (static_cast<long long>(bytes) != figures.fileBytes) {
            Fail("the writer made a text of another size");
        }
    }
    const std::string text = BuildCableListText(rows);
    for (int run = 0; run < runs; ++run) {
        plain.push_back(PlainWriteSeconds(path, text));
    }
    figures.formatSeconds = Median(format);
    figures.plainWriteSeconds = Median(plain);
}

double Megabytes(long long bytes) { return static_cast<double>(bytes) / 1e6; }

const char* Verdict(double value, double target) { return value <= target ? "met" : "MISSED"; }

void PrintHeading(int runs, long long barePeak) {
    std::printf(
        "cable_bench: median of %d run%s (up to ten times as many below 1,000,000 rows); the yardstick is grep -c -E "
        "'%s' on the same file in the same locale\n",
        runs, runs == 1 ? "" : "s", std::string(kGrepPattern).c_str());
    std::printf("read peak: a fresh process that only reads; the bare process, reading nothing, peaks at %.1f MB\n",
                Megabytes(barePeak));
    std::printf(
        "write: until the export returns (the replaced file is then closed by a thread, waited for before going on)\n"
        "write parts: the writer's own work into no file (fmt), and write(2)+fsync(2) of the same bytes (sys)\n"
        "cp: cp of the same file to a new one beside it, after each write\n");
    std::printf("%-6s %9s %7s %7s %7s %6s %7s %6s %6s %6s %6s %6s %8s %6s\n", "", "rows", "MB", "grep s", "read s",
                "x grep", "write s", "x grep", "cp s", "x cp", "fmt s", "sys s", "peak MB", "x file");
}

void PrintFigures(const SFigures& f) {
    std::printf("%-6s %9d %7.1f %7.3f %7.3f %6.2f %7.3f %6.2f %6.3f %6.2f %6.3f %6.3f %8.1f %6.2f\n", f.charset->name,
                f.rows, Megabytes(f.fileBytes), f.grepSeconds, f.readSeconds, f.readSeconds / f.grepSeconds,
                f.writeSeconds, f.writeSeconds / f.grepSeconds, f.copySeconds, f.writeSeconds / f.copySeconds,
                f.formatSeconds, f.plainWriteSeconds, Megabytes(f.readPeakBytes),
                static_cast<double>(f.readPeakBytes) / static_cast<double>(f.fileBytes));
    std::fflush(stdout);
}

// One list of one size in one character set, and what its runs measured.
struct SCase {
    const SCharset* charset = nullptr;
    std::string path;
    std::vector<double> grepTimes, readTimes, writeTimes, copyTimes;
    CCableTable rows;  // those of the last read
};

// The number of files this process has open.
int OpenFileCount() {
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

// Returns once this process has no more than count files open: the file that an export replaced
// is closed by a thread of its own, and freeing it must not weigh on the next measurement.
void WaitForOpenFiles(int count) {
    for (int waited = 0; OpenFileCount() > count; ++waited) {
        if (waited == 60000) Fail("a replaced file was still open a minute after its export");
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// One run of a case: grep, a read into an empty table and a write of the rows read, in that
// order, so that all three meet the file in the same state of the page cache.
void TimeRun(SCase& c, int rows, const std::string& dir) {
    UseCharset(*c.charset, dir);
    long long grepLines = 0;
    c.grepTimes.push_back(SecondsOf([&] { grepLines = GrepCount(c.path); }));
    c.rows.DeleteAllRows();
    CCableTable table;
    int rowCount = 0;
    c.readTimes.push_back(SecondsOf([&] { rowCount = ReadCableListFile(c.path, table); }));
    if (grepLines != 4LL * rows || rowCount != rows) {
        Fail(std::string(c.charset->name) + ": a run found the wrong number of rows");
    }
    c.rows = std::move(table);
    const int openFiles = OpenFileCount();
    c.writeTimes.push_back(SecondsOf([&] { WriteCableListFile(c.path, c.rows); }));
    WaitForOpenFiles(openFiles);
    const std::string copy = c.path + ".cp";
    c.copyTimes.push_back(SecondsOf([&] { Run({"cp", c.path, copy}); }));
    std::filesystem::remove(copy);
}

// The runs that the figures of a list of rows are the medians of: more below 1,000,000 rows
// (up to ten times as many), whose runs take milliseconds and so vary the most.
int RunsFor(int rows, int runs) { return runs * std::clamp(1'000'000 / rows, 1, 10); }

// The figures of a list of rows in each character set. The runs of the character sets take
// turns, so that a busy moment of the machine falls on all of them alike.
std::vector<SFigures> TimeSize(int rows, const std::vector<const SCharset*>& charsets, const SBenchOptions& options,
                               CCableTable& utf8Rows) {
    std::vector<SCase> cases(charsets.size());
    std::vector<SFigures> figures(charsets.size());
    for (std::size_t i = 0; i < charsets.size(); ++i) {
        cases[i].charset = charsets[i];
        cases[i].path =
            (std::filesystem::path(options.dir) / (std::string(charsets[i]->name) + "-CableList.ini")).string();
        UseCharset(*charsets[i], options.dir);
        MakeListFile(cases[i].path, rows, charsets[i]->cableWord);
        figures[i].readPeakBytes = ReadPeakBytes(cases[i].path, rows);
        GrepCount(cases[i].path);  // brings the file into the page cache
    }
    const int runs = RunsFor(rows, options.runs);
    for (int run = 0; run < runs; ++run) {
        for (SCase& c : cases) {
            TimeRun(c, rows, options.dir);
        }
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCase& c = cases[i];
        SFigures& f = figures[i];
        UseCharset(*c.charset, options.dir);
        if (!HoldsBenchRows(c.rows, rows, c.charset->cableWord)) {
            Fail(std::string(c.charset->name) + ": the rows read differ from the rows written");
        }
        f.charset = c.charset;
        f.rows = rows;
        f.fileBytes = static_cast<long long>(std::filesystem::file_size(c.path));
        f.grepSeconds = Median(c.grepTimes);
        f.readSeconds = Median(c.readTimes);
        f.writeSeconds = Median(c.writeTimes);
        f.copySeconds = Median(c.copyTimes);
        TimeWriteParts(c.path, c.rows, runs, f);
        PrintFigures(f);
        std::filesystem::remove(c.path);
        if (c.charset == &kUtf8) {
            utf8Rows = std::move(c.rows);
        }
    }
    return figures;
}

const SFigures* Find(const std::vector<SFigures>& all, const SCharset& charset, int rows) {
    for (const SFigures& f : all) {
        if (f.charset == &charset && f.rows == rows) {
            return &f;
        }
    }
    return nullptr;
}

void PrintVerdicts(const std::vector<SFigures>& all, long long barePeak) {
    std::printf("Targets:\n");
    for (const SFigures& f : all) {
        const double read = f.readSeconds / f.grepSeconds, write = f.writeSeconds / f.grepSeconds;
        const double peak = static_cast<double>(f.readPeakBytes) / static_cast<double>(f.fileBytes);
        const double ownPeak = static_cast<double>(f.readPeakBytes - barePeak) / static_cast<double>(f.fileBytes);
        std::printf(
            "  %-5s %9d rows: read %.2fx grep (<= 1.0: %s), write %.2fx grep (<= 1.0: %s), "
            "read peak %.2fx the file, %.2fx beyond the bare process (<= 0.75: %s, %s)\n",
            f.charset->name, f.rows, read, Verdict(read, 1.0), write, Verdict(write, 1.0), peak, ownPeak,
            Verdict(peak, 0.75), Verdict(ownPeak, 0.75));
    }
    for (const SFigures& gbk : all) {
        const SFigures* utf8 = Find(all, kUtf8, gbk.rows);
        if (gbk.charset == &kGbk && utf8 != nullptr) {
            const double ratio = gbk.readSeconds / utf8->readSeconds;
            std::printf("  GBK read of %d rows: %.2fx the UTF-8 read (<= 1.5: %s)\n", gbk.rows, ratio,
                        Verdict(ratio, 1.5));
        }
    }
    for (const SFigures& large : all) {
        const SFigures* small = Find(all, *large.charset, large.rows / 10);
        if (small != nullptr && large.rows >= 10'000'000) {
            const double read = large.readSeconds / (10 * small->readSeconds);
            const double write = large.writeSeconds / (10 * small->writeSeconds);
            // The same against grep in each run, which takes out how busy the machine was.
            const double grep = large.grepSeconds / (10 * small->grepSeconds);
            std::printf(
                "  %s %d rows: read %.2fx, write %.2fx ten times the %d-row figures (<= 1.2: %s, %s); "
                "grep %.2fx, so against grep read %.2fx, write %.2fx\n",
                large.charset->name, large.rows, read, write, small->rows, Verdict(read, 1.2), Verdict(write, 1.2),
                grep, read / grep, write / grep);
        }
    }
}

// The median and the slowest of runs of change, in milliseconds.
void PrintChangeTimes(const char* what, int runs, const std::function<void()>& change) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        times.push_back(SecondsOf(change) * 1000);
    }
    const double median = Median(times);
    std::printf("  %-38s %8.4f %8.4f   (median < 2 ms: %s)\n", what, median,
                *std::max_element(times.begin(), times.end()), Verdict(median, 2.0));
}

// Single-row changes of a table as the main window makes them.
void TimeRowChanges(CCableTable& table) {
    constexpr int kRuns = 21;
    if (table.GetItemCount() < 4 * kRuns) {
        std::printf("No table large enough for timing single-row changes\n");
        return;
    }
    std::printf("Single-row changes of a table of %d rows, milliseconds (median, slowest of %d):\n",
                table.GetItemCount(), kRuns);
    PrintChangeTimes("Add (a new row, then three cells)", kRuns, [&] {
        const int row = table.InsertRow(table.GetItemCount(), "RG213/U-2024");
        table.SetCellText(row, 1, "0.66");
        table.SetCellText(row, 2, "2.5");
        table.SetCellText(row, 3, "145");
    });
    int edited = table.GetItemCount() / 3;
    PrintChangeTimes("Edit (all four cells of a row, longer)", kRuns, [&] {
        table.SetCellText(edited, 0, "RG213/U-2024 double shielded");
        table.SetCellText(edited, 1, "0.660");
        table.SetCellText(edited, 2, "2.50");
        table.SetCellText(edited, 3, "1450");
        ++edited;
    });
    PrintChangeTimes("Delete (a row in the middle)", kRuns, [&] { table.DeleteRow(table.GetItemCount() / 2); });
    PrintChangeTimes("Delete (the first row)", kRuns, [&] { table.DeleteRow(0); });
}

void RunBench(const SBenchOptions& options) {
    std::vector<int> sizes{100'000, 1'000'000};
    if (options.huge) {
        sizes.push_back(10'000'000);
    }
    if (options.rows > 0) {
        sizes = {options.rows};
    }
    const int changed = std::min(*std::max_element(sizes.begin(), sizes.end()), 1'000'000);
    const long long barePeak = ReadPeakBytes((std::filesystem::path(options.dir) / "none").string(), 0);
    PrintHeading(options.runs, barePeak);
    std::vector<const SCharset*> charsets;
    for (const SCharset* charset : {&kUtf8, &kGbk}) {
        if (UseCharset(*charset, options.dir)) {
            charsets.push_back(charset);
        } else {
            std::printf("%-6s no %s locale: localedef could not make it\n", charset->name, charset->locale);
        }
    }
    std::vector<SFigures> all;
    CCableTable changes;
    for (int rows : sizes) {
        CCableTable utf8Rows;
        const std::vector<SFigures> figures = TimeSize(rows, charsets, options, utf8Rows);
        all.insert(all.end(), figures.begin(), figures.end());
        if (rows == changed) {
            changes = std::move(utf8Rows);
        }
    }
    PrintVerdicts(all, barePeak);
    TimeRowChanges(changes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && argv[1] == kReadPeakChild) {
        try {
            return RunReadPeakChild(argv[2], argv[3]);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "cable_bench (read): %s\n", error.what());
            return 1;
        }
    }
    return RunBenchMain(argc, argv, "cable_bench", RunBench);
}
