// The export folder failing under each export: a file where the folder should be, folders that
// refuse new files, and a file system that stops taking bytes halfway through the workbook. One
// message naming the place and the reason, no file left that looks like the export, and the next
// export working once the fault is gone.

#include "tests/faults/window_operations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

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

// Root writes through permission bits: while a fault of permissions is on, the test process acts
// as nobody, so the fault holds for root too.
void actAsNobody() {
    if (geteuid() == 0) {
        ASSERT_EQ(seteuid(65534), 0);
    }
}
void actAsItself() {
    if (getuid() == 0) {
        ASSERT_EQ(seteuid(0), 0);
    }
}

// The file system takes no byte of a file beyond the first few hundred, as a full disk does once
// the export has begun to write. A limit of the process: it needs no privilege, so it holds for
// every user, where a really full disk below needs one.
struct rlimit savedLimit;
void limitFileSize() {
    signal(SIGXFSZ, SIG_IGN);   // the failing write reports an error instead of ending the process
    getrlimit(RLIMIT_FSIZE, &savedLimit);
    struct rlimit small = savedLimit;
    small.rlim_cur = 300;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
}
void liftFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &savedLimit);
    signal(SIGXFSZ, SIG_DFL);
}

// A file system of one page mounted on the export folder: the disk is full once the workbook has
// begun to go to its file. Mounting takes a privilege that root has and a user has not.
bool mountFullDisk(const QString& at) {
    return mount("tmpfs", QFile::encodeName(at).constData(), "tmpfs", 0, "size=4k") == 0;
}
bool unmount(const QString& at) { return umount(QFile::encodeName(at).constData()) == 0; }
bool canMount() {
    QTemporaryDir probe;
    return mountFullDisk(probe.path()) && unmount(probe.path());
}

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
