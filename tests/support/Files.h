#pragma once

#include <QDir>
#include <QFile>

namespace vostrel::test {

// A file's bytes; none where it cannot be read.
inline QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the bytes over whatever the file held, its folder made as needed; whether all went.
inline bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

} // namespace vostrel::test
