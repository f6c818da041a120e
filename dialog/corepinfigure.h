#pragma once

#include <pinfigure.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace IPJESD204B {

class core_config;
class phy_config;
class opt_config;

// The pin figure of the core's ports: the few widget values it is drawn from, and holds that
// keep it while several of them change in a row.
class CorePinFigure
{
public:
    struct Inputs
    {
        bool transmit = false;
        bool receive = false;
        bool drp = false;
        int lanes = 0;
        int widthFactor = 1; // 2 for a 64-bit PCS
        QString pll;
        QStringList quadsInUse; // option prefixes, "q0" first
        bool operator==(const Inputs &other) const;
    };
    using Read = std::function<Inputs()>;
    using Draw = std::function<void(const QList<Utils::PinFigure> &)>;

    CorePinFigure(Read read, Draw draw);

    // Draws the figure unless a hold keeps it or the inputs are those it was last drawn from.
    void refresh();

    // While one is alive, refresh() leaves the figure alone; the last one to go refreshes it.
    class Hold
    {
    public:
        explicit Hold(CorePinFigure &figure);
        ~Hold();
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        CorePinFigure &m_figure;
    };

    static Inputs read(const core_config &core, const phy_config &phy, const opt_config &opt,
                       const QStringList &usedLanes);
    // Transmit ports, receive ports, the common ones, the quad PLL lock flags, the DRP port.
    static QList<Utils::PinFigure> pins(const Inputs &inputs);

private:
    Read m_read;
    Draw m_draw;
    Inputs m_drawn;
    bool m_isDrawn = false;
    int m_holds = 0;
};

} // namespace IPJESD204B
