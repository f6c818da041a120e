#pragma once

#include <parametermap.h>

#include <QLatin1String>
#include <QMap>
#include <QString>
#include <QVariant>

// Keys of the parameter set of one configured core, in the order the dialog writes them.
namespace IPJESD204B {
// QLatin1String(const char *) measures its text with strlen, which only some compilers evaluate
// at compile time; the array's own length is a constant everywhere.
template <int N> constexpr QLatin1String latin1(const char (&text)[N])
{
    return QLatin1String(text, N - 1);
}

namespace Key {

// Identification and host keys.
constexpr QLatin1String TargetDevice = latin1("target_device");
constexpr QLatin1String Type = latin1("type");
constexpr QLatin1String Version = latin1("version");
constexpr QLatin1String SynthesisTool = latin1("Synthesis_tool");
constexpr QLatin1String Lang = latin1("LANG");
constexpr QLatin1String File = latin1("file");
constexpr QLatin1String Module = latin1("module");
constexpr QLatin1String RecordLanes = latin1("recordlanes");

// User parameters.
constexpr QLatin1String Receive = latin1("Receive");
constexpr QLatin1String Transmit = latin1("Transmit");
constexpr QLatin1String Both = latin1("Both_Receive_and_Transmit");
constexpr QLatin1String NumberOfLanes = latin1("Number_of_lanes");
constexpr QLatin1String LmfcBuffer = latin1("LMFC_Buffer");
constexpr QLatin1String RpatGenerator = latin1("Include_RPAT_Generator");
constexpr QLatin1String JspatGenerator = latin1("Include_JSPAT_Generator");
constexpr QLatin1String SysrefAlways = latin1("Default_SYSREF_Always");
constexpr QLatin1String ScramblingOn = latin1("Default_Scrambling_ON");
constexpr QLatin1String DefaultF = latin1("Default_F");
constexpr QLatin1String DefaultK = latin1("Default_K");
constexpr QLatin1String SysrefRequired = latin1("Default_SYSREF_Required_on_Re-Sync");
constexpr QLatin1String FixedConfigEnable = latin1("Fixed_Config_Enable");
constexpr QLatin1String ClockFrequency = latin1("Clock_Frequency");
constexpr QLatin1String LineRate = latin1("Line_Rate");
constexpr QLatin1String PcsWidth32 = latin1("Pcs_Width_32bit");
constexpr QLatin1String PcsWidth64 = latin1("Pcs_Width_64bit");
constexpr QLatin1String RefClkSource = latin1("Reference_CLK_Source");
constexpr QLatin1String RefClkFrequency = latin1("Reference_CLK_Frequency");
constexpr QLatin1String PllSelection = latin1("PLL_Selection");
constexpr QLatin1String LoopbackMode = latin1("Loopback_Mode");
// "JESD204B_Lane%1_connect_with", lane index 0 to 7.
constexpr QLatin1String LaneConnectTemplate = latin1("JESD204B_Lane%1_connect_with");
constexpr QLatin1String DifferentialSwing = latin1("DIFFERENTIAL_SWING");
constexpr QLatin1String FfeMode = latin1("FFEMODE");
constexpr QLatin1String FfeCm = latin1("FFE_CM");
constexpr QLatin1String FfeC1 = latin1("FFE_C1");
constexpr QLatin1String FfeC0 = latin1("FFE_C0");
constexpr QLatin1String SdThreshold = latin1("SD_THRESHOLD");
constexpr QLatin1String EqualizationMode = latin1("Equalization_Mode");
constexpr QLatin1String Att = latin1("ATT");
constexpr QLatin1String Boost = latin1("BOOST");
constexpr QLatin1String DrpPorts = latin1("DRP_Ports");

// Written by accept after the others.
constexpr QLatin1String ChangedAllOfBias = latin1("ifChangedAllOfBias");

} // namespace Key

// Keys of the host SERDES model's global data that the core reads and writes.
namespace GlobalKey {
constexpr QLatin1String Q0Bias = latin1("Q0_BIAS");
constexpr QLatin1String Q1Bias = latin1("Q1_BIAS");
constexpr QLatin1String DrpRecordPrefix = latin1("jesd204bCheckDRP_");
} // namespace GlobalKey

// Values assumed for keys that a stored set lacks. The dialog applies them when it opens a
// stored set; the generation form of the lane options uses the front-end ones.
namespace Absent {
constexpr QLatin1String SynthesisTool = latin1("");
constexpr int Lang = 0;
constexpr bool Receive = false;
constexpr bool Transmit = false;
constexpr bool Both = true;
constexpr QLatin1String NumberOfLanes = latin1("2");
constexpr QLatin1String LmfcBuffer = latin1("1024");
constexpr bool RpatGenerator = false;
constexpr bool JspatGenerator = false;
constexpr QLatin1String SysrefAlways = latin1("Always Off");
constexpr QLatin1String ScramblingOn = latin1("Scrambling OFF");
constexpr QLatin1String DefaultF = latin1("4");
constexpr QLatin1String DefaultK = latin1("32");
constexpr QLatin1String SysrefRequired = latin1("Not Required");
constexpr bool FixedConfigEnable = false;
constexpr QLatin1String ClockFrequency = latin1("10.0");
constexpr QLatin1String LineRate = latin1("4.9152");
constexpr bool PcsWidth32 = true;
constexpr bool PcsWidth64 = false;
constexpr QLatin1String RefClkSource = latin1("Q0 REFCLK0");
constexpr QLatin1String RefClkFrequency = latin1("122.88");
constexpr QLatin1String LoopbackMode = latin1("OFF");
constexpr QLatin1String DifferentialSwing = latin1("900mV");
constexpr QLatin1String FfeMode = latin1("Auto");
constexpr int FfeCm = 0;
constexpr int FfeC1 = 0;
constexpr QLatin1String FfeC0 = latin1("40");
constexpr QLatin1String SdThreshold = latin1("100mV");
constexpr QLatin1String EqualizationMode = latin1("Auto");
constexpr int Att = 7;
constexpr int Boost = 9;
constexpr bool DrpPorts = false;
} // namespace Absent

// Every key that has an absent value above, with that value as the variant the dialog would
// have stored. Keys without one ("PLL_Selection", the lane-connect keys, "ifChangedAllOfBias")
// are not listed.
const IPSERDESIP::ParameterMap &absentValues();
// The stored value, or the absent value when the set lacks the key (an invalid variant for
// keys without one).
QVariant valueOrAbsent(const IPSERDESIP::ParameterMap &params, const QString &key);

constexpr QLatin1String ParameterVersion = latin1("1.0");
constexpr int MaxLanes = 8;

} // namespace IPJESD204B
