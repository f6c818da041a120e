#pragma once

#include <QLatin1String>
#include <QMap>
#include <QString>
#include <QVariant>

// Keys of the parameter set of one configured core, in the order the dialog writes them.
namespace IPJESD204B {
namespace Key {

// Identification and host keys.
constexpr QLatin1String TargetDevice("target_device");
constexpr QLatin1String Type("type");
constexpr QLatin1String Version("version");
constexpr QLatin1String SynthesisTool("Synthesis_tool");
constexpr QLatin1String Lang("LANG");
constexpr QLatin1String File("file");
constexpr QLatin1String Module("module");
constexpr QLatin1String RecordLanes("recordlanes");

// User parameters.
constexpr QLatin1String Receive("Receive");
constexpr QLatin1String Transmit("Transmit");
constexpr QLatin1String Both("Both_Receive_and_Transmit");
constexpr QLatin1String NumberOfLanes("Number_of_lanes");
constexpr QLatin1String LmfcBuffer("LMFC_Buffer");
constexpr QLatin1String RpatGenerator("Include_RPAT_Generator");
constexpr QLatin1String JspatGenerator("Include_JSPAT_Generator");
constexpr QLatin1String SysrefAlways("Default_SYSREF_Always");
constexpr QLatin1String ScramblingOn("Default_Scrambling_ON");
constexpr QLatin1String DefaultF("Default_F");
constexpr QLatin1String DefaultK("Default_K");
constexpr QLatin1String SysrefRequired("Default_SYSREF_Required_on_Re-Sync");
constexpr QLatin1String FixedConfigEnable("Fixed_Config_Enable");
constexpr QLatin1String ClockFrequency("Clock_Frequency");
constexpr QLatin1String LineRate("Line_Rate");
constexpr QLatin1String PcsWidth32("Pcs_Width_32bit");
constexpr QLatin1String PcsWidth64("Pcs_Width_64bit");
constexpr QLatin1String RefClkSource("Reference_CLK_Source");
constexpr QLatin1String RefClkFrequency("Reference_CLK_Frequency");
constexpr QLatin1String PllSelection("PLL_Selection");
constexpr QLatin1String LoopbackMode("Loopback_Mode");
// "JESD204B_Lane%1_connect_with", lane index 0 to 7.
constexpr QLatin1String LaneConnectTemplate("JESD204B_Lane%1_connect_with");
constexpr QLatin1String DifferentialSwing("DIFFERENTIAL_SWING");
constexpr QLatin1String FfeMode("FFEMODE");
constexpr QLatin1String FfeCm("FFE_CM");
constexpr QLatin1String FfeC1("FFE_C1");
constexpr QLatin1String FfeC0("FFE_C0");
constexpr QLatin1String SdThreshold("SD_THRESHOLD");
constexpr QLatin1String EqualizationMode("Equalization_Mode");
constexpr QLatin1String Att("ATT");
constexpr QLatin1String Boost("BOOST");
constexpr QLatin1String DrpPorts("DRP_Ports");

// Written by accept after the others.
constexpr QLatin1String ChangedAllOfBias("ifChangedAllOfBias");

} // namespace Key

// Keys of the host SERDES model's global data that the core reads and writes.
namespace GlobalKey {
constexpr QLatin1String Q0Bias("Q0_BIAS");
constexpr QLatin1String Q1Bias("Q1_BIAS");
constexpr QLatin1String DrpRecordPrefix("jesd204bCheckDRP_");
} // namespace GlobalKey

// Values assumed for keys that a stored set lacks. The dialog applies them when it opens a
// stored set; the generation form of the lane options uses the front-end ones.
namespace Absent {
constexpr QLatin1String SynthesisTool("");
constexpr int Lang = 0;
constexpr bool Receive = false;
constexpr bool Transmit = false;
constexpr bool Both = true;
constexpr QLatin1String NumberOfLanes("2");
constexpr QLatin1String LmfcBuffer("1024");
constexpr bool RpatGenerator = false;
constexpr bool JspatGenerator = false;
constexpr QLatin1String SysrefAlways("Always Off");
constexpr QLatin1String ScramblingOn("Scrambling OFF");
constexpr QLatin1String DefaultF("4");
constexpr QLatin1String DefaultK("32");
constexpr QLatin1String SysrefRequired("Not Required");
constexpr bool FixedConfigEnable = false;
constexpr QLatin1String ClockFrequency("10.0");
constexpr QLatin1String LineRate("4.9152");
constexpr bool PcsWidth32 = true;
constexpr bool PcsWidth64 = false;
constexpr QLatin1String RefClkSource("Q0 REFCLK0");
constexpr QLatin1String RefClkFrequency("122.88");
constexpr QLatin1String LoopbackMode("OFF");
constexpr QLatin1String DifferentialSwing("900mV");
constexpr QLatin1String FfeMode("Auto");
constexpr int FfeCm = 0;
constexpr int FfeC1 = 0;
constexpr QLatin1String FfeC0("40");
constexpr QLatin1String SdThreshold("100mV");
constexpr QLatin1String EqualizationMode("Auto");
constexpr int Att = 7;
constexpr int Boost = 9;
constexpr bool DrpPorts = false;
} // namespace Absent

// Every key that has an absent value above, with that value as the variant the dialog would
// have stored. Keys without one ("PLL_Selection", the lane-connect keys, "ifChangedAllOfBias")
// are not listed.
const QMap<QString, QVariant> &absentValues();
// The stored value, or the absent value when the set lacks the key (an invalid variant for
// keys without one).
QVariant valueOrAbsent(const QMap<QString, QVariant> &params, const QString &key);

constexpr QLatin1String ParameterVersion("1.0");
constexpr int MaxLanes = 8;

} // namespace IPJESD204B
