#include "platform/makerlibrary.h"

#include "qsk3res/qsk3res.h"

#include <QDir>
#include <QFile>
#include <QLibrary>

#include <algorithm>

namespace {

// A home page address is short; anything longer is not one, and the limit keeps a library that
// forgot its terminating NUL from having us read without end.
constexpr qsizetype MaxAddressBytes = 8192;

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && !url.isRelative() && (url.scheme() == u"http" || url.scheme() == u"https")
        && !url.host().isEmpty();
}

// QLibrary puts the system's description of a failed load in its own words, "Cannot load library
// <file>: (<the system's description>)" in the language of Qt's texts; the system's part is taken
// out of them, or the whole is kept where it has another form.
QString systemsDescription(const QLibrary &library)
{
    const QString text = library.errorString();
    const QString lead = QLibrary::tr("Cannot load library %1: %2").arg(library.fileName(), QString());
    if (lead.isEmpty() || !text.startsWith(lead) || text.size() == lead.size()) {
        return text;
    }
    QString description = text.mid(lead.size());
    if (description.startsWith(u'(') && description.endsWith(u')')) {
        description = description.mid(1, description.size() - 2);
    }
    return description;
}

} // namespace

MakerLibrary::MakerLibrary(QString folder)
    : m_folder(std::move(folder))
{
}

MakerLibrary::~MakerLibrary() = default;

QString MakerLibrary::fileName()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("QSK3Res.dll");
#elif defined(Q_OS_DARWIN)
    return QStringLiteral("libQSK3Res.dylib");
#else
    return QStringLiteral("libQSK3Res.so");
#endif
}

QString MakerLibrary::filePath() const
{
    return QDir::cleanPath(m_folder + QLatin1Char('/') + fileName());
}

QString MakerLibrary::cannotLoad(const QString &systemsDescription) const
{
    return tr("ライブラリ %1 を読み込めません: %2").arg(QDir::toNativeSeparators(filePath()), systemsDescription);
}

QString MakerLibrary::missingFunction(const QString &name) const
{
    return tr("%1 に関数 %2 が見つかりません。").arg(QDir::toNativeSeparators(filePath()), name);
}

Result<QUrl> MakerLibrary::homePage()
{
    if (m_folder.isEmpty() || QDir::isRelativePath(m_folder)) {
        return failure(tr("%1 を読み込めません: フォルダー「%2」が絶対パスではありません。")
                           .arg(fileName(), QDir::toNativeSeparators(m_folder)));
    }
    if (!m_library) {
        // A missing file is described by the system's own words for it: QLibrary would report
        // the last of the other names it tried in the folder instead.
        QFile file(filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            return failure(cannotLoad(file.errorString()));
        }
        file.close();
        auto library = std::make_unique<QLibrary>(filePath());
        if (!library->load()) {
            return failure(cannotLoad(systemsDescription(*library)));
        }
        m_library = std::move(library);
    }

    // QLibrary gives no description of a missing function, so we write our own.
    const auto getAddress = reinterpret_cast<RovandaHpURLFunction>(m_library->resolve("RovandaHpURL"));
    if (!getAddress) {
        return failure(missingFunction(QStringLiteral("RovandaHpURL")));
    }
    const auto freeString = reinterpret_cast<RovandaFreeStringFunction>(m_library->resolve("RovandaFreeString"));
    if (!freeString) {
        return failure(missingFunction(QStringLiteral("RovandaFreeString")));
    }

    char *const raw = getAddress();
    if (!raw) {
        return failure(tr("RovandaHpURL がアドレスを返しませんでした。"));
    }
    const auto length = qsizetype(qstrnlen(raw, std::size_t(MaxAddressBytes) + 1));
    const QString text = QString::fromUtf8(raw, std::min(length, MaxAddressBytes));
    freeString(raw);
    if (length > MaxAddressBytes) {
        return failure(tr("RovandaHpURL の返したアドレスが長すぎます。"));
    }

    const QUrl url(text, QUrl::StrictMode);
    if (!isWebAddress(url)) {
        return failure(tr("RovandaHpURL の返した「%1」はウェブのアドレス（http または https）ではありません。")
                           .arg(text.left(200)));
    }
    return url;
}
