#include "Ufiche/texts/AppTexts.h"
#include "Ufiche/window/Captions.h"
#include "Ufiche/window/DefaultServices.h"
#include "Ufiche/window/SaveRules.h"
#include "Ufiche/window/StatusRules.h"

#include <gtest/gtest.h>

#include "Ufiche/window/widgets/Anchors.h"

namespace {

TEST(WindowRules, TheLightTurnsRedOnASettingChangeUnlessTheSubjectIsOneBlank) {
    EXPECT_TRUE(Ufiche::SettingChangeTurnsLightRed("     "));
    EXPECT_TRUE(Ufiche::SettingChangeTurnsLightRed(""));
    EXPECT_TRUE(Ufiche::SettingChangeTurnsLightRed("  "));
    EXPECT_TRUE(Ufiche::SettingChangeTurnsLightRed("Long_N1_37_05"));
    EXPECT_FALSE(Ufiche::SettingChangeTurnsLightRed(" "));
}

TEST(WindowRules, CaptionsAndHintsShowTheirNumbers) {
    EXPECT_EQ(Ufiche::SeparatorLengthCaption(""), "(0)");
    EXPECT_EQ(Ufiche::SeparatorLengthCaption(QString(123, '-')), "(123)");
    EXPECT_EQ(Ufiche::SeparatorLengthCaption("\u00e9\u00e9"), "(2)");
    EXPECT_EQ(Ufiche::texts::LevelHint(3), "Niveau 3");
    EXPECT_FALSE(Ufiche::SubjectButtonsEnabled(""));
    EXPECT_TRUE(Ufiche::SubjectButtonsEnabled("  "));
}

TEST(WindowRules, TheSettingsFileReplacesOnlyTheExtensionOfTheFileName) {
    const struct {
        const char* executable;
        const char* settings;
    } cases[] = {
        {"/usr/bin/fiches-conversions", "/usr/bin/fiches-conversions.ini"},
        {"/opt/fiches.v2/fiches-conversions", "/opt/fiches.v2/fiches-conversions.ini"},
        {"/media/cle/Fiches.exe", "/media/cle/Fiches.ini"},
        {"/media/cle/fiches.tar.gz", "/media/cle/fiches.tar.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ufiche::SettingsFileName(c.executable), c.settings);
    }
}

TEST(WindowRules, TheSaveNoticeIsCentredWithDivisionsTruncatedTowardZero) {
    EXPECT_EQ(Ufiche::SaveNoticePosition({798, 420}, {505, 217}), QPoint(146, 101));
    EXPECT_EQ(Ufiche::SaveNoticePosition({799, 421}, {505, 217}), QPoint(147, 102));
    EXPECT_EQ(Ufiche::SaveNoticePosition({400, 200}, {505, 217}), QPoint(-52, -8));
    EXPECT_EQ(Ufiche::CompileStampText("/opt/fiches/fiches-conversions", "08/12/2026 10:00:00"),
              "fiches-conversions : 08/12/2026 10:00:00");
}

TEST(Anchors, ControlsFollowTheEdgesTheyAreAnchoredTo) {
    using namespace Ufiche;
    const QSize design{798, 420};
    const QSize larger{900, 500};
    const QRect rect{100, 200, 50, 20};
    EXPECT_EQ(AnchoredGeometry(rect, AnchorLeft | AnchorTop, design, larger), rect);
    EXPECT_EQ(AnchoredGeometry(rect, AnchorLeft | AnchorTop | AnchorRight, design, larger),
              QRect(100, 200, 152, 20));
    EXPECT_EQ(AnchoredGeometry(rect, AnchorTop | AnchorRight, design, larger),
              QRect(202, 200, 50, 20));
    EXPECT_EQ(AnchoredGeometry(rect, AnchorLeft | AnchorRight | AnchorBottom, design, larger),
              QRect(100, 280, 152, 20));
    EXPECT_EQ(AnchoredGeometry(rect, AnchorLeft | AnchorTop | AnchorRight | AnchorBottom, design,
                               QSize(700, 400)),
              QRect(100, 200, -48, 0));
}

}  // namespace
