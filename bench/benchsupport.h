#pragma once

#include <devicedb.h>
#include <idecore.h>
#include <parametermap.h>
#include <serdes.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVariant>

#include <cstdlib>

// Inputs the benchmarks share: the eight-lane example core on a device with two quads.
namespace BenchSupport {

inline const QString TwoQuadDevice = QStringLiteral("TQ2H4-FF676");

// Widget benchmarks run on the offscreen platform when there is no display to show on.
inline void offscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// An empty SERDES model on the two-quad device.
inline void useTwoQuadDevice()
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    model->setDevice(Core::IdeCore::deviceDataBase()->findDevice(TwoQuadDevice));
}

inline IPSERDESIP::ParameterMap eightLaneSet()
{
    QFile file(QStringLiteral(JESD_SOURCE_DIR "/examples/both_8lane.json"));
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    IPSERDESIP::ParameterMap set = QJsonDocument::fromJson(file.readAll()).object().toVariantMap();
    set.insert(QStringLiteral("target_device"), TwoQuadDevice);
    return set;
}

} // namespace BenchSupport
