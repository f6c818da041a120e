#include "parameterkeys.h"

namespace IPJESD204B {

const IPSERDESIP::ParameterMap &absentValues()
{
    static const IPSERDESIP::ParameterMap values{
        {Key::SynthesisTool, QString(Absent::SynthesisTool)},
        {Key::Lang, Absent::Lang},
        {Key::Receive, Absent::Receive},
        {Key::Transmit, Absent::Transmit},
        {Key::Both, Absent::Both},
        {Key::NumberOfLanes, QString(Absent::NumberOfLanes)},
        {Key::LmfcBuffer, QString(Absent::LmfcBuffer)},
        {Key::RpatGenerator, Absent::RpatGenerator},
        {Key::JspatGenerator, Absent::JspatGenerator},
        {Key::SysrefAlways, QString(Absent::SysrefAlways)},
        {Key::ScramblingOn, QString(Absent::ScramblingOn)},
        {Key::DefaultF, QString(Absent::DefaultF)},
        {Key::DefaultK, QString(Absent::DefaultK)},
        {Key::SysrefRequired, QString(Absent::SysrefRequired)},
        {Key::FixedConfigEnable, Absent::FixedConfigEnable},
        {Key::ClockFrequency, QString(Absent::ClockFrequency)},
        {Key::LineRate, QString(Absent::LineRate)},
        {Key::PcsWidth32, Absent::PcsWidth32},
        {Key::PcsWidth64, Absent::PcsWidth64},
        {Key::RefClkSource, QString(Absent::RefClkSource)},
        {Key::RefClkFrequency, QString(Absent::RefClkFrequency)},
        {Key::LoopbackMode, QString(Absent::LoopbackMode)},
        {Key::DifferentialSwing, QString(Absent::DifferentialSwing)},
        {Key::FfeMode, QString(Absent::FfeMode)},
        {Key::FfeCm, Absent::FfeCm},
        {Key::FfeC1, Absent::FfeC1},
        {Key::FfeC0, QString(Absent::FfeC0)},
        {Key::SdThreshold, QString(Absent::SdThreshold)},
        {Key::EqualizationMode, QString(Absent::EqualizationMode)},
        {Key::Att, Absent::Att},
        {Key::Boost, Absent::Boost},
        {Key::DrpPorts, Absent::DrpPorts},
    };
    return values;
}

QVariant valueOrAbsent(const IPSERDESIP::ParameterMap &params, const QString &key)
{
    const auto found = params.constFind(key);
    if (found != params.constEnd())
        return found.value();
    return absentValues().value(key);
}

} // namespace IPJESD204B
