#pragma once
// The small file system with_small_disk.sh mounted for this run: filled to the brim, emptied again,
// or turned read-only half way, as a real disk does it.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace zevo::test {

class SmallDisk {
public:
    // Empty when the run has none; Why() then says why.
    static QString Root() { return qEnvironmentVariable("ZEVO_SMALL_DISK"); }
    static std::string Why() {
        const QString refused = qEnvironmentVariable("ZEVO_SMALL_DISK_REFUSED");
        return refused.isEmpty() ? std::string("not run through with_small_disk.sh") : refused.toStdString();
    }

    // A fresh folder on the disk, for one test.
    explicit SmallDisk(const QString& name) : Folder(QDir(Root()).filePath(name)) {
        if (Root().isEmpty())
            return;
        Writable();
        QDir(Folder).removeRecursively();
        QDir().mkpath(Folder);
    }
    ~SmallDisk() {
        if (Root().isEmpty())
            return;
        Writable();
        Free();
        QDir(Folder).removeRecursively();
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    QString Path(const QString& name = {}) const { return name.isEmpty() ? Folder : QDir(Folder).filePath(name); }

    // Writes a filler until not one more byte fits.
    void Fill() {
        QFile filler(Filler());
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("f", 1) == 1) {
        }
        QFile probe(QDir(Root()).filePath(QStringLiteral("probe")));
        ASSERT_TRUE(probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        EXPECT_NE(probe.write("x", 1), 1) << "the disk is full";
        probe.close();
        probe.remove();
    }
    void Free() { QFile::remove(Filler()); }

    // The whole file system read-only from now on, as one the kernel remounts after an error.
    void ReadOnly() { Remount("ro"); }
    void Writable() { Remount("rw"); }

private:
    QString Filler() const { return QDir(Root()).filePath(QStringLiteral("filler")); }
    static void Remount(const char* how) {
        const std::string command =
            std::string("mount -o remount,") + how + " '" + Root().toStdString() + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0)
            ADD_FAILURE() << "cannot remount the small disk " << how;
    }
    QString Folder;
};

} // namespace zevo::test

// At the top of every test that needs the disk.
#define ZEVO_NEED_SMALL_DISK()                                                                                   \
    do {                                                                                                          \
        if (::zevo::test::SmallDisk::Root().isEmpty())                                                           \
            GTEST_SKIP() << "no small file system: " << ::zevo::test::SmallDisk::Why();                           \
    } while (false)
