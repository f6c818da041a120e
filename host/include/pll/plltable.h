#pragma once

#include "hostexport.h"
#include <pll/ratio.h>

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVector>

namespace IPSERDESIP {

// One PLL type of the SERDES as data: its dividers, VCO band and rate formula
//   VCO = f_ref x N1 x N2 / M,   line rate = rateFactor x VCO / D
// A quad PLL has N only (N2 fixed at 1, factor 1); the per-lane CPLL has N1, N2 and factor 2.
struct IPSERDESHOST_EXPORT PllLimits
{
    QString name;         // "QPLL0", "QPLL1", "CPLL"
    bool perLane = false; // one per lane (CPLL) rather than one per quad
    int rateFactor = 1;
    QVector<int> n1; // N of a quad PLL
    QVector<int> n2; // {1} for a quad PLL
    QVector<int> m;
    QVector<int> d;
    Ratio vcoMin; // GHz
    Ratio vcoMax;
    Ratio refMin; // MHz: the reference clock input
    Ratio refMax;
    Ratio pfdMin; // MHz: the phase detector, clock / M
    Ratio pfdMax;
    Ratio lineRateMin; // Gbps: what a lane carries; invalid: no bound
    Ratio lineRateMax;

    bool admitsVco(const Ratio &vco) const { return vcoMin <= vco && vco <= vcoMax; }
    bool admitsRefClock(const Ratio &fref) const { return refMin <= fref && fref <= refMax; }
    bool admitsPfd(const Ratio &fref, int m) const;
    bool admitsLineRate(const Ratio &rate) const
    {
        return (!lineRateMin.isValid() || lineRateMin <= rate) &&
               (!lineRateMax.isValid() || rate <= lineRateMax);
    }
    QString bandText() const;    // "8.0-13.0 GHz"
    QString refText() const;     // "40-820 MHz"
    QString pfdText() const;     // "20-410 MHz"
    QString dividerText() const; // "D in {1, 2, 4, 8, 16}"
};

// The PLL types of the device: the built-in table, optionally adjusted by a design.
class IPSERDESHOST_EXPORT PllTable
{
public:
    // The table shipped with the host (":/serdes/plltable.json").
    static const PllTable &builtin();

    // Reads a complete table; false with *error naming the entry.
    static bool fromJson(const QJsonObject &json, PllTable *table, QString *error);
    // Changes the named fields of the named PLLs ("N", "N1", "N2", "M", "D", "vcoGHz",
    // "refClockMHz", "pfdMHz", "lineRateGbps");
    // leaves the table unchanged and explains in *error when an entry is wrong.
    bool applyOverrides(const QJsonObject &overrides, QString *error);

    const PllLimits *limits(const QString &name) const;
    QStringList names() const { return m_limits.keys(); }

private:
    QMap<QString, PllLimits> m_limits;
};

} // namespace IPSERDESIP
