#pragma once

#include <QStringList>

namespace IPJESD204B {

// Which quads a list of lane display names touches. A name counts for quad 0 when it begins
// with "Q0", else for quad 1 when it begins with "Q1".
struct QuadUse
{
    bool quad0 = false;
    bool quad1 = false;

    static QuadUse of(const QStringList &lanes)
    {
        QuadUse use;
        for (const QString &lane : lanes) {
            if (lane.startsWith(QLatin1String("Q0")))
                use.quad0 = true;
            else if (lane.startsWith(QLatin1String("Q1")))
                use.quad1 = true;
        }
        return use;
    }
};

} // namespace IPJESD204B
