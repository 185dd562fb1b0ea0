#include "alreadyrunning.h"

#include <QMessageBox>
#include <QTimer>
#include <cstdio>

QString launcherInstanceName() {
    return QStringLiteral("ZX-VAｼﾘｰｽﾞ子機設定ｿﾌﾄｳｪｱ LAUNCHER");
}

void showAlreadyRunning(bool dismissAtOnce) {
    QMessageBox box(QMessageBox::Critical, launcherInstanceName(),
                    QStringLiteral("ZX-VAｼﾘｰｽﾞ子機設定ｿﾌﾄｳｪｱ LAUNCHER\n"
                                   "同一アプリケーションの多重起動はできません。\n"
                                   "同時に2つ以上のアプリケーションは起動できません。\n"
                                   "\n"
                                   "終了します。"),
                    QMessageBox::Ok);
    if (dismissAtOnce) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(box.windowTitle()), qUtf8Printable(box.text()));
        QTimer::singleShot(0, &box, &QMessageBox::accept);
    }
    box.exec();
}
