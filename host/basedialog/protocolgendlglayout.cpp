#include "protocolgendlgprivate.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPixmapCache>
#include <QVBoxLayout>

namespace IPSERDESIP {

// Every dialog shows it twice (window and header); the cache spares reading the resource again.
QPixmap protocolGenDlg::Private::moduleImage()
{
    const QString path = QStringLiteral(":/image/module.png");
    QPixmap image;
    if (!QPixmapCache::find(path, &image) && image.load(path))
        QPixmapCache::insert(path, image);
    return image;
}

QHBoxLayout *protocolGenDlg::Private::buildHeader(QWidget *dialog, const QPixmap &image)
{
    auto *header = new QHBoxLayout;
    auto *icon = new QLabel(dialog);
    icon->setPixmap(image);
    label = new QLabel(dialog);
    label->setObjectName(QStringLiteral("labelText"));
    label->setWordWrap(true);
    QFont headerFont = label->font();
    headerFont.setBold(true);
    headerFont.setPointSizeF(headerFont.pointSizeF() * 1.25);
    label->setFont(headerFont);
    header->addWidget(icon);
    header->addWidget(label, 1);
    return header;
}

void protocolGenDlg::Private::buildSidePanel(QWidget *side)
{
    sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto *fields = new QFormLayout;
    fileEdit = new QLineEdit(side);
    fileEdit->setObjectName(QStringLiteral("fileNameEdit"));
    moduleEdit = new QLineEdit(side);
    moduleEdit->setObjectName(QStringLiteral("moduleNameEdit"));
    toolCombo = new QComboBox(side);
    toolCombo->setObjectName(QStringLiteral("synthesisToolCombo"));
    toolCombo->addItems(
        {QStringLiteral("Built-in synthesis"), QStringLiteral("External (netlist only)")});
    languageCombo = new QComboBox(side);
    languageCombo->setObjectName(QStringLiteral("languageCombo"));
    languageCombo->addItems({QStringLiteral("Verilog"), QStringLiteral("VHDL")});
    fields->addRow(protocolGenDlg::tr("File name:"), fileEdit);
    fields->addRow(protocolGenDlg::tr("Module name:"), moduleEdit);
    fields->addRow(protocolGenDlg::tr("Synthesis tool:"), toolCombo);
    fields->addRow(protocolGenDlg::tr("Language:"), languageCombo);
    sideLayout->addLayout(fields);

    sideLayout->addWidget(new QLabel(protocolGenDlg::tr("Module symbol:"), side));
}

} // namespace IPSERDESIP
