#pragma once

#include "coreheaders.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace LinkSim {

// A link parameter the testbench writes to the cores' registers: its option name, the
// testbench define (TB_<define>) and its range.
struct LinkField
{
    const char *option;
    const char *define;
    int min;
    int max;
    const char *help;
};

// Every link parameter the command offers, F, K and scrambling first.
const std::vector<LinkField> &linkFields();

enum class TestPattern { None = 0, Rpat = 1, Jspat = 2 };

struct RunSettings
{
    int frames = 256;
    int laneSkew = 0;
    int resyncs = 0;
    int injectLane = -1;    // none
    int rbd = 0;            // release point: frame clocks after the LMFC boundary, 0..K-1
    int delayVariation = 0; // octets the common channel delay may grow at each re-sync
    int txDeviceId = -1;    // DID the transmitting side sends instead of the receiver's; -1 none
    TestPattern pattern = TestPattern::None;
    QMap<QString, int> overrides; // by define name, from the command line
    bool dumpLanes = false;
    bool vcd = false;
    bool samples = false; // through the transport modules, every sample checked
};

// The link parameters the headers do not fix, chosen to agree with F and L:
// F = M * S * N' / (8 * L) with N = N' = 16 (8 when F * L is odd), S = 1 doubled until
// M <= 256, HD = 1 when a sample spans lanes (N' > 8 * F), CS = CF = 0, DID = BID = 0.
QMap<QString, int> defaultLinkParams(int f, int lanes);

// Every link parameter of the run by define name: the headers' F, K and scrambling (a fixed
// configuration keeps them), then the defaults, then the overrides.
QMap<QString, int> effectiveLinkParams(const CoreShape &shape, const QMap<QString, int> &overrides);

// Why the model cannot run this configuration; empty when it can.
QString checkRun(const CoreShape &shape, const RunSettings &settings);

// The testbench configuration (tb_config.vh). The lane dump goes to lanes.txt and the
// waveform to wave.vcd in the simulator's working folder.
QStringList testbenchConfig(const CoreShape &shape, const RunSettings &settings);

inline QString laneDumpName()
{
    return QStringLiteral("lanes.txt");
}
inline QString waveformName()
{
    return QStringLiteral("wave.vcd");
}

} // namespace LinkSim
