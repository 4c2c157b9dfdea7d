#pragma once

#include "core/result.h"

#include <QCoreApplication>
#include <QString>
#include <QUrl>

#include <memory>

class QLibrary;

// The maker's resource library QSK3Res, which knows the address of the maker's home page. It is
// loaded the first time the address is asked for, by its full path in one folder only (the
// program's own): asking the system to find a library by name would search the current folder and
// the library path, where a planted library could run its code inside the program. A failed load
// is tried again at the next request; a loaded library stays loaded for the rest of the run.
class MakerLibrary final
{
    Q_DECLARE_TR_FUNCTIONS(MakerLibrary)

public:
    // `folder` must be an absolute path: a relative one would be resolved against the current
    // folder, so it is refused when the address is asked for.
    explicit MakerLibrary(QString folder);
    ~MakerLibrary();
    Q_DISABLE_COPY_MOVE(MakerLibrary)

    // The library's file name under the platform's usual naming: QSK3Res.dll, libQSK3Res.so,
    // libQSK3Res.dylib.
    static QString fileName();
    // The full path the library is loaded from.
    QString filePath() const;

    // Loads the library if need be, calls its RovandaHpURL and checks that the text is an
    // absolute http or https address: other text (a file, a program, another scheme) is refused,
    // since it will be handed to the system's browser opener. A failure is described in the
    // system's words or ours.
    Result<QUrl> homePage();

private:
    // The failure to load the library, in our words around the system's description of it.
    QString cannotLoad(const QString &systemsDescription) const;
    QString missingFunction(const QString &name) const;

    QString m_folder;
    std::unique_ptr<QLibrary> m_library; // set once loaded
};
