#include "rollsign/filelist.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The extensions of the faces, each with its dot, lower case.
const QLatin1StringView FaceExtensions[] = {
    QLatin1StringView(".bmp"),
    QLatin1StringView(".wmf"),
    QLatin1StringView(".emf"),
    QLatin1StringView(".gif"),
    QLatin1StringView(".jpg"),
    QLatin1StringView(".jpeg"),
};

fs::path toFsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return fs::path(path.toStdWString());
#else
    return fs::path(QFile::encodeName(path).toStdString());
#endif
}

QString fromFsName(const fs::path &name)
{
#ifdef Q_OS_WIN
    return QString::fromStdWString(name.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(name.native()));
#endif
}

bool isHidden(const QString &name, const fs::path &fullPath)
{
    if (name.startsWith(QLatin1Char('.'))) {
        return true;
    }
#ifdef Q_OS_LINUX
    Q_UNUSED(fullPath);
    return false;
#else
    // Windows and macOS also mark hidden files with an attribute or flag.
    return QFileInfo(fromFsName(fullPath)).isHidden();
#endif
}

// Why listing failed, from the system's error.
FileList::Failure listingFailure(const std::error_code &error)
{
    // A text that names a file, or a path through one, names no folder either: the system says
    // "not a directory" where a folder was looked for.
    const bool notFound = error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
    return {notFound ? FileList::Status::NotFound : FileList::Status::Failed, QString::fromLocal8Bit(error.message())};
}

} // namespace

bool FileList::matchesPattern(const QString &fileName)
{
    return std::any_of(std::begin(FaceExtensions), std::end(FaceExtensions), [&fileName](QLatin1StringView extension) {
        return fileName.size() > extension.size() && fileName.endsWith(extension, Qt::CaseInsensitive);
    });
}

QString FileList::name(int index) const
{
    return index >= 0 && index < m_names.size() ? m_names.at(index) : QString();
}

FileList::SetPathResult FileList::setPath(const QString &folder)
{
    if (folder.isEmpty()) {
        m_path.clear();
        m_names.clear();
        return 0;
    }
    // A NUL would cut the path short and list some other folder.
    if (folder.contains(QChar(0))) {
        return failure(listingFailure(std::make_error_code(std::errc::invalid_argument)));
    }

    std::error_code error;
    fs::directory_iterator it(toFsPath(folder), error);
    if (error) {
        return failure(listingFailure(error));
    }

    // Each name is folded once, so sorting a large folder compares plain texts.
    struct Entry
    {
        QString folded;
        QString name;
    };
    std::vector<Entry> entries;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error) {
            return failure(listingFailure(error));
        }
        const fs::directory_entry &entry = *it;
        const QString name = fromFsName(entry.path().filename());
        if (!matchesPattern(name)) {
            continue;
        }
        std::error_code typeError;
        if (!entry.is_regular_file(typeError) || isHidden(name, entry.path())) {
            continue;
        }
        entries.push_back({name.toCaseFolded(), name});
    }
    if (error) {
        return failure(listingFailure(error));
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        const int order = a.folded.compare(b.folded);
        return order != 0 ? order < 0 : a.name < b.name;
    });

    QStringList names;
    names.reserve(qsizetype(entries.size()));
    for (Entry &entry : entries) {
        names.append(std::move(entry.name));
    }
    m_path = folder;
    m_names = std::move(names);
    return count();
}
