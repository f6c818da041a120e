#pragma once

#include "hostexport.h"
#include <serdes/generatorresult.h>

#include <QString>
#include <QStringList>

namespace IPSERDESIP {

// The SERDES generator: reads option lines and the routes registered with the serdes model,
// solves every lane's PLL settings and writes a .csr record.
class IPSERDESHOST_EXPORT generator
{
public:
    generator();
    ~generator();
    generator(const generator &) = delete;
    generator &operator=(const generator &) = delete;

    // True when every lane's line rate can be made; false with reasons in getErrStringList().
    bool generate(const QStringList &options, const QString &csrPath, const QStringList &extra);
    QStringList getErrStringList() const { return m_errors; }
    // The solved settings of the last successful run, one readable line each.
    QStringList solvedSettings() const { return m_solved; }
    // The last run's verdict as data (generatorresult.h).
    GeneratorResult result() const { return m_result; }

private:
    QStringList m_errors;
    QStringList m_solved;
    GeneratorResult m_result;
};

} // namespace IPSERDESIP
