// window_bench: times the program's windows on the Qt backend, offscreen.
//
//   window_bench [--rows N] [--runs R] [--dir D]
//
// Import: a list of N rows (default 1,000,000) read through the real main window, from the click
// on Import to the end of the first paint of the filled list, beside ReadCableListFile alone on
// the same file. Start-up: a fresh process running the program's own start-up until the main
// window's first paint has ended. Undo and Redo: Ctrl+Z and Ctrl+Y of a Delete and of an Import
// made over the list, each from the key to the end of the list's next paint. R runs of each
// (default 5); the median is shown. The list file is made in D (default a new temporary folder,
// removed at the end).

#include "app/QuorlisApp.h"
#include "bench/BenchSupport.h"
#include "cable/CableListFile.h"
#include "cable/CableTable.h"
#include "platform/WinApp.h"
#include "platform/Windowing.h"
#include "platform/qt/probe/QtProbe.h"
#include "res/Commands.h"
#include "res/ResourceIds.h"
#include "ui/QuorlisDlg.h"

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kStartupChild = "--startup-child";

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

void MakeListFile(const std::string& path, int rows) {
    CCableTable table;
    table.ReserveRows(rows);
    for (int row = 0; row < rows; ++row) {
        const std::string number = std::to_string(row);
        table.AppendRow("RG58/U-" + number, "0.66", "0.5" + number.substr(0, 2), "145");
    }
    WriteCableListFile(path, table);
}

// The Qt backend with the file chooser answered by the bench and message boxes counted, not shown.
class CBenchWindowing final : public IWindowing {
public:
    CBenchWindowing(IWindowing& backend, std::string path) : m_backend(backend), m_path(std::move(path)) {}

    int GetMessageCount() const { return m_messages; }

    void InitCommonControls(unsigned classSet) override { m_backend.InitCommonControls(classSet); }
    std::unique_ptr<IDialogWindow> CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                      IDialogWindow* owner) override {
        return m_backend.CreateDialogWindow(dialog, layout, owner);
    }
    int ShowMessageBox(IDialogWindow*, const std::string& text, const std::string&, EMsgBoxType, EMsgBoxIcon,
                       EMsgBoxDefault) override {
        std::fprintf(stderr, "window_bench: message \"%s\"\n", text.c_str());
        ++m_messages;
        return kIdOk;
    }
    std::optional<std::string> ChooseFile(IDialogWindow*, const SFileChooser&) override { return m_path; }
    bool SetClipboardText(const std::string& text) override { return m_backend.SetClipboardText(text); }
    std::optional<SClipboardText> GetClipboardText() override { return m_backend.GetClipboardText(); }
    void BeginWaitCursor() override { m_backend.BeginWaitCursor(); }
    void EndWaitCursor() noexcept override { m_backend.EndWaitCursor(); }

private:
    IWindowing& m_backend;
    std::string m_path;
    int m_messages = 0;
};

double TimeCoreRead(const std::string& path, int rows) {
    CCableTable table;
    const Clock::time_point start = Clock::now();
    const int read = ReadCableListFile(path, table);
    const double seconds = Seconds(start, Clock::now());
    if (read != rows) Fail("the core read " + std::to_string(read) + " rows");
    return seconds;
}

// One Import in a fresh main window, from the click to the end of the list's next paint.
double TimeWindowImport(const CBenchWindowing& windowing, int rows) {
    CQuorlisDlg dlg;
    Clock::time_point clicked, painted;
    bool probed = false;
    // Nothing may be thrown through the toolkit's event loop: failures are checked afterwards.
    CallAfterFirstWindowPaint([&] {
        probed = CallAfterNextPaint(dlg, IDC_CABLE_LIST, [&] {
            painted = Clock::now();
            dlg.EndDialog(kIdCancel);
        });
        clicked = Clock::now();
        probed = probed && ClickButton(dlg, IDC_IMPORT);
        if (!probed) dlg.EndDialog(kIdCancel);
    });
    const int messages = windowing.GetMessageCount();
    dlg.DoModal();
    if (!probed) Fail("the main window has no list or no Import button");
    if (dlg.m_table.GetItemCount() != rows || windowing.GetMessageCount() != messages) {
        Fail("the window's Import made " + std::to_string(dlg.m_table.GetItemCount()) + " rows");
    }
    return Seconds(clicked, painted);
}

// In a main window holding the list twice imported: Ctrl+Z and Ctrl+Y of Delete (a middle row) and
// of the second Import, each from the key to the end of the list's next paint, in seconds.
struct SUndoTimes {
    double undoDelete = 0, redoDelete = 0, undoImport = 0, redoImport = 0;
};

SUndoTimes TimeWindowUndo(int rows) {
    CQuorlisDlg dlg;
    SUndoTimes times;
    std::vector<std::function<void()>> actions;
    std::vector<double*> results;
    std::size_t next = 0;
    bool probed = true;
    Clock::time_point start;
    // Runs the actions in turn, each after the list's paint that followed the one before.
    std::function<void()> runNext = [&] {
        if (next > 0 && results[next - 1]) *results[next - 1] = Seconds(start, Clock::now());
        if (next == actions.size()) {
            dlg.EndDialog(kIdCancel);
            return;
        }
        probed = probed && CallAfterNextPaint(dlg, IDC_CABLE_LIST, runNext);
        start = Clock::now();
        actions[next++]();
    };
    const auto key = [&](unsigned letter) { return [&dlg, letter] { dlg.HandleAccelerator(letter, kModControl); }; };
    const auto click = [&](int id) { return [&, id] { probed = probed && ClickButton(dlg, id); }; };
    const auto deleteMiddleRow = [&] {
        dlg.m_table.SelectRow(rows / 2);
        click(IDC_DELETE_CABLE)();
    };
    actions = {click(IDC_IMPORT), click(IDC_IMPORT), deleteMiddleRow, key('Z'), key('Y'), key('Z'), key('Z'), key('Y')};
    results = {nullptr,           nullptr, nullptr,           &times.undoDelete,
               &times.redoDelete, nullptr, &times.undoImport, &times.redoImport};
    CallAfterFirstWindowPaint([&] { runNext(); });
    dlg.DoModal();
    if (!probed || dlg.m_table.GetItemCount() != rows) Fail("the window's Undo and Redo went wrong");
    return times;
}

void BenchUndo(int argc, char** argv, const SBenchOptions& options, const std::string& path) {
    std::vector<double> undoDelete, redoDelete, undoImport, redoImport;
    {
        const std::unique_ptr<IWindowing> backend = CreateDefaultWindowing(argc, argv);
        CBenchWindowing windowing(*backend, path);
        SetWindowing(&windowing);
        for (int run = 0; run < options.runs; ++run) {
            const SUndoTimes times = TimeWindowUndo(options.rows);
            undoDelete.push_back(times.undoDelete);
            redoDelete.push_back(times.redoDelete);
            undoImport.push_back(times.undoImport);
            redoImport.push_back(times.redoImport);
        }
        SetWindowing(nullptr);
    }
    std::printf(
        "Undo and Redo in the main window holding %d rows, key to painted list, median of %d runs "
        "(target < 100 ms each):\n",
        options.rows, options.runs);
    std::printf("  Delete of a middle row: Ctrl+Z %8.1f ms, Ctrl+Y %8.1f ms\n", Median(undoDelete) * 1000,
                Median(redoDelete) * 1000);
    std::printf("  Import over the list:   Ctrl+Z %8.1f ms, Ctrl+Y %8.1f ms\n", Median(undoImport) * 1000,
                Median(redoImport) * 1000);
}

void BenchImport(int argc, char** argv, const SBenchOptions& options, const std::string& path) {
    std::vector<double> core, window;
    {
        const std::unique_ptr<IWindowing> backend = CreateDefaultWindowing(argc, argv);
        CBenchWindowing windowing(*backend, path);
        SetWindowing(&windowing);
        // Taken in turn, so that both meet the same page cache and heap.
        for (int run = 0; run < options.runs; ++run) {
            core.push_back(TimeCoreRead(path, options.rows));
            window.push_back(TimeWindowImport(windowing, options.rows));
        }
        SetWindowing(nullptr);
    }
    const double coreMedian = Median(core), windowMedian = Median(window);
    std::printf("Import of %d rows, median of %d runs:\n", options.rows, options.runs);
    std::printf("  ReadCableListFile alone                   %8.1f ms\n", coreMedian * 1000);
    std::printf("  main window, click to painted list        %8.1f ms  (%.2f x the read; target <= 1.1 x)\n",
                windowMedian * 1000, windowMedian / coreMedian);
}

// The child's side of a start-up run: the program's own start-up, ended by the main window's
// first paint, when it writes the clock's reading and leaves at once.
int RunStartupChild(int argc, char** argv) {
    CallAfterFirstWindowPaint([] {
        const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch());
        std::printf("%lld\n", static_cast<long long>(now.count()));
        std::fflush(stdout);
        _exit(0);
    });
    CQuorlisApp app;
    return RunWinApp(argc, argv);
}

double TimeStartup(const char* self) {
    int out[2];
    if (pipe(out) != 0) Fail(std::string("pipe: ") + std::strerror(errno));
    std::fflush(nullptr);
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) Fail(std::string("fork: ") + std::strerror(errno));
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(self, self, kStartupChild.data(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    const std::string reading = ReadAll(out[0]);
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    const long long painted = std::atoll(reading.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || painted == 0) Fail("the start-up run failed");
    return Seconds(start, Clock::time_point(std::chrono::nanoseconds(painted)));
}

void BenchStartup(const SBenchOptions& options) {
    std::vector<double> startup;
    // Not timed: loads the program and its libraries into the page cache, as for a user who has
    // started it before.
    TimeStartup("/proc/self/exe");
    for (int run = 0; run < options.runs; ++run) startup.push_back(TimeStartup("/proc/self/exe"));
    std::printf("Start-up to the first painted main window, fresh process, median of %d runs:\n", options.runs);
    std::printf("  %8.1f ms  (fastest %.1f, slowest %.1f; target < 100 ms)\n", Median(startup) * 1000,
                *std::min_element(startup.begin(), startup.end()) * 1000,
                *std::max_element(startup.begin(), startup.end()) * 1000);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc == 2 && argv[1] == kStartupChild) return RunStartupChild(argc, argv);

    std::setlocale(LC_CTYPE, "");
    return RunBenchMain(argc, argv, "window_bench", [&](SBenchOptions options) {
        if (options.rows == 0) options.rows = 1'000'000;
        const std::string path = (std::filesystem::path(options.dir) / "CableList.ini").string();
        MakeListFile(path, options.rows);
        BenchImport(argc, argv, options, path);
        BenchUndo(argc, argv, options, path);
        BenchStartup(options);
        std::filesystem::remove(path);
    });
}
