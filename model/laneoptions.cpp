#include "laneoptions.h"
#include "coredirection.h"
#include "parametervalues.h"

#include "nametables.h"
#include "parameterkeys.h"

namespace IPJESD204B {

namespace {

using ParameterValues::integerOr;
using ParameterValues::textOr;

void appendLine(QStringList &options, const char *lineTemplate, const QString &lanePrefix,
                const QString &value)
{
    options << QString::fromLatin1(lineTemplate).arg(lanePrefix, value);
}

void appendLine(QStringList &options, const char *lineTemplate, const QString &lanePrefix,
                int value)
{
    appendLine(options, lineTemplate, lanePrefix, QString::number(value));
}

void appendReceiveGroup(QStringList &options, const QString &p, const LaneOptionValues &v)
{
    appendLine(options, "%1_rx_sd_thsel %2", p, v.sdThreshold);
    appendLine(options, "%1_rx_eq_mode %2", p, v.equalizationMode.toLower());
    appendLine(options, "%1_rx_att %2", p, v.att);
    appendLine(options, "%1_rx_boost %2", p, v.boost);
}

void appendTransmitGroup(QStringList &options, const QString &p, const LaneOptionValues &v)
{
    appendLine(options, "%1_tx_differential_swing %2", p, v.differentialSwing);
    appendLine(options, "%1_tx_ffe_mode %2", p, v.ffeMode.toLower());
    appendLine(options, "%1_tx_ffe_cm %2", p, v.ffeCm);
    appendLine(options, "%1_tx_ffe_c1 %2", p, v.ffeC1);
    appendLine(options, "%1_tx_ffe_c0 %2", p, v.ffeC0);
}

void appendFrontEndGroups(QStringList &options, const QString &p, const LaneOptionValues &values)
{
    switch (values.frontEnd) {
    case FrontEndGroups::Receive:
        appendReceiveGroup(options, p, values);
        break;
    case FrontEndGroups::Transmit:
        appendTransmitGroup(options, p, values);
        break;
    case FrontEndGroups::TransmitThenReceive:
        appendTransmitGroup(options, p, values);
        appendReceiveGroup(options, p, values);
        break;
    case FrontEndGroups::ReceiveThenTransmit:
        appendReceiveGroup(options, p, values);
        appendTransmitGroup(options, p, values);
        break;
    case FrontEndGroups::None:
        break;
    }
}

} // namespace

void appendLaneOptionLines(QStringList &options, const QString &lanePrefix,
                           const QString &quadPrefix, const LaneOptionValues &values)
{
    const QString &p = lanePrefix;
    appendLine(options, "%1_tx_rate %2", p, values.lineRate);
    appendLine(options, "%1_rx_rate %2", p, values.lineRate);
    appendLine(options, "%1_pll_sel %2", p, values.pllSelection.toLower());
    appendLine(options, "%1_loopback_mode %2", p, values.loopbackMode.toLower());
    appendLine(options, "%1_enable %2", p, QStringLiteral("true"));

    // Each quad is enabled once, by its first lane block.
    for (const QuadRow &quad : NameTables::quads()) {
        if (quadPrefix == quad.optionPrefix && !options.contains(quad.enableLine))
            options << quad.enableLine;
    }

    if (NameTables::isInGroupAOrB(values.deviceName)) {
        appendLine(options, "%1_pma_tx_width_mode %2", p, 20);
        appendLine(options, "%1_pma_rx_width_mode %2", p, 20);
        appendLine(options, "%1_tx_encode %2", p, QStringLiteral("8b10b"));
        appendLine(options, "%1_rx_decode %2", p, QStringLiteral("8b10b"));
    } else {
        appendLine(options, "%1_pma_width_mode %2", p, 20);
        appendLine(options, "%1_8b10b_encode %2", p, QStringLiteral("enable"));
        appendLine(options, "%1_8b10b_decode %2", p, QStringLiteral("enable"));
    }

    appendLine(options, "%1_word_align %2", p, QStringLiteral("enable"));
    appendLine(options, "%1_word_align_pattern %2", p, QStringLiteral("k28.5"));
    appendLine(options, "%1_word_align_pattern_mask %2", p, QStringLiteral("1111111111"));

    switch (values.pcsWidth) {
    case PcsWidth::Bits32:
        appendLine(options, "%1_tx_gearbox %2", p, 2);
        appendLine(options, "%1_rx_gearbox %2", p, 2);
        break;
    case PcsWidth::Bits64:
        appendLine(options, "%1_tx_gearbox %2", p, 4);
        appendLine(options, "%1_rx_gearbox %2", p, 4);
        break;
    case PcsWidth::None:
        break;
    }

    appendFrontEndGroups(options, p, values);
}

LaneOptionValues laneOptionValuesFromParameters(const IPSERDESIP::ParameterMap &params,
                                                const QString &deviceName)
{
    const auto text = [&params](const QString &key) { return params.value(key).toString(); };
    const auto flag = [&params](const QString &key) { return params.value(key).toBool(); };

    LaneOptionValues v;
    v.lineRate = text(Key::LineRate);
    v.pllSelection = text(Key::PllSelection);
    v.loopbackMode = text(Key::LoopbackMode);
    v.deviceName = deviceName;

    if (flag(Key::PcsWidth32))
        v.pcsWidth = PcsWidth::Bits32;
    else if (flag(Key::PcsWidth64))
        v.pcsWidth = PcsWidth::Bits64;

    switch (coreDirection(params)) {
    case CoreDirection::Receive:
        v.frontEnd = FrontEndGroups::Receive;
        break;
    case CoreDirection::Transmit:
        v.frontEnd = FrontEndGroups::Transmit;
        break;
    case CoreDirection::Both:
        v.frontEnd = FrontEndGroups::TransmitThenReceive;
        break;
    case CoreDirection::None:
        break;
    }

    v.sdThreshold = textOr(params, Key::SdThreshold, Absent::SdThreshold);
    v.equalizationMode = textOr(params, Key::EqualizationMode, Absent::EqualizationMode);
    v.att = integerOr(params, Key::Att, QString::number(Absent::Att));
    v.boost = integerOr(params, Key::Boost, QString::number(Absent::Boost));
    v.differentialSwing = textOr(params, Key::DifferentialSwing, Absent::DifferentialSwing);
    v.ffeMode = textOr(params, Key::FfeMode, Absent::FfeMode);
    v.ffeCm = integerOr(params, Key::FfeCm, QString::number(Absent::FfeCm));
    v.ffeC1 = integerOr(params, Key::FfeC1, QString::number(Absent::FfeC1));
    v.ffeC0 = QString::number(integerOr(params, Key::FfeC0, Absent::FfeC0));
    return v;
}

} // namespace IPJESD204B
