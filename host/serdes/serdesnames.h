#pragma once

#include <QString>

// The textual forms of lanes, PLLs and reference clock sources the serdes model accepts.
namespace IPSERDESIP {
namespace Names {

enum Direction { NoDirection = 0, RxDirection = 1, TxDirection = 2, BothDirections = 3 };

// A lane as any of its names gives it: "Q0_LANE1", "Q0_Lane1", "Q0 Lane1", optionally with
// "_RX" or "_TX" (which narrows the directions), or the option prefix "q0_ln1".
struct LaneRef
{
    int quad = -1;
    int lane = -1;
    int directions = NoDirection;
    bool isValid() const { return quad >= 0 && lane >= 0; }
    int index() const { return quad * 4 + lane; }
};

LaneRef parseLane(const QString &name);
QString laneName(int quad, int lane);                // "Q0_LANE1", the model's key
QString laneAlias(int quad, int lane);               // "Q0_Lane1", the dialog's key
QString lanePrefix(int quad, int lane);              // "q0_ln1"
QString laneLine(int quad, int lane, int direction); // "Q0_LANE1_RX" / "_TX"

// PLL kinds as line sources and option values name them.
enum class PllKind { None, Qpll0, Qpll1, Cpll };
QString pllKindName(PllKind kind);            // "QPLL0", "QPLL1", "CPLL"
PllKind pllKindFromText(const QString &text); // "QPLL0", "qpll0", "CPLL", "cpll"

// A PLL resource: "Q0_QPLL1" (lane -1) or "Q1_CPLL2".
struct PllRef
{
    int quad = -1;
    int lane = -1;
    PllKind kind = PllKind::None;
    bool isValid() const { return quad >= 0 && kind != PllKind::None; }
};

PllRef parsePll(const QString &name);
QString pllName(int quad, PllKind kind, int lane = -1);

// Reference clock sources: "Q0_REFCLK0".."Q0_REFCLK3", "Q0_REFIN", "Q0_REFIN0".."Q0_REFIN3"
// and "MCLK"; display names ("Q0 REFCLK0") are accepted too.
struct RefRef
{
    enum Kind { Invalid, RefClk, RefIn, Mclk };
    Kind kind = Invalid;
    int quad = -1; // -1 for MCLK
    bool isValid() const { return kind != Invalid; }
};

RefRef parseRefSource(const QString &name);
// The model's name of a source given in either form; empty when it names no source.
QString refSourceName(const QString &name);
// The source an option line's name sets ("q0_refclk0_freq", "q0_gpio_freq", "mclk_freq");
// empty when the name is no reference clock frequency option.
QString refSourceFromOption(const QString &optionName);

// Protocol instances are named "file:module"; the module is what follows the last colon (the
// whole name when there is none). Two instances of one module name clash in the design.
QString moduleOfInstance(const QString &instanceName);
// Whether a global data key is a record kept under the module's name ("..._<module>"), the
// instance's own rather than a setting it shares with the design.
bool isRecordOf(const QString &key, const QString &module);

// A reference clock (MHz) as a configuration line holds it: six significant digits, the
// value a core's SERDES is configured with. Text that is no number stays as it is.
QString configuredClock(const QString &megahertz);

} // namespace Names
} // namespace IPSERDESIP
