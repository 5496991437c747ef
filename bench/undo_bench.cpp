// undo_bench: the main window's undo steps on a large table, beside the plain operation each one
// wraps: Delete of a middle row, Paste of 1,000 rows and Import, each done, undone and redone; and
// the memory that undoing an Import takes at its peak, beside the size of the table it brings back.

#include "BenchSupport.h"

#include "cable/CableListFile.h"
#include "cable/CableTable.h"
#include "ui/AppendRowsStep.h"
#include "ui/DeleteRowStep.h"
#include "ui/ReplaceTableStep.h"
#include "ui/UndoStack.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kPastedRows = 1000;
constexpr double kTargetMs = 100.0;

double TimeMs(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A kB figure of /proc/self/status ("VmRSS", "VmHWM"), in bytes.
long long StatusBytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) return std::stoll(line.substr(key.size() + 1)) * 1024;
    }
    Fail("no " + key + " in /proc/self/status");
}

// Makes the peak of the resident memory the present figure, so that VmHWM tells the peak from now.
void ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    if (!clear) Fail("cannot reset the peak memory through /proc/self/clear_refs");
}

void FillTable(CCableTable& table, int rows, const char* prefix) {
    table.ReserveRows(rows);
    for (int row = 0; row < rows; ++row) {
        table.AppendRow(prefix + std::to_string(row) + " double shielded", "0.66", "0.50", "100");
    }
}

std::vector<SCableRowTexts> PastedRows() {
    std::vector<SCableRowTexts> rows;
    for (int row = 0; row < kPastedRows; ++row) {
        rows.push_back(SCableRowTexts{"pasted " + std::to_string(row), "0.82", "0.19", "5"});
    }
    return rows;
}

void PrintRow(const char* step, const std::vector<double>& plain, const std::vector<double>& done,
              const std::vector<double>& undone, const std::vector<double>& redone) {
    const double worst = std::max({Median(done), Median(undone), Median(redone)});
    std::printf("%-28s %10.3f %10.3f %10.3f %10.3f   %s\n", step, Median(plain), Median(done), Median(undone),
                Median(redone), worst < kTargetMs ? "under 100 ms" : "OVER 100 ms");
}

void RunBench(const SBenchOptions& options) {
    const int rows = options.rows > 0 ? options.rows : 1'000'000;
    const int runs = options.runs;
    std::printf("Undo steps on a table of %d rows, milliseconds, medians of %d runs (target: each under %.0f ms):\n",
                rows, runs, kTargetMs);
    std::printf("%-28s %10s %10s %10s %10s\n", "step", "plain", "do", "undo", "redo");

    bool editing = true;
    CCableTable table;
    const long long beforeTable = StatusBytes("VmRSS");
    FillTable(table, rows, "RG");
    const long long tableBytes = StatusBytes("VmRSS") - beforeTable;

    std::vector<double> plain, done, undone, redone;
    for (int run = 0; run < runs; ++run) {
        const int middle = table.GetItemCount() / 2;
        plain.push_back(TimeMs([&] {
            const std::array<std::string_view, 4> cells = table.GetRowTextViews(middle);
            const SCableRowTexts kept{std::string(cells[0]), std::string(cells[1]), std::string(cells[2]),
                                      std::string(cells[3])};
            table.DeleteRow(middle);
            table.AppendRow(kept[0], kept[1], kept[2], kept[3]);  // keeps the size for the next run
        }));
        CUndoStack steps;
        table.SelectRow(middle);
        done.push_back(TimeMs([&] { steps.Push(std::make_unique<CDeleteRowStep>(table, editing, middle)); }));
        undone.push_back(TimeMs([&] { steps.Undo(); }));
        redone.push_back(TimeMs([&] { steps.Redo(); }));
        steps.Undo();
    }
    PrintRow("Delete of a middle row", plain, done, undone, redone);

    plain.clear(), done.clear(), undone.clear(), redone.clear();
    for (int run = 0; run < runs; ++run) {
        const std::vector<SCableRowTexts> pasted = PastedRows();
        plain.push_back(TimeMs([&] {
            for (const SCableRowTexts& row : pasted) table.AppendRow(row[0], row[1], row[2], row[3]);
        }));
        for (int row = 0; row < kPastedRows; ++row) table.DeleteRow(table.GetItemCount() - 1);
        CUndoStack steps;
        done.push_back(TimeMs([&] { steps.Push(std::make_unique<CAppendRowsStep>(table, editing, pasted)); }));
        undone.push_back(TimeMs([&] { steps.Undo(); }));
        redone.push_back(TimeMs([&] { steps.Redo(); }));
        steps.Undo();
    }
    PrintRow("Paste of 1,000 rows", plain, done, undone, redone);

    const std::string file = (std::filesystem::path(options.dir) / "CableList.ini").string();
    WriteCableListFile(file, table);
    plain.clear(), done.clear(), undone.clear(), redone.clear();
    long long undoPeakBytes = 0;
    for (int run = 0; run < runs; ++run) {
        CCableTable incoming;
        plain.push_back(TimeMs([&] { ReadCableListFile(file, incoming); }));
        CUndoStack steps;
        done.push_back(
            TimeMs([&] { steps.Push(std::make_unique<CReplaceTableStep>(table, editing, std::move(incoming))); }));
        const long long resident = StatusBytes("VmRSS");
        ResetPeak();
        undone.push_back(TimeMs([&] { steps.Undo(); }));
        undoPeakBytes = std::max(undoPeakBytes, StatusBytes("VmHWM") - resident);
        redone.push_back(TimeMs([&] { steps.Redo(); }));
        steps.Undo();
    }
    PrintRow("Import (plain: the read)", plain, done, undone, redone);
    std::printf("Undo of an Import: peak memory added %.1f MB, the table it brings back %.1f MB (%s)\n",
                static_cast<double>(undoPeakBytes) / 1e6, static_cast<double>(tableBytes) / 1e6,
                undoPeakBytes <= tableBytes ? "no more than the table" : "MORE than the table");
}

}  // namespace

int main(int argc, char** argv) { return RunBenchMain(argc, argv, "undo_bench", RunBench); }
