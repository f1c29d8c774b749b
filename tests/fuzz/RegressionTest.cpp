// Every seed of the fuzz corpus and every input that a fuzzer once found to
// fail, fed again to its reader in each build.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "targets/FuzzTargets.h"

namespace {

struct Target {
    const char* name;
    int (*function)(const std::uint8_t*, std::size_t);
};

const Target kTargets[] = {
    {"markup", FuzzMarkupToRtf},
    {"rtf", FuzzRtfReader},
    {"ini", FuzzIniReader},
    {"emf", FuzzEmfPlayer},
};

TEST(FuzzRegressions, EverySeedAndEveryFoundInputIsReadWithoutFault) {
    int inputs = 0;
    for (const auto& target : kTargets) {
        for (const char* folder : {"corpus", "regressions"}) {
            const QDir dir(QString(FICHE_FUZZ_DIR) + "/" + folder + "/" + target.name);
            for (const QString& name : dir.entryList(QDir::Files)) {
                QFile file(dir.filePath(name));
                ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
                const QByteArray data = file.readAll();
                target.function(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                static_cast<std::size_t>(data.size()));
                ++inputs;
            }
        }
    }
    EXPECT_GT(inputs, 10);
}

}  // namespace
