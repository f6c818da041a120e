#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

// Expected shape of the four configuration forms, written from their layout descriptions.
namespace FormTables {

// A widget and where it sits. For box layouts `row` is the index and `column` is -1.
struct WidgetCell
{
    QString name;
    QString className;
    QString text; // label/button text or group box title; null when the widget has none
    QString layout;
    int row;
    int column;
    int rowSpan;
    int columnSpan;
};

// A layout, the widget it is installed on or the layout it is nested in, and its size.
struct LayoutShape
{
    QString name;
    QString className;
    QString owner;
    int indexInOwner; // -1 when installed on a widget
    int itemCount;
    int rows; // grid layouts only, else 0
    int columns;
};

struct SpacerCell
{
    QString layout;
    int row;
    int column; // -1 for box layouts
    int rowSpan;
    int columnSpan;
    int width;
    int height;
    bool vertical;
};

struct PropertyValue
{
    QString name;
    QString property;
    QVariant value;
};

struct Form
{
    QString key; // core, phy, afe, opt
    QString rootName;
    QString context;
    QVector<WidgetCell> widgets;
    QVector<LayoutShape> layouts;
    QVector<SpacerCell> spacers;
    QVector<PropertyValue> properties;
};

const QVector<Form> &forms();

} // namespace FormTables
