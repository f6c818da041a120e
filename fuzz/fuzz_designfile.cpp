// Arbitrary bytes as a design file loaded into the SERDES model, then the model's queries the
// dialog makes over a loaded design.
#include "fuzzsupport.h"

#include <design/designfile.h>
#include <serdes.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using IPSERDESIP::serdes;
    serdes *const model = serdes::instance();
    model->reset();
    const QString path = FuzzSupport::inputFile(QStringLiteral("design.json"), data, size);
    QString error;
    if (!IPSERDESIP::DesignFile::load(path, &error))
        return 0;

    const QMap<QString, IPSERDESIP::Instance *> instances = model->allInstance();
    for (auto it = instances.constBegin(); it != instances.constEnd(); ++it) {
        it.value()->name();
        it.value()->owner();
    }
    model->findLaneName(QStringLiteral("JESD204B"));
    for (int quad = 0; quad < model->quadCount(); ++quad) {
        model->checkPLLforQuad(quad, 4.9152);
        model->checkPLLforQuad(quad, 10.3125);
    }
    model->getFreqByRefsrc(QStringLiteral("Q0_REFCLK0"));
    model->checkPllEnable(QStringLiteral("Q0_QPLL0"));
    const QStringList lanes{QStringLiteral("Q0_LANE0"), QStringLiteral("Q0_LANE1")};
    model->checkRoute(lanes, {QStringLiteral("Q0_QPLL1"), QStringLiteral("Q0_QPLL1")},
                      {QStringLiteral("Q0_REFCLK0")}, {QStringLiteral("122.88")});
    model->routeConflicts();
    model->globalData();
    return 0;
}
