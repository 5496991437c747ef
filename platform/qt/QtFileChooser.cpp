#include "platform/qt/QtFileChooser.h"

#include "platform/qt/LocaleCodec.h"
#include "platform/qt/WindowPlacement.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>

#include <vector>

namespace {

std::vector<std::string> SplitAtBars(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// pattern matching its letters in any case: "*.ini" as "*.[iI][nN][iI]". The desktop's own
// choosers (GTK, the portal) match patterns case-sensitively and know no option to do otherwise; a
// bracket expression is read the same way by them and by Qt's own chooser.
QString AnyCase(const QString& pattern) {
    QString anyCase;
    bool inBrackets = false;
    for (const QChar c : pattern) {
        if (c == u'[') inBrackets = true;
        if (c == u']') inBrackets = false;
        const bool asciiLetter = c.unicode() < 0x80 && c.isLetter();
        if (inBrackets || !asciiLetter) {
            anyCase.append(c);
        } else {
            anyCase.append(u'[').append(c.toLower()).append(c.toUpper()).append(u']');
        }
    }
    return anyCase;
}

// Patterns "*.ini;*.txt" as Qt's "*.[iI][nN][iI] *.[tT][xX][tT]"; "*.*" means every file.
QString ToQtPatterns(const QString& patterns) {
    QStringList qtPatterns;
    for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        qtPatterns.append(trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : AnyCase(trimmed));
    }
    return qtPatterns.join(u' ');
}

// Whether the platform may have a desktop's own chooser; the screenless ones never do.
bool HasDesktopChooser() {
    const QString platform = QGuiApplication::platformName();
    return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

}  // namespace

QStringList ToQtNameFilters(const std::string& filter, const CLocaleCodec& codec) {
    const std::vector<std::string> parts = SplitAtBars(filter);
    QStringList filters;
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        // Qt reads the patterns from the last parentheses and shows what is before them.
        filters.append(codec.ToQString(parts[i]) + QStringLiteral(" (") + ToQtPatterns(codec.ToQString(parts[i + 1])) +
                       u')');
    }
    return filters;
}

std::optional<std::string> RunFileChooser(QWidget* owner, const SFileChooser& request, const CLocaleCodec& codec) {
    QFileDialog chooser(owner);
    chooser.setOption(QFileDialog::DontUseNativeDialog, !HasDesktopChooser());
    chooser.setOption(QFileDialog::HideNameFilterDetails);
    chooser.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    chooser.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Qt's own chooser names itself after the accept mode; the desktop's own one shows no title
    // unless it is given one.
    if (!request.title.empty()) chooser.setWindowTitle(codec.ToQString(request.title));
    // The open chooser accepts a name that does not exist: opening it then fails where it is read.
    chooser.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = ToQtNameFilters(request.filter, codec);
    if (!filters.isEmpty()) {
        chooser.setNameFilters(filters);
        chooser.selectNameFilter(filters.first());
    }
    chooser.setDefaultSuffix(codec.ToQString(request.defaultExt));
    if (!request.initialFolder.empty()) chooser.setDirectory(QFile::decodeName(request.initialFolder.c_str()));
    if (!request.fileName.empty()) chooser.selectFile(codec.ToQString(request.fileName));
    // Qt's own chooser is centred over the owner, wholly on the screen. It is also the one shown
    // where the platform may have a desktop's own but Qt finds none (no platform theme offers
    // one), so it is always placed: a desktop's own chooser places itself and ignores this.
    FitWindowOnScreen(chooser, owner, chooser.sizeHint(), true, true);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return std::nullopt;
    // Qt names files by the bytes QFile::encodeName gives back: those open the file chosen.
    return QFile::encodeName(chooser.selectedFiles().first()).toStdString();
}
