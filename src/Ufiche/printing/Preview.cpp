#include "Ufiche/printing/Preview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "platform/emf/EmfPicture.h"

namespace Ufiche {
namespace {

const QString kPagePrefix = QStringLiteral("Temp");
const QString kWriteTestFile = QStringLiteral("TWFile.txt");
// The files that the close removes, matched in any letter case.
const QStringList kTemporaryFiles = {"temp0.emf", "temp1.emf", "twfile.txt"};
const QSize kAreaSize{493, 497};
const QSize kPictureSize{420, 594};

QString PageFile(int page) {
    return QDir::current().filePath(RichEditEMFPrint::PageFileName(kPagePrefix, page));
}

}  // namespace

Preview::Preview(QWidget& owner, QScrollArea& area, QLabel& firstPage, QLabel& secondPage,
                 RichEditEMFPrint::PrinterProvider printerForJob)
    : m_owner(owner),
      m_area(area),
      m_pictures{&firstPage, &secondPage},
      m_printerForJob(std::move(printerForJob)) {}

bool Preview::CanWriteTestFile() {
    QFile probe(QDir::current().filePath(kWriteTestFile));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return probe.flush() && (probe.close(), probe.error() == QFileDevice::NoError);
}

void Preview::Show(platform::TRxRichEdit& subject) {
    if (!CanWriteTestFile()) {
        return;  // a folder that cannot take the page files: no preview, no message
    }
    for (int page = 0; page < RichEditEMFPrint::kMaxPages; ++page) {
        QFile::remove(PageFile(page));
    }
    for (QLabel* picture : m_pictures) {
        picture->setPixmap(QPixmap());
    }
    QCoreApplication::processEvents();
    if (CanWriteTestFile()) {
        RichEditEMFPrint::RichEditToEMF(subject, kPagePrefix, m_printerForJob);
    }
    QCoreApplication::processEvents();
    LoadPictures();
    m_area.verticalScrollBar()->setValue(0);
    if (!m_area.isWindow()) {
        Float();
    }
    m_area.show();
}

void Preview::LoadPictures() {
    for (int page = 0; page < RichEditEMFPrint::kMaxPages; ++page) {
        const QString file = PageFile(page);
        if (QFile::exists(file)) {
            // Drawn in device pixels, so that a scaled screen shows it sharp.
            const qreal ratio = m_pictures[page]->devicePixelRatioF();
            QImage picture = platform::RenderEmfFile(file, kPictureSize * ratio);
            picture.setDevicePixelRatio(ratio);
            m_pictures[page]->setPixmap(QPixmap::fromImage(picture));
        }
    }
}

// Into a window of its own, centred on the screen; it stays one for the rest
// of the run.
void Preview::Float() {
    // A window of its own takes the desktop's font, not the window's, unless
    // told otherwise; the page captions are sized for the window's font and
    // would be cut short in a larger one.
    m_area.setAttribute(Qt::WA_WindowPropagation);
    m_area.setParent(&m_owner, Qt::Tool);
    const QSize screen = m_owner.screen() ? m_owner.screen()->geometry().size() : QSize(1024, 768);
    m_area.setGeometry((screen.width() - kAreaSize.width()) / 2,
                       (screen.height() - kAreaSize.height()) / 2, kAreaSize.width(),
                       kAreaSize.height());
}

void Preview::Hide() {
    m_area.hide();
}

void Preview::HideAndRemoveFiles() {
    Hide();
    const QDir current = QDir::current();
    for (const QString& name : current.entryList(QDir::Files | QDir::Hidden)) {
        if (kTemporaryFiles.contains(name.toLower())) {
            QFile::remove(current.filePath(name));  // a file that stays is no error
        }
    }
}

}  // namespace Ufiche
