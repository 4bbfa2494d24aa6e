// SPDX-License-Identifier: GPL-3.0-or-later
#include "PaintCounter.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "dialogs/PatientInfoDialog.h"
#include "dialogs/PatientInfoLogic.h"
#include "dialogs/ReportTitleLogic.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "test_env.h"
#include "test_samples.h"
#include "views/DataView.h"
#include "views/ReportHeader.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace
{

constexpr int kBritish = 0;
constexpr int kMetric = 1;

PatientRecord patient(int id, const char *name, float height, float weight, int unitSystem)
{
    PatientRecord p;
    p.idNumber = id;
    PatientRecord::setText(p.name, QString::fromUtf8(name));
    p.height = height;
    p.weight = weight;
    p.unitSystem = unitSystem;
    return p;
}

// Replaces the whole text of an edit by typing, as a user would.
void retype(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

TEST(PatientInfo, HeightAndWeightAreShownInTheUnitsOfTheSetting)
{
    struct Row {
        float height, weight;
        int recordSystem, setting;
        int shownHeight, shownWeight;
        const char *heightUnit, *weightUnit;
    };
    const Row rows[] = {
        {70, 154, kBritish, kMetric, 178, 70, "cm", "kg"}, // 177.8 cm, 69.9 kg
        {70, 150, kBritish, 5, 178, 68, "cm", "kg"},       // any non-zero setting is metric
        {180, 80, kMetric, kBritish, 71, 176, "in", "lb"},
        {180, 80, 3, kMetric, 180, 80, "cm", "kg"}, // both metric: as stored
        {70, 154, kBritish, kBritish, 70, 154, "in", "lb"},
        {75, 750, kBritish, kMetric, 190, 340, "cm", "kg"}, // ties 190.5 and 340.5 go to even
    };
    for (const Row &r : rows) {
        RecordStore store;
        store.currentPatient = patient(4, "Bo", r.height, r.weight, r.recordSystem);
        ScriptedPrompts prompts;
        PatientInfoDialog dialog(store, prompts, r.setting);
        EXPECT_EQ(dialog.edit(PatientField::Height)->text(), QString::number(r.shownHeight)) << r.height;
        EXPECT_EQ(dialog.edit(PatientField::Weight)->text(), QString::number(r.shownWeight)) << r.weight;
        EXPECT_EQ(dialog.heightUnitLabel()->text(), QLatin1String(r.heightUnit));
        EXPECT_EQ(dialog.weightUnitLabel()->text(), QLatin1String(r.weightUnit));
        // The page header shows the same whole numbers as the dialog.
        EXPECT_EQ(HeightText(r.height, r.recordSystem, r.setting),
                  QStringLiteral("%1 %2").arg(r.shownHeight).arg(QLatin1String(r.heightUnit)));
        EXPECT_EQ(WeightText(r.weight, r.recordSystem, r.setting),
                  QStringLiteral("%1 %2").arg(r.shownWeight).arg(QLatin1String(r.weightUnit)));
        EXPECT_TRUE(prompts.shown.isEmpty());
    }
}

TEST(PatientInfo, DialogOpensWithTheDetailsOfTheCurrentId)
{
    RecordStore store;
    store.currentPatient = patient(128, "Ines", 0, 0, kBritish);
    store.currentPatient.gender = 7; // any non-zero value is female
    store.currentPatient.age = 201;  // outside 1..200: shown as 0
    PatientRecord::setText(store.currentPatient.comments, QStringLiteral("snores"));
    ScriptedPrompts prompts;
    PatientInfoDialog dialog(store, prompts, kBritish);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit patient information"));
    EXPECT_EQ(dialog.idEdit()->text(), QStringLiteral("128"));
    EXPECT_TRUE(dialog.idEdit()->isReadOnly());
    EXPECT_EQ(dialog.genderBox()->currentText(), QStringLiteral("female"));
    EXPECT_EQ(dialog.genderBox()->itemText(0), QStringLiteral("male"));
    EXPECT_EQ(dialog.edit(PatientField::Age)->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.edit(PatientField::Name)->text(), QStringLiteral("Ines"));
    EXPECT_EQ(dialog.edit(PatientField::Comments)->text(), QStringLiteral("snores"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << "filling the dialog checks nothing";

    store.currentPatient.idNumber = 0;
    PatientInfoDialog noId(store, prompts, kBritish);
    EXPECT_TRUE(noId.idEdit()->text().isEmpty());
}

TEST(PatientInfo, NumberFieldsRefuseTooManyDigitsOrValuesOutOfScope)
{
    RecordStore store;
    store.currentPatient.idNumber = 2;
    ScriptedPrompts prompts;
    PatientInfoDialog dialog(store, prompts, kBritish);
    dialog.show();
    QLineEdit *age = dialog.edit(PatientField::Age);

    // The fourth digit of Age.
    retype(age, QStringLiteral("123"));
    EXPECT_EQ(age->text(), QStringLiteral("123"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    QTest::keyClicks(age, QStringLiteral("4"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("scope : 0 - 200,Please ReInput")});
    EXPECT_EQ(age->text(), QStringLiteral("0"));
    EXPECT_EQ(age->selectedText(), QStringLiteral("0"));
    EXPECT_EQ(dialog.focusWidget(), age);

    // Letters never get in; an emptied field becomes a selected "0".
    prompts.shown.clear();
    retype(age, QStringLiteral("4x"));
    EXPECT_EQ(age->text(), QStringLiteral("4"));
    QTest::keyClick(age, Qt::Key_Backspace);
    EXPECT_EQ(age->text(), QStringLiteral("0"));
    EXPECT_EQ(age->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(age, QStringLiteral("57"));
    EXPECT_EQ(age->text(), QStringLiteral("57")) << "the next digit replaces the 0";
    // Digits typed after an unselected 0 count with it: the fourth character is refused.
    age->setText(QStringLiteral("0"));
    age->end(false);
    QTest::keyClicks(age, QStringLiteral("12"));
    EXPECT_EQ(age->text(), QStringLiteral("012"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    QTest::keyClicks(age, QStringLiteral("0"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("scope : 0 - 200,Please ReInput")});
    EXPECT_EQ(age->text(), QStringLiteral("0"));
    EXPECT_EQ(age->selectedText(), QStringLiteral("0"));

    struct Bound {
        PatientField field;
        int setting;
        const char *ok, *refused, *message;
    };
    const Bound bounds[] = {
        {PatientField::Age, kMetric, "200", "201", "scope : 0 - 200,Please ReInput"},
        {PatientField::Height, kBritish, "157", "158", "scope : 0 - 157,Please ReInput"},
        {PatientField::Height, kMetric, "400", "401", "scope : 0 - 400,Please ReInput"},
        {PatientField::Height, kMetric, "399", "04000", "scope : 0 - 400,Please ReInput"},
        {PatientField::Weight, kBritish, "2203", "2204", "scope : 0 - 2203,Please ReInput"},
        {PatientField::Weight, kMetric, "1000", "1001", "scope : 0 - 1000,Please ReInput"},
        {PatientField::Weight, kMetric, "999", "001001", "scope : 0 - 1000,Please ReInput"},
        {PatientField::Age, kMetric, "020", "0200", "scope : 0 - 200,Please ReInput"},
        {PatientField::Height, kMetric, "0400", "00400", "scope : 0 - 400,Please ReInput"},
        {PatientField::Weight, kBritish, "02203", "002203", "scope : 0 - 2203,Please ReInput"},
    };
    for (const Bound &b : bounds) {
        ScriptedPrompts p;
        PatientInfoLogic logic(store, p, b.setting);
        EXPECT_FALSE(logic.checkChange(b.field, QLatin1String(b.ok))) << b.ok;
        const auto fixed = logic.checkChange(b.field, QLatin1String(b.refused));
        ASSERT_TRUE(fixed) << b.refused;
        EXPECT_EQ(fixed->text, QStringLiteral("0"));
        EXPECT_TRUE(fixed->selectAll);
        EXPECT_EQ(p.shown, QStringList{QLatin1String(b.message)}) << b.refused;
    }
}

TEST(PatientInfo, TextFieldsAreCutToTheirLimitWithItsMessage)
{
    RecordStore store;
    store.currentPatient.idNumber = 2;
    ScriptedPrompts prompts;
    PatientInfoDialog dialog(store, prompts, kBritish);
    dialog.show();

    // The 31st character of Name.
    QLineEdit *name = dialog.edit(PatientField::Name);
    const QString thirty = QStringLiteral("Maximilian Alexander Brandt-Ho");
    ASSERT_EQ(thirty.size(), 30);
    retype(name, thirty);
    EXPECT_TRUE(prompts.shown.isEmpty());
    QTest::keyClicks(name, QStringLiteral("z"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Field must be 30 or less characters in length!")});
    EXPECT_EQ(name->text(), thirty);
    EXPECT_EQ(name->selectedText(), thirty);

    struct Limit {
        PatientField field;
        int length;
        const char *message;
    };
    for (const Limit &l : {Limit{PatientField::Physician, 30, "Field must be 30 or less characters in length!"},
                           Limit{PatientField::Note1, 40, "Field must be 40 or less characters in length!"},
                           Limit{PatientField::Note2, 40, "Field must be 40 or less characters in length!"},
                           Limit{PatientField::Comments, 80, "Field must be 80 or less characters in length!"}}) {
        prompts.shown.clear();
        QLineEdit *e = dialog.edit(l.field);
        const QString full(l.length, QLatin1Char('a'));
        e->setText(full); // a whole text arriving at once, as Shift+Insert pastes it
        EXPECT_TRUE(prompts.shown.isEmpty()) << l.length;
        e->setText(full + QStringLiteral("bcd"));
        EXPECT_EQ(prompts.shown, QStringList{QLatin1String(l.message)});
        EXPECT_EQ(e->text(), full);
    }
}

// A name or title cut to its limit keeps a character outside the BMP whole or
// drops it whole; half of one would be exported as "?".
TEST(PatientInfo, CutsAtTheLimitNeverSplitACharacter)
{
    const QString clef = QString::fromUtf8("\U0001D11E"); // two UTF-16 units
    const auto endingWithClef = [&](int limit) { return QString(limit - 1, u'a') + clef + QStringLiteral("bc"); };
    const auto whole = [](const QString &t) {
        return std::none_of(t.begin(), t.end(), [&](QChar c) { return c.isSurrogate(); }) ||
               (t.size() >= 2 && t.back().isLowSurrogate() && t.at(t.size() - 2).isHighSurrogate());
    };
    RecordStore store;
    ScriptedPrompts prompts;
    PatientInfoLogic logic(store, prompts, kMetric);
    ReportTitleLogic title(prompts);
    PatientRecord record;

    struct Cut {
        const char *what;
        int limit;
        std::function<QString(const QString &)> cut;
    };
    const Cut cuts[] = {
        {"Name field", 30, [&](const QString &t) { return logic.checkChange(PatientField::Name, t)->text; }},
        {"Comments field", 80, [&](const QString &t) { return logic.checkChange(PatientField::Comments, t)->text; }},
        {"report title", 60, [&](const QString &t) { return *title.check(t); }},
        {"stored name", 30,
         [&](const QString &t) {
             PatientRecord::setText(record.name, t);
             return record.nameText();
         }},
        {"title in a .dat file", 60, [](const QString &t) { return DatFile::cutTitle(t); }},
    };
    for (const Cut &c : cuts) {
        const QString cut = c.cut(endingWithClef(c.limit));
        EXPECT_EQ(cut, QString(c.limit - 1, u'a')) << c.what << ": the pair goes whole";
        EXPECT_TRUE(whole(cut)) << c.what;
        // One unit shorter, the pair fits whole.
        const QString fits = c.cut(QString(c.limit - 2, u'a') + clef + QStringLiteral("bc"));
        EXPECT_EQ(fits, QString(c.limit - 2, u'a') + clef) << c.what;
    }
}

TEST(PatientInfo, SaveInfoStoresEveryFieldUnderTheIdAndMarksItSaved)
{
    RecordStore store;
    store.currentPatient = patient(9, "Old", 1, 1, kBritish);
    ScriptedPrompts prompts;
    PatientInfoDialog dialog(store, prompts, kMetric);
    const QString thirty(30, QLatin1Char('N'));
    dialog.edit(PatientField::Name)->setText(thirty);
    dialog.genderBox()->setCurrentIndex(1);
    dialog.edit(PatientField::Age)->setText(QStringLiteral("47"));
    dialog.edit(PatientField::Height)->setText(QStringLiteral("178"));
    dialog.edit(PatientField::Weight)->setText(QStringLiteral("70"));
    dialog.edit(PatientField::Physician)->setText(QStringLiteral("Dr Amsel"));
    dialog.edit(PatientField::Note1)->setText(QStringLiteral("one"));
    dialog.edit(PatientField::Note2)->setText(QStringLiteral("two"));
    dialog.edit(PatientField::Comments)->setText(QStringLiteral("three"));
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    const PatientRecord &p = store.currentPatient;
    EXPECT_EQ(p.idNumber, 9);
    EXPECT_EQ(p.nameText(), thirty);
    EXPECT_EQ(p.physicianText(), QStringLiteral("Dr Amsel")) << "a full name leaves the next field alone";
    EXPECT_EQ(p.gender, 1);
    EXPECT_EQ(p.age, 47);
    EXPECT_EQ(p.height, 178.0f);
    EXPECT_EQ(p.weight, 70.0f);
    EXPECT_EQ(p.note1Text(), QStringLiteral("one"));
    EXPECT_EQ(p.note2Text(), QStringLiteral("two"));
    EXPECT_EQ(p.commentsText(), QStringLiteral("three"));
    EXPECT_EQ(p.unitSystem, kMetric);
    PatientRecord stored;
    ASSERT_TRUE(ReadPatientInfo(8, stored));
    EXPECT_EQ(stored, p);
    EXPECT_EQ(store.patientFlags[8].infoSaved, 1);

    // Cancel changes nothing.
    PatientInfoDialog again(store, prompts, kMetric);
    again.edit(PatientField::Name)->setText(QStringLiteral("Other"));
    QTest::mouseClick(again.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(store.currentPatient.nameText(), thirty);

    // Without an ID the details stay with this recording only.
    RecordStore noId;
    PatientInfoDialog unnumbered(noId, prompts, kBritish);
    unnumbered.edit(PatientField::Name)->setText(QStringLiteral("Nobody"));
    unnumbered.accept();
    EXPECT_EQ(noId.currentPatient.nameText(), QStringLiteral("Nobody"));
    for (int index = 0; index < 128; ++index)
        EXPECT_FALSE(index != 8 && ReadPatientInfo(index, stored)) << index;
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(PatientInfo, SavingWorksWithTheSettingsFolderAbsent)
{
    QDir(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/quellix")).removeRecursively();
    RecordStore store;
    store.currentPatient.idNumber = 12;
    ScriptedPrompts prompts;
    PatientInfoDialog dialog(store, prompts, kBritish);
    dialog.edit(PatientField::Name)->setText(QStringLiteral("Fresh"));
    dialog.accept();
    PatientRecord stored;
    ASSERT_TRUE(ReadPatientInfo(11, stored));
    EXPECT_EQ(stored.nameText(), QStringLiteral("Fresh"));
}

// A file whose header ID is 0 while its readings carry ID 5: details typed for
// it are saved under 5; opening and saving it untouched never blanks what 5 has.
TEST(PatientInfo, HeaderZeroFileStoresTypedDetailsUnderItsReadingsId)
{
    std::vector<SampleRecord> readings;
    for (int i = 0; i < 20; ++i)
        readings.push_back(testdata::Reading(5, i));
    const QString file = testenv::root() + QStringLiteral("/header0.dat");
    ASSERT_TRUE(DatFile::write(file, DatFile::encode(0, readings.data(), int(readings.size()), QString())));
    const QString saved = testenv::root() + QStringLiteral("/saved.dat");

    struct Case {
        const char *what;
        const char *storedBefore; // name stored under ID 5 before, or nullptr
        const char *typed;        // name typed with Save Info, or nullptr
        const char *storedAfter;  // name stored under ID 5 after Save Data, or nullptr
    };
    const Case cases[] = {
        {"typed, nothing stored", nullptr, "Typed Here", "Typed Here"},
        {"typed over stored details", "Stored Before", "Typed Here", "Typed Here"},
        {"untouched, details stored", "Stored Before", nullptr, "Stored Before"},
        {"untouched, nothing stored", nullptr, nullptr, ""},
    };
    for (const Case &c : cases) {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quellix"),
                  QStringLiteral("patientinfo"))
            .remove(QStringLiteral("4"));
        if (c.storedBefore) {
            ASSERT_TRUE(StorePatientInfo(4, patient(5, c.storedBefore, 170, 70, kMetric)));
        }
        RecordStore store;
        ScriptedPrompts prompts;
        ASSERT_TRUE(SavedData::open(store, file, prompts));
        if (c.typed) {
            PatientInfoLogic logic(store, prompts, kMetric);
            PatientInfoValues values = logic.initialValues();
            EXPECT_TRUE(values.idText.isEmpty()) << c.what;
            values.name = QLatin1String(c.typed);
            logic.save(values);
        }
        EXPECT_EQ(SavedData::saveTo(store, saved, prompts, kMetric), SavedData::SaveCommandResult::Written) << c.what;
        PatientRecord stored;
        EXPECT_EQ(ReadPatientInfo(4, stored), c.storedAfter != nullptr) << c.what;
        if (c.storedAfter) {
            EXPECT_EQ(stored.nameText(), QLatin1String(c.storedAfter)) << c.what;
            EXPECT_EQ(stored.idNumber, 5) << c.what;
        }

        RecordStore reopened;
        ScriptedPrompts again;
        ASSERT_TRUE(SavedData::open(reopened, saved, again));
        EXPECT_TRUE(again.shown.isEmpty()) << c.what << ": " << again.shown.join(QLatin1Char('|')).toStdString();
    }
}

TEST(PatientInfo, DeleteInfoAsksThenStoresABlankRecordOfTheId)
{
    RecordStore store;
    store.currentPatient = patient(3, "Cleo", 60, 120, kBritish);
    store.currentPatient.age = 30;
    ASSERT_TRUE(StorePatientInfo(2, store.currentPatient));
    store.patientFlags[2].infoSaved = 1;

    ScriptedPrompts prompts;
    PatientInfoDialog dialog(store, prompts, kBritish);
    dialog.show();
    int changed = 0;
    QObject::connect(&dialog, &PatientInfoDialog::detailsChanged, [&] { ++changed; });

    prompts.answers.push_back(Prompts::Answer::Cancel);
    QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Are you sure to delete the patient info?")});
    EXPECT_EQ(store.currentPatient.nameText(), QStringLiteral("Cleo"));
    EXPECT_EQ(changed, 0);

    prompts.answers.push_back(Prompts::Answer::Ok);
    QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
    PatientRecord blank3;
    blank3.idNumber = 3;
    PatientRecord stored;
    ASSERT_TRUE(ReadPatientInfo(2, stored));
    EXPECT_EQ(stored, blank3);
    EXPECT_EQ(store.currentPatient, blank3);
    EXPECT_EQ(store.patientFlags[2].infoSaved, 1) << "the flags stay as they were";
    EXPECT_EQ(changed, 1);
    EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
    EXPECT_EQ(dialog.edit(PatientField::Name)->text(), QString());
    EXPECT_EQ(dialog.edit(PatientField::Age)->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.edit(PatientField::Height)->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.idEdit()->text(), QStringLiteral("3"));

    // Reopened: empty fields.
    PatientInfoDialog reopened(store, prompts, kBritish);
    EXPECT_TRUE(reopened.edit(PatientField::Name)->text().isEmpty());
    EXPECT_EQ(reopened.edit(PatientField::Weight)->text(), QStringLiteral("0"));

    // No ID: refused, nothing stored.
    RecordStore noId;
    noId.currentPatient = patient(0, "Zed", 0, 0, kBritish);
    ScriptedPrompts p2;
    p2.answers.push_back(Prompts::Answer::Ok);
    PatientInfoDialog unnumbered(noId, p2, kBritish);
    unnumbered.deleteInfo();
    EXPECT_EQ(p2.shown.last(), QStringLiteral("Patient ID invalidate"));
    for (int index = 0; index < RecordStore::kIdCount; ++index) {
        PatientRecord any;
        EXPECT_EQ(ReadPatientInfo(index, any), index == 2) << "nothing stored under " << index;
        if (index == 2) {
            EXPECT_EQ(any, blank3);
        }
    }
}

TEST(PatientInfo, MainWindowRepaintsTheViewWithTheNewDetails)
{
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame(store, prompts, 1033);
    frame.resize(1100, 800);
    frame.show();
    ASSERT_TRUE(frame.openSavedFile(testenv::dataFile(QStringLiteral("valid-night-id7.dat"))));
    DataView *view = frame.activeView();
    ASSERT_NE(view, nullptr);
    QCoreApplication::processEvents();

    PaintCounter counter(view);

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<PatientInfoDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog->idEdit()->text(), QStringLiteral("7"));
        dialog->edit(PatientField::Name)->setText(QStringLiteral("Alice"));
        QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
    });
    frame.action(CommandId::PatientInfo)->trigger();
    ASSERT_TRUE(seen);
    EXPECT_EQ(MakeHeaderContent(store, kBritish).name, QStringLiteral("Alice"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000)) << "the header is repainted at once";
    PatientRecord stored;
    ASSERT_TRUE(ReadPatientInfo(6, stored));
    EXPECT_EQ(stored.nameText(), QStringLiteral("Alice"));
}

TEST(PatientInfo, DetailsSurviveARestartAndFollowAUnitSwitch)
{
    WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("0"));
    const QString night = testenv::dataFile(QStringLiteral("valid-night-id7.dat"));
    {
        RecordStore store;
        ScriptedPrompts prompts;
        MainWindow frame(store, prompts, 1033);
        ASSERT_TRUE(frame.openSavedFile(night));
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<PatientInfoDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->edit(PatientField::Name)->setText(QStringLiteral("Alice"));
            dialog->edit(PatientField::Height)->setText(QStringLiteral("70"));
            dialog->edit(PatientField::Weight)->setText(QStringLiteral("154"));
            dialog->accept();
        });
        frame.action(CommandId::PatientInfo)->trigger();
        EXPECT_EQ(CurrentHeaderContent(store).height, QStringLiteral("70 in"));
    }
    // A new run: the same file shows the same patient, now in metric units.
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame(store, prompts, 1033);
    ASSERT_TRUE(frame.openSavedFile(night));
    EXPECT_TRUE(prompts.shown.isEmpty());
    WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("1"));
    const ReportHeaderContent header = CurrentHeaderContent(store);
    EXPECT_EQ(header.name, QStringLiteral("Alice"));
    EXPECT_EQ(header.id, QStringLiteral("7"));
    EXPECT_EQ(header.height, QStringLiteral("178 cm"));
    EXPECT_EQ(header.weight, QStringLiteral("70 kg"));
}

} // namespace
