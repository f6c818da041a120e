#include "dialogsnapshot.h"

#include <pinfigure.h>
#include <protocolgendlg.h>
#include <services/safefile.h>

#include <QAbstractButton>
#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>

namespace HostProgram {

namespace {

QJsonObject describeWidget(const QWidget *widget, const QWidget *page)
{
    QJsonObject entry{
        {QStringLiteral("class"), QString::fromLatin1(widget->metaObject()->className())},
        {QStringLiteral("enabled"), widget->isEnabled()},
        // Visible whenever its tab is shown: hidden rows and groups count as hidden.
        {QStringLiteral("visible"), widget->isVisibleTo(page)},
    };
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        entry.insert(QStringLiteral("text"), label->text());
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        entry.insert(QStringLiteral("text"), button->text());
        if (button->isCheckable())
            entry.insert(QStringLiteral("checked"), button->isChecked());
    } else if (const auto *group = qobject_cast<const QGroupBox *>(widget)) {
        entry.insert(QStringLiteral("text"), group->title());
        if (group->isCheckable())
            entry.insert(QStringLiteral("checked"), group->isChecked());
    } else if (const auto *edit = qobject_cast<const QLineEdit *>(widget)) {
        entry.insert(QStringLiteral("text"), edit->text());
    } else if (const auto *spin = qobject_cast<const QSpinBox *>(widget)) {
        entry.insert(QStringLiteral("value"), spin->value());
    } else if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
        entry.insert(QStringLiteral("currentText"), combo->currentText());
        entry.insert(QStringLiteral("currentIndex"), combo->currentIndex());
        QJsonArray items;
        QJsonArray data;
        bool anyData = false;
        for (int i = 0; i < combo->count(); ++i) {
            items.append(combo->itemText(i));
            const QVariant value = combo->itemData(i);
            anyData = anyData || value.isValid();
            data.append(QJsonValue::fromVariant(value));
        }
        entry.insert(QStringLiteral("items"), items);
        if (anyData)
            entry.insert(QStringLiteral("itemData"), data);
    }
    return entry;
}

QJsonObject describePage(const QWidget *page)
{
    QJsonObject widgets;
    const QList<QWidget *> children = page->findChildren<QWidget *>();
    for (const QWidget *child : children) {
        const QString name = child->objectName();
        // Qt names the parts of composite widgets "qt_..."; they are no form widgets.
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        widgets.insert(name, describeWidget(child, page));
    }
    return widgets;
}

QJsonArray describePins(const QList<Utils::PinFigure> &pins)
{
    QJsonArray out;
    for (const Utils::PinFigure &pin : pins) {
        out.append(QJsonObject{{QStringLiteral("label"), pin.label()},
                               {QStringLiteral("side"), pin.side()},
                               {QStringLiteral("bus"), pin.isBus()},
                               {QStringLiteral("alignment"), int(pin.alignment())}});
    }
    return out;
}

QString imageName(int index, const QString &title)
{
    QString slug = title.toLower();
    slug.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
    slug.remove(QRegularExpression(QStringLiteral("^-+|-+$")));
    return QStringLiteral("tab%1-%2.png").arg(index + 1).arg(slug);
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

QJsonObject describeDialog(IPSERDESIP::protocolGenDlg *dialog)
{
    QJsonObject root{
        {QStringLiteral("class"), QString::fromLatin1(dialog->metaObject()->className())},
        {QStringLiteral("windowTitle"), dialog->windowTitle()},
        {QStringLiteral("labelText"), dialog->labelText()},
        {QStringLiteral("fileName"), dialog->fileName()},
        {QStringLiteral("moduleName"), dialog->moduleName()},
        {QStringLiteral("device"), dialog->device().id()},
        {QStringLiteral("figurePins"), describePins(dialog->figurePins())},
    };
    QJsonArray tabs;
    if (const QTabWidget *tabWidget = dialog->tabWidget()) {
        for (int i = 0; i < tabWidget->count(); ++i) {
            const QWidget *page = tabWidget->widget(i);
            tabs.append(QJsonObject{{QStringLiteral("title"), tabWidget->tabText(i)},
                                    {QStringLiteral("form"), page->objectName()},
                                    {QStringLiteral("widgets"), describePage(page)}});
        }
    }
    root.insert(QStringLiteral("tabs"), tabs);
    return root;
}

bool writeDialogSnapshot(IPSERDESIP::protocolGenDlg *dialog, const QString &dir, QString *error)
{
    if (!QDir().mkpath(dir))
        return fail(error, QStringLiteral("%1: cannot create the directory").arg(dir));
    const QDir out(dir);
    // The pictures and the description are committed together: all of a snapshot, or none.
    HostFiles::WriteBatch batch;
    const auto stage = [&batch, &dir, error](const QString &name, const QByteArray &bytes) {
        QString reason;
        if (batch.stage(HostFiles::Target{dir, name}, bytes, &reason))
            return true;
        return fail(error,
                    QStringLiteral("%1: cannot write: %2").arg(QDir(dir).filePath(name), reason));
    };

    // Described before the tabs are switched for the pictures, as the dialog opened.
    QJsonObject root = describeDialog(dialog);
    QJsonArray tabs = root.value(QStringLiteral("tabs")).toArray();
    QTabWidget *tabWidget = dialog->tabWidget();
    const int shown = tabWidget ? tabWidget->currentIndex() : -1;
    for (int i = 0; i < tabs.size(); ++i) {
        tabWidget->setCurrentIndex(i);
        QCoreApplication::sendPostedEvents();
        const QString name = imageName(i, tabWidget->tabText(i));
        QBuffer image;
        image.open(QIODevice::WriteOnly);
        if (!dialog->grab().save(&image, "PNG"))
            return fail(error,
                        QStringLiteral("%1: cannot encode the image").arg(out.filePath(name)));
        if (!stage(name, image.data()))
            return false;
        QJsonObject tab = tabs.at(i).toObject();
        tab.insert(QStringLiteral("image"), name);
        tabs.replace(i, tab);
    }
    if (tabWidget)
        tabWidget->setCurrentIndex(shown);
    root.insert(QStringLiteral("tabs"), tabs);

    if (!stage(QStringLiteral("dialog.json"), QJsonDocument(root).toJson(QJsonDocument::Indented)))
        return false;
    QString reason;
    if (!batch.commit(&reason))
        return fail(error, QStringLiteral("%1: cannot write: %2").arg(dir, reason));
    return true;
}

} // namespace HostProgram
