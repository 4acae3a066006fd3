#include "spreadsheet/zip_archive.h"

#include "spreadsheet/application.h"

#include <QtEndian>
#include <zlib.h>

namespace spreadsheet::zip {
namespace {

constexpr quint32 localHeaderSignature = 0x04034b50;
constexpr quint32 directorySignature = 0x02014b50;
constexpr quint32 directoryEndSignature = 0x06054b50;
constexpr qsizetype localHeaderSize = 30;
constexpr qsizetype directoryRecordSize = 46;
constexpr qsizetype directoryEndSize = 22;
constexpr quint16 deflateMethod = 8;
constexpr quint16 versionNeeded = 20;   // deflate

Error damaged(const char* what) {
    return Error(QStringLiteral("архив книги повреждён: %1").arg(QLatin1String(what)));
}

// Little-endian fields at `at`, checked against the archive's end.
class LittleEndianIn {
public:
    explicit LittleEndianIn(const QByteArray& bytes) : bytes_(bytes) {}
    void need(qsizetype at, qsizetype length) const {
        if (at < 0 || length < 0 || at > bytes_.size() - length) throw damaged("запись за концом файла");
    }
    quint16 u16(qsizetype at) const {
        need(at, 2);
        return qFromLittleEndian<quint16>(bytes_.constData() + at);
    }
    quint32 u32(qsizetype at) const {
        need(at, 4);
        return qFromLittleEndian<quint32>(bytes_.constData() + at);
    }
    QByteArray bytes(qsizetype at, qsizetype length) const {
        need(at, length);
        return bytes_.mid(at, length);
    }

private:
    const QByteArray& bytes_;
};

class LittleEndianOut {
public:
    void u16(quint16 value) {
        char field[2];
        qToLittleEndian(value, field);
        out.append(field, 2);
    }
    void u32(quint32 value) {
        char field[4];
        qToLittleEndian(value, field);
        out.append(field, 4);
    }
    QByteArray out;
};

quint32 checksum(const QByteArray& bytes) {
    return quint32(crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.constData()),
                           std::size_t(bytes.size())));
}

// Raw deflate streams, without zlib's own header, as zip keeps them.
QByteArray inflated(const QByteArray& packed, quint32 size) {
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw Error(QStringLiteral("не хватает памяти"));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const uLong produced = stream.total_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END || produced != size) throw damaged("сжатые данные не читаются");
    return out;
}

QByteArray deflated(const QByteArray& bytes) {
    z_stream stream{};
    // The fastest level: an export waits for it, and a sheet's XML packs well at any level.
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw Error(QStringLiteral("не хватает памяти"));
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    if (result != Z_STREAM_END) throw Error(QStringLiteral("не удалось сжать лист"));
    return out;
}

qsizetype directoryEnd(const LittleEndianIn& in, qsizetype size) {
    // The end record is last, followed only by a comment of at most 65535 bytes.
    for (qsizetype at = size - directoryEndSize; at >= 0 && at >= size - directoryEndSize - 0xFFFF; --at)
        if (in.u32(at) == directoryEndSignature) return at;
    throw damaged("нет оглавления");
}

}  // namespace

QByteArray Entry::content() const {
    QByteArray bytes;
    if (method_ == 0) bytes = stored_;
    else if (method_ == deflateMethod) bytes = inflated(stored_, size_);
    else throw damaged("неизвестный способ сжатия");
    if (quint32(bytes.size()) != size_ || checksum(bytes) != crc_) throw damaged("контрольная сумма не сходится");
    return bytes;
}

void Entry::setContent(const QByteArray& bytes) {
    if (bytes.size() > qsizetype(0xFFFFFFFE)) throw Error(QStringLiteral("лист больше 4 ГБ"));
    stored_ = deflated(bytes);
    method_ = deflateMethod;
    crc_ = checksum(bytes);
    size_ = quint32(bytes.size());
}

std::vector<Entry> read(const QByteArray& archive) {
    const LittleEndianIn in(archive);
    const qsizetype end = directoryEnd(in, archive.size());
    if (in.u16(end + 4) != 0 || in.u16(end + 6) != 0) throw damaged("архив на нескольких дисках");
    const quint16 count = in.u16(end + 10);
    qsizetype at = in.u32(end + 16);
    std::vector<Entry> entries;
    entries.reserve(count);
    for (quint16 n = 0; n < count; ++n) {
        if (in.u32(at) != directorySignature) throw damaged("оглавление не читается");
        Entry entry;
        const quint16 flags = in.u16(at + 8);
        if (flags & 0x0001) throw damaged("файл зашифрован");
        entry.method_ = in.u16(at + 10);
        entry.time_ = in.u16(at + 12);
        entry.date_ = in.u16(at + 14);
        entry.crc_ = in.u32(at + 16);
        const quint32 packedSize = in.u32(at + 20);
        entry.size_ = in.u32(at + 24);
        const quint16 nameLength = in.u16(at + 28);
        const qsizetype skipped = qsizetype(in.u16(at + 30)) + in.u16(at + 32);
        const quint32 local = in.u32(at + 42);
        if (packedSize == 0xFFFFFFFF || entry.size_ == 0xFFFFFFFF || local == 0xFFFFFFFF)
            throw damaged("zip64 не поддерживается");
        entry.name_ = in.bytes(at + directoryRecordSize, nameLength);
        at += directoryRecordSize + nameLength + skipped;

        if (in.u32(local) != localHeaderSignature) throw damaged("заголовок файла не читается");
        const qsizetype data = local + localHeaderSize + in.u16(local + 26) + in.u16(local + 28);
        entry.stored_ = in.bytes(data, packedSize);
        entries.push_back(std::move(entry));
    }
    return entries;
}

QByteArray write(const std::vector<Entry>& entries) {
    if (entries.size() > 0xFFFF) throw Error(QStringLiteral("слишком много файлов в архиве"));
    LittleEndianOut files;
    LittleEndianOut directory;
    for (const Entry& entry : entries) {
        const qsizetype offset = files.out.size();
        if (offset > qsizetype(0xFFFFFFFE) || entry.stored_.size() > qsizetype(0xFFFFFFFE))
            throw Error(QStringLiteral("книга больше 4 ГБ"));
        files.u32(localHeaderSignature);
        files.u16(versionNeeded);
        files.u16(0);   // flags
        files.u16(entry.method_);
        files.u16(entry.time_);
        files.u16(entry.date_);
        files.u32(entry.crc_);
        files.u32(quint32(entry.stored_.size()));
        files.u32(entry.size_);
        files.u16(quint16(entry.name_.size()));
        files.u16(0);   // extra field
        files.out += entry.name_;
        files.out += entry.stored_;

        directory.u32(directorySignature);
        directory.u16(versionNeeded);   // made by
        directory.u16(versionNeeded);
        directory.u16(0);
        directory.u16(entry.method_);
        directory.u16(entry.time_);
        directory.u16(entry.date_);
        directory.u32(entry.crc_);
        directory.u32(quint32(entry.stored_.size()));
        directory.u32(entry.size_);
        directory.u16(quint16(entry.name_.size()));
        directory.u16(0);   // extra field
        directory.u16(0);   // comment
        directory.u16(0);   // disk
        directory.u16(0);   // internal attributes
        directory.u32(0);   // external attributes
        directory.u32(quint32(offset));
        directory.out += entry.name_;
    }
    const qsizetype directoryAt = files.out.size();
    if (directoryAt > qsizetype(0xFFFFFFFE)) throw Error(QStringLiteral("книга больше 4 ГБ"));
    LittleEndianOut end;
    end.u32(directoryEndSignature);
    end.u16(0);   // this disk
    end.u16(0);   // the disk of the directory
    end.u16(quint16(entries.size()));
    end.u16(quint16(entries.size()));
    end.u32(quint32(directory.out.size()));
    end.u32(quint32(directoryAt));
    end.u16(0);   // comment
    return files.out + directory.out + end.out;
}

}  // namespace spreadsheet::zip
