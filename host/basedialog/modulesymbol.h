#pragma once

#include "pinfigure.h"

#include <QLineF>
#include <QRect>
#include <QWidget>

namespace Utils {

// Schematic symbol of a module: a box titled with the module name, inputs on the left,
// outputs on the right, each side stacked in list order. Bus pins get a thicker stub.
class ModuleSymbol : public QWidget
{
    Q_OBJECT

public:
    explicit ModuleSymbol(QWidget *parent = nullptr);

    void setPins(const PinFigureList &pins);
    PinFigureList pins() const { return m_pins; }
    void setModuleName(const QString &name);
    QString moduleName() const { return m_moduleName; }

    // Geometry at the current size, as painted: the box and each pin's stub (list order).
    QRect boxRect() const;
    QLineF pinLine(int index) const;
    static constexpr int busPenWidth = 3;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Metrics;
    Metrics metrics() const;
    QRect boxRect(const Metrics &m) const;
    QLineF pinLine(int index, const Metrics &m, const QRect &box) const;

    PinFigureList m_pins;
    QString m_moduleName;
};

} // namespace Utils
