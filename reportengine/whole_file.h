#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace reportengine {

// A file the system would not take, with the system's error number.
class FileError : public std::runtime_error {
public:
    explicit FileError(int error) : std::runtime_error("file not written"), error_(error) {}
    int error() const { return error_; }

private:
    int error_;
};

// Puts `bytes` into the file at `path` whole or not at all. They go to a new file in the same
// folder first, which takes the file's name only once every byte is on the disk; when anything
// fails that file is removed and a file of the name stays as it was. Throws FileError.
void writeWholeFile(const QString& path, const QByteArray& bytes);

// Why the system refused a file, in the user's words: "на диске нет места", say.
QString refusalReason(int error);

}  // namespace reportengine
