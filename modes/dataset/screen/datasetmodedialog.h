#pragma once

#include "modes/dataset/model/datasetoperations.h"
#include "modes/dataset/model/datasetscreenvalues.h"
#include "modes/dataset/model/systemparamimage.h"

#include "shell/logfilescreen.h"
#include "shell/modedescriptor.h"

#include <cstdint>

class QLineEdit;
class QPushButton;

namespace tolvan::dataset {

class DataSetForm;

// The data setting screen ("データ設定モード"): shows the system parameter image, reads it from
// the handset (script 0), writes the screen back (script 1) and saves, opens and prints log file 1.
// Its view state is also the link's operation id while it is open.
class DataSetModeDialog : public shell::LogFileScreen {
    Q_OBJECT
public:
    static constexpr std::uint32_t kReadPending = op::kReadPending;
    static constexpr std::uint32_t kDataShown = op::kDataShown;
    static constexpr std::uint32_t kNoData = op::kNoData;
    static constexpr std::uint32_t kUnplugged = op::kUnplugged;

    // The screen shows the system parameter view of the context's handset store.
    explicit DataSetModeDialog(shell::ModeContext& context, QWidget* parent = nullptr);

    // The main menu's "データ設定モード".
    static shell::ModeDescriptor descriptor();

    // The pair between the screen and what it shows.
    void loadScreen(const DataSetScreenValues& values);
    DataSetScreenValues screenValues() const;

    // "ﾃﾞｰﾀ読み込み", "ﾃﾞｰﾀ書き込み" and the file menu.
    void read();
    void write();
    void openFile() override;
    void saveFile() override;
    void printReport() override;

    DataSetForm* form() const { return m_form; }
    QPushButton* readButton() const { return m_read; }
    QPushButton* writeButton() const { return m_write; }

protected:
    void operationAborted() override;
    void handsetRemoved() override;
    void handsetReconnected() override;

private:
    void buildWindow();
    // Run when the screen opens and after every read or write.
    void initialise();
    void applyViewState();
    void runRead(bool reconnect);
    std::uint32_t modelCode();

    DataSetForm* m_form = nullptr;
    QPushButton* m_read = nullptr;
    QPushButton* m_write = nullptr;
};

} // namespace tolvan::dataset
