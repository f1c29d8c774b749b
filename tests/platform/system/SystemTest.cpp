#include "platform/system/System.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char* const kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "30 22 8:17 / /media/prof/CLE\\040USB rw,nosuid shared:7 - vfat /dev/sdb1 rw\n"
    "31 22 0:25 / /home rw shared:8 - ext4 /dev/sda2 rw\n"
    "32 31 0:26 / /home/prof/fiches rw shared:9 - tmpfs tmpfs rw\n";

TEST(System, TheMountWithTheLongestMountPointHoldsAPath) {
    using platform::detail::DeviceOfPath;
    EXPECT_EQ(DeviceOfPath(kMountInfo, "/usr/bin/fiches-conversions"), "8:1");
    EXPECT_EQ(DeviceOfPath(kMountInfo, "/media/prof/CLE USB/fiches/fiches-conversions"), "8:17");
    EXPECT_EQ(DeviceOfPath(kMountInfo, "/media/prof/CLE USB2/x"), "8:1");
    EXPECT_EQ(DeviceOfPath(kMountInfo, "/home/prof/fiches/fiches-conversions"), "0:26");
    EXPECT_EQ(DeviceOfPath(kMountInfo, "/home/prof/fichesb"), "0:25");
    EXPECT_EQ(DeviceOfPath("", "/usr/bin/x"), "");
    EXPECT_EQ(DeviceOfPath("garbage line\n\n1 2\n", "/usr/bin/x"), "");
}

TEST(System, ADebuggerIsATracerProcess) {
    using platform::detail::TracerPid;
    EXPECT_EQ(TracerPid("Name:\tfiches\nState:\tS\nTracerPid:\t0\nUid:\t0\n"), 0);
    EXPECT_EQ(TracerPid("Name:\tfiches\nTracerPid:\t4242\n"), 4242);
    EXPECT_EQ(TracerPid(""), 0);
    EXPECT_FALSE(platform::IsDebuggerAttached());
    // The build folder is on the machine's own disk.
    EXPECT_FALSE(platform::IsOnRemovableDrive(platform::ExecutablePath()));
}

TEST(System, MissingConfigurationFoldersAreCreatedForTheirOwnerOnly) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.filePath("config/fiches-conversions");
    ASSERT_TRUE(platform::CreatePrivateFolder(folder));
    for (const QString& created : {root.filePath("config"), folder}) {
        const QFileInfo info(created);
        EXPECT_TRUE(info.isDir());
#ifndef _WIN32
        // On Windows the folder inherits the profile's permissions.
        EXPECT_EQ(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                        QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
                  QFile::Permissions());
#endif
    }
    // Already there: nothing to do, still a success.
    EXPECT_TRUE(platform::CreatePrivateFolder(folder + "/"));

    // A file stands where a folder should be: reported, not replaced.
    QFile blocker(root.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(platform::CreatePrivateFolder(root.filePath("file/fiches-conversions")));
    EXPECT_TRUE(QFileInfo(root.filePath("file")).isFile());
}

#ifdef _WIN32
TEST(System, WindowsPathsComeBackWithForwardSlashesAndAccentsWhole) {
    // The system's answer, not Qt's: both must name the same file.
    EXPECT_EQ(platform::ExecutablePath(), QCoreApplication::applicationFilePath());
    EXPECT_TRUE(platform::ExecutablePath().endsWith("/fiche_platform_tests.exe"));

    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.filePath(QString::fromUtf8("H\xC3\xA9l\xC3\xA8ne/R\xC3\xA9glages"));
    ASSERT_TRUE(platform::CreatePrivateFolder(QDir::toNativeSeparators(folder)));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QString::fromUtf8("H\xC3\xA9l\xC3\xA8ne")});
    // A drive's root is a folder that exists already.
    EXPECT_TRUE(platform::CreatePrivateFolder(QDir::rootPath()));
}
#endif

}  // namespace
