#pragma once

#include "jesd204bdlg.h"

#include <design/designfile.h>
#include <devicedb.h>
#include <idecore.h>
#include <parametermap.h>
#include <serdes.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Device ids of the host's device database: group A, group B, and a two-quad device.
inline const QString groupADevice = QStringLiteral("TQ2M1-BG256");
inline const QString groupBDevice = QStringLiteral("TQ2S1-FG324");
inline const QString twoQuadDevice = QStringLiteral("TQ2H4-FF676");

// The expected entries that `actual` lacks or holds with another value or type, one per line.
inline QString mismatches(const IPSERDESIP::ParameterMap &actual,
                          const IPSERDESIP::ParameterMap &expected)
{
    QStringList out;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QVariant value = actual.value(it.key());
        if (value.userType() != it.value().userType() || value != it.value())
            out << it.key() + ": " + value.toString() + " (" + value.typeName() + ")";
    }
    return out.join('\n');
}

// A configuration dialog on a fresh SERDES model of the given device, with a scratch project
// directory and, if a design file is named, the design loaded: prepared for a new core, or left
// for open() to prepare for a stored one.
class OpenDialog
{
public:
    enum class Start { NewCore, Unprepared };

    explicit OpenDialog(const QString &deviceId = twoQuadDevice, Start start = Start::NewCore,
                        const QString &designFile = QString())
        : m_device(Core::IdeCore::deviceDataBase()->findDevice(deviceId))
    {
        IPSERDESIP::serdes::instance()->reset();
        IPSERDESIP::serdes::instance()->setDevice(m_device);
        QString error;
        if (!designFile.isEmpty() && !IPSERDESIP::DesignFile::load(designFile, &error))
            qFatal("%s", qPrintable(error));
        Core::IdeCore::setProjectDirectory(m_project.path());
        const IPSERDESIP::ParameterMap ipInfo{{"ipcore.id", "jesd204b"},
                                              {"ipcore.name", "JESD204B"},
                                              {"ipcore.label", "JESD204B Link Core"}};
        m_dialog = std::make_unique<IPJESD204B::jesd204bdlg>(ipInfo, &m_parameters, nullptr);
        if (start == Start::NewCore)
            m_dialog->setCreating(QStringLiteral("jesd204b_0"), m_device);
    }

    // Runs the host's opening of a stored core, with "version" "1.0" unless given.
    bool open(IPSERDESIP::ParameterMap stored)
    {
        stored.insert(QStringLiteral("target_device"), m_device.id());
        if (!stored.contains(QStringLiteral("version")))
            stored.insert(QStringLiteral("version"), QStringLiteral("1.0"));
        return m_dialog->setOpening(stored);
    }

    IPJESD204B::jesd204bdlg *dialog() const { return m_dialog.get(); }
    IPSERDESIP::ParameterMap &parameters() { return m_parameters; }
    QString projectDir() const { return m_project.path(); }

    template <class W> W *widget(const QString &name, const QObject *root = nullptr) const
    {
        W *found = (root ? root : m_dialog.get())->findChild<W *>(name);
        if (!found)
            qFatal("No widget %s", qPrintable(name));
        return found;
    }
    // Names such as "label" recur in several forms: look in one form ("afe_config", ...).
    template <class W> W *inForm(const QString &form, const QString &name) const
    {
        return widget<W>(name, widget<QWidget>(QStringLiteral("IPJESD204B__") + form));
    }
    QComboBox *combo(const QString &name) const { return widget<QComboBox>(name); }
    QComboBox *laneBox(int row) const { return combo(QStringLiteral("Lane%1Connect").arg(row)); }
    static QStringList items(const QComboBox *box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }

    // Sets widgets from "name=value", as a user would: selects the combo box item with that
    // text (none if there is no such item), ticks a button ("1") or not, sets a spin box, or
    // enters a line edit's text and leaves the field. "name+=keys" types into a line edit.
    void set(const QStringList &assignments) const
    {
        for (const QString &assignment : assignments) {
            const QString value = assignment.section('=', 1);
            QWidget *target = widget<QWidget>(assignment.section('=', 0, 0).remove('+'));
            auto *line = qobject_cast<QLineEdit *>(target);
            if (assignment.contains(QLatin1String("+="))) {
                line->clear();
                QTest::keyClicks(line, value);
            } else if (auto *box = qobject_cast<QComboBox *>(target)) {
                box->setCurrentIndex(box->findText(value));
            } else if (auto *button = qobject_cast<QAbstractButton *>(target)) {
                button->setChecked(value == QLatin1String("1"));
            } else if (auto *spin = qobject_cast<QSpinBox *>(target)) {
                spin->setValue(value.toInt());
            } else if (line) {
                line->setText(value);
                emit line->editingFinished();
            }
        }
    }
    // The expected states that do not hold. Keys name a widget property ("defaultF.text",
    // "afe_config/label.enabled", "groupBoxRx.hidden" for an explicitly hidden widget), the
    // dialog's "usedLanes" or "biasDecision", or a written parameter ("@LMFC_Buffer").
    QString unmet(const IPSERDESIP::ParameterMap &expected) const
    {
        IPSERDESIP::ParameterMap actual;
        for (const QString &key : expected.keys()) {
            const QString name = key.section('.', 0, 0);
            const QString property = key.section('.', 1);
            if (key.startsWith('@')) {
                actual.insert(key, m_parameters.value(key.mid(1)));
            } else if (key == QLatin1String("usedLanes")) {
                actual.insert(key, m_dialog->usedLanes());
            } else if (key == QLatin1String("biasDecision")) {
                actual.insert(key, m_dialog->biasDecision());
            } else {
                QWidget *target = name.contains('/') ? inForm<QWidget>(name.section('/', 0, 0),
                                                                       name.section('/', 1))
                                                     : widget<QWidget>(name);
                actual.insert(key, property == QLatin1String("hidden")
                                       ? QVariant(target->isHidden())
                                       : target->property(qPrintable(property)));
            }
        }
        return mismatches(actual, expected);
    }

private:
    QTemporaryDir m_project;
    DEV::DeviceArg m_device;
    IPSERDESIP::ParameterMap m_parameters;
    std::unique_ptr<IPJESD204B::jesd204bdlg> m_dialog;
};
