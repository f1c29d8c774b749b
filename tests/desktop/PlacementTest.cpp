// The window's place and size over restarts, on a real X server with a
// window manager that frames the window after it is mapped: what the
// settings file holds and where the X server shows the window.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "Desktop.h"
#include "Ufiche/window/TForm1.h"
#include "platform/errors/ErrorReport.h"

namespace {

class DesktopPlacementTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(desktop, nullptr);
        m_settingsFile = m_folder.filePath("fiches-conversions.ini");
        platform::SetErrorPresenter([this](const QString& message) { m_errors << message; });
    }
    void TearDown() override {
        platform::SetErrorPresenter(nullptr);
        EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join("; ").toStdString();
    }

    // A start of the program: the window shown and framed by the manager.
    std::unique_ptr<Ufiche::TForm1> Start() {
        auto form = std::make_unique<Ufiche::TForm1>();
        form->SetSettingsFileName(m_settingsFile);
        form->show();
        EXPECT_TRUE(XDesktop::WaitFor([&] {
            return form->windowHandle()->isExposed() && !Extents(*form).isNull();
        })) << "the window manager never framed the window";
        return form;
    }
    QSize Extents(const Ufiche::TForm1& form) const {
        return form.frameGeometry().size() - form.size();
    }

    // Waits for the window to stand at `outer` as the X server shows it and
    // as the program knows it (a teacher's close comes later than the
    // window system's reports); answers where the X server shows it then.
    QRect SettleAt(const Ufiche::TForm1& form, const QRect& outer) {
        QRect seen;
        XDesktop::WaitFor(
            [&] {
                seen = desktop->OuterRect(form.winId());
                return seen == outer && form.frameGeometry() == outer;
            },
            20);
        return seen;
    }
    // Maximized on the X server, and the program has heard so (a teacher's
    // next click comes later than the window system's report).
    static bool ShownMaximized(const Ufiche::TForm1& form) {
        return desktop->NetWmState(form.winId()).contains("_NET_WM_STATE_MAXIMIZED_HORZ") &&
               (form.windowHandle()->windowStates() & Qt::WindowMaximized);
    }
    bool Maximize(Ufiche::TForm1& form) {
        form.showMaximized();
        return XDesktop::WaitFor([&] { return ShownMaximized(form); });
    }

    QString Stored(const QString& key) {
        QFile file(m_settingsFile);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith(key.toLatin1() + "=")) {
                return QString::fromLatin1(line.mid(key.size() + 1)).trimmed();
            }
        }
        return {};
    }
    static QString RectText(const QRect& r) {
        return QString("%1,%2,%3,%4")
            .arg(r.left())
            .arg(r.top())
            .arg(r.left() + r.width())
            .arg(r.top() + r.height());
    }
    void WriteSettings(const QString& normPos, int showCmd) {
        QFile file(m_settingsFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QString("[TForm1]\r\nShowCmd=%1\r\nPixelsPerInch=96\r\nNormPos=%2\r\n")
                       .arg(showCmd)
                       .arg(normPos)
                       .toLatin1());
    }

    QTemporaryDir m_folder;
    QString m_settingsFile;
    QStringList m_errors;
};

TEST_F(DesktopPlacementTest, TwentyRestartsLeaveTheWindowWhereItWasMaximizedClosesIncluded) {
    QRect first;
    {
        auto form = Start();
        first = desktop->OuterRect(form->winId());
        // Centred at its design size, the frame around the 798 x 420 client area.
        EXPECT_EQ(form->size(), QSize(798, 420));
        EXPECT_EQ(first.size(), QSize(798, 420) + Extents(*form));
        form->close();
    }
    EXPECT_EQ(Stored("NormPos"), RectText(first));
    for (int run = 1; run <= 20; ++run) {
        SCOPED_TRACE(testing::Message() << "restart " << run);
        auto form = Start();
        // Every other run closes maximized and the next one starts so.
        const bool closedMaximized = run % 2 == 0;
        const bool startedMaximized = run > 1 && !closedMaximized;
        if (startedMaximized) {
            ASSERT_TRUE(XDesktop::WaitFor([&] { return ShownMaximized(*form); }));
            form->showNormal();
        }
        ASSERT_EQ(SettleAt(*form, first), first);
        if (closedMaximized) {
            ASSERT_TRUE(Maximize(*form));
        }
        form->close();
        EXPECT_EQ(Stored("NormPos"), RectText(first));
        EXPECT_EQ(Stored("ShowCmd"), closedMaximized ? "3" : "1");
    }
}

// The stored rectangle is the outer one, as the file has always meant it;
// the outer size never goes below 680 x 400.
TEST_F(DesktopPlacementTest, AStoredRectangleIsTheFrameOnTheScreen) {
    struct Case {
        const char* normPos;
        QRect outer;
    } const cases[] = {
        {"37,53,737,503", QRect(37, 53, 700, 450)},
        {"200,100,1200,900", QRect(200, 100, 1000, 800)},
        {"10,20,310,220", QRect(10, 20, 680, 400)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.normPos);
        WriteSettings(c.normPos, 1);
        auto form = Start();
        EXPECT_EQ(SettleAt(*form, c.outer), c.outer);
        form->close();
        EXPECT_EQ(Stored("NormPos"), RectText(c.outer));
    }
}

TEST_F(DesktopPlacementTest, TheWindowComesBackMaximizedOrMinimized) {
    WriteSettings("100,100,900,600", 3);
    {
        auto form = Start();
        EXPECT_TRUE(XDesktop::WaitFor([&] { return ShownMaximized(*form); }));
        EXPECT_TRUE(form->isMaximized());
        // Restored by the teacher, it takes the stored normal rectangle.
        form->showNormal();
        EXPECT_EQ(SettleAt(*form, QRect(100, 100, 800, 500)), QRect(100, 100, 800, 500));
    }
    WriteSettings("100,100,900,600", 2);
    auto form = std::make_unique<Ufiche::TForm1>();
    form->SetSettingsFileName(m_settingsFile);
    form->show();
    EXPECT_TRUE(XDesktop::WaitFor([&] { return desktop->Iconic(form->winId()); }));
    EXPECT_TRUE(form->isMinimized());
    form->close();
    EXPECT_EQ(Stored("ShowCmd"), "2");
    EXPECT_EQ(Stored("NormPos"), "100,100,900,600");
}

}  // namespace
