// Export on a disk that fills up, for real, in a child process with a file size limit.

#include "../QuorlisDlgFixture.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

// A full disk, for real: the export runs in a child whose files may not grow past 100 bytes.
TEST_F(QuorlisDlgTest, ExportOnAFullDiskSaysExportFailedAndKeepsTheOldFile) {
    const std::string source = MakeFile("CableList.ini", kTwoRows);
    const std::string target = MakeFile("target.ini", "old");
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        CHeadlessWindowing childUi;
        SetWindowing(&childUi);
        CQuorlisDlg childDlg;
        childUi.AnswerFileChooser(source);
        childUi.Click(IDC_IMPORT);
        childUi.AnswerFileChooser(target);
        childUi.Click(IDC_EXPORT);
        childUi.PressEscape();
        childUi.AnswerMessageBox(kIdYes);
        childDlg.DoModal();
        const auto& boxes = childUi.GetMessageBoxes();
        const bool ok = boxes.size() == 2 && boxes[0].text == kExportFailed && childUi.GetFailures().empty();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(ReadFile(target), "old");
}
