#pragma once

#include "records/file_path.h"
#include "records/windows1250.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Writes test records: UTF-8 source text becomes Windows-1250 bytes with CR LF line ends.
class RecordFiles {
  public:
    QString write(const QString& name, const QStringList& lines) {
        QByteArray bytes;
        for (const QString& line : lines)
            bytes += *kx::encodeWindows1250(line) + "\r\n";
        return writeBytes(name, bytes);
    }
    QString writeBytes(const QString& name, const QByteArray& bytes) {
        const QString path = this->path(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }
    QString path(const QString& name) const { return kx::childPath(dir_.path(), name); }

  private:
    QTemporaryDir dir_;
};
