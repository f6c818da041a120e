#pragma once

#include <QString>
#include <QStringList>

namespace HostProgram {

// Holds the messages the host's sink receives while it lives, instead of printing them, so
// that a command can end in one line that says why. Captures do not nest.
class ReportCapture
{
public:
    ReportCapture();
    ~ReportCapture();
    ReportCapture(const ReportCapture &) = delete;
    ReportCapture &operator=(const ReportCapture &) = delete;

    // The text of the first message ("Cannot write ...: reason"), without its title.
    QString first() const { return m_texts.value(0); }
    bool isEmpty() const { return m_texts.isEmpty(); }

private:
    QStringList m_texts;
};

} // namespace HostProgram
