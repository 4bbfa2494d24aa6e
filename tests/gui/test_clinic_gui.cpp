// SPDX-License-Identifier: GPL-3.0-or-later
// The windows with a clinic server: the test's own PostgreSQL server, stopped
// and started again where a desk loses it.
#include "../archive/archive_samples.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "archive/ArchiveAccess.h"
#include "archive/ArchiveOptionsDialog.h"
#include "archive/NightListModel.h"
#include "archive/RecordingsWindow.h"
#include "archive/ServerArchive.h"
#include "model/RecordStore.h"
#include "pg_server.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "test_env.h"
#include "test_files.h"
#include "texts/ArchiveTexts.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

NightInput input(int id)
{
    NightInput n;
    n.readings = archivetest::night(id, 0, 300);
    n.patient.idNumber = std::uint8_t(id);
    n.source = NightSource::Download;
    return n;
}

// A fresh database on the process's server; empty when there is none.
QString freshDatabase()
{
    pgtest::PgServer &pg = pgtest::server();
    return pg.ok() ? pg.createDatabase() : QString();
}

QString testOutcome(ArchiveOptionsDialog &dialog, const QString &connection)
{
    dialog.withServer()->setChecked(true);
    dialog.connection()->setText(connection);
    QSignalSpy finished(&dialog, &ArchiveOptionsDialog::testFinished);
    dialog.testButton()->click();
    EXPECT_TRUE(finished.wait(30000));
    return dialog.outcome()->text();
}

} // namespace

TEST(ClinicGui, ArchiveOptionsTestTheServerAndStoreNoPassword)
{
    pgtest::PgServer &pg = pgtest::server();
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty()) << pg.error().toStdString();
    {
        ArchiveOptionsDialog dialog;
        EXPECT_TRUE(dialog.thisComputer()->isChecked());
        EXPECT_EQ(testOutcome(dialog, pg.connection(db)),
                  QStringLiteral("Connected: this account may read and change the nights."));
        ASSERT_TRUE(pg.createReadOnlyRole(db, QStringLiteral("physician"))) << pg.error().toStdString();
        EXPECT_EQ(testOutcome(dialog, pg.connection(db, QStringLiteral("physician"))),
                  QStringLiteral("Connected: this account may only read the nights."));
        EXPECT_TRUE(testOutcome(dialog, QStringLiteral("host=%1/none dbname=%2").arg(pg.folder(), db))
                        .startsWith(QStringLiteral("Cannot read the archive")));

        dialog.connection()->setText(pg.connection(db) + QStringLiteral(" password=s3cret"));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << "stays open";
        EXPECT_TRUE(dialog.outcome()->text().contains(QStringLiteral(".pgpass")));
        EXPECT_EQ(Settings().archiveMode(), Settings::ArchiveMode::ThisComputer);
        EXPECT_EQ(Settings().archiveServer(), QString());

        dialog.connection()->setText(pg.connection(db));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Settings().clinicServer(), pg.connection(db));
    Settings().setArchiveMode(Settings::ArchiveMode::ThisComputer);
}

TEST(ClinicGui, RecordingsSayWhoseNightsTheyShowAndFallBackWhenTheServerGoes)
{
    pgtest::PgServer &pg = pgtest::server();
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty()) << pg.error().toStdString();
    QTemporaryDir dir(testenv::root() + QStringLiteral("/desk-XXXXXX"));
    ArchiveAccess access(dir.filePath(QStringLiteral("archive.sqlite")), pg.connection(db));
    QString error;
    ASSERT_TRUE(access.store({input(1)}, &error)) << error.toStdString();
    ScriptedPrompts prompts;
    RecordingsWindow window(access, prompts);
    const auto shows = [&](const QString &text) { return window.sourceLabel()->text().contains(text); };
    EXPECT_TRUE(shows(ArchiveTexts::listedFrom(true))) << window.sourceLabel()->text().toStdString();
    EXPECT_EQ(window.model()->rowCount(), 1);

    ASSERT_TRUE(pg.stop()) << pg.error().toStdString();
    ASSERT_TRUE(access.store({input(2)}, &error)) << error.toStdString();
    window.reload();
    EXPECT_TRUE(shows(ArchiveTexts::listedFrom(false))) << window.sourceLabel()->text().toStdString();
    EXPECT_TRUE(shows(QStringLiteral("cannot be reached")));
    EXPECT_TRUE(shows(ArchiveTexts::notOnServer(1)));
    EXPECT_EQ(window.model()->rowCount(), 2) << "this computer's nights, the one kept here too";
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(QLatin1Char('\n')).toStdString();

    ASSERT_TRUE(pg.start()) << pg.error().toStdString();
    ASSERT_TRUE(access.sync(&error)) << error.toStdString();
    window.reload();
    EXPECT_TRUE(shows(ArchiveTexts::listedFrom(true))) << window.sourceLabel()->text().toStdString();
    EXPECT_FALSE(shows(ArchiveTexts::notOnServer(1)));
    EXPECT_EQ(window.model()->rowCount(), 2);
}

TEST(ClinicGui, AReadOnlyAccountLeavesOnlyListingOpeningAndExporting)
{
    pgtest::PgServer &pg = pgtest::server();
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty()) << pg.error().toStdString();
    {
        ArchiveResult<std::unique_ptr<ServerArchive>> writer = ServerArchive::open(pg.connection(db));
        ASSERT_TRUE(writer) << writer.detail().toStdString();
        ASSERT_TRUE(writer.value()->store({input(1)}));
    }
    ASSERT_TRUE(pg.createReadOnlyRole(db, QStringLiteral("physician"))) << pg.error().toStdString();
    const QString physician = pg.connection(db, QStringLiteral("physician"));

    ArchiveAccess access(testenv::root() + QStringLiteral("/physician.sqlite"), physician);
    ScriptedPrompts prompts;
    RecordingsWindow window(access, prompts);
    ASSERT_EQ(window.model()->rowCount(), 1);
    window.table()->selectRow(0);
    EXPECT_TRUE(window.sourceLabel()->text().contains(ArchiveTexts::readOnlyAccount()));
    int seen = 0;
    for (QPushButton *b : window.findChildren<QPushButton *>()) {
        const bool changes = b->text() == QStringLiteral("Delete") || b->text() == QStringLiteral("Undo") ||
                             b->text() == QStringLiteral("Patient details...");
        const bool reads = b->text() == QStringLiteral("Open") || b->text() == QStringLiteral("Export selected...");
        if (changes || reads) {
            EXPECT_EQ(b->isEnabled(), reads) << b->text().toStdString();
        }
        seen += changes || reads ? 1 : 0;
    }
    EXPECT_EQ(seen, 5);

    // The main window: importing is off, and marking says why.
    Settings().setArchiveServer(physician);
    Settings().setArchiveMode(Settings::ArchiveMode::ClinicServer);
    RecordStore store;
    MainWindow frame(store, prompts, 1033);
    QSignalSpy settled(frame.action(CommandId::ImportIntoArchive), &QAction::changed);
    ASSERT_TRUE(settled.wait(30000));
    EXPECT_FALSE(frame.action(CommandId::ImportIntoArchive)->isEnabled());
    Settings().setArchiveMode(Settings::ArchiveMode::ThisComputer);
}

TEST(ClinicGui, AnotherDesksNightReachesARunningWindow)
{
    pgtest::PgServer &pg = pgtest::server();
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty()) << pg.error().toStdString();
    QTemporaryDir dir(testenv::root() + QStringLiteral("/desks-XXXXXX"));
    ArchiveAccess access(dir.filePath(QStringLiteral("here.sqlite")), pg.connection(db));
    int heard = 0;
    access.setChangedElsewhere([&heard] { ++heard; });
    QString error;
    ASSERT_TRUE(access.list(&error)) << error.toStdString();

    // Another program stores a night on the server: the archive's thread hears it.
    ArchiveAccess other(dir.filePath(QStringLiteral("there.sqlite")), pg.connection(db));
    ASSERT_TRUE(other.store({input(3)}, &error)) << error.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&heard] { return heard > 0; }, 10000));
    const std::optional<std::vector<NightInfo>> listed = access.list(&error);
    ASSERT_TRUE(listed) << error.toStdString();
    EXPECT_EQ(listed->size(), 1u);
}

TEST(ClinicGui, APasswordIsAskedWhenTheServerWantsOneAndKeptForTheSessionOnly)
{
    pgtest::PgServer &pg = pgtest::server();
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty()) << pg.error().toStdString();
    ASSERT_TRUE(pg.createPasswordRole(QStringLiteral("nurse"), QStringLiteral("n1ght-shift")))
        << pg.error().toStdString();
    QTemporaryDir dir(testenv::root() + QStringLiteral("/nurse-XXXXXX"));
    ArchiveAccess access(dir.filePath(QStringLiteral("archive.sqlite")), pg.connection(db, QStringLiteral("nurse")));
    int asked = 0;
    access.setPasswordPrompt([&asked]() -> std::optional<QString> {
        ++asked;
        return QStringLiteral("n1ght-shift");
    });
    QString error;
    ASSERT_TRUE(access.store({input(4)}, &error)) << error.toStdString();
    ASSERT_TRUE(access.list(&error)) << error.toStdString();
    EXPECT_EQ(asked, 1);
    const ArchiveAccess::ServerState state = access.serverState();
    EXPECT_TRUE(state.connected) << state.away.toStdString();
    EXPECT_EQ(state.pending, 0) << "the night reached the server once the password was given";
    Settings().setArchiveServer(pg.connection(db, QStringLiteral("nurse")));
    EXPECT_FALSE(testfiles::fileBytes(SettingsFile::path(QStringLiteral("setup"))).contains("n1ght-shift"));
}

TEST(ClinicGui, ARefusedPasswordIsAskedAgainAtTheNextServerUse)
{
    pgtest::PgServer &pg = pgtest::server();
    ASSERT_TRUE(pg.ok()) << pg.error().toStdString();
    ASSERT_TRUE(pg.createPasswordRole(QStringLiteral("clerk"), QStringLiteral("d4y-shift")))
        << pg.error().toStdString();
    struct Case {
        const char *second; // the answer after a wrong one; null: Cancel
        bool connected;
        int pending;
    };
    for (const Case &c : {Case{"d4y-shift", true, 0}, Case{nullptr, false, 1}}) {
        SCOPED_TRACE(c.second ? "right password" : "cancelled");
        QTemporaryDir dir(testenv::root() + QStringLiteral("/clerk-XXXXXX"));
        ArchiveAccess access(dir.filePath(QStringLiteral("archive.sqlite")),
                             pg.connection(pg.createDatabase(), QStringLiteral("clerk")));
        std::vector<std::optional<QString>> answers{
            QStringLiteral("wrong"), c.second ? std::optional(QString::fromLatin1(c.second)) : std::nullopt};
        std::size_t asked = 0;
        access.setPasswordPrompt(
            [&]() -> std::optional<QString> { return asked < answers.size() ? answers[asked++] : std::nullopt; });
        QString error;
        ASSERT_TRUE(access.store({input(6)}, &error)) << error.toStdString();
        EXPECT_EQ(asked, 1u);
        // The next use asks again; Cancel leaves this computer's archive in use.
        ASSERT_TRUE(access.list(&error)) << error.toStdString();
        EXPECT_EQ(asked, 2u);
        EXPECT_EQ(bool(access.sync(&error)), c.connected) << error.toStdString();
        const ArchiveAccess::ServerState state = access.serverState();
        EXPECT_EQ(state.connected, c.connected) << state.away.toStdString();
        EXPECT_EQ(state.pending, c.pending);
        const std::optional<std::vector<NightInfo>> listed = access.list(&error);
        ASSERT_TRUE(listed) << error.toStdString();
        EXPECT_EQ(listed->size(), 1u);
        EXPECT_EQ(asked, 2u);
    }
}
