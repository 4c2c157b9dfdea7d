#include "platform/qtopenfiledialog.h"

#include <QTest>

// QFileDialog reads only the space-separated patterns in brackets; a bare ';'-separated list
// would match no file.
class QtOpenFileDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void nameFilter_data();
    void nameFilter();
};

void QtOpenFileDialogTest::nameFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("pattern list") << "*.bmp;*.jpeg;*.gif;*.wmf;*.emf"
                                  << "*.bmp;*.jpeg;*.gif;*.wmf;*.emf (*.bmp *.jpeg *.gif *.wmf *.emf)";
    QTest::newRow("one pattern") << "*"
                                 << "* (*)";
    QTest::newRow("described") << "All files (*)"
                               << "All files (*)";
}

void QtOpenFileDialogTest::nameFilter()
{
    QFETCH(QString, filter);
    QTEST(qtNameFilter(filter), "qt");
}

QTEST_GUILESS_MAIN(QtOpenFileDialogTest)
#include "qtopenfiledialog_test.moc"
