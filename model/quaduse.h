#pragma once

#include "nametables.h"

#include <QStringList>

namespace IPJESD204B {

// Which quads a list of lane display names touches, by the quad table's display prefixes.
struct QuadUse
{
    bool quad0 = false;
    bool quad1 = false;

    static QuadUse of(const QStringList &lanes)
    {
        QuadUse use;
        for (const QString &lane : lanes) {
            if (const auto quad = NameTables::quadByPrefix(lane))
                (quad->quad == 0 ? use.quad0 : use.quad1) = true;
        }
        return use;
    }
};

} // namespace IPJESD204B
