#include "shell/writingmessage.h"

#include "shell/redtext.h"

#include <QVBoxLayout>

namespace tolvan::shell {

WritingMessage::WritingMessage(QWidget* parent) : OwnerClosedDialog(parent) {
    setWindowTitle(QStringLiteral("読み込み／書き込み"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeRedText(QStringLiteral("USBに接続した子機のデータの読み込み、書き込み中のため\n"
                                                 "絶対にUSBケーブルを抜かないでください。"),
                                  this));
}

} // namespace tolvan::shell
