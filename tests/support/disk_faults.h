#pragma once

// Ways to make a folder or a disk refuse a file for a while, for the tests of everything the
// program writes to the user's files.

#include <QString>

namespace testing_support {

// Root writes through permission bits: while a fault of permissions is on, the test process acts
// as nobody, so the fault holds for root too.
void actAsNobody();
void actAsItself();

// The file system takes no byte of a file beyond the first few hundred, as a full disk does once
// a file has begun to be written. A limit of the process: it needs no privilege, so it holds for
// every user, where a really full disk below needs one. A failing write reports an error
// instead of ending the process.
void limitFileSize();
void liftFileSizeLimit();

// A file system of one page mounted on a folder: the disk is full once a file has begun to go
// there. Mounting takes a privilege that root has and a user has not.
bool mountFullDisk(const QString& at);
bool unmount(const QString& at);
bool canMount();

}  // namespace testing_support
