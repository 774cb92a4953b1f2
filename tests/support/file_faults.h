#pragma once

// Faults a file write meets on a real system, for tests that run as any user (root too).

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>

namespace kx::test {

// Limits the size of files this process writes, so that a write fails part-way with EFBIG
// ("File too large") instead of ending the process.
struct FileSizeLimit {
    rlimit saved{};
    void (*savedHandler)(int) = nullptr;
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
};

// A small file system of its own (tmpfs) on a new folder: a disk that fills up, or a folder
// that turns read-only while files in it are in use. Mounting needs root with the right to
// mount; without it mounted() is false and why() says what failed.
class SmallDisk {
  public:
    explicit SmallDisk(qint64 bytes) : options_("size=" + QByteArray::number(bytes)) {
        if (!dir_.isValid()) {
            why_ = QStringLiteral("no temporary folder");
            return;
        }
        if (::mount("kxtest", QFile::encodeName(path()).constData(), "tmpfs", 0,
                    options_.constData()) == 0)
            mounted_ = true;
        else
            why_ = QStringLiteral("tmpfs cannot be mounted here: ") + std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(QFile::encodeName(path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString why() const { return why_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    // Fills the disk with the file "filler" until no byte more fits.
    void fill() const {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) > 0) {
        }
    }
    // Turns the file system read-only; no file in it may be open for writing then.
    bool makeReadOnly() {
        return ::mount(nullptr, QFile::encodeName(path()).constData(), nullptr,
                       MS_REMOUNT | MS_RDONLY, options_.constData()) == 0;
    }

  private:
    QTemporaryDir dir_;
    QByteArray options_;
    bool mounted_ = false;
    QString why_;
};

// Every entry under `root`, hidden ones too, relative and sorted: what a write left behind.
inline QStringList entriesUnder(const QString& root) {
    QDirIterator all(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                     QDirIterator::Subdirectories);
    QStringList entries;
    while (all.hasNext())
        entries << QDir(root).relativeFilePath(all.next());
    entries.sort();
    return entries;
}

} // namespace kx::test
