#pragma once

#include <QFile>
#include <QString>
#include <QTest>

// A file kept with the tests, by its path below the tests' source folder:
// fixture("metafile/data/red52x32.emf").
inline QString fixture(const char *relative)
{
    return QStringLiteral(TESTS_SOURCE_DIR "/") + QLatin1String(relative);
}

// A file's bytes, or "<missing>" where it cannot be read, so that a comparison shows why.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Writes `bytes` as the whole file at `path`; fails the test where it cannot.
inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}
