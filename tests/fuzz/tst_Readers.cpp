// Every reader of files from outside the program against damaged and unusual
// files (tests/support/Fuzzing.h): each case is read whole, giving back what
// was written, or refused with a message; never a crash, a hang or a
// sanitizer report. The same cases run by the hundred thousand with
// bench_fuzz.
#include "support/Fuzzing.h"
#include "support/TTestEnvironment.h"

namespace {

constexpr quint32 kSeed = 20261208;
// Per case: a case that takes this long hangs (the slowest take well under a
// second, even under the sanitizers on a busy machine).
constexpr int kLimitMs = 30000;

} // namespace

class TestReaders : public QObject
{
    Q_OBJECT

    void Check(const QString& reader, int count)
    {
        QTemporaryDir folder(Fuzz::ScratchTemplate());
        QVERIFY(folder.isValid());
        const Fuzz::TReport report = Fuzz::Run(reader, count, kSeed, folder.path(), kLimitMs);
        qInfo("%s", qUtf8Printable(report.Summary()));
        QVERIFY2(report.failures.isEmpty(), qUtf8Printable(report.failures.join(u'\n')));
        QCOMPARE(report.cases, count);
        // Damaged files still mostly read: the readers take what they can.
        // Only a Paradox table that does not add up is refused, and both
        // ways out must be taken, or the cases miss half of what they are for.
        QVERIFY(report.read > count / 10);
        if (reader == QStringLiteral("paradox"))
            QVERIFY(report.refused > count / 10);
    }

private slots:
    // Named as Fuzz::Readers() names them: tests/CMakeLists.txt runs each
    // as a test of its own.
    void paradox() { Check(QStringLiteral("paradox"), 3000); }
    void plant() { Check(QStringLiteral("plant"), 2000); }
    void goz() { Check(QStringLiteral("goz"), 3000); }
    void settings() { Check(QStringLiteral("settings"), 2000); }
    void engine() { Check(QStringLiteral("engine"), 2000); }
};

KANMURI_TEST_MAIN(TestReaders)
#include "tst_Readers.moc"
