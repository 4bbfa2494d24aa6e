// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Texts.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace
{

struct Entry {
    int number;
    const char *source;
};

// Sorted by number.
constexpr Entry kTexts[] = {
    {115, QT_TRANSLATE_NOOP("Texts", "scope : 0 - 157,Please ReInput")},
    {118, QT_TRANSLATE_NOOP("Texts", "Graphic Summary")},
    {126, QT_TRANSLATE_NOOP("Texts", "Done")},
    {143, QT_TRANSLATE_NOOP("Texts", "Pulse Rate (50 BPM per division)")},
    {146, QT_TRANSLATE_NOOP("Texts", "total")},
    {147, QT_TRANSLATE_NOOP("Texts", "Groups")},
    {150, QT_TRANSLATE_NOOP("Texts", "RecordDate :")},
    {151, QT_TRANSLATE_NOOP("Texts", "RecordTime : ")},
    {152, QT_TRANSLATE_NOOP("Texts", "SpO2       (20% per division)")},
    {153, QT_TRANSLATE_NOOP("Texts", "Item")},
    {154, QT_TRANSLATE_NOOP("Texts", "Create Excel service failed !")},
    {156, QT_TRANSLATE_NOOP("Texts", "can't open the file")},
    {157, QT_TRANSLATE_NOOP("Texts", "Are you sure to delete the patient info?")},
    {158, QT_TRANSLATE_NOOP("Texts", "Patient ID invalidate")},
    {159, QT_TRANSLATE_NOOP("Texts", "Field must be 80 or less characters in length!")},
    {160, QT_TRANSLATE_NOOP("Texts", "Field must be 40 or less characters in length!")},
    {161, QT_TRANSLATE_NOOP("Texts", "Field must be 30 or less characters in length!")},
    {162, QT_TRANSLATE_NOOP("Texts", "scope : 0 - 1000,Please ReInput")},
    {163, QT_TRANSLATE_NOOP("Texts", "scope : 0 - 200,Please ReInput")},
    {164, QT_TRANSLATE_NOOP("Texts", "Please select patient ID")},
    {165, QT_TRANSLATE_NOOP("Texts", "Field must be 60 or less characters in length!")},
    {167, QT_TRANSLATE_NOOP("Texts", "You have Run one")},
    {169, QT_TRANSLATE_NOOP("Texts", "Patient ID invalidate")},
    {170, QT_TRANSLATE_NOOP("Texts", "Can't create the file")},
    {174, QT_TRANSLATE_NOOP("Texts", "Date")},
    {175, QT_TRANSLATE_NOOP("Texts", "Time")},
    {176, QT_TRANSLATE_NOOP("Texts", "PatientData")},
    {177, QT_TRANSLATE_NOOP("Texts", "Name :")},
    {178, QT_TRANSLATE_NOOP("Texts", "Gender : ")},
    {179, QT_TRANSLATE_NOOP("Texts", "Age : ")},
    {180, QT_TRANSLATE_NOOP("Texts", "Height : ")},
    {181, QT_TRANSLATE_NOOP("Texts", "Weight : ")},
    {182, QT_TRANSLATE_NOOP("Texts", "Physician : ")},
    {183, QT_TRANSLATE_NOOP("Texts", "Note1 : ")},
    {184, QT_TRANSLATE_NOOP("Texts", "Note2 : ")},
    {185, QT_TRANSLATE_NOOP("Texts", "female")},
    {186, QT_TRANSLATE_NOOP("Texts", "male")},
    {187, QT_TRANSLATE_NOOP("Texts", "Start Date:")},
    {188, QT_TRANSLATE_NOOP("Texts", "Start Time : ")},
    {189, QT_TRANSLATE_NOOP("Texts", "End Date:")},
    {190, QT_TRANSLATE_NOOP("Texts", "End Time : ")},
    {191, QT_TRANSLATE_NOOP("Texts", "Comments:")},
    {192, QT_TRANSLATE_NOOP("Texts", "Event Data")},
    {193, QT_TRANSLATE_NOOP("Texts", "Total Events.")},
    {194, QT_TRANSLATE_NOOP("Texts", "Time In Events.(Sec)")},
    {195, QT_TRANSLATE_NOOP("Texts", "Avg.Event Dur.(Sec)")},
    {196, QT_TRANSLATE_NOOP("Texts", "Index.(1/hr)")},
    {197, QT_TRANSLATE_NOOP("Texts", "Avg.Event Max.")},
    {198, QT_TRANSLATE_NOOP("Texts", "Avg.Event Min.")},
    {199, QT_TRANSLATE_NOOP("Texts", "Max.Event offset.")},
    {200, QT_TRANSLATE_NOOP("Texts", "Max Time.Event.(Sec)")},
    {201, QT_TRANSLATE_NOOP("Texts", "Max Dur.")},
    {202, QT_TRANSLATE_NOOP("Texts", "Min Dur.")},
    {203, QT_TRANSLATE_NOOP("Texts", "Avg Dur.")},
    {204, QT_TRANSLATE_NOOP("Texts", "Diagnose:")},
    {205, QT_TRANSLATE_NOOP("Texts", "times")},
    {206, QT_TRANSLATE_NOOP("Texts", "Desaturation Event:drop in SpO2 by at least")},
    {207, QT_TRANSLATE_NOOP("Texts", "% for a minimum duration of 10 seconds.")},
    {208, QT_TRANSLATE_NOOP("Texts", "Pulse Event Change in rate by at least")},
    {209, QT_TRANSLATE_NOOP("Texts", "bpm for a minimum duration of 8 seconds.")},
    {210, QT_TRANSLATE_NOOP("Texts", "scope : 0 - 400,Please ReInput")},
    {213, QT_TRANSLATE_NOOP("Texts", "Event")},
    {219, QT_TRANSLATE_NOOP("Texts", "scope : 0 - 2203,Please ReInput")},
    {222, QT_TRANSLATE_NOOP("Texts", "SpO2       (10% per division)")},
    {223, QT_TRANSLATE_NOOP("Texts", "Pulse Rate (20 BPM per division)")},
    {59140, QT_TRANSLATE_NOOP("Texts", "Page:          ")},
    {59141, QT_TRANSLATE_NOOP("Texts", "Please input a num between 40 and 100 !")},
    {59142, QT_TRANSLATE_NOOP("Texts", "Please input a num between 15 and 300 !")},
    {59143, QT_TRANSLATE_NOOP("Texts", "Please input a num between 1 and 20 !")},
    {59144, QT_TRANSLATE_NOOP("Texts", "Please input a num which is between 1 and")},
    {59147, QT_TRANSLATE_NOOP("Texts", "Error ! The SpO2 high value must large than low value !")},
    {59148, QT_TRANSLATE_NOOP("Texts", "Error ! The PR high value must large than low value !")},
};

} // namespace

QString Text(int number)
{
    const auto *end = std::end(kTexts);
    const auto *it =
        std::lower_bound(std::begin(kTexts), end, number, [](const Entry &e, int n) { return e.number < n; });
    if (it == end || it->number != number)
        return {};
    return QCoreApplication::translate("Texts", it->source);
}
