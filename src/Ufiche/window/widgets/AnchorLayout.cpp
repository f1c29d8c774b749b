#include "Ufiche/window/widgets/AnchorLayout.h"

#include "Ufiche/window/widgets/Anchors.h"

namespace Ufiche {

namespace {

const QSize kMainWindowDesignClientSize{798, 420};

const std::vector<AnchorLayout::Anchoring> kMainWindowControls = {
    {"eTitre1", AnchorLeft | AnchorTop | AnchorRight},
    {"LabelCode", AnchorTop | AnchorRight},
    {"eCode", AnchorTop | AnchorRight},
    {"Combo1", AnchorLeft | AnchorTop | AnchorRight},
    {"btnNouvTexte", AnchorTop | AnchorRight},
    {"btnEffaceTexte", AnchorTop | AnchorRight},
    {"eSepar", AnchorLeft | AnchorTop | AnchorRight},
    {"ckbVirgule", AnchorTop | AnchorRight},
    {"ckbTableau", AnchorTop | AnchorRight},
    {"ckbDeuxUnites", AnchorTop | AnchorRight},
    {"ckbSujetsDiff", AnchorTop | AnchorRight},
    {"ckbEdite", AnchorTop | AnchorRight},
    {"RxE1", AnchorLeft | AnchorTop | AnchorRight | AnchorBottom},
    {"RxE2", AnchorLeft | AnchorRight | AnchorBottom},
    {"Label9", AnchorLeft | AnchorRight | AnchorBottom},
    {"btnMoodle", AnchorRight | AnchorBottom},
    {"btnLong", AnchorLeft | AnchorBottom},
    {"btnSurf", AnchorLeft | AnchorBottom},
    {"btnVol", AnchorLeft | AnchorBottom},
    {"btnCapa", AnchorLeft | AnchorBottom},
    {"btnMasse", AnchorLeft | AnchorBottom},
    {"btnDuree", AnchorLeft | AnchorBottom},
    {"btnChoixImp", AnchorRight | AnchorBottom},
    {"btnApercu", AnchorRight | AnchorBottom},
    {"Label7", AnchorRight | AnchorBottom},
    {"spSujets", AnchorRight | AnchorBottom},
    {"Label8", AnchorRight | AnchorBottom},
    {"spCorriges", AnchorRight | AnchorBottom},
    {"btnImprime", AnchorRight | AnchorBottom},
    {"btnEnregistre", AnchorRight | AnchorBottom},
    {"Shape1", AnchorRight | AnchorBottom},
};

}  // namespace

AnchorLayout::AnchorLayout(QWidget& window)
    : AnchorLayout(window, kMainWindowDesignClientSize, kMainWindowControls) {}

AnchorLayout::AnchorLayout(QWidget& window, const QSize& designClientSize,
                           const std::vector<Anchoring>& controls)
    : m_designClientSize(designClientSize) {
    for (const Anchoring& anchoring : controls) {
        if (auto* control = window.findChild<QWidget*>(anchoring.name)) {
            m_entries.push_back({control, anchoring.anchors, control->geometry()});
        }
    }
}

void AnchorLayout::Redesign(const QWidget& control) {
    for (Entry& entry : m_entries) {
        if (entry.control == &control) {
            entry.design = control.geometry();
        }
    }
}

void AnchorLayout::Place(const QSize& clientSize) const {
    for (const Entry& entry : m_entries) {
        if (entry.control) {
            entry.control->setGeometry(
                AnchoredGeometry(entry.design, entry.anchors, m_designClientSize, clientSize));
        }
    }
}

}  // namespace Ufiche
