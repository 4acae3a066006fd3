#include "reportengine/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace reportengine {
namespace {

// The new file beside the one it will become, named so that no other writer (another run of the
// program, too) takes the same. Made with the usual rights of a new file.
int createBeside(const QString& path, QByteArray& name) {
    const QFileInfo target(path);
    for (int attempt = 0;; ++attempt) {
        name = QFile::encodeName(QStringLiteral("%1/.%2.%3-%4.part")
                                     .arg(target.absolutePath(), target.fileName())
                                     .arg(qint64(getpid()))
                                     .arg(attempt));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST || attempt == 100) throw FileError(errno);
    }
}

void writeAll(int fd, const QByteArray& bytes) {
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0) {
            if (errno == EINTR) continue;
            throw FileError(errno);
        }
        next += written;
        left -= written;
    }
}

}  // namespace

void writeWholeFile(const QString& path, const QByteArray& bytes) {
    QByteArray partName;
    int fd = createBeside(path, partName);
    try {
        writeAll(fd, bytes);
        // A disk that takes the bytes into its cache may still refuse them on the way to the
        // platter (a quota, a network folder): only then is the file known to be whole.
        if (::fsync(fd) != 0) throw FileError(errno);
        const int closed = ::close(fd);
        fd = -1;
        if (closed != 0) throw FileError(errno);
        if (::rename(partName.constData(), QFile::encodeName(path).constData()) != 0) throw FileError(errno);
    } catch (const FileError&) {
        if (fd >= 0) ::close(fd);
        ::unlink(partName.constData());
        throw;
    }
}

QString refusalReason(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("на диске нет места");
    case EFBIG: return QStringLiteral("файл слишком велик для этого диска");
    case EACCES:
    case EPERM: return QStringLiteral("нет права записи в эту папку");
    case EROFS: return QStringLiteral("диск доступен только для чтения");
    case ENOENT: return QStringLiteral("такой папки нет");
    case ENOTDIR: return QStringLiteral("в пути к файлу вместо папки стоит файл");
    case EISDIR: return QStringLiteral("под этим именем уже есть папка");
    case ENAMETOOLONG: return QStringLiteral("слишком длинное имя файла");
    case EIO: return QStringLiteral("ошибка ввода-вывода диска");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

}  // namespace reportengine
