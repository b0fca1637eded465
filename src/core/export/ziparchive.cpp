#include "ziparchive.h"

#include "core/reasons.h"

#include <unzip.h>

#include <cstring>

namespace {
// The archive as minizip reads a file: its read position in the bytes.
struct MemoryFile
{
    const QByteArray &bytes;
    qint64 position = 0;
};

voidpf ZCALLBACK openFile(voidpf opaque, const void *, int)
{
    return opaque;
}

uLong ZCALLBACK readFile(voidpf, voidpf stream, void *buffer, uLong size)
{
    auto *file = static_cast<MemoryFile *>(stream);
    const qint64 count = qBound(qint64(0), file->bytes.size() - file->position, qint64(size));
    std::memcpy(buffer, file->bytes.constData() + file->position, size_t(count));
    file->position += count;
    return uLong(count);
}

uLong ZCALLBACK writeFile(voidpf, voidpf, const void *, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK tellFile(voidpf, voidpf stream)
{
    return ZPOS64_T(static_cast<MemoryFile *>(stream)->position);
}

long ZCALLBACK seekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto *file = static_cast<MemoryFile *>(stream);
    const qint64 base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0
        : origin == ZLIB_FILEFUNC_SEEK_CUR               ? file->position
                                                         : file->bytes.size();
    const qint64 position = base + qint64(offset);
    if (position < 0 || position > file->bytes.size())
        return -1;
    file->position = position;
    return 0;
}

int ZCALLBACK closeFile(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK fileError(voidpf, voidpf)
{
    return 0;
}

QString currentName(unzFile archive)
{
    unz_file_info64 info = {};
    QByteArray name(1024, '\0');
    if (unzGetCurrentFileInfo64(archive, &info, name.data(), uLong(name.size()), nullptr, 0, nullptr, 0) != UNZ_OK)
        return {};
    return QString::fromUtf8(name.constData());
}

// The current member whole, or nothing when it cannot be inflated or its checksum is wrong.
std::optional<QByteArray> currentBytes(unzFile archive)
{
    if (unzOpenCurrentFile(archive) != UNZ_OK)
        return std::nullopt;
    QByteArray bytes;
    char buffer[16384];
    int count = 0;
    while ((count = unzReadCurrentFile(archive, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, count);
    // Closing checks the checksum of what was read.
    if (unzCloseCurrentFile(archive) != UNZ_OK || count < 0)
        return std::nullopt;
    return bytes;
}
}

namespace ZipArchive {

std::optional<QList<Member>> read(const QByteArray &bytes, QString *errorString)
{
    MemoryFile file{bytes};
    zlib_filefunc64_def functions = {openFile, readFile, writeFile, tellFile, seekFile, closeFile, fileError, &file};
    unzFile archive = unzOpen2_64(&file, &functions);
    if (!archive) {
        Reasons::fail(errorString, QStringLiteral("it is no zip archive"));
        return std::nullopt;
    }
    QList<Member> members;
    int status = unzGoToFirstFile(archive);
    for (; status == UNZ_OK; status = unzGoToNextFile(archive)) {
        const QString name = currentName(archive);
        const std::optional<QByteArray> member = currentBytes(archive);
        if (!member) {
            unzClose(archive);
            Reasons::fail(errorString, QStringLiteral("%1 is damaged").arg(name));
            return std::nullopt;
        }
        members.append({name, *member});
    }
    unzClose(archive);
    if (status != UNZ_END_OF_LIST_OF_FILE) {
        Reasons::fail(errorString, QStringLiteral("its list of contents is damaged"));
        return std::nullopt;
    }
    return members;
}

}
