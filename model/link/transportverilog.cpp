#include "transportverilog.h"

#include "transportlayout.h"

#include <algorithm>

namespace IPJESD204B {

using namespace TransportText;

namespace {

QString tailZeros(int width)
{
    return QStringLiteral("{%1{1'b0}}").arg(width);
}

// Case-arm statements as the body of a plain clocked block.
QStringList dedented(QStringList lines)
{
    for (QString &line : lines)
        line.remove(0, 4);
    return lines;
}

// The lane words of clock q of the period from the beat taken now (fresh) or the one before.
QStringList txWordLines(const Layout &layout, int q, const SampleBus &fresh, const SampleBus &held,
                        BitUse *use)
{
    const TransportMap &map = layout.map;
    const int p = layout.geometry.octetsPerClock;
    const int f = map.octetsPerFrame;
    const int beat = layout.geometry.beatOctets();
    QStringList lines;
    for (int lane = 0; lane < map.lanes; ++lane) {
        for (int i = 0; i < p; ++i) {
            const int x = q * p + i;
            const SampleBus &bus = (x / beat) * beat >= q * p ? fresh : held;
            const int y = x % beat;
            QStringList parts;
            for (const TransportField &field : map.octets[lane * f + y % f].fields)
                parts << (field.kind == TransportKind::Tail ? tailZeros(field.width())
                                                            : bus.slice(field, y / f, use));
            const int lo = (lane * p + i) * 8;
            lines << QStringLiteral("            %1 <= {%2};")
                         .arg(slice(QStringLiteral("tx_data_o"), lo + 7, lo),
                              parts.join(QStringLiteral(", ")));
        }
    }
    return lines;
}

// The lane word q - lag, as the receive module holds it.
QString rxWord(int lag)
{
    return lag == 0 ? QStringLiteral("rx_data_i") : QStringLiteral("word_%1").arg(lag);
}

int firstLag(const Layout &layout, int q)
{
    const int beat = layout.beatEnding(q);
    return beat < 0 ? 0 : q - beat * layout.geometry.beatOctets() / layout.geometry.octetsPerClock;
}

// The samples of the beat that ends in clock q, from the words that hold its octets.
QStringList rxBeatLines(const Layout &layout, int q, const SampleBus &out, BitUse *use)
{
    const TransportMap &map = layout.map;
    const int p = layout.geometry.octetsPerClock;
    const int f = map.octetsPerFrame;
    const int start = layout.beatEnding(q) * layout.geometry.beatOctets();
    BitUse outputs;
    QStringList lines;
    for (int frame = 0; frame < layout.geometry.framesPerBeat; ++frame) {
        for (const TransportOctet &octet : map.octets) {
            const int x = start + frame * f + octet.octet;
            const QString word = rxWord(q - x / p);
            int top = (octet.lane * p + x % p) * 8 + 7;
            for (const TransportField &field : octet.fields) {
                if (field.kind != TransportKind::Tail) {
                    use->mark(word, top, top - field.width() + 1);
                    lines << QStringLiteral("            %1 <= %2;")
                                 .arg(out.slice(field, frame, &outputs),
                                      slice(word, top, top - field.width() + 1));
                }
                top -= field.width();
            }
        }
    }
    return lines;
}

QStringList moduleText(const QStringList &head, const QString &module, const QStringList &ports,
                       const QStringList &body, const BitUse &use)
{
    QStringList lines = head;
    lines << QStringLiteral("module %1 (").arg(module) << ports << QStringLiteral(");");
    lines << body;
    const QString unused = unusedLine(use);
    if (!unused.isEmpty())
        lines << unused;
    lines << QStringLiteral("endmodule");
    return lines;
}

QStringList txPeriodBody(const Layout &layout, const SampleBus &fresh, const SampleBus &held,
                         BitUse *use)
{
    const bool control = layout.map.controlBits > 0;
    QStringList body = phaseLines(layout, QStringLiteral("tx_somf_i"));
    body << QStringLiteral("    reg  [%1:0] hold_data;").arg(fresh.dataWidth() - 1);
    if (control)
        body << QStringLiteral("    reg  [%1:0] hold_ctrl;").arg(fresh.controlWidth() - 1);
    QStringList takes;
    for (int q = 0; q < layout.geometry.clocksPerPeriod; ++q) {
        if (layout.beatStarting(q) >= 0)
            takes << QStringLiteral("phase_next == %1").arg(number(layout.phaseBits(), q));
    }
    body
        << QStringLiteral("    assign sample_ready_o = %1;").arg(takes.join(QStringLiteral(" || ")))
        << QStringLiteral("    always @(posedge clk) begin")
        << QStringLiteral("        phase_q <= rst ? %1 : phase_next;")
               .arg(number(layout.phaseBits(), 0))
        << QStringLiteral("        if (sample_ready_o) begin")
        << QStringLiteral("            hold_data <= sample_data_i;");
    use->mark(fresh.data, fresh.dataWidth() - 1, 0);
    if (control) {
        body << QStringLiteral("            hold_ctrl <= sample_ctrl_i;");
        use->mark(fresh.control, fresh.controlWidth() - 1, 0);
    }
    body << QStringLiteral("        end") << QStringLiteral("        case (phase_next)");
    for (int q = 0; q < layout.geometry.clocksPerPeriod; ++q)
        body << QStringLiteral("        %1: begin").arg(caseLabel(layout, q))
             << txWordLines(layout, q, fresh, held, use) << QStringLiteral("        end");
    body << QStringLiteral("        endcase") << QStringLiteral("    end");
    return body;
}

QStringList rxPeriodBody(const Layout &layout, const SampleBus &out, BitUse *use)
{
    const int periodClocks = layout.geometry.clocksPerPeriod;
    int depth = 0;
    for (int q = 0; q < periodClocks; ++q)
        depth = std::max(depth, firstLag(layout, q));
    QStringList body = phaseLines(layout, QStringLiteral("rx_somf_i"));
    const int width = layout.wordBits();
    for (int lag = 1; lag <= depth; ++lag) {
        body << QStringLiteral("    reg  [%1:0] %2;").arg(width - 1).arg(rxWord(lag));
        use->declare(rxWord(lag), width);
        use->mark(rxWord(lag - 1), width - 1, 0);
    }
    body << QStringLiteral("    reg         run_q, mf_q;")
         << QStringLiteral("    always @(posedge clk) begin")
         << QStringLiteral("        phase_q <= rst ? %1 : phase_next;")
                .arg(number(layout.phaseBits(), 0));
    for (int lag = 1; lag <= depth; ++lag)
        body << QStringLiteral("        %1 <= %2;").arg(rxWord(lag), rxWord(lag - 1));
    body << QStringLiteral("        sample_valid_o <= 1'b0;")
         << QStringLiteral("        case (phase_now)");
    for (int q = 0; q < periodClocks; ++q) {
        body << QStringLiteral("        %1: begin").arg(caseLabel(layout, q));
        if (layout.beatEnding(q) >= 0)
            body << rxBeatLines(layout, q, out, use)
                 << QStringLiteral("            sample_valid_o <= !rst && rx_valid_i && run_q;")
                 << QStringLiteral("            sample_somf_o <= mf_q;");
        const int start = layout.beatStarting(q);
        if (start >= 0) {
            const bool aligned =
                start * layout.geometry.beatOctets() == q * layout.geometry.octetsPerClock;
            body << QStringLiteral("            run_q <= rx_valid_i;")
                 << QStringLiteral("            mf_q <= %1;")
                        .arg(aligned ? QStringLiteral("rx_somf_i") : QStringLiteral("1'b0"));
        } else {
            body << QStringLiteral("            run_q <= run_q && rx_valid_i;");
        }
        body << QStringLiteral("        end");
    }
    body << QStringLiteral("        endcase") << QStringLiteral("    end");
    return body;
}

} // namespace

QStringList txTransportVerilog(const TransportMap &map, int octetsPerClock, const QString &module)
{
    const Layout layout{map, transportGeometry(map.octetsPerFrame, octetsPerClock)};
    const bool control = map.controlBits > 0;
    const SampleBus fresh{map, layout.geometry, QStringLiteral("sample_data_i"),
                          QStringLiteral("sample_ctrl_i")};
    const SampleBus held{map, layout.geometry, QStringLiteral("hold_data"),
                         QStringLiteral("hold_ctrl")};
    BitUse use;
    const bool period = layout.geometry.clocksPerPeriod > 1;
    use.declare(fresh.data, fresh.dataWidth());
    if (period)
        use.declare(held.data, fresh.dataWidth());
    if (control) {
        use.declare(fresh.control, fresh.controlWidth());
        if (period)
            use.declare(held.control, fresh.controlWidth());
    }
    QStringList ports{port("input  wire", 1, QStringLiteral("clk")),
                      port("input  wire", 1, QStringLiteral("rst")),
                      port("input  wire", 1, QStringLiteral("tx_somf_i")),
                      port("input  wire", fresh.dataWidth(), fresh.data)};
    if (control)
        ports << port("input  wire", fresh.controlWidth(), fresh.control);
    ports << port("output wire", 1, QStringLiteral("sample_ready_o"))
          << port("output reg ", layout.wordBits(), QStringLiteral("tx_data_o"), true);
    QStringList body;
    if (!period) {
        use.declare(QStringLiteral("rst"), 1);
        use.declare(QStringLiteral("tx_somf_i"), 1);
        body << QStringLiteral("    assign sample_ready_o = 1'b1;")
             << QStringLiteral("    always @(posedge clk) begin")
             << dedented(txWordLines(layout, 0, fresh, held, &use)) << QStringLiteral("    end");
    } else {
        body = txPeriodBody(layout, fresh, held, &use);
    }
    QStringList head = header(layout, QStringLiteral("JESD204B transmit transport"));
    head << QStringLiteral("// tx_somf_i is bit 0 of the core's tx_data_somf_o. A beat is taken")
         << QStringLiteral("// in a clock with sample_ready_o; its octets reach tx_data_o (the")
         << QStringLiteral("// core's tx_data_i) from the next clock on.");
    return moduleText(head, module, ports, body, use);
}

QStringList rxTransportVerilog(const TransportMap &map, int octetsPerClock, const QString &module)
{
    const Layout layout{map, transportGeometry(map.octetsPerFrame, octetsPerClock)};
    const SampleBus out{map, layout.geometry, QStringLiteral("sample_data_o"),
                        QStringLiteral("sample_ctrl_o")};
    const int periodClocks = layout.geometry.clocksPerPeriod;
    BitUse use;
    use.declare(QStringLiteral("rx_data_i"), layout.wordBits());
    QStringList ports{port("input  wire", 1, QStringLiteral("clk")),
                      port("input  wire", 1, QStringLiteral("rst")),
                      port("input  wire", 1, QStringLiteral("rx_valid_i")),
                      port("input  wire", 1, QStringLiteral("rx_somf_i")),
                      port("input  wire", layout.wordBits(), QStringLiteral("rx_data_i")),
                      port("output reg ", out.dataWidth(), out.data)};
    if (map.controlBits > 0)
        ports << port("output reg ", out.controlWidth(), out.control);
    ports << port("output reg ", 1, QStringLiteral("sample_valid_o"))
          << port("output reg ", 1, QStringLiteral("sample_somf_o"), true);
    QStringList body;
    if (periodClocks == 1) {
        body << QStringLiteral("    always @(posedge clk) begin")
             << QStringLiteral("        sample_valid_o <= !rst && rx_valid_i;")
             << QStringLiteral("        sample_somf_o <= rx_somf_i;")
             << dedented(rxBeatLines(layout, 0, out, &use)) << QStringLiteral("    end");
    } else {
        body = rxPeriodBody(layout, out, &use);
    }
    QStringList head = header(layout, QStringLiteral("JESD204B receive transport"));
    head << QStringLiteral("// rx_valid_i and rx_somf_i are the core's rx_data_valid_o and bit 0")
         << QStringLiteral("// of rx_data_somf_o. sample_valid_o marks a beat one clock after")
         << QStringLiteral("// its last octet, sample_somf_o a beat that starts a multiframe.");
    return moduleText(head, module, ports, body, use);
}

QVector<TransportFile> transportFiles(const TransportMap &map, int octetsPerClock,
                                      const QString &prefix, bool transmit, bool receive)
{
    QVector<TransportFile> files;
    if (transmit) {
        const QString name = prefix + QStringLiteral("_tx_transport");
        files.append({name + QStringLiteral(".v"), txTransportVerilog(map, octetsPerClock, name)});
    }
    if (receive) {
        const QString name = prefix + QStringLiteral("_rx_transport");
        files.append({name + QStringLiteral(".v"), rxTransportVerilog(map, octetsPerClock, name)});
    }
    return files;
}

} // namespace IPJESD204B
