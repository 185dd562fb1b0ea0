#include "common/logfile/filereason.h"

namespace tolvan::logfile {

QString fileReason(QFileDevice::FileError error) {
    switch (error) {
    case QFileDevice::NoError:
        return {};
    case QFileDevice::ReadError:
        return QStringLiteral("ファイルを読み込めません");
    case QFileDevice::OpenError:
        return QStringLiteral("ファイルを開けません");
    case QFileDevice::PermissionsError:
        return QStringLiteral("アクセスが拒否されました");
    case QFileDevice::RenameError:
    case QFileDevice::CopyError:
        return QStringLiteral("ファイルを置き換えられません");
    case QFileDevice::RemoveError:
        return QStringLiteral("ファイルを削除できません");
    case QFileDevice::ResourceError:
        return QStringLiteral("ディスクの空き容量が足りません");
    default:
        return QStringLiteral("ファイルに書き込めません");
    }
}

QString fileReason(const std::error_code& error) {
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
        error == std::errc::read_only_file_system) {
        return QStringLiteral("アクセスが拒否されました");
    }
    if (error == std::errc::no_space_on_device) {
        return QStringLiteral("ディスクの空き容量が足りません");
    }
    if (error == std::errc::no_such_file_or_directory) {
        return QStringLiteral("ファイルまたはフォルダがありません");
    }
    if (error == std::errc::is_a_directory) {
        return QStringLiteral("同じ名前のフォルダがあります");
    }
    return QStringLiteral("ファイルを置き換えられません");
}

} // namespace tolvan::logfile
