#include "common/logfolderlist.h"

#include <QDir>
#include <QFileInfo>

namespace tolvan {

LogFolderList::LogFolderList(const LogFolders& folders, SessionTexts& texts)
    : m_folders(folders), m_texts(texts) {}

bool LogFolderList::refill(std::uint32_t modelCode) {
    if (m_folders.modelFolder(modelCode).isEmpty()) {
        return false;
    }
    m_names = m_folders.subFolders(modelCode);
    if (m_texts.logFolderName() == QLatin1String("\t")) {
        m_texts.setLogFolderName(QString());
    }
    return true;
}

Message LogFolderList::refusedMessage(const QString& boxText) {
    return errorMessage(QStringLiteral("フォルダ名「%1」は使えません。\n"
                                       "フォルダ名に / \\ : * ? \" < > | と制御文字は使えません。\n"
                                       "ログは機種のフォルダに保存します。")
                            .arg(boxText));
}

LogFolderList::TakeOver LogFolderList::takeOver(const QString& boxText, std::uint32_t modelCode) {
    if (boxText.isEmpty()) {
        m_texts.setLogFolderName(QString());
        return TakeOver::Empty;
    }
    if (!LogFolders::isValidFolderName(boxText)) {
        m_texts.setLogFolderName(QString());
        return TakeOver::Rejected;
    }
    m_texts.setLogFolderName(boxText);
    if (m_names.contains(boxText)) {
        return TakeOver::Listed;
    }
    const QString path = m_folders.logPath(modelCode, boxText);
    if (path.isEmpty() || !(QFileInfo(path).isDir() || QDir().mkdir(path))) {
        return TakeOver::CreateFailed;
    }
    if (m_names.size() >= kMaxLogFolders) {
        return TakeOver::Unlisted;
    }
    m_names.append(boxText);
    return TakeOver::Added;
}

} // namespace tolvan
