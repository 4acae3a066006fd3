#include "tests/support/disk_faults.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace testing_support {

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

namespace {
struct rlimit savedLimit;
}  // namespace

void limitFileSize() {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &savedLimit);
    struct rlimit small = savedLimit;
    small.rlim_cur = 300;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
}

void liftFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &savedLimit);
    signal(SIGXFSZ, SIG_DFL);
}

bool mountFullDisk(const QString& at) {
    return mount("tmpfs", QFile::encodeName(at).constData(), "tmpfs", 0, "size=4k") == 0;
}

bool unmount(const QString& at) { return umount(QFile::encodeName(at).constData()) == 0; }

bool canMount() {
    QTemporaryDir probe;
    return mountFullDisk(probe.path()) && unmount(probe.path());
}

}  // namespace testing_support
