#pragma once

#include "hostexport.h"

#include <QList>
#include <QString>
#include <Qt>

namespace Utils {

// One pin of a module symbol: side 0 is an input (left), side 1 an output (right).
class IPSERDESHOST_EXPORT PinFigure
{
public:
    PinFigure() = default;
    PinFigure(const QString &label, int side, bool bus, Qt::Alignment alignment);

    QString label() const { return m_label; }
    int side() const { return m_side; }
    bool isBus() const { return m_bus; }
    Qt::Alignment alignment() const { return m_alignment; }

    bool operator==(const PinFigure &other) const;
    bool operator!=(const PinFigure &other) const { return !(*this == other); }

private:
    QString m_label;
    int m_side = 0;
    bool m_bus = false;
    Qt::Alignment m_alignment = Qt::AlignLeft;
};

using PinFigureList = QList<PinFigure>;

} // namespace Utils
