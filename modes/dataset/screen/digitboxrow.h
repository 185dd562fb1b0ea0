#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QLineEdit;

namespace tolvan::dataset {

// A row of one-digit boxes (PS-ID, system call code, version). With a limit the row follows the
// entry rule: digits only, a box that takes the row past the limit is emptied, and the focus moves
// on to the next box once a box holds a digit.
class DigitBoxRow : public QWidget {
    Q_OBJECT
public:
    DigitBoxRow(int boxes, std::optional<std::uint32_t> limit, QWidget* parent = nullptr);

    int size() const { return static_cast<int>(m_boxes.size()); }
    QLineEdit* box(int index) const { return m_boxes.at(static_cast<std::size_t>(index)); }

    // Texts as loaded: a box may hold whatever a file put there, only typing is restricted.
    void setTexts(std::span<const QString> texts);
    template <std::size_t N> std::array<QString, N> texts() const {
        std::array<QString, N> out;
        for (std::size_t i = 0; i < N && i < m_boxes.size(); ++i) {
            out[i] = boxText(i);
        }
        return out;
    }
    void clear();
    void setBoxesEnabled(bool enabled);
    // Each box is named by the row's label and its position.
    void nameAfter(const QString& labelText);

private:
    QString boxText(std::size_t index) const;
    void boxChanged(int index);

    std::vector<QLineEdit*> m_boxes;
    std::optional<std::uint32_t> m_limit;
};

} // namespace tolvan::dataset
