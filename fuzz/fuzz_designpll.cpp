// Arbitrary bytes as a design file that may carry its own PLL table, then what `check` does
// over it: the core's SERDES option lines, its routes claimed in the model, and the
// generator's proof of the line rate from the design's PLL dividers.
#include "fuzzsupport.h"

#include "jesd204b.h"
#include "parameterfile.h"

#include <design/designfile.h>
#include <generator.h>
#include <idecore.h>
#include <serdes.h>
#include <services/message.h>

#include <memory>

namespace {

IPJESD204B::jesd204b &protocol()
{
    static IPJESD204B::jesd204b *const loaded = [] {
        Core::MessageSink::setHandler([](const QString &, const QString &, QWidget *) {});
        auto *created = new IPJESD204B::jesd204b(QStringLiteral(JESD_SOURCE_DIR "/data"));
        if (!created->load())
            qFatal("the core description does not load");
        return created;
    }();
    return *loaded;
}

// An eight-lane core for a two-quad design, a two-lane one for a one-quad design.
const IPSERDESIP::ParameterMap &coreFor(int quads)
{
    static const auto read = [](const char *name) {
        IPSERDESIP::ParameterMap set;
        QString error;
        if (!HostProgram::readParameterFile(
                QStringLiteral(JESD_SOURCE_DIR "/examples/") + QLatin1String(name), &set, &error))
            qFatal("%s", qPrintable(error));
        return set;
    };
    static const IPSERDESIP::ParameterMap eight = read("both_8lane.json");
    static const IPSERDESIP::ParameterMap two = read("rx_2lane.json");
    return quads > 1 ? eight : two;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using IPSERDESIP::serdes;
    serdes *const model = serdes::instance();
    model->reset();
    model->setDevice(Core::IdeCore::deviceDataBase()->findDevice(QStringLiteral("TQ2H4-FF676")));
    const QString path = FuzzSupport::inputFile(QStringLiteral("design.json"), data, size);
    QString error;
    if (!IPSERDESIP::DesignFile::load(path, &error))
        return 0;

    const IPSERDESIP::ParameterMap &params = coreFor(model->quadCount());
    model->setWorkingDir(FuzzSupport::scratchDir().path());
    IPJESD204B::jesd204b &core = protocol();
    core.setDevice(model->device());
    QStringList options, reserved, moduleOptions;
    QString message;
    core.generate(params, options, reserved, moduleOptions, message, false);
    const std::unique_ptr<IPSERDESIP::Message> report(core.resources(params));
    model->checkRoute(report->laneList, report->pllList, report->refClkList, report->refClkFreqList,
                      report->instanceName);
    IPSERDESIP::generator generator;
    if (generator.generate(options, FuzzSupport::scratchDir().filePath(QStringLiteral("core.csr")),
                           {}))
        generator.solvedSettings();
    else
        generator.getErrStringList();
    for (const QString &lane : report->laneList)
        model->resetLane(lane, false);
    return 0;
}
