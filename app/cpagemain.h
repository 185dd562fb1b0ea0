#pragma once

#include <QString>
#include <QWidget>

#include <array>

namespace tolvan::app {

// One page of the mode explanation sheet, named by the class that showed it in the original
// design (CPageMainDset, CPageMainTest, CPageMainLog, CPageMainPsEnt, CPageMainDs).
struct ExplanationPage {
    const char* key;
    const char* title;
    const char* text;
};

// The five pages in the sheet's order.
const std::array<ExplanationPage, 5>& explanationPages();

// A page of the mode explanation sheet: its tab title and its explanation text.
class CPageMain : public QWidget {
    Q_OBJECT
public:
    explicit CPageMain(const ExplanationPage& page, QWidget* parent = nullptr);

    const QString& key() const { return m_key; }
    const QString& title() const { return m_title; }
    const QString& text() const { return m_text; }

private:
    QString m_key;
    QString m_title;
    QString m_text;
};

} // namespace tolvan::app
