#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tolvan {

// Model codes as the handset reports them (the link layer has the same values).
inline constexpr std::uint32_t kLogModelVa100 = 2;
inline constexpr std::uint32_t kLogModelVa150 = 3;
inline constexpr std::uint32_t kLogModelVa150C = 4;

// The folder box never lists more than this many sub-folders.
inline constexpr qsizetype kMaxLogFolders = 255;

// The per-model log folders below the folder that stands for drive C.
class LogFolders {
public:
    explicit LogFolders(QString root);

    // An explicit root (tolvan-cli --log-root) wins, then TOLVAN_LOG_ROOT, then the home
    // directory (c:\ on Windows).
    static QString resolveRoot(const QString& explicitRoot = {});

    const QString& root() const { return m_root; }

    // Empty for a model code other than 2, 3 or 4.
    static QString modelFolderName(std::uint32_t modelCode);
    QString modelFolder(std::uint32_t modelCode) const;

    // Creates the three model folders (ZX-VA150, ZX-VA150(C), ZX-VA100 in that order), leaving
    // existing ones alone. False if any of them is missing afterwards.
    bool createModelFolders() const;

    // Sub-folders the technician may pick, in the file system's order, at most kMaxLogFolders:
    // plain directories (no links) that are marked writable and that the user can write, whose
    // names do not start with a dot. The Unix reading of "no attribute but the directory bit".
    QStringList subFolders(std::uint32_t modelCode) const;

    // The model folder, followed by the name when there is one; empty for an unknown model.
    QString logPath(std::uint32_t modelCode, const QString& name) const;

    // A name whose file name part has no dot gets the extension (".jv1") appended first.
    static QString withDefaultExtension(const QString& name, const QString& extension);
    // Whether a file or folder of that name (extension rule above) exists.
    static bool fileExists(const QString& name, const QString& extension);

    // A folder name typed into the folder box must stay one level below the model folder.
    static bool isValidFolderName(const QString& name);

private:
    QString m_root;
};

} // namespace tolvan
