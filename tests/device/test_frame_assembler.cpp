// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceWire.h"
#include "device/FrameAssembler.h"
#include "device/Protocol.h"
#include "model/RecordStore.h"

#include "test_samples.h"

#include <gtest/gtest.h>

using namespace Protocol;

namespace
{

SampleRecord reading(int id, int second, int spo2 = 95)
{
    return testdata::Reading(id, second, spo2, 70, 300);
}

QByteArray payloadOf(const std::vector<SampleRecord> &records, int model)
{
    QByteArray p;
    for (const auto &r : records) {
        const auto w = DeviceWire::Record(r, ReversesRecordBytes(model));
        p.append(reinterpret_cast<const char *>(w.data()), 8);
    }
    return p;
}

struct Fixture : ::testing::Test {
    RecordStore store;
    std::vector<int> reported;
};

} // namespace

TEST_F(Fixture, FrameOfTwentyBytesYieldsTwoRecordsAndIgnoresTheRest)
{
    FrameAssembler a(store.deviceSamples, 2);
    a.onFrameComplete = [this](int n) { reported.push_back(n); };
    QByteArray payload = payloadOf({reading(3, 1), reading(3, 2)}, 2) + QByteArray(4, char(0x7F));
    ASSERT_EQ(payload.size(), 20);
    a.Feed(DeviceWire::Frame(0, 0, payload));
    ASSERT_EQ(store.deviceSampleCount(3), 2);
    EXPECT_EQ(store.deviceSamples[2][0], reading(3, 1));
    EXPECT_EQ(store.deviceSamples[2][1], reading(3, 2));
    EXPECT_EQ(reported, std::vector<int>{1});
    EXPECT_FALSE(a.midFrame());
}

TEST_F(Fixture, RecordsWithIdZeroAreDroppedOthersKept)
{
    FrameAssembler a(store.deviceSamples, 2);
    a.Feed(DeviceWire::Frame(0, 0, payloadOf({reading(0, 1), reading(9, 2), reading(0, 3), reading(127, 4)}, 2)));
    EXPECT_EQ(store.deviceSampleCount(9), 1);
    EXPECT_EQ(store.deviceSampleCount(127), 1);
    int total = 0;
    for (int id = 1; id <= 128; ++id)
        total += store.deviceSampleCount(id);
    EXPECT_EQ(total, 2);
    EXPECT_EQ(a.framesReceived(), 1);
}

TEST_F(Fixture, ReversedModelsDecodeEachRecordBackwards)
{
    for (int model : {1, 3, 4, 11}) {
        store.ClearAllData();
        FrameAssembler a(store.deviceSamples, model);
        a.Feed(DeviceWire::Frame(0, 0, payloadOf({reading(4, 10, 91), reading(4, 11, 92)}, model)));
        ASSERT_EQ(store.deviceSampleCount(4), 2) << model;
        EXPECT_EQ(store.deviceSamples[3][1], reading(4, 11, 92)) << model;
    }
}

TEST_F(Fixture, StrayByteHidesFramesUntilHeaderFallsOnPairBoundary)
{
    FrameAssembler a(store.deviceSamples, 2);
    a.onFrameComplete = [this](int n) { reported.push_back(n); };
    const QByteArray frame = DeviceWire::Frame(0, 0, payloadOf({reading(1, 1)}, 2) + QByteArray(1, '\0'));
    ASSERT_EQ(frame.size(), 17);
    // 00 55 | AA ... : the header straddles a pair, so this frame is not seen.
    a.Feed(QByteArray(1, '\0') + frame);
    EXPECT_EQ(a.framesReceived(), 0);
    EXPECT_EQ(store.deviceSampleCount(1), 0);
    // The lost frame was 17 bytes (odd), so the next frame is back on a boundary.
    a.Feed(frame);
    EXPECT_EQ(a.framesReceived(), 1);
    EXPECT_EQ(store.deviceSampleCount(1), 1);

    // With a stray byte and an even-length frame after it, the next frame is
    // misaligned too and is lost as well; the third one lines up again.
    store.ClearAllData();
    FrameAssembler b(store.deviceSamples, 2);
    const QByteArray even = DeviceWire::Frame(0, 0, payloadOf({reading(2, 1)}, 2));
    ASSERT_EQ(even.size() % 2, 0);
    b.Feed(QByteArray(1, '\0') + even + even);
    EXPECT_EQ(b.framesReceived(), 0);
    b.Feed(QByteArray(1, '\0') + even);
    EXPECT_EQ(b.framesReceived(), 1);
}

TEST_F(Fixture, OversizedFrameIsDroppedWithoutOverrunAndStreamResynchronises)
{
    FrameAssembler a(store.deviceSamples, 2);
    // L = 4193 does not fit 4,200 bytes with header and check byte.
    QByteArray huge = DeviceWire::Frame(0, 0, QByteArray(4193, char(0x11)));
    ASSERT_EQ(huge.size(), 4201);
    a.Feed(huge);
    EXPECT_EQ(a.framesReceived(), 0);
    EXPECT_EQ(a.droppedFrames(), 1);
    // The drop happened at its 7th byte; the 4,194 bytes after it pair up
    // evenly, so the next frame is on a pair boundary.
    a.Feed(DeviceWire::Frame(0, 0, payloadOf({reading(6, 1)}, 2)));
    EXPECT_EQ(a.framesReceived(), 1);
    EXPECT_EQ(store.deviceSampleCount(6), 1);

    // The largest frame that fits is accepted whole.
    QByteArray largest = DeviceWire::Frame(0, 1, payloadOf(std::vector<SampleRecord>(524, reading(6, 2)), 2));
    ASSERT_EQ(largest.size(), 4200);
    a.Feed(largest);
    EXPECT_EQ(a.framesReceived(), 2);
    EXPECT_EQ(store.deviceSampleCount(6), 525);
}

TEST_F(Fixture, EndTagIsSeenAsSoonAsTheHeaderArrives)
{
    FrameAssembler a(store.deviceSamples, 2);
    const QByteArray end = DeviceWire::Frame(0, TagEnd, payloadOf({reading(8, 1)}, 2));
    a.Feed(end.left(5));
    EXPECT_EQ(a.frameTag(), TagEnd);
    EXPECT_TRUE(a.midFrame());
    a.Feed(end.mid(5));
    EXPECT_FALSE(a.midFrame());
    EXPECT_EQ(store.deviceSampleCount(8), 1); // its records are still stored
}

TEST_F(Fixture, AnIdKeepsAFullRecordingAndDropsWhatGoesBeyond)
{
    FrameAssembler a(store.deviceSamples, 2);
    const int perFrame = 512;
    const QByteArray payload = payloadOf(std::vector<SampleRecord>(perFrame, reading(2, 5)), 2);
    const int room = RecordStore::kCapacity;
    const int frames = room / perFrame + 2;
    for (int i = 0; i < frames; ++i)
        a.Feed(DeviceWire::Frame(0, std::uint16_t(i), payload));
    EXPECT_EQ(store.deviceSampleCount(2), room);
    EXPECT_EQ(a.droppedRecords(), long(frames) * perFrame - room);
    EXPECT_EQ(a.framesReceived(), frames);
}

TEST_F(Fixture, ZeroLengthFrameCountsWithoutRecords)
{
    FrameAssembler a(store.deviceSamples, 2);
    a.onFrameComplete = [this](int n) { reported.push_back(n); };
    a.Feed(DeviceWire::Frame(0, 0, {}));
    a.Feed(DeviceWire::Frame(0, 1, QByteArray(5, char(0x81)))); // shorter than one record
    EXPECT_EQ(reported, (std::vector<int>{1, 2}));
    EXPECT_FALSE(store.hasDownloadedData());
}

TEST_F(Fixture, DiscardingAPartialFrameRealignsOnTheNextFrame)
{
    FrameAssembler a(store.deviceSamples, 2);
    const QByteArray frame = DeviceWire::Frame(0, 0, payloadOf({reading(5, 1)}, 2));
    // An odd number of stray bytes leaves every later even-length frame misaligned...
    a.Feed(QByteArray(1, '\0') + frame + frame);
    EXPECT_EQ(a.framesReceived(), 0);
    // ...until the partial state is dropped, as the receiver does before a re-request.
    a.discardPartial();
    a.Feed(frame);
    EXPECT_EQ(a.framesReceived(), 1);
    EXPECT_EQ(store.deviceSampleCount(5), 1);
}

TEST_F(Fixture, FrameWithAnotherTagThanTheExpectedOneIsDiscarded)
{
    FrameAssembler a(store.deviceSamples, 2);
    a.onFrameComplete = [this](int n) { reported.push_back(n); };
    const QByteArray frame0 = DeviceWire::Frame(0, 0, payloadOf({reading(4, 1), reading(7, 1)}, 2));
    const QByteArray frame1 = DeviceWire::Frame(0, 1, payloadOf({reading(7, 2)}, 2));
    // A late frame 0 and the answer to its re-request: the second copy is stale.
    a.Feed(frame0 + frame0);
    EXPECT_EQ(a.framesReceived(), 1);
    EXPECT_EQ(store.deviceSampleCount(4), 1);
    EXPECT_EQ(store.deviceSampleCount(7), 1);
    EXPECT_EQ(a.staleFrames(), 1);
    EXPECT_FALSE(a.midFrame());
    // A frame from the future is no better than one from the past.
    a.Feed(DeviceWire::Frame(0, 5, payloadOf({reading(9, 1)}, 2)));
    EXPECT_EQ(store.deviceSampleCount(9), 0);
    EXPECT_EQ(a.frameTag(), 0);
    a.Feed(frame1 + frame0 + frame1);
    EXPECT_EQ(a.framesReceived(), 2);
    EXPECT_EQ(store.deviceSampleCount(7), 2);
    EXPECT_EQ(a.staleFrames(), 4);
    EXPECT_EQ(reported, (std::vector<int>{1, 2}));

    // The end tag still ends the transfer whatever frame was expected, with its records.
    a.Feed(DeviceWire::Frame(0, TagEndAlt, payloadOf({reading(4, 2)}, 2)));
    EXPECT_EQ(a.frameTag(), TagEndAlt);
    EXPECT_EQ(store.deviceSampleCount(4), 2);
    EXPECT_EQ(a.framesReceived(), 3);
}
