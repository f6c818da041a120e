#include "transportsources.h"

namespace LinkSim {

namespace {

IPJESD204B::TransportMap runMap(const CoreShape &shape, const RunSettings &settings)
{
    const QMap<QString, int> params = effectiveLinkParams(shape, settings.overrides);
    IPJESD204B::LinkMode mode;
    mode.lanes = shape.lanes;
    mode.converters = params.value(QStringLiteral("M"));
    mode.samples = params.value(QStringLiteral("S"));
    mode.resolution = params.value(QStringLiteral("N"));
    mode.bitsPerSample = params.value(QStringLiteral("NP"));
    mode.controlBits = params.value(QStringLiteral("CS"));
    mode.controlWords = params.value(QStringLiteral("CF"));
    return IPJESD204B::transportMap(mode, params.value(QStringLiteral("F")));
}

} // namespace

QVector<IPJESD204B::TransportFile> testbenchTransport(const CoreShape &shape,
                                                      const RunSettings &settings, QString *error)
{
    const IPJESD204B::TransportMap map = runMap(shape, settings);
    if (!map.isValid()) {
        *error = map.error;
        return {};
    }
    return IPJESD204B::transportFiles(map, shape.octetsPerClock(), QStringLiteral("jesd204b_tb"),
                                      true, true);
}

int samplesPerBeat(const CoreShape &shape, const RunSettings &settings)
{
    const QMap<QString, int> params = effectiveLinkParams(shape, settings.overrides);
    return IPJESD204B::transportGeometry(params.value(QStringLiteral("F")), shape.octetsPerClock())
               .framesPerBeat *
           params.value(QStringLiteral("S"));
}

} // namespace LinkSim
