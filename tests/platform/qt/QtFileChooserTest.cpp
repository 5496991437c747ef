// The file chooser: its title, and its cable-list filter matching names in any case, both in Qt's
// own chooser (offscreen) and by the glob rules of the desktop's own choosers.

#include "ModalScript.h"

#include "platform/qt/LocaleCodec.h"
#include "platform/qt/QtFileChooser.h"
#include "res/Resources.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <fnmatch.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The patterns of a Qt name filter "description (patterns)".
QStringList Patterns(const QString& nameFilter) {
    const qsizetype open = nameFilter.lastIndexOf(u'(');
    return nameFilter.mid(open + 1, nameFilter.size() - open - 2).split(u' ', Qt::SkipEmptyParts);
}

// Whether name matches one of patterns as a desktop's own chooser reads them (fnmatch's glob rules,
// case-sensitive) and as Qt's own does (its wildcards, case-sensitive too, to be sure).
bool GlobMatches(const QStringList& patterns, const QString& name) {
    for (const QString& pattern : patterns) {
        if (fnmatch(pattern.toUtf8().constData(), name.toUtf8().constData(), 0) == 0) return true;
    }
    return false;
}

bool QtWildcardMatches(const QStringList& patterns, const QString& name) {
    for (const QString& pattern : patterns) {
        const QRegularExpression expression(QRegularExpression::wildcardToRegularExpression(pattern));
        if (expression.match(name).hasMatch()) return true;
    }
    return false;
}

}  // namespace

TEST(QtFileChooserTest, TheCableListFilterMatchesAnyCaseAndEveryFileMatchesAll) {
    const CLocaleCodec codec("C.UTF-8");
    const QStringList filters = ToQtNameFilters(QuorlisText::kFileFilter, codec);
    ASSERT_EQ(filters.size(), 2);
    const QStringList cableLists = Patterns(filters[0]);
    for (const QString& name : QStringList{"CableList.ini", "CABLELIST.INI", "site-b.Ini", ".ini"}) {
        EXPECT_TRUE(GlobMatches(cableLists, name)) << name.toStdString() << " " << filters[0].toStdString();
        EXPECT_TRUE(QtWildcardMatches(cableLists, name)) << name.toStdString();
    }
    for (const QString& name : QStringList{"CableList.ini.bak", "notes.txt", "ini", "CableList.in"}) {
        EXPECT_FALSE(GlobMatches(cableLists, name)) << name.toStdString();
        EXPECT_FALSE(QtWildcardMatches(cableLists, name)) << name.toStdString();
    }
    const QStringList all = Patterns(filters[1]);
    for (const QString& name : QStringList{"Backup-2026", "notes.TXT", "CableList.ini"}) {
        EXPECT_TRUE(GlobMatches(all, name)) << name.toStdString();
    }
}

TEST(QtFileChooserTest, PatternsKeepTheirBracketsAndOtherCharacters) {
    const CLocaleCodec codec("C.UTF-8");
    EXPECT_EQ(ToQtNameFilters("Lists|list-[0-9].ini;*.cab||", codec),
              QStringList{"Lists ([lL][iI][sS][tT]-[0-9].[iI][nN][iI] *.[cC][aA][bB])"});
}

// Qt's own chooser, with files of every case in its folder: the cable-list filter shows the .ini
// files whatever their case, and hides the others.
TEST(QtFileChooserTest, QtsOwnChooserIsTitledAndShowsIniFilesOfAnyCase) {
    const char* binaryDir = std::getenv("QUORLIS_TEST_BINARY_DIR");
    ASSERT_NE(binaryDir, nullptr);
    const fs::path dir = fs::path(binaryDir) / "chooser-folder";
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"CableList.ini", "CABLELIST.INI", "site-b.Ini", "notes.txt"}) std::ofstream(dir / name);

    const CLocaleCodec codec("C.UTF-8");
    for (const bool save : {false, true}) {
        SFileChooser request;
        request.save = save;
        request.title = save ? QuorlisText::kExportCommand : QuorlisText::kImportCommand;
        request.filter = QuorlisText::kFileFilter;
        request.initialFolder = dir.string();
        QStringList shown;
        QString title;
        CModalScript script;
        script.Then([&](QWidget& window) {
            auto* chooser = qobject_cast<QFileDialog*>(&window);
            ASSERT_NE(chooser, nullptr);
            title = chooser->windowTitle();
            auto* files = chooser->findChild<QFileSystemModel*>();
            ASSERT_NE(files, nullptr);
            const QModelIndex folder = files->index(QString::fromStdString(dir.string()));
            const bool loaded = QTest::qWaitFor([&] { return files->rowCount(folder) >= 3; }, 5000);
            for (int row = 0; row < files->rowCount(folder); ++row) {
                const QModelIndex file = files->index(row, 0, folder);
                // A name that the filter refuses may stay in the model, disabled, on some platforms.
                if (files->flags(file) & Qt::ItemIsEnabled) shown.append(files->fileName(file));
            }
            EXPECT_TRUE(loaded);
            chooser->reject();
        });
        EXPECT_FALSE(RunFileChooser(nullptr, request, codec).has_value());
        EXPECT_TRUE(script.IsDone());
        EXPECT_EQ(title, save ? QStringLiteral("Export") : QStringLiteral("Import"));
        shown.sort();
        EXPECT_EQ(shown, (QStringList{"CABLELIST.INI", "CableList.ini", "site-b.Ini"}))
            << shown.join(u',').toStdString();
    }
}
