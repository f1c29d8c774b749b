#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Ufiche/window/SaveRules.h"
#include "Ufiche/window/TForm1.h"
#include "platform/system/System.h"

namespace {

using Ufiche::SettingsLocation;

TEST(SettingsLocation,
     ABuildWithoutTheOptionKeepsTheFileBesideTheExecutableWhateverTheEnvironment) {
    for (const char* xdg : {"", "/home/prof/.cfg"}) {
        EXPECT_EQ(
            Ufiche::SettingsFileName(SettingsLocation::BesideExecutable,
                                     "/media/cle/fiches.v2/fiches-conversions", xdg, "/home/prof"),
            "/media/cle/fiches.v2/fiches-conversions.ini");
    }
}

TEST(SettingsLocation, AnInstalledProgramSavesInTheDocumentsFolderUnlessAFolderIsStored) {
    using Ufiche::SaveDialogStartFolder;
    const auto installed = SettingsLocation::UserConfiguration;
    EXPECT_EQ(SaveDialogStartFolder("", installed, "C:/Prog", "C:/Doc"), "C:/Doc");
    EXPECT_EQ(SaveDialogStartFolder("", SettingsLocation::BesideExecutable, "E:/", "C:/Doc"),
              "E:/");
    EXPECT_EQ(SaveDialogStartFolder("D:/Fiches", installed, "C:/Prog", "C:/Doc"), "D:/Fiches");
}

#ifndef _WIN32
TEST(SettingsLocation, AnInstalledProgramKeepsItsFileInTheUserConfigurationFolder) {
    const struct {
        const char* xdgConfigHome;
        const char* home;
        const char* settings;
    } cases[] = {
        // XDG_CONFIG_HOME wins when it is an absolute path.
        {"/home/prof/.cfg", "/home/prof",
         "/home/prof/.cfg/fiches-conversions/fiches-conversions.ini"},
        {"/home/prof/.cfg/", "/home/prof",
         "/home/prof/.cfg/fiches-conversions/fiches-conversions.ini"},
        // Unset, empty or relative: ~/.config.
        {"", "/home/prof", "/home/prof/.config/fiches-conversions/fiches-conversions.ini"},
        {"cfg", "/home/prof", "/home/prof/.config/fiches-conversions/fiches-conversions.ini"},
        {"", "/home/prof/", "/home/prof/.config/fiches-conversions/fiches-conversions.ini"},
        {"/cfg", "", "/cfg/fiches-conversions/fiches-conversions.ini"},
        // No configuration folder at all: beside the executable, where the
        // close reports that it cannot write rather than writing somewhere
        // relative to the current folder.
        {"", "", "/usr/bin/fiches-conversions.ini"},
        {"cfg", "home", "/usr/bin/fiches-conversions.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ufiche::SettingsFileName(SettingsLocation::UserConfiguration,
                                           "/usr/bin/fiches-conversions", c.xdgConfigHome, c.home),
                  c.settings)
            << "XDG_CONFIG_HOME=" << c.xdgConfigHome << " HOME=" << c.home;
    }
}

TEST(SettingsLocation, TheFileInTheConfigurationFolderKeepsTheExecutablesFileName) {
    EXPECT_EQ(Ufiche::SettingsFileName(SettingsLocation::UserConfiguration,
                                       "/opt/fiches.v2/Fiches.bin", "", "/home/prof"),
              "/home/prof/.config/fiches-conversions/Fiches.ini");
}

#else
// On Windows the window passes %LOCALAPPDATA% (QStandardPaths) as the
// configuration folder.
TEST(SettingsLocation, AnInstalledProgramKeepsItsFileInTheUsersLocalApplicationData) {
    const QString program = "C:/Program Files/Fiches de conversions/fiches-conversions.exe";
    const struct {
        QString configHome;
        QString settings;
    } cases[] = {
        {QString::fromUtf8("C:/Users/H\xC3\xA9l\xC3\xA8ne/AppData/Local"),
         QString::fromUtf8("C:/Users/H\xC3\xA9l\xC3\xA8ne/AppData/Local/fiches-conversions/"
                           "fiches-conversions.ini")},
        {"D:/Profils/prof/AppData/Local/",
         "D:/Profils/prof/AppData/Local/fiches-conversions/fiches-conversions.ini"},
        // No usable folder: beside the executable, where the close reports
        // that Program Files cannot be written.
        {"", "C:/Program Files/Fiches de conversions/fiches-conversions.ini"},
        {"AppData", "C:/Program Files/Fiches de conversions/fiches-conversions.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ufiche::SettingsFileName(SettingsLocation::UserConfiguration, program,
                                           c.configHome, ""),
                  c.settings)
            << c.configHome.toStdString();
    }
    EXPECT_EQ(Ufiche::SettingsFileName(SettingsLocation::BesideExecutable, program,
                                       "C:/Users/prof/AppData/Local", ""),
              "C:/Program Files/Fiches de conversions/fiches-conversions.ini");
}
#endif

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : m_name(name), m_hadValue(qEnvironmentVariableIsSet(name)), m_oldValue(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnvironment() {
        if (m_hadValue) {
            qputenv(m_name, m_oldValue);
        } else {
            qunsetenv(m_name);
        }
    }

private:
    const char* m_name;
    bool m_hadValue;
    QByteArray m_oldValue;
};

TEST(SettingsLocation, TheWindowNamesTheFileOfTheLocationItWasBuiltFor) {
#ifdef FICHE_USER_SETTINGS
    EXPECT_EQ(Ufiche::BuiltSettingsLocation(), SettingsLocation::UserConfiguration);
#else
    EXPECT_EQ(Ufiche::BuiltSettingsLocation(), SettingsLocation::BesideExecutable);
#endif
    QTemporaryDir configHome;
    ASSERT_TRUE(configHome.isValid());
    const ScopedEnvironment xdg("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    const QString programFolder = configHome.filePath("fiches-conversions");

    const Ufiche::TForm1 form;  // its FormCreate names the settings file

    const QString besideExecutable = Ufiche::SettingsFileName(platform::ExecutablePath());
    if (Ufiche::BuiltSettingsLocation() == SettingsLocation::BesideExecutable) {
        EXPECT_EQ(form.SettingsFileName(), besideExecutable);
        EXPECT_FALSE(QFileInfo::exists(programFolder));
    } else {
        EXPECT_EQ(form.SettingsFileName(),
                  programFolder + "/" + QFileInfo(besideExecutable).fileName());
        // Created at the first run, so that the first close can save.
        EXPECT_TRUE(QFileInfo(programFolder).isDir());
    }
}

}  // namespace
