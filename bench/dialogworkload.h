#pragma once

#include "configforms.h"
#include "jesd204bdlg.h"

#include <devicedb.h>
#include <idecore.h>
#include <parametermap.h>
#include <serdes.h>

#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QWidget>

// The dialog's measured workload, for its benchmarks and the lifetime rounds alike: the
// eight-lane example core on a device with two quads, the dialog opened on it, and the same
// four forms set up in a bare QDialog, the baseline a dialog is measured against.
namespace DialogWorkload {

inline const QString TwoQuadDevice = QStringLiteral("TQ2H4-FF676");

// An empty SERDES model on the two-quad device.
inline void useTwoQuadDevice()
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    model->setDevice(Core::IdeCore::deviceDataBase()->findDevice(TwoQuadDevice));
}

// Empty when the example cannot be read.
inline IPSERDESIP::ParameterMap eightLaneSet()
{
    QFile file(QStringLiteral(JESD_SOURCE_DIR "/examples/both_8lane.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    IPSERDESIP::ParameterMap set = QJsonDocument::fromJson(file.readAll()).object().toVariantMap();
    set.insert(QStringLiteral("target_device"), TwoQuadDevice);
    return set;
}

inline const IPSERDESIP::ParameterMap &ipInfo()
{
    static const IPSERDESIP::ParameterMap info{
        {QStringLiteral("ipcore.id"), QStringLiteral("jesd204b")},
        {QStringLiteral("ipcore.name"), QStringLiteral("JESD204B")},
        {QStringLiteral("ipcore.label"), QStringLiteral("JESD204B")},
        {QStringLiteral("ipcore.target"), QStringLiteral("jesd204b_0")},
        {QStringLiteral("ipcore.module"), QStringLiteral("jesd204b_0")},
    };
    return info;
}

// Constructs the dialog, runs initDialog and the restore of the stored set, destroys it; false
// when the dialog refused the set.
inline bool openStored(const IPSERDESIP::ParameterMap &stored)
{
    IPSERDESIP::ParameterMap parameters;
    IPJESD204B::jesd204bdlg dialog(ipInfo(), &parameters, nullptr);
    return dialog.setOpening(stored);
}

inline void buildBareForms()
{
    QDialog dialog;
    IPJESD204B::core_config core;
    IPJESD204B::phy_config phy;
    IPJESD204B::afe_config afe;
    IPJESD204B::opt_config opt;
    core.setupUi(new QWidget(&dialog));
    phy.setupUi(new QWidget(&dialog));
    afe.setupUi(new QWidget(&dialog));
    opt.setupUi(new QWidget(&dialog));
}

} // namespace DialogWorkload
