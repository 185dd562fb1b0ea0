#pragma once

#include <QString>
#include <QWidget>

namespace tolvan::shell {

// One page of the mode explanation sheet: its tab title and its explanation text.
class CPageMain : public QWidget {
    Q_OBJECT
public:
    const QString& title() const { return m_title; }
    const QString& text() const { return m_text; }

protected:
    CPageMain(const QString& title, const QString& text, QWidget* parent);

private:
    QString m_title;
    QString m_text;
};

} // namespace tolvan::shell
