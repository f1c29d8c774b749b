// A disk that fills up: the teacher's files already there stay whole.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include "Ufiche/window/TForm1.h"
#include "platform/errors/ErrorReport.h"
#include "platform/errors/Messages.h"

namespace {

class DiskFullTest : public testing::Test {
protected:
    void SetUp() override {
        m_disk = m_folder.filePath("disque");
        QDir().mkpath(m_disk);
        // A small file system of the test's own; only where mounting is
        // allowed (as root, outside a locked-down container).
        if (mount("tmpfs", m_disk.toLocal8Bit().constData(), "tmpfs", 0, "size=256k") != 0) {
            GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
        }
        m_mounted = true;
        platform::SetErrorPresenter([this](const QString& message) { m_errors << message; });
    }
    void TearDown() override {
        platform::SetErrorPresenter(nullptr);
        if (m_mounted) {
            umount2(m_disk.toLocal8Bit().constData(), MNT_DETACH);
        }
    }

    QString OnDisk(const QString& name) const { return m_disk + "/" + name; }
    static QByteArray Read(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void FillDisk() {
        QFile filler(OnDisk("remplissage"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        const QByteArray byte(1, 'x');
        while (filler.write(byte) == 1 && filler.flush()) {
        }
    }

    QTemporaryDir m_folder;
    QString m_disk;
    bool m_mounted = false;
    QStringList m_errors;
};

TEST_F(DiskFullTest, SavesThatFindNoRoomReportItAndLeaveTheOldFilesWhole) {
    const QString settings = OnDisk("fiches-conversions.ini");
    {
        Ufiche::TForm1 form;
        form.SetSettingsFileName(settings);
        form.show();
        form.close();
    }
    const QByteArray oldSettings = Read(settings);
    ASSERT_FALSE(oldSettings.isEmpty());
    {
        QFile worksheet(OnDisk("fiche.rtf"));
        ASSERT_TRUE(worksheet.open(QIODevice::WriteOnly));
        worksheet.write("{\\rtf1 ancienne fiche}");
    }
    FillDisk();

    Ufiche::TForm1 form;
    form.SetSettingsFileName(settings);
    form.SetSaveDialog([&](QWidget*, const QString&, const QString&) {
        return std::optional<QString>(OnDisk("fiche"));
    });
    form.show();
    form.findChild<QSpinBox*>("spMaxLigne")->setValue(40);
    form.btnLongClick();
    form.findChild<QPushButton*>("btnEnregistre")->click();
    ASSERT_EQ(m_errors.size(), 1);
    EXPECT_EQ(m_errors[0], platform::messages::CannotCreateFile(OnDisk("fiche.rtf")));
    EXPECT_EQ(Read(OnDisk("fiche.rtf")), "{\\rtf1 ancienne fiche}");
    EXPECT_FALSE(QFile::exists(OnDisk("fiche_Cor.rtf")));

    form.findChild<QSpinBox*>("spSujets")->setValue(30);
    form.close();
    ASSERT_EQ(m_errors.size(), 2);
    EXPECT_EQ(m_errors[1], platform::messages::CannotWriteTo(settings));
    EXPECT_EQ(Read(settings), oldSettings);
}

}  // namespace
