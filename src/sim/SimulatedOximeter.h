// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

// A complete simulated oximeter speaking the device protocol on a
// pseudo-terminal or a Unix socket, on a thread of its own.
class ReplayDevice;

class SimulatedOximeter
{
public:
    struct Faults {
        std::set<int> strayByteBeforeFrame; // a 0x00 before these frames
        int stallFrame = -1;                // ignore this many requests of stallFrame
        int stallRequests = 0;
        // These frames are answered only on their re-request, and then twice
        // (the late answer to the first request and the answer to the second).
        std::set<int> lateFrames;
        int garbledInfoReplies = 0;         // the first N info replies are garbled
        int garbledCountReplies = 0;        // the first N count replies are garbled
        int earlyEndFrame = -1;             // this frame carries the end tag 0xFFFE
        int zeroIdRecords = 0;              // records with ID 0 put into frame 0
        bool silent = false;                // answers nothing at all
        int silentFromFrame = -1;           // answers nothing from this frame on
        int closeAtFrame = -1;              // closes the line halfway through this frame
        int garbageFromFrame = -1;          // from this request on, an endless stream of noise
        int infoPayloadLength = 30;         // the L of the info reply
        std::uint16_t clockAckTag = 0xFFF9; // tag of the clock acknowledgements
    };

    struct Config {
        int model = 2;
        std::uint32_t dataBaud = 115200;
        int framePayload = 512;   // bytes of records per data frame (a multiple of 8)
        bool pace = false;        // pace output to the line rate of the terminal's baud rate
        int deleteDelayMs = 1500; // before the delete acknowledgement
        Faults faults;
    };

    explicit SimulatedOximeter(Config config);
    ~SimulatedOximeter(); // stops
    SimulatedOximeter(const SimulatedOximeter &) = delete;
    SimulatedOximeter &operator=(const SimulatedOximeter &) = delete;

    // Readings held for one ID, in time order (oldest first).
    void setReadings(int id, std::vector<SampleRecord> readings);
    // A seeded realistic night of count readings for id.
    void addNight(int id, int count, std::uint32_t seed);
    std::vector<SampleRecord> readings(int id) const;
    std::vector<int> ids() const;
    int totalReadings() const;

    // Opens a pseudo-terminal and serves it; returns the slave path (/dev/pts/N),
    // empty on failure.
    QString startPty();
    // Listens on a Unix socket at path and serves the first connection.
    bool startUnix(const QString &path);
    void stop();
    // In process, without a line: receive() takes the program's bytes and the
    // replies go to sink, each with the delay the device takes to send it.
    void attach(std::function<void(const QByteArray &bytes, int delayMs)> sink);
    void receive(const QByteArray &bytes);
    // True once the simulated device closed the line (closeAtFrame).
    bool lineClosed() const { return lineClosed_.load(); }

    // The frame count the device announces.
    int frameCount() const;
    // Every command received, six bytes each, in order.
    std::vector<QByteArray> commands() const;
    int commandCount(std::uint8_t code) const;
    // The clock as last set by SetDate/SetTime (invalid until set). Its fields are
    // the device's wall clock, kept as UTC so no time-zone lookup runs on the device thread.
    QDateTime clock() const;
    // Bytes written to the line.
    qint64 bytesSent() const { return bytesSent_.load(); }
    const Config &config() const { return config_; }

    // Optional log of every command, one line each (the oxisim program's output).
    void setCommandLog(std::function<void(const QString &)> log);
    // Answers every command from a recorded exchange instead of the readings
    // and faults (null: the simulation). Set before the line is served.
    void setReplay(std::shared_ptr<ReplayDevice> replay) { replay_ = std::move(replay); }

private:
    void serve();
    void consume(QByteArray &input);
    void handle(const QByteArray &command);
    void sendFrame(int frame);
    void send(const QByteArray &bytes, int delayMs = 0);
    QByteArray frameBytes(int frame) const;
    std::vector<SampleRecord> sendOrder() const;
    int lineBaud() const;

    Config config_;
    mutable std::mutex mutex_;
    std::map<int, std::vector<SampleRecord>> readings_;
    std::vector<SampleRecord> wire_; // records in the order they are sent
    std::vector<QByteArray> commands_;
    std::function<void(const QString &)> log_;
    QDateTime clock_;
    std::uint32_t pendingDate_ = 0;
    bool haveDate_ = false;

    int masterFd_ = -1;
    int slaveFd_ = -1;
    int listenFd_ = -1;
    int connFd_ = -1;
    bool socket_ = false;
    QString socketPath_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> lineClosed_{false};
    std::atomic<qint64> bytesSent_{0};
    std::mutex inProcessMutex_;
    std::function<void(const QByteArray &, int)> sink_;
    QByteArray inProcessInput_;
    std::map<int, int> stalls_;
    std::map<int, int> lateRequests_; // requests seen of each late frame
    std::atomic<bool> garbage_{false};
    std::set<int> straysSent_; // a stray byte goes before a frame only once
    std::shared_ptr<ReplayDevice> replay_;
    int infoReplies_ = 0;
    int countReplies_ = 0;
};
