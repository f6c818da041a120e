#include "modulesymbol.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace Utils {

namespace {

constexpr int margin = 6;
constexpr int stubLength = 16;
constexpr int padding = 5;
constexpr int columnGap = 12;
constexpr int minimumBoxWidth = 120;

bool isOutput(const PinFigure &pin)
{
    return pin.side() == 1;
}

QFont titleFont(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace

struct ModuleSymbol::Metrics
{
    int pitch = 0;
    int titleHeight = 0;
    int boxWidth = 0;
    int boxHeight = 0;
    int leftColumn = 0; // label widths inside the box
    int rightColumn = 0;
    QVector<int> rows; // per pin: its row on its own side
};

ModuleSymbol::ModuleSymbol(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("moduleSymbol"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    // Pin names are many and long; a slightly smaller face keeps the symbol beside the tabs.
    QFont small = font();
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.85);
    else
        small.setPixelSize(std::max(8, small.pixelSize() * 85 / 100));
    setFont(small);
}

void ModuleSymbol::setPins(const PinFigureList &pins)
{
    m_pins = pins;
    updateGeometry();
    update();
}

void ModuleSymbol::setModuleName(const QString &name)
{
    m_moduleName = name;
    updateGeometry();
    update();
}

ModuleSymbol::Metrics ModuleSymbol::metrics() const
{
    const QFontMetrics fm(font());
    Metrics m;
    m.pitch = fm.height() + 4;
    m.titleHeight = QFontMetrics(titleFont(font())).height() + 6;

    int inputs = 0;
    int outputs = 0;
    m.rows.reserve(m_pins.size());
    for (const PinFigure &pin : m_pins) {
        const int width = fm.horizontalAdvance(pin.label());
        if (isOutput(pin)) {
            m.rows.append(outputs++);
            m.rightColumn = std::max(m.rightColumn, width);
        } else {
            m.rows.append(inputs++);
            m.leftColumn = std::max(m.leftColumn, width);
        }
    }
    const int titleWidth = QFontMetrics(titleFont(font())).horizontalAdvance(m_moduleName);
    const int labels = m.leftColumn + m.rightColumn + 2 * padding + columnGap;
    m.boxWidth = std::max({labels, titleWidth + 2 * padding, minimumBoxWidth});
    // Room the title or the minimum width adds goes to both columns alike.
    const int extra = m.boxWidth - labels;
    m.leftColumn += extra / 2;
    m.rightColumn += extra - extra / 2;
    m.boxHeight = std::max({inputs, outputs, 1}) * m.pitch + 2 * padding;
    return m;
}

QSize ModuleSymbol::sizeHint() const
{
    const Metrics m = metrics();
    return {2 * (margin + stubLength) + m.boxWidth, 2 * margin + m.titleHeight + m.boxHeight};
}

QSize ModuleSymbol::minimumSizeHint() const
{
    return sizeHint();
}

QRect ModuleSymbol::boxRect(const Metrics &m) const
{
    // Centred when the widget is wider than the symbol needs.
    const int needed = 2 * (margin + stubLength) + m.boxWidth;
    const int left = std::max(0, (width() - needed) / 2) + margin + stubLength;
    return {left, margin + m.titleHeight, m.boxWidth, m.boxHeight};
}

QRect ModuleSymbol::boxRect() const
{
    return boxRect(metrics());
}

QLineF ModuleSymbol::pinLine(int index, const Metrics &m, const QRect &box) const
{
    const qreal y = box.top() + padding + m.rows.at(index) * m.pitch + m.pitch / 2;
    if (isOutput(m_pins.at(index)))
        return {qreal(box.right() + 1), y, qreal(box.right() + 1 + stubLength), y};
    return {qreal(box.left() - stubLength), y, qreal(box.left()), y};
}

QLineF ModuleSymbol::pinLine(int index) const
{
    if (index < 0 || index >= m_pins.size())
        return {};
    const Metrics m = metrics();
    return pinLine(index, m, boxRect(m));
}

void ModuleSymbol::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const Metrics m = metrics();
    const QRect box = boxRect(m);
    const QColor ink = palette().color(QPalette::WindowText);

    p.setFont(titleFont(font()));
    p.setPen(ink);
    p.drawText(QRect(box.left(), margin, box.width(), m.titleHeight), Qt::AlignCenter,
               m_moduleName);

    p.setPen(QPen(ink, 1));
    p.setBrush(palette().color(QPalette::Base));
    p.drawRect(box);

    p.setFont(font());
    for (int i = 0; i < m_pins.size(); ++i) {
        const PinFigure &pin = m_pins.at(i);
        const QLineF stub = pinLine(i, m, box);
        p.setPen(QPen(ink, pin.isBus() ? busPenWidth : 1, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(stub);

        const int width = isOutput(pin) ? m.rightColumn : m.leftColumn;
        const int x =
            isOutput(pin) ? box.left() + box.width() - padding - width : box.left() + padding;
        const QRect text(x, int(stub.y1()) - m.pitch / 2, width, m.pitch);
        Qt::Alignment align = pin.alignment() & Qt::AlignHorizontal_Mask;
        if (!align)
            align = isOutput(pin) ? Qt::AlignRight : Qt::AlignLeft;
        p.setPen(ink);
        p.drawText(text, int(align | Qt::AlignVCenter), pin.label());
    }
}

} // namespace Utils

namespace Utils {

PinFigure::PinFigure(const QString &label, int side, bool bus, Qt::Alignment alignment)
    : m_label(label), m_side(side), m_bus(bus), m_alignment(alignment)
{}

bool PinFigure::operator==(const PinFigure &other) const
{
    return m_label == other.m_label && m_side == other.m_side && m_bus == other.m_bus &&
           m_alignment == other.m_alignment;
}

} // namespace Utils
