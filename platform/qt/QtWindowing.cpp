#include "platform/qt/QtWindowing.h"

#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtFileChooser.h"
#include "res/ResourceIds.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QStringList>

#include <clocale>
#include <string>

namespace {

std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv) {
    if (QApplication::instance()) return nullptr;
    // QApplication sets every locale category from the environment; the program's own settings
    // (the user's LC_CTYPE, "C" numbers) stay in force.
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    auto application = std::make_unique<QApplication>(argc, argv);
    std::setlocale(LC_ALL, locale.c_str());
    // Dialogs run their own event loops; the last one closing must not stop the others.
    QApplication::setQuitOnLastWindowClosed(false);
    // Lets the desktop match the windows to the installed desktop entry and its icon: by the
    // entry's name on Wayland, by the window class (StartupWMClass) on X11, whatever name the
    // program was started by.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quorlis.quorlis"));
    QGuiApplication::setApplicationName(QStringLiteral("Quorlis"));
    return application;
}

QWidget* OwnerWidget(IDialogWindow* owner) {
    if (auto* window = dynamic_cast<CQtDialogWindow*>(owner)) return window;
    return QApplication::activeModalWidget();
}

}  // namespace

CQtWindowing::CQtWindowing(int& argc, char** argv) : m_application(MakeApplication(argc, argv)) {}

CQtWindowing::~CQtWindowing() = default;

void CQtWindowing::InitCommonControls(unsigned) {}

std::unique_ptr<IDialogWindow> CQtWindowing::CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                                IDialogWindow* owner) {
    return std::make_unique<CQtDialogWindow>(dialog, layout, dynamic_cast<CQtDialogWindow*>(owner), m_codec);
}

int CQtWindowing::ShowMessageBox(IDialogWindow* owner, const std::string& text, const std::string& caption,
                                 EMsgBoxType type, EMsgBoxIcon icon, EMsgBoxDefault defaultButton) {
    const bool yesNo = type == EMsgBoxType::YesNo;
    QMessageBox box(icon == EMsgBoxIcon::Question ? QMessageBox::Question : QMessageBox::Warning,
                    m_codec.ToQString(caption), m_codec.ToQString(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, OwnerWidget(owner));
    box.setTextFormat(Qt::PlainText);
    const bool defaultNo = defaultButton == EMsgBoxDefault::No;
    box.setDefaultButton(yesNo ? (defaultNo ? QMessageBox::No : QMessageBox::Yes) : QMessageBox::Ok);
    const int answer = box.exec();
    if (!yesNo) return kIdOk;
    return answer == QMessageBox::Yes ? kIdYes : kIdNo;
}

bool CQtWindowing::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(m_codec.ToQString(text), QClipboard::Clipboard);
    return true;
}

std::optional<SClipboardText> CQtWindowing::GetClipboardText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText()) return std::nullopt;
    SClipboardText result;
    const QStringList lines = data->text().split(QLatin1Char('\n'));
    for (qsizetype line = 0; line < lines.size(); ++line) {
        bool lossy = false;
        if (line > 0) result.text.push_back('\n');
        result.text += m_codec.FromQString(lines[line], &lossy);
        if (lossy && result.unconvertibleLine == 0) result.unconvertibleLine = static_cast<int>(line) + 1;
    }
    return result;
}

void CQtWindowing::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void CQtWindowing::EndWaitCursor() noexcept { QApplication::restoreOverrideCursor(); }

std::optional<std::string> CQtWindowing::ChooseFile(IDialogWindow* owner, const SFileChooser& request) {
    return RunFileChooser(OwnerWidget(owner), request, m_codec);
}
