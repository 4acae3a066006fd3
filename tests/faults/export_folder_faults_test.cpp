// The export folder failing under each export: a file where the folder should be, folders that
// refuse new files, and a file system that stops taking bytes halfway through the workbook. One
// message naming the place and the reason, no file left that looks like the export, and the next
// export working once the fault is gone.

#include "tests/faults/window_operations.h"
#include "tests/support/disk_faults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

using faults::FaultsTest;
using faults::WindowOperation;

// A fault of the export folder: made before the export and undone after it. `named` is the path
// the message must name; `reason` the words of the system that the message must carry.
struct FolderFault {
    const char* name;
    std::function<void(FaultsTest&)> make;
    std::function<void(FaultsTest&)> undo;
    std::function<QString(FaultsTest&)> named;
    const char* reason;
    std::function<bool()> possible = {};   // empty: the fault can always be made
};

using testing_support::actAsItself;
using testing_support::actAsNobody;
using testing_support::canMount;
using testing_support::liftFileSizeLimit;
using testing_support::limitFileSize;
using testing_support::mountFullDisk;
using testing_support::unmount;

const FolderFault folderFaults[] = {
    {"FolderTakenByAFile",
     [](FaultsTest& t) {
         QFile blocker(t.desktop.folder());
         ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
     },
     [](FaultsTest& t) { ASSERT_TRUE(QFile::remove(t.desktop.folder())); },
     [](FaultsTest& t) { return t.desktop.folder(); }, "Not a directory"},
    {"FolderWithoutWritePermission",
     [](FaultsTest& t) {
         ASSERT_TRUE(QDir().mkpath(t.desktop.folder()));
         ASSERT_TRUE(QFile::setPermissions(t.desktop.folder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                                   QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
         ASSERT_TRUE(QFile::setPermissions(t.desktop.rootPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                                     QFile::ReadOther | QFile::ExeOther));
         actAsNobody();
     },
     [](FaultsTest& t) {
         actAsItself();
         ASSERT_TRUE(QFile::setPermissions(t.desktop.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
     },
     [](FaultsTest& t) { return t.desktop.folder(); }, "Permission denied"},
    {"ReadOnlyDocumentsFolder",
     [](FaultsTest& t) {
         ASSERT_TRUE(QFile::setPermissions(t.desktop.rootPath(), QFile::ReadOwner | QFile::ExeOwner |
                                                                     QFile::ReadOther | QFile::ExeOther));
         actAsNobody();
     },
     [](FaultsTest& t) {
         actAsItself();
         ASSERT_TRUE(QFile::setPermissions(t.desktop.rootPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
     },
     [](FaultsTest& t) { return t.desktop.folder(); }, "Permission denied"},
    {"FileSystemFullWhileWriting", [](FaultsTest&) { limitFileSize(); }, [](FaultsTest&) { liftFileSizeLimit(); },
     [](FaultsTest& t) { return t.desktop.folder() + QStringLiteral("/Книга "); }, "File too large"},
    {"DiskFull",
     [](FaultsTest& t) {
         ASSERT_TRUE(QDir().mkpath(t.desktop.folder()));
         ASSERT_TRUE(mountFullDisk(t.desktop.folder()));
     },
     [](FaultsTest& t) { ASSERT_TRUE(unmount(t.desktop.folder())); },
     [](FaultsTest& t) { return t.desktop.folder() + QStringLiteral("/Книга "); }, "No space left on device",
     canMount},
};

struct FolderCase {
    WindowOperation operation;
    const FolderFault* fault;
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.operation.name << ' ' << c.fault->name; }

class ExportFolderFaultsTest : public FaultsTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(ExportFolderFaultsTest, OneMessageNamingThePlaceAndNoFileClaimingToBeTheExport) {
    const FolderCase& c = GetParam();
    if (c.fault->possible && !c.fault->possible()) GTEST_SKIP() << "this user may not mount a file system";
    bool reached = false;
    c.operation.place(*this, [&] {
        reached = true;
        ASSERT_TRUE(ui.dialogs.shown().empty()) << messageTexts().toStdString();
        c.fault->make(*this);
        c.operation.act(*this);
        c.fault->undo(*this);

        ASSERT_EQ(messages(), 1) << messageTexts().toStdString();
        const QString text = ui.dialogs.shown().back().text;
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(c.fault->named(*this)))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.fault->reason))) << text.toStdString();
        EXPECT_TRUE(desktop.opened.isEmpty()) << "a workbook was shown as written";
        EXPECT_TRUE(desktop.files().isEmpty()) << desktop.files().join(u',').toStdString();
        const QFileInfo folder(desktop.folder());
        if (folder.isDir()) {
            EXPECT_EQ(exportFolderEntries(), QStringList());
        }

        // The fault gone, the next export is written and shown, without a message.
        ui.dialogs.clear();
        c.operation.act(*this);
        EXPECT_TRUE(ui.dialogs.shown().empty()) << messageTexts().toStdString();
        ASSERT_EQ(desktop.files().size(), 1);
        EXPECT_EQ(desktop.opened, desktop.files());
    });
    EXPECT_TRUE(reached) << "the window of the export never opened";
    expectScriptPlayed();
}

std::vector<FolderCase> folderCases() {
    std::vector<FolderCase> cases;
    for (const WindowOperation& operation : faults::exportOperations())
        for (const FolderFault& fault : folderFaults) cases.push_back({operation, &fault});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Exports, ExportFolderFaultsTest, ::testing::ValuesIn(folderCases()),
                         [](const ::testing::TestParamInfo<FolderCase>& info) {
                             return std::string(info.param.operation.name) + "_" + info.param.fault->name;
                         });

}  // namespace
