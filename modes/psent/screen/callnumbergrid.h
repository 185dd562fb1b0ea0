#pragma once

#include "modes/psent/model/psentscreenvalues.h"

#include <QWidget>

#include <array>

class QLineEdit;

namespace tolvan::psent {

// "[個別通話子機番号登録]": the 48 individual-call number boxes "０１" ... "４８", row by row, each
// keeping only what a call number may hold while it is typed.
class CallNumberGrid : public QWidget {
    Q_OBJECT
public:
    using Numbers = std::array<QString, PsEntScreenValues::kCallNumbers>;

    CallNumberGrid(int columns, QWidget* parent = nullptr);

    void load(const Numbers& numbers);
    Numbers numbers() const;
    QLineEdit* box(int slot) const { return m_boxes.at(static_cast<std::size_t>(slot)); }

    // "０１" ... "４８": a slot number as two full-width digits.
    static QString slotCaption(int number);

private:
    void edited(int slot);

    std::array<QLineEdit*, PsEntScreenValues::kCallNumbers> m_boxes{};
};

} // namespace tolvan::psent
