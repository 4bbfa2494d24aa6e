// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A main window whose downloads reach a simulated oximeter on a real
// pseudo-terminal, and never a port of the machine.
#include "SimulatedOximeter.h"
#include "app/ScriptedPrompts.h"
#include "device/DeviceCommands.h"
#include "device/DownloadDialog.h"
#include "model/RecordStore.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

class DownloadFixture : public ::testing::Test
{
protected:
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame{store, prompts, 1033};
    QTemporaryDir devRoot;     // an empty device folder: the brute force finds nothing
    QTemporaryDir archiveRoot; // each test's downloads go to an archive of its own
    std::unique_ptr<SimulatedOximeter> sim;
    QString portPath;

    DeviceContext &context() { return frame.deviceCommands().context(); }

    void SetUp() override
    {
        context().deviceRoot = devRoot.path();
        context().archivePath = archiveRoot.filePath(QStringLiteral("archive.sqlite"));
        context().enumeratePorts = [] { return PortLists{}; };
    }

    static SimulatedOximeter::Config config(int model = 2, int framePayload = 512)
    {
        SimulatedOximeter::Config c;
        c.model = model;
        c.framePayload = framePayload;
        c.deleteDelayMs = 100;
        return c;
    }

    // Starts the device with count readings for each ID and lists its port as a bridge.
    void startDevice(SimulatedOximeter::Config c, const std::map<int, int> &counts)
    {
        sim = std::make_unique<SimulatedOximeter>(c);
        std::uint32_t seed = 5;
        for (const auto &[id, count] : counts)
            sim->addNight(id, count, seed++);
        portPath = sim->startPty();
        ASSERT_FALSE(portPath.isEmpty());
        const QString name = QStringLiteral("Simulated CP2102 USB to UART Bridge (%1)").arg(portPath);
        context().enumeratePorts = [name] { return SplitPorts({name}); };
    }

    DownloadDialog *openWindow()
    {
        frame.action(CommandId::NewDataCapture)->trigger();
        return frame.deviceCommands().downloadWindow();
    }

    static bool waitFinished(DownloadDialog *w, int ms = 20000)
    {
        return QTest::qWaitFor([w] { return w->finishedOnce() && w->phase() == DownloadPhase::Idle; }, ms);
    }

    bool waitShown(const QString &text, int ms = 20000)
    {
        return QTest::qWaitFor([this, &text] { return prompts.shown.contains(text); }, ms);
    }

    static bool waitIdle(DownloadDialog *w, int ms = 20000)
    {
        return QTest::qWaitFor([w] { return w->phase() == DownloadPhase::Idle; }, ms);
    }

    int commands(std::uint8_t code) const { return sim ? sim->commandCount(code) : 0; }

    static QByteArray bytes(std::initializer_list<int> values)
    {
        QByteArray out;
        for (int v : values)
            out.append(char(v));
        return out;
    }

    bool sent(const QByteArray &command) const
    {
        for (const QByteArray &c : sim->commands())
            if (c == command)
                return true;
        return false;
    }
};
