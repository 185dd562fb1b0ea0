#include "shell/replacequestion.h"

#include "shell/dialogservice.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tolvan::shell {

bool confirmReplacing(QWidget* parent, const QStringList& paths) {
    QStringList existing;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink()) {
            existing.append(info.fileName());
        }
    }
    if (existing.isEmpty()) {
        return true;
    }
    MessageRequest question;
    question.title = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    question.text = QStringLiteral("次のファイルは既に存在します。\n%1\n置き換えますか？")
                        .arg(existing.join(QLatin1Char('\n')));
    question.buttons = QMessageBox::Yes | QMessageBox::No;
    question.defaultButton = QMessageBox::No;
    return DialogService::current().message(parent, question) == QMessageBox::Yes;
}

} // namespace tolvan::shell
