#pragma once

#include <QByteArray>
#include <vector>

// The zip container of an .xlsx file, read and written whole: enough to change some of its files
// after libxlsxwriter has written it. One disk, no zip64 and no encryption: what the library
// writes for a workbook of any size a sheet holds.
namespace spreadsheet::zip {

class Entry {
public:
    const QByteArray& name() const { return name_; }

    // The file's bytes. Throws Error when they cannot be unpacked or do not match their checksum.
    QByteArray content() const;
    // Replaces the file's bytes; they are stored compressed.
    void setContent(const QByteArray& bytes);

private:
    friend std::vector<Entry> read(const QByteArray& archive);
    friend QByteArray write(const std::vector<Entry>& entries);

    QByteArray name_;
    quint16 method_ = 0;   // 0 stored as it is, 8 deflated
    quint16 time_ = 0;     // as MS-DOS keeps them
    quint16 date_ = 0;
    quint32 crc_ = 0;
    quint32 size_ = 0;     // of the content
    QByteArray stored_;    // the bytes as they stand in the archive
};

// The files of an archive, in the order of its directory. Throws Error for anything else.
std::vector<Entry> read(const QByteArray& archive);

// The archive of these files, in this order.
QByteArray write(const std::vector<Entry>& entries);

}  // namespace spreadsheet::zip
