#include "corefiles.h"
#include "transportlayout.h"
#include "transportverilog.h"

namespace IPJESD204B {

namespace {

using namespace TransportText;

QString wire(int width, const QString &name)
{
    return width > 1 ? QStringLiteral("wire [%1:0] %2;").arg(width - 1).arg(name)
                     : QStringLiteral("wire %1;").arg(name);
}

// The module's description, the nets it adds for the user's design and one instance with
// named connections, each pair {port, net}.
QStringList instance(const Layout &layout, const QString &what, const QString &module,
                     const QString &direction, const QStringList &nets,
                     const QVector<QPair<QString, QString>> &connections)
{
    QStringList lines{QString()};
    // The module's description names its ports; here they are the nets of this direction.
    QStringList head =
        header(layout, QStringLiteral("%1 %2 (ipcore-host transport)").arg(what, module));
    head.replaceInStrings(QStringLiteral("sample_"), direction + QStringLiteral("_sample_"));
    lines << head << nets << QStringLiteral("%1 u_%1 (").arg(module);
    for (const auto &connection : connections)
        lines << QStringLiteral("    .%1(%2),").arg(connection.first, connection.second);
    lines.last().chop(1);
    lines << QStringLiteral(");");
    return lines;
}

} // namespace

QStringList transportInstances(const TransportMap &map, const CoreShape &core,
                               const QString &prefix)
{
    const Layout layout{map, transportGeometry(map.octetsPerFrame, core.pcsBits / 8)};
    const SampleBus bus{map, layout.geometry, QString(), QString()};
    const bool control = map.controlBits > 0;
    QStringList lines;
    if (core.transmit) {
        QStringList nets{wire(bus.dataWidth(), QStringLiteral("tx_sample_data"))};
        QVector<QPair<QString, QString>> wiring{
            {QStringLiteral("clk"), QStringLiteral("tx_core_clk_i")},
            {QStringLiteral("rst"), QStringLiteral("tx_rst_i")},
            {QStringLiteral("tx_somf_i"), QStringLiteral("tx_data_somf_o[0]")},
            {QStringLiteral("sample_data_i"), QStringLiteral("tx_sample_data")}};
        if (control) {
            nets << wire(bus.controlWidth(), QStringLiteral("tx_sample_ctrl"));
            wiring.append({QStringLiteral("sample_ctrl_i"), QStringLiteral("tx_sample_ctrl")});
        }
        nets << wire(1, QStringLiteral("tx_sample_ready"));
        wiring.append({QStringLiteral("sample_ready_o"), QStringLiteral("tx_sample_ready")});
        wiring.append({QStringLiteral("tx_data_o"), QStringLiteral("tx_data_i")});
        lines << instance(layout, QStringLiteral("Transmit transport"),
                          prefix + QStringLiteral("_tx_transport"), QStringLiteral("tx"), nets,
                          wiring);
    }
    if (core.receive) {
        QStringList nets{wire(bus.dataWidth(), QStringLiteral("rx_sample_data"))};
        QVector<QPair<QString, QString>> wiring{
            {QStringLiteral("clk"), QStringLiteral("rx_core_clk_i")},
            {QStringLiteral("rst"), QStringLiteral("rx_rst_i")},
            {QStringLiteral("rx_valid_i"), QStringLiteral("rx_data_valid_o")},
            {QStringLiteral("rx_somf_i"), QStringLiteral("rx_data_somf_o[0]")},
            {QStringLiteral("rx_data_i"), QStringLiteral("rx_data_o")},
            {QStringLiteral("sample_data_o"), QStringLiteral("rx_sample_data")}};
        if (control) {
            nets << wire(bus.controlWidth(), QStringLiteral("rx_sample_ctrl"));
            wiring.append({QStringLiteral("sample_ctrl_o"), QStringLiteral("rx_sample_ctrl")});
        }
        nets << wire(1, QStringLiteral("rx_sample_valid"))
             << wire(1, QStringLiteral("rx_sample_somf"));
        wiring.append({QStringLiteral("sample_valid_o"), QStringLiteral("rx_sample_valid")});
        wiring.append({QStringLiteral("sample_somf_o"), QStringLiteral("rx_sample_somf")});
        lines << instance(layout, QStringLiteral("Receive transport"),
                          prefix + QStringLiteral("_rx_transport"), QStringLiteral("rx"), nets,
                          wiring);
    }
    return lines;
}

} // namespace IPJESD204B
