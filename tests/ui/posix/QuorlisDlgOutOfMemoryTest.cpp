// Import and Export when memory runs out, for real, in a child process with an address-space limit.

#include "../QuorlisDlgFixture.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// The process's address space in bytes, or 0 when it cannot be read.
std::size_t AddressSpaceSize() {
    unsigned long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    const bool read = std::fscanf(statm, "%lu", &pages) == 1;
    std::fclose(statm);
    return read ? pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

// Lets the process grow by at most headroom bytes from now on.
bool LimitGrowth(std::size_t headroom) {
    const std::size_t size = AddressSpaceSize();
    const rlimit limit{size + headroom, size + headroom};
    return size != 0 && setrlimit(RLIMIT_AS, &limit) == 0;
}

constexpr std::size_t kBigCell = 48u << 20;
constexpr std::size_t kHeadroom = 16u << 20;
constexpr std::size_t kExportHeadroom = 256u << 10;

}  // namespace

// Neither command may fail silently: without a message the user would take the list for saved.
TEST_F(QuorlisDlgTest, OutOfMemoryInImportOrExportSaysSoAndKeepsTableAndFile) {
    if (kAddressSanitizer) GTEST_SKIP() << "the sanitizer's allocator aborts instead of failing an allocation";
    const std::string source = MakeFile("CableList.ini", kTwoRows);
    const std::string target = MakeFile("target.ini", "old");
    // Reading this file takes more room than is left: its one row holds a cell of kBigCell bytes.
    const std::string huge = MakeFile("huge.ini", "header\nCableName1 = " + std::string(kBigCell, 'h') +
                                                      "\nVelocity1 = 1\nCableLoss1 = 2\nFrequency1 = 3\n");

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        CHeadlessWindowing childUi;
        SetWindowing(&childUi);
        CQuorlisDlg childDlg;
        bool limited = false;
        childUi.AnswerFileChooser(source);
        childUi.Click(IDC_IMPORT);
        childUi.Check([&] {
            childDlg.m_table.SetCellText(0, 0, std::string(kBigCell, 'n'));
            limited = LimitGrowth(kHeadroom);
        });
        childUi.AnswerFileChooser(huge);
        childUi.Click(IDC_IMPORT);
        // Export streams through a buffer of its own, which is more than is left now.
        childUi.Check([&] { limited = limited && LimitGrowth(kExportHeadroom); });
        childUi.AnswerFileChooser(target);
        childUi.Click(IDC_EXPORT);
        childUi.PressEscape();
        childUi.AnswerMessageBox(kIdYes);
        childDlg.DoModal();
        const auto& boxes = childUi.GetMessageBoxes();
        const bool toldBoth = boxes.size() == 3 && boxes[0].text == kOpenFailed && boxes[1].text == kExportFailed;
        const bool tableKept = childDlg.m_table.GetItemCount() == 2 &&
                               childDlg.m_table.GetCellTextView(0, 0).size() == kBigCell &&
                               childDlg.m_table.GetCellText(1, 0) == "LMR400";
        _exit(!limited ? 2 : toldBoth && tableKept && childUi.GetFailures().empty() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    ASSERT_NE(WEXITSTATUS(status), 2) << "the address space could not be limited";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a failure was silent, or the table changed";
    EXPECT_EQ(ReadFile(target), "old");
}
